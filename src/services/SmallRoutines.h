#pragma once

#include "db/Value.h"

#include <QString>

namespace belmo::app {
class Session;
}

namespace belmo::services {

// Every apostrophe becomes one blank; the length stays the same.
QString TIRNAKSIL(const QString& text);

// 0 for Null or empty text, the value unchanged otherwise.
db::Value BOSSIFIR(const db::Value& value);

// Asks the modal overwrite question with its description and returns the answer code
// (see answer:: in Dialogs.h).
QString SORUSOR(app::Session& session, const QString& description, const QString& question);

// The theme of config row 999 as session.TemaNo: 1 for the default theme text, else the ID
// of the first config row. False when the row is missing or its text is Null: the login
// window then closes and the program ends. Database errors go to the caller.
bool TEMAAYARLA(app::Session& session);

}  // namespace belmo::services

#pragma once

#include "db/Value.h"

#include <QString>

namespace belmo::services {

class Dialogs;

// Every apostrophe becomes one blank; the length stays the same.
QString TIRNAKSIL(const QString& text);

// 0 for Null or empty text, the value unchanged otherwise.
db::Value BOSSIFIR(const db::Value& value);

// Asks the modal overwrite question with its description and returns the answer code
// (see answer:: in Dialogs.h).
QString SORUSOR(Dialogs& dialogs, const QString& description, const QString& question);

}  // namespace belmo::services

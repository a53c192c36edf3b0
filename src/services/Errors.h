#pragma once

#include "db/DbError.h"

#include <QString>

namespace belmo::app {
class Session;
}

namespace belmo::services {

// Shows the text config.mdb's Hata_Kod table holds for an error number (decimal text), or
// the generic text when it has none. When the table cannot be read, the failure is looked
// up once; when that fails too, a plain message with the original number follows.
void HATAMESAJI(app::Session& session, const QString& number);

// What every event handler does with an error it catches.
inline void reportError(app::Session& session, const db::DbError& error) { HATAMESAJI(session, error.numberText()); }

// Runs one statement of a region that skips failing statements and goes on. Only database
// and conversion errors are skipped; anything else is a defect and passes through.
template <typename Statement>
void skip(Statement&& statement)
{
    try {
        statement();
    } catch (const db::DbError&) {
    }
}

}  // namespace belmo::services

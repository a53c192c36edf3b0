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

// Runs an event handler the way every handler of the program ends: a database or
// conversion error is reported through the error lookup and the handler stops there.
template <typename Handler>
void handle(app::Session& session, Handler&& handler)
{
    try {
        handler();
    } catch (const db::DbError& error) {
        reportError(session, error);
    }
}

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

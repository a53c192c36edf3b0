#pragma once

#include "db/DbError.h"

#include <QList>
#include <QString>

#include <utility>

namespace belmo::db {
class ConnectionPool;
}

namespace belmo::services {

class Dialogs;

// Where the error texts are (config.mdb's Hata_Kod) and whom they are shown to.
struct ErrorLookup {
    db::ConnectionPool& pool;
    const QString& AyarBag;  // connection string of config.mdb
    Dialogs& dialogs;
};

// The texts of the error numbers the program raises, as config.mdb's Hata_Kod holds them (the
// demo's is filled from them).
const QList<std::pair<qint32, QString>>& programErrorTexts();

// Shows the text config.mdb's Hata_Kod table holds for an error number (decimal text), or
// the generic text when it has none, with the details (the file and the cause) beside it.
// When the table cannot be read, the failure is looked up once; when that fails too, the
// program's own text of the original number follows (the generic text for a number it does
// not know), never the bare number, with the number in the details.
void HATAMESAJI(const ErrorLookup& errors, const QString& number, const QString& details = {});

// What every event handler does with an error it catches.
inline void reportError(const ErrorLookup& errors, const db::DbError& error)
{
    HATAMESAJI(errors, error.numberText(), error.detail());
}

// Runs an event handler the way every handler of the program ends: a database or
// conversion error is reported through the error lookup and the handler stops there. The
// user's cancel (db::Cancelled) is no error: it passes through to the frame of the work.
template <typename Handler>
void handle(const ErrorLookup& errors, Handler&& handler)
{
    try {
        handler();
    } catch (const db::DbError& error) {
        reportError(errors, error);
    }
}

// Runs one statement of a region that skips failing statements and goes on. Only failures of
// the statement itself are skipped (a value that does not fit, a row that cannot be read, a
// lookup that finds nothing); a database that cannot be used passes through and stops the
// step, and so does the user's cancel. Anything else is a defect and passes through too.
template <typename Statement>
void skip(Statement&& statement)
{
    try {
        statement();
    } catch (const db::DbError& e) {
        if (e.databaseLevel()) throw;
    }
}

}  // namespace belmo::services

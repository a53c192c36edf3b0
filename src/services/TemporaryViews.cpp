#include "services/TemporaryViews.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqliteFile.h"
#include "services/Errors.h"

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

namespace {

QString safeSpelling(const QString& code)
{
    QString out;
    for (const QChar c : code) {
        const bool plain = c.unicode() < 128 && c.isLetterOrNumber();
        out += plain ? QString(c) : u"_"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper();
    }
    return out;
}

void runViewStatement(db::Connection& db, const QString& sql)
{
    db::Recordset rs;
    rs.open(sql, db, db::CursorType::Dynamic, db::LockType::Optimistic);
}

// Views go into the file unless it cannot be written; a file that refused the first write of
// a view is taken for one that cannot be, from then on.
bool temporary(db::Connection& db) { return db.readOnly() || db.file()->refusesWrites(); }

// Runs a view statement in the file. False when the file refused it as a write: the file is
// marked as one that cannot be written, and its views are temporary from then on.
bool runInFile(db::Connection& db, const QString& sql)
{
    try {
        runViewStatement(db, sql);
        return true;
    } catch (const db::DbError& e) {
        if (!e.refusedWrite()) throw;
        db.file()->markRefusesWrites();
        return false;
    }
}

}  // namespace

ViewSet::ViewSet(QString prefix, const QString& userCode) : stem_(std::move(prefix) + safeSpelling(userCode)) {}

void GORUNUMOLUSTUR(db::Connection& db, const ViewSet& views, int slot, const QString& query)
{
    const QString rest = views.name(slot) + u" AS "_s + query;
    if (temporary(db) || !runInFile(db, u"CREATE VIEW "_s + rest)) runViewStatement(db, u"CREATE TEMP VIEW "_s + rest);
}

void GORUNUMSIL(db::Connection& db, const ViewSet& views, int slot)
{
    const QString name = views.name(slot);
    // Only a view that is there is dropped: a failing drop then means the file refuses it.
    if (!temporary(db) && db.hasView(u"main"_s, name)) runInFile(db, u"DROP VIEW main."_s + name);
    if (db.hasView(u"temp"_s, name)) runViewStatement(db, u"DROP VIEW temp."_s + name);
}

}  // namespace belmo::services

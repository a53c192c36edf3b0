#include "services/TemporaryViews.h"

#include "db/Connection.h"
#include "db/Recordset.h"
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

// The steps rebuild their views without caring whether the old one was there.
void runViewStatement(db::Connection& db, const QString& sql)
{
    skip([&] {
        db::Recordset rs;
        rs.open(sql, db, db::CursorType::Dynamic, db::LockType::Optimistic);
    });
}

}  // namespace

ViewSet::ViewSet(QString prefix, const QString& userCode) : stem_(std::move(prefix) + safeSpelling(userCode)) {}

void GORUNUMOLUSTUR(db::Connection& db, const ViewSet& views, int slot, const QString& query)
{
    runViewStatement(db, (db.readOnly() ? u"CREATE TEMP VIEW "_s : u"CREATE VIEW "_s) + views.name(slot) + u" AS "_s + query);
}

void GORUNUMSIL(db::Connection& db, const ViewSet& views, int slot)
{
    runViewStatement(db, u"DROP VIEW "_s + (db.readOnly() ? u"temp."_s : QString()) + views.name(slot));
}

}  // namespace belmo::services

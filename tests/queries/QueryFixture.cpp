#include "QueryFixture.h"

#include "db/Recordset.h"
#include "db/Schema.h"
#include "services/NumberFormats.h"

#include <algorithm>

namespace belmo::test {

Fragments accessFragments(const Decimals& d)
{
    services::NumberFormats formats;
    formats.TutarFormat = services::numberFormat(d.tutar);
    formats.Dvz1TutarFormat = services::numberFormat(d.dvz1Tutar);
    formats.Dvz2TutarFormat = services::numberFormat(d.dvz2Tutar);
    formats.FiyatFormat = services::numberFormat(d.fiyat);
    formats.MiktarFormat = services::numberFormat(d.miktar);
    return services::accessFragments(formats);
}

QString viewName(const QString& prefix, int slot) { return prefix + kUserCode + QString::number(slot); }

namespace {

// The error number of opening a statement with the given lock; 0 when it opens.
qint32 openingError(db::Connection& con, const db::Query& sql, db::LockType lock)
{
    try {
        db::Recordset rs;
        rs.open(sql, con, lock == db::LockType::ReadOnly ? db::CursorType::Static : db::CursorType::Dynamic, lock);
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

qint32 createView(db::Connection& con, const QString& prefix, int slot, const QString& query)
{
    return openingError(con, u"CREATE VIEW "_s + viewName(prefix, slot) + u" AS "_s + query, db::LockType::Optimistic);
}

qint32 dropView(db::Connection& con, const QString& prefix, int slot)
{
    return openingError(con, u"DROP VIEW "_s + viewName(prefix, slot), db::LockType::Optimistic);
}

qint32 openError(db::Connection& con, const db::Query& sql) { return openingError(con, sql, db::LockType::ReadOnly); }

QList<QStringList> sorted(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) { return a.join(u'\x1f') < b.join(u'\x1f'); });
    return rows;
}

qint64 QueryTest::header(Columns columns)
{
    co.insert(u"Kayit"_s, columns);
    return co.connection().lastInsertId();
}

void QueryTest::rebuildView(const QString& prefix, int slot, const QString& query)
{
    dropView(co.connection(), prefix, slot);
    ASSERT_EQ(createView(co.connection(), prefix, slot, query), 0) << query.toStdString();
}

}  // namespace belmo::test

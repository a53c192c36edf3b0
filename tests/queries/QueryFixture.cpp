#include "QueryFixture.h"

#include "db/Recordset.h"
#include "db/Schema.h"

#include <algorithm>

namespace belmo::test {

QString numberFormat(int decimals)
{
    if (decimals == 0) return u"##,###"_s;
    return u"##,###0."_s + QString(decimals, u'0');
}

Fragments Fragments::access(const Decimals& d)
{
    auto closing = [](int decimals) { return u",'"_s + numberFormat(decimals) + u"')"_s; };
    Fragments f;
    f.TutarBas = f.Dvz1TutarBas = f.Dvz2TutarBas = f.MiktarBas = f.FiyatBas = f.Ondalik4Bas = u"FORMAT("_s;
    f.TutarSon = closing(d.tutar);
    f.Dvz1TutarSon = closing(d.dvz1Tutar);
    f.Dvz2TutarSon = closing(d.dvz2Tutar);
    f.MiktarSon = closing(d.miktar);
    f.FiyatSon = closing(d.fiyat);
    f.Ondalik4Son = u",'###,##0.0000')"_s;
    f.TarihMetinBas = u"format("_s;
    f.TarihMetinSon = u",'DD.MM.YYYY')"_s;
    f.MetinTarihBas = u"cdate("_s;
    f.MetinTarihSon = u")"_s;
    f.KosulBas = u"SWITCH("_s;
    f.KosulIlk = QString();
    f.KosulDeger = u","_s;
    f.KosulSonraki = u","_s;
    f.KosulSon = u")"_s;
    f.KirpBas = u"TRIM("_s;
    f.KirpSon = u")"_s;
    f.SayiFonk = u"CDBL"_s;
    return f;
}

QString Fragments::conditional(const QString& c1, const QString& v1, const QString& c2, const QString& v2) const
{
    return QStringList{KosulBas, KosulIlk, c1, KosulDeger, v1, KosulSonraki, c2, KosulDeger, v2, KosulSon}.join(u' ');
}

QString viewName(const QString& prefix, int slot) { return prefix + kUserCode + QString::number(slot); }

namespace {

// The error number of opening a statement with the given lock; 0 when it opens.
qint32 openingError(db::Connection& con, const QString& sql, db::LockType lock)
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

qint32 openError(db::Connection& con, const QString& sql) { return openingError(con, sql, db::LockType::ReadOnly); }

void recreateWithoutColumn(db::Connection& con, const QString& table, const QString& column)
{
    db::schema::Table t = *db::schema::findTable(db::schema::companyTables(), table);
    t.columns.removeIf([&](const db::schema::Column& c) { return c.name.compare(column, Qt::CaseInsensitive) == 0; });
    t.indexes.removeIf([&](const db::schema::Index& ix) { return ix.columns.contains(column, Qt::CaseInsensitive); });
    con.execute(u"DROP TABLE "_s + table);
    for (const QString& sql : db::schema::createStatements(t)) con.execute(sql);
}

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

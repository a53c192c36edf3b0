#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/PgClient.h"
#include "db/PgDialect.h"
#include "db/VbConvert.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"

#include "support/TestCompany.h"

#include <gtest/gtest.h>

namespace belmo::db {
namespace {

using namespace Qt::Literals::StringLiterals;

using test::TestCompany;

// The same company tables, built by the schema code, in a file and in a server database with
// the schema belmo; the same rows in both.
class PgDialectTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("BELMO_TEST_PGHOST")) GTEST_SKIP() << "no test server: BELMO_TEST_PGHOST is not set (run through ctest)";
        const PgServer server{qEnvironmentVariable("BELMO_TEST_PGHOST"), 0, QStringLiteral("belmo_test"), {}, QStringLiteral("belmo test")};
        code = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()).left(40);
        admin = std::make_unique<PgClient>(server, QStringLiteral("postgres"), settings);
        admin->createDatabase(code);
        db = std::make_unique<PgClient>(server, code, settings);
        for (int twice = 0; twice < 2; ++twice) {  // a second install changes nothing
            db->begin();
            for (const QString& sql : pg::installStatements()) db->execute(sql);
            db->commit();
        }
        for (const QString& sql : pg::sessionStatements()) db->execute(sql);
        for (const schema::Table& t : schema::companyTables())
            for (const QString& sql : pg::createStatements(t)) db->execute(sql);
        const QList<QList<Value>> accounts{
            {"001", QStringLiteral("IŞIK Ltd"), QStringLiteral("İSTANBUL"), 120, 1234.5},
            {"002", QStringLiteral("ışık ltd"), "istanbul", 120, 0.125},
            {"003", QStringLiteral("ID Yapı"), "izmir", 320, -2.5},
            {"004", QStringLiteral("id yapı"), QStringLiteral("İzmir"), 320, Value::null()},
            {"005", Value::null(), "Ankara", 120, 1000000.0},
            {"A12", QStringLiteral("çarşı"), Value::null(), 320, 7},
        };
        const QList<QList<Value>> records{
            {"E1", QDateTime(QDate(2011, 1, 1), QTime(0, 0))},
            {"E2", QDateTime(QDate(2010, 12, 31), QTime(10, 30))},
            {"E3", QDateTime(QDate(2011, 3, 15), QTime(0, 0))},
            {"E4", Value::null()},
        };
        for (const auto& row : accounts) both(QStringLiteral("INSERT INTO Hesaplar (MID1, UNVAN, Sehir, Ana_Hs, KDV) VALUES (?, ?, ?, ?, ?)"), row);
        for (const auto& row : records) both(QStringLiteral("INSERT INTO Kayit (Evrak_No, tarih) VALUES (?, ?)"), row);
    }
    void TearDown() override
    {
        db.reset();
        if (admin) admin->dropDatabase(code);
    }

    void both(const QString& sql, const QList<Value>& params)
    {
        company.connection().execute(sql, params);
        db->execute(pg::rewrite(sql), params);
    }
    QList<QStringList> serverRows(const QString& sql, const QList<Value>& params)
    {
        QList<QStringList> out;
        for (const auto& row : db->execute(pg::rewrite(sql), params).rows) {
            QStringList cells;
            for (const Value& v : row) cells << (v.isNull() ? QStringLiteral("<null>") : vb::CStr(v));
            out << cells;
        }
        return out;
    }

    TestCompany company;
    std::shared_ptr<PoolSettings> settings = std::make_shared<PoolSettings>();
    QString code;
    std::unique_ptr<PgClient> admin;
    std::unique_ptr<PgClient> db;
};

TEST_F(PgDialectTest, InstallsOnceAndSaysItsVersion)
{
    EXPECT_EQ(db->execute(QStringLiteral("SELECT belmo.version()")).rows, QList<QList<Value>>{{Value(qint64(pg::kDialectVersion))}});
}

// A company made by the first version is brought up to this one when it is opened, even for
// reading; its texts still compare with the four i's as one.
TEST_F(PgDialectTest, AnEarlierDialectIsBroughtUpToDateWhenTheCompanyIsOpened)
{
    db->execute(u"CREATE OR REPLACE FUNCTION belmo.metin_eq(belmo.metin, belmo.metin) RETURNS boolean LANGUAGE sql "
                "IMMUTABLE PARALLEL SAFE AS $$ SELECT belmo.fold($1::text) = belmo.fold($2::text) $$"_s);
    db->execute(u"CREATE OR REPLACE FUNCTION belmo.version() RETURNS integer LANGUAGE sql IMMUTABLE AS $$ SELECT 1 $$"_s);
    ConnectionPool pool;
    Connection reader(pool);
    reader.open(ConnectionString::readOnlyForm(ConnectionString::forServer(test::testServer().host, 0, test::testServer().user, {}, code)));
    const auto installed = [&](const QString& sql) { return db->execute(sql).rows.value(0).value(0); };
    EXPECT_EQ(installed(u"SELECT belmo.version()"_s), Value(qint64(pg::kDialectVersion)));
    EXPECT_EQ(installed(u"SELECT l.lanname::text FROM pg_proc p JOIN pg_language l ON l.oid = p.prolang "
                        "WHERE p.oid = 'belmo.metin_eq(belmo.metin, belmo.metin)'::regprocedure"_s),
              Value(u"plpgsql"_s));
    EXPECT_EQ(serverRows(u"SELECT MID1 FROM Hesaplar WHERE UNVAN = ? ORDER BY MID1"_s, {u"ışık LTD"_s}),
              (QList<QStringList>{{u"001"_s}, {u"002"_s}}));
}

struct Case {
    const char16_t* sql;
    QList<Value> params;
    int rows;  // how many both engines give
};

// Each statement as the steps write them gives the same rows on the file and on the server.
TEST_F(PgDialectTest, AccessStatementsGiveTheSameRowsOnBothEngines)
{
    const Case cases[] = {
        {u"SELECT MID1, FORMAT(KDV, '##,###0.00'), FORMAT(KDV, '###,##0.0000'), FORMAT(KDV, '##,###'), Format(Ana_Hs) "
         "FROM Hesaplar ORDER BY KDV, MID1", {}, 6},
        {u"SELECT MID1, UNVAN FROM Hesaplar ORDER BY Sehir DESC, (SELECT MAX(Evrak_No) FROM Kayit), MID1", {}, 6},
        {u"SELECT Evrak_No, FORMAT(tarih, 'DD.MM.YYYY'), format(tarih, 'dd.mm.yyyy hh:nn'), FORMAT('5.3.2011', 'yyyy-mm-dd') "
         "FROM Kayit ORDER BY Kayit_No", {}, 4},
        {u"SELECT MID1, SWITCH(Ana_Hs = 120, 'Alıcı', Ana_Hs = 320, 'Satıcı'), SWITCH(KDV > 10, KDV, KDV <= 10, 0) "
         "FROM Hesaplar ORDER BY MID1", {}, 6},
        {u"SELECT MID1 & '-' & UNVAN & KDV, UNVAN & Sehir, UNVAN & Grupkod, Ana_Hs & '' FROM Hesaplar ORDER BY MID1", {}, 6},
        {u"SELECT MID1, IIF(KDV > 100, 'büyük', 'küçük'), IIF(ISNUMERIC(MID1), MID1, 0), ISNUMERIC(UNVAN), "
         "ISDATE('31.12.2010') FROM Hesaplar ORDER BY ISNUMERIC(MID1), CDBL(IIF(ISNUMERIC(MID1), MID1, 0)), MID1", {}, 6},
        {u"SELECT MID1, CDBL(MID1) * 2, FORMAT(CDATE('15.03.2011'), 'dd.mm.yyyy'), CDBL('1.234,5'), CLNG(2.5), CLNG(3.5), "
         "STR(KDV), CSTR(Ana_Hs / 8), NZ(KDV, 0) FROM Hesaplar WHERE ISNUMERIC(MID1) = -1 ORDER BY MID1", {}, 5},
        {u"SELECT MID(UNVAN, 2, 3), MID(MID1, 2), TRIM('  ' & MID1 & '  '), LTRIM('  x '), RTRIM(' x  '), LEN(UNVAN), "
         "UCASE(Sehir), LCASE(MID1) FROM Hesaplar ORDER BY MID1", {}, 6},
        {u"SELECT Ana_Hs, FIRST(MID1), LAST(MID1), COUNT(*) FROM Hesaplar GROUP BY Ana_Hs ORDER BY Ana_Hs", {}, 2},
        {u"SELECT Evrak_No FROM Kayit WHERE tarih >= '01.01.2011' ORDER BY Evrak_No", {}, 2},
        {u"SELECT Evrak_No FROM Kayit WHERE tarih = FORMAT(CDATE('2011-01-01'), 'DD.MM.YYYY')", {}, 1},
        {u"SELECT Evrak_No FROM Kayit WHERE tarih < ? ORDER BY Evrak_No", {"31.12.2010 12:00"}, 1},
        {u"SELECT MID1 FROM Hesaplar WHERE UNVAN = 'ışık ltd' ORDER BY MID1", {}, 2},
        {u"SELECT MID1 FROM Hesaplar WHERE Sehir = 'ıstanbul' AND Sehir <> 'ANKARA' ORDER BY MID1", {}, 2},
        {u"SELECT MID1 FROM Hesaplar WHERE UNVAN = ? ORDER BY MID1", {"ID YAPI"}, 2},
        {u"SELECT MID1 FROM Hesaplar WHERE Sehir IN ('İZMİR', 'ankara') ORDER BY MID1", {}, 3},
        {u"SELECT MID1 FROM Hesaplar WHERE UNVAN LIKE 'İŞIK%' OR Sehir LIKE '%STAN%' OR UNVAN NOT LIKE '%Ş%' ORDER BY MID1", {}, 4},
        {u"SELECT MID1 FROM Hesaplar WHERE MID1 & '\\' LIKE '%\\' AND UNVAN LIKE '_d%'", {}, 2},
        {u"SELECT Sehir, MID1 FROM Hesaplar WHERE Sehir > 'b' ORDER BY Sehir, MID1 DESC", {}, 4},
        {u"SELECT COUNT(*) FROM Hesaplar GROUP BY Sehir ORDER BY 1", {}, 4},
        {u"SELECT COUNT(*) FROM (SELECT DISTINCT UNVAN FROM Hesaplar WHERE UNVAN IS NOT NULL) AS u", {}, 1},
        {u"SELECT DISTINCTROW Ana_Hs FROM Hesaplar ORDER BY Ana_Hs", {}, 2},
        {u"SELECT Ana_Hs / 8, Ana_Hs MOD 7, True, False, MID1 + ' / ' + Sehir FROM Hesaplar WHERE MID1 = ?", {"003"}, 1},
        {u"SELECT [MID1], [Hesaplar].[UNVAN] FROM [Hesaplar] WHERE [Ana_Hs] = 320 AND UNVAN <> 'ne?' AND KDV > ? "
         "ORDER BY 1", {-10}, 2},
    };
    for (const Case& c : cases) {
        const QString sql = QString::fromUtf16(c.sql);
        const QList<QStringList> file = company.rows(Query(sql, c.params));
        EXPECT_EQ(file.size(), c.rows) << sql.toStdString();
        EXPECT_EQ(serverRows(sql, c.params), file) << sql.toStdString() << "\n  server: " << pg::rewrite(sql).toStdString();
    }
}

// The fragments of each dialect, around the same expressions, give the same texts and order.
TEST_F(PgDialectTest, FragmentsOfEachDialectGiveTheSameRows)
{
    services::NumberFormats formats;
    formats.TutarFormat = services::numberFormat(2);
    formats.MiktarFormat = services::numberFormat(0);
    auto statements = [](const services::Fragments& f) {
        return QStringList{
            u"SELECT "_s + f.TutarBas + u"KDV"_s + f.TutarSon + u", "_s + f.MiktarBas + u"KDV"_s + f.MiktarSon + u", "_s
                + f.Ondalik4Bas + u"KDV"_s + f.Ondalik4Son + u", "_s + f.KirpBas + u"' ' & UNVAN & ' '"_s + f.KirpSon + u", "_s
                + f.conditional(u"Ana_Hs = 120"_s, u"'A'"_s, u"Ana_Hs = 320"_s, u"'S'"_s)
                + u" FROM Hesaplar ORDER BY ISNUMERIC(MID1), "_s + f.SayiFonk + u"(IIF(ISNUMERIC(MID1), MID1, 0)), MID1"_s,
            u"SELECT Evrak_No, "_s + f.TarihMetinBas + u"tarih"_s + f.TarihMetinSon + u" FROM Kayit WHERE tarih >= "_s
                + f.MetinTarihBas + u"'31.12.2010'"_s + f.MetinTarihSon + u" ORDER BY Evrak_No"_s,
        };
    };
    const QStringList file = statements(services::accessFragments(formats));
    const QStringList server = statements(services::serverFragments(formats));
    for (qsizetype i = 0; i < file.size(); ++i) {
        const QList<QStringList> rows = company.rows(file[i]);
        EXPECT_EQ(rows.size(), i == 0 ? 6 : 3) << file[i].toStdString();
        EXPECT_EQ(serverRows(server[i], {}), rows) << pg::rewrite(server[i]).toStdString();
    }
}

}  // namespace
}  // namespace belmo::db

// The Access dialect on SQLite: statements as the steps write them, run against a company
// file built by the schema code.
#include "support/TestCompany.h"

#include "db/DbError.h"
#include "db/JetDialect.h"
#include "db/JetFunctions.h"
#include "db/Recordset.h"

#include <gtest/gtest.h>

using namespace belmo;
using db::Value;

namespace {

class Dialect : public ::testing::Test {
protected:
    test::TestCompany co;

    Value one(const QString& expr) { return co.scalar(QStringLiteral("SELECT ") + expr); }
    QString text(const QString& expr) { return one(expr).textValue(); }
    qint32 openError(const QString& sql)
    {
        try {
            db::Recordset rs;
            rs.open(sql, co.connection(), db::CursorType::Static, db::LockType::ReadOnly);
            rs.eof();
        } catch (const db::DbError& e) {
            return e.number();
        }
        return 0;
    }
};

}  // namespace

TEST(DialectRewrite, TokensOutsideLiterals)
{
    using db::jet::rewrite;
    EXPECT_EQ(rewrite(u"SELECT a & ' ' & b AS DP FROM T"), "SELECT JETCAT(a, ' ', b) AS DP FROM T");
    EXPECT_EQ(rewrite(u"SELECT DISTINCTROW x FROM T"), "SELECT DISTINCT x FROM T");
    EXPECT_EQ(rewrite(u"SELECT (trim(a)+'   '+trim(b)) as HSP"), "SELECT ((trim(a))||('   ')||(trim(b))) as HSP");
    EXPECT_EQ(rewrite(u"SELECT 'a & b + c', x+1 FROM T"), "SELECT 'a & b + c', x+1 FROM T");
    EXPECT_EQ(rewrite(u"SELECT Sum(a)/Sum(b) FROM T"), "SELECT Sum(a)*1.0/Sum(b) FROM T");
    EXPECT_EQ(rewrite(u"GROUP BY k, Depo.Depo_Kodu & ' ' & Depo.Depo_Adi,Depo.Ana_Hs"),
              "GROUP BY k, JETCAT(Depo.Depo_Kodu, ' ', Depo.Depo_Adi),Depo.Ana_Hs");
    EXPECT_EQ(db::jet::quoted(u"Hakkı'nın"), "'Hakkı''nın'");
}

// Codes from grid cells are bound to statements as numbers only; anything else is refused.
TEST(DialectRewrite, NumbersToBindComeOnlyFromNumbers)
{
    using db::jet::number;
    EXPECT_EQ(number(u"153"), db::Value(153));
    EXPECT_EQ(number(u" 42 "), db::Value(42));
    EXPECT_EQ(number(u"2,5"), db::Value(2.5));
    EXPECT_EQ(number(u"-7"), db::Value(-7));
    for (const char16_t* text : {u"", u"1 OR 1=1", u"0; DROP TABLE islem", u"abc", u"+Sonsuz"}) {
        try {
            number(text);
            ADD_FAILURE() << "accepted " << QString::fromUtf16(text).toStdString();
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), db::err::Syntax);
        }
    }
}

TEST(DialectRewrite, RightJoinBecomesInnerOnlyWhereWhereDropsUnmatchedRows)
{
    using db::jet::rewrite;
    auto reduced = [](const char* sql) { return !rewrite(QString::fromUtf8(sql)).contains("RIGHT", Qt::CaseInsensitive); };
    // A left-side column compared with literals, as the balance views filter.
    EXPECT_TRUE(reduced("SELECT * FROM (Kayit LEFT JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) RIGHT JOIN "
                        "Hesaplar ON Kayit.B_MID = Hesaplar.MID1 WHERE Kayit.Evrak_Kodu not in(5,6) AND MID1<>'000' "
                        "GROUP BY Hesaplar.MID1"));
    EXPECT_TRUE(reduced("SELECT * FROM A RIGHT OUTER JOIN B ON A.k=B.k WHERE (('x' = A.c)) AND B.d=1"));
    EXPECT_TRUE(reduced("SELECT * FROM (SELECT * FROM A RIGHT JOIN B ON A.k=B.k WHERE A.n>-5) q"));
    // Everything else keeps the RIGHT JOIN: a filter on the right side (the stock loader),
    // an OR, Is Null, a column against a column, a filter in another SELECT, no WHERE.
    EXPECT_FALSE(reduced("SELECT * FROM ((SMZN051 RIGHT JOIN Stok_Tanim ON SMZN051.Stok_Kodu = Stok_Tanim.SID2) "
                         "LEFT JOIN Gruplar ON (Stok_Tanim.Stok_Grubu = Gruplar.Grup)) where Stok_Tanim.Sil=0 "));
    EXPECT_FALSE(reduced("SELECT * FROM A RIGHT JOIN B ON A.k=B.k WHERE A.c=1 OR B.d=2"));
    EXPECT_FALSE(reduced("SELECT * FROM A RIGHT JOIN B ON A.k=B.k WHERE A.c Is Null"));
    EXPECT_FALSE(reduced("SELECT * FROM A RIGHT JOIN B ON A.k=B.k WHERE A.c=B.d"));
    EXPECT_FALSE(reduced("SELECT * FROM A RIGHT JOIN B ON A.k=B.k WHERE B.d IN (SELECT c FROM A WHERE A.c=1)"));
    EXPECT_FALSE(reduced("SELECT * FROM A RIGHT JOIN B ON A.k=B.k WHERE A.c BETWEEN 1 AND 5"));
    EXPECT_FALSE(reduced("SELECT * FROM A RIGHT JOIN B ON A.k=B.k"));
}

TEST_F(Dialect, AReducedRightJoinReturnsWhatTheRightJoinReturns)
{
    co.insert("Hesaplar", {{"MID1", "1"}, {"TAMUNVAN", "Hareketli"}});
    co.insert("Hesaplar", {{"MID1", "2"}, {"TAMUNVAN", "Hareketsiz"}});
    co.insert("Kayit", {{"B_MID", "1"}, {"Evrak_Kodu", 1}});
    co.insert("Kayit", {{"B_MID", "1"}, {"Evrak_Kodu", 5}});
    co.insert("Kayit", {{"B_MID", "9"}, {"Evrak_Kodu", 1}});  // an account that does not exist
    co.insert("Cari_H", {{"Kayit_No", 1}, {"Tutar_Ytl", 10}});
    const QString head = "SELECT Hesaplar.MID1, Sum(Cari_H.Tutar_Ytl), count(*) FROM (Kayit LEFT JOIN Cari_H ON "
                         "Kayit.Kayit_No = Cari_H.Kayit_No) RIGHT JOIN Hesaplar ON Kayit.B_MID = Hesaplar.MID1 ";
    const QString tail = " GROUP BY Hesaplar.MID1 ORDER BY Hesaplar.MID1";
    // The same condition written so that the reduction does not see it.
    const auto asWritten = co.rows(head + "WHERE (Kayit.Evrak_Kodu not in(5,6) OR 1=0)" + tail);
    EXPECT_EQ(co.rows(head + "WHERE Kayit.Evrak_Kodu not in(5,6)" + tail), asWritten);
    EXPECT_EQ(asWritten, QList<QStringList>({{"1", "10", "1"}}));
    // Without a filter on the left, the unmatched account stays.
    EXPECT_EQ(co.rows(head + "WHERE Hesaplar.MID1<>'0'" + tail).size(), 2);
}

TEST_F(Dialect, AmpersandJoinsTextAndNullCountsAsEmpty)
{
    EXPECT_EQ(text("'a' & Null & 'b'"), "ab");
    EXPECT_TRUE(one("Null & Null").isNull());
    EXPECT_EQ(text("5 & ''"), "5");
    EXPECT_EQ(text("2.5 & ' TL'"), "2,5 TL");
    // A LEFT JOIN without a match: both sides Null, the blank between them stays.
    co.insert("Plasiyer", {{"Stok_Grubu", "YOK"}});
    EXPECT_EQ(co.rows("SELECT Gruplar.Grup & ' ' & Gruplar.Grupadi FROM Plasiyer LEFT JOIN Gruplar ON "
                      "Plasiyer.Stok_Grubu = Gruplar.Grup")
                  .value(0)
                  .value(0),
              " ");
}

TEST_F(Dialect, PlusJoinsTextNextToALiteralAndPropagatesNull)
{
    EXPECT_EQ(text("trim('  a ')+'   '+trim('b')"), "a   b");
    EXPECT_TRUE(one("'x' + Null").isNull());
    EXPECT_EQ(one("1 + 2").intValue(), 3);
    EXPECT_EQ(one("7/2").doubleValue(), 3.5);
    EXPECT_EQ(one("7 MOD 4").intValue(), 3);
}

TEST_F(Dialect, SwitchIifAndNulls)
{
    EXPECT_EQ(text("SWITCH( Null = 1 , 'a' , 1 = 1 , 'b' )"), "b");
    EXPECT_TRUE(one("SWITCH( 1 = 0 , 'a' )").isNull());
    EXPECT_TRUE(one("SWITCH( 1 = 1 , Null , 1 = 1 , 'b' )").isNull());
    EXPECT_EQ(one("SWITCH( Null Is Null , 0 )").intValue(), 0);
    EXPECT_EQ(openError("SELECT SWITCH(1=1, 'a', 2=2)"), db::err::InvalidCall);
    EXPECT_EQ(text("IIF(Null, 'a', 'b')"), "b");
    EXPECT_EQ(text("IIF(1=1, 'a', 'b')"), "a");
}

TEST_F(Dialect, TextFunctions)
{
    EXPECT_TRUE(one("TRIM(Null)").isNull());
    EXPECT_TRUE(one("LTRIM(Null)").isNull());
    EXPECT_EQ(text("TRIM('  x  ')"), "x");
    EXPECT_EQ(text("LTRIM('  x  ')"), "x  ");
    EXPECT_EQ(text("RTRIM('  x  ')"), "  x");
    EXPECT_EQ(text("MID('abcdef', 3, 2)"), "cd");
    EXPECT_EQ(text("MID('abcdef', 3)"), "cdef");
    EXPECT_EQ(text("MID('abc', 10)"), "");
    EXPECT_TRUE(one("MID(Null, 1)").isNull());
    EXPECT_EQ(openError("SELECT MID('abc', 0)"), db::err::InvalidCall);
    EXPECT_EQ(text("STR(153)"), " 153");
    EXPECT_EQ(text("TRIM(STR(153))"), "153");
    EXPECT_EQ(text("STR(-2.5)"), "-2.5");
    EXPECT_TRUE(one("STR(Null)").isNull());
}

TEST_F(Dialect, ConversionFunctions)
{
    EXPECT_EQ(one("CDBL('1.234,5')").doubleValue(), 1234.5);
    EXPECT_EQ(one("CDBL(12)").doubleValue(), 12.0);
    EXPECT_EQ(openError("SELECT CDBL('abc')"), db::err::CriteriaMismatch);
    EXPECT_EQ(text("CDATE('01.01.2011')"), "2011-01-01");
    EXPECT_EQ(openError("SELECT CDATE('01.01.')"), db::err::CriteriaMismatch);
    EXPECT_EQ(text("FORMAT(1234.5,'##,###0.00')"), "1.234,50");
    EXPECT_EQ(text("FORMAT(0,'##,###')"), "");
    EXPECT_TRUE(one("FORMAT(Null,'##,###0.00')").isNull());
    EXPECT_EQ(text("format('2010-12-31','dd.mm.yyyy')"), "31.12.2010");
}

TEST_F(Dialect, FirstAndLastFollowTheOrderRowsAreRead)
{
    co.insert("Cari_H", {{"Kayit_No", 1}, {"Aciklama", "birinci"}});
    co.insert("Cari_H", {{"Kayit_No", 1}, {"Aciklama", "ikinci"}});
    co.insert("Cari_H", {{"Kayit_No", 1}, {"Aciklama", "üçüncü"}});
    co.insert("Cari_H", {{"Kayit_No", 2}, {"Aciklama", "tek"}});
    const auto rows = co.rows("SELECT Kayit_No, FIRST(Aciklama), LAST(Aciklama) FROM Cari_H GROUP BY Kayit_No");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], QStringList({"1", "birinci", "üçüncü"}));
    EXPECT_EQ(rows[1], QStringList({"2", "tek", "tek"}));
}

TEST(TextCollation, FoldsCaseWhereverTheTextsPart)
{
    auto cmp = [](const char* a, const char* b) { return db::jet::compareText(QByteArrayView(a), QByteArrayView(b)); };
    EXPECT_EQ(cmp("ÇARŞI", "çarşı"), 0);
    EXPECT_EQ(cmp("aĞ", "ağ"), 0);  // the texts part inside a two-byte letter
    EXPECT_EQ(cmp("İstanbul", "istanbul"), 0);
    EXPECT_LT(cmp("aş", "aŞb"), 0);
    EXPECT_GT(cmp("aŞb", "aş"), 0);
    EXPECT_LT(cmp("120", "121"), 0);
    EXPECT_LT(cmp("", "a"), 0);
    EXPECT_EQ(cmp("KIRMIZI", "kırmızı"), 0);  // all four Turkish i's fold together
    EXPECT_EQ(cmp("ID", "id"), 0);
    // The order is the same whichever side is asked first.
    for (const char* a : {"ağaç", "AĞAÇ", "ağaçlar", "Ağır", "b", "Şeker", "şeker"})
        for (const char* b : {"ağaç", "AĞAÇ", "ağaçlar", "Ağır", "b", "Şeker", "şeker"})
            EXPECT_EQ(cmp(a, b), -cmp(b, a)) << a << " / " << b;
}

TEST_F(Dialect, TextComparesCaseInsensitively)
{
    co.insert("Gruplar", {{"Grup", "Abc"}, {"Ana_Hs", 153}});
    co.insert("Gruplar", {{"Grup", "ABC"}, {"Ana_Hs", 153}});
    co.insert("Gruplar", {{"Grup", "ŞİŞE"}, {"Ana_Hs", 153}});
    EXPECT_EQ(co.scalar("SELECT count(*) FROM Gruplar WHERE Grup='abc'").intValue(), 2);
    EXPECT_EQ(co.scalar("SELECT count(*) FROM Gruplar WHERE Grup='şişe'").intValue(), 1);
    EXPECT_EQ(co.scalar("SELECT count(*) FROM (SELECT Grup FROM Gruplar GROUP BY Grup)").intValue(), 2);
    EXPECT_EQ(co.scalar("SELECT count(*) FROM Gruplar WHERE Grup LIKE 'ş%'").intValue(), 1);
    EXPECT_EQ(co.scalar("SELECT count(*) FROM Gruplar WHERE Grup LIKE '%%'").intValue(), 3);
    EXPECT_EQ(co.scalar("SELECT count(*) FROM Gruplar WHERE Null LIKE '%%'").intValue(), 0);
}

TEST_F(Dialect, DateColumnsCompareWithDateTextChronologically)
{
    for (const char* d : {"2010-12-31", "2011-01-01", "2011-06-15", "2009-03-01"})
        co.insert("Karne_Tanim", {{"Karne_No", d}, {"Bit_Trh", d}, {"Teslim", 0}});
    const auto rows = co.rows("Select Karne_No from Karne_Tanim where Bit_Trh>=format('01.01.2011','DD.MM.YYYY') "
                              "order by Bit_Trh");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0], "2011-01-01");
    EXPECT_EQ(rows[1][0], "2011-06-15");
    EXPECT_EQ(co.scalar("Select count(*) from Karne_Tanim where Bit_Trh < '01.01.2011'").intValue(), 2);
    co.insert("Kayit", {{"tarih", Value(QDate(2026, 12, 9))}});
    EXPECT_EQ(co.scalar("Select count(*) from Kayit where Tarih=cdate('09.12.2026')").intValue(), 1);
    // Read back as a date, not as text.
    EXPECT_TRUE(co.scalar("Select tarih from Kayit").isDate());
}

TEST_F(Dialect, ViewsThroughTheRecordsetOpen)
{
    auto run = [&](const QString& sql) {
        db::Recordset rs;
        rs.open(sql, co.connection(), db::CursorType::Dynamic, db::LockType::Optimistic);
        EXPECT_FALSE(rs.isOpen());
    };
    co.insert("Gruplar", {{"Grup", "A"}, {"Ana_Hs", 153}});
    run("CREATE VIEW CMZN051 AS SELECT Grup FROM Gruplar");
    EXPECT_EQ(openError("CREATE VIEW CMZN051 AS SELECT Grupadi FROM Gruplar"), db::err::Syntax);
    EXPECT_EQ(co.rows("SELECT * FROM CMZN051"), QList<QStringList>({{"A"}}));  // the first definition stays
    run("DROP VIEW CMZN051");
    EXPECT_EQ(openError("DROP VIEW CMZN051"), db::err::NoSuchTable);
    EXPECT_EQ(openError("SELECT * FROM CMZN051"), db::err::NoSuchTable);
}

TEST_F(Dialect, AViewOverAMissingColumnIsNotCreated)
{
    auto create = [&](const QString& sql) {
        try {
            db::Recordset rs;
            rs.open(sql, co.connection(), db::CursorType::Dynamic, db::LockType::Optimistic);
        } catch (const db::DbError& e) {
            return e.number();
        }
        return 0;
    };
    co.insert("Cek_", {{"Cek_No", "A1"}, {"Tutar", 5}});
    EXPECT_EQ(create("CREATE VIEW CK051 AS SELECT Cek_No FROM Cek_ WHERE Cek_.Yok<>1"), db::err::MissingParameter);
    EXPECT_EQ(openError("SELECT * FROM CK051"), db::err::NoSuchTable);
    // So a second definition takes its place.
    EXPECT_EQ(create("CREATE VIEW CK051 AS SELECT Cek_No FROM Cek_"), 0);
    EXPECT_EQ(co.rows("SELECT * FROM CK051"), QList<QStringList>({{"A1"}}));
    // A view with a column list keeps working.
    EXPECT_EQ(create("CREATE VIEW CK052 (No, Toplam) AS SELECT Cek_No, Sum(Tutar) AS T FROM Cek_ GROUP BY Cek_No"), 0);
    EXPECT_EQ(co.rows("SELECT Toplam FROM CK052"), QList<QStringList>({{"5"}}));
    // The program's own statements are held to the same rule.
    EXPECT_THROW(co.connection().execute("CREATE VIEW CK053 AS SELECT Yok FROM Cek_"), db::DbError);
    EXPECT_EQ(openError("SELECT * FROM CK053"), db::err::NoSuchTable);
}

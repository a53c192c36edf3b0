// The document writers on a real company file: every written column with its conversion,
// the lot rule, the numbering series, and what a failing document leaves behind.
#include "support/TestSession.h"

#include "db/DbError.h"
#include "db/JetDialect.h"
#include "db/VbConvert.h"
#include "services/Posting.h"

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using namespace services;

class PostingTest : public ::testing::Test {
protected:
    TestSession t;
    KayitDegerleri& k = t.session.kayitDegerleri;

    PostingTest()
    {
        // An opening entry of a current account, as the balance steps fill it.
        k.Tarih = u"01.01.2026"_s;
        k.B_Hs = u"120"_s;
        k.B_Gr = u"01"_s;
        k.STKB_MID = u"S-B"_s;
        k.B_MID = u"120.01.001"_s;
        k.A_Hs = u"500"_s;
        k.A_Gr = u"01"_s;
        k.STKA_MID = u"S-A"_s;
        k.A_MID = u"001"_s;
        k.Evrak_Kodu = 0;
        k.Evrak_No = u"K1"_s;
        k.islem_Kod = 0;
    }

    db::Connection& db() { return t.company.connection(); }
    Ledger ledger() { return t.session.ledger(db()); }
    // A writer that fails: the failure's kind (true: of the database).
    template <typename Writer>
    bool fails(Writer writer)
    {
        try {
            writer(ledger());
        } catch (const db::DbError& e) {
            return e.databaseLevel();
        }
        ADD_FAILURE() << "written";
        return false;
    }
    QList<QStringList> rows(const QString& sql) { return t.company.rows(sql); }
    Value scalar(const QString& sql) { return t.company.scalar(sql); }
    qint64 count(const QString& table) { return scalar(u"select count(*) from "_s + table).intValue(); }
    void header(const QString& evrakNo, int sil, int evrakKodu = 0)
    {
        t.company.insert(u"Kayit"_s, {{"Evrak_No", evrakNo}, {"Sil", sil}, {"Evrak_Kodu", evrakKodu}});
    }
    // A stock line of a document of the given type carrying a lot number.
    void lotLine(int evrakKodu, int sil, int lot)
    {
        header(u"L"_s + QString::number(lot), sil, evrakKodu);
        t.company.insert(u"Stok_H"_s, {{"Kayit_No", t.company.connection().lastInsertId()}, {"Lot_No", lot}});
    }
};

// ---- KAYITEKLE ------------------------------------------------------------------------------

TEST_F(PostingTest, HeaderColumnsInPostingModeTwoLeaveTheStockCodesUnwritten)
{
    KAYITEKLE(ledger());
    EXPECT_EQ(rows(u"select Kayit_No, tarih, B_Hs, B_Gr, STKB_MID, B_MID, A_Hs, A_Gr, STKA_MID, A_MID, "
                   u"Evrak_Kodu, Evrak_No, islem_Kod, User_Code, Sil from Kayit"_s),
              (QList<QStringList>{{u"1"_s, u"01.01.2026"_s, u"120"_s, u"01"_s, u"<null>"_s, u"120.01.001"_s, u"500"_s,
                                   u"01"_s, u"<null>"_s, u"001"_s, u"0"_s, u"K1"_s, u"0"_s, u"05"_s, u"0"_s}}));
    EXPECT_EQ(k.Kayit_No, Value(1));
    EXPECT_EQ(scalar(u"select typeof(tarih) || ' ' || tarih from Kayit"_s), Value(u"text 2026-01-01"_s));
}

TEST_F(PostingTest, HeaderInPostingModeThreeCarriesTheStockCodes)
{
    t.session.HModu = 3;
    KAYITEKLE(ledger());
    EXPECT_EQ(rows(u"select STKB_MID, STKA_MID from Kayit"_s), (QList<QStringList>{{u"S-B"_s, u"S-A"_s}}));
}

TEST_F(PostingTest, HeaderNumberIsTheLargestPlusOneAndLinesLinkToTheNumberTheHeaderGot)
{
    header(u"A"_s, 0);
    header(u"B"_s, 0);
    header(u"C"_s, 0);
    t.company.connection().execute(u"DELETE FROM Kayit WHERE Kayit_No > 1"_s);  // the last headers were removed

    CARIHAREKETEKLE(ledger());
    EXPECT_EQ(k.Kayit_No, Value(2));  // what the header was expected to get
    const Value given = scalar(u"select Kayit_No from Kayit where Evrak_No='K1'"_s);
    EXPECT_EQ(given, Value(4));  // a number is never reused
    EXPECT_EQ(scalar(u"select Kayit_No from Cari_H"_s), given);
}

TEST_F(PostingTest, AHeaderThatCannotBeWrittenStopsTheStepAndNothingIsStored)
{
    k.Tarih = u"otuz ikinci gün"_s;
    EXPECT_TRUE(fails(KAYITEKLE));
    EXPECT_EQ(count(u"Kayit"_s), 0);
}

// ---- CARIHAREKETEKLE ------------------------------------------------------------------------

TEST_F(PostingTest, CurrentAccountLineWritesEveryColumnWithItsConversion)
{
    k.Aciklama = u"DEVİR"_s;
    k.islem_Dvz = u"USD"_s;
    k.Doviz_Kuru = 32.5;
    k.iskonto_Oran = 0;
    k.iskonto = u""_s;         // empty text is written as 0
    k.Vade = u"   "_s;         // blank: the column stays unassigned
    k.B_Fiyat = Value::null();  // Null is written as 0
    k.Tutar_Ytl = 1625.0;
    k.Tutar_Dvz1 = u"50,00"_s;
    k.Tutar_Dvz2 = 0.5;
    k.Alis_Kyt_No = Value::null();
    k.KDV = Value::null();
    CARIHAREKETEKLE(ledger());

    EXPECT_EQ(rows(u"select Kayit_No, Aciklama, islem_Dvz, Doviz_Kuru, iskonto_Oran, iskonto, Vade, B_Fiyat, "
                   u"Tutar_Ytl, Tutar_Dvz1, Tutar_Dvz2, Alis_Kyt_No, KDV from Cari_H"_s),
              (QList<QStringList>{{u"1"_s, u"DEVİR"_s, u"USD"_s, u"32,5"_s, u"0"_s, u"0"_s, u"<null>"_s, u"0"_s,
                                   u"1625"_s, u"50"_s, u"0,5"_s, u"0"_s, u"0"_s}}));
    EXPECT_EQ(rows(u"select Kayit_No, Evrak_No from Kayit"_s), (QList<QStringList>{{u"1"_s, u"K1"_s}}));
}

TEST_F(PostingTest, DueDateAndDiscountTextAreConverted)
{
    k.Vade = u" 31.03.2026 "_s;
    k.iskonto = u"12,5"_s;
    CARIHAREKETEKLE(ledger());
    EXPECT_EQ(scalar(u"select typeof(Vade) || ' ' || Vade from Cari_H"_s), Value(u"text 2026-03-31"_s));
    EXPECT_EQ(scalar(u"select iskonto from Cari_H"_s), Value(12.5));
}

TEST_F(PostingTest, AFailingLineMarksEveryHeaderOfItsDocumentDeleted)
{
    header(u"K1"_s, 0);  // an earlier part of the same document
    header(u"K2"_s, 0);  // another document
    k.Tutar_Ytl = u"bin lira"_s;
    EXPECT_FALSE(fails(CARIHAREKETEKLE));  // one entry left out: the step goes on

    EXPECT_EQ(rows(u"select Evrak_No, Sil from Kayit order by Kayit_No"_s),
              (QList<QStringList>{{u"K1"_s, u"1"_s}, {u"K2"_s, u"0"_s}, {u"K1"_s, u"1"_s}}));
    EXPECT_EQ(count(u"Cari_H"_s), 0);
}

TEST_F(PostingTest, ALineWhoseHeaderFailsIsNotWrittenAgainstAnotherHeader)
{
    header(u"K0"_s, 0);
    k.B_Hs = u"yüz yirmi"_s;  // does not fit the number column
    EXPECT_TRUE(fails(CARIHAREKETEKLE));
    EXPECT_EQ(count(u"Kayit"_s), 1);
    EXPECT_EQ(count(u"Cari_H"_s), 0);
}

// ---- STOKHAREKETEKLE ------------------------------------------------------------------------

TEST_F(PostingTest, OneStockLineGivesExactlyThreeRowsOnOneHeader)
{
    k.Tutar_Ytl = 120.0;
    k.B_Fiyat = 12.0;
    k.KDV = Value::null();
    k.Lot_No = 0;
    k.Stok_Kodu = u"ST-7"_s;
    k.Giren1 = 10;
    k.Cikan1 = 0;
    k.Birim1 = u"ADET"_s;
    k.Giren2 = u"2,5"_s;
    k.Cikan2 = 0;
    k.Birim2 = u"KOLİ"_s;
    k.Aciklama1 = u"DEVİR"_s;
    k.Aciklama2 = Value::null();
    k.Depo_Kodu = u"01"_s;
    STOKHAREKETEKLE(ledger());

    EXPECT_EQ(count(u"Kayit"_s), 1);
    EXPECT_EQ(rows(u"select Kayit_No, Tutar_Ytl, B_Fiyat, KDV from Cari_H"_s),
              (QList<QStringList>{{u"1"_s, u"120"_s, u"12"_s, u"0"_s}}));
    EXPECT_EQ(rows(u"select Kayit_No, Lot_No, Stok_Kodu, Giren1, Cikan1, Birim1, Giren2, Cikan2, Birim2, "
                   u"Aciklama1, Aciklama2, Depo_Kodu, KDV from Stok_H"_s),
              (QList<QStringList>{{u"1"_s, u"0"_s, u"ST-7"_s, u"10"_s, u"0"_s, u"ADET"_s, u"2,5"_s, u"0"_s, u"KOLİ"_s,
                                   u"DEVİR"_s, u"<null>"_s, u"01"_s, u"<null>"_s}}));
}

TEST_F(PostingTest, LotRule)
{
    // Lots already used: only live documents of types 2, 3 and 6 count.
    lotLine(2, 0, 4);
    lotLine(6, 0, 7);
    lotLine(3, 1, 20);  // deleted document
    lotLine(1, 0, 30);  // another type

    // Run one after another: a lot taken on a live type 3 or 6 document counts for the next.
    struct Case {
        const char* what;
        Value lot;
        Value evrakKodu;
        Value aHs;
        double expected;
    };
    const Case cases[] = {
        {"Null is 0 and takes no number", Value::null(), 2, u"500"_s, 0},
        {"empty on a type 1 document is 0", u""_s, 1, u"500"_s, 0},
        {"empty on a type 3 document takes the next lot", u""_s, 3, u"500"_s, 8},
        {"never assigned counts as empty", Value(), 6, u"500"_s, 9},
        {"empty with a side of 0 is 0", u""_s, 2, 0, 0},
        {"a given lot stays", 12, 2, u"500"_s, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString document = QString::fromUtf8(c.what);
        k.Lot_No = c.lot;
        k.Evrak_Kodu = c.evrakKodu;
        k.A_Hs = c.aHs;
        k.Evrak_No = document;
        STOKHAREKETEKLE(ledger());
        EXPECT_EQ(vb::CDbl(k.Lot_No), c.expected);
        EXPECT_EQ(scalar(u"select Lot_No from Stok_H where Kayit_No=(select Kayit_No from Kayit where Evrak_No="_s +
                         db::jet::quoted(document) + u")"_s),
                  Value(static_cast<qint64>(c.expected)));
    }
}

TEST_F(PostingTest, FirstLotOfACompanyIsOne)
{
    k.Lot_No = u""_s;
    k.Evrak_Kodu = 2;
    STOKHAREKETEKLE(ledger());
    EXPECT_EQ(scalar(u"select Lot_No from Stok_H"_s), Value(1));
}

TEST_F(PostingTest, AFailingStockLineLeavesItsDocumentDeleted)
{
    k.Giren1 = u"on adet"_s;
    EXPECT_FALSE(fails(STOKHAREKETEKLE));
    EXPECT_EQ(rows(u"select Evrak_No, Sil from Kayit"_s), (QList<QStringList>{{u"K1"_s, u"1"_s}}));
    EXPECT_EQ(count(u"Cari_H"_s), 1);  // counts as deleted through its header
    EXPECT_EQ(count(u"Stok_H"_s), 0);
}

// ---- EVRAKNOAL and EVRAKSIL -----------------------------------------------------------------

TEST_F(PostingTest, NewSeriesHandsOutOneThenTwo)
{
    EXPECT_EQ(nextDocumentNumber(db()), u"K1"_s);
    EXPECT_EQ(nextDocumentNumber(db()), u"K2"_s);
    EXPECT_EQ(EVRAKNOAL(db(), u"K"_s, false), Value(3));
    EXPECT_EQ(EVRAKNOAL(db(), u"K"_s, false), Value(3));  // without advancing
    EXPECT_EQ(EVRAKNOAL(db(), u"F'"_s, true), Value(1));  // a prefix with an apostrophe is a series of its own
    EXPECT_EQ(rows(u"select On_Taki, Evr_No from Evr order by On_Taki"_s),
              (QList<QStringList>{{u"F'"_s, u"2"_s}, {u"K"_s, u"3"_s}}));
}

// A step's series, kept open while it posts, hands out the numbers EVRAKNOAL would, and the
// series row holds the next one.
TEST_F(PostingTest, AStepsSeriesContinuesTheStoredSeries)
{
    EXPECT_EQ(nextDocumentNumber(db()), u"K1"_s);
    DocumentSeries series(db(), u"K"_s);
    EXPECT_EQ(series.nextDocumentNumber(), u"K2"_s);
    EXPECT_EQ(series.nextDocumentNumber(), u"K3"_s);
    EXPECT_EQ(EVRAKNOAL(db(), u"K"_s, false), Value(4));
}

TEST_F(PostingTest, UnreadableSeriesGivesAnEmptyNumberSilently)
{
    t.company.connection().execute(u"DROP TABLE Evr"_s);
    EXPECT_TRUE(EVRAKNOAL(db(), u"K"_s, true).isEmpty());
    EXPECT_EQ(nextDocumentNumber(db()), u"K"_s);
}

TEST_F(PostingTest, DeletingADocumentMarksOnlyItsLiveHeaders)
{
    header(u"K5"_s, 0);
    header(u"K5"_s, 0);
    header(u"K50"_s, 0);
    header(u"K5'"_s, 0);
    for (const Value& nothing : {Value(u""_s), Value::null(), Value()}) EVRAKSIL(db(), nothing);
    EVRAKSIL(db(), u"x' OR '1'='1"_s);
    EXPECT_EQ(scalar(u"select count(*) from Kayit where Sil=1"_s), Value(0));

    EVRAKSIL(db(), u"K5"_s);
    EXPECT_EQ(rows(u"select Evrak_No, Sil from Kayit order by Kayit_No"_s),
              (QList<QStringList>{{u"K5"_s, u"1"_s}, {u"K5"_s, u"1"_s}, {u"K50"_s, u"0"_s}, {u"K5'"_s, u"0"_s}}));
}

}  // namespace
}  // namespace belmo::test

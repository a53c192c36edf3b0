// "Cari Hesaplar ve Bakiyeler": balances worked out by hand from documents written into the
// source, the grid and its totals, and the opening entries "Başla" writes into the target.
#include "BalanceFixture.h"

#include "proof/SessionReport.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"
#include "transfers/balances/CariHesaplar.h"

#include <functional>
#include <tuple>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

class CurrentAccounts : public BalanceTest {
protected:
    void account(db::Connection& con, const QString& code, int main, const QString& group, const QString& title,
                 int deleted = 0)
    {
        put(con, u"Hesaplar"_s, {{"MID1", code}, {"Ana_Hs", main}, {"Grupkod", group}, {"TAMUNVAN", title},
                                 {"UNVAN", title.left(8)}, {"Sehir", "İZMİR"}, {"[Not]", "not"}, {"isk1", 2.5}, {"sil", deleted}});
    }
    // One document: the account on the debit (B) or credit (A) side, a cash account on the
    // other, with one current-account line.
    struct Move {
        QString code;
        bool debit = true;
        int main = 120;
        Value currency = u"TL"_s;
        double ytl = 0, dvz1 = 0, dvz2 = 0;
        int type = 1;
        int deleted = 0;
    };
    void move(const Move& m)
    {
        const Value group = m.code == u"1"_s ? u"G1"_s : u"01"_s;
        const qint64 no = m.debit
            ? header(source(), {{"B_Hs", m.main}, {"B_Gr", group}, {"B_MID", m.code}, {"A_Hs", 100}, {"A_Gr", "01"},
                                {"A_MID", "001"}, {"Evrak_Kodu", m.type}, {"Sil", m.deleted}})
            : header(source(), {{"A_Hs", m.main}, {"A_Gr", group}, {"A_MID", m.code}, {"B_Hs", 100}, {"B_Gr", "01"},
                                {"B_MID", "001"}, {"Evrak_Kodu", m.type}, {"Sil", m.deleted}});
        put(source(), u"Cari_H"_s, {{"Kayit_No", no}, {"islem_Dvz", m.currency}, {"Tutar_Ytl", m.ytl},
                                    {"Tutar_Dvz1", m.dvz1}, {"Tutar_Dvz2", m.dvz2}});
    }

    // Accounts whose balances are worked out in the comments.
    void books()
    {
        account(source(), u"1"_s, 120, u"G1"_s, u"ALICI A.Ş."_s);  // 200 - 50 = 150 TL debit
        move({.code = u"1"_s, .ytl = 200});
        move({.code = u"1"_s, .debit = false, .ytl = 50});
        account(source(), u"2"_s, 320, u"01"_s, u"SATICI LTD."_s);  // 150 TL credit
        move({.code = u"2"_s, .debit = false, .main = 320, .ytl = 150});
        account(source(), u"3"_s, 120, u"01"_s, u"İKİ DÖVİZLİ"_s);  // 100 TL debit, 40 - 70 = 30 USD credit
        move({.code = u"3"_s, .ytl = 100});
        move({.code = u"3"_s, .currency = u"USD"_s, .ytl = 1600, .dvz1 = 40});
        move({.code = u"3"_s, .debit = false, .currency = u"USD"_s, .ytl = 2800, .dvz1 = 70});
        account(source(), u"4"_s, 120, u"01"_s, u"DÖVİZİ BELİRSİZ"_s);  // a Null and a GBP movement: nothing
        move({.code = u"4"_s, .currency = Value::null(), .ytl = 500, .dvz1 = 5, .dvz2 = 5});
        move({.code = u"4"_s, .currency = u"GBP"_s, .ytl = 80});
        account(source(), u"5"_s, 120, u"01"_s, u"SAYILMAYANLAR"_s);  // only the live 10 EURO counts
        move({.code = u"5"_s, .currency = u"EURO"_s, .dvz2 = 10});
        move({.code = u"5"_s, .currency = u"EURO"_s, .dvz2 = 999, .deleted = 1});
        move({.code = u"5"_s, .currency = u"EURO"_s, .dvz2 = 500, .type = 5});
        move({.code = u"5"_s, .currency = u"EURO"_s, .dvz2 = 600, .type = 6});
        account(source(), u"000"_s, 320, u"01"_s, u"DEVİR"_s);  // only its credit side counts: 75 TL credit
        move({.code = u"000"_s, .debit = false, .main = 320, .ytl = 75});
        move({.code = u"000"_s, .main = 320, .ytl = 20});
        account(source(), u"6"_s, 120, u"01"_s, u"SİLİNMİŞ KART"_s, 1);  // a deleted card is not listed
        move({.code = u"6"_s, .ytl = 10});
    }

    transfers::CariHesaplar& openStep()
    {
        return dynamic_cast<transfers::CariHesaplar&>(open(StepId::CariHesaplar));
    }
    void startExpectingCompletion(transfers::CariHesaplar& s)
    {
        t.dialogs.expectMessage(u"Cari Hesap Belmo İşlemleri Tamamlandı."_s, u"Belmo"_s);
        s.basla.click();
        t.dialogs.verify();
    }
    QStringList totals(const transfers::CariHesaplar& s)
    {
        return {s.TxtYtl.text(), s.TxtDvz1.text(), s.TxtDvz2.text(), s.TxtYtlDvr.text(), s.TxtDvz1Dvr.text(),
                s.TxtDvz2Dvr.text()};
    }
    QList<QStringList> targetCards()
    {
        return rows(target(), u"SELECT MID1, Ana_Hs, Grupkod, TAMUNVAN, UNVAN, Sehir, [Not], isk1, sil FROM Hesaplar ORDER BY MID1"_s);
    }
    QStringList card(const QString& code, const QString& main, const QString& group, const QString& title)
    {
        return {code, main, group, title, title.left(8), u"İZMİR"_s, u"not"_s, u"2,5"_s, u"0"_s};
    }
    // Column 0 of the account's row: ticks or unticks it.
    void toggle(transfers::CariHesaplar& s, const QString& code) { s.grid.click(rowWith(s, 3, code), 0); }
};

const QStringList kAccount1 = {u"120"_s, u"G1"_s, u"1"_s};
const QStringList kAccount2 = {u"320"_s, u"01"_s, u"2"_s};
const QStringList kAccount3 = {u"120"_s, u"01"_s, u"3"_s};
const QStringList kAccount5 = {u"120"_s, u"01"_s, u"5"_s};
const QStringList kAccount000 = {u"320"_s, u"01"_s, u"000"_s};

TEST_P(CurrentAccounts, TheGridShowsEachAccountsBalancePerCurrencyWithTheTotals)
{
    books();
    transfers::CariHesaplar& s = openStep();
    EXPECT_EQ(s.frame.caption(), u"Cari Hesaplar ve Bakiye Belmoi"_s);
    EXPECT_EQ(s.grid.cols(), 8);
    EXPECT_EQ(s.grid.text(0, 5), u"Tutar TL"_s);
    EXPECT_EQ(s.grid.colAlignment(5), widgets::Grid::Alignment::Amount);
    // Sorted by the numeric value of the code; the debit of 20 on "000" does not count.
    EXPECT_EQ(gridRows(s), (QList<QStringList>{
                               {u"320"_s, u"01"_s, u"000"_s, u"DEVİR"_s, u"-75,00"_s, u"0,00"_s, u"0,00"_s},
                               {u"120"_s, u"G1"_s, u"1"_s, u"ALICI A.Ş."_s, u"150,00"_s, u"0,00"_s, u"0,00"_s},
                               {u"320"_s, u"01"_s, u"2"_s, u"SATICI LTD."_s, u"-150,00"_s, u"0,00"_s, u"0,00"_s},
                               {u"120"_s, u"01"_s, u"3"_s, u"İKİ DÖVİZLİ"_s, u"100,00"_s, u"-30,00"_s, u"0,00"_s},
                               {u"120"_s, u"01"_s, u"4"_s, u"DÖVİZİ BELİRSİZ"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s},
                               {u"120"_s, u"01"_s, u"5"_s, u"SAYILMAYANLAR"_s, u"0,00"_s, u"0,00"_s, u"10,00"_s},
                           }));
    EXPECT_EQ(s.tickedRows().size(), 6);
    EXPECT_EQ(s.tumunuSec.value(), 1);
    EXPECT_EQ(s.LblKyt.text(), u"Tamamlandı."_s);
    EXPECT_EQ(s.bar.value(), s.bar.max());
    EXPECT_EQ(totals(s), (QStringList{u"25,00"_s, u"-30,00"_s, u"10,00"_s, u"25,00"_s, u"-30,00"_s, u"10,00"_s}));

    // Unticking changes only the carried sums; "Bakiyesizleri Gizle" reloads without the
    // account whose balances are all zero, every row ticked again.
    toggle(s, u"1"_s);
    EXPECT_EQ(totals(s), (QStringList{u"25,00"_s, u"-30,00"_s, u"10,00"_s, u"-125,00"_s, u"-30,00"_s, u"10,00"_s}));
    s.bakiyesizleriGizle.press();
    EXPECT_EQ(rowWith(s, 3, u"4"_s), -1);
    EXPECT_EQ(s.tickedRows().size(), 5);
    EXPECT_EQ(totals(s)[3], u"25,00"_s);
}

TEST_P(CurrentAccounts, BalancesBecomeMirrorImageOpeningEntriesEachWithItsOwnNumber)
{
    books();
    transfers::CariHesaplar& s = openStep();
    startExpectingCompletion(s);

    EXPECT_EQ(openingEntries(), (QList<QStringList>{
                                    entry(kCounter, kAccount000, u"TL"_s, u"75"_s, u"0"_s, u"0"_s),
                                    entry(kAccount1, kCounter, u"TL"_s, u"150"_s, u"0"_s, u"0"_s),
                                    entry(kCounter, kAccount2, u"TL"_s, u"150"_s, u"0"_s, u"0"_s),
                                    entry(kAccount3, kCounter, u"TL"_s, u"100"_s, u"0"_s, u"0"_s),
                                    entry(kCounter, kAccount3, u"USD"_s, u"0"_s, u"30"_s, u"0"_s),
                                    entry(kAccount5, kCounter, u"EURO"_s, u"0"_s, u"0"_s, u"10"_s),
                                }));
    // A new number from the "K" series for every entry, the series advanced past them.
    EXPECT_EQ(rows(target(), u"SELECT Evrak_No FROM Kayit ORDER BY Kayit_No"_s),
              (QList<QStringList>{{u"K1"_s}, {u"K2"_s}, {u"K3"_s}, {u"K4"_s}, {u"K5"_s}, {u"K6"_s}}));
    EXPECT_EQ(rows(target(), u"SELECT Evr_No FROM Evr WHERE On_Taki='K'"_s), QList<QStringList>{{u"7"_s}});
    // The ticked cards are copied with their columns; "000" never is.
    EXPECT_EQ(targetCards(), (QList<QStringList>{card(u"1"_s, u"120"_s, u"G1"_s, u"ALICI A.Ş."_s),
                                                 card(u"2"_s, u"320"_s, u"01"_s, u"SATICI LTD."_s),
                                                 card(u"3"_s, u"120"_s, u"01"_s, u"İKİ DÖVİZLİ"_s),
                                                 card(u"4"_s, u"120"_s, u"01"_s, u"DÖVİZİ BELİRSİZ"_s),
                                                 card(u"5"_s, u"120"_s, u"01"_s, u"SAYILMAYANLAR"_s)}));
    EXPECT_EQ(session().KaynakBag, t.company.connectionString(u"KAYNAK"_s));
    EXPECT_EQ(s.bar.value(), s.grid.rows() - 1);
    EXPECT_TRUE(done(StepId::CariHesaplar));
}

// "Başla" carries the rows, not the grid's texts: whatever the grid shows (columns moved,
// captions widened, amounts shown blank), the same entries are written.
TEST_P(CurrentAccounts, WhatIsCarriedDoesNotDependOnHowTheGridShowsIt)
{
    books();
    const auto swapColumns = [](widgets::Grid& g) {
        for (int r = 0; r < g.rows(); ++r) {
            const QString tl = g.text(r, 5);
            g.setText(r, 5, g.text(r, 7));
            g.setText(r, 7, tl);
        }
    };
    const auto widenCaptions = [](widgets::Grid& g) {
        for (int c = 1; c < g.cols(); ++c) g.setText(0, c, g.text(0, c) + u" (hesap)"_s);
    };
    const auto blankAmounts = [](widgets::Grid& g) {
        for (int r = 1; r < g.rows(); ++r)
            for (int c = 5; c <= 7; ++c) g.setText(r, c, QString());
    };
    QList<QStringList> carried;
    for (const auto& reshow : {std::function<void(widgets::Grid&)>([](widgets::Grid&) {}), std::function(swapColumns),
                               std::function(widenCaptions), std::function(blankAmounts)}) {
        target().execute(u"DELETE FROM Kayit"_s);
        target().execute(u"DELETE FROM Cari_H"_s);
        target().execute(u"DELETE FROM Hesaplar"_s);
        transfers::CariHesaplar& s = openStep();
        reshow(s.grid);
        startExpectingCompletion(s);
        if (carried.isEmpty()) carried = openingEntries();
        EXPECT_EQ(openingEntries().mid(0, carried.size()), carried);
        EXPECT_EQ(openingEntries().size(), 6);
    }
}

// The balances carry the decimals of their currency's amount format, as the grid shows them.
TEST_P(CurrentAccounts, BalancesCarryTheDecimalsOfTheirAmountFormat)
{
    account(source(), u"1"_s, 120, u"G1"_s, u"ALICI A.Ş."_s);
    move({.code = u"1"_s, .ytl = 100.0004});
    move({.code = u"1"_s, .ytl = 0.0001});
    for (const auto& [decimals, shown, posted] :
         {std::tuple{2, u"100,00"_s, u"100"_s}, {3, u"100,001"_s, u"100,001"_s}, {0, u"100"_s, u"100"_s}}) {
        target().execute(u"DELETE FROM Kayit"_s);
        target().execute(u"DELETE FROM Hesaplar"_s);
        session().formats.TutarFormat = services::numberFormat(decimals);  // as the login reads a source's
        services::SQLCEVIR(session().SqlSunucu, session().formats, session().sql);
        transfers::CariHesaplar& s = openStep();
        EXPECT_EQ(s.grid.text(1, 5), shown);
        startExpectingCompletion(s);
        EXPECT_EQ(openingEntries().value(0).value(11), posted) << decimals;
    }
}

TEST_P(CurrentAccounts, UntickedAccountsAreNeitherCopiedNorPostedAndTheCarriedTotalsAreWhatIsPosted)
{
    books();
    transfers::CariHesaplar& s = openStep();
    toggle(s, u"2"_s);
    toggle(s, u"3"_s);
    EXPECT_EQ(totals(s).mid(3), (QStringList{u"75,00"_s, u"0,00"_s, u"10,00"_s}));
    startExpectingCompletion(s);

    // Debits count positive, credits negative: -75 + 150 TL and 10 EURO.
    double posted[3] = {};
    for (const QStringList& e : openingEntries()) {
        const double sign = e[1] == u"500"_s ? -1 : 1;
        for (int i = 0; i < 3; ++i) posted[i] += sign * e[11 + i].toDouble();
    }
    EXPECT_EQ(posted[0], 75);
    EXPECT_EQ(posted[1], 0);
    EXPECT_EQ(posted[2], 10);
    EXPECT_EQ(rows(target(), u"SELECT MID1 FROM Hesaplar ORDER BY MID1"_s),
              (QList<QStringList>{{u"1"_s}, {u"4"_s}, {u"5"_s}}));
}

TEST_P(CurrentAccounts, BakiyeleriBelmoetmeCopiesTheCardsAndPostsNothing)
{
    books();
    transfers::CariHesaplar& s = openStep();
    s.bakiyeleriBelmoetme.press();
    startExpectingCompletion(s);
    EXPECT_TRUE(openingEntries().isEmpty());
    EXPECT_EQ(rows(target(), u"SELECT count(*) FROM Hesaplar"_s), QList<QStringList>{{u"5"_s}});
    EXPECT_EQ(s.bar.value(), 0);
}

class CurrentAccountsIntoATargetWithData : public CurrentAccounts {
protected:
    CurrentAccountsIntoATargetWithData()
    {
        account(source(), u"1"_s, 120, u"G1"_s, u"ALICI A.Ş."_s);
        move({.code = u"1"_s, .ytl = 200});
        account(target(), u"9"_s, 120, u"01"_s, u"ESKİ MÜŞTERİ"_s);
        account(target(), u"000"_s, 320, u"01"_s, u"DEVİR"_s);
        for (const auto& [debit, credit] : {std::pair{120, 100}, {100, 320}, {153, 600}, {0, 153}})
            header(target(), {{"B_Hs", debit}, {"A_Hs", credit}, {"Evrak_No", "ESKI"}, {"Evrak_Kodu", 1}, {"Sil", 0}});
    }
    QList<QStringList> headers() { return rows(target(), u"SELECT B_Hs, A_Hs, Sil FROM Kayit WHERE Evrak_No='ESKI'"_s); }
};

TEST_P(CurrentAccountsIntoATargetWithData, NoToTheFirstQuestionWritesNothing)
{
    transfers::CariHesaplar& s = openStep();
    expectQuestions(false, false);
    s.basla.click();
    t.dialogs.verify();
    EXPECT_EQ(rows(target(), u"SELECT MID1 FROM Hesaplar ORDER BY MID1"_s), (QList<QStringList>{{u"000"_s}, {u"9"_s}}));
    EXPECT_EQ(rows(target(), u"SELECT count(*) FROM Kayit WHERE Evrak_No<>'ESKI'"_s), QList<QStringList>{{u"0"_s}});
    EXPECT_EQ(rows(target(), u"SELECT count(*) FROM Evr"_s), QList<QStringList>{{u"0"_s}});
    EXPECT_FALSE(done(StepId::CariHesaplar));
}

TEST_P(CurrentAccountsIntoATargetWithData, DeletingTheTargetsDataRemovesItsCardsAndMarksItsCurrentAccountDocuments)
{
    transfers::CariHesaplar& s = openStep();
    expectQuestions(true, true);
    startExpectingCompletion(s);
    EXPECT_EQ(rows(target(), u"SELECT MID1 FROM Hesaplar ORDER BY MID1"_s), (QList<QStringList>{{u"000"_s}, {u"1"_s}}));
    EXPECT_EQ(headers(), (QList<QStringList>{{u"120"_s, u"100"_s, u"1"_s},
                                            {u"100"_s, u"320"_s, u"1"_s},
                                            {u"153"_s, u"600"_s, u"0"_s},
                                            {u"0"_s, u"153"_s, u"0"_s}}));
    EXPECT_EQ(openingEntries(), QList<QStringList>{entry(kAccount1, kCounter, u"TL"_s, u"200"_s, u"0"_s, u"0"_s)});
}

TEST_P(CurrentAccountsIntoATargetWithData, KeepingTheTargetsDataCopiesTheCardsBesideIt)
{
    transfers::CariHesaplar& s = openStep();
    expectQuestions(true, false);
    startExpectingCompletion(s);
    EXPECT_EQ(rows(target(), u"SELECT MID1 FROM Hesaplar ORDER BY MID1"_s),
              (QList<QStringList>{{u"000"_s}, {u"1"_s}, {u"9"_s}}));
    for (const QStringList& h : headers()) EXPECT_EQ(h[2], u"0"_s);
}

TEST_P(CurrentAccountsIntoATargetWithData, NothingTickedIsReportedBeforeAnyQuestion)
{
    transfers::CariHesaplar& s = openStep();
    s.tumunuSec.press();
    EXPECT_TRUE(s.tickedRows().isEmpty());
    t.dialogs.expectMessage(kError5);
    s.basla.click();
    t.dialogs.verify();
    EXPECT_EQ(rows(target(), u"SELECT count(*) FROM Hesaplar"_s), QList<QStringList>{{u"2"_s}});
    EXPECT_FALSE(done(StepId::CariHesaplar));
}

TEST_P(CurrentAccounts, APeriodThatIsNotAYearStopsTheStepBeforeAnythingIsWritten)
{
    books();
    target().execute(u"UPDATE SIRKET SET DONEM='2010/A'"_s);
    transfers::CariHesaplar& s = openStep();
    t.dialogs.expectMessage(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s);
    s.basla.click();
    t.dialogs.verify();
    EXPECT_TRUE(openingEntries().isEmpty());
    EXPECT_EQ(rows(target(), u"SELECT count(*) FROM Hesaplar"_s), QList<QStringList>{{u"0"_s}});
    EXPECT_EQ(session().KaynakBag, t.company.connectionString(u"KAYNAK"_s));
}

// The reconciliation after "Başla": the balances as the panel listed and ticked them, set
// against the opening entries found in the target; then, as `belmo report` lists the source
// itself (every row ticked), a line removed from the target afterwards.
TEST_P(CurrentAccounts, TheReportSetsTheListedBalancesAgainstTheOpeningEntriesFound)
{
    books();
    transfers::CariHesaplar& s = openStep();
    toggle(s, u"2"_s);
    startExpectingCompletion(s);
    const auto reconcile = [&] {
        QStringList items;
        const proof::Reconciliation r = proof::reconcileSession(session(), {}, {});
        for (const proof::AccountItem& a : r.accounts)
            items << u"%1 %2 %3 %4%5"_s.arg(a.code, a.currency).arg(a.closing).arg(a.carried).arg(a.ticked ? u""_s : u" unticked"_s);
        items.sort();
        return std::pair{items, r.differences()};
    };
    EXPECT_EQ(reconcile(), std::pair(QStringList{u"000 TL -75 -75"_s, u"1 TL 150 150"_s, u"2 TL -150 0 unticked"_s,
                                                 u"3 TL 100 100"_s, u"3 USD -30 -30"_s, u"5 EURO 10 10"_s},
                                     0));

    target().execute(u"DELETE FROM Cari_H WHERE islem_Dvz='USD'"_s);
    session().listing = {};
    EXPECT_EQ(reconcile(), std::pair(QStringList{u"000 TL -75 -75"_s, u"1 TL 150 150"_s, u"2 TL -150 0"_s,
                                                 u"3 TL 100 100"_s, u"3 USD -30 0"_s, u"5 EURO 10 10"_s},
                                     2));
}

INSTANTIATE_TEST_SUITE_P(Engines, CurrentAccounts, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, CurrentAccountsIntoATargetWithData, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test

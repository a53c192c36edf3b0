// The current-account balance statements: the debit-side and credit-side views and the
// loader that nets them per account and currency, run as the panel assembles them.
#include "QueryFixture.h"

#include "transfers/balances/CurrentAccountQueries.h"

using namespace belmo;
using namespace belmo::test;
using db::Value;
using namespace belmo::transfers;

namespace {

const QString kPrefix = u"CMZN"_s;

class CurrentAccountQueries : public QueryTest {
protected:
    void account(const QString& code, int mainAccount, const QString& title, int deleted = 0)
    {
        insert(u"Hesaplar"_s, {{"MID1", code}, {"Ana_Hs", mainAccount}, {"Grupkod", "01"}, {"TAMUNVAN", title}, {"sil", deleted}});
    }

    // One header with one line: the account is on the debit (B) or credit (A) side, the
    // counter side is a fixed other account.
    struct Move {
        QString code;
        bool debit = true;
        int mainAccount = 120;
        QString currency = u"TL"_s;
        double ytl = 0, dvz1 = 0, dvz2 = 0;
        int documentType = 1;
        int deleted = 0;
    };
    void post(const Move& m)
    {
        const Value counterMain = m.mainAccount == 120 ? 600 : 153;
        const qint64 no = m.debit
            ? header({{"B_Hs", m.mainAccount}, {"B_Gr", "01"}, {"B_MID", m.code}, {"A_Hs", counterMain}, {"A_Gr", "01"},
                      {"A_MID", "001"}, {"Evrak_Kodu", m.documentType}, {"Sil", m.deleted}})
            : header({{"A_Hs", m.mainAccount}, {"A_Gr", "01"}, {"A_MID", m.code}, {"B_Hs", counterMain}, {"B_Gr", "01"},
                      {"B_MID", "001"}, {"Evrak_Kodu", m.documentType}, {"Sil", m.deleted}});
        insert(u"Cari_H"_s, {{"Kayit_No", no},
                             {"islem_Dvz", m.currency.isNull() ? Value::null() : Value(m.currency)},
                             {"Tutar_Ytl", m.ytl},
                             {"Tutar_Dvz1", m.dvz1},
                             {"Tutar_Dvz2", m.dvz2}});
    }

    void buildViews()
    {
        rebuildView(kPrefix, 1, currentAccountDebitView(f));
        rebuildView(kPrefix, 2, currentAccountCreditView(f));
    }
    QList<QStringList> load(bool hideZero = false) { return rows(currentAccountLoader(f, kPrefix + kUserCode, hideZero), 8); }
};

QStringList row(const QString& main, const QString& code, const QString& title, const QString& tl, const QString& usd,
                const QString& euro)
{
    return {QString(), main, u"01"_s, code, title, tl, usd, euro};
}

}  // namespace

TEST_F(CurrentAccountQueries, BalancesPerCurrencyAreDebitMinusCredit)
{
    account(u"10"_s, 120, u"ON TİCARET AŞ"_s);
    post({.code = u"10"_s, .ytl = 1500});                                       // TL debit
    post({.code = u"10"_s, .debit = false, .ytl = 265.5});                      // TL credit
    post({.code = u"10"_s, .currency = u"USD"_s, .ytl = 12000, .dvz1 = 400});  // TL equivalent ignored
    post({.code = u"10"_s, .debit = false, .currency = u"EURO"_s, .ytl = 5000, .dvz2 = 150});
    post({.code = u"10"_s, .currency = QString(), .ytl = 999, .dvz1 = 99, .dvz2 = 9});    // no currency: 0
    post({.code = u"10"_s, .currency = u"GBP"_s, .ytl = 777, .dvz1 = 77, .dvz2 = 7});     // other currency: 0
    buildViews();

    // The debit view keeps one row per account and currency; each row counts its own
    // currency's amount only.
    EXPECT_EQ(rows(u"SELECT islem_Dvz, ToplaTutar_Ytl, ToplaTutar_Dvz1, ToplaTutar_Dvz2 FROM CMZN051 ORDER BY islem_Dvz"_s),
              (QList<QStringList>{{u"<null>"_s, u"0"_s, u"0"_s, u"0"_s},
                                  {u"GBP"_s, u"0"_s, u"0"_s, u"0"_s},
                                  {u"TL"_s, u"1500"_s, u"0"_s, u"0"_s},
                                  {u"USD"_s, u"0"_s, u"400"_s, u"0"_s}}));
    // TL 1500 - 265,50 = 1.234,50; USD 400 debit; EURO 150 credit.
    EXPECT_EQ(load(), QList<QStringList>{row(u"120"_s, u"10"_s, u"ON TİCARET AŞ"_s, u"1.234,50"_s, u"400,00"_s, u"-150,00"_s)});
}

TEST_F(CurrentAccountQueries, SupplierAccountsUnder320CountLikeCustomers)
{
    account(u"7"_s, 320, u"YEDİ TEDARİK"_s);
    post({.code = u"7"_s, .debit = false, .mainAccount = 320, .ytl = 10250.75});  // purchase invoice
    post({.code = u"7"_s, .mainAccount = 320, .ytl = 250.75});                    // payment
    buildViews();
    EXPECT_EQ(load(), QList<QStringList>{row(u"320"_s, u"7"_s, u"YEDİ TEDARİK"_s, u"-10.000,00"_s, u"0,00"_s, u"0,00"_s)});
}

TEST_F(CurrentAccountQueries, DeletedHeadersDeletedCardsAndDocumentTypes5And6AreLeftOut)
{
    account(u"20"_s, 120, u"YİRMİ LTD"_s);
    post({.code = u"20"_s, .ytl = 100});
    post({.code = u"20"_s, .ytl = 50, .deleted = 1});
    post({.code = u"20"_s, .ytl = 70, .documentType = 5});
    post({.code = u"20"_s, .debit = false, .ytl = 30, .documentType = 6});
    account(u"21"_s, 120, u"SİLİNMİŞ KART"_s, 1);
    post({.code = u"21"_s, .ytl = 80});
    // A header whose main account is neither 120 nor 320 does not count for the card.
    post({.code = u"20"_s, .mainAccount = 335, .ytl = 40});
    buildViews();
    EXPECT_EQ(load(), QList<QStringList>{row(u"120"_s, u"20"_s, u"YİRMİ LTD"_s, u"100,00"_s, u"0,00"_s, u"0,00"_s)});
}

TEST_F(CurrentAccountQueries, Account000CountsOnlyOnTheCreditSide)
{
    account(u"000"_s, 120, u"GENEL"_s);
    post({.code = u"000"_s, .ytl = 500});
    post({.code = u"000"_s, .debit = false, .ytl = 200});
    buildViews();
    EXPECT_EQ(load(), QList<QStringList>{row(u"120"_s, u"000"_s, u"GENEL"_s, u"-200,00"_s, u"0,00"_s, u"0,00"_s)});
}

TEST_F(CurrentAccountQueries, AccountsWithoutMovementsOrTitleAreNotListed)
{
    account(u"30"_s, 120, u"HAREKETSİZ"_s);
    account(u"31"_s, 120, QString());  // a card without a title
    post({.code = u"31"_s, .ytl = 60});
    insert(u"Hesaplar"_s, {{"MID1", "32"}, {"Ana_Hs", 120}, {"Grupkod", "01"}, {"TAMUNVAN", Value::null()}});
    post({.code = u"32"_s, .ytl = 60});
    buildViews();
    EXPECT_TRUE(load().isEmpty());
}

// Numeric codes by their value (as text it would be 10, 100, 2, 9), then the codes that are
// not numbers by their text: one such code no longer stops the whole loader.
TEST_F(CurrentAccountQueries, AccountsAreOrderedByTheNumericValueOfTheirCodeThenTheOthersByText)
{
    for (const char* code : {"X-1", "10", "9", "A1", "100", "2"}) {
        account(QString::fromLatin1(code), 120, u"HESAP "_s + QString::fromLatin1(code));
        post({.code = QString::fromLatin1(code), .ytl = 1});
    }
    buildViews();
    QStringList order;
    for (const QStringList& r : load()) order << r[3];
    EXPECT_EQ(order, QStringList({u"2"_s, u"9"_s, u"10"_s, u"100"_s, u"A1"_s, u"X-1"_s}));
}

TEST_F(CurrentAccountQueries, HidingZeroBalancesKeepsAccountsWithAnyNonZeroCurrency)
{
    account(u"40"_s, 120, u"KAPANMIŞ"_s);
    post({.code = u"40"_s, .ytl = 100});
    post({.code = u"40"_s, .debit = false, .ytl = 100});
    account(u"41"_s, 120, u"DÖVİZLİ"_s);
    post({.code = u"41"_s, .ytl = 100});
    post({.code = u"41"_s, .debit = false, .ytl = 100});
    post({.code = u"41"_s, .currency = u"USD"_s, .dvz1 = 0.01});
    buildViews();

    const auto closed = row(u"120"_s, u"40"_s, u"KAPANMIŞ"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s);
    const auto foreign = row(u"120"_s, u"41"_s, u"DÖVİZLİ"_s, u"0,00"_s, u"0,01"_s, u"0,00"_s);
    EXPECT_EQ(load(false), (QList<QStringList>{closed, foreign}));
    EXPECT_EQ(load(true), QList<QStringList>{foreign});
}

// The debit view groups by the header's main account without showing it, so one card
// debited with the same amount under 120 and under 320 gives two equal rows. Both count:
// a set union of the two views would merge them and lose one from the balance.
TEST_F(CurrentAccountQueries, EqualPartialSumsOfOneAccountEachCount)
{
    account(u"50"_s, 120, u"ÇİFT SATIR"_s);
    post({.code = u"50"_s, .mainAccount = 120, .ytl = 100});
    post({.code = u"50"_s, .mainAccount = 320, .ytl = 100});
    account(u"51"_s, 120, u"FARKLI TUTAR"_s);
    post({.code = u"51"_s, .mainAccount = 120, .ytl = 100});
    post({.code = u"51"_s, .mainAccount = 320, .ytl = 60});
    // The same on the credit side: two equal credit rows of 25.
    account(u"52"_s, 120, u"ÇİFT ALACAK"_s);
    post({.code = u"52"_s, .debit = false, .mainAccount = 120, .ytl = 25});
    post({.code = u"52"_s, .debit = false, .mainAccount = 320, .ytl = 25});
    // A debit and a credit of the same amount in one currency net to zero.
    account(u"53"_s, 120, u"DENK"_s);
    post({.code = u"53"_s, .mainAccount = 120, .ytl = 40});
    post({.code = u"53"_s, .debit = false, .mainAccount = 120, .ytl = 40});
    buildViews();

    EXPECT_EQ(co.scalar(u"SELECT count(*) FROM CMZN051 WHERE MID1='50'"_s).intValue(), 2);
    EXPECT_EQ(load(), (QList<QStringList>{
                          row(u"120"_s, u"50"_s, u"ÇİFT SATIR"_s, u"200,00"_s, u"0,00"_s, u"0,00"_s),
                          row(u"120"_s, u"51"_s, u"FARKLI TUTAR"_s, u"160,00"_s, u"0,00"_s, u"0,00"_s),
                          row(u"120"_s, u"52"_s, u"ÇİFT ALACAK"_s, u"-50,00"_s, u"0,00"_s, u"0,00"_s),
                          row(u"120"_s, u"53"_s, u"DENK"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s),
                      }));
}

TEST_F(CurrentAccountQueries, AmountsFollowTheAmountFormatOfEachCurrency)
{
    f = accessFragments({.tutar = 0, .dvz1Tutar = 4, .dvz2Tutar = 0});
    account(u"60"_s, 120, u"BİÇİM"_s);
    post({.code = u"60"_s, .ytl = 1234567.891});
    post({.code = u"60"_s, .currency = u"USD"_s, .dvz1 = 2.5});
    buildViews();
    // "##,###" prints no decimals and an empty text for zero.
    EXPECT_EQ(load(), QList<QStringList>{row(u"120"_s, u"60"_s, u"BİÇİM"_s, u"1.234.568"_s, u"2,5000"_s, QString())});
}

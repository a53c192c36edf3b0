// The cheque statements: five views, each with a first definition and a fallback for
// sources whose cheque table has no Gizle column, and the portfolio and clearing loaders.
#include "QueryFixture.h"
#include "support/OpenItemDocuments.h"

#include "transfers/openitems/ChequeQueries.h"

using namespace belmo;
using namespace belmo::test;
using namespace belmo::transfers;

namespace {

const QString kPrefix = u"CK"_s;

class ChequeQueries : public QueryTest {
protected:
    void SetUp() override
    {
        insert(u"Hesaplar"_s, {{"MID1", "C1"}, {"Ana_Hs", 120}, {"Grupkod", "01"}, {"TAMUNVAN", "ALICI AŞ"}});
        insert(u"Hesaplar"_s, {{"MID1", "S1"}, {"Ana_Hs", 320}, {"Grupkod", "01"}, {"TAMUNVAN", "SATICI LTD"}});
        insert(u"Hesaplar"_s, {{"MID1", "B1"}, {"Ana_Hs", 101}, {"Grupkod", "02"}, {"TAMUNVAN", "YAPI BANKASI TAKAS"}});
    }

    // Cheque sources written before the cheque table had a Gizle column.
    void useTableWithoutGizle()
    {
        recreateWithoutColumn(co.connection(), u"Cek_"_s, u"Gizle"_s);
    }

    // One record of a cheque's history, due on the cheque's own date.
    struct Record {
        QString cheque;
        QString document;
        QDate date;
        double amount;  // positive in, negative out
        int bMain;
        QString bGroup;
        QString bCode;
        int aMain;
        QString aGroup;
        QString aCode;
        QString description;
        int hidden = 0;
        int deleted = 0;
    };
    qint64 record(const Record& r)
    {
        return writeChequeRecord(co, co.connection(),
                                 {.cheque = r.cheque, .document = r.document, .date = r.date, .amount = r.amount,
                                  .debit = {r.bMain, r.bGroup, r.bCode}, .credit = {r.aMain, r.aGroup, r.aCode},
                                  .description = r.description, .due = dueDate(r.cheque), .hidden = r.hidden,
                                  .deleted = r.deleted});
    }
    static QDate dueDate(const QString& cheque)
    {
        // Each cheque its own due date, so that the loaders' order is fixed.
        static const QHash<QString, QDate> due{{u"P-1"_s, QDate(2026, 3, 15)}, {u"P-2"_s, QDate(2026, 2, 1)},
                                               {u"T-1"_s, QDate(2026, 1, 20)}, {u"T-2"_s, QDate(2026, 1, 25)},
                                               {u"K-1"_s, QDate(2025, 12, 10)}, {u"K-2"_s, QDate(2025, 12, 20)},
                                               {u"H-1"_s, QDate(2026, 4, 1)},  {u"D-1"_s, QDate(2026, 5, 1)}};
        return due.value(cheque, QDate(2026, 6, 1));
    }

    // Received from customer C1 into the portfolio (101, group 01).
    qint64 received(const QString& cheque, const QString& document, QDate date, double amount, int hidden = 0, int deleted = 0)
    {
        return record({cheque, document, date, amount, 101, u"01"_s, u"001"_s, 120, u"01"_s, u"C1"_s, u"ÇEK GİRİŞ"_s, hidden, deleted});
    }

    // The panel's opening: every slot dropped and created with its first statement, then
    // created again with its second statement. Returns the error numbers of both passes.
    std::pair<QList<qint32>, QList<qint32>> buildViews()
    {
        QList<qint32> first, second;
        for (int slot = 1; slot <= 5; ++slot) {
            dropView(co.connection(), kPrefix, slot);
            first << createView(co.connection(), kPrefix, slot, chequeView(slot));
        }
        for (int slot = 1; slot <= 5; ++slot) second << createView(co.connection(), kPrefix, slot, chequeFallbackView(slot));
        return {first, second};
    }

    // CEKFILTRELE with "Portföydeki Çekler" and with "Takastaki Çekler".
    QString portfolioLoader() const { return chequePortfolioLoader(f, kPrefix + kUserCode); }
    QString clearingLoader() const { return chequeClearingLoader(f, kPrefix + kUserCode); }
};

const QString N = u"<null>"_s;

}  // namespace

TEST_F(ChequeQueries, PortfolioListsChequesStillHeldAndNeverCleared)
{
    const qint64 p1 = received(u"P-1"_s, u"B-001"_s, QDate(2025, 11, 2), 1234.5);
    // Endorsed to a supplier: in and out, total 0.
    received(u"P-2"_s, u"B-002"_s, QDate(2025, 10, 1), 500);
    record({u"P-2"_s, u"C-001"_s, QDate(2025, 10, 5), -500, 320, u"01"_s, u"S1"_s, 101, u"01"_s, u"001"_s, u"CİRO"_s});
    // Collected in cash.
    received(u"K-1"_s, u"B-004"_s, QDate(2025, 9, 1), 300);
    record({u"K-1"_s, u"K-001"_s, QDate(2025, 12, 10), -300, 100, u"01"_s, u"001"_s, 101, u"01"_s, u"001"_s, u"TAHSİL"_s});
    // Sent to clearing.
    received(u"T-1"_s, u"B-003"_s, QDate(2025, 9, 10), 2500);
    record({u"T-1"_s, u"T-001"_s, QDate(2025, 12, 1), -2500, 101, u"02"_s, u"B1"_s, 101, u"01"_s, u"001"_s, u"TAKASA VERİLDİ"_s});
    received(u"H-1"_s, u"B-005"_s, QDate(2025, 11, 5), 900, /*hidden*/ 1);
    received(u"D-1"_s, u"B-006"_s, QDate(2025, 11, 6), 400, 0, /*deleted*/ 1);

    const auto [first, second] = buildViews();
    EXPECT_EQ(first, QList<qint32>(5, 0));
    EXPECT_EQ(second, QList<qint32>(5, db::err::Syntax));  // the views exist: the first definitions stay

    // Amount, due date, number, bank, branch, where from, entry date, exit document,
    // recipient, exit date, entry record, raw due date, description.
    EXPECT_EQ(rows(portfolioLoader(), 16),
              (QList<QStringList>{{QString(), u"B-001"_s, u"1.234,50"_s, u"TL"_s, u"15.03.2026"_s, u"P-1"_s, u"ZİRAAT"_s, u"KIZILAY"_s,
                                   u"ALICI AŞ"_s, u"02.11.2025"_s, N, N, N, QString::number(p1), u"15.03.2026"_s, u"ÇEK GİRİŞ"_s}}));
}

TEST_F(ChequeQueries, PortfolioIsOrderedByDueDate)
{
    received(u"P-1"_s, u"B-001"_s, QDate(2025, 11, 2), 10);  // due 15.03.2026
    received(u"T-1"_s, u"B-002"_s, QDate(2025, 11, 3), 20);  // due 20.01.2026
    received(u"P-2"_s, u"B-003"_s, QDate(2025, 11, 4), 30);  // due 01.02.2026
    buildViews();
    QStringList order;
    for (const QStringList& r : rows(portfolioLoader())) order << r[5];
    EXPECT_EQ(order, QStringList({u"T-1"_s, u"P-2"_s, u"P-1"_s}));
}

TEST_F(ChequeQueries, ClearingListsChequesThatLeftThroughAClearingRecord)
{
    const qint64 t1 = received(u"T-1"_s, u"B-003"_s, QDate(2025, 9, 10), 2500);
    record({u"T-1"_s, u"T-001"_s, QDate(2025, 12, 1), -2500, 101, u"02"_s, u"B1"_s, 101, u"01"_s, u"001"_s, u"TAKASA VERİLDİ"_s});
    // Put straight into the clearing group on receipt, then collected out of it: the exit
    // is into main account 100, so the recipient reads TAHSİLAT.
    const qint64 k2 = record({u"K-2"_s, u"B-007"_s, QDate(2025, 10, 1), 800, 101, u"02"_s, u"B1"_s, 120, u"01"_s, u"C1"_s, u"ÇEK GİRİŞ"_s});
    record({u"K-2"_s, u"K-002"_s, QDate(2025, 12, 20), -800, 100, u"01"_s, u"001"_s, 101, u"02"_s, u"B1"_s, u"TAHSİL EDİLDİ"_s});
    // Still in the portfolio, and collected without clearing: in neither list.
    received(u"P-1"_s, u"B-001"_s, QDate(2025, 11, 2), 1234.5);
    received(u"K-1"_s, u"B-004"_s, QDate(2025, 9, 1), 300);
    record({u"K-1"_s, u"K-001"_s, QDate(2025, 12, 10), -300, 100, u"01"_s, u"001"_s, 101, u"01"_s, u"001"_s, u"TAHSİL"_s});
    // Hidden on its way out: the exit does not count, so the cheque is neither at 0 nor cleared.
    received(u"H-1"_s, u"B-005"_s, QDate(2025, 9, 2), 900);
    record({u"H-1"_s, u"T-002"_s, QDate(2025, 12, 2), -900, 101, u"02"_s, u"B1"_s, 101, u"01"_s, u"001"_s, u"TAKAS"_s, /*hidden*/ 1});
    buildViews();

    // Exit document, amount, due date, number, bank, branch, recipient, exit date, entry
    // document, where from, entry date, entry record, raw due date, last description.
    EXPECT_EQ(rows(clearingLoader(), 16),
              (QList<QStringList>{
                  {QString(), u"K-002"_s, u"800,00"_s, u"TL"_s, u"20.12.2025"_s, u"K-2"_s, u"ZİRAAT"_s, u"KIZILAY"_s, u"TAHSİLAT"_s,
                   u"20.12.2025"_s, u"B-007"_s, u"ALICI AŞ"_s, u"01.10.2025"_s, QString::number(k2), u"20.12.2025"_s, u"TAHSİL EDİLDİ"_s},
                  {QString(), u"T-001"_s, u"2.500,00"_s, u"TL"_s, u"20.01.2026"_s, u"T-1"_s, u"ZİRAAT"_s, u"KIZILAY"_s,
                   u"YAPI BANKASI TAKAS"_s, u"01.12.2025"_s, u"B-003"_s, u"ALICI AŞ"_s, u"10.09.2025"_s, QString::number(t1),
                   u"20.01.2026"_s, u"TAKASA VERİLDİ"_s},
              }));
    // The hidden exit leaves H-1 in the portfolio with its full amount.
    QStringList portfolio;
    for (const QStringList& r : rows(portfolioLoader())) portfolio << r[5];
    EXPECT_EQ(portfolio, QStringList({u"P-1"_s, u"H-1"_s}));
}

// A cheque with two entries (it came back after an exit) is listed once per entry record.
TEST_F(ChequeQueries, AReturnedChequeShowsEachEntryAndItsExit)
{
    received(u"P-1"_s, u"B-001"_s, QDate(2025, 9, 1), 750);
    record({u"P-1"_s, u"K-001"_s, QDate(2025, 10, 1), -750, 100, u"01"_s, u"001"_s, 101, u"01"_s, u"001"_s, u"TAHSİL"_s});
    received(u"P-1"_s, u"B-009"_s, QDate(2025, 10, 15), 750);  // returned unpaid
    buildViews();
    const auto listed = rows(portfolioLoader());
    ASSERT_EQ(listed.size(), 2);
    for (const QStringList& r : listed) {
        EXPECT_EQ(r[2], u"750,00"_s);
        EXPECT_EQ(r[11], u"TAHSİLAT"_s);
        EXPECT_EQ(r[12], u"01.10.2025"_s);
    }
    EXPECT_EQ(QStringList({listed[0][1], listed[1][1]}), QStringList({u"B-001"_s, u"B-009"_s}));
}

// Without a Gizle column every first definition fails and its fallback takes its place.
// The fallback of view 1 groups by description, so a cheque whose entry and exit carry
// different descriptions has no row with total 0: an endorsed cheque shows in the
// portfolio with its entry amount, and a cleared one drops out of the clearing list.
TEST_F(ChequeQueries, FallbackDefinitionsForASourceWithoutGizle)
{
    useTableWithoutGizle();
    const qint64 p1 = received(u"P-1"_s, u"B-001"_s, QDate(2025, 11, 2), 1234.5);
    received(u"P-2"_s, u"B-002"_s, QDate(2025, 10, 1), 500);
    record({u"P-2"_s, u"C-001"_s, QDate(2025, 10, 5), -500, 320, u"01"_s, u"S1"_s, 101, u"01"_s, u"001"_s, u"CİRO"_s});
    received(u"T-1"_s, u"B-003"_s, QDate(2025, 9, 10), 2500);
    record({u"T-1"_s, u"T-001"_s, QDate(2025, 12, 1), -2500, 101, u"02"_s, u"B1"_s, 101, u"01"_s, u"001"_s, u"TAKASA VERİLDİ"_s});
    // Cleared with the same description on both records: its total is 0 as it should be.
    const qint64 t2 = received(u"T-2"_s, u"B-008"_s, QDate(2025, 9, 12), 600);
    record({u"T-2"_s, u"T-002"_s, QDate(2025, 12, 3), -600, 101, u"02"_s, u"B1"_s, 101, u"01"_s, u"001"_s, u"ÇEK GİRİŞ"_s});

    const auto [first, second] = buildViews();
    EXPECT_EQ(first, QList<qint32>(5, db::err::MissingParameter));
    EXPECT_EQ(second, QList<qint32>(5, 0));

    const auto portfolio = rows(portfolioLoader(), 16);
    ASSERT_EQ(portfolio.size(), 2);
    EXPECT_EQ(portfolio[0], (QStringList{QString(), u"B-002"_s, u"500,00"_s, u"TL"_s, u"01.02.2026"_s, u"P-2"_s, u"ZİRAAT"_s,
                                         u"KIZILAY"_s, u"ALICI AŞ"_s, u"01.10.2025"_s, u"C-001"_s, u"SATICI LTD"_s, u"05.10.2025"_s,
                                         portfolio[0][13], u"01.02.2026"_s, u"ÇEK GİRİŞ"_s}));
    EXPECT_EQ(portfolio[1][5], u"P-1"_s);
    EXPECT_EQ(portfolio[1][13], QString::number(p1));

    const auto clearing = rows(clearingLoader());
    ASSERT_EQ(clearing.size(), 1);
    EXPECT_EQ(clearing[0][5], u"T-2"_s);
    EXPECT_EQ(clearing[0][13], QString::number(t2));
}

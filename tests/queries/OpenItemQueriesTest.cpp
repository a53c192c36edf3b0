// The loaders of the open-item steps (orders and instalments) and two plain definition
// loaders that use the dialect too: the carnets of the transport module, with their
// fallback for sources without a Teslim column, and the salespeople.
#include "QueryFixture.h"
#include "support/OpenItemDocuments.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "transfers/definitions/PlasiyerTanimlari.h"
#include "transfers/openitems/InstalmentQueries.h"
#include "transfers/openitems/OrderQueries.h"
#include "transfers/transport/CarnetQueries.h"

#include <optional>

using namespace belmo;
using namespace belmo::test;
using namespace belmo::transfers;

namespace {

const QString N = u"<null>"_s;

}  // namespace

// ---- open orders ------------------------------------------------------------------------------

class OrderQueries : public QueryTest {
protected:
    void SetUp() override
    {
        insert(u"Evrak_Turu"_s, {{"Evrak_Kodu", 7}, {"Aciklama", "ALINAN SİPARİŞ"}});
        insert(u"Evrak_Turu"_s, {{"Evrak_Kodu", 8}, {"Aciklama", "VERİLEN SİPARİŞ"}});
        insert(u"Evrak_Turu"_s, {{"Evrak_Kodu", 9}, {"Aciklama", "İRSALİYE"}});
        insert(u"Hesaplar"_s, {{"MID1", "C1"}, {"Grupkod", "01"}, {"Ana_Hs", 120}, {"TAMUNVAN", "MÜŞTERİ AŞ"}});
        insert(u"Hesaplar"_s, {{"MID1", "S1"}, {"Grupkod", "02"}, {"Ana_Hs", 320}, {"TAMUNVAN", "TEDARİKÇİ LTD"}});
        insert(u"Hesaplar"_s, {{"MID1", "C9"}, {"Grupkod", "01"}, {"Ana_Hs", 120}, {"TAMUNVAN", "SİLİNMİŞ CARİ"}, {"sil", 1}});
        insert(u"Stok_Tanim"_s, {{"SID2", "K1"}, {"Stok_Kodu", "A-100"}, {"Stok_Adi", "UN"}, {"Birim1", "KG"}, {"KDV", 8}});
        insert(u"Stok_Tanim"_s, {{"SID2", "K2"}, {"Stok_Kodu", "B-200"}, {"Stok_Adi", "ŞEKER"}, {"Birim1", "KG"}, {"KDV", 18}});
        insert(u"Stok_Tanim"_s, {{"SID2", "K9"}, {"Stok_Kodu", "Z-900"}, {"Stok_Adi", "ESKİ"}, {"Birim1", "AD"}, {"KDV", 18}, {"sil", 1}});
    }

    qint64 order(const OrderDocument& o, const OrderLine& l) { return writeOrderLine(co, co.connection(), o, l); }
};

TEST_F(OrderQueries, OpenLinesOfBothOrderTypesInDateOrder)
{
    const qint64 o1 = order({8, QDate(2025, 5, 10), u"S-001"_s, u"S1"_s, u"02"_s, u"K1"_s}, {.in = 40, .price = 12.5, .discount = 3.75});
    const qint64 o3 = order({7, QDate(2025, 5, 10), u"S-003"_s, u"C1"_s, u"01"_s, u"K1"_s}, {.out = 5, .price = 20});
    // Entered last but dated first; its ordered-in quantity is not the one shown.
    const qint64 o2 = order({7, QDate(2025, 3, 1), u"S-002"_s, u"C1"_s, u"01"_s, u"K2"_s}, {.in = 99, .out = 2.5, .price = 1234.5,
                             .discount = 10.125});

    // The type 7 discount is closed with the price format: four decimals, not two.
    EXPECT_EQ(rows(orderLoader(f), 15),
              (QList<QStringList>{
                  {QString(), QString::number(o2), u"01.03.2025"_s, u"01.03.2025"_s, u"S-002"_s, u"ALINAN SİPARİŞ"_s, u"MÜŞTERİ AŞ"_s,
                   u"B-200"_s, u"ŞEKER"_s, u"-"_s, u"2,500"_s, u"KG"_s, u"1.234,5000"_s, u"18"_s, u"10,1250"_s},
                  {QString(), QString::number(o1), u"10.05.2025"_s, u"10.05.2025"_s, u"S-001"_s, u"VERİLEN SİPARİŞ"_s, u"TEDARİKÇİ LTD"_s,
                   u"A-100"_s, u"UN"_s, u"+"_s, u"40,000"_s, u"KG"_s, u"12,5000"_s, u"8"_s, u"3,75"_s},
                  {QString(), QString::number(o3), u"10.05.2025"_s, u"10.05.2025"_s, u"S-003"_s, u"ALINAN SİPARİŞ"_s, u"MÜŞTERİ AŞ"_s,
                   u"A-100"_s, u"UN"_s, u"-"_s, u"5,000"_s, u"KG"_s, u"20,0000"_s, u"8"_s, u"0,0000"_s},
              }));
}

TEST_F(OrderQueries, InvoicedDeletedAndOtherLinesAreLeftOut)
{
    order({8, QDate(2025, 1, 2), u"X-1"_s, u"S1"_s, u"02"_s, u"K1"_s}, {.in = 1, .invoiced = 1});
    order({7, QDate(2025, 1, 3), u"X-2"_s, u"C1"_s, u"01"_s, u"K1"_s}, {.out = 1, .deleted = 1});
    order({9, QDate(2025, 1, 4), u"X-3"_s, u"S1"_s, u"02"_s, u"K1"_s}, {.in = 1});
    order({8, QDate(2025, 1, 5), u"X-4"_s, u"S1"_s, u"02"_s, u"K9"_s}, {.in = 1});   // deleted card
    order({7, QDate(2025, 1, 6), u"X-5"_s, u"C9"_s, u"01"_s, u"K1"_s}, {.out = 1});  // deleted account
    order({8, QDate(2025, 1, 7), u"X-6"_s, u"S1"_s, u"01"_s, u"K1"_s}, {.in = 1});   // group is not the account's
    order({8, QDate(2025, 1, 8), u"X-7"_s, u"S1"_s, u"02"_s, u"K1"_s}, {.in = 1});
    const auto listed = rows(orderLoader(f));
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0][4], u"X-7"_s);
}

// ---- instalments ------------------------------------------------------------------------------

class InstalmentQueries : public QueryTest {
protected:
    void SetUp() override
    {
        insert(u"SIRKET"_s, {{"DONEM", "2025"}});
        insert(u"Hesaplar"_s, {{"MID1", "C1"}, {"Grupkod", "01"}, {"Ana_Hs", 120}, {"TAMUNVAN", "MÜŞTERİ AŞ"}});
        insert(u"Hesaplar"_s, {{"MID1", "C2"}, {"Grupkod", "01"}, {"Ana_Hs", 120}, {"TAMUNVAN", "SİLİNMİŞ"}, {"sil", 1}});
    }

    qint64 invoice(const QString& currency, double ytl, double dvz1, double dvz2, int deleted = 0)
    {
        const qint64 no = header({{"B_Hs", 120}, {"B_Gr", "01"}, {"B_MID", "C1"}, {"A_Hs", 600}, {"Evrak_Kodu", 1}, {"Sil", deleted}});
        insert(u"Cari_H"_s, {{"Kayit_No", no}, {"islem_Dvz", currency}, {"Tutar_Ytl", ytl}, {"Tutar_Dvz1", dvz1}, {"Tutar_Dvz2", dvz2}});
        return no;
    }

    qint64 instalment(const Instalment& t) { return writeInstalment(co, co.connection(), t); }

    QString cutoff() { return instalmentCutoff(vb::CStr(co.scalar(u"Select DONEM from SIRKET"_s)).trimmed().toInt()); }
};

TEST_F(InstalmentQueries, CutOffIsTheFirstDayAfterTheSourcePeriod)
{
    EXPECT_EQ(cutoff(), u"01.01.2026"_s);
    const qint64 h = invoice(u"TL"_s, 2000, 0, 0);
    instalment({u"F-1"_s, h, 1, QDate(2025, 12, 31), u"TL"_s, 1000});
    const qint64 due = instalment({u"F-1"_s, h, 2, QDate(2026, 1, 1), u"TL"_s, 1000});
    QStringList ids;
    for (const QStringList& r : rows(instalmentLoader(f, cutoff()))) ids << r[1];
    EXPECT_EQ(ids, QStringList{QString::number(due)});
}

TEST_F(InstalmentQueries, LiveInstalmentsOfTheThreeCurrenciesByDueDateAndId)
{
    const qint64 tlInvoice = invoice(u"TL"_s, 4000, 0, 0);
    const qint64 usdInvoice = invoice(u"USD"_s, 25650, 750, 0);
    const qint64 euroInvoice = invoice(u"EURO"_s, 10950, 0, 300, /*deleted*/ 1);
    const qint64 t2 = instalment({u"F-1"_s, tlInvoice, 2, QDate(2026, 2, 1), u"TL"_s, 1500.5});
    instalment({u"F-1"_s, tlInvoice, 0, QDate(2026, 1, 15), u"TL"_s, 4000});  // not an instalment
    const qint64 t4 = instalment({u"F-2"_s, usdInvoice, 1, QDate(2026, 1, 1), u"USD"_s, 250, 34.1234567});
    const qint64 t5 = instalment({u"F-1"_s, tlInvoice, 3, QDate(2026, 1, 1), u"TL"_s, 1000});
    const qint64 t6 = instalment({u"F-3"_s, euroInvoice, 1, QDate(2026, 3, 1), u"EURO"_s, 100, 36.5});
    instalment({u"F-4"_s, 0, 1, QDate(2026, 1, 10), u"GBP"_s, 80});
    instalment({u"F-1"_s, tlInvoice, 4, QDate(2026, 4, 1), u"TL"_s, 500, 0, u"C1"_s, /*deleted*/ 1});
    const qint64 t9 = instalment({u"F-5"_s, 0, 1, QDate(2026, 5, 1), u"TL"_s, 75, 0, u"C2"_s});

    // Tick, ID, invoice, number, due date, account, description, amount, paid (the
    // invoice's posted amount in the instalment's currency), remaining, currency, rate,
    // od, raw due date. Same due date: by ID, so the USD row before the later TL row.
    const QString id4 = QString::number(t4), id5 = QString::number(t5), id2 = QString::number(t2), id6 = QString::number(t6),
                  id9 = QString::number(t9);
    EXPECT_EQ(rows(instalmentLoader(f, cutoff())),
              (QList<QStringList>{
                  {QString(), id4, u"F-2"_s, u"1"_s, u"01.01.2026"_s, u"MÜŞTERİ AŞ"_s, u"1. TAKSİT"_s, u"250,00"_s, u"750,00"_s,
                   QString(), u"USD"_s, u"34,1235"_s, QString(), u"01.01.2026"_s},
                  {QString(), id5, u"F-1"_s, u"3"_s, u"01.01.2026"_s, u"MÜŞTERİ AŞ"_s, u"3. TAKSİT"_s, u"1.000,00"_s, u"4.000,00"_s,
                   QString(), u"TL"_s, u"0,0000"_s, QString(), u"01.01.2026"_s},
                  {QString(), id2, u"F-1"_s, u"2"_s, u"01.02.2026"_s, u"MÜŞTERİ AŞ"_s, u"2. TAKSİT"_s, u"1.500,50"_s, u"4.000,00"_s,
                   QString(), u"TL"_s, u"0,0000"_s, QString(), u"01.02.2026"_s},
                  // The invoice header is deleted: nothing paid shows.
                  {QString(), id6, u"F-3"_s, u"1"_s, u"01.03.2026"_s, u"MÜŞTERİ AŞ"_s, u"1. TAKSİT"_s, u"100,00"_s, N, QString(),
                   u"EURO"_s, u"36,5000"_s, QString(), u"01.03.2026"_s},
                  // A deleted account card: no title.
                  {QString(), id9, u"F-5"_s, u"1"_s, u"01.05.2026"_s, N, u"1. TAKSİT"_s, u"75,00"_s, N, QString(), u"TL"_s,
                   u"0,0000"_s, QString(), u"01.05.2026"_s},
              }));
}

// ---- carnets ----------------------------------------------------------------------------------

class CarnetQueries : public QueryTest {
protected:
    // The period comes from the target company.
    QString targetPeriod()
    {
        co.addCompany(u"HEDEF"_s);
        db::Connection target(co.pool());
        target.open(co.connectionString(u"HEDEF"_s));
        co.insert(target, u"SIRKET"_s, {{"DONEM", "2011"}});
        db::Recordset rs;
        rs.open(u"Select DONEM from SIRKET"_s, target, db::CursorType::Static, db::LockType::ReadOnly);
        return vb::CStr(rs.value(u"DONEM"_s));
    }
    qint64 carnet(const QString& no, QDate end, std::optional<int> handedIn)
    {
        if (handedIn)
            insert(u"Karne_Tanim"_s, {{"Karne_No", no}, {"Bas_Trh", end.addYears(-1)}, {"Bit_Trh", end}, {"Ver_Trh", QDate(2009, 12, 15)},
                                      {"Plaka", "34 ABC 12"}, {"Dorse_Plaka", "34 DRS 1"}, {"Sofor", "ALİ VELİ"},
                                      {"Gidis", "İSTANBUL-MÜNİH"}, {"Teslim", *handedIn}});
        else
            insert(u"Karne_Tanim"_s, {{"Karne_No", no}, {"Bas_Trh", end.addYears(-1)}, {"Bit_Trh", end}, {"Ver_Trh", QDate(2009, 12, 15)},
                                      {"Plaka", "34 ABC 12"}, {"Dorse_Plaka", "34 DRS 1"}, {"Sofor", "ALİ VELİ"},
                                      {"Gidis", "İSTANBUL-MÜNİH"}});
        return co.connection().lastInsertId();
    }
    static QStringList carnetRow(qint64 id, const QString& no, const QString& start, const QString& end, const QString& handedIn)
    {
        return {QString(), QString::number(id), no, start, end, u"15.12.2009"_s, N, u"34 ABC 12"_s, u"34 DRS 1"_s, u"ALİ VELİ"_s,
                u"İSTANBUL-MÜNİH"_s, handedIn};
    }
};

TEST_F(CarnetQueries, CarnetsEndingInTheTargetPeriodAndNotHandedIn)
{
    const QString period = targetPeriod();
    carnet(u"K-1"_s, QDate(2010, 12, 31), 0);
    const qint64 k2 = carnet(u"K-2"_s, QDate(2011, 1, 1), 0);
    carnet(u"K-3"_s, QDate(2012, 6, 30), 1);
    const qint64 k4 = carnet(u"K-4"_s, QDate(2011, 5, 5), 0);
    EXPECT_EQ(sorted(rows(carnetLoader(f, period, true), 12)),
              (QList<QStringList>{carnetRow(k2, u"K-2"_s, u"01.01.2010"_s, u"01.01.2011"_s, u"0"_s),
                                  carnetRow(k4, u"K-4"_s, u"05.05.2010"_s, u"05.05.2011"_s, u"0"_s)}));
}

TEST_F(CarnetQueries, WithoutATeslimColumnTheFallbackListsEveryCarnetFromTheCutOff)
{
    const QString period = targetPeriod();
    recreateWithoutColumn(co.connection(), u"Karne_Tanim"_s, u"Teslim"_s);
    carnet(u"K-1"_s, QDate(2010, 12, 31), std::nullopt);
    const qint64 k2 = carnet(u"K-2"_s, QDate(2011, 1, 1), std::nullopt);
    const qint64 k3 = carnet(u"K-3"_s, QDate(2012, 6, 30), std::nullopt);

    EXPECT_EQ(openError(co.connection(), carnetLoader(f, period, true)), db::err::MissingParameter);
    EXPECT_EQ(sorted(rows(carnetLoader(f, period, false), 12)),
              (QList<QStringList>{carnetRow(k2, u"K-2"_s, u"01.01.2010"_s, u"01.01.2011"_s, u"0"_s),
                                  carnetRow(k3, u"K-3"_s, u"30.06.2011"_s, u"30.06.2012"_s, u"0"_s)}));
}

// The period is the target's text as stored: an apostrophe in it stays inside the quotes.
TEST_F(CarnetQueries, APeriodWithAnApostropheDoesNotChangeTheStatement)
{
    carnet(u"K-1"_s, QDate(2011, 5, 5), 0);
    EXPECT_EQ(rows(carnetLoader(f, u"2011' OR '1'='1"_s, true)), QList<QStringList>{});
}

// ---- salespeople ------------------------------------------------------------------------------

using SalespeopleQueries = QueryTest;

TEST_F(SalespeopleQueries, LiveSalespeopleWithAnAccountAndAStockGroupUnder153)
{
    insert(u"Diger_Hs"_s, {{"Ana_Hs", 335}, {"Grup_Kodu", "01"}, {"Hesap_Kodu", "001"}, {"Hesap_Adi", "AHMET YILMAZ"}});
    insert(u"Diger_Hs"_s, {{"Ana_Hs", 335}, {"Grup_Kodu", "01"}, {"Hesap_Kodu", "002"}, {"Hesap_Adi", "VELİ KAYA"}});
    insert(u"Gruplar"_s, {{"Grup", "G1"}, {"Grupadi", "GIDA"}, {"Ana_Hs", 153}});
    insert(u"Gruplar"_s, {{"Grup", "G2"}, {"Grupadi", "HIRDAVAT"}, {"Ana_Hs", 150}});
    auto salesperson = [&](int mainAccount, const char* account, const char* group, double rate, int deleted) {
        insert(u"Plasiyer"_s, {{"A_Hs", mainAccount}, {"Grup_Kodu", "01"}, {"Hesap_Kodu", account}, {"Stok_Grubu", group},
                               {"USERCODE", "05"}, {"Oran", rate}, {"Sil", deleted}});
        return QString::number(co.connection().lastInsertId());
    };
    const QString p1 = salesperson(335, "001", "G1", 2.5, 0);
    const QString p2 = salesperson(335, "002", "G1", 0, 0);
    salesperson(335, "002", "G2", 3, 0);    // group under 150
    salesperson(335, "001", "G1", 4, 1);    // deleted
    salesperson(335, "009", "G1", 5, 0);    // no such account
    salesperson(336, "001", "G1", 6, 0);    // account under another main account
    salesperson(335, "001", "YOK", 7, 0);   // no such group
    EXPECT_EQ(sorted(rows(salespeopleLoader(), 6)),
              (QList<QStringList>{{QString(), p1, u"AHMET YILMAZ"_s, u"G1 GIDA"_s, u"2,5"_s, u"05"_s},
                                  {QString(), p2, u"VELİ KAYA"_s, u"G1 GIDA"_s, u"0,0"_s, u"05"_s}}));
}

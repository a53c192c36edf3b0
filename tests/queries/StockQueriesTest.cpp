// The stock statements: the two view pairs (per warehouse, and per lot) and the two forms
// of the loader, run as the stock panel assembles them.
#include "QueryFixture.h"
#include "support/StockDocuments.h"

#include "transfers/balances/StockQueries.h"

using namespace belmo;
using namespace belmo::test;
using db::Value;

namespace {

const QString kPrefix = u"SMZN"_s;

QString cardLoader(const Fragments& f, bool positiveOnly) { return transfers::stockLoader(f, kPrefix + kUserCode, positiveOnly); }
QString lotLoader(const Fragments& f, bool positiveOnly) { return transfers::stockLotLoader(f, kPrefix + kUserCode, positiveOnly); }

class StockQueries : public QueryTest {
protected:
    void SetUp() override
    {
        insert(u"Depo"_s, {{"Depo_Kodu", "01"}, {"Depo_Adi", "MERKEZ"}, {"Ana_Hs", 153}});
        insert(u"Depo"_s, {{"Depo_Kodu", "02"}, {"Depo_Adi", "ŞUBE"}, {"Ana_Hs", 153}});
        insert(u"Depo"_s, {{"Depo_Kodu", "03"}, {"Depo_Adi", "EMANET"}, {"Ana_Hs", 150}});
        insert(u"Gruplar"_s, {{"Grup", "G1"}, {"Grupadi", "GIDA"}, {"Ana_Hs", 153}});
        insert(u"Gruplar"_s, {{"Grup", "G2"}, {"Grupadi", "AMBALAJ"}, {"Ana_Hs", 150}});
    }

    void card(const QString& key, const QString& code, const QString& name, int deleted = 0, const QString& group = u"G1"_s)
    {
        insert(u"Stok_Tanim"_s, {{"SID2", key}, {"Stok_Kodu", code}, {"Stok_Adi", name}, {"Aciklama", name + u" AÇIKLAMA"_s},
                                 {"Stok_Grubu", group}, {"A_Hs", 153}, {"Birim1", "KG"}, {"sil", deleted}});
    }

    using Line = StockLine;
    void purchase(const Line& l) { writePurchase(co, co.connection(), l); }
    void sale(const Line& l) { writeSale(co, co.connection(), l); }

    void buildCardViews()
    {
        rebuildView(kPrefix, 1, transfers::stockQuantityView());
        rebuildView(kPrefix, 2, transfers::stockPriceView());
        rebuildView(kPrefix, 3, transfers::stockCardPriceView());
    }
    void buildLotViews()
    {
        rebuildView(kPrefix, 1, transfers::stockLotPriceView());
        rebuildView(kPrefix, 2, transfers::stockLotQuantityView());
    }
};

const QString N = u"<null>"_s;

// Without lots: tick, code, name, group, description, quantity, unit, key, key, average,
// highest and lowest price, value, warehouse and its code.
QStringList cardRow(const QString& key, const QString& code, const QString& name, const QString& quantity,
                    const QStringList& prices, const QString& value, const QString& warehouse)
{
    return QStringList{QString(), code, name, u"GIDA"_s, name + u" AÇIKLAMA"_s, quantity, u"KG"_s, key, key} + prices
        + QStringList{value, warehouse, warehouse == N ? N : warehouse.section(u' ', 0, 0)};
}

}  // namespace

TEST_F(StockQueries, StockOnHandIsValuedAtTheWeightedPurchasePrice)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 10, .price = 2});
    purchase({.key = u"S1"_s, .quantity = 10, .price = 3});
    sale({.key = u"S1"_s, .quantity = 10, .price = 5});
    purchase({.key = u"S1"_s, .quantity = 100, .price = 9.99, .deleted = 1});  // deleted header
    sale({.key = u"S1"_s, .quantity = 3, .price = 5, .deleted = 1});
    // An entry without price into a warehouse that is not under 153 counts nowhere.
    purchase({.key = u"S1"_s, .quantity = 7, .price = 0, .warehouse = u"03"_s});
    buildCardViews();

    EXPECT_EQ(rows(u"SELECT * FROM SMZN051"_s), (QList<QStringList>{{u"S1"_s, u"10"_s, u"KG"_s, u"01 MERKEZ"_s, u"01"_s}}));
    // On hand 10 + 10 - 10 = 10 in 01. Average (20 + 30) / (10 + 10) = 2,50; value 2,50 x 10 = 25.
    EXPECT_EQ(rows(cardLoader(f, false), 15),
              QList<QStringList>{cardRow(u"S1"_s, u"A-100"_s, u"UN"_s, u"10,000"_s, {u"2,5000"_s, u"3,0000"_s, u"2,0000"_s},
                                         u"25,00"_s, u"01 MERKEZ"_s)});
}

TEST_F(StockQueries, QuantitiesArePerWarehouseUnderMainAccount153)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 12, .price = 1.5, .warehouse = u"02"_s});
    sale({.key = u"S1"_s, .quantity = 2.5, .warehouse = u"02"_s});
    purchase({.key = u"S1"_s, .quantity = 7, .price = 0, .warehouse = u"03"_s});
    buildCardViews();
    // 12 - 2,5 = 9,5 in 02; warehouse 03 is under 150 and does not count.
    EXPECT_EQ(rows(cardLoader(f, false), 15),
              QList<QStringList>{cardRow(u"S1"_s, u"A-100"_s, u"UN"_s, u"9,500"_s, {u"1,5000"_s, u"1,5000"_s, u"1,5000"_s},
                                         u"14,25"_s, u"02 ŞUBE"_s)});
}

TEST_F(StockQueries, CardsWithoutMovementsShowZeroAndDeletedCardsAreLeftOut)
{
    card(u"S2"_s, u"B-200"_s, u"ŞEKER"_s);
    card(u"S3"_s, u"C-300"_s, u"SİLİNMİŞ"_s, 1);
    purchase({.key = u"S3"_s, .quantity = 5, .price = 1});
    buildCardViews();
    const auto withoutStock = cardRow(u"S2"_s, u"B-200"_s, u"ŞEKER"_s, u"0,000"_s, {N, N, N}, N, N);
    EXPECT_EQ(rows(cardLoader(f, false), 15), QList<QStringList>{withoutStock});
    EXPECT_TRUE(rows(cardLoader(f, true), 15).isEmpty());
}

TEST_F(StockQueries, HidingEmptyStockKeepsOnlyPositiveQuantities)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    card(u"S2"_s, u"B-200"_s, u"ŞEKER"_s);
    card(u"S4"_s, u"D-400"_s, u"TUZ"_s);
    purchase({.key = u"S1"_s, .quantity = 4, .price = 2});
    purchase({.key = u"S4"_s, .quantity = 4, .price = 2});
    sale({.key = u"S4"_s, .quantity = 6});  // oversold: -2
    buildCardViews();
    QStringList codes;
    for (const QStringList& r : sorted(rows(cardLoader(f, true), 15))) codes << r[1] + u'=' + r[5];
    EXPECT_EQ(codes, QStringList{u"A-100=4,000"_s});
    EXPECT_EQ(rows(cardLoader(f, false), 15).size(), 3);
}

// The price view has one row per warehouse. Each warehouse's stock is listed once, at that
// warehouse's average price; stock in a warehouse the card was never bought into (moved
// there) at the card's average over every warehouse. (Joined on the card alone, every stock
// row came once per price row, and the opening stock was carried twice.)
TEST_F(StockQueries, EachWarehousesStockIsListedOnceAtThatWarehousesPrice)
{
    card(u"S4"_s, u"D-400"_s, u"TUZ"_s);
    purchase({.key = u"S4"_s, .quantity = 10, .price = 2.5, .warehouse = u"01"_s});
    purchase({.key = u"S4"_s, .quantity = 4, .price = 3, .warehouse = u"02"_s});
    card(u"S5"_s, u"E-500"_s, u"BİBER"_s);
    purchase({.key = u"S5"_s, .quantity = 6, .price = 1, .warehouse = u"01"_s});
    sale({.key = u"S5"_s, .quantity = 2, .warehouse = u"01"_s});
    // Stock that came in without a price (a transfer, say) into 02: valued at S5's average
    // over every warehouse, 1.
    purchase({.key = u"S5"_s, .quantity = 3, .price = 0, .warehouse = u"02"_s});
    buildCardViews();
    EXPECT_EQ(co.scalar(u"SELECT count(*) FROM SMZN052"_s).intValue(), 3);
    auto r = [](const QString& key, const QString& code, const QString& name, const QString& quantity, const QString& price,
                const QString& value, const QString& warehouse) {
        return cardRow(key, code, name, quantity, {price, price, price}, value, warehouse);
    };
    EXPECT_EQ(sorted(rows(cardLoader(f, false), 15)),
              sorted({r(u"S4"_s, u"D-400"_s, u"TUZ"_s, u"10,000"_s, u"2,5000"_s, u"25,00"_s, u"01 MERKEZ"_s),
                      r(u"S4"_s, u"D-400"_s, u"TUZ"_s, u"4,000"_s, u"3,0000"_s, u"12,00"_s, u"02 ŞUBE"_s),
                      r(u"S5"_s, u"E-500"_s, u"BİBER"_s, u"4,000"_s, u"1,0000"_s, u"4,00"_s, u"01 MERKEZ"_s),
                      r(u"S5"_s, u"E-500"_s, u"BİBER"_s, u"3,000"_s, u"1,0000"_s, u"3,00"_s, u"02 ŞUBE"_s)}));
}

TEST_F(StockQueries, PricesComeFromDebitMainAccounts153And0Only)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 10, .price = 2});
    purchase({.key = u"S1"_s, .quantity = 10, .price = 4, .debitMain = 0});
    purchase({.key = u"S1"_s, .quantity = 10, .price = 50, .debitMain = 150});  // counts in stock, not in prices
    buildCardViews();
    // One price row for the card in 01, from the purchases under 153 and under 0: (20 + 40)
    // / 20 = 3. The stock on hand is listed, and carried, once.
    EXPECT_EQ(rows(u"SELECT Depo_Kodu, SID2, Ort, MaksAl, MinAl FROM SMZN052"_s),
              (QList<QStringList>{{u"01"_s, u"S1"_s, u"3"_s, u"4"_s, u"2"_s}}));
    const auto listed = rows(cardLoader(f, false), 15);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0][5], u"30,000"_s);
    EXPECT_EQ(listed[0][12], u"90,00"_s);  // 30 x 3
}

// With lots: tick, lot, code, name, group, description, quantity, unit, key, average
// price, value, warehouse, key, warehouse code.
TEST_F(StockQueries, LotsCarryTheirQuantityAndThePlainAverageOfTheirPurchasePrices)
{
    card(u"L1"_s, u"LOT-1"_s, u"PEYNİR"_s);
    purchase({.key = u"L1"_s, .quantity = 10, .price = 2, .lot = 7});
    purchase({.key = u"L1"_s, .quantity = 30, .price = 4, .lot = 7});
    sale({.key = u"L1"_s, .quantity = 5, .price = 6, .lot = 7});
    purchase({.key = u"L1"_s, .quantity = 50, .price = 10, .lot = 7, .deleted = 1});
    purchase({.key = u"L1"_s, .quantity = 4, .price = 5, .warehouse = u"02"_s, .lot = 8});
    sale({.key = u"L1"_s, .quantity = 4, .price = 6, .warehouse = u"02"_s, .lot = 8});
    buildLotViews();

    auto lotRow = [](const QString& lot, const QString& quantity, const QString& price, const QString& value,
                     const QString& warehouse) {
        return QStringList{QString(), lot, u"LOT-1"_s, u"PEYNİR"_s, u"GIDA"_s, u"PEYNİR AÇIKLAMA"_s, quantity, u"KG"_s, u"L1"_s,
                           price, value, warehouse, u"L1"_s, warehouse.left(2)};
    };
    // Lot 7: 10 + 30 - 5 = 35 on hand; average of the line prices (2 + 4) / 2 = 3, not the
    // weighted 140 / 40; value 3 x 35 = 105. Lot 8: 4 - 4 = 0, value 0.
    const auto lot7 = lotRow(u"7"_s, u"35,000"_s, u"3,00"_s, u"105,0000"_s, u"01 MERKEZ"_s);
    const auto lot8 = lotRow(u"8"_s, u"0,000"_s, u"5,00"_s, u"0,0000"_s, u"02 ŞUBE"_s);
    EXPECT_EQ(sorted(rows(lotLoader(f, false), 14)), (QList<QStringList>{lot7, lot8}));
    EXPECT_EQ(rows(lotLoader(f, true), 14), QList<QStringList>{lot7});
}

TEST_F(StockQueries, LotsOnlyOfCardsInGroupsUnder153)
{
    card(u"L2"_s, u"LOT-2"_s, u"KUTU"_s, 0, u"G2"_s);
    purchase({.key = u"L2"_s, .quantity = 3, .price = 1, .lot = 1});
    buildLotViews();
    EXPECT_TRUE(rows(lotLoader(f, false), 14).isEmpty());
}

// The lot quantity view does not look at the card's deletion mark, only the price view
// does: a deleted card's lot is listed, without price, value or warehouse.
TEST_F(StockQueries, ADeletedCardsLotIsListedWithoutPrice)
{
    card(u"L3"_s, u"LOT-3"_s, u"ESKİ"_s, 1);
    purchase({.key = u"L3"_s, .quantity = 2, .price = 1, .lot = 9});
    buildLotViews();
    EXPECT_EQ(rows(lotLoader(f, false), 14),
              (QList<QStringList>{{QString(), u"9"_s, u"LOT-3"_s, u"ESKİ"_s, u"GIDA"_s, u"ESKİ AÇIKLAMA"_s, u"2,000"_s, u"KG"_s, u"L3"_s,
                                   N, N, N, u"L3"_s, N}}));
}

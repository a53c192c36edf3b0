// The stock statements: the two view pairs (per warehouse, and per lot) and the two forms
// of the loader, run as the stock panel assembles them.
#include "QueryFixture.h"

using namespace belmo;
using namespace belmo::test;
using db::Value;

namespace {

const QString kPrefix = u"SMZN"_s;

// ---- without lots ----

QString quantityView()
{
    return u"SELECT Stok_H.Stok_Kodu, Sum([Giren1]-[Cikan1]) AS Deyim1, Stok_H.Birim1,Depo.Depo_Kodu & ' ' & Depo.Depo_Adi as DP "_s
           u"FROM ((Stok_H LEFT JOIN Kayit ON Stok_H.Kayit_No = Kayit.Kayit_No) left join Depo on Stok_H.Depo_Kodu=Depo.Depo_Kodu) "_s
           u"WHERE Depo.Ana_Hs=153 "_s
           u"GROUP BY Stok_H.Stok_Kodu, Stok_H.Birim1, Stok_H.Stok_Kodu, Kayit.Sil, Depo.Depo_Kodu & ' ' & Depo.Depo_Adi,Depo.Ana_Hs "_s
           u"Having (((Kayit.Sil) = 0)) "_s;
}

QString priceView()
{
    return u"SELECT Stok_H.Depo_Kodu, Stok_Tanim.SID2, (Sum(Cari_H.Tutar_Ytl)/Sum(Stok_H.Giren1)) AS Ort, Max(Cari_H.B_Fiyat) AS MaksAl, Min(Cari_H.B_Fiyat) AS MinAl "_s
           u"FROM ((Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) INNER JOIN Stok_Tanim ON Kayit.B_MID = Stok_Tanim.SID2) INNER JOIN Stok_H ON Kayit.Kayit_No = Stok_H.Kayit_No "_s
           u"Where (((Stok_H.Giren1) <> 0)) AND Cari_H.B_Fiyat<>0 "_s
           u"GROUP BY Stok_H.Depo_Kodu, Stok_Tanim.SID2, Kayit.B_Hs, Kayit.Sil, Stok_Tanim.Sil "_s
           u"HAVING (((Kayit.B_Hs) In (153,0)) AND ((Kayit.Sil)=0) AND ((Stok_Tanim.Sil)=0)) "_s;
}

// STKFILTRELE without lots; positiveOnly is the "Bakiyesizleri Gizle" box.
QString cardLoader(const Fragments& f, bool positiveOnly)
{
    const QString p = kPrefix + kUserCode;
    const QString quantity = f.conditional(p + u"1.Deyim1 Is Not Null "_s, p + u"1.Deyim1 "_s, p + u"1.Deyim1 Is Null "_s, u" 0 "_s);
    QString sql = u"SELECT '' AS Deyim2, Stok_Tanim.Stok_Kodu, Stok_Tanim.Stok_Adi, Gruplar.Grupadi, Stok_Tanim.Aciklama, "_s
        + f.MiktarBas + u"("_s + quantity + u")"_s + f.MiktarSon + u" AS Deyim3, Stok_Tanim.Birim1, Stok_Tanim.SID2, Stok_Tanim.SID2,"_s
        + f.FiyatBas + p + u"2.Ort"_s + f.FiyatSon + u","_s + f.FiyatBas + p + u"2.MaksAl"_s + f.FiyatSon + u","_s
        + f.FiyatBas + p + u"2.MinAl"_s + f.FiyatSon + u","_s
        + f.TutarBas + u"("_s + p + u"2.Ort)*("_s + quantity + u")"_s + f.TutarSon + u" AS Deyim4,"_s + p + u"1.DP "_s
        + u"FROM (("_s + p + u"1 RIGHT JOIN Stok_Tanim ON "_s + p
        + u"1.Stok_Kodu = Stok_Tanim.SID2) LEFT JOIN Gruplar ON (Stok_Tanim.Stok_Grubu = Gruplar.Grup) AND (Stok_Tanim.A_Hs = Gruplar.Ana_Hs)) LEFT JOIN "_s
        + p + u"2 ON Stok_Tanim.SID2 = "_s + p + u"2.SID2 "_s + u"where Stok_Tanim.Sil=0 "_s;
    if (positiveOnly) sql += u"AND ("_s + quantity + u" )>0"_s;
    return sql;
}

// ---- with lots ----

QString lotPriceView()
{
    return u"SELECT Stok_H.Lot_No, Stok_Tanim.SID2,AVG(Cari_H.B_Fiyat) AS OrtalamaB_Fiyat,Depo.Depo_Kodu & ' ' & Depo.Depo_Adi as DP "_s
           u"FROM ((((Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) INNER JOIN Stok_Tanim ON Kayit.B_MID = Stok_Tanim.SID2) INNER JOIN Stok_H ON Kayit.Kayit_No = Stok_H.Kayit_No) LEFT JOIN Depo on Depo.Depo_Kodu=Stok_H.Depo_Kodu) "_s
           u"WHERE (((Kayit.Evrak_Kodu) Not In (5,6))) and Depo.Ana_Hs=153 "_s
           u"GROUP BY Stok_H.Lot_No, Stok_Tanim.SID2, Kayit.B_Hs, Kayit.Sil, Stok_Tanim.Sil,Depo.Depo_Kodu & ' ' & Depo.Depo_Adi "_s
           u"Having Kayit.B_Hs in(153,0) And Kayit.Sil = 0 And Stok_Tanim.Sil = 0 "_s;
}

QString lotQuantityView()
{
    return u"SELECT Stok_H.Depo_Kodu,Stok_Tanim.SID2,Stok_Tanim.Barkod,Stok_H.Lot_No,Stok_Tanim.Stok_Kodu AS Stok_Tanim_Stok_Kodu, Stok_Tanim.Aciklama, Stok_Tanim.Stok_Adi, Gruplar.Grupadi, Sum([Giren1]-[Cikan1]) AS Deyim1, Stok_H.Birim1, Stok_H.Stok_Kodu AS Stok_H_Stok_Kodu "_s
           u"FROM (((Stok_H LEFT JOIN Stok_Tanim ON Stok_H.Stok_Kodu = Stok_Tanim.SID2) LEFT JOIN Kayit ON Stok_H.Kayit_No = Kayit.Kayit_No) LEFT JOIN Gruplar ON Gruplar.Grup = Stok_Tanim.Stok_Grubu) "_s
           u"Where Kayit.Sil = 0 And Gruplar.Ana_Hs = 153 "_s
           u"GROUP BY Stok_Tanim.Stok_Kodu, Stok_Tanim.Aciklama, Stok_Tanim.Stok_Adi, Gruplar.Grupadi, Stok_H.Birim1, Stok_H.Stok_Kodu,Stok_H.Lot_No,Stok_Tanim.Barkod,Stok_H.Depo_Kodu,Stok_Tanim.SID2"_s;
}

QString lotLoader(const Fragments& f, bool positiveOnly)
{
    const QString p = kPrefix + kUserCode;
    QString sql = u"SELECT '' AS Bos,"_s;
    for (const char* piece : {"2.Lot_No, ", "2.Stok_Tanim_Stok_Kodu, ", "2.Stok_Adi, ", "2.Grupadi, ", "2.Aciklama,"})
        sql += p + QString::fromUtf8(piece);
    sql += f.MiktarBas + u"Sum("_s + p + u"2.Deyim1)"_s + f.MiktarSon + u" AS ToplaDeyim1,"_s
        + p + u"2.Birim1, "_s + p + u"2.SID2,"_s
        + f.TutarBas + u"Sum("_s + p + u"1.OrtalamaB_Fiyat)"_s + f.TutarSon + u" AS ToplaOrtalamaB_Fiyat, "_s
        + f.FiyatBas + u"Sum(("_s + p + u"1.OrtalamaB_Fiyat)*("_s + p + u"2.Deyim1))"_s + f.FiyatSon + u","_s + p + u"1.DP, "_s + p
        + u"2.SID2 "_s + u"FROM "_s;
    for (const char* piece : {"2 LEFT JOIN ", "1 ON (", "2.Stok_H_Stok_Kodu = ", "1.SID2) AND (", "1.Lot_No = ", "2.Lot_No) "})
        sql += p + QString::fromUtf8(piece);
    sql += u"where "_s + p + u"2.Stok_Adi<>'' "_s + u"GROUP BY "_s;
    for (const char* piece : {"2.Lot_No, ", "2.Stok_Tanim_Stok_Kodu, ", "2.Stok_Adi, ", "2.Grupadi, ", "2.Aciklama, ", "2.Birim1, ",
                              "2.SID2,", "1.DP "})
        sql += p + QString::fromUtf8(piece);
    if (positiveOnly) sql += u"having Sum("_s + p + u"2.Deyim1)>0 "_s;
    return sql;
}

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

    // A purchase: the card on the debit side of the header, the value on the account line,
    // the quantity coming into the warehouse.
    struct Line {
        QString key;
        double quantity = 0;
        double price = 0;
        QString warehouse = u"01"_s;
        int lot = 0;
        int deleted = 0;
        int debitMain = 153;
    };
    void purchase(const Line& l)
    {
        const qint64 no = header({{"B_Hs", l.debitMain}, {"B_Gr", "G1"}, {"B_MID", l.key}, {"A_Hs", 320}, {"A_Gr", "01"},
                                  {"A_MID", "S1"}, {"Evrak_Kodu", 3}, {"Sil", l.deleted}});
        insert(u"Cari_H"_s, {{"Kayit_No", no}, {"islem_Dvz", "TL"}, {"B_Fiyat", l.price}, {"Tutar_Ytl", l.quantity * l.price}});
        insert(u"Stok_H"_s, {{"Kayit_No", no}, {"Stok_Kodu", l.key}, {"Lot_No", l.lot}, {"Giren1", l.quantity}, {"Birim1", "KG"},
                             {"Depo_Kodu", l.warehouse}});
    }
    // A sale: the customer on the debit side, the card on the credit side.
    void sale(const Line& l)
    {
        const qint64 no = header({{"B_Hs", 120}, {"B_Gr", "01"}, {"B_MID", "C1"}, {"A_Hs", 153}, {"A_Gr", "G1"},
                                  {"A_MID", l.key}, {"Evrak_Kodu", 4}, {"Sil", l.deleted}});
        insert(u"Cari_H"_s, {{"Kayit_No", no}, {"islem_Dvz", "TL"}, {"B_Fiyat", l.price}, {"Tutar_Ytl", l.quantity * l.price}});
        insert(u"Stok_H"_s, {{"Kayit_No", no}, {"Stok_Kodu", l.key}, {"Lot_No", l.lot}, {"Cikan1", l.quantity}, {"Birim1", "KG"},
                             {"Depo_Kodu", l.warehouse}});
    }

    void buildCardViews()
    {
        rebuildView(kPrefix, 1, quantityView());
        rebuildView(kPrefix, 2, priceView());
    }
    void buildLotViews()
    {
        rebuildView(kPrefix, 1, lotPriceView());
        rebuildView(kPrefix, 2, lotQuantityView());
    }
};

// Without lots: tick, code, name, group, description, quantity, unit, key, key, average,
// highest and lowest price, value, warehouse.
QStringList cardRow(const QString& key, const QString& code, const QString& name, const QString& quantity,
                    const QStringList& prices, const QString& value, const QString& warehouse)
{
    return QStringList{QString(), code, name, u"GIDA"_s, name + u" AÇIKLAMA"_s, quantity, u"KG"_s, key, key} + prices
        + QStringList{value, warehouse};
}

const QString N = u"<null>"_s;

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

    EXPECT_EQ(rows(u"SELECT * FROM SMZN051"_s), (QList<QStringList>{{u"S1"_s, u"10"_s, u"KG"_s, u"01 MERKEZ"_s}}));
    // On hand 10 + 10 - 10 = 10 in 01. Average (20 + 30) / (10 + 10) = 2,50; value 2,50 x 10 = 25.
    EXPECT_EQ(rows(cardLoader(f, false)),
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
    EXPECT_EQ(rows(cardLoader(f, false)),
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
    EXPECT_EQ(rows(cardLoader(f, false)), QList<QStringList>{withoutStock});
    EXPECT_TRUE(rows(cardLoader(f, true)).isEmpty());
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
    for (const QStringList& r : sorted(rows(cardLoader(f, true)))) codes << r[1] + u'=' + r[5];
    EXPECT_EQ(codes, QStringList{u"A-100=4,000"_s});
    EXPECT_EQ(rows(cardLoader(f, false)).size(), 3);
}

// The price view has one row per warehouse and the loader joins it on the card alone, so
// a card bought in two warehouses is listed once per price row for each of its stock rows.
TEST_F(StockQueries, ACardWithPricesInTwoWarehousesIsListedOncePerPriceRow)
{
    card(u"S4"_s, u"D-400"_s, u"TUZ"_s);
    purchase({.key = u"S4"_s, .quantity = 10, .price = 2.5, .warehouse = u"01"_s});
    purchase({.key = u"S4"_s, .quantity = 4, .price = 3, .warehouse = u"02"_s});
    buildCardViews();
    EXPECT_EQ(co.scalar(u"SELECT count(*) FROM SMZN052"_s).intValue(), 2);
    auto r = [](const QString& quantity, const QString& price, const QString& value, const QString& warehouse) {
        return cardRow(u"S4"_s, u"D-400"_s, u"TUZ"_s, quantity, {price, price, price}, value, warehouse);
    };
    // Stock rows 10 in 01 and 4 in 02, each with both prices: 10 x 2,5, 10 x 3, 4 x 2,5, 4 x 3.
    EXPECT_EQ(sorted(rows(cardLoader(f, false))),
              sorted({r(u"10,000"_s, u"2,5000"_s, u"25,00"_s, u"01 MERKEZ"_s), r(u"10,000"_s, u"3,0000"_s, u"30,00"_s, u"01 MERKEZ"_s),
                      r(u"4,000"_s, u"2,5000"_s, u"10,00"_s, u"02 ŞUBE"_s), r(u"4,000"_s, u"3,0000"_s, u"12,00"_s, u"02 ŞUBE"_s)}));
}

TEST_F(StockQueries, PricesComeFromDebitMainAccounts153And0Only)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 10, .price = 2});
    purchase({.key = u"S1"_s, .quantity = 10, .price = 4, .debitMain = 0});
    purchase({.key = u"S1"_s, .quantity = 10, .price = 50, .debitMain = 150});  // counts in stock, not in prices
    buildCardViews();
    // Groups by the header's main account too: one price row for 153 and one for 0.
    EXPECT_EQ(sorted(rows(u"SELECT Depo_Kodu, SID2, Ort, MaksAl, MinAl FROM SMZN052"_s)),
              (QList<QStringList>{{u"01"_s, u"S1"_s, u"2"_s, u"2"_s, u"2"_s}, {u"01"_s, u"S1"_s, u"4"_s, u"4"_s, u"4"_s}}));
    const auto listed = sorted(rows(cardLoader(f, false)));
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0][5], u"30,000"_s);
    EXPECT_EQ(listed[0][12], u"60,00"_s);   // 30 x 2
    EXPECT_EQ(listed[1][12], u"120,00"_s);  // 30 x 4
}

// With lots: tick, lot, code, name, group, description, quantity, unit, key, average
// price, value, warehouse, key.
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
                           price, value, warehouse, u"L1"_s};
    };
    // Lot 7: 10 + 30 - 5 = 35 on hand; average of the line prices (2 + 4) / 2 = 3, not the
    // weighted 140 / 40; value 3 x 35 = 105. Lot 8: 4 - 4 = 0, value 0.
    const auto lot7 = lotRow(u"7"_s, u"35,000"_s, u"3,00"_s, u"105,0000"_s, u"01 MERKEZ"_s);
    const auto lot8 = lotRow(u"8"_s, u"0,000"_s, u"5,00"_s, u"0,0000"_s, u"02 ŞUBE"_s);
    EXPECT_EQ(sorted(rows(lotLoader(f, false))), (QList<QStringList>{lot7, lot8}));
    EXPECT_EQ(rows(lotLoader(f, true)), QList<QStringList>{lot7});
}

TEST_F(StockQueries, LotsOnlyOfCardsInGroupsUnder153)
{
    card(u"L2"_s, u"LOT-2"_s, u"KUTU"_s, 0, u"G2"_s);
    purchase({.key = u"L2"_s, .quantity = 3, .price = 1, .lot = 1});
    buildLotViews();
    EXPECT_TRUE(rows(lotLoader(f, false)).isEmpty());
}

// The lot quantity view does not look at the card's deletion mark, only the price view
// does: a deleted card's lot is listed, without price, value or warehouse.
TEST_F(StockQueries, ADeletedCardsLotIsListedWithoutPrice)
{
    card(u"L3"_s, u"LOT-3"_s, u"ESKİ"_s, 1);
    purchase({.key = u"L3"_s, .quantity = 2, .price = 1, .lot = 9});
    buildLotViews();
    EXPECT_EQ(rows(lotLoader(f, false)),
              (QList<QStringList>{{QString(), u"9"_s, u"LOT-3"_s, u"ESKİ"_s, u"GIDA"_s, u"ESKİ AÇIKLAMA"_s, u"2,000"_s, u"KG"_s, u"L3"_s,
                                   N, N, N, u"L3"_s}}));
}

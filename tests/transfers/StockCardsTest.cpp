// "Stok Kart ve Bakiyeleri": stock on hand worked out by hand from purchases and sales
// written into the source, per warehouse or per lot, and the opening stock entries "Başla"
// writes into the target.
#include "BalanceFixture.h"
#include "support/StockDocuments.h"

#include "transfers/balances/CariHesaplar.h"
#include "transfers/balances/StokKartlari.h"

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

class StockCards : public BalanceTest {
protected:
    StockCards()
    {
        for (const auto& [code, name, main] : {std::tuple{"01", "MERKEZ", 153}, {"02", "ŞUBE", 153},
                                               {"ABC", "UZUN KODLU", 153}, {"09", "EMANET", 150}})
            put(source(), u"Depo"_s, {{"Depo_Kodu", code}, {"Depo_Adi", name}, {"Ana_Hs", main}, {"Sil", 0}});
        put(source(), u"Gruplar"_s, {{"Grup", "G1"}, {"Grupadi", "GIDA"}, {"Ana_Hs", 153}});
    }
    void card(const QString& key, const QString& code, const QString& name, int deleted = 0)
    {
        put(source(), u"Stok_Tanim"_s, {{"SID2", key}, {"Stok_Kodu", code}, {"Stok_Adi", name}, {"Aciklama", name + u" AÇIKLAMA"_s},
                                        {"Stok_Grubu", "G1"}, {"A_Hs", 153}, {"Birim1", "KG"}, {"KDV", 18}, {"Marka", "MARKA"},
                                        {"Fiyat1", 9.5}, {"sil", deleted}});
    }
    using Line = StockLine;
    void purchase(const Line& l) { writePurchase(t.company, source(), l); }
    void sale(const Line& l) { writeSale(t.company, source(), l); }

    // Cards whose stock is worked out in the comments.
    void books()
    {
        card(u"S1"_s, u"A-100"_s, u"UN"_s);  // 10 + 10 - 10 = 10 in 01 at (20 + 30) / 20 = 2,5: 25
        purchase({.key = u"S1"_s, .quantity = 10, .price = 2});
        purchase({.key = u"S1"_s, .quantity = 10, .price = 3});
        sale({.key = u"S1"_s, .quantity = 10, .price = 5});
        card(u"S2"_s, u"B-200"_s, u"TUZ"_s);  // 10 in 01 at 2,5: 25, and 4 in 02 at 3: 12
        purchase({.key = u"S2"_s, .quantity = 10, .price = 2.5});
        purchase({.key = u"S2"_s, .quantity = 4, .price = 3, .warehouse = u"02"_s});
        card(u"S3"_s, u"C-300"_s, u"BİBER"_s);  // 5 in ABC at 4: 20, into warehouse "ABC" (its whole code)
        purchase({.key = u"S3"_s, .quantity = 5, .price = 4, .warehouse = u"ABC"_s});
        purchase({.key = u"S3"_s, .quantity = 7, .price = 1, .warehouse = u"09"_s});  // not under 153
        card(u"S4"_s, u"D-400"_s, u"ŞEKER"_s);  // no movements: 0
        card(u"S5"_s, u"E-500"_s, u"TARÇIN"_s);  // 2 - 5 = -3 at 1: -3
        purchase({.key = u"S5"_s, .quantity = 2, .price = 1});
        sale({.key = u"S5"_s, .quantity = 5, .price = 2});
        card(u"S6"_s, u"F-600"_s, u"SİLİNMİŞ"_s, 1);  // deleted: not listed
        purchase({.key = u"S6"_s, .quantity = 1, .price = 1});
    }

    transfers::StokKartlari& openStep() { return dynamic_cast<transfers::StokKartlari&>(open(StepId::Stok)); }
    void startExpectingCompletion(console::PreviewStep& s)
    {
        t.dialogs.expectMessage(u"Stok Kartarı ve Stok Bakiyeleri Belmo İşlemi Tamamlandı."_s, u"Belmo"_s);
        s.basla.click();
        t.dialogs.verify();
    }
    // The row of a card in a warehouse.
    int rowOf(const transfers::StokKartlari& s, const QString& key, const QString& warehouse)
    {
        for (int r = 1; r < s.grid.rows(); ++r)
            if (s.grid.text(r, 7) == key && s.grid.text(r, 13).startsWith(warehouse)) return r;
        return -1;
    }

    // The target's opening stock entries, sorted: the header's sides and stock columns, then
    // the current-account line's price, value and VAT, then the stock line.
    QList<QStringList> stockEntries()
    {
        return sorted(rows(target(), u"SELECT Kayit.B_Hs, Kayit.B_Gr, Kayit.B_MID, Kayit.STKB_MID, Kayit.A_Hs, Kayit.A_Gr, "
                                     "Kayit.A_MID, Kayit.STKA_MID, Format(Kayit.tarih,'dd.mm.yyyy'), Kayit.Evrak_Kodu, "
                                     "Kayit.islem_Kod, Cari_H.islem_Dvz, Cari_H.B_Fiyat, Cari_H.Tutar_Ytl, Cari_H.KDV, "
                                     "Stok_H.Stok_Kodu, Stok_H.Lot_No, Stok_H.Giren1, Stok_H.Cikan1, Stok_H.Birim1, "
                                     "Stok_H.Depo_Kodu, Stok_H.Aciklama1, Stok_H.KDV "
                                     "FROM (Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) "
                                     "INNER JOIN Stok_H ON Kayit.Kayit_No = Stok_H.Kayit_No WHERE Kayit.Sil=0"_s));
    }
    static QList<QStringList> sorted(QList<QStringList> rows)
    {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // An entry of mode 2: the card's key on the debit side.
    static QStringList stockEntry(const QString& key, const QString& price, const QString& value, const QString& lot,
                                  const QString& quantity, const QString& warehouse)
    {
        return {u"153"_s, u"G1"_s, key, u"<null>"_s, u"500"_s, u"01"_s, u"001"_s, u"<null>"_s, u"01.01.2010"_s,
                u"0"_s, u"1"_s, u"TL"_s, price, value, u"18"_s, key, lot, quantity, u"0"_s, u"KG"_s, warehouse,
                u"STOK BELMO"_s, u"18"_s};
    }
};

TEST_P(StockCards, TheGridListsEachWarehousesStockOnHandWithItsAveragePriceAndValue)
{
    books();
    transfers::StokKartlari& s = openStep();
    EXPECT_EQ(s.frame.caption(), u"Stok Kart ve Bakiye Belmoleri"_s);
    EXPECT_EQ(s.grid.cols(), 15);
    EXPECT_EQ(s.grid.colWidth(7), 0);
    EXPECT_EQ(s.grid.colWidth(14), 0);  // the warehouse code the entries are posted into
    EXPECT_EQ(s.grid.colAlignment(12), widgets::Grid::Alignment::Amount);
    EXPECT_EQ(s.loadedRows(), 6);
    auto row = [&](const QString& key, const QString& warehouse) { return gridRows(s).value(rowOf(s, key, warehouse) - 1); };
    EXPECT_EQ(row(u"S1"_s, u"01"_s), (QStringList{u"A-100"_s, u"UN"_s, u"GIDA"_s, u"UN AÇIKLAMA"_s, u"10,000"_s, u"KG"_s,
                                                  u"S1"_s, u"S1"_s, u"2,5000"_s, u"3,0000"_s, u"2,0000"_s, u"25,00"_s,
                                                  u"01 MERKEZ"_s, u"01"_s}));
    EXPECT_EQ(row(u"S2"_s, u"01"_s).mid(8), (QStringList{u"2,5000"_s, u"2,5000"_s, u"2,5000"_s, u"25,00"_s, u"01 MERKEZ"_s, u"01"_s}));
    EXPECT_EQ(row(u"S2"_s, u"02"_s).mid(4, 1) + row(u"S2"_s, u"02"_s).mid(11),
              (QStringList{u"4,000"_s, u"12,00"_s, u"02 ŞUBE"_s, u"02"_s}));
    // A card without stock shows zeros where the loader gives nothing.
    EXPECT_EQ(row(u"S4"_s, QString()).mid(4), (QStringList{u"0,000"_s, u"KG"_s, u"S4"_s, u"S4"_s, u"0,0000"_s, u"0,0000"_s,
                                                           u"0,0000"_s, u"0,0000"_s, QString(), QString()}));
    // Quantity 10 + 10 + 4 + 5 - 3; value 25 + 25 + 12 + 20 - 3.
    EXPECT_EQ(s.TxtMktr.text(), u"26,0000"_s);
    EXPECT_EQ(s.TxtTtr.text(), u"79,00"_s);
    EXPECT_EQ(s.TxtSecTtr.text(), u"79,00"_s);
    EXPECT_EQ(s.bar.value(), s.bar.max());

    s.grid.click(rowOf(s, u"S2"_s, u"02"_s), 0);
    EXPECT_EQ(s.TxtSecTtr.text(), u"67,00"_s);
    s.bakiyesizleriGizle.press();
    EXPECT_EQ(s.loadedRows(), 4);
    EXPECT_EQ(rowOf(s, u"S5"_s, u"01"_s), -1);
    EXPECT_EQ(s.TxtSecTtr.text(), u"82,00"_s);
}

TEST_P(StockCards, StockOnHandBecomesOneOpeningEntryPerWarehouseAndEveryTickedCardIsCopied)
{
    books();
    transfers::StokKartlari& s = openStep();
    startExpectingCompletion(s);
    EXPECT_EQ(stockEntries(), (QList<QStringList>{stockEntry(u"S1"_s, u"2,5"_s, u"25"_s, u"0"_s, u"10"_s, u"01"_s),
                                                  stockEntry(u"S2"_s, u"2,5"_s, u"25"_s, u"0"_s, u"10"_s, u"01"_s),
                                                  stockEntry(u"S2"_s, u"3"_s, u"12"_s, u"0"_s, u"4"_s, u"02"_s),
                                                  stockEntry(u"S3"_s, u"4"_s, u"20"_s, u"0"_s, u"5"_s, u"ABC"_s)}));
    // Cards with no or negative stock are copied all the same.
    EXPECT_EQ(rows(target(), u"SELECT SID2, Stok_Kodu, Stok_Adi, Stok_Grubu, A_Hs, Birim1, KDV, Marka, Fiyat1, sil "
                             "FROM Stok_Tanim ORDER BY SID2"_s),
              (QList<QStringList>{{u"S1"_s, u"A-100"_s, u"UN"_s, u"G1"_s, u"153"_s, u"KG"_s, u"18"_s, u"MARKA"_s, u"9,5"_s, u"0"_s},
                                  {u"S2"_s, u"B-200"_s, u"TUZ"_s, u"G1"_s, u"153"_s, u"KG"_s, u"18"_s, u"MARKA"_s, u"9,5"_s, u"0"_s},
                                  {u"S3"_s, u"C-300"_s, u"BİBER"_s, u"G1"_s, u"153"_s, u"KG"_s, u"18"_s, u"MARKA"_s, u"9,5"_s, u"0"_s},
                                  {u"S4"_s, u"D-400"_s, u"ŞEKER"_s, u"G1"_s, u"153"_s, u"KG"_s, u"18"_s, u"MARKA"_s, u"9,5"_s, u"0"_s},
                                  {u"S5"_s, u"E-500"_s, u"TARÇIN"_s, u"G1"_s, u"153"_s, u"KG"_s, u"18"_s, u"MARKA"_s, u"9,5"_s,
                                   u"0"_s}}));
    EXPECT_EQ(rows(target(), u"SELECT Evr_No FROM Evr WHERE On_Taki='K'"_s), QList<QStringList>{{u"5"_s}});
    EXPECT_EQ(session().KaynakBag, t.company.connectionString(u"KAYNAK"_s));
    EXPECT_TRUE(done(StepId::Stok));
}

TEST_P(StockCards, UntickedRowsAreNeitherCopiedNorPostedAndTheCarriedValueIsWhatIsPosted)
{
    books();
    transfers::StokKartlari& s = openStep();
    s.grid.click(rowOf(s, u"S1"_s, u"01"_s), 0);
    s.grid.click(rowOf(s, u"S2"_s, u"02"_s), 0);
    EXPECT_EQ(s.TxtSecTtr.text(), u"42,00"_s);  // 79 - 25 - 12
    startExpectingCompletion(s);
    // S2's row in 02 is unticked, but its row in 01 carries the card.
    EXPECT_EQ(rows(target(), u"SELECT SID2 FROM Stok_Tanim ORDER BY SID2"_s),
              (QList<QStringList>{{u"S2"_s}, {u"S3"_s}, {u"S4"_s}, {u"S5"_s}}));
    EXPECT_EQ(rows(target(), u"SELECT Sum(Tutar_Ytl) FROM Cari_H"_s), QList<QStringList>{{u"45"_s}});  // 25 + 20
}

TEST_P(StockCards, BakiyeleriBelmoetmeCopiesTheCardsAndPostsNothing)
{
    books();
    transfers::StokKartlari& s = openStep();
    s.bakiyeleriBelmoetme.press();
    startExpectingCompletion(s);
    EXPECT_TRUE(stockEntries().isEmpty());
    EXPECT_EQ(rows(target(), u"SELECT count(*) FROM Stok_Tanim"_s), QList<QStringList>{{u"5"_s}});
}

TEST_P(StockCards, InPostingMode3TheKeyGoesIntoTheHeadersStockColumns)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 10, .price = 2});
    c->ChH3.press();
    ASSERT_EQ(session().HModu, 3);
    startExpectingCompletion(openStep());
    QStringList expected = stockEntry(u"S1"_s, u"2"_s, u"20"_s, u"0"_s, u"10"_s, u"01"_s);
    expected[2] = u"001"_s;
    expected[3] = u"S1"_s;
    expected[7] = QString();
    EXPECT_EQ(stockEntries(), QList<QStringList>{expected});
}

TEST_P(StockCards, WithLotsEachLotWithStockIsOneEntryCarryingItsLotNumber)
{
    card(u"L1"_s, u"LOT-1"_s, u"PEYNİR"_s);
    // Lot 7: 10 + 30 - 5 = 35 at the plain average of its prices (2 + 4) / 2 = 3: 105.
    purchase({.key = u"L1"_s, .quantity = 10, .price = 2, .lot = 7});
    purchase({.key = u"L1"_s, .quantity = 30, .price = 4, .lot = 7});
    sale({.key = u"L1"_s, .quantity = 5, .price = 6, .lot = 7});
    // Lot 8: 4 - 4 = 0.
    purchase({.key = u"L1"_s, .quantity = 4, .price = 5, .warehouse = u"02"_s, .lot = 8});
    sale({.key = u"L1"_s, .quantity = 4, .price = 6, .warehouse = u"02"_s, .lot = 8});
    transfers::StokKartlari& s = openStep();
    s.lotKullan.press();
    EXPECT_EQ(s.grid.cols(), 14);  // twelve shown, the key and the warehouse code hidden
    EXPECT_EQ(s.grid.colWidth(12), 0);
    EXPECT_EQ(s.grid.colWidth(13), 0);
    EXPECT_EQ(s.grid.text(0, 1), u"Lot No."_s);
    EXPECT_EQ(s.loadedRows(), 2);
    EXPECT_EQ(s.TxtTtr.text(), u"105,00"_s);
    EXPECT_EQ(s.TxtMktr.text(), u"35,0000"_s);
    startExpectingCompletion(s);
    EXPECT_EQ(stockEntries(), QList<QStringList>{stockEntry(u"L1"_s, u"3"_s, u"105"_s, u"7"_s, u"35"_s, u"01"_s)});
}

TEST_P(StockCards, DeletingTheTargetsDataMarksItsStockDocumentsAndRemovesItsCards)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 1, .price = 2});
    put(target(), u"Stok_Tanim"_s, {{"SID2", "ESKI"}, {"Stok_Kodu", "ESKİ"}, {"sil", 0}});
    const QList<std::pair<int, int>> sides = {{153, 320}, {120, 610}, {0, 100}, {120, 320}, {600, 120}, {100, 157}};
    for (const auto& [debit, credit] : sides)
        header(target(), {{"B_Hs", debit}, {"A_Hs", credit}, {"Evrak_No", "ESKI"}, {"Evrak_Kodu", 1}, {"Sil", 0}});
    transfers::StokKartlari& s = openStep();
    expectQuestions(true, true);
    startExpectingCompletion(s);
    EXPECT_EQ(rows(target(), u"SELECT SID2 FROM Stok_Tanim"_s), QList<QStringList>{{u"S1"_s}});
    // 600 counts among the stock accounts; 120 and 320 alone do not.
    EXPECT_EQ(rows(target(), u"SELECT Sil FROM Kayit WHERE Evrak_No='ESKI' ORDER BY Kayit_No"_s),
              (QList<QStringList>{{u"1"_s}, {u"1"_s}, {u"1"_s}, {u"0"_s}, {u"1"_s}, {u"1"_s}}));
}

// The writers keep their values between calls; the opening entries of the next step must
// not carry the stock entries' price, VAT, due date or stock columns, but be written as
// the first posting after the login is.
TEST_P(StockCards, ACurrentAccountEntryAfterTheStockStepCarriesNothingOfIt)
{
    card(u"S1"_s, u"A-100"_s, u"UN"_s);
    purchase({.key = u"S1"_s, .quantity = 10, .price = 2});
    put(source(), u"Hesaplar"_s, {{"MID1", "1"}, {"Ana_Hs", 120}, {"Grupkod", "01"}, {"TAMUNVAN", "ALICI"}, {"sil", 0}});
    const qint64 no = header(source(), {{"B_Hs", 120}, {"B_Gr", "01"}, {"B_MID", "1"}, {"A_Hs", 600}, {"Evrak_Kodu", 1}, {"Sil", 0}});
    put(source(), u"Cari_H"_s, {{"Kayit_No", no}, {"islem_Dvz", "TL"}, {"Tutar_Ytl", 40}});
    c->ChH3.press();
    startExpectingCompletion(openStep());
    t.dialogs.expectMessage(u"Cari Hesap Belmo İşlemleri Tamamlandı."_s, u"Belmo"_s);
    open(StepId::CariHesaplar).basla.click();
    t.dialogs.verify();
    EXPECT_EQ(rows(target(), u"SELECT Kayit.STKB_MID, Kayit.STKA_MID, Cari_H.B_Fiyat, Cari_H.KDV, Cari_H.Vade, "
                             "Cari_H.Doviz_Kuru, Cari_H.Tutar_Ytl FROM Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No "
                             "WHERE Kayit.B_MID='1'"_s),
              (QList<QStringList>{{u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"40"_s}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, StockCards, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test

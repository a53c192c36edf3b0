// The open-item steps on real company files: the cheques in the portfolio and in clearing,
// the open orders and the instalments, their grids pressed as a user presses them and what
// "Başla" writes into the target.
#include "TransferFixture.h"
#include "support/OpenItemDocuments.h"

#include "transfers/openitems/CekBelmoleri.h"
#include "transfers/openitems/SiparisBelmoleri.h"
#include "transfers/openitems/TaksitBelmoleri.h"

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;
using Rows = QList<QStringList>;

// The source closes 2025, the target opens 2026.
class OpenItems : public TransferTest {
protected:
    OpenItems()
    {
        put(source(), u"SIRKET"_s, {{"DONEM", "2025"}});
        put(target(), u"SIRKET"_s, {{"DONEM", " 2026 "}});
        put(source(), u"Hesaplar"_s, {{"MID1", "C1"}, {"Grupkod", "01"}, {"Ana_Hs", 120}, {"TAMUNVAN", "ALICI AŞ"}});
        put(source(), u"Hesaplar"_s, {{"MID1", "S1"}, {"Grupkod", "02"}, {"Ana_Hs", 320}, {"TAMUNVAN", "SATICI LTD"}});
    }
    template <typename S>
    S& openAs(StepId id)
    {
        return dynamic_cast<S&>(open(id));
    }
    Rows targetRows(const QString& sql) { return rows(target(), sql); }
};

const QString N = u"<null>"_s;
const QString kUnknownError = u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s;

TEST_P(OpenItems, ATargetWithoutATableTheStepWritesStopsTheStepBeforeItWritesAnything)
{
    writeChequeRecord(t.company, source(), {.cheque = u"P-1"_s, .document = u"B-1"_s, .date = QDate(2025, 11, 2), .amount = 10,
                                            .debit = {101, u"01"_s, u"001"_s}, .credit = {120, u"01"_s, u"C1"_s}});
    for (const auto& [id, table] : {std::pair{StepId::Cekler, u"Cek_"_s}, {StepId::Siparisler, u"Fatura"_s},
                                    {StepId::Siparisler, u"Stok_Sip"_s}, {StepId::Taksitler, u"Taksit_H"_s}}) {
        target().execute(u"DROP TABLE "_s + table);
        open(id);
        t.dialogs.expectError(kUnknownError, {u"no such table: "_s + table});
        start(id);
        t.dialogs.verify();
        EXPECT_FALSE(done(id));
    }
    EXPECT_EQ(targetRows(u"SELECT count(*) FROM islem"_s), Rows{{u"0"_s}});  // transaction 68 is not added
}

// ---- cheques ----------------------------------------------------------------------------------

class Cheques : public OpenItems {
protected:
    static inline const Side kPortfolio = {101, u"01"_s, u"001"_s};

    qint64 record(const ChequeRecord& r) { return writeChequeRecord(t.company, source(), r); }
    // Received from customer C1 into the portfolio.
    void received(const QString& cheque, const QString& document, double amount, int hidden = 0)
    {
        record({.cheque = cheque, .document = document, .date = QDate(2025, 11, 2), .amount = amount, .debit = kPortfolio,
                .credit = {120, u"01"_s, u"C1"_s}, .description = u"ÇEK GİRİŞ"_s, .hidden = hidden});
    }
    transfers::CekBelmoleri& openStep() { return openAs<transfers::CekBelmoleri>(StepId::Cekler); }
    void startExpectingCompletion()
    {
        t.dialogs.expectMessage(u"Çek Belmoleri Tamamlandı."_s);
        start(StepId::Cekler);
        t.dialogs.verify();
    }
    static QStringList totals(const transfers::CekBelmoleri& s)
    {
        return {s.TxtCekYtl.text(), s.TxtCekUsd.text(), s.TxtCekEur.text(),
                s.TxtCekSecYtl.text(), s.TxtCekSecUsd.text(), s.TxtCekSecEur.text()};
    }
    // Each carried record: its header, its line and its cheque row, in the order written.
    Rows carried()
    {
        return targetRows(u"SELECT Format(Kayit.tarih,'dd.mm.yyyy'), B_Hs, B_Gr, B_MID, A_Hs, A_Gr, A_MID, islem_Kod, "
                          "Evrak_Kodu, Evrak_No, User_Code, Cari_H.Aciklama, Cari_H.Tutar_Ytl, Cari_H.Plasiyer_Kodu, "
                          "Format(Cari_H.Irs_Tarih,'dd.mm.yyyy'), Cek_.Cek_No, Cek_.Tutar, Format(Cek_.tarih,'dd.mm.yyyy') "
                          "FROM (Kayit INNER JOIN Cari_H ON Kayit.Kayit_No=Cari_H.Kayit_No) "
                          "INNER JOIN Cek_ ON Kayit.Kayit_No=Cek_.Kayit_No WHERE Kayit.Sil=0 ORDER BY Kayit.Kayit_No"_s);
    }
    static QStringList expected(const QStringList& sides, const QString& document, const QString& description,
                              const QString& amount, const QString& cheque)
    {
        return QStringList{u"01.01.2026"_s} + sides
            + QStringList{u"15"_s, document, u"07"_s, description, amount, u"0"_s, u"01.01.2026"_s, cheque, amount,
                          u"01.01.2026"_s};
    }
};

TEST_P(Cheques, AChequeStillHeldIsRebuiltAgainstTheCounterAccountWithTransaction68)
{
    put(target(), u"Kayit"_s, {{"Evrak_No", "ESKİ"}, {"Sil", 1}});  // the target numbers its headers on from here
    received(u"TR'01"_s, u"B-1"_s, 1500);
    record({.cheque = u"U-1"_s, .document = u"B-2"_s, .date = QDate(2025, 11, 3), .amount = 200, .debit = kPortfolio,
            .credit = {120, u"01"_s, u"C1"_s}, .due = QDate(2026, 7, 1), .currency = u"USD"_s});
    transfers::CekBelmoleri& s = openStep();
    EXPECT_EQ(s.grid.text(0, 1), u"Gir.Bordro"_s);
    EXPECT_EQ(gridRows(s, 2, 5), (Rows{{u"1.500,00"_s, u"TL"_s, u"01.06.2026"_s, u"TR'01"_s},
                                       {u"200,00"_s, u"USD"_s, u"01.07.2026"_s, u"U-1"_s}}));
    EXPECT_EQ(totals(s), (QStringList{u"1.500,00"_s, u"200,00"_s, u"0,00"_s, u"1.500,00"_s, u"200,00"_s, u"0,00"_s}));
    s.grid.click(rowWith(s, 5, u"U-1"_s), 0);
    EXPECT_EQ(totals(s), (QStringList{u"1.500,00"_s, u"200,00"_s, u"0,00"_s, u"1.500,00"_s, u"0,00"_s, u"0,00"_s}));

    startExpectingCompletion();
    EXPECT_EQ(carried(), Rows{expected({u"101"_s, u"01"_s, u"001"_s, u"500"_s, u"01"_s, u"001"_s, u"68"_s}, u"B-1"_s,
                                     u"ÇEK GİRİŞ"_s, u"1500"_s, u"TR'01"_s)});
    EXPECT_EQ(targetRows(u"SELECT * FROM islem"_s),
              (Rows{{u"68"_s, u"ÇEK BELMO İŞLEMİ"_s, u"101"_s, u"500"_s, u"C"_s, QString(), QString(), u"15"_s, u"0"_s}}));
    EXPECT_TRUE(done(StepId::Cekler));
}

// The clearing record has 101 on both sides: it keeps its sides and its transaction.
TEST_P(Cheques, AChequeInClearingIsListedOnlyAfterTheSearchButtonAndCarriesBothRecords)
{
    received(u"P-1"_s, u"B-1"_s, 100);
    received(u"H-1"_s, u"B-5"_s, 900, /*hidden*/ 1);
    received(u"T-1"_s, u"B-3"_s, 2500);
    record({.cheque = u"T-1"_s, .document = u"T-001"_s, .date = QDate(2025, 12, 1), .amount = -2500,
            .debit = {101, u"02"_s, u"B1"_s}, .credit = kPortfolio, .description = u"TAKAS"_s, .transaction = 42});
    transfers::CekBelmoleri& s = openStep();
    EXPECT_EQ(gridRows(s, 5, 5), Rows{{u"P-1"_s}});

    s.Optks.press();
    EXPECT_FALSE(s.OpGiren.value());
    EXPECT_EQ(gridRows(s, 5, 5), Rows{{u"P-1"_s}});
    s.BtnAra.click();
    EXPECT_EQ(s.grid.text(0, 1), u"Çık.Bordro"_s);
    EXPECT_EQ(s.grid.text(0, 8), u"Kime Verildiği"_s);
    EXPECT_EQ(gridRows(s, 1, 5), (Rows{{u"T-001"_s, u"2.500,00"_s, u"TL"_s, u"01.06.2026"_s, u"T-1"_s}}));

    startExpectingCompletion();
    EXPECT_EQ(carried(), (Rows{expected({u"101"_s, u"01"_s, u"001"_s, u"500"_s, u"01"_s, u"001"_s, u"68"_s}, u"B-3"_s,
                                      u"ÇEK GİRİŞ"_s, u"2500"_s, u"T-1"_s),
                               expected({u"101"_s, u"02"_s, u"B1"_s, u"101"_s, u"01"_s, u"001"_s, u"42"_s}, u"T-001"_s,
                                      u"TAKAS"_s, u"-2500"_s, u"T-1"_s)}));
}

// Nothing in the target is deleted; a second run finds the cheque's record carried.
TEST_P(Cheques, ATransaction68MarkedDeletedIsRevivedOnceAndASecondRunWritesNothingNew)
{
    put(target(), u"islem"_s, {{"islem_Kod", 68}, {"islem", "ESKİ ÇEK İŞLEMİ"}, {"Sil", 1}});
    received(u"P-1"_s, u"B-1"_s, 100);
    openStep();
    startExpectingCompletion();
    t.dialogs.expectMessage(u"Çek Belmoleri Tamamlandı.\rHedefte zaten bulunan 1 çek kaydı yeniden yazılmadı."_s);
    start(StepId::Cekler);
    t.dialogs.verify();
    EXPECT_EQ(targetRows(u"SELECT islem, Sil FROM islem"_s), (Rows{{u"ESKİ ÇEK İŞLEMİ"_s, u"0"_s}}));
    EXPECT_EQ(targetRows(u"SELECT count(*) FROM Kayit"_s), Rows{{u"1"_s}});
    EXPECT_EQ(targetRows(u"SELECT count(*) FROM Cek_"_s), Rows{{u"1"_s}});
}

// ---- open orders ------------------------------------------------------------------------------

class Orders : public OpenItems {
protected:
    Orders()
    {
        put(source(), u"Evrak_Turu"_s, {{"Evrak_Kodu", 7}, {"Aciklama", "ALINAN SİPARİŞ"}});
        put(source(), u"Evrak_Turu"_s, {{"Evrak_Kodu", 8}, {"Aciklama", "VERİLEN SİPARİŞ"}});
        put(source(), u"Stok_Tanim"_s, {{"SID2", "K1"}, {"Stok_Kodu", "A-100"}, {"Stok_Adi", "UN"}, {"Birim1", "KG"}});
        put(source(), u"Stok_Tanim"_s, {{"SID2", "K2"}, {"Stok_Kodu", "B-200"}, {"Stok_Adi", "ŞEKER"}, {"Birim1", "KG"}});
    }
    qint64 order(const OrderDocument& o, const OrderLine& l) { return writeOrderLine(t.company, source(), o, l); }
    // An order to supplier S1 (type 8) and one of customer C1 (type 7).
    static OrderDocument purchase(const QString& document, const QString& card)
    {
        return {8, QDate(2025, 5, 10), document, u"S1"_s, u"02"_s, card};
    }
    static OrderDocument sale(const QString& document, const QString& card)
    {
        return {7, QDate(2025, 6, 1), document, u"C1"_s, u"01"_s, card};
    }
    transfers::SiparisBelmoleri& openStep() { return openAs<transfers::SiparisBelmoleri>(StepId::Siparisler); }
    void startExpectingCompletion()
    {
        t.dialogs.expectMessage(u"Sipariş Belmoleri Tamamlandı."_s);
        start(StepId::Siparisler);
        t.dialogs.verify();
    }
    // The live headers of the target with their account side and stock side.
    Rows carried()
    {
        return targetRows(u"SELECT Format(Kayit.tarih,'dd.mm.yyyy'), B_Hs, B_MID, STKB_MID, A_Hs, A_MID, STKA_MID, "
                          "Evrak_Kodu, Kayit.Evrak_No, User_Code, Cari_Sip.B_Fiyat, Cari_Sip.Plasiyer_Kodu, "
                          "Format(Cari_Sip.Irs_Tarih,'dd.mm.yyyy'), Stok_Sip.Stok_Kodu, Stok_Sip.Giren1, Stok_Sip.Cikan1 "
                          "FROM (Kayit INNER JOIN Cari_Sip ON Kayit.Kayit_No=Cari_Sip.Kayit_No) "
                          "INNER JOIN Stok_Sip ON Kayit.Kayit_No=Stok_Sip.Kayit_No WHERE Kayit.Sil=0 ORDER BY Kayit.Kayit_No"_s);
    }
    static inline const QString kQuestion =
        u"Hedef Veritabanında zaten kayıtlı siparişler bulunmakta.\r"
        "İşlemin Devam edebilmesi için Hedef veritabanındaki siparişlerin silinmesi gerekiyor.\r"
        "İşleme devam edilsin mi?"_s;
};

TEST_P(Orders, TheTotalsAreQuantityTimesUnitPriceAndType7IsInRed)
{
    order(purchase(u"S-1"_s, u"K1"_s), {.in = 40, .price = 12.5});
    order(sale(u"S-2"_s, u"K2"_s), {.out = 2, .price = 100});
    transfers::SiparisBelmoleri& s = openStep();
    EXPECT_EQ(gridRows(s, 9, 12), (Rows{{u"+"_s, u"40,000"_s, u"KG"_s, u"12,5000"_s}, {u"-"_s, u"2,000"_s, u"KG"_s, u"100,0000"_s}}));
    for (const int col : {9, 10}) {
        EXPECT_EQ(s.grid.colour(1, col), widgets::Grid::kDefaultColour);
        EXPECT_EQ(s.grid.colour(2, col), int(widgets::Grid::kRed));
    }
    const auto boxes = [&] { return QStringList{s.TxtSipTtr.text(), s.TxtSipSecTtr.text(), s.TxtSipMktr.text(), s.TxtSipSecMktr.text()}; };
    EXPECT_EQ(boxes(), (QStringList{u"700,00"_s, u"700,00"_s, u"42,000"_s, u"42,000"_s}));
    s.grid.click(1, 0);
    EXPECT_EQ(boxes(), (QStringList{u"700,00"_s, u"200,00"_s, u"42,000"_s, u"2,000"_s}));
}

// A line without document number is carried, without invoice setting, and so is the next.
TEST_P(Orders, EachLineGetsItsHeaderAndBothSidesAndEachDocumentOneInvoiceSetting)
{
    put(source(), u"Fatura"_s, {{"Evrak_No", "S'1"}, {"Kdv_Dahil", 1}, {"Genel_Toplam_Isk", 2.5}, {"Toplam_Isk", 3},
                                {"Isk_BrmFyt", 4}, {"Isk", 5}, {"KDV", 18}, {"Kdv_Var", 1}});
    order(purchase(u"S'1"_s, u"K1"_s), {.in = 40, .price = 12.5});
    order(purchase(u"S'1"_s, u"K2"_s), {.in = 5, .price = 3});
    order(sale(QString(), u"K1"_s), {.out = 2, .price = 100});
    order(sale(u"S-3"_s, u"K2"_s), {.out = 1, .price = 7});
    put(target(), u"Kayit"_s, {{"Evrak_No", "ESKİ"}});  // a live header that is no order: no question
    openStep();
    startExpectingCompletion();

    const auto line = [](const QStringList& sides, const QString& type, const QString& document, const QString& price,
                         const QString& card, const QString& in, const QString& out) {
        return QStringList{u"01.01.2026"_s} + sides
            + QStringList{type, document, u"07"_s, price, u"0"_s, u"01.01.2026"_s, card, in, out};
    };
    const auto purchased = [](const QString& card) { return QStringList{u"153"_s, card, N, u"320"_s, u"S1"_s, N}; };
    const auto sold = [](const QString& card) { return QStringList{u"120"_s, u"C1"_s, N, u"153"_s, card, N}; };
    EXPECT_EQ(carried(), (Rows{line(purchased(u"K1"_s), u"8"_s, u"S'1"_s, u"12,5"_s, u"K1"_s, u"40"_s, u"0"_s),
                               line(purchased(u"K2"_s), u"8"_s, u"S'1"_s, u"3"_s, u"K2"_s, u"5"_s, u"0"_s),
                               line(sold(u"K1"_s), u"7"_s, QString(), u"100"_s, u"K1"_s, u"0"_s, u"2"_s),
                               line(sold(u"K2"_s), u"7"_s, u"S-3"_s, u"7"_s, u"K2"_s, u"0"_s, u"1"_s)}));
    EXPECT_EQ(targetRows(u"SELECT * FROM Fatura ORDER BY Evrak_No"_s),
              (Rows{{u"S'1"_s, u"1"_s, u"2,5"_s, u"3"_s, u"4"_s, u"5"_s, u"18"_s, u"1"_s},
                    {u"S-3"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}}));
}

TEST_P(Orders, WithKModu2AndHModu3TheCardMovesIntoTheStockColumnOfItsSide)
{
    c->ChH3.press();
    order(purchase(u"S-1"_s, u"K1"_s), {.in = 1});
    order(sale(u"S-2"_s, u"K2"_s), {.out = 1});
    openStep();
    startExpectingCompletion();
    Rows sides;
    for (const QStringList& r : carried()) sides << r.mid(1, 6);
    EXPECT_EQ(sides, (Rows{{u"153"_s, u"001"_s, u"K1"_s, u"320"_s, u"S1"_s, N}, {u"120"_s, u"C1"_s, N, u"153"_s, u"001"_s, u"K2"_s}}));
}

TEST_P(Orders, TheTargetsOrdersAreMarkedDeletedOnlyAfterYes)
{
    writeOrderLine(t.company, target(), purchase(u"ESKİ"_s, u"K1"_s), {.in = 1});
    order(purchase(u"S-1"_s, u"K1"_s), {.in = 1});
    openStep();
    t.dialogs.expectQuestion(kQuestion, QString(), false);
    start(StepId::Siparisler);
    t.dialogs.verify();
    const auto live = [&] { return targetRows(u"SELECT Evrak_No FROM Kayit WHERE Sil=0"_s); };
    EXPECT_EQ(live(), Rows{{u"ESKİ"_s}});
    EXPECT_FALSE(done(StepId::Siparisler));

    t.dialogs.expectQuestion(kQuestion, QString(), true);
    startExpectingCompletion();
    EXPECT_EQ(live(), Rows{{u"S-1"_s}});
}

TEST_P(Orders, ALineGoneFromTheSourceSinceTheGridWasLoadedIsListedAndTheOthersAreCarried)
{
    order(purchase(u"S-1"_s, u"K1"_s), {.in = 1});
    const qint64 gone = order(purchase(u"S-2"_s, u"K2"_s), {.in = 2});
    openStep();
    source().execute(u"UPDATE Kayit SET Sil=1 WHERE Kayit_No=?"_s, {gone});
    t.dialogs.expectMessage(u"Sipariş Belmoleri Tamamlandı."_s);
    t.dialogs.expectMessage(u"Aşağıdaki kayıtlar aktarılamadı:\rSipariş S-2 B-200: kaynakta artık yok"_s,
                            u"Belmo"_s, services::Dialogs::Icon::Exclamation);
    start(StepId::Siparisler);
    t.dialogs.verify();
    EXPECT_EQ(targetRows(u"SELECT Evrak_No FROM Kayit WHERE Sil=0"_s), Rows{{u"S-1"_s}});
    EXPECT_EQ(targetRows(u"SELECT count(*) FROM Fatura"_s), Rows{{u"1"_s}});  // the failed line's setting went with it
}

// ---- instalments ------------------------------------------------------------------------------

class Instalments : public OpenItems {
protected:
    qint64 instalment(const Instalment& i) { return writeInstalment(t.company, source(), i); }
    Rows carried()
    {
        return targetRows(u"SELECT Evrak_No, Kayit_No, Taksit_Sayisi, Format(Vade_Tarihi,'dd.mm.yyyy'), MID1, Grup_Kodu, "
                          "Ana_Hs, Aciklama, Tutar, Para_Birim, Doviz_Kuru FROM Taksit_H WHERE Sil=0 ORDER BY ID"_s);
    }
    static inline const QString kQuestion = u"Hedef veritabanındaki mevcut Taksit bilgileri silinecektir.\rDevam Edilsin mi?"_s;
};

TEST_P(Instalments, TheInstalmentsDueFromTheFirstDayAfterThePeriodAreListedAndTheTickedOnesCopied)
{
    instalment({u"F-1"_s, 77, 1, QDate(2025, 12, 31), u"TL"_s, 100});  // the last day of the period
    const qint64 a = instalment({u"F-1"_s, 77, 2, QDate(2026, 1, 1), u"TL"_s, 100});
    instalment({u"F-1"_s, 77, 0, QDate(2026, 2, 1), u"TL"_s, 50});   // number 0: no instalment
    instalment({u"F-2"_s, 0, 1, QDate(2026, 3, 1), u"GBP"_s, 70});   // a currency not carried
    const qint64 b = instalment({u"F-3"_s, 78, 1, QDate(2026, 2, 1), u"USD"_s, 250, 34.5});
    const qint64 c = instalment({u"F-3"_s, 78, 2, QDate(2026, 3, 1), u"USD"_s, 250, 34.5});
    console::PreviewStep& s = open(StepId::Taksitler);
    EXPECT_EQ(s.grid.cols(), 12);
    EXPECT_EQ(gridRows(s, 1, 1), (Rows{{QString::number(a)}, {QString::number(b)}, {QString::number(c)}}));
    EXPECT_EQ(s.toplamKayit.text(), u"3"_s);
    s.grid.click(3, 0);
    EXPECT_EQ(s.belmoKayit.text(), u"2"_s);

    t.dialogs.expectMessage(u"Taksitler Aktarıldı."_s);
    start(StepId::Taksitler);
    t.dialogs.verify();
    EXPECT_EQ(carried(), (Rows{{u"F-1"_s, u"77"_s, u"2"_s, u"01.01.2026"_s, u"C1"_s, u"01"_s, u"120"_s, u"2. TAKSİT"_s, u"100"_s,
                                u"TL"_s, u"0"_s},
                               {u"F-3"_s, u"78"_s, u"1"_s, u"01.02.2026"_s, u"C1"_s, u"01"_s, u"120"_s, u"1. TAKSİT"_s,
                                u"250"_s, u"USD"_s, u"34,5"_s}}));
    EXPECT_TRUE(done(StepId::Taksitler));
}

TEST_P(Instalments, NoToTheQuestionLeavesTheTargetAndYesMarksEveryInstalmentDeleted)
{
    writeInstalment(t.company, target(), {u"ESKİ"_s, 5, 1, QDate(2026, 1, 5), u"TL"_s, 10});
    writeInstalment(t.company, target(), {u"SİLİNMİŞ"_s, 5, 2, QDate(2026, 2, 5), u"TL"_s, 10, 0, u"C1"_s, 1});
    instalment({u"F-1"_s, 77, 1, QDate(2026, 1, 1), u"TL"_s, 100});
    open(StepId::Taksitler);
    t.dialogs.expectQuestion(kQuestion, QString(), false);
    start(StepId::Taksitler);
    t.dialogs.verify();
    const auto live = [&] { return targetRows(u"SELECT Evrak_No FROM Taksit_H WHERE Sil=0"_s); };
    EXPECT_EQ(live(), Rows{{u"ESKİ"_s}});

    t.dialogs.expectQuestion(kQuestion, QString(), true);
    t.dialogs.expectMessage(u"Taksitler Aktarıldı."_s);
    start(StepId::Taksitler);
    t.dialogs.verify();
    EXPECT_EQ(live(), Rows{{u"F-1"_s}});
    EXPECT_EQ(targetRows(u"SELECT count(*) FROM Taksit_H"_s), Rows{{u"3"_s}});
}

// A step whose grid shows every value one column to the right of where it belongs.
template <typename Step>
struct MovedRight : Step {
    using Step::Step;
    db::Query query() override { return {u"SELECT '', * FROM ("_s + Step::query().text + u")"_s, Step::query().values}; }
};

// Each step carries the same, read from the target, whatever column its grid shows a value
// in. The cheque received twice, listed on two rows, writes its two records once.
// On files only: the counters are started again through the file's sqlite_sequence.
TEST_F(Orders, WhatAStepCarriesDoesNotDependOnWhereItsGridShowsAValue)
{
    order(purchase(u"S-1"_s, u"K1"_s), {.in = 12.3456, .price = 7.891234});
    order(sale(QString(), u"K2"_s), {.out = 2.5, .price = 100.125});
    for (const QString& document : {u"B-1"_s, u"B-9"_s})
        writeChequeRecord(t.company, source(),
                          {u"P-1"_s, document, {2025, 9, 1}, 750.125, {101, u"01"_s, u"001"_s}, {120, u"01"_s, u"C1"_s}});
    writeInstalment(t.company, source(), {u"F-1"_s, 77, 1, QDate(2026, 1, 1), u"USD"_s, 250.375, 34.12345});
    MovedRight<transfers::SiparisBelmoleri> orders(*c);
    MovedRight<transfers::CekBelmoleri> cheques(*c);
    MovedRight<transfers::TaksitBelmoleri> instalments(*c);
    const std::tuple<StepId, console::PreviewStep*, QString, qsizetype> steps[] = {
        {StepId::Siparisler, &orders, u"Sipariş Belmoleri Tamamlandı."_s, 2 + 2 + 2 + 1},  // Kayit, both sides, Fatura
        {StepId::Cekler, &cheques, u"Çek Belmoleri Tamamlandı."_s, 2 + 2 + 2},             // Kayit, Cari_H, Cek_
        {StepId::Taksitler, &instalments, u"Taksitler Aktarıldı."_s, 1}};
    const auto carried = [&](console::PreviewStep& step, const QString& completion) {
        step.menuAction();
        t.dialogs.expectMessage(completion);
        step.basla.click();
        Rows held;
        for (const QString& table : {u"Kayit"_s, u"Cari_H"_s, u"Cek_"_s, u"Cari_Sip"_s, u"Stok_Sip"_s, u"Fatura"_s, u"Taksit_H"_s}) {
            held << targetRows(u"SELECT * FROM "_s + table);
            target().execute(u"DELETE FROM "_s + table);
        }
        target().execute(u"DELETE FROM sqlite_sequence"_s);
        return held;
    };
    for (const auto& [id, moved, completion, written] : steps) {
        const Rows asShipped = carried(preview(id), completion);
        EXPECT_EQ(asShipped.size(), written);
        EXPECT_EQ(carried(*moved, completion), asShipped) << completion.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, OpenItems, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Cheques, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Orders, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Instalments, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test

// The transport window's steps on real company files, each loaded, ticked and started on its
// panel as a user does: places and routes, expense codes, drivers, vehicles and carnets.
#include "TransportFixture.h"

#include "transfers/transport/Guzergahlar.h"
#include "transfers/transport/KarneTanimlari.h"
#include "transfers/transport/MasrafTanimlari.h"

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

class Places : public TransportTest {
protected:
    Places()
    {
        for (const auto& [code, name, customs] : {std::tuple{"TR", "Türkiye", "Kapıkule"}, {"DE", "Almanya", "Schengen"}})
            put(source(), u"Plk_Kod"_s, {{"Plaka_Kod", code}, {"il", name}, {"Gumruk", customs}});
        for (const auto& [code, name, country] : {std::tuple{"34", "İstanbul", "TR"}, {"M", "München", "DE"},
                                                  {"O'1", "Ordu'nun Köyü", "TR"}, {"XX", "Ülkesi Yok", "ZZ"}})
            put(source(), u"Plk_Kod_Yi"_s, {{"Plaka_Kod", code}, {"il", name}, {"Ulke_Kod", country}});
        put(target(), u"Plk_Kod_Yi"_s, {{"ID", 7}, {"Plaka_Kod", "34"}, {"il", "Eski İstanbul"}, {"Ulke_Kod", "XX"}});
        put(target(), u"Plk_Kod"_s, {{"ID", 3}, {"Plaka_Kod", "TR"}, {"il", "Türkiye"}, {"Gumruk", "Eski"}});
    }
};

TEST_P(Places, CitiesWithAKnownCountryAreMergedByCodeAndTheTickedOnesCarried)
{
    console::PreviewStep& step = open(StepId::Sehirler);
    EXPECT_EQ(gridRows(step, 2), (QList<QStringList>{{"34", "İstanbul", "Türkiye"}, {"M", "München", "Almanya"},
                                                     {"O'1", "Ordu'nun Köyü", "Türkiye"}}));
    EXPECT_EQ(step.grid.colWidth(1), 0);
    step.grid.click(rowWith(step, 2, u"M"_s), 0);
    EXPECT_EQ(step.belmoKayit.text(), u"2"_s);
    for (int run = 0; run < 2; ++run) {
        start(StepId::Sehirler);
        EXPECT_EQ(rows(target(), u"Select ID, Plaka_Kod, il, Ulke_Kod from Plk_Kod_Yi order by ID"_s),
                  (QList<QStringList>{{"7", "34", "İstanbul", "TR"}, {"8", "O'1", "Ordu'nun Köyü", "TR"}}));
    }
}

TEST_P(Places, EveryListedCountryIsCarriedWhateverTheUserClicks)
{
    console::PreviewStep& step = open(StepId::Ulkeler);
    step.grid.click(1, 0);
    step.tumunuSec.press();
    EXPECT_EQ(step.tumunuSec.value(), 1);
    EXPECT_EQ(step.tickedRows(), (QList<int>{1, 2}));
    EXPECT_EQ(step.belmoKayit.text(), u"2"_s);
    start(StepId::Ulkeler);
    EXPECT_EQ(rows(target(), u"Select ID, Plaka_Kod, il, Gumruk from Plk_Kod order by ID"_s),
              (QList<QStringList>{{"3", "TR", "Türkiye", "Kapıkule"}, {"4", "DE", "Almanya", "Schengen"}}));
}

class Routes : public TransportTest {
protected:
    void route(const char* type, const char* fromCountry, const char* from, const char* toCountry, const char* to, double km)
    {
        put(source(), u"Guzergah"_s, {{"Tasima_Tur", type}, {"Yuk_Ulke", fromCountry}, {"Yuk_Yeri", from}, {"Yuk_Ilce", "Merkez"},
                                      {"Bos_Ulke", toCountry}, {"Bos_Yeri", to}, {"Bos_Ilce", "Liman"}, {"Mesafe", km}});
    }
};

TEST_P(Routes, ADomesticRouteTheTargetHasKeepsItsDistanceAndAnEmptyDistanceIsWrittenAsZero)
{
    for (const auto& [from, to, km] : {std::tuple{"34", "06", Value(453.0)}, {"34", "35", Value::null()},
                                       {"O'1", "06", Value(12.5)}})
        put(source(), u"Guzergah_Yi"_s, {{"Yuk_Yeri", from}, {"Bos_Yeri", to}, {"Mesafe", km}});
    put(target(), u"Guzergah_Yi"_s, {{"Yuk_Yeri", "34"}, {"Bos_Yeri", "06"}, {"Mesafe", 999.0}});
    console::PreviewStep& step = open(StepId::GuzergahYi);
    EXPECT_EQ(gridRows(step, 2), (QList<QStringList>{{"34", "06", "453"}, {"34", "35", ""}, {"O'1", "06", "12,5"}}));
    start(StepId::GuzergahYi);
    EXPECT_EQ(step.grid.text(2, 4), u"0"_s);
    EXPECT_EQ(rows(target(), u"Select Yuk_Yeri, Bos_Yeri, Mesafe from Guzergah_Yi order by ID"_s),
              (QList<QStringList>{{"34", "06", "999"}, {"34", "35", "0"}, {"O'1", "06", "12,5"}}));
}

TEST_P(Routes, InternationalRoutesReplaceTheTargetsAndOneWithoutTransportTypeIsCarried)
{
    put(source(), u"Plk_Kod"_s, {{"Plaka_Kod", "TR"}, {"il", "Türkiye"}});
    put(source(), u"Plk_Kod"_s, {{"Plaka_Kod", "DE"}, {"il", "Almanya"}});
    put(source(), u"Plk_Kod_Yi"_s, {{"Plaka_Kod", "34"}, {"il", "İstanbul"}, {"Ulke_Kod", "TR"}});
    route("Karayolu", "TR", "34", "DE", "M", 2150);
    route("", "TR", "34", "DE", "K", 2300);  // no transport type
    route("Ro-Ro", "YY", "Q1", "DE", "Q2", 2480);
    route("Karayolu", "YY", "Q1", "ZZ", "Q2", 100);  // no place the source knows: not listed
    put(target(), u"Guzergah"_s, {{"Tasima_Tur", "Eski"}, {"Mesafe", 1.0}});

    console::PreviewStep& step = open(StepId::GuzergahYd);
    EXPECT_EQ(gridRows(step, 3), (QList<QStringList>{{"Türkiye", "İstanbul", "Almanya", "", "2150"},
                                                     {"Türkiye", "İstanbul", "Almanya", "", "2300"},
                                                     {"", "", "Almanya", "", "2480"}}));
    EXPECT_EQ(step.grid.colWidth(2), 0);
    start(StepId::GuzergahYd);
    EXPECT_EQ(rows(target(), u"Select Tasima_Tur, Yuk_Ulke, Yuk_Yeri, Yuk_Ilce, Bos_Ulke, Bos_Yeri, Bos_Ilce, Mesafe "
                             "from Guzergah order by ID"_s),
              (QList<QStringList>{{"Karayolu", "TR", "34", "Merkez", "DE", "M", "Liman", "2150"},
                                  {"", "TR", "34", "Merkez", "DE", "K", "Liman", "2300"},
                                  {"Ro-Ro", "YY", "Q1", "Merkez", "DE", "Q2", "Liman", "2480"}}));
}

TEST_P(TransportTest, ExpenseCodesReplaceTheTargetsAndARowWithoutACodeIsPassedOver)
{
    for (const auto& [code, name] : {std::pair{Value("D01"), "Yakıt"}, {Value::null(), "Kodsuz"}, {Value("D'03"), "Köprü"},
                                     {Value("D04"), "Seçilmeyen"}})
        put(source(), u"Masraf_Tanim_YD"_s, {{"Masraf_Kod", code}, {"Masraf_Tanim", name}, {"Gider_Bilgisi", "Euro"}});
    put(target(), u"Masraf_Tanim_YD"_s, {{"Masraf_Kod", "ESKI"}, {"Masraf_Tanim", "Yalnız hedefte"}});
    console::PreviewStep& step = open(StepId::MasrafYd);
    step.grid.click(rowWith(step, 1, u"D04"_s), 0);
    start(StepId::MasrafYd);
    EXPECT_EQ(rows(target(), u"Select Masraf_Kod, Masraf_Tanim, Gider_Bilgisi from Masraf_Tanim_YD"_s),
              (QList<QStringList>{{"D01", "Yakıt", "Euro"}, {"D'03", "Köprü", "Euro"}}));

    // The domestic codes cannot be unticked.
    put(source(), u"Masraf_Tanim_Yi"_s, {{"Masraf_Kod", "Y01"}, {"Masraf_Tanim", "Yakıt"}});
    console::PreviewStep& domestic = open(StepId::MasrafYi);
    domestic.grid.click(1, 0);
    EXPECT_TRUE(domestic.ticked(1));
    start(StepId::MasrafYi);
    EXPECT_EQ(rows(target(), u"Select Masraf_Kod from Masraf_Tanim_Yi"_s), (QList<QStringList>{{"Y01"}}));
}

TEST_P(TransportTest, DriversReplaceTheTargetsRenumberedLiveOnesOnlyTwoWithOneName)
{
    put(source(), u"Sofor_YD"_s, {{"ID", 10}, {"Ad_Soyad", "Ali O'Şoför"}, {"Adres", "Hadımköy"}, {"Vize1", "Schengen C"},
                                  {"Vize5_Tarihi", QDate(2026, 4, 10)}, {"PskDeg_No", "PD-1"}, {"Adr_Trh", QDate(2027, 2, 28)},
                                  {"Prim_Oran", 2.5}, {"Nuf_Kutuk", "12"}, {"Sil", 0}});
    for (int id : {11, 12}) put(source(), u"Sofor_YD"_s, {{"ID", id}, {"Ad_Soyad", "Veli Demir"}, {"Sil", 0}});
    put(source(), u"Sofor_YD"_s, {{"ID", 13}, {"Ad_Soyad", "Silinmiş Şoför"}, {"Sil", 1}});
    driver(target(), u"Sofor_YD"_s, u"Eski Şoför"_s);
    driver(target(), u"Sofor_YD"_s, u"Eski Silinmiş"_s, 1);

    console::PreviewStep& step = open(StepId::SoforYd);
    EXPECT_EQ(gridRows(step, 1, 2), (QList<QStringList>{{"10", "Ali O'Şoför"}, {"11", "Veli Demir"}, {"12", "Veli Demir"}}));
    EXPECT_EQ(step.grid.colWidth(0), 240);
    start(StepId::SoforYd);
    EXPECT_EQ(rows(target(), u"Select ID, Ad_Soyad, Sil from Sofor_YD order by ID"_s),
              (QList<QStringList>{{"3", "Ali O'Şoför", "0"}, {"4", "Veli Demir", "0"}, {"5", "Veli Demir", "0"}}));
    EXPECT_EQ(rows(target(), u"Select Adres, Vize1, Vize5_Tarihi, PskDeg_No, Adr_Trh, Prim_Oran, Nuf_Kutuk from Sofor_YD "
                             "where ID=3"_s),
              (QList<QStringList>{{"Hadımköy", "Schengen C", "10.04.2026", "PD-1", "28.02.2027", "2,5", "12"}}));
}

// The domestic vehicles after the domestic drivers, one driver unticked there.
class Vehicles : public TransportTest {
protected:
    Vehicles()
    {
        const qint64 ali = driver(source(), u"Sofor_Yi"_s, u"Ali O'Şoför"_s);
        const qint64 hasan = driver(source(), u"Sofor_Yi"_s, u"Hasan Kaya"_s);
        driver(source(), u"Sofor_Yi"_s, u"Ali O'Şoför"_s);  // a namesake: the vehicle takes the first
        const qint64 gone = driver(source(), u"Sofor_Yi"_s, u"Ayrılan Şoför"_s, 1);
        vehicle("06 ABC 01", ali, 0);
        vehicle("34 XY 99", hasan, 0);
        vehicle("35 DEF 35", gone, 0);  // listed: the driver's own deletion mark is not looked at
        vehicle("41 KL 41", hasan, 0);
        vehicle("16 ZZ 16", 99, 0);     // no such driver in the source: not listed
        vehicle("06 SIL 06", ali, 1);   // deleted: not listed
        put(target(), u"Arac_Tanim_Yi"_s, {{"ID", 40}, {"Plaka", "34 XY 99"}, {"Marka", "Eski"}, {"Sofor_No", 3}});
    }
    void vehicle(const char* plate, qint64 driverId, int sil)
    {
        put(source(), u"Arac_Tanim_Yi"_s, {{"Plaka", plate}, {"Marka", "Ford"}, {"Tonaj", 18.5}, {"Sofor_No", driverId},
                                           {"Kasko_Tarihi", QDate(2026, 3, 15)}, {"Verg_No", "0680123456"}, {"sil", sil}});
    }
};

// Every vehicle whose driver the target lacks is written without one, and one message after
// the completion message lists them all.
TEST_P(Vehicles, AreMergedByPlateAndLinkedAgainToTheirDriversByName)
{
    console::PreviewStep& drivers = open(StepId::SoforYi);
    drivers.grid.click(rowWith(drivers, 2, u"Hasan Kaya"_s), 0);
    start(StepId::SoforYi);
    const QString ali = rows(target(), u"Select ID from Sofor_Yi where Ad_Soyad='Ali O''Şoför' order by ID"_s)[0][0];

    console::PreviewStep& step = open(StepId::AracYi);
    EXPECT_EQ(gridRows(step, 2), (QList<QStringList>{{"06 ABC 01", "Ali O'Şoför"}, {"34 XY 99", "Hasan Kaya"},
                                                     {"35 DEF 35", "Ayrılan Şoför"}, {"41 KL 41", "Hasan Kaya"}}));
    using Icon = services::Dialogs::Icon;
    t.dialogs.expectMessage(completionOf(StepId::AracYi).text, u"Belmo"_s);
    t.dialogs.expectMessage(u"3 araç şoförsüz yazıldı (Sofor_No 0): hedefin Sofor_Yi tablosunda bu adla bir şoför yok."_s,
                            u"Belmo"_s, Icon::Exclamation,
                            u"34 XY 99 — Hasan Kaya\n35 DEF 35 — Ayrılan Şoför\n41 KL 41 — Hasan Kaya"_s);
    step.basla.click();
    t.dialogs.verify();
    EXPECT_EQ(t.dialogs.shown().last().details.count(u'\n'), 2);
    EXPECT_EQ(rows(target(), u"Select ID, Plaka, Marka, Tonaj, Sofor_No, Kasko_Tarihi, Verg_No from Arac_Tanim_Yi order by ID"_s),
              (QList<QStringList>{{"40", "34 XY 99", "Ford", "18,5", "0", "15.03.2026", "0680123456"},
                                  {"41", "06 ABC 01", "Ford", "18,5", ali, "15.03.2026", "0680123456"},
                                  {"42", "35 DEF 35", "Ford", "18,5", "0", "15.03.2026", "0680123456"},
                                  {"43", "41 KL 41", "Ford", "18,5", "0", "15.03.2026", "0680123456"}}));
}

class Carnets : public TransportTest {
protected:
    void carnet(const char* no, QDate end, std::optional<int> handedIn)
    {
        if (handedIn)
            put(source(), u"Karne_Tanim"_s, {{"Karne_No", no}, {"Bas_Trh", end.addYears(-1)}, {"Bit_Trh", end},
                                             {"Plaka", "34 ANT 901"}, {"Sofor", "Sürücü 1"}, {"Teslim", *handedIn}, {"sayfa", "14"}});
        else
            put(source(), u"Karne_Tanim"_s, {{"Karne_No", no}, {"Bas_Trh", end.addYears(-1)}, {"Bit_Trh", end},
                                             {"Plaka", "34 ANT 901"}, {"Sofor", "Sürücü 1"}, {"sayfa", "14"}});
    }
    QList<QStringList> targetCarnets()
    {
        return rows(target(), u"Select Karne_No, Bas_Trh, Bit_Trh, Plaka, Sofor, Teslim, sayfa from Karne_Tanim order by ID"_s);
    }
};

TEST_P(Carnets, ThoseEndingFromTheFirstOfJanuaryAndNotHandedInReplaceTheTargets)
{
    carnet("K-1", QDate(2010, 12, 31), 0);
    carnet("K-2", QDate(2011, 1, 1), 0);
    carnet("K-3", QDate(2012, 6, 30), 1);  // handed in
    carnet("K-4", QDate(2011, 5, 5), 0);
    put(target(), u"Karne_Tanim"_s, {{"Karne_No", "ESKI"}});
    console::PreviewStep& step = open(StepId::Karneler);
    EXPECT_EQ(gridRows(step, 2, 4), (QList<QStringList>{{"K-2", "01.01.2010", "01.01.2011"}, {"K-4", "05.05.2010", "05.05.2011"}}));
    EXPECT_EQ(step.grid.picture(1, 11), widgets::Grid::Picture::Empty);
    start(StepId::Karneler);
    EXPECT_EQ(targetCarnets(), (QList<QStringList>{{"K-2", "01.01.2010", "01.01.2011", "34 ANT 901", "Sürücü 1", "0", "14"},
                                                   {"K-4", "05.05.2010", "05.05.2011", "34 ANT 901", "Sürücü 1", "0", "14"}}));
    source().execute(u"DELETE FROM Karne_Tanim"_s);  // none listed: the total box keeps its count
    open(StepId::Karneler);
    EXPECT_EQ(step.toplamKayit.text(), u"2"_s);
}

// On files only: the source's table is made again without a column in the file's own SQL.
TEST_F(Carnets, ASourceWithoutTeslimListsEveryCarnetEndingInTimeAndTheCopiesTakeTheTargetsDefault)
{
    recreateWithoutColumn(source(), u"Karne_Tanim"_s, u"Teslim"_s);
    carnet("K-1", QDate(2010, 12, 31), std::nullopt);
    carnet("K-2", QDate(2012, 6, 30), std::nullopt);
    console::PreviewStep& step = open(StepId::Karneler);
    EXPECT_EQ(gridRows(step, 2, 2), (QList<QStringList>{{"K-2"}}));
    start(StepId::Karneler);
    EXPECT_EQ(targetCarnets(), (QList<QStringList>{{"K-2", "30.06.2011", "30.06.2012", "34 ANT 901", "Sürücü 1", "0", "14"}}));
}

// A step whose statement shows its values otherwise: `from` replaced by `to`.
template <typename S>
class ShownOtherwise : public S {
public:
    ShownOtherwise(console::StepHost& host, StepId id, QString from, QString to)
        : S(host, id, transfers::transportItem(id).side), from_(std::move(from)), to_(std::move(to)) {}
protected:
    db::Query query() override
    {
        db::Query q = S::query();
        EXPECT_TRUE(q.text.contains(from_)) << q.text.toStdString();
        return {q.text.replace(from_, to_), q.values};
    }
    QString from_, to_;
};

using MakeStep = std::function<std::unique_ptr<console::PreviewStep>(console::StepHost&, StepId)>;
template <typename S>
MakeStep otherwise(const char* from, const char* to)
{
    return [=](console::StepHost& host, StepId id) { return std::make_unique<ShownOtherwise<S>>(host, id, from, to); };
}

const std::tuple<StepId, QString, MakeStep> kShown[] = {
    {StepId::GuzergahYi, u"Yuk_Yeri, Bos_Yeri, Mesafe from Guzergah_Yi"_s,
     otherwise<transfers::Guzergahlar>("ID,Yuk_Yeri,Bos_Yeri,Mesafe", "format(Mesafe,'#,##0.00'),Bos_Yeri,Yuk_Yeri,ID,Mesafe")},
    {StepId::MasrafYd, u"Masraf_Kod, Masraf_Tanim, Gider_Bilgisi from Masraf_Tanim_YD"_s,
     otherwise<transfers::MasrafTanimlari>("Masraf_Kod,Masraf_Tanim,Gider_Bilgisi",
                                           "Masraf_Kod & '   ' & Masraf_Tanim,Gider_Bilgisi,Masraf_Tanim,Masraf_Kod")},
    {StepId::Karneler, u"Karne_No, Bas_Trh, Bit_Trh, Teslim from Karne_Tanim"_s,
     otherwise<transfers::KarneTanimlari>("'dd.mm.yyyy'", "'yyyy-mm-dd'")},
};

TEST_P(TransportTest, HowARowIsShownDoesNotChangeWhatIsCarried)
{
    for (const Value& km : {Value(1234.567), Value::null()})
        put(source(), u"Guzergah_Yi"_s, {{"Yuk_Yeri", "34"}, {"Bos_Yeri", km.isNull() ? "06" : "35"}, {"Mesafe", km}});
    for (const Value& code : {Value("MSR-0001"), Value::null()})
        put(source(), u"Masraf_Tanim_YD"_s, {{"Masraf_Kod", code}, {"Masraf_Tanim", "Yakıt"}, {"Gider_Bilgisi", "Euro"}});
    put(source(), u"Karne_Tanim"_s, {{"Karne_No", "K-1"}, {"Bas_Trh", QDate(2011, 3, 1)}, {"Bit_Trh", QDate(2012, 2, 29)}, {"Teslim", 0}});
    for (const auto& [id, written, shownOtherwise] : kShown) {
        const QString carried = u"Select "_s + written + u" order by 1, 2"_s;
        open(id);
        start(id);
        const QList<QStringList> asShown = rows(target(), carried);
        ASSERT_FALSE(asShown.isEmpty());
        target().execute(u"DELETE FROM "_s + written.section(u' ', -1));
        const auto step = shownOtherwise(*n, id);
        step->FILTRELE();
        start(id, step.get());
        EXPECT_EQ(rows(target(), carried), asShown) << written.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Places, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Routes, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, TransportTest, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Vehicles, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Carnets, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test

// The transport window: opened in the console's place, its two-column menu, the vehicle
// buttons that wait for the drivers of their column, and what all eleven steps share: the
// question before a table is replaced, an empty source, a target that lacks a table.
#include "TransportFixture.h"

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;
using Icon = services::Dialogs::Icon;
using A = widgets::Grid::Alignment;

const QString kDriversFirst = u"Bu işlemden önce Şoför Tanımlarının aktarılması gerekmekte."_s;
const QString kUnknownError = u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s;

// Each step's panel and the target table it writes.
struct StepPanel {
    StepId id;
    QString caption;
    QString table;
};
const StepPanel kPanels[] = {
    {StepId::SoforYi, u"Yurtiçi Nakliyat Şoför Tanımları Belmoi"_s, u"Sofor_Yi"_s},
    {StepId::AracYi, u"Yurtiçi Nakliyat Araç Belmoleri"_s, u"Arac_Tanim_Yi"_s},
    {StepId::Sehirler, u"Şehir Tanımları Belmo İşlemi"_s, u"Plk_Kod_Yi"_s},
    {StepId::GuzergahYi, u"Yurtiçi Güzergah Belmoleri"_s, u"Guzergah_Yi"_s},
    {StepId::MasrafYi, u"Yurtiçi Nakliyat Masraf Tanımları"_s, u"Masraf_Tanim_Yi"_s},
    {StepId::SoforYd, u"Uluslararası Nakliyat Şoför Tanımları Belmoi"_s, u"Sofor_YD"_s},
    {StepId::AracYd, u"Uluslararası Nakliyat Araç Belmoleri"_s, u"Arac_Tanim_YD"_s},
    {StepId::Ulkeler, u"Ülke Tanımları Belmo İşlemi"_s, u"Plk_Kod"_s},
    {StepId::GuzergahYd, u"Uluslararası Güzergah Belmoleri"_s, u"Guzergah"_s},
    {StepId::MasrafYd, u"Uluslararası Nakliyat Masraf Tanımları"_s, u"Masraf_Tanim_YD"_s},
    {StepId::Karneler, u"Karne Tanımları Belmo İşlemi"_s, u"Karne_Tanim"_s},
};

class TransportWindow : public TransportTest {
protected:
    // One row in every table of the target, to see which steps keep and which replace it.
    void fillTargets()
    {
        for (const StepPanel& p : kPanels) target().execute(u"INSERT INTO "_s + p.table + u" DEFAULT VALUES"_s);
    }
    int targetRows(const QString& table) { return rows(target(), u"Select count(*) from "_s + table)[0][0].toInt(); }
    QStringList captions(transfers::Side side)
    {
        QStringList out;
        for (const auto& e : n->menuButtons())
            if (e->item.side == side) out << e->button.caption();
        return out;
    }
    // Pressed on the menu: the refusal, and the menu stays in front.
    void expectRefused(StepId vehicles)
    {
        n->showMenu();
        t.dialogs.expectMessage(kDriversFirst, {}, Icon::Information);
        press(vehicles);
        EXPECT_EQ(n->panels.front(), &n->menu);
    }
};

TEST_P(TransportWindow, TakesTheConsolesPlaceAndItsCikisBringsAFreshConsoleBack)
{
    console::BELMO* before = c;
    EXPECT_EQ(t.console(), nullptr);
    EXPECT_TRUE(t.program.running());
    EXPECT_EQ(n->menu.caption(), u"Nakliyat Belmo İşlemleri"_s);
    EXPECT_EQ(n->panels.front(), &n->menu);
    EXPECT_EQ(n->panels.panels().size(), 12);
    for (const widgets::Panel* panel : n->panels.panels()) EXPECT_EQ(panel->colourScheme(), 1);
    EXPECT_EQ(captions(transfers::Side::Yurtici),
              (QStringList{u"Şoför Tanımları"_s, u"Araç Tanımları"_s, u"Şehir Tanımları"_s, u"Yurtiçi Güzergahlar"_s,
                           u"Masraf Tanımları"_s}));
    EXPECT_EQ(captions(transfers::Side::Uluslararasi),
              (QStringList{u"Şoför Tanımları"_s, u"Araç Tanımları"_s, u"Ülke Tanımları"_s, u"Uluslararası Güzergahlar"_s,
                           u"Masraf Tanımları"_s, u"Karne Tanımları"_s}));

    console::PreviewStep& cities = open(StepId::Sehirler);
    cities.cikis.click();
    EXPECT_EQ(n->panels.front(), &n->menu);

    n->cikis.click();
    EXPECT_TRUE(n->closed());
    ASSERT_NE(t.console(), nullptr);
    EXPECT_NE(t.console(), before);
    EXPECT_EQ(t.console()->panels.front(), &t.console()->menu);
    EXPECT_EQ(t.program.transport(), nullptr);
}

TEST_P(TransportWindow, AVehicleButtonOpensOnlyOnceTheDriversOfItsColumnAreCarriedInThisWindow)
{
    expectRefused(StepId::AracYi);
    expectRefused(StepId::AracYd);
    open(StepId::SoforYi);
    start(StepId::SoforYi);
    EXPECT_TRUE(done(StepId::SoforYi));
    expectRefused(StepId::AracYd);  // the domestic drivers do not unlock the international vehicles
    open(StepId::AracYi);
    open(StepId::SoforYd);
    start(StepId::SoforYd);
    open(StepId::AracYd);

    // The marks go with the window: reopened, it waits for the drivers again.
    n->cikis.click();
    openTransportWindow();
    for (const auto& e : n->menuButtons()) EXPECT_FALSE(e->done.visible());
    expectRefused(StepId::AracYi);
}

TEST_P(TransportWindow, NoToTheQuestionOfAStepThatReplacesItsTableChangesNothing)
{
    fillTargets();
    for (const StepPanel& p : kPanels) {
        if (warningOf(p.id).isEmpty()) continue;
        console::PreviewStep& step = open(p.id);
        t.dialogs.expectQuestion(warningOf(p.id) + u"\rDevam edilsin mi?"_s, {}, false);
        step.basla.click();
        EXPECT_EQ(targetRows(p.table), 1) << p.table.toStdString();
        EXPECT_FALSE(done(p.id));
    }
}

// One blank row, nothing ticked, and "Başla" still finishes: the completion message, the done
// mark, and a replaced table emptied.
TEST_P(TransportWindow, AnEmptySourceWritesNothingAndEveryStepStillFinishes)
{
    fillTargets();
    for (const StepPanel& p : kPanels) {
        SCOPED_TRACE(p.caption.toStdString());
        console::PreviewStep& step = open(p.id);
        EXPECT_EQ(step.frame.caption(), p.caption);
        EXPECT_EQ(step.grid.rows(), 2);
        EXPECT_FALSE(step.ticked(1));
        EXPECT_EQ(step.toplamKayit.text(), p.id == StepId::Karneler ? u"0,00"_s : u"0"_s);
        EXPECT_EQ(step.belmoKayit.text(), u"0"_s);
        for (int c = 0; c < step.grid.cols(); ++c)  // left and vertically centred, or centred at the top
            for (const int a : {step.grid.colAlignment(c), step.grid.headerAlignment(c)})
                EXPECT_TRUE(a == A::LeftCenter || a == A::CenterTop) << "column " << c << ": " << a;
        start(p.id);
        EXPECT_TRUE(done(p.id));
        EXPECT_EQ(targetRows(p.table), warningOf(p.id).isEmpty() ? 1 : 0);
    }
}

TEST_P(TransportWindow, ATargetWithoutATableStopsThatStepBeforeAnyWriteAndTheOthersGoOn)
{
    put(source(), u"Plk_Kod"_s, {{"Plaka_Kod", "TR"}, {"il", "Türkiye"}});
    put(source(), u"Guzergah"_s, {{"Tasima_Tur", "Karayolu"}, {"Yuk_Ulke", "TR"}, {"Mesafe", 10.0}});
    put(source(), u"Guzergah_Yi"_s, {{"Yuk_Yeri", "34"}, {"Bos_Yeri", "06"}, {"Mesafe", 453.0}});
    put(target(), u"Plk_Kod"_s, {{"Plaka_Kod", "XX"}, {"il", "Eski"}});
    target().execute(u"DROP TABLE Guzergah"_s);

    console::PreviewStep& international = open(StepId::GuzergahYd);
    t.dialogs.expectQuestion(warningOf(StepId::GuzergahYd) + u"\rDevam edilsin mi?"_s, {}, true);
    t.dialogs.expectError(kUnknownError, {t.company.path(u"HEDEF"_s), u"no such table: Guzergah"_s});
    international.basla.click();
    EXPECT_FALSE(done(StepId::GuzergahYd));

    open(StepId::GuzergahYi);
    start(StepId::GuzergahYi);
    EXPECT_EQ(rows(target(), u"Select Yuk_Yeri, Bos_Yeri, Mesafe from Guzergah_Yi"_s), (QList<QStringList>{{"34", "06", "453"}}));
}

// A row gone from the source since the grid was loaded is not carried, and said so.
TEST_P(TransportWindow, ARowThatCannotBeCarriedIsListedAfterTheCompletionMessage)
{
    put(source(), u"Plk_Kod"_s, {{"Plaka_Kod", "TR"}, {"il", "Türkiye"}});
    put(source(), u"Plk_Kod"_s, {{"Plaka_Kod", "DE"}, {"il", "Almanya"}});
    open(StepId::Ulkeler);
    source().execute(u"DELETE FROM Plk_Kod WHERE Plaka_Kod='TR'"_s);
    t.dialogs.expectMessage(u"Ülke Tanımları Belmo İşlemi Tamamlandı."_s);
    t.dialogs.expectMessage(u"Aşağıdaki kayıtlar aktarılamadı:\rTR: kaynakta artık yok"_s, u"Belmo"_s, Icon::Exclamation);
    preview(StepId::Ulkeler).basla.click();
    EXPECT_TRUE(done(StepId::Ulkeler));
    EXPECT_EQ(rows(target(), u"Select Plaka_Kod from Plk_Kod"_s), (QList<QStringList>{{"DE"}}));
}

// A row that cannot be deleted stops the step: nothing is half emptied, nothing written. On
// files only: the refusing trigger is written in the file's own SQL.
TEST_F(TransportWindow, ARowThatCannotBeDeletedStopsTheStepAndKeepsTheTable)
{
    put(source(), u"Masraf_Tanim_YD"_s, {{"Masraf_Kod", "D01"}, {"Masraf_Tanim", "Yakıt"}});
    for (const char* code : {"E1", "E2"}) put(target(), u"Masraf_Tanim_YD"_s, {{"Masraf_Kod", code}});
    target().execute(u"CREATE TRIGGER kept BEFORE DELETE ON Masraf_Tanim_YD WHEN old.Masraf_Kod='E2' "
                     "BEGIN SELECT RAISE(ABORT, 'kept by another program'); END"_s);
    console::PreviewStep& step = open(StepId::MasrafYd);
    t.dialogs.expectQuestion(warningOf(StepId::MasrafYd) + u"\rDevam edilsin mi?"_s, {}, true);
    t.dialogs.expectError(kUnknownError, {u"kept by another program"_s});
    step.basla.click();
    EXPECT_FALSE(done(StepId::MasrafYd));
    EXPECT_EQ(rows(target(), u"Select Masraf_Kod from Masraf_Tanim_YD order by Masraf_Kod"_s),
              (QList<QStringList>{{"E1"}, {"E2"}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, TransportWindow, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test

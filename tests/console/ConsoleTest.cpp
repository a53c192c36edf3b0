// The console: its menu, posting modes, done marks and the wizard chain over the steps
// that are built, pressed as a user presses them.
#include "TestSteps.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::MenuItem;
using console::StepId;

const QString kWizardMessage =
    u"Belmo İşlemi Adımları Sırasıyla Karşınıza Otomatik Olarak Gelecek.\nLütfen Gerekli İşlemleri Atlamayınız."_s;

// Company settings run at once; groups, warehouses and stock have panels; the templates,
// transaction definitions, document types and current accounts are not built.
class ConsoleTest : public ::testing::Test {
protected:
    ConsoleTest()
    {
        console::StepRegistry steps;
        steps.add(StepId::SirketBilgileri, u"sirket"_s, u"Şirket Bilgileri"_s, keep(settings, StepId::SirketBilgileri));
        steps.add(StepId::Gruplar, u"grup"_s, u"Grup Tanımları"_s, keep(groups, StepId::Gruplar));
        steps.add(StepId::Depolar, u"depo"_s, u"Depo Tanımları"_s, keep(warehouses, StepId::Depolar));
        steps.add(StepId::Stok, u"stok"_s, u"Stok Kart ve Bakiyeleri"_s, keep(stock, StepId::Stok));
        t = std::make_unique<TestProgram>(std::move(steps));
        t->company.insert(u"Depo"_s, {{"Depo_Kodu", "D1"}, {"Depo_Adi", "Merkez"}, {"Ana_Hs", 0}, {"Sil", 0}});
        c = &t->logIn();
    }

    void expectFinishMessages(int count)
    {
        for (int i = 0; i < count; ++i) t->dialogs.expectMessage(u"Depolar aktarıldı."_s, u"Belmo"_s);
    }
    widgets::Button& button(MenuItem::Kind kind) { return c->entry(kind).button; }

    ImmediateStep* settings = nullptr;
    WarehouseStep* groups = nullptr;
    WarehouseStep* warehouses = nullptr;
    WarehouseStep* stock = nullptr;
    std::unique_ptr<TestProgram> t;
    console::BELMO* c = nullptr;
};

TEST_F(ConsoleTest, LoadingShowsTheMenuWithTheThemeAndOnlyBuiltStepsEnabled)
{
    EXPECT_EQ(c->panels.front(), &c->menu);
    for (const widgets::Panel* panel : c->panels.panels()) EXPECT_EQ(panel->colourScheme(), 1);
    EXPECT_TRUE(c->entry(StepId::Depolar).button.enabled());
    EXPECT_FALSE(c->entry(StepId::CariHesaplar).button.enabled());
    EXPECT_FALSE(button(MenuItem::Kind::Transport).enabled());
    QStringList captions;
    for (const auto& entry : c->menuButtons()) captions << entry->button.caption();
    // A step's caption is its own: one not built has a blank, disabled button in its place.
    EXPECT_EQ(captions.mid(0, 3), (QStringList{QString(), u"Çıkış"_s, u"Stok Kart ve Bakiyeleri"_s}));
    EXPECT_EQ(captions.size(), 17);
    for (const auto& entry : c->menuButtons()) EXPECT_FALSE(entry->done.visible());
}

TEST_F(ConsoleTest, PostingModeBoxesWorkInPairs)
{
    auto& s = t->program.session();
    c->ChH3.press();
    EXPECT_EQ(s.HModu, 3);
    EXPECT_EQ(c->ChH2.value(), 0);
    c->ChH3.press();  // pressing the ticked box keeps it ticked
    EXPECT_EQ(c->ChH3.value(), 1);
    EXPECT_EQ(s.HModu, 3);
    c->ChK3.press();
    c->ChK2.press();
    EXPECT_EQ(s.KModu, 2);
    EXPECT_EQ(c->ChK3.value(), 0);
    c->ChH2.press();
    EXPECT_EQ(s.HModu, 2);
}

TEST_F(ConsoleTest, TheWizardRunsTheBuiltStepsInChainOrderAndBringsTheMenuBack)
{
    t->dialogs.expectMessage(kWizardMessage);
    t->dialogs.expectMessage(u"Şirket bilgileri aktarıldı."_s, u"Belmo"_s);
    button(MenuItem::Kind::Wizard).click();
    EXPECT_EQ(c->SihirbazModu, 1);
    EXPECT_EQ(settings->runs, 1);
    EXPECT_TRUE(c->entry(StepId::SirketBilgileri).done.visible());
    // Templates, transaction definitions and document types are passed over.
    EXPECT_EQ(c->panels.front(), &groups->frame);

    expectFinishMessages(3);
    groups->basla.click();
    EXPECT_EQ(c->panels.front(), &warehouses->frame);
    EXPECT_EQ(warehouses->loadedRows(), 1);
    warehouses->basla.click();
    EXPECT_EQ(c->panels.front(), &stock->frame);  // the current accounts are passed over
    int reports = 0;
    c->onReport = [&reports] { ++reports; };
    stock->basla.click();
    EXPECT_EQ(c->panels.front(), &c->menu);  // nothing built after the stock
    EXPECT_EQ(reports, 1);                    // the end of the chain shows the report
    for (const StepId id : {StepId::Gruplar, StepId::Depolar, StepId::Stok}) EXPECT_TRUE(c->entry(id).done.visible());
}

TEST_F(ConsoleTest, AFailedStepDoesNotMoveTheWizardOn)
{
    t->dialogs.expectMessage(kWizardMessage);
    t->dialogs.expectMessage(u"Şirket bilgileri aktarıldı."_s, u"Belmo"_s);
    button(MenuItem::Kind::Wizard).click();
    groups->failStart = true;
    t->dialogs.expectMessage(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s);
    groups->basla.click();
    EXPECT_EQ(c->panels.front(), &groups->frame);
    EXPECT_FALSE(c->entry(StepId::Gruplar).done.visible());
}

// The user's cancel while a row's statement runs is neither the row's failure nor the
// database's: the step is rolled back and says it was cancelled.
TEST_F(ConsoleTest, ACancelWhileAStatementRunsRollsTheStepBackWithoutAnError)
{
    c->entry(StepId::Depolar).button.click();
    warehouses->cancelStart = true;
    t->dialogs.expectMessage(u"İşlem iptal edildi; hedef veri tabanına hiçbir şey yazılmadı."_s, u"Belmo"_s);
    warehouses->basla.click();
    EXPECT_TRUE(warehouses->read.isEmpty());
    EXPECT_FALSE(c->entry(StepId::Depolar).done.visible());
    db::Connection target(t->company.pool());
    target.open(t->company.connectionString(u"HEDEF"_s));
    EXPECT_EQ(t->company.rows(target, u"Select count(*) from Depo"_s), QList<QStringList>{{u"0"_s}});
}

TEST_F(ConsoleTest, LeavingAPanelEndsTheChainAndTheWizardRestartsAtTheCompanySettings)
{
    t->dialogs.expectMessage(kWizardMessage);
    t->dialogs.expectMessage(u"Şirket bilgileri aktarıldı."_s, u"Belmo"_s);
    button(MenuItem::Kind::Wizard).click();
    expectFinishMessages(1);
    groups->basla.click();
    warehouses->cikis.click();  // uncovers the menu, not the panel of the step before
    EXPECT_EQ(c->panels.front(), &c->menu);

    groups->grid.click(1, 0);
    t->dialogs.expectMessage(kWizardMessage);
    t->dialogs.expectMessage(u"Şirket bilgileri aktarıldı."_s, u"Belmo"_s);
    button(MenuItem::Kind::Wizard).click();
    EXPECT_EQ(settings->runs, 2);
    EXPECT_EQ(c->panels.front(), &groups->frame);
    EXPECT_TRUE(groups->ticked(1));  // reloaded and ticked again
}

TEST_F(ConsoleTest, OnceTheWizardHasRunAStepFinishedFromTheMenuOpensItsSuccessor)
{
    expectFinishMessages(1);
    c->entry(StepId::Depolar).button.click();
    warehouses->basla.click();  // not in wizard mode: the panel stays
    EXPECT_EQ(c->panels.front(), &warehouses->frame);
    EXPECT_TRUE(c->entry(StepId::Depolar).done.visible());
    warehouses->cikis.click();

    t->dialogs.expectMessage(kWizardMessage);
    t->dialogs.expectMessage(u"Şirket bilgileri aktarıldı."_s, u"Belmo"_s);
    button(MenuItem::Kind::Wizard).click();
    groups->cikis.click();

    expectFinishMessages(1);
    c->entry(StepId::Depolar).button.click();
    warehouses->basla.click();
    EXPECT_EQ(c->panels.front(), &stock->frame);
}

TEST_F(ConsoleTest, ExitClosesTheConsoleAndEndsTheProgram)
{
    button(MenuItem::Kind::Exit).click();
    EXPECT_EQ(t->console(), nullptr);
    EXPECT_FALSE(t->program.running());
}

}  // namespace
}  // namespace belmo::test

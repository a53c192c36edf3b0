// The console worked from the keyboard through its real views: Enter presses the focused
// button, Esc cancels a load, Tab walks each panel in one order; and its status line.
#include "DemoProgram.h"

#include "console/PreviewStep.h"
#include "db/Connection.h"
#include "gui/ConsoleView.h"
#include "gui/GridView.h"
#include "gui/PanelView.h"
#include "gui/TransportView.h"
#include "transfers/TransferSteps.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

// What Tab visits on a panel from its grid up to its "Çıkış": "grid", or a button's caption
// ("?" for the search button, which has a picture only).
QStringList tabChain(const gui::PanelView& panel)
{
    QStringList chain{u"grid"_s};
    for (QWidget* w = panel.gridView()->nextInFocusChain(); w != panel.gridView() && !chain.endsWith(u"Çıkış"_s);
         w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !panel.isAncestorOf(w)) continue;
        const auto* button = qobject_cast<QAbstractButton*>(w);
        chain << (button ? (button->text().isEmpty() ? u"?"_s : button->text()) : w->metaObject()->className());
    }
    return chain;
}

TEST(Keyboard, EnterPressesTheFocusedButtonAndEscCancelsALoadWhichLeavesTheListAsItWas)
{
    DemoProgram demo(transfers::transferSteps());
    console::BELMO& console = demo.logIn();
    gui::ConsoleView view(console);
    auto& step = static_cast<console::PreviewStep&>(*console.step(StepId::Depolar));
    QPushButton* menuButton = buttonCalled(&view, u"Depo Tanımları"_s);
    QTest::keyClick(menuButton, Qt::Key_Return);
    ASSERT_EQ(console.panels.front(), &step.frame);
    step.grid.click(1, 0);
    const QList<int> ticked = step.tickedRows();
    const int rows = step.grid.rows();
    const QString total = step.toplamKayit.text(), carried = step.belmoKayit.text();

    demo.dialogs.expectMessage(u"Depo Tanımları Aktarıldı."_s);
    QTest::keyClick(buttonCalled(&view, u"Başla"_s), Qt::Key_Enter, Qt::KeypadModifier);
    demo.dialogs.verify();
    EXPECT_TRUE(console.entry(StepId::Depolar).done.visible());
    QTest::keyClick(buttonCalled(&view, u"Çıkış"_s), Qt::Key_Return);
    ASSERT_EQ(console.panels.front(), &console.menu);

    // A list long enough for the load to let the window repaint, where the Esc waiting in
    // the queue reaches the busy strip.
    db::Connection source(demo.program.session().pool());
    source.open(demo.program.session().KaynakBag);
    source.execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
                   u"INSERT INTO Depo (Depo_Kodu, Depo_Adi, Ana_Hs, Sil) SELECT 'Y' || i, 'Y' || i, 153, 0 FROM n"_s);
    QCoreApplication::postEvent(menuButton, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    demo.dialogs.expectMessage(u"Listenin yüklenmesi iptal edildi; önceki liste duruyor."_s, u"Belmo"_s);
    QTest::keyClick(menuButton, Qt::Key_Return);
    demo.dialogs.verify();
    EXPECT_EQ(console.panels.front(), &console.menu);
    EXPECT_EQ(step.grid.rows(), rows);
    EXPECT_EQ(step.tickedRows(), ticked);
    EXPECT_EQ(step.toplamKayit.text(), total);
    EXPECT_EQ(step.belmoKayit.text(), carried);
}

TEST(Keyboard, TabGoesFromTheGridToTheOptionsThenStartAndExitAndTheStatusLineNamesTheCompanies)
{
    DemoProgram demo(transfers::transferSteps());
    console::BELMO& console = demo.logIn();
    gui::ConsoleView consoleView(console);
    transfers::NAKLIYAT transport(demo.program.session());
    gui::TransportView transportView(transport);
    const struct {
        const gui::PanelView* panel;
        QStringList chain;
    } cases[] = {
        {consoleView.panelView(*console.step(StepId::CariHesaplar)->panel()),
         {u"grid"_s, u"Bakiyesizleri Gizle"_s, u"Tümünü Seç"_s, u"Bakiyeleri Belmoetme"_s, u"Başla"_s, u"Çıkış"_s}},
        {consoleView.panelView(*console.step(StepId::Cekler)->panel()),
         {u"grid"_s, u"Portföydeki Çekler"_s, u"Takastaki Çekler"_s, u"?"_s, u"Tümünü Seç"_s, u"Başla"_s, u"Çıkış"_s}},
        {transportView.panelView(*transport.step(StepId::Karneler)->panel()),
         {u"grid"_s, u"Tümünü Seç"_s, u"Başla"_s, u"Çıkış"_s}},  // buttons on top
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.panel, nullptr);
        EXPECT_EQ(tabChain(*c.panel), c.chain) << c.panel->panel().caption().toStdString();
        EXPECT_FALSE(c.panel->gridView()->tabKeyNavigation());  // Tab leaves the grid
    }

    const QString status = u"ADMIN · DEMO2025 (2025) → DEMO2026 (2026)"_s;
    EXPECT_EQ(console.durumSatiri.text(), status);
    auto* bar = consoleView.findChild<QStatusBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->findChild<QLabel*>()->text(), status);
}

}  // namespace
}  // namespace belmo::test

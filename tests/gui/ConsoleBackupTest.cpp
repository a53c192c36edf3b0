// The console after the login's first write: the message line names the backup of the
// target, and "Yedeği Geri Yükle" puts it back after a question naming the file. The console
// worked from the keyboard through its real views, and its status line.
#include "DemoProgram.h"

#include "console/PreviewStep.h"
#include "db/Connection.h"
#include "gui/ConsoleView.h"
#include "proof/Backups.h"
#include "transfers/TransferSteps.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(ConsoleBackup, TheBackupOfTheFirstWriteIsOfferedAndPutBackOnYes)
{
    for (const bool yes : {false, true}) {
        DemoProgram demo(transfers::transferSteps());
        app::Session& session = demo.program.session();
        proof::SessionBackups keeper(session.pool().settings(), proof::Backups::kDefaultKeep);
        session.keeper = &keeper;
        console::BELMO& console = demo.logIn();
        EXPECT_FALSE(console.yedegiGeriYukle.visible());
        console::BELMO::MenuButton& step = console.entry(console::StepId::SirketBilgileri);
        demo.dialogs.expectMessage(u"Şirket bilgileri Aktarıldı."_s, u"Belmo"_s);
        step.button.click();
        const QString backup = session.backup();
        EXPECT_EQ(console.mesajSatiri.text(), u"Hedef veritabanının yedeği: "_s + backup);
        ASSERT_TRUE(console.yedegiGeriYukle.visible());

        demo.dialogs.expectQuestion(u"Hedef veritabanı bu yedekteki haline döndürülecek:\r%1\rDevam edilsin mi?"_s.arg(backup), {}, yes);
        if (yes) demo.dialogs.expectMessage(u"Hedef veritabanı yedekten geri yüklendi."_s);
        console.yedegiGeriYukle.click();
        demo.dialogs.verify();
        const proof::Backups backups(QFileInfo(session.targetFile()).absolutePath(), session.pool().settings());
        EXPECT_EQ(backups.list(u"DEMO2026"_s).size(), yes ? 2u : 1u);  // on Yes, the carried state's too
        EXPECT_EQ(step.done.visible(), !yes);
        EXPECT_EQ(console.mesajSatiri.text().startsWith(u"Yedek geri yüklendi: "_s + backup), yes);
    }
}

// Enter presses the focused button; Esc while a list loads cancels the load, which says so
// and leaves the list loaded before with its ticks and counts.
TEST(Keyboard, EnterPressesTheFocusedButtonAndEscCancelsALoadLeavingTheListAsItWas)
{
    DemoProgram demo(transfers::transferSteps());
    console::BELMO& console = demo.logIn();
    EXPECT_EQ(console.durumSatiri.text(), u"ADMIN · DEMO2025 (2025) → DEMO2026 (2026)"_s);
    gui::ConsoleView view(console);
    auto& step = static_cast<console::PreviewStep&>(*console.step(console::StepId::Depolar));
    QPushButton* menuButton = buttonCalled(&view, u"Depo Tanımları"_s);
    QTest::keyClick(menuButton, Qt::Key_Return);
    step.grid.click(1, 0);
    const auto shown = [&step] { return std::tuple(step.grid.rows(), step.tickedRows(), step.toplamKayit.text(), step.belmoKayit.text()); };
    const auto before = shown();
    demo.dialogs.expectMessage(u"Depo Tanımları Aktarıldı."_s);
    QTest::keyClick(buttonCalled(&view, u"Başla"_s), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(buttonCalled(&view, u"Çıkış"_s), Qt::Key_Return);

    // A list long enough for the load to repaint the window: the Esc waiting reaches the busy strip.
    db::Connection source(demo.program.session().pool());
    source.open(demo.program.session().KaynakBag);
    source.execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
                   u"INSERT INTO Depo (Depo_Kodu, Depo_Adi, Ana_Hs, Sil) SELECT 'Y' || i, 'Y' || i, 153, 0 FROM n"_s);
    QCoreApplication::postEvent(menuButton, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    demo.dialogs.expectMessage(u"Listenin yüklenmesi iptal edildi; önceki liste duruyor."_s, u"Belmo"_s);
    QTest::keyClick(menuButton, Qt::Key_Return);
    demo.dialogs.verify();
    EXPECT_TRUE(console.entry(console::StepId::Depolar).done.visible());
    EXPECT_EQ(console.panels.front(), &console.menu);
    EXPECT_EQ(shown(), before);
}

}  // namespace
}  // namespace belmo::test

// The console after the login's first write: the message line names the backup of the
// target, and "Yedeği Geri Yükle" puts it back after a question naming the file.
#include "DemoProgram.h"

#include "proof/Backups.h"
#include "transfers/TransferSteps.h"

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

}  // namespace
}  // namespace belmo::test

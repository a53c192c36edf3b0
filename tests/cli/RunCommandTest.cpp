// `belmo run`: the login and the steps pressed headless on the same window models, with
// every exchange printed and a line per step.
#include "DemoRun.h"
#include "console/TestSteps.h"
#include "support/TestProgram.h"

#include "cli/Cli.h"

#include <QRegularExpression>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

const QString kMasterData = u"sirket,sablon,islem,evrak,grup,depo,muhasebe,plasiyer"_s;

TEST_F(DemoRun, TheWizardCarriesTheMasterDataAndPrintsEveryExchange)
{
    const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--yes"_s});
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Logged in; user code 05."_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"[message \"Belmo\"] Belmo İşlemi Adımları Sırasıyla Karşınıza Otomatik Olarak Gelecek.\n"
                               "      Lütfen Gerekli İşlemleri Atlamayınız.\n      -> OK"_s))
        << r.out.toStdString();
    // A message whose lines are separated by carriage returns prints one line each.
    EXPECT_TRUE(r.out.contains(u"Dikkat Muhasebe Hesapları Bekiyesiz Aktarılır.\n"
                               "      Yeni Şirket üzerinden gerekli bakiye girişlerini\n"
                               "      belmo bakiyesi olarak giriniz\n      -> OK"_s));
    EXPECT_TRUE(r.out.contains(u"  depo (Depo Tanımları): 4 listed, 4 ticked, finished\n"
                               "  cari (Cari Hesaplar ve Bakiyeler): 39 listed, 39 ticked, finished\n"
                               "  stok (Stok Kart ve Bakiyeleri): 82 listed, 82 ticked, finished\n"
                               "  siparis (Sipariş Belmoleri): 17 listed, 17 ticked, finished\n"
                               "  cek (Çek Belmoleri): Portföydeki Çekler 12 listed, 12 ticked; "
                               "Takastaki Çekler 2 listed, 2 ticked, finished\n"
                               "  muhasebe (Muhasebe Belmoleri): 21 listed, 21 ticked, finished\n"
                               "  taksit (Taksit Belmoleri): 11 listed, 11 ticked, finished\n"
                               "  plasiyer (Plasiyer Tanımları): 4 listed, 4 ticked, finished\n"_s))
        << r.out.toStdString();
}

TEST_F(DemoRun, NoToTheTemplateQuestionStopsTheWizard)
{
    const RunResult r = belmoRun(login(u"1234"_s));
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"  sablon (Şablonları Aktar): not finished\n"_s)) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"islem ("_s));
}

TEST_F(DemoRun, RunningTheMasterDataStepsTwiceLeavesTheTargetAsAfterOneRun)
{
    const RunResult first = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, kMasterData, u"--yes"_s});
    ASSERT_EQ(first.code, cli::kOk) << first.out.toStdString();
    const QList<QStringList> once = targetTables();
    EXPECT_TRUE(once.contains(QStringList{"770", "01", "A'01", "Avukatlık Ücretleri", "M"}));
    EXPECT_TRUE(once.contains(QStringList{"2", "02", "Kadıköy'deki Depo", "153", "0"}));
    EXPECT_TRUE(once.contains(QStringList{"11", "OTO'YED", "Oto Yedek Parça", "153", "0"}));
    EXPECT_TRUE(once.contains(QStringList{"3", "335", "01", "003", "OTO'YED", "01", "1,75", "0"}));

    const RunResult second = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, kMasterData, u"--yes"_s});
    ASSERT_EQ(second.code, cli::kOk) << second.out.toStdString();
    // The salespeople the first run added are asked about, and "yes to all" writes them again.
    EXPECT_TRUE(second.out.contains(u"üzerine kaydedilsin mi?\n      -> TUMU"_s)) << second.out.toStdString();
    EXPECT_EQ(targetTables(), once);
}

// The cheques are carried from both lists, one "Başla" each; orders and instalments are asked
// about and marked deleted before the second copy, cheques are written again.
TEST_F(DemoRun, RunningTheOpenItemStepsTwiceLeavesOneLiveCopyOfTheOrdersAndInstalments)
{
    const QStringList steps = {u"--steps"_s, u"siparis,cek,taksit"_s, u"--yes"_s};
    const RunResult first = belmoRun(login(u"1234"_s) + steps);
    ASSERT_EQ(first.code, cli::kOk) << first.out.toStdString();
    EXPECT_TRUE(first.out.contains(u"Çek Belmoleri Tamamlandı.\n      -> OK\n  [Takastaki Çekler]\n"
                                   "  [message \"Belmo\"] Çek Belmoleri Tamamlandı."_s))
        << first.out.toStdString();
    const RunResult second = belmoRun(login(u"1234"_s) + steps);
    ASSERT_EQ(second.code, cli::kOk) << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(u"İşleme devam edilsin mi?\n      -> Evet"_s)) << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(u"Devam Edilsin mi?\n      -> Evet\n  [message \"Belmo\"] Taksitler Aktarıldı."_s));

    const auto listed = [&](const QString& key) {
        const QRegularExpressionMatch m = QRegularExpression(key + u" \\([^)]*\\): (\\d+) listed"_s).match(second.out);
        return m.hasMatch() ? m.captured(1) : QString();
    };
    db::Connection target(reader.pool());
    openCompany(target, u"DEMO2026"_s);
    EXPECT_EQ(reader.rows(target, u"SELECT count(*) FROM Kayit INNER JOIN Cari_Sip ON Kayit.Kayit_No=Cari_Sip.Kayit_No "
                                   "WHERE Kayit.Sil=0"_s),
              QList<QStringList>{{listed(u"siparis"_s)}});
    EXPECT_EQ(reader.rows(target, u"SELECT count(*) FROM Taksit_H WHERE Sil=0"_s), QList<QStringList>{{listed(u"taksit"_s)}});
}

TEST_F(DemoRun, AWrongPasswordPrintsTheRefusalAndFails)
{
    const RunResult r = belmoRun(login(u"12345"_s));
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"[message \"Belmo\"] GİRİŞ ONAYLANMADI"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"Login refused."_s));
}

TEST_F(DemoRun, AnUnknownStepIsAUsageError)
{
    const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, u"depo,kasa"_s});
    EXPECT_EQ(r.code, cli::kBadUsage);
    EXPECT_TRUE(r.err.contains(u"there is no step 'kasa'"_s));
}

// With steps built, the runner presses "Başla" on every panel the wizard opens, or on the
// steps asked for, and tells what became of each.
class StepsRun : public ::testing::Test {
protected:
    StepsRun()
    {
        steps.add(StepId::SirketBilgileri, keep(settings, StepId::SirketBilgileri));
        steps.add(StepId::Depolar, keep(warehouses, StepId::Depolar));
        steps.add(StepId::Gruplar, keep(groups, StepId::Gruplar, u"Depo"_s, true));
        t.company.insert(u"Depo"_s, {{"Depo_Kodu", "D1"}, {"Ana_Hs", 0}, {"Sil", 0}});
        t.company.insert(u"Depo"_s, {{"Depo_Kodu", "D2"}, {"Ana_Hs", 0}, {"Sil", 0}});
        args = {u"--folder"_s, t.company.folder(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"admin"_s,
                u"--source"_s, u"KAYNAK"_s, u"--target"_s, u"HEDEF"_s};
    }
    TestProgram t;  // the folder; the runner starts its own program on it
    console::StepRegistry steps;
    ImmediateStep* settings = nullptr;
    WarehouseStep* warehouses = nullptr;
    WarehouseStep* groups = nullptr;
    QStringList args;
};

TEST_F(StepsRun, TheWizardStopsAtAStepThatFailsAndTheExitCodeSaysSo)
{
    const RunResult r = belmoRun(args, &steps);
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"Summary:\n"
                               "  sirket (Şirket Bilgileri): finished\n"
                               "  grup (Grup Tanımları): 2 listed, 2 ticked, not finished\n"_s))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"depo (Depo"_s));  // never reached
    EXPECT_TRUE(r.out.contains(u"  islem: not built yet\n"_s));
}

TEST_F(StepsRun, TheStepsAskedForRunInTheOrderGiven)
{
    const RunResult r = belmoRun(args + QStringList{u"--steps"_s, u"depo,sirket"_s}, &steps);
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString();
    const qsizetype depo = r.out.indexOf(u"Depolar aktarıldı."_s);
    EXPECT_GT(depo, 0);
    EXPECT_GT(r.out.indexOf(u"Şirket bilgileri aktarıldı."_s), depo);
    EXPECT_TRUE(r.out.contains(u"  depo (Depo Tanımları): 2 listed, 2 ticked, finished\n"
                               "  sirket (Şirket Bilgileri): finished\n"_s))
        << r.out.toStdString();
}

}  // namespace
}  // namespace belmo::test

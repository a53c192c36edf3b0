// `belmo run`: the login and the steps pressed headless on the same window models, with
// every exchange printed and a line per step.
#include "console/TestSteps.h"
#include "support/TestProgram.h"

#include "cli/Cli.h"
#include "demo/Demo.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

struct RunResult {
    int code;
    QString out;
    QString err;
};

RunResult belmoRun(const QStringList& args, const console::StepRegistry* steps = nullptr)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = steps ? cli::runTransfers(args, o, e, *steps) : cli::run(QStringList{u"run"_s} + args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

class DemoRun : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new QTemporaryDir;
        demo::createDemoFolder(folder_->path(), demo::Size::Small, false, [](const QString&) {});
    }
    static void TearDownTestSuite() { delete folder_; }
    static QStringList login(const QString& password)
    {
        return {u"--folder"_s, folder_->path(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s, password,
                u"--source"_s, u"DEMO2025"_s, u"--target"_s, u"DEMO2026"_s};
    }
    static QTemporaryDir* folder_;
};
QTemporaryDir* DemoRun::folder_ = nullptr;

TEST_F(DemoRun, LogsInRunsTheWizardAndPrintsItsExchanges)
{
    const RunResult r = belmoRun(login(u"1234"_s));
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Logged in; user code 05."_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"[message \"Belmo\"] Belmo İşlemi Adımları Sırasıyla Karşınıza Otomatik Olarak Gelecek.\n"
                               "      Lütfen Gerekli İşlemleri Atlamayınız.\n      -> OK"_s))
        << r.out.toStdString();
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
                               "  grup (Grup Tanımları): 2 listed, 2 ticked, failed\n"_s))
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

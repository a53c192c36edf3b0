// A step is all or nothing, also when the target cannot be written as the step needs it: held
// by another program, without a table or column the step writes, on a full disk. The step
// is not finished, says why and where, and leaves the target as it was.
#include "DemoRun.h"

#include "cli/Cli.h"

#include <QProcess>

#include <sqlite3.h>
#include <sys/resource.h>

#include <csignal>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class StepFrame : public DemoRun {
protected:
    QString targetPath() const { return companyPath(u"DEMO2026"_s); }
    QStringList run(const QString& steps) const { return login(u"1234"_s) + QStringList{u"--steps"_s, steps, u"--yes"_s}; }
    // Rows of the tables the balance steps write.
    QList<QStringList> written()
    {
        db::Connection target(reader.pool());
        openCompany(target, u"DEMO2026"_s);
        return reader.rows(target, u"Select (Select count(*) from Hesaplar), (Select count(*) from Stok_Tanim), "
                                   u"(Select count(*) from Kayit), (Select count(*) from Evr)"_s);
    }
    // Another program's write transaction on the target.
    struct Holder {
        db::HandlePtr db;
        explicit Holder(const QString& path) : db(otherProgram(path))
        {
            sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        }
        void release() { sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr); }
    };
};

TEST_F(StepFrame, ATargetHeldByAnotherProgramForTheWholeWaitIsLeftAsItWas)
{
    const auto before = written();
    Holder other(targetPath());
    const RunResult r = belmoRun(run(u"cari"_s) + QStringList{u"--wait"_s, u"1"_s});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"  waiting for "_s + targetPath() + u" (locked by another program)"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(targetPath() + u": database is locked by another program (waited 1 s)"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"  cari (Cari Hesaplar ve Bakiyeler): 39 listed, 39 ticked, not finished\n"_s));
    EXPECT_FALSE(r.out.contains(u"Tamamlandı"_s));
    other.release();
    EXPECT_EQ(written(), before);
}

TEST_F(StepFrame, ALockReleasedWithinTheWaitChangesNothingInTheResult)
{
    Holder other(targetPath());
    // The other program ends its transaction while the run waits for it.
    const RunResult r = belmoRun(run(u"cari"_s), nullptr, [&](const QString& printed) {
        if (printed.contains(u"waiting for "_s)) other.release();
    });
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"  waiting for "_s + targetPath()));
    EXPECT_TRUE(r.out.contains(u"  cari (Cari Hesaplar ve Bakiyeler): 39 listed, 39 ticked, finished\n"_s));
    EXPECT_EQ(written().value(0).value(0), u"38"_s);  // the cards but "000"
}

// Nothing of the step is written: no cards without their balances.
TEST_F(StepFrame, ATargetWithoutATableOrColumnTheStepWritesStopsItBeforeAnyWrite)
{
    const auto before = written();
    db::Connection target(reader.pool());
    openCompany(target, u"DEMO2026"_s);
    recreateWithoutColumn(target, u"Stok_H"_s, u"Depo_Kodu"_s);
    RunResult r = belmoRun(run(u"stok"_s));
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(targetPath() + u": no such column: Stok_H.Depo_Kodu"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"  stok (Stok Kart ve Bakiyeleri): 82 listed, 82 ticked, not finished\n"_s));

    target.execute(u"DROP TABLE Cari_H"_s);
    r = belmoRun(run(u"cari"_s));
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(targetPath() + u": no such table: Cari_H"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"  cari (Cari Hesaplar ve Bakiyeler): 39 listed, 39 ticked, not finished\n"_s));
    EXPECT_EQ(written(), before);
}

// The real program, its files limited in size as on a full disk: the stock step's writes
// fail half-way and are rolled back; the source's views still fit.
TEST_F(StepFrame, AFullDiskDuringTheStockStepRollsItBack)
{
    const auto before = written();
    QProcess p;
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_DFL);  // the program itself makes the write fail instead of ending
        rlimit limit{48 * 1024, 48 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    // Without the backup, which would meet the limit first.
    p.start(BELMO_EXECUTABLE, QStringList{u"run"_s} + run(u"stok"_s) + QStringList{u"--no-backup"_s});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), cli::kFailed) << out.toStdString();
    EXPECT_TRUE(out.contains(targetPath() + u": disk I/O error while writing: the file size limit is reached"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"  stok (Stok Kart ve Bakiyeleri): 82 listed, 82 ticked, not finished\n"_s));
    EXPECT_EQ(written(), before);
}

}  // namespace
}  // namespace belmo::test

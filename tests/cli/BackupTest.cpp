// The backups of a target: made before a run's first write, put back by restore, refused for
// a file that is no company; the rehearsal on a scratch copy; the run log.
#include "DemoRun.h"

#include "cli/Cli.h"
#include "db/Schema.h"
#include "proof/Backups.h"
#include "proof/RunSummary.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <sqlite3.h>
#include <unistd.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class Backups : public DemoRun {
protected:
    QString target() const { return companyPath(u"DEMO2026"_s); }
    QString yedek() const { return folder_.path() + u"/MUHASEBE/Yedek"_s; }
    QString hash() const { return proof::sha256OfFile(target()); }
    QList<QByteArray> logLines() const
    {
        QFile log(folder_.path() + u"/logs/belmo-runs.jsonl"_s);
        QList<QByteArray> lines = log.open(QIODevice::ReadOnly) ? log.readAll().split('\n') : QList<QByteArray>{};
        lines.removeAll(QByteArray());
        return lines;
    }
    // Every row of every table of the target, table by table.
    QList<QStringList> everyRow()
    {
        db::Connection con(reader.pool());
        openCompany(con, u"DEMO2026"_s);
        QList<QStringList> all;
        for (const db::schema::Table& t : db::schema::companyTables()) all << QStringList{t.name} << reader.rows(con, u"Select * from "_s + t.name);
        return all;
    }
};

TEST_F(Backups, ARehearsalLeavesTheTargetAsItWasAndEachWritingRunLogsOneLine)
{
    qsizetype logged = 0;
    for (const bool dryRun : {true, false, true, false}) {
        const QString before = hash();
        const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, u"sirket,islem,cari"_s, u"--yes"_s}
                                     + (dryRun ? QStringList{u"--dry-run"_s} : QStringList{}));
        EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString() << r.err.toStdString();
        EXPECT_TRUE(!dryRun || hash() == before);
        EXPECT_EQ(r.out.contains(u"Rehearsal on a scratch copy of DEMO2026: "_s), dryRun);
        EXPECT_EQ(r.out.contains(u"Backup of DEMO2026: "_s + yedek() + u"/DEMO2026-"_s), !dryRun) << r.out.toStdString();
        EXPECT_EQ(logLines().size(), logged += dryRun ? 0 : 1);
    }
    const QJsonObject last = QJsonDocument::fromJson(logLines().last()).object();
    EXPECT_FALSE(last[u"dry_run"_s].toBool());
    EXPECT_EQ(last[u"backup"_s].toString(), belmo({u"backups"_s, u"--folder"_s, folder_.path(), u"DEMO2026"_s}).out.section(u'\n', 0, 0).section(u"  "_s, -1));
}

TEST_F(Backups, RestorePutsTheCarriedTargetBackRowByRow)
{
    const QList<QStringList> before = everyRow();
    ASSERT_EQ(belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, u"sirket,islem,cari,stok,cek"_s, u"--yes"_s}).code, cli::kOk);
    ASSERT_NE(everyRow(), before);
    const RunResult r = belmo({u"restore"_s, u"--folder"_s, folder_.path(), u"DEMO2026"_s});
    EXPECT_EQ(r.code, cli::kOk) << r.err.toStdString();
    EXPECT_EQ(everyRow(), before);
    // The run's backup and the one of the carried state, newest first.
    EXPECT_EQ(belmo({u"backups"_s, u"--folder"_s, folder_.path(), u"DEMO2026"_s}).out.count(u"/DEMO2026-"_s), 2);
}

TEST_F(Backups, ABackupThatCannotBeWrittenStopsTheRunBeforeItsFirstWrite)
{
    ASSERT_TRUE(QDir().mkpath(yedek()));
    QFile::setPermissions(yedek(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QStringList command{QStringLiteral(BELMO_EXECUTABLE), u"run"_s};
    if (::geteuid() == 0) {  // root writes anywhere: the run goes as another user, to whom the rest belongs
        if (QStandardPaths::findExecutable(u"setpriv"_s).isEmpty()) GTEST_SKIP() << "needs setpriv";
        for (QDirIterator it(folder_.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();)
            if (const QString path = it.next(); path != yedek()) {
                ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
            }
        ASSERT_EQ(::chown(QFile::encodeName(folder_.path()).constData(), 65534, 65534), 0);
        command = QStringList{u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s} + command;
    }
    const QString before = hash();
    QProcess p;
    p.start(command.first(), command.mid(1) + login(u"1234"_s) + QStringList{u"--steps"_s, u"sirket"_s, u"--yes"_s});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), cli::kFailed) << out.toStdString();
    EXPECT_TRUE(out.contains(yedek() + u"/DEMO2026-"_s) && out.contains(u"no permission"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"sirket (Şirket Bilgileri): not finished"_s)) << out.toStdString();
    EXPECT_EQ(hash(), before);
    EXPECT_TRUE(logLines().isEmpty());  // nothing was written
}

TEST_F(Backups, RestoreRefusesAFileThatIsNoCompanyAndChangesNothing)
{
    const QString text = folder_.path() + u"/notes.mdb"_s, bare = folder_.path() + u"/bare.mdb"_s;
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("no database") > 0);
    notes.close();
    sqlite3* db = nullptr;  // a database with the company's table but without the program's password
    ASSERT_EQ(sqlite3_open(bare.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE SIRKET (SIRKETCODE TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QString before = hash();
    for (const QString& file : {text, bare, folder_.path() + u"/config.mdb"_s}) {
        const RunResult r = belmo({u"restore"_s, u"--folder"_s, folder_.path(), u"--backup"_s, file, u"DEMO2026"_s});
        EXPECT_EQ(r.code, cli::kFailed) << file.toStdString();
        EXPECT_TRUE(r.err.contains(u"Not a company database '"_s + file)) << r.err.toStdString();
        EXPECT_EQ(hash(), before);
        EXPECT_TRUE(QDir(yedek()).entryList(QDir::Files).isEmpty());
    }
    // A company backup is refused as well while another program writes the target.
    const QString backup = proof::Backups(folder_.path() + u"/MUHASEBE"_s, db::PoolSettings()).make(target());
    const db::HandlePtr other = otherProgram(target());
    ASSERT_EQ(sqlite3_exec(other.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const RunResult r = belmo({u"restore"_s, u"--folder"_s, folder_.path(), u"DEMO2026"_s});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains(target() + u"': locked by another program"_s)) << r.err.toStdString();
    EXPECT_EQ(QDir(yedek()).entryList(QDir::Files), QStringList{QFileInfo(backup).fileName()});
}

}  // namespace
}  // namespace belmo::test

// The belmo command line: help, bad arguments, preparing companies, the demo folder and
// the files it refuses to read.
#include "support/TestCompany.h"

#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace belmo;

namespace {

struct Result {
    int code;
    QString out;
    QString err;
};

Result belmoRun(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = cli::run(args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

}  // namespace

TEST(CommandLine, HelpExplainsEveryCommand)
{
    const Result r = belmoRun({"--help"});
    EXPECT_EQ(r.code, cli::kOk);
    EXPECT_TRUE(r.out.contains("  3  the login refused") && r.out.contains("man belmo")) << r.out.toStdString();
    // The login's exit code is listed by the commands that log in.
    for (const auto& [c, logsIn] : {std::pair{"init-company", false}, {"demo", false}, {"show", false}, {"server", false}, {"copy", false}, {"backups", false},
                                    {"restore", false}, {"run", true}, {"check", true}, {"report", true}, {"batch", true}}) {
        EXPECT_TRUE(r.out.contains(QString::fromLatin1(c))) << c;
        const Result sub = belmoRun({QString::fromLatin1(c), "--help"});
        EXPECT_EQ(sub.code, cli::kOk) << c;
        EXPECT_TRUE(sub.out.startsWith(QStringLiteral("Usage: belmo ") + c)) << sub.out.toStdString();
        EXPECT_TRUE(sub.out.contains("--help"));
        EXPECT_TRUE(sub.out.contains("Exit codes:\n  0  everything finished\n")) << c;
        EXPECT_EQ(sub.out.contains("  3  the login refused"), logsIn) << c;
        EXPECT_EQ(belmoRun({"help", QString::fromLatin1(c)}).out, sub.out) << c;
    }
    EXPECT_EQ(belmoRun({}).code, cli::kBadUsage);
    EXPECT_EQ(belmoRun({"help", "frobnicate"}).code, cli::kBadUsage);
    for (const char* version : {"--version", "-V"}) EXPECT_EQ(belmoRun({version}).out, "belmo " BELMO_PROJECT_VERSION "\n");
}

TEST(CommandLine, BadArgumentsSayWhatIsWrong)
{
    const QStringList run{"run", "--folder", "/tmp", "--user", "U", "--source", "S", "--target", "T", "--wait"};
    QList<std::pair<QStringList, const char*>> cases = {
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"demo"}, "give exactly one folder"},
        {{"demo", "/tmp/x", "--size", "huge"}, "--size is small or large, not 'huge'"},
        {{"demo", "/tmp/x", "--colour"}, "Unknown option 'colour'"},
        {{"init-company", "X"}, "--folder DIR is required"},
        {{"init-company", "--folder", "/tmp", "../etc/passwd"}, "is not a plain code"},
        {{"init-company", "--folder", "/tmp", "A/B"}, "is not a plain code"},
        {{"init-company", "--folder", "/tmp", "X;Data Source=/F"}, "is not a plain code"},
        {{"init-company", "--folder", "/tmp", "A'B"}, "is not a plain code"},
        {{"init-company", "--folder", "/tmp", "A\tB"}, "is not a plain code"},
        {{"init-company", "--folder", "/tmp", QString(51, u'Ş')}, "is not a plain code"},
        {{"init-company", "--folder", "/tmp", "--period", "20x6", "A"}, "--period takes a year"},
        {{"show"}, "--folder DIR is required"},
        {{"show", "--folder", "/tmp", "../../elsewhere/x"}, "is not a plain code"},
        {{"server", "--host", "h", "--user", "u"}, "--folder DIR is required"},
        {{"server", "--folder", "/tmp", "--host", "h", "--user", "u", "--port", "54x"}, "--port takes a number from 1 to 65535"},
        {{"server", "--folder", "/tmp", "--host", "h"}, "--host H and --user U are required"},
        {{"server", "--folder", "/tmp", "--off", "--host", "h", "--user", "u"}, "--off takes no server settings"},
        {{"server", "--folder", "/tmp", "--password", "x"}, "Unknown option 'password'"},  // never on the command line
    };
    for (const char* wait : {"-1", "86400.5", "1e20", "nan", "inf", "abc"})
        cases.append({run + QStringList{wait}, "--wait takes a number of seconds from 0 to 86400"});
    for (const auto& [args, message] : cases) {
        const Result r = belmoRun(args);
        EXPECT_EQ(r.code, cli::kBadUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(message))) << r.err.toStdString();
    }
}

TEST(InitCompany, PreparesAnEmptyCompanyAndNeverReplacesOneUnasked)
{
    QTemporaryDir dir;
    Result r = belmoRun({"init-company", "--folder", dir.path(), "--period", "2026", "--name", "Ege Gıda", "EGE2026"});
    ASSERT_EQ(r.code, cli::kOk) << r.err.toStdString();
    const app::ProgramFolder pf(dir.path());
    const QString file = pf.companyPath("EGE2026");
    EXPECT_TRUE(r.out.contains(file));

    db::ConnectionPool pool;
    {
        db::Connection con(pool);
        con.open(pf.companyConnection("EGE2026"));
        db::Recordset rs;
        rs.open("Select SIRKETCODE, SIRKETAD, DONEM from SIRKET", con, db::CursorType::Static, db::LockType::ReadOnly);
        EXPECT_EQ(rs.value(0).textValue(), "EGE2026");
        EXPECT_EQ(rs.value(1).textValue(), "Ege Gıda");
        EXPECT_EQ(rs.value(2).textValue(), "2026");
        db::Recordset accounts;
        accounts.open("Select Hesap_Adi from Ana_Hesaplar where Ana_Hs=153", con, db::CursorType::Static, db::LockType::ReadOnly);
        EXPECT_EQ(accounts.value(0).textValue(), "Ticari Mallar");
        db::Recordset empty;
        empty.open("Select count(*) from Hesaplar", con, db::CursorType::Static, db::LockType::ReadOnly);
        EXPECT_EQ(empty.value(0).intValue(), 0);
        con.execute("INSERT INTO Hesaplar (MID1) VALUES ('1001')");
    }
    r = belmoRun({"init-company", "--folder", dir.path(), "EGE2026"});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains(file + "' already exists")) << r.err.toStdString();
    r = belmoRun({"init-company", "--folder", dir.path(), "ege2026"});
    EXPECT_TRUE(r.err.contains("MUHASEBE holds EGE2026.mdb, whose name differs from it in case only")) << r.err.toStdString();
    r = belmoRun({"init-company", "--folder", dir.path(), "--force", "EGE2026"});
    EXPECT_EQ(r.code, cli::kOk) << r.err.toStdString();
    db::Connection con(pool);
    con.open(pf.companyConnection("EGE2026"));
    db::Recordset rs;
    rs.open("Select count(*) from Hesaplar", con, db::CursorType::Static, db::LockType::ReadOnly);
    EXPECT_EQ(rs.value(0).intValue(), 0);
    // The replaced company is kept beside it, with its account.
    const QStringList kept = QDir(pf.companiesPath()).entryList({"EGE2026.mdb.bak-*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(r.out.contains("Kept the earlier " + file + " as " + pf.companiesPath() + "/" + kept[0])) << r.out.toStdString();
    db::Connection old(pool);
    old.open(db::ConnectionString::forJetFile(pf.companiesPath() + "/" + kept[0], db::schema::databasePassword()));
    db::Recordset account;
    account.open("Select MID1 from Hesaplar", old, db::CursorType::Static, db::LockType::ReadOnly);
    EXPECT_EQ(account.value(0).textValue(), "1001");

    r = belmoRun({"init-company", "--folder", dir.path() + "/yok", "X"});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains("does not exist"));
}

TEST(Demo, RefusesToOverwriteAndCannotWriteWhereNothingCanBeWritten)
{
    QTemporaryDir dir;
    ASSERT_EQ(belmoRun({"demo", dir.path()}).code, cli::kOk);
    Result r = belmoRun({"demo", dir.path()});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains(dir.path() + "/config.mdb' already exists")) << r.err.toStdString();
    EXPECT_EQ(belmoRun({"demo", "--force", dir.path()}).code, cli::kOk);

    r = belmoRun({"demo", "/proc/belmo-demo"});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains("/proc/belmo-demo")) << r.err.toStdString();

    QFile plain(dir.path() + "/dosya");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    r = belmoRun({"demo", plain.fileName()});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains(plain.fileName()));
}

TEST(Demo, AFullDiskLeavesNoFileThatLooksComplete)
{
    QTemporaryDir dir;
    QProcess p;
    p.setChildProcessModifier([] {
        // Files may not grow beyond 300 KB: writes fail as on a full disk.
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{300 * 1024, 300 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    p.start(BELMO_EXECUTABLE, {"demo", dir.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);  // no crash
    EXPECT_EQ(p.exitCode(), cli::kFailed);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains("DEMO2025.mdb")) << err.toStdString();
    const QStringList left = QDir(dir.path() + "/MUHASEBE").entryList(QDir::Files) + QDir(dir.path()).entryList(QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
}

// New files and folders give other users no right; a file put in place of another keeps the
// mode and owner of the one it replaces, and SQLite's companion files take the file's mode.
TEST(Demo, WhatItMakesGivesOtherUsersNoRight)
{
    const struct NoUmask { mode_t saved = ::umask(0); ~NoUmask() { ::umask(saved); } } noUmask;  // what the program lets through
    QTemporaryDir dir;
    const app::ProgramFolder pf(dir.path() + "/ofis/belmo");
    auto mode = [](const QString& path) {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return std::pair{st.st_mode & 07777, st.st_uid};
    };
    ASSERT_EQ(belmoRun({"demo", pf.root()}).code, cli::kOk);
    for (const QString& path : {dir.path() + "/ofis", pf.root(), pf.companiesPath(), pf.imagesPath()})
        EXPECT_EQ(mode(path).first, 0770u) << path.toStdString();
    for (const QString& path : {pf.configPath(), pf.companyPath("DEMO2025"), pf.companyPath("DEMO2026")})
        EXPECT_EQ(mode(path).first, 0660u) << path.toStdString();

    ::chmod(QFile::encodeName(pf.configPath()).constData(), 0640);
    ::chmod(QFile::encodeName(pf.companyPath("DEMO2025")).constData(), 0600);
    const bool givenAway = ::chown(QFile::encodeName(pf.configPath()).constData(), 4321, 4321) == 0;
    ASSERT_EQ(belmoRun({"demo", "--force", pf.root()}).code, cli::kOk);
    EXPECT_EQ(mode(pf.configPath()), std::pair(0640u, givenAway ? 4321u : ::geteuid()));
    db::ConnectionPool pool;
    db::Connection source(pool);
    source.open(pf.companyConnection("DEMO2025"));
    for (const char* file : {"", "-wal", "-shm"}) EXPECT_EQ(mode(pf.companyPath("DEMO2025") + file).first, 0600u) << file;
}

TEST(Show, NamesEveryFileItCannotRead)
{
    QTemporaryDir dir;
    ASSERT_EQ(belmoRun({"demo", dir.path()}).code, cli::kOk);
    Result r = belmoRun({"show", "--folder", dir.path()});
    ASSERT_EQ(r.code, cli::kOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("ADMIN (01, administrator)"));
    EXPECT_TRUE(r.out.contains("STAJYER (07, locked)"));
    EXPECT_TRUE(r.out.contains("ANADOLU TİCARET, period 2025\n  application_id 1112296783, user_version 1"));  // "BLMO"

    const app::ProgramFolder pf(dir.path());
    // A company made with another password, a file that is no database, a missing code.
    db::schema::createDatabaseFile(pf.companyPath("BASKA"), db::schema::companyTables(), "baska-sifre");
    QFile junk(pf.companyPath("BOZUK"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    r = belmoRun({"show", "--folder", dir.path(), "BASKA", "BOZUK", "YOK", "DEMO2026"});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains("Not a valid password for '" + pf.companyPath("BASKA"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(pf.companyPath("BOZUK")));
    EXPECT_TRUE(r.err.contains("Could not find file '" + pf.companyPath("YOK")));
    EXPECT_TRUE(r.out.contains("period 2026"));  // the readable company is still shown
    EXPECT_FALSE(QFileInfo::exists(pf.companyPath("YOK")));
    // A code finds its file as at the login.
    QFile::copy(pf.companyPath("DEMO2026"), pf.companyPath("demo2026"));
    r = belmoRun({"show", "--folder", dir.path(), "DEMO2026"});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains("MUHASEBE holds DEMO2026.mdb, demo2026.mdb, whose names differ in case only")) << r.err.toStdString();

    QFile::remove(pf.configPath());
    r = belmoRun({"show", "--folder", dir.path(), "DEMO2026"});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains(pf.configPath()));
}

TEST(Server, StoresPrintsAndTurnsOffTheSettingsNeverShowingThePassword)
{
    QTemporaryDir dir;
    const app::ProgramFolder pf(dir.path());
    db::schema::createDatabaseFile(pf.configPath(), db::schema::configTables(), db::schema::databasePassword());
    QFile password(dir.filePath("parola"));
    ASSERT_TRUE(password.open(QIODevice::WriteOnly));
    password.write("gizli-1\nikinci satır\n");
    password.close();
    const QStringList folder{"server", "--folder", dir.path()};
    Result r = belmoRun(folder + QStringList{"--host", "db.ofis", "--port", "5433", "--user", "belmo", "--password-file", password.fileName()});
    ASSERT_EQ(r.code, cli::kOk) << r.err.toStdString();
    r = belmoRun(folder);
    for (const char* line : {"Companies: on the server\n", "Server:    db.ofis\n", "Port:      5433\n", "User:      belmo\n", "Password:  stored\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("gizli"));
    db::ConnectionPool pool;
    db::Connection config(pool);
    config.open(pf.configConnection());
    EXPECT_EQ(app::ServerSettings::load(config).password, "gizli-1");  // what the login hands to the server
    r = belmoRun(folder + QStringList{"--off"});
    EXPECT_TRUE(r.out.contains("Companies: files in MUHASEBE\n") && r.out.contains("Server:    db.ofis\n")) << r.out.toStdString();

    r = belmoRun({"server", "--folder", dir.filePath("yok")});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains("does not exist")) << r.err.toStdString();
    r = belmoRun(folder + QStringList{"--host", "h", "--user", "u", "--password-file", dir.filePath("yok")});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains("cannot read the password file")) << r.err.toStdString();
}

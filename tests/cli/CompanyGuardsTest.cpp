// The companies guarded in `belmo run`: the source is never written but for the per-user
// views, it is never the target, a code opens the file its right names, a source that cannot
// be read is named with the cause, and the password need not stand on the command line.
#include "DemoRun.h"

#include "cli/Cli.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"

#include <QFile>
#include <QRegularExpression>

#include <sqlite3.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class CompanyGuards : public DemoRun {
protected:
    QStringList loginWithout(const QString& option) const
    {
        QStringList args = login(u"1234"_s);
        const qsizetype at = args.indexOf(option);
        args.remove(at, 2);
        return args;
    }
    QString company(const QString& file) const { return folder_.path() + u"/MUHASEBE/"_s + file; }
    RunResult depoInto(const QString& target, const QString& wait = u"86400"_s) const
    {
        return belmoRun(loginWithout(u"--target"_s) +
                        QStringList{u"--target"_s, target, u"--steps"_s, u"depo"_s, u"--yes"_s, u"--wait"_s, wait});
    }
    // Every row of every company table of the source, table by table.
    QList<QStringList> sourceRows()
    {
        db::Connection source(reader.pool());
        openCompany(source, u"DEMO2025"_s);
        QList<QStringList> all;
        for (const db::schema::Table& table : db::schema::companyTables()) {
            all << QStringList{table.name};
            all << reader.rows(source, u"Select * from "_s + table.name + u" order by rowid"_s);
        }
        return all;
    }
};

TEST_F(CompanyGuards, AWholeRunWritesNothingIntoTheSourceButItsViews)
{
    const QList<QStringList> before = sourceRows();
    const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--yes"_s});
    ASSERT_EQ(r.code, cli::kOk) << r.out.toStdString();
    EXPECT_EQ(sourceRows(), before);
}

// A user whose code holds blanks, quotes and a semicolon logs in and carries the balances;
// the source's views are its own, each one plain name.
TEST_F(CompanyGuards, AnOddUserCodeLogsInAndGetsViewsOfItsOwn)
{
    db::Connection config(reader.pool());
    config.open(db::ConnectionString::forJetFile(folder_.path() + u"/config.mdb"_s, db::schema::databasePassword()));
    const QString code = u"Q1 AS SELECT 1; -- O'Ş"_s;
    reader.insert(config, u"USERS"_s, {{"USERAD", "TUHAF"}, {"USERCODE", code}, {"PASSWORD", "x"}, {"ADM", 0},
                                       {"AKTIVE", 1}, {"LOCK", 1}, {"CONNECTED", 0}});
    for (const char* company : {"DEMO2025", "DEMO2026"})
        reader.insert(config, u"SRKTUSERS"_s, {{"USERCODE", code}, {"SIRKETCODE", company}});
    QStringList args = loginWithout(u"--user"_s);
    args.remove(args.indexOf(u"--password"_s), 2);
    const RunResult r = belmoRun(args + QStringList{u"--user"_s, u"TUHAF"_s, u"--password"_s, u"x"_s, u"--steps"_s, u"cari"_s, u"--yes"_s});
    ASSERT_EQ(r.code, cli::kOk) << r.out.toStdString();

    db::Connection source(reader.pool()), target(reader.pool());
    openCompany(source, u"DEMO2025"_s);
    openCompany(target, u"DEMO2026"_s);
    EXPECT_EQ(reader.rows(source, u"Select name from sqlite_master where type='view' order by name"_s),
              (QList<QStringList>{{u"CMZNQ1_0020AS_0020SELECT_00201_003B_0020_002D_002D_0020O_0027_015E1"_s},
                                  {u"CMZNQ1_0020AS_0020SELECT_00201_003B_0020_002D_002D_0020O_0027_015E2"_s}}));
    EXPECT_EQ(reader.rows(target, u"Select distinct User_Code from Kayit"_s), QList<QStringList>{{code}});
}

TEST_F(CompanyGuards, TheSourceIsRefusedAsTargetAndSoIsACodeThatIsNoPlainCode)
{
    for (const auto& [target, message] : {std::pair{u"DEMO2025"_s, u"Kaynak ve hedef şirket aynı olamaz."_s},
                                          {u"../../other/MUHASEBE/DEMO2026"_s, u"Geçersiz şirket kodu"_s}}) {
        QStringList args = loginWithout(u"--target"_s) + QStringList{u"--target"_s, target, u"--yes"_s};
        const RunResult r = belmoRun(args);
        EXPECT_EQ(r.code, cli::kLoginRefused);
        EXPECT_TRUE(r.out.contains(message)) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(u"belmo run: login refused: "_s + message)) << r.err.toStdString();
    }
}

const QString kNotFound = u"Şirket Veri Tabanı Bulunamadı.\n      "_s;

// A code typed in another case opens the file its right names; a file whose name differs from
// that only in case is never taken for it, and two such files are refused.
TEST_F(CompanyGuards, ACodeOpensOnlyTheFileItsRightNames)
{
    db::Connection config(reader.pool());
    config.open(db::ConnectionString::forJetFile(folder_.path() + u"/config.mdb"_s, db::schema::databasePassword()));
    reader.insert(config, u"SRKTUSERS"_s, {{"USERCODE", "05"}, {"SIRKETCODE", "FIRMAI"}});
    const struct {
        QString from, to, target, shown;  // a file copied (or removed, without `to`) before the run
    } cases[] = {
        {{}, {}, u"demo2026"_s, u"depo (Depo Tanımları): 4 listed, 4 ticked, finished"_s},  // into DEMO2026.mdb
        {u"DEMO2026.mdb"_s, u"FIRMAİ.mdb"_s, u"FIRMAİ"_s,
         kNotFound + company(u"FIRMAI.mdb: file not found; MUHASEBE holds FIRMAİ.mdb"_s)},
        {u"DEMO2026.mdb"_s, u"demo2026.mdb"_s, u"DEMO2026"_s, u"Şirket kodu belirsiz: 'DEMO2026'."_s},
        {u"DEMO2026.mdb"_s, {}, u"dEMO2026"_s,
         kNotFound + company(u"DEMO2026.mdb: file not found; MUHASEBE holds demo2026.mdb,"_s)},
    };
    for (const auto& c : cases) {
        if (!c.from.isEmpty()) c.to.isEmpty() ? QFile::remove(company(c.from)) : QFile::copy(company(c.from), company(c.to));
        const RunResult r = depoInto(c.target);
        EXPECT_EQ(r.code, c.target == u"demo2026" ? cli::kOk : cli::kLoginRefused) << c.target.toStdString();
        EXPECT_TRUE(r.out.contains(c.shown)) << r.out.toStdString();
    }
}

// Held by another program for itself, or not a database: the login names the file and why.
TEST_F(CompanyGuards, ASourceThatCannotBeReadIsNamedWithTheCause)
{
    db::HandlePtr other = otherProgram(company(u"DEMO2025.mdb"_s));
    sqlite3_exec(other.get(), "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    RunResult r = depoInto(u"DEMO2026"_s, u"0"_s);
    other.reset();
    EXPECT_TRUE(r.out.contains(kNotFound + company(u"DEMO2025.mdb: database is locked by another program"_s))) << r.out.toStdString();

    QFile source(company(u"DEMO2025.mdb"_s));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly | QIODevice::Truncate));
    source.write(QByteArray(4096, 'x'));
    source.close();
    r = depoInto(u"DEMO2026"_s);
    EXPECT_TRUE(r.out.contains(kNotFound + source.fileName() + u": the database file is damaged or not a database"_s))
        << r.out.toStdString();
}

// The password as a word of its own: backup names and hashes hold digits that may spell it.
bool printsPassword(const RunResult& r)
{
    return (r.out + r.err).contains(QRegularExpression(u"(?<![0-9A-Za-z])1234(?![0-9A-Za-z])"_s));
}

TEST_F(CompanyGuards, ThePasswordComesFromAFileOrTheEnvironmentAndIsNeverPrinted)
{
    QFile file(folder_.path() + u"/sifre"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1234\n");
    file.close();
    const QStringList depo{u"--steps"_s, u"depo"_s, u"--yes"_s};
    RunResult r = belmoRun(loginWithout(u"--password"_s) + QStringList{u"--password-file"_s, file.fileName()} + depo);
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString() << r.err.toStdString();
    EXPECT_FALSE(printsPassword(r));

    qputenv("BELMO_PASSWORD", "1234");
    r = belmoRun(loginWithout(u"--password"_s) + depo);
    qunsetenv("BELMO_PASSWORD");
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString();
    EXPECT_FALSE(printsPassword(r));

    r = belmoRun(loginWithout(u"--password"_s) + QStringList{u"--password-file"_s, file.fileName() + u"-yok"_s} + depo);
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.err.contains(u"cannot read the password file '"_s + file.fileName() + u"-yok'"_s)) << r.err.toStdString();
}

}  // namespace
}  // namespace belmo::test

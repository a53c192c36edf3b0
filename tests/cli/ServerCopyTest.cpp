// `belmo copy` between a demo company's file and the test server: the round trip keeps every
// row, the next AutoNumber follows the copied ones, and a refused copy changes nothing.
#include "DemoRun.h"

#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "db/CompanyCopy.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"
#include "demo/Demo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// A demo folder whose config.mdb names the test server (not chosen), and a company of its own
// code in MUHASEBE, a copy of the demo's source company.
class ServerCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveTestServer()) GTEST_SKIP() << "no test server: BELMO_TEST_PGHOST is not set (run through ctest)";
        demo::createDemoFolder(dir_.path(), demo::Size::Small, false, {});
        ASSERT_TRUE(QFile::copy(folder.companyPath(QString::fromLatin1(demo::kSourceCode)), folder.companyPath(code)));
        db::Connection config(pool);
        config.open(folder.configConnection());
        settings.save(config);
    }
    void TearDown() override
    {
        for (const QString& made : {code, source, target}) dropServerDatabase(made);
    }

    RunResult copy(const QStringList& how, const QString& company) const
    {
        return belmo(QStringList{u"copy"_s, u"--folder"_s, dir_.path()} + how + QStringList{company});
    }
    // Every row of a table, ordered by all its columns, as values.
    QList<QList<Value>> rows(const QString& connection, const db::schema::Table& table)
    {
        db::Connection con(pool);
        con.open(connection);
        QStringList columns;
        for (const db::schema::Column& c : table.columns) columns << u'[' + c.name + u']';
        db::Recordset rs;
        rs.open(u"SELECT %1 FROM %2 ORDER BY %1"_s.arg(columns.join(u", "_s), table.name), con, db::CursorType::Static,
                db::LockType::ReadOnly);
        QList<QList<Value>> out;
        for (; !rs.eof(); rs.moveNext()) {
            QList<Value>& row = out.emplace_back();
            for (int i = 0; i < rs.fieldCount(); ++i) row << rs.value(i);
        }
        return out;
    }

    // The same without the numbers a database gives (AutoNumber columns, and the document and
    // driver numbers that refer to them): rows listed in the same order up to ties (a card's
    // warehouses) may be numbered in another order.
    QList<QList<Value>> rowsWithoutNumbers(const QString& connection, db::schema::Table table)
    {
        table.columns.removeIf([](const db::schema::Column& c) {
            return c.kind == db::schema::Kind::AutoNumber || c.name == u"Kayit_No" || c.name == u"Sofor_No";
        });
        return rows(connection, table);
    }

    // The demo's pair as companies of this test on the server, with the demo user's rights.
    void demoOnServer()
    {
        db::Connection config(pool);
        config.open(folder.configConnection());
        for (const auto& [demoCode, copied] : {std::pair{demo::kSourceCode, source}, {demo::kTargetCode, target}}) {
            ASSERT_TRUE(QFile::copy(folder.companyPath(QString::fromLatin1(demoCode)), folder.companyPath(copied)));
            ASSERT_EQ(copy({u"--to-server"_s}, copied).code, cli::kOk);
            config.execute(u"INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES ('05', ?)"_s, {copied});
        }
    }
    void chooseServer()
    {
        db::Connection config(pool);
        config.open(folder.configConnection());
        settings.useServer = true;
        settings.save(config);
    }
    RunResult run(const QString& from, const QString& to, const QStringList& more = {}) const
    {
        return belmoRun(QStringList{u"--folder"_s, dir_.path(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s, u"1234"_s,
                                    u"--source"_s, from, u"--target"_s, to, u"--yes"_s} + more);
    }

    // The databases of the server this test process made, working ones included.
    QStringList ours() const
    {
        db::PgClient admin(testServer(), u"postgres"_s, std::make_shared<db::PoolSettings>());
        QStringList names;
        for (const auto& row : admin.execute(u"SELECT datname::text FROM pg_database ORDER BY 1"_s).rows)
            if (row[0].textValue().contains(QString::number(QCoreApplication::applicationPid()))) names << row[0].textValue();
        return names;
    }

    QTemporaryDir dir_;
    app::ProgramFolder folder{dir_.path()};
    QString code = u"CP_%1"_s.arg(QCoreApplication::applicationPid());
    QString source = code + u"_25"_s, target = code + u"_26"_s;
    app::ServerSettings settings{false, testServer().host, 0, testServer().user, {}};
    db::ConnectionPool pool;
};

TEST_F(ServerCopy, AFileCompanyComesBackFromTheServerWithEveryRowEqual)
{
    const RunResult there = copy({u"--to-server"_s}, code);
    ASSERT_EQ(there.code, cli::kOk) << there.err.toStdString();
    EXPECT_TRUE(there.out.contains(QRegularExpression(u"^Kayit +875 +875$"_s, QRegularExpression::MultilineOption)))
        << there.out.toStdString();
    const RunResult back = copy({u"--from-server"_s, u"--force"_s}, code);
    ASSERT_EQ(back.code, cli::kOk) << back.err.toStdString();
    const QString kept = QRegularExpression(u" as (.*)\\.\n"_s).match(back.out).captured(1);  // the original file
    ASSERT_TRUE(QFile::exists(kept)) << back.out.toStdString();
    const QString before = db::ConnectionString::forJetFile(kept, db::schema::databasePassword());
    int rowsCompared = 0;
    for (const db::schema::Table& table : db::schema::companyTables()) {
        const QList<QList<Value>> expected = rows(before, table);
        EXPECT_EQ(rows(folder.companyConnection(code), table), expected) << table.name.toStdString();
        rowsCompared += expected.size();
    }
    EXPECT_GT(rowsCompared, 2000);
}

// The whole demo carried with its companies on the server leaves the target the same demo
// carried on files leaves, table by table and row by row.
TEST_F(ServerCopy, TheDemoCarriedOnTheServerEqualsTheDemoCarriedOnFiles)
{
    ASSERT_NO_FATAL_FAILURE(demoOnServer());
    const RunResult onFiles = run(QString::fromLatin1(demo::kSourceCode), QString::fromLatin1(demo::kTargetCode));
    ASSERT_EQ(onFiles.code, cli::kOk) << onFiles.out.toStdString();
    chooseServer();
    const RunResult onServer = run(source, target);
    ASSERT_EQ(onServer.code, cli::kOk) << onServer.out.toStdString() << onServer.err.toStdString();
    EXPECT_EQ(onServer.out.count(u", finished\n"_s), onFiles.out.count(u", finished\n"_s));
    EXPECT_TRUE(onServer.out.contains(u"Toplam fark: 0"_s));
    int rowsCompared = 0;
    for (const db::schema::Table& table : db::schema::companyTables()) {
        const QList<QList<Value>> expected = rowsWithoutNumbers(folder.companyConnection(QString::fromLatin1(demo::kTargetCode)), table);
        EXPECT_EQ(rowsWithoutNumbers(settings.companyConnection(target), table), expected) << table.name.toStdString();
        rowsCompared += expected.size();
    }
    EXPECT_GT(rowsCompared, 500);
}

// On the server a rehearsal writes a working database it drops, and a run backs the target up
// into a company file that puts the target back as it was.
TEST_F(ServerCopy, ARehearsalLeavesTheServerTargetAndARunsBackupRestoresIt)
{
    ASSERT_NO_FATAL_FAILURE(demoOnServer());
    chooseServer();
    const auto count = [&] {
        TestCompany reader;
        db::Connection con(pool);
        con.open(settings.companyConnection(target));
        return reader.rows(con, u"SELECT count(*) FROM Hesaplar"_s);
    };
    const QList<QStringList> empty = count();
    const QStringList before = ours();
    const RunResult rehearsal = run(source, target, {u"--dry-run"_s});
    EXPECT_EQ(rehearsal.code, cli::kOk) << rehearsal.err.toStdString();
    EXPECT_TRUE(rehearsal.out.contains(u"Rehearsal on a scratch copy of "_s + target)) << rehearsal.out.toStdString();
    EXPECT_EQ(count(), empty);
    EXPECT_EQ(ours(), before) << "the working database is dropped";

    const RunResult carried = run(source, target);
    ASSERT_EQ(carried.code, cli::kOk);
    const QString backup = QRegularExpression(u"Backup of %1: (.*)\n"_s.arg(target)).match(carried.out).captured(1);
    EXPECT_TRUE(backup.startsWith(folder.companiesPath() + u"/Yedek/"_s + target + u'-')) << carried.out.toStdString();
    EXPECT_NE(count(), empty);
    const RunResult restored = belmo({u"restore"_s, u"--folder"_s, dir_.path(), u"--backup"_s, backup, target});
    EXPECT_EQ(restored.code, cli::kOk) << restored.err.toStdString();
    EXPECT_EQ(count(), empty);
}

TEST_F(ServerCopy, TheCheckFindsTheServersCompaniesOrSaysWhichIsMissing)
{
    ASSERT_NO_FATAL_FAILURE(demoOnServer());
    chooseServer();
    const auto check = [&](const QString& to) {
        return belmo({u"check"_s, u"--folder"_s, dir_.path(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s, u"1234"_s,
                      u"--source"_s, source, u"--target"_s, to});
    };
    const RunResult clean = check(target);
    EXPECT_EQ(clean.code, cli::kOk) << clean.out.toStdString();
    EXPECT_TRUE(clean.out.contains(u"0 engel"_s)) << clean.out.toStdString();
    dropServerDatabase(target);
    const RunResult missing = check(target);
    EXPECT_NE(missing.code, cli::kOk);
    EXPECT_TRUE(missing.out.contains(u"ENGEL: %1/%2\nŞirket Veri Tabanı Bulunamadı. Sunucuda '%2' veri tabanı yok."_s.arg(settings.label(), target)))
        << missing.out.toStdString();
}

TEST_F(ServerCopy, TheNextAutoNumberFollowsTheCopiedOnesOnEitherEngine)
{
    ASSERT_EQ(copy({u"--to-server"_s}, code).code, cli::kOk);
    ASSERT_EQ(copy({u"--from-server"_s, u"--force"_s}, code).code, cli::kOk);
    for (const QString& connection : {settings.companyConnection(code), folder.companyConnection(code)}) {
        db::Connection con(pool);
        con.open(connection);
        con.execute(u"INSERT INTO Kayit (B_Hs) VALUES (1)"_s);
        EXPECT_EQ(con.lastInsertId(), 876) << connection.toStdString();
    }
}

TEST_F(ServerCopy, ARefusedCopyChangesNothing)
{
    ASSERT_EQ(copy({u"--to-server"_s}, code).code, cli::kOk);
    QFile file(folder.companyPath(code));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QStringList before = ours();
    const struct {
        QStringList how;
        QString company;
        int code;
        QString says;
    } cases[] = {
        {{u"--to-server"_s}, code, cli::kFailed, u"'%1/%2' already exists"_s.arg(settings.label(), code)},
        {{u"--from-server"_s}, code, cli::kFailed, u"'%1' already exists"_s.arg(folder.companyPath(code))},
        {{u"--to-server"_s}, u"NOPE"_s, cli::kFailed, u"NOPE.mdb: file not found"_s},
        {{u"--from-server"_s}, u"NOPE"_s, cli::kFailed, u"the server has no database NOPE"_s},
        {{u"--to-server"_s}, u"A;Database=postgres"_s, cli::kBadUsage, u"is not a plain code"_s},
        {{}, code, cli::kBadUsage, u"give --to-server or --from-server"_s},
    };
    for (const auto& c : cases) {
        const RunResult r = copy(c.how, c.company);
        EXPECT_EQ(r.code, c.code) << c.says.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
    file.seek(0);
    EXPECT_EQ(file.readAll(), bytes);
    EXPECT_EQ(ours(), before) << "no database made, dropped or left behind";
}

TEST_F(ServerCopy, WithTheServerChosenACompanyIsMadeFoundAndShownThere)
{
    settings.useServer = true;
    db::Connection config(pool);
    config.open(folder.configConnection());
    settings.save(config);
    ASSERT_EQ(belmo({u"init-company"_s, u"--folder"_s, dir_.path(), u"--period"_s, u"2027"_s, code}).code, cli::kOk);
    db::Connection company(pool);
    company.open(settings.companyConnection(code));
    TestCompany reader;
    EXPECT_EQ(reader.rows(company, u"SELECT SIRKETCODE, DONEM FROM SIRKET"_s), (QList<QStringList>{{code, u"2027"_s}}));
    const RunResult shown = belmo({u"show"_s, u"--folder"_s, dir_.path(), code});
    EXPECT_TRUE(shown.out.contains(u"%1/%2\n  %2, period 2027\n"_s.arg(settings.label(), code))) << shown.out.toStdString();
    const RunResult missing = belmo({u"backups"_s, u"--folder"_s, dir_.path(), u"NOPE"_s});
    EXPECT_EQ(missing.code, cli::kFailed);
    EXPECT_TRUE(missing.err.contains(u"%1/NOPE: the server has no company database NOPE"_s.arg(settings.label())))
        << missing.err.toStdString();
}

}  // namespace
}  // namespace belmo::test

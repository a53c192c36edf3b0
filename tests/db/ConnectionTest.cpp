// Opening databases: the error numbers the login and the steps branch on, the shared
// handles and transactions.
#include "support/TestCompany.h"

#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace belmo;

namespace {

db::DbError openFails(db::ConnectionPool& pool, const QString& connectionString)
{
    db::Connection con(pool);
    try {
        con.open(connectionString);
    } catch (const db::DbError& e) {
        EXPECT_FALSE(con.isOpen());
        return e;
    }
    ADD_FAILURE() << "open succeeded";
    return db::DbError(0, {});
}

QString jet(const QString& path, const QString& password = db::schema::databasePassword())
{
    return db::ConnectionString::forJetFile(path, password);
}

}  // namespace

TEST(ConnectionString, DocumentedForm)
{
    const auto cs = db::ConnectionString::parse(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/prog/MUHASEBE/DEMO2025.mdb;Persist Security Info=false;"
        "Jet OLEDB:Database Password='K4?pa7!şüğıç#öçüşæğı'");
    EXPECT_EQ(cs.dataSource, "/srv/prog/MUHASEBE/DEMO2025.mdb");
    EXPECT_EQ(cs.password, "K4?pa7!şüğıç#öçüşæğı");
    EXPECT_EQ(db::ConnectionString::parse("provider=microsoft.jet.oledb.4.0; data source = /a b/c.mdb ").dataSource, "/a b/c.mdb");
    // A path or a password with quotes and semicolons stays one value.
    const auto odd = db::ConnectionString::parse(jet("/x;Data Source=/y/\"F\".mdb", "p'w;Mode=Read"));
    EXPECT_EQ(odd.dataSource, "/x;Data Source=/y/\"F\".mdb");
    EXPECT_EQ(odd.password, "p'w;Mode=Read");
    EXPECT_FALSE(odd.readOnly);
    try {
        db::ConnectionString::parse("Provider=SQLNCLI;Data Source=srv;Initial Catalog=X");
        FAIL();
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::ProviderNotFound);
    }
}

TEST(OpenErrors, MissingFileIsUnspecifiedAndNeverCreated)
{
    test::TestCompany co;
    const QString missing = co.path("YOK");
    const auto e = openFails(co.pool(), jet(missing));
    EXPECT_EQ(e.number(), db::err::Unspecified);
    EXPECT_TRUE(e.description().contains(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(OpenErrors, WrongOrMissingPasswordIsRefused)
{
    test::TestCompany co;
    EXPECT_EQ(openFails(co.pool(), jet(co.path("TEST"), "yanlis")).number(), db::err::InvalidPassword);
    EXPECT_EQ(openFails(co.pool(), "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + co.path("TEST")).number(),
              db::err::InvalidPassword);
    // The right password still opens the same (already shared) file.
    db::Connection con(co.pool());
    con.open(jet(co.path("TEST")));
    EXPECT_TRUE(con.isOpen());
}

TEST(OpenErrors, FilesThatAreNotDatabasesOfTheProgram)
{
    test::TestCompany co;
    const QString text = co.path("METIN");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a database, just a text file with enough bytes to look like a header.....");
    f.close();
    auto e = openFails(co.pool(), jet(text));
    EXPECT_EQ(e.number(), db::err::Unspecified);
    EXPECT_TRUE(e.description().contains(text));

    const QString folder = co.path("KLASOR");
    QDir().mkpath(folder);
    EXPECT_EQ(openFails(co.pool(), jet(folder)).number(), db::err::Unspecified);

    // A plain SQLite file that this program did not make carries no password verifier.
    const QString plain = co.path("DUZ");
    sqlite3_exec(test::otherProgram(plain).get(), "CREATE TABLE x(a)", nullptr, nullptr, nullptr);
    e = openFails(co.pool(), jet(plain));
    EXPECT_EQ(e.number(), db::err::Unspecified);
    EXPECT_TRUE(e.description().contains("password verifier"));
}

TEST(Pool, ConnectionsOnOneFileShareOneHandleUntilTheLastCloses)
{
    test::TestCompany co;
    EXPECT_EQ(co.pool().openFiles(), 1);
    {
        db::Connection a(co.pool()), b(co.pool());
        a.open(co.connectionString());
        b.open(co.connectionString());
        EXPECT_EQ(a.file().get(), b.file().get());
        db::Connection other(co.pool());  // another spelling of the same file
        other.open(db::ConnectionString::forJetFile(co.folder() + "/MUHASEBE/../MUHASEBE/TEST.mdb",
                                                    db::schema::databasePassword()));
        EXPECT_EQ(other.file().get(), a.file().get());
        EXPECT_EQ(co.pool().openFiles(), 1);
        co.addCompany("IKINCI");
        db::Connection c(co.pool());
        c.open(co.connectionString("IKINCI"));
        EXPECT_EQ(co.pool().openFiles(), 2);
    }
    EXPECT_EQ(co.pool().openFiles(), 1);
    co.connection().close();
    EXPECT_EQ(co.pool().openFiles(), 0);
    db::Connection again(co.pool());
    EXPECT_THROW(again.execute("SELECT 1"), db::DbError);  // closed: 3704
}

// The behaviour of transactions and statements, on a file and on a database of the test server.
class EngineTest : public ::testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override
    {
        if (GetParam() == test::Engine::Server && !test::haveTestServer()) GTEST_SKIP() << "no test server (run through ctest)";
    }

    test::TestCompany co{QStringLiteral("TEST"), test::haveTestServer() ? GetParam() : test::Engine::File};
};

INSTANTIATE_TEST_SUITE_P(Engines, EngineTest, ::testing::Values(test::Engine::File, test::Engine::Server), test::engineName);

TEST_P(EngineTest, WritesOfAScopeAreSharedAndRolledBackOnAnErrorPath)
{
    try {
        db::TransactionScope tx(co.connection());
        co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 1}});
        db::Connection other(co.pool());
        other.open(co.connectionString());  // another routine's own connection sees the row
        EXPECT_EQ(co.scalar("Select Evr_No from Evr where On_Taki='K'").intValue(), 1);
        co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 2}});  // unique key: fails
        FAIL() << "duplicate key accepted";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::Unspecified);
        EXPECT_FALSE(e.databaseLevel());  // one row that does not fit
    }
    EXPECT_EQ(co.scalar("Select count(*) from Evr").intValue(), 0);
}

// A row that does not fit, inside a transaction: only its statement is taken back, the step
// goes on and keeps what it wrote before and after; the row read back is the one written.
TEST_P(EngineTest, ARowThatDoesNotFitTakesBackOnlyItself)
{
    db::TransactionScope tx(co.connection());
    co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 1}});
    EXPECT_THROW(co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 2}}), db::DbError);
    db::Recordset rs;
    rs.open("Select * from Evr where On_Taki=?", co.connection(), db::CursorType::Dynamic, db::LockType::Optimistic, {"K"});
    rs.setValue("Evr_No", 5);
    rs.update();
    EXPECT_EQ(rs.value("Evr_No"), db::Value(5));
    co.insert("Evr", {{"On_Taki", "F"}, {"Evr_No", 1}});
    tx.commit();
    EXPECT_EQ(co.rows("Select On_Taki, Evr_No from Evr order by On_Taki"), (QList<QStringList>{{"F", "1"}, {"K", "5"}}));
}

// Another program writing: a writer waits for it as long as the pool says, then gives up with a
// failure of the whole database that names it.
TEST_P(EngineTest, ALockHeldByAnotherProgramIsWaitedForThenStopsTheWriter)
{
    test::OtherWriter other(co);
    other.hold();
    int waits = 0;
    co.pool().settings().lockTimeoutMs = 300;
    co.pool().settings().onLockWait = [&](const QString&, int) { return ++waits > 0; };
    try {
        db::TransactionScope tx(co.connection());
        co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 1}});
        FAIL() << "the lock was taken";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.databaseLevel());
        EXPECT_EQ(e.file(), co.path("TEST"));
        EXPECT_TRUE(e.cause().startsWith("database is locked by another program")) << e.cause().toStdString();
    }
    EXPECT_GE(waits, 3);

    // Released while the writer waits: the writer goes on as if nothing had happened.
    co.pool().settings().lockTimeoutMs = 5000;
    bool released = false;
    co.pool().settings().onLockWait = [&](const QString&, int waited) {
        if (waited > 200 && !std::exchange(released, true)) other.release();
        return true;
    };
    db::TransactionScope tx(co.connection());
    co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 1}});
    tx.commit();
    EXPECT_EQ(co.scalar("Select count(*) from Evr").intValue(), 1);
}

TEST_P(EngineTest, ADatabaseOpenedForReadingRefusesEveryWriteAtTheDatabaseLevel)
{
    db::Connection reader(co.pool());
    reader.open(co.connectionString() + ";Mode=Read");
    EXPECT_TRUE(reader.readOnly());
    EXPECT_FALSE(co.connection().readOnly());
    try {
        reader.execute("INSERT INTO Evr (On_Taki, Evr_No) VALUES ('K', 1)");
        FAIL() << "written";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.databaseLevel());
        EXPECT_TRUE(e.cause().contains(u"read-only")) << e.cause().toStdString();
    }
}

TEST_P(EngineTest, BoundValuesAreStoredAsTheyAre)
{
    co.connection().execute("INSERT INTO Gruplar (Grup, Grupadi, Ana_Hs) VALUES (?, ?, ?)",
                            {"OTO'YED", "Hakkı'nın Grubu", 153});
    EXPECT_EQ(co.connection().lastInsertId(), 1);
    EXPECT_EQ(co.rows("Select Grup, Grupadi from Gruplar where Grup='OTO''YED'"),
              QList<QStringList>({{"OTO'YED", "Hakkı'nın Grubu"}}));
}

// A value the statement has no parameter for is the program's defect: refused, nothing run.
TEST_P(EngineTest, AValueWithoutItsParameterStopsTheStatement)
{
    try {
        co.connection().execute("INSERT INTO Evr (On_Taki, Evr_No) VALUES (?, ?)", {"K", 1, 2});
        FAIL() << "run";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.databaseLevel());
        EXPECT_EQ(e.cause(), "a value bound to no parameter of the statement (it has 2)");
    }
    EXPECT_EQ(co.scalar("Select count(*) from Evr").intValue(), 0);
}

// A table the database lacks: the step's statement fails with the provider's number, and what
// the transaction wrote before it goes with the rollback.
TEST_P(EngineTest, AMissingTableFailsItsStatementAndTheStepRollsBack)
{
    try {
        db::TransactionScope tx(co.connection());
        co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 1}});
        co.connection().execute("DROP TABLE Gruplar");
        co.insert("Gruplar", {{"Grup", "A"}});
        FAIL() << "written";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::NoSuchTable);
    }
    EXPECT_EQ(co.scalar("Select count(*) from Evr").intValue(), 0);
    EXPECT_EQ(co.scalar("Select count(*) from Gruplar").intValue(), 0);  // the drop went back too
}

// The user's cancel while a statement waits for a lock is no failure of the database.
TEST_P(EngineTest, ACancelDuringALockWaitIsNoDatabaseError)
{
    test::OtherWriter other(co);
    other.hold();
    co.pool().settings().onLockWait = [](const QString&, int) { return false; };
    EXPECT_THROW(
        {
            db::TransactionScope tx(co.connection());
            co.insert("Evr", {{"On_Taki", "K"}, {"Evr_No", 1}});
        },
        db::Cancelled);
}

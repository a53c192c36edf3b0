#include "db/PgClient.h"

#include "support/TestCompany.h"
#include "support/TestServer.h"

#include <gtest/gtest.h>

namespace belmo::db {
namespace {

const QString kNoAnswer = QStringLiteral("Server Cevap Vermedi. Lütfen Ayarlarınızı Kontrol Ediniz.");

using test::testServer;

template <typename Work>
DbError failureOf(Work&& work)
{
    try {
        work();
    } catch (const DbError& e) {
        return e;
    }
    ADD_FAILURE() << "no DbError";
    return DbError(0, {});
}

// Each test case has a database of its own, named after it, on the server the run started.
class PgClientTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("BELMO_TEST_PGHOST")) GTEST_SKIP() << "no test server: BELMO_TEST_PGHOST is not set (run through ctest)";
        code = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()).left(40);
        admin = std::make_unique<PgClient>(testServer(), QStringLiteral("postgres"), settings);
        admin->createDatabase(code);
        db = std::make_unique<PgClient>(testServer(), code, settings);
        db->execute(QStringLiteral("CREATE TABLE cari (kod varchar(3) NOT NULL, ad text, tutar numeric(12,2))"));
    }
    void TearDown() override
    {
        db.reset();
        if (admin) admin->dropDatabase(code);
    }

    std::shared_ptr<PoolSettings> settings = std::make_shared<PoolSettings>();
    QString code;
    std::unique_ptr<PgClient> admin;
    std::unique_ptr<PgClient> db;
};

TEST_F(PgClientTest, RefusesAMissingDatabaseAndAServerThatDoesNotAnswer)
{
    PgServer absent = testServer();
    absent.host = QStringLiteral("/nonexistent-belmo-server");
    const DbError missing = failureOf([&] { PgClient(testServer(), QStringLiteral("yok_boyle"), settings); });
    EXPECT_TRUE(missing.databaseLevel());
    EXPECT_EQ(missing.number(), err::Unspecified);
    EXPECT_TRUE(missing.description().contains(testServer().host + QStringLiteral("/yok_boyle"))) << missing.what();
    const DbError down = failureOf([&] { PgClient(absent, code, settings); });
    EXPECT_EQ(down.description(), kNoAnswer);
    EXPECT_EQ(down.file(), QStringLiteral("/nonexistent-belmo-server/") + code);
}

TEST_F(PgClientTest, BoundValuesComeBackAsTheyWent)
{
    const QString text = QStringLiteral("Çağrı'nın \"Öz\" Şirketi; DROP TABLE cari --");
    const QList<Value> values{Value(text), Value(qint64(9000000000)), Value(2.5), Value(true),
                              Value(QDateTime(QDate(2024, 2, 29), QTime(13, 45, 7, 250))), Value::null()};
    for (const Value& v : values)
        EXPECT_EQ(db->execute(QStringLiteral("SELECT $1"), {v}).rows, QList<QList<Value>>{{v}}) << v.debugString().toStdString();
    EXPECT_EQ(db->execute(QStringLiteral("SELECT $1"), {Value()}).rows.at(0).at(0), Value::null());

    EXPECT_EQ(db->execute(QStringLiteral("INSERT INTO cari VALUES ($1, $2, $3), ($4, $5, $6)"),
                          {"A1", text, 12.34, "B2", Value::null(), Value::null()}).affected, 2);
    const PgRows rows = db->execute(QStringLiteral("SELECT ad, tutar, 7::int2, 8::int4, DATE '2024-02-29' FROM cari "
                                                   "WHERE ad = $1 OR kod = $2 ORDER BY kod"), {text, "B2"});
    EXPECT_EQ(rows.columns.first(), QStringLiteral("ad"));
    const QList<QList<Value>> expected{{text, 12.34, 7, 8, QDate(2024, 2, 29)},
                                       {Value::null(), Value::null(), 7, 8, QDate(2024, 2, 29)}};
    EXPECT_EQ(rows.rows, expected);
}

TEST_F(PgClientTest, ServerFailuresKeepTheFileEnginesNumbersAndKinds)
{
    const struct {
        const char* sql;
        qint32 number;
        DbError::Kind kind;
    } cases[] = {
        {"INSERT INTO cari (ad) VALUES ('kodsuz')", err::Unspecified, DbError::Kind::Field},
        {"INSERT INTO cari VALUES ('uzun kod')", err::MultipleStep, DbError::Kind::Field},
        {"SELECT * FROM cari_h", err::NoSuchTable, DbError::Kind::Database},
        {"SELECT borc FROM cari", err::MissingParameter, DbError::Kind::Database},
        {"SELEC 1", err::Syntax, DbError::Kind::Database},
    };
    for (const auto& c : cases) {
        const DbError e = failureOf([&] { db->execute(QString::fromUtf8(c.sql)); });
        EXPECT_EQ(e.number(), c.number) << c.sql << ": " << e.what();
        EXPECT_EQ(e.kind(), c.kind) << c.sql;
        EXPECT_EQ(e.file(), db->name()) << c.sql;
    }
}

TEST_F(PgClientTest, ALockWaitNamesTheHolderAndEndsAtTheTimeoutOrTheUsersCancel)
{
    PgClient holder(testServer(QStringLiteral("Muhasebe Kasa")), code, settings);
    holder.begin();
    holder.execute(QStringLiteral("LOCK TABLE cari IN ACCESS EXCLUSIVE MODE"));
    settings->lockTimeoutMs = 300;
    for (const bool goOn : {true, false}) {
        QList<int> waits;
        settings->onLockWait = [&](const QString& name, int waitedMs) {
            EXPECT_EQ(name, db->name());
            waits.append(waitedMs);
            return goOn;
        };
        if (goOn) {
            const DbError e = failureOf([&] { db->execute(QStringLiteral("SELECT count(*) FROM cari")); });
            EXPECT_TRUE(e.databaseLevel());
            EXPECT_TRUE(e.cause().contains(QStringLiteral("Muhasebe Kasa (user "))) << e.what();
        } else {
            EXPECT_THROW(db->execute(QStringLiteral("SELECT count(*) FROM cari")), Cancelled);
            EXPECT_EQ(waits.size(), 1);
        }
        ASSERT_FALSE(waits.isEmpty());
        EXPECT_GT(waits.last(), 0);
    }
    holder.rollback();
    EXPECT_EQ(db->execute(QStringLiteral("SELECT count(*) FROM cari")).rows.at(0).at(0), Value(0));
}

TEST_F(PgClientTest, AReadOnlySnapshotRefusesAWriteAndItsCommit)
{
    db->beginSnapshot();
    const DbError e = failureOf([&] { db->execute(QStringLiteral("INSERT INTO cari VALUES ('C3')")); });
    EXPECT_TRUE(e.databaseLevel());
    EXPECT_TRUE(e.cause().startsWith(QStringLiteral("the database is read-only"))) << e.what();
    EXPECT_TRUE(failureOf([&] { db->commit(); }).databaseLevel());
    EXPECT_FALSE(db->inTransaction());
}

TEST_F(PgClientTest, OnlyAPlainCodeNamesADatabase)
{
    for (const QString& bad : {QStringLiteral("x\"; DROP DATABASE postgres; --"), QString(), QString(40, u'Ş')})
        EXPECT_EQ(failureOf([&] { admin->createDatabase(bad); }).number(), err::InvalidCall) << bad.toStdString();
    admin->createDatabase(QStringLiteral("Şirket-2025"));
    PgClient{testServer(), QStringLiteral("Şirket-2025"), settings};
    admin->dropDatabase(QStringLiteral("Şirket-2025"));
}

}  // namespace
}  // namespace belmo::db

// The schema code: every declared table and column exists, with the defaults the steps rely
// on, in a plain SQLite file; new files appear only complete.
#include "support/TestCompany.h"

#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace belmo;
namespace schema = db::schema;

TEST(Schema, EveryDeclaredColumnExistsWithItsType)
{
    test::TestCompany co;
    for (const auto& table : schema::companyTables()) {
        const auto cols = co.rows(QStringLiteral("PRAGMA table_info(%1)").arg(table.name));
        ASSERT_EQ(cols.size(), table.columns.size()) << table.name.toStdString();
        for (int i = 0; i < cols.size(); ++i) EXPECT_EQ(cols[i][1], table.columns[i].name);
    }
    // The columns the steps lean on, spot-checked by kind.
    EXPECT_EQ(schema::findTable(schema::companyTables(), "Kayit")->column("Kayit_No")->kind, schema::Kind::AutoNumber);
    EXPECT_EQ(schema::findTable(schema::companyTables(), "kayit")->column("TARIH")->kind, schema::Kind::Date);
    EXPECT_EQ(schema::findTable(schema::companyTables(), "Arac_Tanim_Yi")->column("Sofor_No")->kind, schema::Kind::Short);
    EXPECT_EQ(schema::findTable(schema::configTables(), "USERS")->columns.size(), 7);
}

TEST(Schema, NumbersDefaultToZeroTextsToNull)
{
    test::TestCompany co;
    co.insert("Hesaplar", {{"MID1", "1001"}});
    EXPECT_EQ(co.rows("Select sil, Ana_Hs, KDV, TAMUNVAN from Hesaplar"), QList<QStringList>({{"0", "0", "0", "<null>"}}));
    co.insert("Stok_H", {{"Stok_Kodu", "S1"}});
    EXPECT_EQ(co.rows("Select Lot_No, Giren1, Depo_Kodu from Stok_H"), QList<QStringList>({{"0", "0", "<null>"}}));
}

TEST(Schema, PlainSqliteFilesTheCommandLineShellLists)
{
    const QString shell = QStandardPaths::findExecutable("sqlite3");
    if (shell.isEmpty()) GTEST_SKIP() << "sqlite3 shell not installed";
    test::TestCompany co;
    co.connection().close();
    QProcess p;
    p.start(shell, {co.path("TEST"), ".tables"});
    ASSERT_TRUE(p.waitForFinished(10000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    for (const char* t : {"Kayit", "Cari_H", "Stok_H", "Hesaplar", "Karne_Tanim", "Plk_Kod_Yi"})
        EXPECT_TRUE(out.contains(QString::fromLatin1(t))) << t;
}

TEST(Schema, CreationRefusesAnExistingFileAndPendingFilesAppearOnlyComplete)
{
    test::TestCompany co;
    try {
        schema::createDatabaseFile(co.path("TEST"), schema::companyTables(), schema::databasePassword());
        FAIL();
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::Unspecified);
        EXPECT_TRUE(e.description().contains(co.path("TEST")));
    }
    const QString target = co.path("YENI");
    {
        schema::PendingFile pending(target);
        schema::createDatabaseFile(pending.workPath(), schema::configTables(), schema::databasePassword());
        EXPECT_TRUE(QFileInfo::exists(pending.workPath()));
        // Left without commit (an error while filling it): nothing remains.
    }
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(target + ".partial"));
    {
        schema::PendingFile pending(target);
        schema::createDatabaseFile(pending.workPath(), schema::configTables(), schema::databasePassword());
        pending.commit();
    }
    EXPECT_TRUE(QFileInfo::exists(target));
    db::Connection con(co.pool());
    con.open(db::ConnectionString::forJetFile(target, schema::databasePassword()));
    EXPECT_TRUE(con.isOpen());
}

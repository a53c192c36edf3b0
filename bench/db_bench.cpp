// Figures of the database client: static opens, inserts through a dynamic recordset on an
// empty and on a large table, and the current-account views and loader over the large demo
// company. A benchmark, not a test: it prints what it measures.
//
//   belmo_db_bench [--demo DIR]     DIR: a folder made by "belmo demo --size large"
//                                   (made in a temporary folder when not given)
#include "app/ProgramFolder.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "demo/Demo.h"

#include "QueryFixture.h"
#include "transfers/balances/CurrentAccountQueries.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace belmo;
using db::CursorType;
using db::LockType;
using db::Value;

namespace {

double millis(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

double best(int runs, const std::function<void()>& f)
{
    double b = 1e18;
    for (int i = 0; i < runs; ++i) b = std::min(b, millis(f));
    return b;
}

void report(const char* what, double ms, const QString& note = {})
{
    std::printf("  %-58s %10.1f ms  %s\n", what, ms, qPrintable(note));
    std::fflush(stdout);
}

QString makeCompany(const QTemporaryDir& dir, const QString& code)
{
    const QString path = dir.path() + u'/' + code + QStringLiteral(".mdb");
    db::schema::createDatabaseFile(path, db::schema::companyTables(), db::schema::databasePassword());
    return db::ConnectionString::forJetFile(path, db::schema::databasePassword());
}

// Fills Cari_H with n lines in one statement, numbered like the headers of a real book.
void fillLines(db::Connection& con, int n)
{
    con.execute(QStringLiteral(
                    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c WHERE x<%1) "
                    "INSERT INTO Cari_H (Kayit_No, Aciklama, islem_Dvz, Doviz_Kuru, Vade, B_Fiyat, Tutar_Ytl, Tutar_Dvz1, "
                    "Tutar_Dvz2, KDV) SELECT x, 'Satış faturası', 'TL', 0, '2025-03-01', 0, x % 9973 * 1.25, 0, 0, 20 FROM c")
                    .arg(n));
}

// One opening entry's line as the posting writer adds it: its own recordset on
// "select * from Cari_H", a new row, the columns in the writer's order, saved.
void postLine(db::Connection& con, int i)
{
    db::Recordset rs;
    rs.open(QStringLiteral("select * from Cari_H"), con, CursorType::Dynamic, LockType::Optimistic);
    rs.addNew();
    rs.field("Kayit_No") = 2000000 + i;
    rs.field("Aciklama") = QString();
    rs.field("islem_Dvz") = "TL";
    rs.field("Doviz_Kuru") = 0;
    rs.field("iskonto_Oran") = 0;
    rs.field("iskonto") = 0.0;
    rs.field("B_Fiyat") = 0;
    rs.field("Tutar_Ytl") = 150.0 + i;
    rs.field("Tutar_Dvz1") = 0.0;
    rs.field("Tutar_Dvz2") = 0;
    rs.field("Alis_Kyt_No") = 0;
    rs.field("KDV") = 0;
    rs.field("Doviz_Kuru") = 0;
    rs.update();
    rs.close();
}

void staticOpen()
{
    std::printf("Static read-only open\n");
    QTemporaryDir dir;
    db::ConnectionPool pool;
    db::Connection con(pool);
    con.open(makeCompany(dir, "STATIK"));
    fillLines(con, 100000);
    qint64 rows = 0;
    const double open = best(3, [&] {
        db::Recordset rs;
        rs.open(QStringLiteral("Select * from Cari_H"), con, CursorType::Static, LockType::ReadOnly);
        rows = rs.recordCount();
    });
    report("open \"Select * from Cari_H\", 100,000 rows, RecordCount", open, QStringLiteral("(%1 rows)").arg(rows));
    double sum = 0;
    const double walk = best(3, [&] {
        db::Recordset rs;
        rs.open(QStringLiteral("Select * from Cari_H"), con, CursorType::Static, LockType::ReadOnly);
        while (!rs.eof()) {
            sum += rs.value(8).doubleValue();
            rs.moveNext();
        }
    });
    report("open and walk every row reading one field", walk);
}

double insertRun(db::Connection& con, int n)
{
    return millis([&] {
        db::TransactionScope tx(con);
        for (int i = 0; i < n; ++i) postLine(con, i);
        tx.commit();
    });
}

void inserts()
{
    std::printf("Inserts through \"select * from Cari_H\" opened dynamic (one open per insert, as the writer does)\n");
    QTemporaryDir dir;
    db::ConnectionPool pool;
    db::Connection empty(pool), large(pool);
    empty.open(makeCompany(dir, "BOS"));
    large.open(makeCompany(dir, "BUYUK"));
    const double fill = millis([&] { fillLines(large, 1000000); });
    report("(preparing: 1,000,000 lines into the large table)", fill);
    constexpr int n = 10000;
    insertRun(empty, 200);  // warm the statement caches of both files alike
    insertRun(large, 200);
    const double onEmpty = insertRun(empty, n);
    const double onLarge = insertRun(large, n);
    report("10,000 inserts, table empty at start", onEmpty, QStringLiteral("%1 µs/insert").arg(onEmpty * 1000 / n, 0, 'f', 1));
    report("10,000 inserts, table with 1,000,000 rows", onLarge, QStringLiteral("%1 µs/insert").arg(onLarge * 1000 / n, 0, 'f', 1));
    std::printf("  per-insert cost, large / empty: %.2f (must stay within 1.50)\n", onLarge / onEmpty);
}

void currentAccountViews(const QString& folder)
{
    std::printf("Current-account views and loader over the large demo company (%s)\n", qPrintable(folder));
    const app::ProgramFolder pf(folder);
    db::ConnectionPool pool;
    db::Connection con(pool);
    con.open(pf.companyConnection(demo::kSourceCode));
    // The demo's money settings: amounts with 2 decimals, prices with 4, quantities with 2.
    const test::Fragments f = test::accessFragments({2, 2, 2, 4, 2});
    const double views = millis([&] {
        test::dropView(con, QStringLiteral("CMZN"), 1);
        test::createView(con, QStringLiteral("CMZN"), 1, transfers::currentAccountDebitView(f));
        test::dropView(con, QStringLiteral("CMZN"), 2);
        test::createView(con, QStringLiteral("CMZN"), 2, transfers::currentAccountCreditView(f));
    });
    report("drop and create the two views", views);
    for (const bool hideZero : {false, true}) {
        qint64 rows = 0;
        QString first;
        const double loader = millis([&] {
            db::Recordset rs;
            rs.open(transfers::currentAccountLoader(f, QStringLiteral("CMZN") + test::kUserCode, hideZero), con, CursorType::Keyset, LockType::ReadOnly);
            rows = rs.recordCount();
            for (int i = 1; rows && i < rs.fieldCount(); ++i) first += QStringLiteral(" | ") + rs.value(i).debugString();
        });
        report(hideZero ? "loader with \"Bakiyesizleri Gizle\"" : "loader (union of both views, formatted sums)", loader,
               QStringLiteral("(%1 accounts)").arg(rows));
        if (!hideZero) std::printf("    first row:%s\n", qPrintable(first));
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString folder;
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--demo"));
    if (at > 0 && at + 1 < args.size()) folder = args[at + 1];
    QTemporaryDir made;
    if (folder.isEmpty()) {
        std::printf("Making a large demo folder in %s ...\n", qPrintable(made.path()));
        const double ms = millis([&] { demo::createDemoFolder(made.path(), demo::Size::Large, false); });
        report("belmo demo --size large", ms);
        folder = made.path();
    }
    try {
        staticOpen();
        inserts();
        currentAccountViews(folder);
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}

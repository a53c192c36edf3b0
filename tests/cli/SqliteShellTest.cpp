// The company files in the real sqlite3 shell with belmo_sqlite loaded: after a run, a join
// with Turkish conditions and every view the run left read there as through the program.
#include "DemoRun.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace belmo;
using namespace Qt::Literals::StringLiterals;

namespace {

// The rows the shell prints for a statement on a file, in its JSON mode.
QJsonArray shellRows(const QString& file, const QString& sql)
{
    QProcess shell;
    shell.start(u"sqlite3"_s, {u"-json"_s, u"-cmd"_s, u".load "_s + QString::fromUtf8(BELMO_SQLITE_MODULE), file, sql});
    EXPECT_TRUE(shell.waitForFinished(-1));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString() << sql.toStdString();
    return QJsonDocument::fromJson(shell.readAllStandardOutput()).array();
}

// The same rows through the program's client: dates as the file keeps them, numbers as numbers.
QJsonArray programRows(db::Connection& con, const QString& sql)
{
    db::Recordset rs;
    rs.open(sql, con, db::CursorType::Static, db::LockType::ReadOnly);
    QJsonArray rows;
    for (; !rs.eof(); rs.moveNext()) {
        QJsonObject row;
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const db::Value v = rs.value(i);
            row[rs.fieldName(i)] = v.isNull() ? QJsonValue() : v.isDate() ? QJsonValue(vb::toStorageDate(v.dateValue()))
                                 : v.isText() || v.isEmpty() ? QJsonValue(vb::CStr(v)) : QJsonValue(vb::CDbl(v));
        }
        rows << row;
    }
    return rows;
}

}  // namespace

using SqliteShell = test::DemoRun;

TEST_F(SqliteShell, ReadsTheTablesAndTheRunsViewsAsTheProgram)
{
    ASSERT_EQ(test::belmoRun(login(u"1234"_s) << u"--yes"_s).code, 0);
    const QString join = u"SELECT Hesaplar.MID1, Hesaplar.Sehir, Kayit.Evrak_No, Kayit.tarih, Cari_H.Tutar_Ytl "
                         "FROM (Hesaplar INNER JOIN Kayit ON Kayit.B_MID = Hesaplar.MID1) "
                         "INNER JOIN Cari_H ON Cari_H.Kayit_No = Kayit.Kayit_No WHERE "_s;
    QStringList statements{join + u"Hesaplar.Sehir = 'BALIKESİR' AND Cari_H.islem_Dvz = 'tl'"_s,
                           join + u"Hesaplar.TAMUNVAN LIKE '%İNŞAAT%' ORDER BY Kayit.tarih"_s,
                           join + u"Hesaplar.Sehir IN ('MUĞLA', 'aydin')"_s};
    db::Connection con(reader.pool());
    openCompany(con, u"DEMO2025"_s);
    const QJsonArray views = programRows(con, u"SELECT name FROM sqlite_master WHERE type = 'view'"_s);
    EXPECT_GE(views.size(), 10);
    for (const QJsonValue& view : views) statements << u"SELECT * FROM "_s + view[u"name"_s].toString();
    for (const QString& sql : statements) {
        const QJsonArray rows = programRows(con, sql);
        EXPECT_FALSE(rows.isEmpty()) << sql.toStdString();
        EXPECT_EQ(shellRows(folder_.path() + u"/MUHASEBE/DEMO2025.mdb"_s, sql), rows) << sql.toStdString();
    }
}

// Loaded on a file that is no company file, the functions work and the file stays as it was.
TEST(SqliteShellOnAnyFile, WorksAndWritesNothing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"plain.db"_s);
    shellRows(file, u"CREATE TABLE t (a TEXT); INSERT INTO t VALUES ('ışık'), ('İSTANBUL')"_s);
    auto digest = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
    };
    const QByteArray before = digest();
    const QJsonArray rows = shellRows(file, u"SELECT count(*) AS n, last(a) AS a, format(-5, '#,##0.00;') AS f FROM t "
                                             "WHERE a = 'IŞIK' COLLATE JETTEXT OR a LIKE 'istanbul'"_s);
    const QJsonObject expected{{u"n"_s, 2}, {u"a"_s, u"İSTANBUL"_s}, {u"f"_s, u"-5,00"_s}};
    EXPECT_EQ(rows, QJsonArray{expected});
    EXPECT_EQ(digest(), before);
}

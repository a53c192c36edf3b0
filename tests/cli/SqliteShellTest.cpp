// The company files in the real sqlite3 shell with belmo_sqlite loaded read as through the
// program's client; values compare as SQLite turns them into text (`|| ''`) in both.
#include "DemoRun.h"

#include <QProcess>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<QStringList> shellRows(const QString& file, const QString& sql)
{
    QProcess shell;
    shell.start(u"sqlite3"_s, {u"-separator"_s, u"\x1f"_s, u"-newline"_s, u"\x1e"_s, u"-nullvalue"_s, u"<null>"_s,
                               u"-cmd"_s, u".load "_s + QString::fromUtf8(BELMO_SQLITE_MODULE), file, sql});
    EXPECT_TRUE(shell.waitForFinished(-1) && shell.exitCode() == 0) << shell.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QString& row : QString::fromUtf8(shell.readAllStandardOutput()).split(u'\x1e', Qt::SkipEmptyParts))
        rows << row.split(u'\x1f');
    return rows;
}

}  // namespace

// Joins with Turkish conditions, and every view a run leaves in the source.
using SqliteShell = belmo::test::DemoRun;
TEST_F(SqliteShell, ReadsATablesJoinAndTheViewsARunLeavesAsTheProgram)
{
    ASSERT_EQ(belmo::test::belmoRun(login(u"1234"_s) << u"--yes"_s).code, 0);
    const QString join = u"SELECT Hesaplar.MID1, Hesaplar.Sehir, Kayit.tarih || '', Cari_H.Tutar_Ytl || '' FROM (Hesaplar "
                         "INNER JOIN Kayit ON Kayit.B_MID = Hesaplar.MID1) INNER JOIN Cari_H ON Cari_H.Kayit_No = Kayit.Kayit_No "_s;
    QStringList statements{join + u"WHERE Hesaplar.Sehir = 'BALIKESİR' AND Cari_H.islem_Dvz = 'tl'"_s,
                           join + u"WHERE Hesaplar.TAMUNVAN LIKE '%İNŞAAT%' ORDER BY Kayit.tarih"_s,
                           join + u"WHERE Hesaplar.Sehir IN ('MUĞLA', 'aydin') AND Kayit.tarih < '01.07.2025'"_s};
    belmo::db::Connection con(reader.pool());
    openCompany(con, u"DEMO2025"_s);
    for (const QStringList& view : reader.rows(con, u"SELECT name FROM sqlite_master WHERE type = 'view'"_s))
        statements << u"SELECT %1 || '' FROM %2"_s.arg(con.columns(view[0]).join(u" || '', "_s), view[0]);
    EXPECT_GE(statements.size(), 3 + 10);
    for (const QString& sql : statements) {
        EXPECT_FALSE(reader.rows(con, sql).isEmpty()) << sql.toStdString();
        EXPECT_EQ(shellRows(companyPath(u"DEMO2025"_s), sql), reader.rows(con, sql)) << sql.toStdString();
    }
}

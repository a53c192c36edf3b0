// A source that cannot be read as a step reads it is never a success: `belmo run` on the demo
// with one fault planted in the source, each ending either not finished with the target as it
// was, or finished with the faulty rows listed and everything else carried.
#include "DemoRun.h"

#include "cli/Cli.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

struct SourceFault {
    const char* name;
    QString steps;
    bool carriedBefore;         // the steps ran once on the clean source first
    QStringList fault;          // statements run on the source
    int exit;
    QStringList printed;        // parts of the output, the file and the cause among them
    QString check;              // one cell read from the target afterwards ...
    QString expected;           // ... and what it holds; empty: what it held before
};

void PrintTo(const SourceFault& f, std::ostream* os) { *os << f.name; }

const SourceFault kFaults[] = {
    {"ARenamedTableLeavesTheDriversTheTargetHolds", u"soforyi"_s, true,
     {u"ALTER TABLE Sofor_Yi RENAME TO Sofor_Eski"_s}, cli::kFailed,
     {u"DEMO2025.mdb: no such table: Sofor_Yi"_s, u"Liste kaynak şirketten yüklenemedi"_s, u"not finished"_s},
     u"Select count(*) from Sofor_Yi"_s, {}},
    {"ADroppedColumnCarriesNoCard", u"cari"_s, false,
     {u"DROP INDEX IX_Hesaplar_MID1_Ana_Hs_Grupkod_TAMUNVAN_sil"_s, u"ALTER TABLE Hesaplar DROP COLUMN TAMUNVAN"_s}, cli::kFailed,
     {u"DEMO2025.mdb: no such column"_s, u"not finished"_s}, u"Select count(*) from Hesaplar"_s, u"0"_s},
    {"AnOverflowingSumAndATextAmountAreListedAndTheRestCarried", u"cari"_s, false,
     {u"UPDATE Cari_H SET Tutar_Ytl=1e308 WHERE Kayit_No IN (1,72)"_s, u"UPDATE Cari_H SET Tutar_Ytl='NaN' WHERE Kayit_No=3"_s},
     cli::kOk, {u"Aşağıdaki kayıtlar aktarılamadı:"_s, u"1002 Öz Kardeşler Gıda Bayi Ltd. Şti.: Ytl '+Sonsuz' is not a finite number"_s,
                u"1005: Cari_H Kayit_No 3: Tutar_Ytl 'NaN' is not a number"_s, u"39 listed, 37 ticked, finished"_s},
     u"Select count(*) from Hesaplar where MID1 not in ('1002','1005')"_s, u"36"_s},
    {"ANullPeriodWritesNoEmptyPeriod", u"sirket"_s, false, {u"UPDATE SIRKET SET DONEM=NULL"_s}, cli::kFailed,
     {u"DEMO2025.mdb: SIRKET.DONEM is not a year: ''"_s, u"not finished"_s}, u"Select DONEM from SIRKET"_s, {}},
    {"AnAccountCodeWithAByteOrderMarkIsCarriedByteForByte", u"cari"_s, false,
     {u"UPDATE Hesaplar SET MID1=char(65279)||MID1 WHERE MID1='1002'"_s,
      u"UPDATE Kayit SET B_MID=char(65279)||B_MID WHERE B_MID='1002'"_s,
      u"UPDATE Kayit SET A_MID=char(65279)||A_MID WHERE A_MID='1002'"_s},
     cli::kOk, {u"39 listed, 39 ticked, finished"_s},
     u"Select hex(MID1) from Hesaplar where hex(MID1) like 'EFBBBF%'"_s, u"EFBBBF31303032"_s},
    {"AWarehouseCodeWithANulIsCarriedByteForByte", u"depo"_s, false,
     {u"UPDATE Depo SET Depo_Kodu='0'||char(0)||'9' WHERE Depo_Kodu='01'"_s}, cli::kOk, {u"finished"_s},
     u"Select hex(Depo_Kodu) from Depo where Depo_Adi='Merkez Depo'"_s, u"300039"_s},
};

class SourceFaults : public DemoRun, public ::testing::WithParamInterface<SourceFault> {};

TEST_P(SourceFaults, EndsNotFinishedOrWithTheFaultyRowsListed)
{
    const SourceFault& f = GetParam();
    const QStringList args = login(u"1234"_s) + QStringList{u"--steps"_s, f.steps, u"--yes"_s};
    if (f.carriedBefore) {
        ASSERT_EQ(belmoRun(args).code, cli::kOk);
    }
    const QString before = cell(u"DEMO2026"_s, f.check);
    {
        db::Connection source(reader.pool());
        openCompany(source, u"DEMO2025"_s);
        for (const QString& sql : f.fault) source.execute(sql);
    }
    const RunResult r = belmoRun(args);
    EXPECT_EQ(r.code, f.exit) << r.out.toStdString();
    for (const QString& part : f.printed) EXPECT_TRUE(r.out.contains(part)) << part.toStdString() << "\n" << r.out.toStdString();
    EXPECT_EQ(cell(u"DEMO2026"_s, f.check), f.expected.isEmpty() ? before : f.expected);
}

INSTANTIATE_TEST_SUITE_P(Run, SourceFaults, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// A source that opens for writing but refuses every write (its companion files belong to
// another user), holding views an earlier run left: the cheque lists are read through views
// of this run, each list shows its own cheques, and the source is not written.
TEST_F(DemoRun, AnUnwritableSourceWithStaleViewsListsEachChequeListRight)
{
    if (geteuid() != 0 || QStandardPaths::findExecutable(u"setpriv"_s).isEmpty()) GTEST_SKIP() << "needs root and setpriv";
    // Open while the other user runs, so that its companion files stay root's.
    db::Connection source(reader.pool());
    openCompany(source, u"DEMO2025"_s);
    for (int slot = 1; slot <= 5; ++slot)  // every stale view lists every cheque in clearing
        source.execute(u"CREATE VIEW CK05%1 AS SELECT Cek_No, 0 AS ToplaTutar, '' AS Aciklama, '' AS Evrak_No, "
                       u"'' AS TAMUNVAN, 0 AS Kayit_No, '' AS Tarih, 0 AS B_Hs, '' AS Hesap_No, '' AS Banka, '' AS "
                       u"Sube, '' AS Vade, '' AS Para_Birim, '' AS Yetkili, 0 AS Deyim1, 0 AS Tutar FROM Cek_"_s.arg(slot));
    const QString muhasebe = folder_.path() + u"/MUHASEBE"_s;
    for (const QString& path : {folder_.path(), muhasebe}) QFile::setPermissions(path, QFile::Permissions(0x7777));
    for (const QString& name : QDir(muhasebe).entryList(QDir::Files)) {
        const QString path = muhasebe + u'/' + name;
        const bool source = name.startsWith(u"DEMO2025"_s);
        // The source itself is writable, its companions are not; the target is the user's.
        ASSERT_EQ(::chown(path.toUtf8().constData(), source ? 0 : 65534, 0), 0);
        QFile::setPermissions(path, source && name.endsWith(u".mdb"_s) ? QFile::Permissions(0x6666) : QFile::Permissions(0x6644));
    }
    for (const QString& name : QDir(folder_.path()).entryList({u"config.mdb*"_s}, QDir::Files))
        ASSERT_EQ(::chown((folder_.path() + u'/' + name).toUtf8().constData(), 65534, 0), 0);
    const QString viewsBefore = cell(u"DEMO2025"_s, u"Select group_concat(sql) from sqlite_master where type='view'"_s);

    QProcess p;
    p.start(u"setpriv"_s, QStringList{u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, BELMO_EXECUTABLE, u"run"_s}
                              + login(u"1234"_s) + QStringList{u"--steps"_s, u"cek"_s, u"--yes"_s});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), cli::kOk) << out.toStdString();
    EXPECT_TRUE(out.contains(u"Portföydeki Çekler 12 listed, 12 ticked; Takastaki Çekler 2 listed, 2 ticked, finished"_s))
        << out.toStdString();
    EXPECT_EQ(cell(u"DEMO2025"_s, u"Select group_concat(sql) from sqlite_master where type='view'"_s), viewsBefore);
}

}  // namespace
}  // namespace belmo::test

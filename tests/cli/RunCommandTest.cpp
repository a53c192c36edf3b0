// `belmo run`: the login and the steps pressed headless on the same window models, with
// every exchange printed and a line per step.
#include "DemoRun.h"
#include "console/TestSteps.h"
#include "support/TestProgram.h"

#include "cli/Cli.h"

#include <QRegularExpression>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

const QString kMasterData = u"sirket,sablon,islem,evrak,grup,depo,muhasebe,plasiyer"_s;

TEST_F(DemoRun, TheWizardCarriesTheMasterDataAndPrintsEveryExchange)
{
    const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--yes"_s});
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Logged in; user code 05."_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"[message \"Belmo\"] Belmo İşlemi Adımları Sırasıyla Karşınıza Otomatik Olarak Gelecek.\n"
                               "      Lütfen Gerekli İşlemleri Atlamayınız.\n      -> OK"_s))
        << r.out.toStdString();
    // A message whose lines are separated by carriage returns prints one line each.
    EXPECT_TRUE(r.out.contains(u"Dikkat Muhasebe Hesapları Bekiyesiz Aktarılır.\n"
                               "      Yeni Şirket üzerinden gerekli bakiye girişlerini\n"
                               "      belmo bakiyesi olarak giriniz\n      -> OK"_s));
    EXPECT_TRUE(r.out.contains(u"  depo (Depo Tanımları): 4 listed, 4 ticked, finished\n"
                               "  cari (Cari Hesaplar ve Bakiyeler): 39 listed, 39 ticked, finished\n"
                               "  stok (Stok Kart ve Bakiyeleri): 82 listed, 82 ticked, finished\n"
                               "  siparis (Sipariş Belmoleri): 17 listed, 17 ticked, finished\n"
                               "  cek (Çek Belmoleri): Portföydeki Çekler 12 listed, 12 ticked; "
                               "Takastaki Çekler 2 listed, 2 ticked, finished\n"
                               "  muhasebe (Muhasebe Belmoleri): 21 listed, 21 ticked, finished\n"
                               "  taksit (Taksit Belmoleri): 11 listed, 11 ticked, finished\n"
                               "  plasiyer (Plasiyer Tanımları): 4 listed, 4 ticked, finished\n"_s))
        << r.out.toStdString();
}

// Without --steps the transport window's eleven steps follow the wizard, drivers before
// vehicles; the target then holds the source's transport definitions as the steps carry
// them.
TEST_F(DemoRun, TheTransportStepsFollowTheWizardAndTheTargetHoldsTheSourcesDefinitions)
{
    const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--yes"_s});
    ASSERT_EQ(r.code, cli::kOk) << r.out.toStdString();
    const qsizetype plasiyer = r.out.indexOf(u"  plasiyer (Plasiyer Tanımları): "_s);
    qsizetype previous = plasiyer;
    for (const QString& step : {u"soforyi (Yurtiçi Nakliyat / Şoför Tanımları)"_s, u"aracyi (Yurtiçi Nakliyat / Araç Tanımları)"_s,
                                u"sehir ("_s, u"guzergahyi ("_s, u"masrafyi ("_s, u"soforyd ("_s, u"aracyd ("_s, u"ulke ("_s,
                                u"guzergahyd ("_s, u"masrafyd ("_s, u"karne (Uluslararası Nakliyat / Karne Tanımları)"_s}) {
        const qsizetype at = r.out.indexOf(u"  "_s + step, previous);
        EXPECT_GT(at, previous) << step.toStdString();
        EXPECT_TRUE(r.out.mid(at, r.out.indexOf(u'\n', at) - at).endsWith(u"ticked, finished"_s)) << step.toStdString();
        previous = at;
    }

    // What the source holds that the steps carry, and the same of the target.
    struct Carried {
        QString source, target;
    };
    const QString drivers = u"Select Ad_Soyad, Adres, Cep_Tel, Pasaport_No, Prim_Oran, Nuf_Tarihi from %1 "_s;
    const QString vehicles = u"Select A.Plaka, A.Marka, A.Tonaj, A.Trf_Tarihi, %3 from %1 A %4 %2 S on A.Sofor_No=S.ID "_s;
    const QList<Carried> carried = {
        {u"Select Plaka_Kod, il, Gumruk from Plk_Kod order by Plaka_Kod"_s, {}},
        {u"Select Plaka_Kod, il, Ulke_Kod from Plk_Kod_Yi where Ulke_Kod in (Select Plaka_Kod from Plk_Kod) order by Plaka_Kod"_s,
         u"Select Plaka_Kod, il, Ulke_Kod from Plk_Kod_Yi order by Plaka_Kod"_s},
        {u"Select Yuk_Yeri, Bos_Yeri, iif(Mesafe is null, 0, Mesafe) from Guzergah_Yi order by ID"_s,
         u"Select Yuk_Yeri, Bos_Yeri, Mesafe from Guzergah_Yi order by ID"_s},
        {u"Select Tasima_Tur, Yuk_Ulke, Yuk_Yeri, Yuk_Ilce, Bos_Ulke, Bos_Yeri, Bos_Ilce, Mesafe from Guzergah where Yuk_Ulke in "
         "(Select Plaka_Kod from Plk_Kod) or Bos_Ulke in (Select Plaka_Kod from Plk_Kod) or Yuk_Yeri in (Select Plaka_Kod "
         "from Plk_Kod_Yi) or Bos_Yeri in (Select Plaka_Kod from Plk_Kod_Yi) order by ID"_s,
         u"Select Tasima_Tur, Yuk_Ulke, Yuk_Yeri, Yuk_Ilce, Bos_Ulke, Bos_Yeri, Bos_Ilce, Mesafe from Guzergah order by ID"_s},
        {u"Select Masraf_Kod, Masraf_Tanim, Gider_Bilgisi from Masraf_Tanim_Yi order by Masraf_Kod"_s, {}},
        {u"Select Masraf_Kod, Masraf_Tanim, Gider_Bilgisi from Masraf_Tanim_YD order by Masraf_Kod"_s, {}},
        {drivers.arg(u"Sofor_Yi where Sil=0 order by ID"_s), drivers.arg(u"Sofor_Yi order by ID"_s)},
        {drivers.arg(u"Sofor_YD where Sil=0 order by ID"_s), drivers.arg(u"Sofor_YD order by ID"_s)},
        // A vehicle keeps its driver when the driver was carried.
        {vehicles.arg(u"Arac_Tanim_Yi"_s, u"Sofor_Yi"_s, u"iif(S.Sil=0, S.Ad_Soyad, Null)"_s, u"inner join"_s) +
             u"where A.Sil=0 order by A.Plaka"_s,
         vehicles.arg(u"Arac_Tanim_Yi"_s, u"Sofor_Yi"_s, u"S.Ad_Soyad"_s, u"left join"_s) + u"order by A.Plaka"_s},
        {vehicles.arg(u"Arac_Tanim_YD"_s, u"Sofor_YD"_s, u"iif(S.Sil=0, S.Ad_Soyad, Null)"_s, u"inner join"_s) +
             u"where A.Sil=0 order by A.Plaka"_s,
         vehicles.arg(u"Arac_Tanim_YD"_s, u"Sofor_YD"_s, u"S.Ad_Soyad"_s, u"left join"_s) + u"order by A.Plaka"_s},
        {u"Select Karne_No, Bas_Trh, Bit_Trh, iade_Trh, Plaka, Sofor, Teslim, sayfa from Karne_Tanim where "
         "Bit_Trh>='01.01.2026' and Teslim=0 order by ID"_s,
         u"Select Karne_No, Bas_Trh, Bit_Trh, iade_Trh, Plaka, Sofor, Teslim, sayfa from Karne_Tanim order by ID"_s},
    };
    db::Connection source(reader.pool()), target(reader.pool());
    openCompany(source, u"DEMO2025"_s);
    openCompany(target, u"DEMO2026"_s);
    for (const Carried& c : carried) {
        const QList<QStringList> expected = reader.rows(source, c.source);
        EXPECT_FALSE(expected.isEmpty()) << c.source.toStdString();
        EXPECT_EQ(reader.rows(target, c.target.isEmpty() ? c.source : c.target), expected) << c.source.toStdString();
    }
}

TEST_F(DemoRun, NoToTheTemplateQuestionStopsTheWizard)
{
    const RunResult r = belmoRun(login(u"1234"_s));
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"  sablon (Şablonları Aktar): not finished\n"_s)) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"islem ("_s));
}

TEST_F(DemoRun, RunningTheMasterDataStepsTwiceLeavesTheTargetAsAfterOneRun)
{
    const RunResult first = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, kMasterData, u"--yes"_s});
    ASSERT_EQ(first.code, cli::kOk) << first.out.toStdString();
    const QList<QStringList> once = targetTables();
    EXPECT_TRUE(once.contains(QStringList{"770", "01", "A'01", "Avukatlık Ücretleri", "M"}));
    EXPECT_TRUE(once.contains(QStringList{"2", "02", "Kadıköy'deki Depo", "153", "0"}));
    EXPECT_TRUE(once.contains(QStringList{"11", "OTO'YED", "Oto Yedek Parça", "153", "0"}));
    EXPECT_TRUE(once.contains(QStringList{"3", "335", "01", "003", "OTO'YED", "01", "1,75", "0"}));

    const RunResult second = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, kMasterData, u"--yes"_s});
    ASSERT_EQ(second.code, cli::kOk) << second.out.toStdString();
    // The salespeople the first run added are asked about, and "yes to all" writes them again.
    EXPECT_TRUE(second.out.contains(u"üzerine kaydedilsin mi?\n      -> TUMU"_s)) << second.out.toStdString();
    EXPECT_EQ(targetTables(), once);
}

// The cheques are carried from both lists, one "Başla" each; orders and instalments are asked
// about and marked deleted before the second copy, cheques are written again.
TEST_F(DemoRun, RunningTheOpenItemStepsTwiceLeavesOneLiveCopyOfTheOrdersAndInstalments)
{
    const QStringList steps = {u"--steps"_s, u"siparis,cek,taksit"_s, u"--yes"_s};
    const RunResult first = belmoRun(login(u"1234"_s) + steps);
    ASSERT_EQ(first.code, cli::kOk) << first.out.toStdString();
    EXPECT_TRUE(first.out.contains(u"Çek Belmoleri Tamamlandı.\n      -> OK\n  [Takastaki Çekler]\n"
                                   "  [message \"Belmo\"] Çek Belmoleri Tamamlandı."_s))
        << first.out.toStdString();
    const RunResult second = belmoRun(login(u"1234"_s) + steps);
    ASSERT_EQ(second.code, cli::kOk) << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(u"İşleme devam edilsin mi?\n      -> Evet"_s)) << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(u"Devam Edilsin mi?\n      -> Evet\n  [message \"Belmo\"] Taksitler Aktarıldı."_s));

    const auto listed = [&](const QString& key) {
        const QRegularExpressionMatch m = QRegularExpression(key + u" \\([^)]*\\): (\\d+) listed"_s).match(second.out);
        return m.hasMatch() ? m.captured(1) : QString();
    };
    db::Connection target(reader.pool());
    openCompany(target, u"DEMO2026"_s);
    EXPECT_EQ(reader.rows(target, u"SELECT count(*) FROM Kayit INNER JOIN Cari_Sip ON Kayit.Kayit_No=Cari_Sip.Kayit_No "
                                   "WHERE Kayit.Sil=0"_s),
              QList<QStringList>{{listed(u"siparis"_s)}});
    EXPECT_EQ(reader.rows(target, u"SELECT count(*) FROM Taksit_H WHERE Sil=0"_s), QList<QStringList>{{listed(u"taksit"_s)}});
}

TEST_F(DemoRun, AnUnknownStepIsAUsageError)
{
    const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--steps"_s, u"depo,kasa"_s});
    EXPECT_EQ(r.code, cli::kBadUsage);
    EXPECT_TRUE(r.err.contains(u"there is no step 'kasa'"_s));
}

// With steps built, the runner presses "Başla" on every panel the wizard opens, or on the
// steps asked for, and tells what became of each.
class StepsRun : public ::testing::Test {
protected:
    StepsRun()
    {
        steps.add(StepId::SirketBilgileri, u"sirket"_s, u"Şirket Bilgileri"_s, keep(settings, StepId::SirketBilgileri));
        steps.add(StepId::Depolar, u"depo"_s, u"Depo Tanımları"_s, keep(warehouses, StepId::Depolar));
        steps.add(StepId::Gruplar, u"grup"_s, u"Grup Tanımları"_s, keep(groups, StepId::Gruplar, u"Depo"_s, true));
        t.company.insert(u"Depo"_s, {{"Depo_Kodu", "D1"}, {"Ana_Hs", 0}, {"Sil", 0}});
        t.company.insert(u"Depo"_s, {{"Depo_Kodu", "D2"}, {"Ana_Hs", 0}, {"Sil", 0}});
        args = {u"--folder"_s, t.company.folder(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"admin"_s,
                u"--source"_s, u"KAYNAK"_s, u"--target"_s, u"HEDEF"_s};
    }
    TestProgram t;  // the folder; the runner starts its own program on it
    console::StepRegistry steps;
    ImmediateStep* settings = nullptr;
    WarehouseStep* warehouses = nullptr;
    WarehouseStep* groups = nullptr;
    QStringList args;
};

TEST_F(StepsRun, TheWizardStopsAtAStepThatFailsAndTheExitCodeSaysSo)
{
    const RunResult r = belmoRun(args, &steps);
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"Summary:\n"
                               "  sirket (Şirket Bilgileri): finished\n"
                               "  grup (Grup Tanımları): 2 listed, 2 ticked, not finished\n"_s))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"depo (Depo"_s));  // never reached
}

TEST_F(StepsRun, TheStepsAskedForRunInTheOrderGiven)
{
    const RunResult r = belmoRun(args + QStringList{u"--steps"_s, u"depo,sirket"_s}, &steps);
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString();
    const qsizetype depo = r.out.indexOf(u"Depolar aktarıldı."_s);
    EXPECT_GT(depo, 0);
    EXPECT_GT(r.out.indexOf(u"Şirket bilgileri aktarıldı."_s), depo);
    EXPECT_TRUE(r.out.contains(u"  depo (Depo Tanımları): 2 listed, 2 ticked, finished\n"
                               "  sirket (Şirket Bilgileri): finished\n"_s))
        << r.out.toStdString();
}

// The transport steps asked for by key, between the console's: a vehicle step before its
// drivers is refused, and a vehicle whose driver the target lacks is listed in one message
// after the completion message while its step finishes.
TEST(TransportRun, AStepRefusedBeforeItsDriversFailsTheRunAndAMissingDriverIsALine)
{
    TestProgram t;
    t.company.insert(u"Sofor_Yi"_s, {{"Ad_Soyad", "Hasan Kaya"}, {"Sil", 1}});
    t.company.insert(u"Arac_Tanim_Yi"_s, {{"Plaka", "34 XY 99"}, {"Sofor_No", t.company.connection().lastInsertId()}});
    db::Connection target(t.company.pool());
    target.open(t.company.connectionString(u"HEDEF"_s));
    t.company.insert(target, u"SIRKET"_s, {{"SIRKETCODE", "HEDEF"}, {"DONEM", "2011"}});
    const RunResult r = belmoRun({u"--folder"_s, t.company.folder(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s, u"1234"_s,
                                  u"--source"_s, u"KAYNAK"_s, u"--target"_s, u"HEDEF"_s, u"--steps"_s,
                                  u"aracyi,nakliyat,depo"_s, u"--yes"_s});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(r.out.contains(u"  [message \"Belmo\"] Bu işlemden önce Şoför Tanımlarının aktarılması gerekmekte.\n      -> OK\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"Yurtiçi Nakliyat Araç Tanımları Aktarıldı.\n      -> OK\n  [message \"Belmo\"] 1 araç şoförsüz "
                               "yazıldı (Sofor_No 0): hedefin Sofor_Yi tablosunda bu adla bir şoför yok.\n"
                               "      34 XY 99 — Hasan Kaya\n      -> OK\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"Summary:\n  aracyi (Yurtiçi Nakliyat / Araç Tanımları): not finished\n"
                               "  soforyi (Yurtiçi Nakliyat / Şoför Tanımları): 0 listed, 0 ticked, finished\n"
                               "  aracyi (Yurtiçi Nakliyat / Araç Tanımları): 1 listed, 1 ticked, finished\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"  karne (Uluslararası Nakliyat / Karne Tanımları): 0 listed, 0 ticked, finished\n"
                               "  depo (Depo Tanımları): 0 listed, 0 ticked, finished\n"_s))
        << r.out.toStdString();
}

}  // namespace
}  // namespace belmo::test

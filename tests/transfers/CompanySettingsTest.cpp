// The steps without a panel: company settings and print template designs.
#include "TransferFixture.h"

#include <QFile>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

const QString kSettingsDone = u"Şirket bilgileri Aktarıldı."_s;
const QString kTemplatesQuestion = u"Hedef Veri tabanındaki şablon dizaynları silinecektir.Devam edilsin mi?"_s;
const QString kTemplatesDone = u"Şablon Dizaynları Aktarıldı."_s;

class CompanySettings : public TransferTest {
protected:
    CompanySettings()
    {
        put(source(), u"SIRKET"_s,
            {{"SIRKETCODE", "KAYNAK"}, {"SIRKETAD", "Anadolu Ticaret"}, {"Adres", Value::null()}, {"DONEM", "2008"},
             {"AKTIVE", 1}, {"Ftr_Bas", 1843}, {"Lot_Kullan", 1}, {"TAMUNVAN", "Anadolu Tic. A.Ş."},
             {"Yetki_Tarihi", Value::null()}, {"icmal_Tur", Value::null()}, {"BaForm_Lmt", Value::null()},
             {"BsForm_Lmt", 5000.0}, {"Muh_Adi", "Ayşe"}});
        put(source(), u"Evr"_s, {{"On_Taki", "F"}, {"Evr_No", 433}});
        put(source(), u"Evr"_s, {{"On_Taki", "K"}, {"Evr_No", 12}});
        put(source(), u"Evr"_s, {{"On_Taki", "O'Z"}, {"Evr_No", 7}});
        put(source(), u"BRM"_s, {{"Birim", "Adet"}, {"Carpan", 1.0}});
        put(source(), u"BRM"_s, {{"Birim", "Koli"}, {"Carpan", 12.0}});
    }

    QList<QStringList> targetCompany()
    {
        return rows(target(), u"Select SIRKETCODE, SIRKETAD, Adres, DONEM, AKTIVE, Ftr_Bas, Fis_Bas, Lot_Kullan, "
                              "TAMUNVAN, Yetki_Tarihi, icmal_Tur, BaForm_Lmt, BsForm_Lmt, Muh_Adi from SIRKET"_s);
    }
    // Everything the step writes, to compare runs.
    QList<QStringList> everything()
    {
        return targetCompany() + rows(target(), u"Select * from PARATANIM"_s) +
               rows(target(), u"Select On_Taki, Evr_No from Evr order by On_Taki"_s) +
               rows(target(), u"Select Birim, Carpan from BRM order by Birim"_s);
    }
    void runSettings()
    {
        t.dialogs.expectMessage(kSettingsDone, u"Belmo"_s);
        press(StepId::SirketBilgileri);
        t.dialogs.verify();
    }
};

TEST_P(CompanySettings, ATargetWithItsOwnRecordKeepsItsCodeAndTakesEverythingElseForTheNextPeriod)
{
    put(target(), u"SIRKET"_s,
        {{"SIRKETCODE", "HEDEF"}, {"SIRKETAD", "Eski Ad"}, {"Adres", "Eski Adres"}, {"BaForm_Lmt", 1234.0},
         {"Yetki_Tarihi", QDateTime(QDate(2020, 1, 2), QTime())}});
    runSettings();
    EXPECT_EQ(targetCompany(), (QList<QStringList>{{"HEDEF", "Anadolu Ticaret", "", "2009", "1", "1", "1", "1",
                                                    "Anadolu Tic. A.Ş.", "<null>", "0", "8000", "5000", "Ayşe"}}));
    EXPECT_TRUE(done(StepId::SirketBilgileri));
}

TEST_P(CompanySettings, AnEmptyTargetGetsTheSourceCodeDefaultMoneySettingsAndTheSourceSeriesAndUnits)
{
    put(target(), u"Evr"_s, {{"On_Taki", "F"}, {"Evr_No", 999}});
    put(target(), u"Evr"_s, {{"On_Taki", "Z"}, {"Evr_No", 42}});
    put(target(), u"BRM"_s, {{"Birim", "Ton"}, {"Carpan", 1000.0}});
    runSettings();
    EXPECT_EQ(targetCompany().value(0).value(0), u"KAYNAK"_s);
    // The source's money settings hold 2/4/3 decimals and Null units and flags.
    EXPECT_EQ(rows(target(), u"Select * from PARATANIM"_s),
              (QList<QStringList>{{"2", "4", "2", "4", "2", "4", "3", "TL", "USD", "EURO", "0", "0"}}));
    // Counters continue from the source's; a series only the target has stays.
    EXPECT_EQ(rows(target(), u"Select On_Taki, Evr_No from Evr order by On_Taki"_s),
              (QList<QStringList>{{"F", "433"}, {"K", "12"}, {"O'Z", "7"}, {"Z", "42"}}));
    // Units are replaced.
    EXPECT_EQ(rows(target(), u"Select Birim, Carpan from BRM order by Birim"_s),
              (QList<QStringList>{{"Adet", "1"}, {"Koli", "12"}}));
}

TEST_P(CompanySettings, RunningTwiceEndsAsRunningOnce)
{
    runSettings();
    const auto once = everything();
    runSettings();
    EXPECT_EQ(everything(), once);
    EXPECT_EQ(rows(target(), u"Select count(*) from SIRKET"_s), (QList<QStringList>{{"1"}}));
}

TEST_P(CompanySettings, AnEmptySourceRecordStopsBeforeAnythingIsWritten)
{
    source().execute(u"DELETE FROM SIRKET"_s);
    t.dialogs.expectMessage(u"Belmo yapılacak şirket bilgileri alınamadı."_s, u"Belmo"_s);
    press(StepId::SirketBilgileri);
    EXPECT_TRUE(everything().isEmpty());
    EXPECT_FALSE(done(StepId::SirketBilgileri));
}

// The next period cannot be worked out from a period that is not a year: the step stops
// with nothing written and names the value, rather than writing an empty period.
TEST_P(CompanySettings, ASourceWithoutAPeriodStopsBeforeAnythingIsWritten)
{
    put(target(), u"SIRKET"_s, {{"SIRKETCODE", "HEDEF"}, {"DONEM", "2008"}});
    const QList<QStringList> before = everything();
    for (const auto& [update, shown] : {std::pair{"DONEM='2008/A'", "'2008/A'"}, {"DONEM=NULL", "''"},
                                        {"SIRKETCODE=NULL, SIRKETAD=NULL, DONEM=NULL", "''"}}) {
        source().execute(u"UPDATE SIRKET SET "_s + QString::fromUtf8(update));
        t.dialogs.expectError(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s,
                              {t.company.path(u"KAYNAK"_s), u"SIRKET.DONEM is not a year: "_s + QString::fromUtf8(shown)});
        press(StepId::SirketBilgileri);
        t.dialogs.verify();
        EXPECT_EQ(everything(), before) << update;
        EXPECT_FALSE(done(StepId::SirketBilgileri));
    }
}

// On files only: the target is a file taken away.
TEST_F(CompanySettings, ATargetThatCannotBeOpenedIsReportedNotAnnouncedAsCarried)
{
    target().close();
    t.company.pool();
    ASSERT_TRUE(QFile::remove(t.company.path(u"HEDEF"_s)));
    t.dialogs.expectMessage(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s);
    press(StepId::SirketBilgileri);
    EXPECT_FALSE(done(StepId::SirketBilgileri));
    EXPECT_FALSE(QFile::exists(t.company.path(u"HEDEF"_s)));
}

class Templates : public TransferTest {
protected:
    Templates()
    {
        for (const auto& [form, field, left] : {std::tuple{"Fatura", "UNVAN", 1.2}, {"Fatura", "TUTAR", 15.5},
                                                 {"Makbuz", "ACIKLAMA", 2.0}})
            put(source(), u"Dzyn"_s, {{"Dzyn_Adi", form}, {"Alan_Adi", field}, {"Konum", 1}, {"Durum", 1},
                                      {"Sol", left}, {"Ust", 3.0}, {"Genislik", 9.0}, {"Sect", 2}});
        put(target(), u"Dzyn"_s, {{"Dzyn_Adi", "Eski"}, {"Alan_Adi", "X"}, {"Sol", 1.0}});
        put(target(), u"Dzyn"_s, {{"Dzyn_Adi", "Fatura"}, {"Alan_Adi", "KDV"}, {"Sol", 4.0}});
    }
    QList<QStringList> designs(db::Connection& con)
    {
        return rows(con, u"Select Dzyn_Adi, Alan_Adi, Konum, Durum, Sol, Ust, Genislik, Sect from Dzyn "
                         "order by Dzyn_Adi, Alan_Adi"_s);
    }
    void runTemplates()
    {
        t.dialogs.expectQuestion(kTemplatesQuestion, QString(), true);
        t.dialogs.expectMessage(kTemplatesDone);
        press(StepId::Sablonlar);
        t.dialogs.verify();
    }
};

TEST_P(Templates, NoLeavesTheTargetsDesignsAlone)
{
    const auto before = designs(target());
    t.dialogs.expectQuestion(kTemplatesQuestion, QString(), false);
    press(StepId::Sablonlar);
    EXPECT_EQ(designs(target()), before);
    EXPECT_FALSE(done(StepId::Sablonlar));
}

TEST_P(Templates, YesReplacesTheTargetsDesignsWithTheSourcesAlsoWhenRunAgain)
{
    runTemplates();
    EXPECT_EQ(designs(target()), designs(source()));
    EXPECT_TRUE(done(StepId::Sablonlar));
    runTemplates();
    EXPECT_EQ(designs(target()), designs(source()));
}

TEST_P(Templates, ASourceWithoutDesignsLeavesTheTargetWithNone)
{
    source().execute(u"DELETE FROM Dzyn"_s);
    runTemplates();
    EXPECT_TRUE(designs(target()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, CompanySettings, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, Templates, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test

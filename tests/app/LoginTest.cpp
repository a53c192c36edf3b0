// The login window pressed as a user presses it, on a program folder built by the schema
// code, with every message checked.
#include "support/TestProgram.h"

#include "db/Connection.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class LoginTest : public ::testing::Test {
protected:
    TestProgram t;
    app::GIRIS& giris = t.login();
    app::Session& session = t.program.session();

    // After a refusal the window is there again, ready for another try, with what was typed.
    void expectReadyAgain()
    {
        EXPECT_TRUE(giris.visible());
        EXPECT_EQ(t.console(), nullptr);
        for (const bool enabled : {giris.kullaniciAdi.enabled(), giris.sifre.enabled(), giris.kaynakSirket.enabled(),
                                   giris.onayla.enabled(), giris.cikis.enabled(), giris.kapat.enabled()})
            EXPECT_TRUE(enabled);
    }
};

TEST_F(LoginTest, StartUpAppliesTheThemeAndMakesTheDataFolders)
{
    QDir(t.company.folder()).rmdir(u"images"_s);
    t.start();
    EXPECT_TRUE(giris.visible());
    EXPECT_EQ(session.TemaNo, 1);
    EXPECT_EQ(giris.frame.colourScheme(), 1);
    EXPECT_TRUE(QDir(t.company.folder() + u"/images"_s).exists());
    EXPECT_EQ(session.ProgramKlasoru, t.company.folder());
}

TEST_F(LoginTest, StartUpEndsWithoutTheThemeRowAndNamesAMissingConfigurationStore)
{
    t.config().execute(u"DELETE FROM config"_s);
    EXPECT_FALSE(t.program.start(t.company.folder()));  // silently, as the package does
    EXPECT_FALSE(t.program.running());

    TestProgram noConfig;
    noConfig.config().close();
    ASSERT_TRUE(QFile::remove(noConfig.company.folder() + u"/config.mdb"_s));
    noConfig.dialogs.expectMessage(u"Ayar veri tabanı açılamadı: "_s + noConfig.company.folder() +
                                   u"/config.mdb\nProgram kapatılacak."_s);
    EXPECT_FALSE(noConfig.program.start(noConfig.company.folder()));
    EXPECT_FALSE(noConfig.program.running());
}

TEST_F(LoginTest, LeavingTheUserNameFillsBothListsWithTheUsersCompanies)
{
    t.start();
    giris.kullaniciAdi.setText(u"muhasebe"_s);  // names compare without case, as in the package
    giris.kullaniciAdiLostFocus();
    const QStringList both{u"HEDEF"_s, u"KAYNAK"_s};  // grouped: the duplicate once, the Null skipped
    EXPECT_EQ(giris.kaynakSirket.items(), both);
    EXPECT_EQ(giris.hedefSirket.items(), both);

    giris.kullaniciAdi.setText(u"   "_s);
    giris.kullaniciAdiLostFocus();
    EXPECT_TRUE(giris.kaynakSirket.items().isEmpty());
    EXPECT_TRUE(giris.hedefSirket.items().isEmpty());
}

TEST_F(LoginTest, ApostrophesBecomeBlanksAndTypedConditionsNeverChangeAStatement)
{
    t.start();
    giris.kullaniciAdi.setText(u"x' OR '1'='1"_s);
    giris.kullaniciAdiLostFocus();
    EXPECT_EQ(giris.kullaniciAdi.text(), u"x  OR  1 = 1"_s);
    EXPECT_TRUE(giris.kaynakSirket.items().isEmpty());

    giris.sifre.setText(u"' OR '1'='1"_s);
    giris.sifreLostFocus();
    EXPECT_EQ(giris.sifre.text(), u"  OR  1 = 1"_s);

    // Values that reach the checks before their field was left are looked up as they stand.
    EXPECT_EQ(giris.KULLANICIKONTROL(u"MUHASEBE' OR '1'='1"_s, u"1234"_s), QString());
    EXPECT_EQ(giris.KULLANICIKONTROL(u"MUHASEBE"_s, u"x' OR PASSWORD<>'"_s), u"YANLIS"_s);
    EXPECT_EQ(giris.SIRKETYETKI(u"MUHASEBE"_s, u"X' OR SIRKETCODE<>'"_s), u"YANLIS"_s);
    EXPECT_EQ(giris.SIRKETYETKI(u"' OR ''='"_s, u"KAYNAK"_s), u"YANLIS"_s);
    EXPECT_EQ(t.company.scalar(u"SELECT 1"_s), Value(1));  // nothing was broken on the way
}

TEST_F(LoginTest, RefusalsShowTheirMessageAndLeaveTheWindowReady)
{
    t.start();
    t.dialogs.expectMessage(u"LÜTFEN BELMO YAPILACAK ŞİRKETİ SEÇİNİZ"_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, QString(), u"HEDEF"_s);
    expectReadyAgain();

    t.dialogs.expectMessage(u"LÜTFEN HEDEF ŞİRKETİ SEÇİNİZ"_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, QString());
    expectReadyAgain();

    t.dialogs.expectMessage(u"Belirtilen Şirkete Giriş Yetkiniz Yok"_s);
    t.typeLogin(u"STAJYER"_s, u"staj"_s, u"HEDEF"_s, u"HEDEF"_s);
    expectReadyAgain();

    t.dialogs.expectMessage(u"GİRİŞ ONAYLANMADI"_s);
    t.typeLogin(u"MUHASEBE"_s, u"12345"_s, u"KAYNAK"_s, u"HEDEF"_s);
    expectReadyAgain();
    EXPECT_EQ(giris.sifre.text(), u"12345"_s);

    t.dialogs.expectMessage(u"Belirtilen Şirkete Giriş Yetkiniz Yok"_s);  // no right to the target
    t.typeLogin(u"STAJYER"_s, u"staj"_s, u"KAYNAK"_s, u"HEDEF"_s);
    expectReadyAgain();

    t.dialogs.expectMessage(u"GİRİŞ ONAYLANMADI"_s);  // a locked user with the right password
    t.typeLogin(u"STAJYER"_s, u"staj"_s, u"KAYNAK"_s, u"KAYNAK"_s);
    expectReadyAgain();

    t.dialogs.expectMessage(u"GİRİŞ ONAYLANMADI"_s);  // passwords are case-sensitive
    t.typeLogin(u"ADMIN"_s, u"ADMIN"_s, u"KAYNAK"_s, u"HEDEF"_s);
    expectReadyAgain();
}

// The companies are guarded before any path or connection string is built from a code, and
// the source is never carried into itself.
TEST_F(LoginTest, CodesThatAreNotPlainAndTheSourceAsTargetAreRefused)
{
    t.start();
    for (const QString& code : {u"../../other/MUHASEBE/DEMO2026"_s, u"X;Data Source=/any/path/F"_s, u"A=B"_s,
                                u"O'NEIL"_s, u"A\"B"_s, u"KAYNAK\n"_s, QString(51, u'Ş')}) {
        t.dialogs.expectMessage(u"Geçersiz şirket kodu: '"_s + code +
                                u"'.\rŞirket kodu harf, rakam, '_' ve '-' içerebilir; en çok 50 karakterdir."_s);
        t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, code);
        expectReadyAgain();
    }
    // The same file by its code, by a symbolic link and by a hard link.
    QFile::link(t.company.path(u"KAYNAK"_s), t.company.path(u"BAG"_s));
    ASSERT_EQ(::link(QFile::encodeName(t.company.path(u"KAYNAK"_s)).constData(),
                     QFile::encodeName(t.company.path(u"KOPYA"_s)).constData()), 0);
    for (const QString& code : {u"KAYNAK"_s, u"BAG"_s, u"KOPYA"_s}) {
        t.company.insert(t.config(), u"SRKTUSERS"_s, {{"USERCODE", "05"}, {"SIRKETCODE", code}});
        t.dialogs.expectMessage(u"Kaynak ve hedef şirket aynı olamaz."_s);
        t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, code);
        expectReadyAgain();
    }
    // A target that is not there is never made by the login.
    t.company.insert(t.config(), u"SRKTUSERS"_s, {{"USERCODE", "05"}, {"SIRKETCODE", "YENI"}});
    t.dialogs.expectMessage(u"Şirket Veri Tabanı Bulunamadı."_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, u"YENI"_s);
    expectReadyAgain();
    EXPECT_FALSE(QFile::exists(t.company.path(u"YENI"_s)));
}

// The target needs the right the source needs; an administrator enters every company.
TEST_F(LoginTest, TheTargetNeedsTheUsersRightUnlessTheUserIsAnAdministrator)
{
    t.company.addCompany(u"DIGER"_s);
    t.start();
    t.dialogs.expectMessage(u"Belirtilen Şirkete Giriş Yetkiniz Yok"_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, u"DIGER"_s);
    expectReadyAgain();

    t.typeLogin(u"ADMIN"_s, u"admin"_s, u"KAYNAK"_s, u"DIGER"_s);
    EXPECT_NE(t.console(), nullptr);
    EXPECT_EQ(session.HedefBag, t.company.connectionString(u"DIGER"_s));
}

TEST_F(LoginTest, AnAdministratorLogsInEvenWhenPassiveAndLocked)
{
    t.start();
    session.HModu = 3;
    t.typeLogin(u"ADMIN"_s, u"admin"_s, u"KAYNAK"_s, u"HEDEF"_s);
    ASSERT_NE(t.console(), nullptr);
    EXPECT_FALSE(giris.visible());
    EXPECT_EQ(session.KullaniciKodu, u"01"_s);
    EXPECT_EQ(session.HModu, 2);
    EXPECT_EQ(session.KModu, 2);
    EXPECT_EQ(session.KaynakBag, t.company.connectionString(u"KAYNAK"_s));
    EXPECT_EQ(session.HedefBag, t.company.connectionString(u"HEDEF"_s));
    EXPECT_EQ(session.formats.FiyatFormat, u"##,###0.0000"_s);  // from the source's money settings
    EXPECT_FALSE(session.sql.TutarBas.isEmpty());
}

TEST_F(LoginTest, AMissingSourceFileIsReportedAfterTheConsoleOpened)
{
    t.company.insert(t.config(), u"SRKTUSERS"_s, {{"USERCODE", "05"}, {"SIRKETCODE", "YOK"}});
    t.start();
    t.dialogs.expectMessage(u"Şirket Veri Tabanı Bulunamadı."_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"YOK"_s, u"HEDEF"_s);
    EXPECT_NE(t.console(), nullptr);  // the console stays beside the login window
    EXPECT_TRUE(giris.visible());
    EXPECT_TRUE(giris.onayla.enabled());
    EXPECT_FALSE(QFile::exists(t.company.path(u"YOK"_s)));  // never created by a login
}

TEST_F(LoginTest, AUserWithoutCompanyRightsWhoTypesACodeEndsTheProgram)
{
    t.start();
    t.typeLogin(u"MISAFIR"_s, u"misafir"_s, u"KAYNAK"_s, u"HEDEF"_s);
    EXPECT_EQ(t.console(), nullptr);
    EXPECT_FALSE(t.program.running());
}

TEST_F(LoginTest, ExitClosesTheWindowAndEndsTheProgram)
{
    t.start();
    giris.cikis.click();
    EXPECT_FALSE(t.program.running());
}

}  // namespace
}  // namespace belmo::test

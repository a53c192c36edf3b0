// The login's server frame and the login with the companies on a server, pressed as a user
// presses them. The server is the throwaway one CTest starts (BELMO_TEST_PGHOST).
#include "support/TestProgram.h"

#include "db/CompanyCopy.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kNoAnswer = u"Server Cevap Vermedi. Lütfen Ayarlarınızı Kontrol Ediniz."_s;

class ServerLoginTest : public ::testing::Test {
protected:
    TestProgram t;
    app::GIRIS& giris = t.login();
    app::Session& session = t.program.session();

    // Types the server frame's fields and presses "Kaydet".
    void saveServer(const QString& host, const QString& port, const QString& user, const QString& password, bool use)
    {
        giris.serverBilgileri.click();
        giris.serverAdi.setText(host);
        giris.serverPort.setText(port);
        giris.serverKullanici.setText(user);
        giris.serverSifre.setText(password);
        giris.sqlSunucu.setValue(use ? 1 : 0);
        giris.kaydet.click();
    }
    QList<QStringList> configRows(int id) { return t.company.rows(t.config(), {u"SELECT Tema_Adi FROM config WHERE ID=?"_s, {id}}); }
};

TEST_F(ServerLoginTest, KaydetStoresTheFieldsTrimmedAndBlanksAsEmptyTextOnce)
{
    t.start();
    for (int press = 0; press < 2; ++press) {  // the second press updates the rows it added
        saveServer(u"  sunucu'01  "_s, u" 5433 "_s, QString(), u"gizli'"_s, press == 0);
        EXPECT_EQ(giris.frames.front(), &giris.frame) << "Kaydet brings the login frame back";
        const std::pair<int, QString> rows[] = {{1099, u"sunucu 01"_s}, {1199, QString()}, {1299, u"gizli"_s},
                                                {1399, u"5433"_s}, {1499, press == 0 ? u"1"_s : u"0"_s}};
        for (const auto& [id, value] : rows) EXPECT_EQ(configRows(id), QList<QStringList>{{value}}) << id;
    }

    t.dialogs.expectMessage(u"Geçersiz port: 'x1'.\rPort 1 ile 65535 arasında bir sayıdır; boş bırakılırsa sunucunun portu kullanılır."_s);
    saveServer(u"baska"_s, u"x1"_s, QString(), QString(), true);
    EXPECT_EQ(configRows(1099), QList<QStringList>{{u"sunucu 01"_s}}) << "nothing stored";
    giris.serverCikis.click();
    EXPECT_FALSE(t.program.running());
}

TEST_F(ServerLoginTest, AServerThatDoesNotAnswerIsToldAndItsFrameComesForward)
{
    t.start();
    saveServer(QString(), QString(), u"belmo_test"_s, QString(), true);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, u"HEDEF"_s);  // no server name: the frame, silently
    EXPECT_EQ(giris.frames.front(), &giris.serverFrame);

    const QTemporaryDir noServer;
    t.dialogs.expectMessage(kNoAnswer);  // Kaydet asks the server for the typed user's lists
    saveServer(noServer.path(), QString(), u"belmo_test"_s, u"sır"_s, true);
    EXPECT_EQ(giris.frames.front(), &giris.serverFrame);
    giris.frames.bringToFront(giris.frame);
    t.dialogs.expectMessage(kNoAnswer);  // so does leaving the user name
    t.dialogs.expectMessage(kNoAnswer);  // and "Onayla"
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, u"HEDEF"_s);
    EXPECT_EQ(giris.frames.front(), &giris.serverFrame);
    EXPECT_TRUE(giris.visible() && giris.onayla.enabled() && giris.kullaniciAdi.enabled());
    EXPECT_TRUE(session.KaynakBag.isEmpty());
    EXPECT_FALSE(t.dialogs.shown().last().details.contains(u"sır"_s));
}

TEST_F(ServerLoginTest, TheListsOfferTheServersCompaniesAndOnaylaNamesThem)
{
    const QString host = qEnvironmentVariable("BELMO_TEST_PGHOST");
    if (host.isEmpty()) GTEST_SKIP() << "no test server: BELMO_TEST_PGHOST is not set (run through ctest)";
    db::PgClient admin({host, 0, u"belmo_test"_s, {}}, u"postgres"_s, std::make_shared<db::PoolSettings>());
    const QStringList codes{u"SRV_HEDEF"_s, u"SRV_KAYNAK"_s};
    for (const QString& code : codes) {
        db::createServerDatabase({host, 0, u"belmo_test"_s, {}}, code, db::schema::companyTables());
        t.company.insert(t.config(), u"SRKTUSERS"_s, {{"USERCODE", "05"}, {"SIRKETCODE", code}});
    }
    t.start();
    saveServer(host, QString(), u"belmo_test"_s, QString(), true);
    t.dialogs.expectMessage(u"Şirket Veri Tabanı Bulunamadı."_s, {}, {}, u"no database HEDEF on the server"_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"SRV_KAYNAK"_s, u"HEDEF"_s);
    // Other tests' databases may be on the server too.
    for (const QString& listed : {u"SRV_HEDEF"_s, u"SRV_KAYNAK"_s, u"postgres"_s, u"template0"_s, u"template1"_s})
        EXPECT_EQ(giris.kaynakSirket.items().contains(listed), codes.contains(listed)) << listed.toStdString();
    t.dialogs.expectMessage(u"Kaynak ve hedef şirket aynı olamaz."_s);
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"SRV_KAYNAK"_s, u"SRV_KAYNAK"_s);
    // The connection strings are built before the password is checked: a wrong one shows them.
    t.dialogs.expectMessage(u"GİRİŞ ONAYLANMADI"_s);
    t.typeLogin(u"MUHASEBE"_s, u"yanlis"_s, u"SRV_KAYNAK"_s, u"SRV_HEDEF"_s);
    EXPECT_EQ(session.KaynakBag, db::ConnectionString::forServer(host, 0, u"belmo_test"_s, {}, u"SRV_KAYNAK"_s));
    EXPECT_EQ(session.HedefBag, db::ConnectionString::forServer(host, 0, u"belmo_test"_s, {}, u"SRV_HEDEF"_s));
    EXPECT_EQ(session.SqlSunucu, db::Value(1));
    t.typeLogin(u"MUHASEBE"_s, u"1234"_s, u"SRV_KAYNAK"_s, u"SRV_HEDEF"_s);
    EXPECT_FALSE(giris.visible()) << "the login lets the user in to the server's companies";
    for (const QString& code : codes) admin.dropDatabase(code);
}

}  // namespace
}  // namespace belmo::test

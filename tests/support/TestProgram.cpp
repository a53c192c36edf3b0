#include "TestProgram.h"

#include "app/ServerSettings.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

TestProgram::TestProgram(console::StepRegistry steps, Engine engine)
    : company(u"KAYNAK"_s, engine), program(dialogs, std::move(steps))
{
    company.addCompany(u"HEDEF"_s);
    company.insert(u"PARATANIM"_s, {{"TUTARKURUS", 2}, {"DVZ1TUTARKURUS", 2}, {"DVZ2TUTARKURUS", 2}, {"FIYATKURUS", 4},
                                    {"DVZ1FIYATKURUS", 4}, {"DVZ2FIYATKURUS", 4}, {"MIKTARKSR", 3}});

    const QString configPath = company.folder() + u"/config.mdb"_s;
    db::schema::createDatabaseFile(configPath, db::schema::configTables(), db::schema::databasePassword());
    config_.open(db::ConnectionString::forJetFile(configPath, db::schema::databasePassword()));
    company.insert(config_, u"config"_s, {{"ID", 999}, {"Tema_Adi", u"&H0EFEFF70&"_s}});
    struct User { const char* name; const char* code; const char* password; int adm, active, lock; };
    for (const User& u : {User{"ADMIN", "01", "admin", 1, 0, 0}, User{"MUHASEBE", "05", "1234", 0, 1, 1},
                          User{"STAJYER", "07", "staj", 0, 1, 0}, User{"MISAFIR", "09", "misafir", 0, 1, 1}})
        company.insert(config_, u"USERS"_s, {{"USERAD", u.name}, {"USERCODE", u.code}, {"PASSWORD", u.password},
                                             {"ADM", u.adm}, {"AKTIVE", u.active}, {"LOCK", u.lock}, {"CONNECTED", 0}});
    for (const auto& [user, code] : {std::pair{"01", "KAYNAK"}, {"01", "HEDEF"}, {"05", "KAYNAK"}, {"05", "HEDEF"},
                                     {"05", "KAYNAK"}, {"07", "KAYNAK"}})
        company.insert(config_, u"SRKTUSERS"_s, {{"USERCODE", user}, {"SIRKETCODE", this->code(QString::fromUtf8(code))}});
    company.insert(config_, u"SRKTUSERS"_s, {{"USERCODE", "05"}, {"SIRKETCODE", Value::null()}});
    if (engine == Engine::Server) app::ServerSettings{true, testServer().host, 0, testServer().user, {}}.save(config_);
}

QString TestProgram::code(const QString& companyCode) const
{
    const QString database = company.serverDatabase(companyCode);
    return database.isEmpty() ? companyCode : database;
}

void TestProgram::start()
{
    ASSERT_TRUE(program.start(company.folder()));
}

void TestProgram::typeLogin(const QString& user, const QString& password, const QString& source, const QString& target)
{
    app::GIRIS& giris = login();
    giris.kullaniciAdi.setText(user);
    giris.kullaniciAdiLostFocus();
    giris.sifre.setText(password);
    giris.sifreLostFocus();
    giris.kaynakSirket.setText(code(source));
    giris.hedefSirket.setText(code(target));
    giris.onayla.click();
}

console::BELMO& TestProgram::logIn()
{
    start();
    typeLogin(u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, u"HEDEF"_s);
    if (!console()) throw std::runtime_error("the login did not open the console");
    return *console();
}

}  // namespace belmo::test

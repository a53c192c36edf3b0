#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TestCompany.h"

#include "console/Program.h"

#include <memory>

namespace belmo::test {

// A program folder as the package leaves it: config.mdb with the default theme and users,
// the source company KAYNAK (money settings 2/4/3 decimals) and the target HEDEF, and the
// program running on it with scripted dialogs.
//
// Users: ADMIN (01, "admin", administrator, passive and locked), MUHASEBE (05, "1234", rights
// to both companies, a duplicate and a Null right), STAJYER (07, "staj", locked, right to
// KAYNAK), MISAFIR (09, "misafir", no rights).
//
// On the server engine the companies are databases of the test server, config.mdb chooses that
// server, and the rights and the login name each company by its database's name (see code()).
class TestProgram {
public:
    explicit TestProgram(console::StepRegistry steps = {}, Engine engine = Engine::File);

    TestCompany company;
    ScriptedDialogs dialogs;
    console::Program program;
    app::GIRIS& login() { return program.login(); }
    console::BELMO* console() { return program.console(); }

    db::Connection& config() { return config_; }
    // Starts the login window on the folder; the test fails when it does not open.
    void start();
    // The code the login knows a company by: on the server, its database's name (unique in the
    // run); a code of no company of the folder stays as it is.
    QString code(const QString& companyCode) const;
    // Types into the login window as a user does (leaving each field) and presses "Onayla";
    // the companies by their codes as the tests name them.
    void typeLogin(const QString& user, const QString& password, const QString& source, const QString& target);
    // start() and a login of MUHASEBE from KAYNAK to HEDEF that must succeed.
    console::BELMO& logIn();

private:
    db::Connection config_{company.pool()};
};

}  // namespace belmo::test

#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TestCompany.h"

#include "app/Session.h"

namespace belmo::test {

// A logged-in run over a test folder: the company TEST as source (KaynakBag) with money
// settings of 2 decimals for amounts, 4 for prices and 3 for quantities, a configuration
// store with error texts (AyarBag), user code "05", both posting modes 2, the number
// formats and the Access fragments filled as after a login, and scripted dialogs.
class TestSession {
public:
    TestSession();

    TestCompany company;
    ScriptedDialogs dialogs;
    app::Session session{company.pool(), dialogs};

    // An open connection to config.mdb.
    db::Connection& config() { return config_; }
    // Adds an error text to Hata_Kod.
    void addErrorText(const QString& number, const QString& text);

private:
    db::Connection config_{company.pool()};
};

}  // namespace belmo::test

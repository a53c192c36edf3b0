#include "demo/DemoConfig.h"

#include "db/Connection.h"
#include "demo/Demo.h"
#include "services/Errors.h"

namespace belmo::demo {

void writeDemoConfig(db::Connection& con, const QStringList& companies)
{
    db::TransactionScope tx(con);
    con.execute(QStringLiteral("INSERT INTO config (ID, Tema_Adi) VALUES (999, '&H0EFEFF70&')"));

    struct User { const char* name; const char* code; const char* password; int adm; int active; int lock; };
    const User users[] = {{kAdminUser, "01", kAdminPassword, 1, 1, 1},
                          {kClerkUser, "05", kClerkPassword, 0, 1, 1},
                          {"STAJYER", "07", "staj", 0, 1, 0}};
    for (const User& u : users) {
        con.execute(QStringLiteral("INSERT INTO USERS (USERAD, USERCODE, PASSWORD, ADM, AKTIVE, LOCK, CONNECTED) "
                                   "VALUES (?, ?, ?, ?, ?, ?, 0)"),
                    {u.name, u.code, u.password, u.adm, u.active, u.lock});
        for (const QString& company : companies)
            con.execute(QStringLiteral("INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES (?, ?)"), {u.code, company});
    }
    // Rights lists gather duplicates and empty rows over the years.
    con.execute(QStringLiteral("INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES ('05', ?)"), {companies.value(0)});
    con.execute(QStringLiteral("INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES ('05', Null)"));

    for (const auto& [number, text] : services::programErrorTexts())
        con.execute(QStringLiteral("INSERT INTO Hata_Kod (Kod, Hata) VALUES (?, ?)"), {QString::number(number), text});
    tx.commit();
}

}  // namespace belmo::demo

#pragma once

#include "db/PgClient.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace belmo::db {
class Connection;
}

namespace belmo::app {

// Where the companies live, as config.mdb keeps it: in MUHASEBE as files, or on a company
// server as one database per company code. Rows of the config table, each value in Tema_Adi:
//   1099  server name: a host name, an address or the folder of the server's socket
//   1199  user name on the server
//   1299  password; empty: the password file of the user's account and the environment
//         (~/.pgpass, PGPASSWORD) are used, which keeps it out of config.mdb
//   1399  port; empty: the server's default
//   1499  "1" when the companies are on the server (SqlSunucu), "0" or missing for files
struct ServerSettings {
    enum Row { kHost = 1099, kUser = 1199, kPassword = 1299, kPort = 1399, kEngine = 1499 };

    bool useServer = false;
    QString host;
    int port = 0;  // 0: the server's default
    QString user;
    QString password;

    // A missing row reads as an empty value.
    static ServerSettings load(db::Connection& config);
    // Writes every row, adding the missing ones: values trimmed and cleaned of apostrophes,
    // blanks as empty text.
    void save(db::Connection& config) const;

    db::PgServer server() const { return {host, port, user, password}; }
    // "host" or "host:port", as messages name the server; never the password.
    QString label() const { return server().label(); }
    QString companyConnection(const QString& code) const;
    // The databases of the server whose names are company codes, sorted; the server's own
    // (postgres and the templates) and the working ones of a copy left out. Throws db::DbError as PgClient does.
    QStringList companies() const;
};

// What the server says when it does not answer at all: the settings are wrong, or it is down.
bool serverDidNotAnswer(const db::DbError& e);

// A port as typed: empty for the default (0), else a number from 1 to 65535.
std::optional<int> parsePort(const QString& text);

}  // namespace belmo::app

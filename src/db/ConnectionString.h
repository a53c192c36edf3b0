#pragma once

#include <QString>

namespace belmo::db {

// A connection string in its documented form:
//   Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<folder>/MUHASEBE/<code>.mdb;
//   Persist Security Info=false;Jet OLEDB:Database Password='<password>'
// or, for a company database on a server:
//   Provider=PostgreSQL;Server=<host or socket folder>;Port=<n>;User ID=<user>;
//   Password='<password>';Database=<code>
// Keys are case-insensitive; values may be quoted with ' or ", a doubled quote inside standing
// for the quote itself. "Mode=Read" opens the file (or the database) read-only.
struct ConnectionString {
    QString provider;
    QString dataSource;  // the file; on a server "<server>/<database>", as messages name it
    QString password;
    bool readOnly = false;
    // A database on a server.
    bool onServer = false;
    QString host;
    int port = 0;  // 0: the server's default
    QString user;
    QString database;

    // Throws DbError ProviderNotFound for a provider other than Jet/ACE or PostgreSQL,
    // Unspecified for a string without Data Source (a file) or without Server and Database.
    static ConnectionString parse(const QString& text);

    // The string the system builds for an Access file. The path and the password are quoted
    // so that no character of theirs can add or change a key of the string.
    static QString forJetFile(const QString& path, const QString& password);
    // The string of a company's database on a server; every value is quoted.
    static QString forServer(const QString& host, int port, const QString& user, const QString& password,
                             const QString& database);
    // The same string opening the file read-only ("Mode=Read").
    static QString readOnlyForm(const QString& connectionString);
};

// A company code that can stand in a file name, a connection string and a database's name:
// letters (Turkish ones too), digits, '_' and '-', at most 50 characters.
bool isPlainCode(const QString& code);

}  // namespace belmo::db

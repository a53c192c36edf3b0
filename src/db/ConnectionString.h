#pragma once

#include <QString>

namespace belmo::db {

// A connection string in its documented form:
//   Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<folder>/MUHASEBE/<code>.mdb;
//   Persist Security Info=false;Jet OLEDB:Database Password='<password>'
// Keys are case-insensitive; values may be quoted with ' or ", a doubled quote inside standing
// for the quote itself. "Mode=Read" opens the file read-only.
struct ConnectionString {
    QString provider;
    QString dataSource;
    QString password;
    bool readOnly = false;

    // Throws DbError ProviderNotFound for a provider other than Jet/ACE, Unspecified for a
    // string without Data Source.
    static ConnectionString parse(const QString& text);

    // The string the system builds for an Access file. The path and the password are quoted
    // so that no character of theirs can add or change a key of the string.
    static QString forJetFile(const QString& path, const QString& password);
    // The same string opening the file read-only ("Mode=Read").
    static QString readOnlyForm(const QString& connectionString);
};

// A company code that can stand in a file name, a connection string and a database's name:
// letters (Turkish ones too), digits, '_' and '-', at most 50 characters.
bool isPlainCode(const QString& code);

}  // namespace belmo::db

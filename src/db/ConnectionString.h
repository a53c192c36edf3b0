#pragma once

#include <QString>

namespace belmo::db {

// A connection string in its documented form:
//   Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<folder>/MUHASEBE/<code>.mdb;
//   Persist Security Info=false;Jet OLEDB:Database Password='<password>'
// Keys are case-insensitive; values may be quoted with ' or ".
struct ConnectionString {
    QString provider;
    QString dataSource;
    QString password;

    // Throws DbError ProviderNotFound for a provider other than Jet/ACE, Unspecified for a
    // string without Data Source.
    static ConnectionString parse(const QString& text);

    // The string the system builds for an Access file.
    static QString forJetFile(const QString& path, const QString& password);
};

}  // namespace belmo::db

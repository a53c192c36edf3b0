#pragma once

#include "db/Schema.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// A company database on a server speaks the steps' Access dialect through the schema `belmo`,
// installed once in every company database: the Access functions (belmo.format, belmo.iif,
// belmo.first, ...), the & join, and the comparisons the file engine makes with its collations:
//
//   belmo.metin   the type of text columns: the server's text, compared, sorted, grouped and
//                 matched by LIKE case-insensitively with the four Turkish i's as one letter,
//                 as jet::foldedText folds (whatever the server's locale);
//   timestamp     date columns, with comparison operators against text that read the text as
//                 the file engine reads a date (ISO or day.month.year, with or without a time).
//
// Every session on such a database sets what sessionStatements() gives before its first
// statement: operator lookup finds belmo's LIKE for any two texts first, and a date literal
// reads day first.
namespace belmo::db::pg {

// The version of the schema installStatements() makes; belmo.version() of an installed schema
// says which it is, and a writing session brings an older one up to this version.
//   1  the first
//   2  metin's equality and hash in plpgsql (grouping a large company three times faster)
inline constexpr int kDialectVersion = 2;

// Makes or brings up to date the schema belmo. Run in one transaction by a superuser (a type of
// its own is one thing only a superuser creates); running them again changes nothing.
QStringList installStatements();

// The settings of every session on a company database.
QStringList sessionStatements();

// The server type of a column of each Jet kind, and the statements that make a table.
QString declaration(schema::Kind kind);
QStringList createStatements(const schema::Table& table);

// The server text of an Access statement (jet::rewrite for the server).
QString rewrite(QStringView accessSql);

}  // namespace belmo::db::pg

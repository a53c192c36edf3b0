#pragma once

#include "db/Value.h"

#include <QList>
#include <QString>
#include <QStringView>

// The steps write their SQL in the Access dialect, and the texts stay as given. This module
// turns such a text into one SQLite runs with the same meaning. The rewrite works on tokens,
// never inside string literals or bracketed names:
//   a & b & c        -> JETCAT(a, b, c)      (text join; Null counts as "" unless all are Null)
//   a + 'x' + b      -> (a)||('x')||(b)      (a + chain with a string literal joins text)
//   DISTINCTROW      -> DISTINCT
//   a / b            -> a *1.0/ b            (Jet divides as floating point)
//   a MOD b          -> a % b;   True, False -> -1, 0
//   RIGHT JOIN       -> INNER JOIN where the WHERE of the same SELECT drops every unmatched
//                       row anyway (a left-side column compared with literals)
// Functions (FORMAT, SWITCH, CDBL, ...) and the collations are registered on every
// connection by JetFunctions.
//
// The same rewrite serves a company database on a server (Target::Server), whose schema
// `belmo` holds the functions and the text and date comparisons (PgDialect). There, besides:
//   ?                -> $1, $2, ...          (in order of appearance)
//   FORMAT(...)      -> belmo.format(...)    (every Access function, so none meets the server's
//                                             own function of the same name)
//   a & b            -> belmo.jetcat(belmo.jettext(a), belmo.jettext(b))
//   a / b            -> a *1::float8/ b
//   [Name], "Name"   -> "name"               (the name an unquoted Name stands for there)
//   temp.name        -> pg_temp.name         (the session's own views)
//   ORDER BY a, b DESC -> ORDER BY a NULLS FIRST, b DESC NULLS LAST   (Nulls where a file puts them)
namespace belmo::db::jet {

enum class Target { File, Server };

struct Token {
    enum Kind { Space, String, QuotedName, Word, Number, Op, LParen, RParen, Comma, Other };
    Kind kind;
    QString text;
    qsizetype offset;  // position in the tokenized text
};

QList<Token> tokenize(QStringView sql);

// The text of an Access statement for SQLite (File) or for a company server.
QString rewrite(QStringView accessSql, Target target = Target::File);

// Only the server's forms of names, functions and '?' of a statement already in the server's
// dialect (the client's own inserts and updates by row id): running it again changes nothing.
QString serverNames(QStringView sql);

// What the recordset needs to know about a (rewritten) statement to make it updatable.
struct SelectShape {
    bool isSelect = false;       // starts with SELECT
    bool rowPerRecord = false;   // no DISTINCT, GROUP BY, HAVING or set operation at top level
    qsizetype afterSelect = -1;  // text position right after the top-level SELECT keyword
};
SelectShape inspectSelect(QStringView sqliteSql);

// The query of a CREATE VIEW statement: the text after the AS that follows the view's name
// (and its column list, if any). Empty for any other statement.
QString viewQuery(QStringView sql);

// An SQL string literal with apostrophes doubled: the way to put a value between quotes.
QString quoted(QStringView text);

// A number read from text (as CDbl reads it), as a value to bind to a '?' of a statement.
// Text that is not a finite number raises a syntax error, as the statement with that text in
// it would.
Value number(QStringView text);

}  // namespace belmo::db::jet

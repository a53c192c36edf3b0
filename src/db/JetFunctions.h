#pragma once

#include "db/DbError.h"

#include <QByteArrayView>

#include <optional>

struct sqlite3;

// The functions and collations that give SQLite the Access meaning of the statements the
// steps build. Registered on every connection the client opens.
//
// Functions: FORMAT, SWITCH, IIF, ISNUMERIC, ISDATE, CDBL, CDATE, CSTR, CLNG, STR, MID, TRIM,
// LTRIM, RTRIM, LEN, UCASE, LCASE, NZ, JETCAT (the & operator), LIKE (case-insensitive beyond
// ASCII), and the aggregates FIRST and LAST.
//
// Collations:
//   JETTEXT  text columns: case-insensitive, as Jet compares codes and names (the Turkish
//            İ, i, I and ı all count as one letter);
//   JETDATE  Date/Time columns: two texts that read as dates (ISO or day.month.year) compare
//            chronologically, so a date column compares with format('01.01.2011','DD.MM.YYYY')
//            as Jet does. Dates sort before texts that are not dates, which keeps the order
//            total for indexes.
namespace belmo::db::jet {

// Where a function that fails leaves its error for the client running the statement: SQLite
// passes on only a message and the one result code SQLITE_ERROR, the number the provider
// gives the failure (type mismatch, invalid call) travels here.
struct FunctionFailure {
    std::optional<DbError> error;
};

// Without a FunctionFailure (the schema code, other programs) a failure is the message alone.
// Returns the first result code that is not SQLITE_OK, for the caller to check.
int registerFunctions(sqlite3* db, FunctionFailure* failure = nullptr);

int compareText(QByteArrayView a, QByteArrayView b);
// The text with every letter folded as JETTEXT folds it: two texts are equal under JETTEXT
// exactly when their folded texts are equal, so a set of folded texts finds keys as the
// database compares them.
QString foldedText(QStringView text);
int compareDate(QByteArrayView a, QByteArrayView b);

}  // namespace belmo::db::jet

#pragma once

#include <QByteArrayView>

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

void registerFunctions(sqlite3* db);

int compareText(QByteArrayView a, QByteArrayView b);
// The text with every letter folded as JETTEXT folds it: two texts are equal under JETTEXT
// exactly when their folded texts are equal, so a set of folded texts finds keys as the
// database compares them.
QString foldedText(QStringView text);
int compareDate(QByteArrayView a, QByteArrayView b);

// Function errors travel through SQLite as "#<number>#<text>"; this splits them again.
bool parseFunctionError(const QByteArray& message, qint32& number, QString& text);

}  // namespace belmo::db::jet

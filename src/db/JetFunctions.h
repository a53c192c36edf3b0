#pragma once

#include <QByteArrayView>

struct sqlite3;

// The functions and collations that give SQLite the Access meaning of the statements the
// steps build. Registered on every connection the client opens.
//
// Functions: FORMAT, SWITCH, CDBL, CDATE, CSTR, CLNG, STR, MID, TRIM, LTRIM, RTRIM, LEN,
// UCASE, LCASE, NZ, JETCAT (the & operator), LIKE (case-insensitive beyond ASCII), and the
// aggregates FIRST and LAST. IIF is SQLite's own, which already takes the false branch on Null.
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
int compareDate(QByteArrayView a, QByteArrayView b);

// Function errors travel through SQLite as "#<number>#<text>"; this splits them again.
bool parseFunctionError(const QByteArray& message, qint32& number, QString& text);

}  // namespace belmo::db::jet

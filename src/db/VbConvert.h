#pragma once

#include "db/Value.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// VB-style conversions with the package's regional conventions: Turkish, whatever the host
// locale says. Decimal comma, thousands dot, dates day.month.year. The SQL functions of the
// dialect and the step code (totals, grid cells) both go through this one module, so a
// number formatted by a query reads back the same way in code.
namespace belmo::vb {

using db::Value;

inline constexpr QChar kDecimalSeparator = u',';
inline constexpr QChar kGroupSeparator = u'.';
inline constexpr QChar kDateSeparator = u'.';

// Text to number as CDbl reads it: optional sign or parentheses, digits with thousands dots
// anywhere (VB is lenient about their places), one decimal comma, an optional exponent.
std::optional<double> parseNumber(QStringView text);

// Text to date as CDate reads it: day.month.year (also with / or -, two-digit years
// 00-29 in 2000s and 30-99 in 1900s), ISO year-month-day, each with an optional time;
// a time alone lies on 30.12.1899.
std::optional<QDateTime> parseDate(QStringView text);

double CDbl(const Value& v);     // 13 for unreadable text, 94 for Null
qint32 CLng(const Value& v);     // rounds half to even; 6 when it does not fit
QString CStr(const Value& v);    // 94 for Null
QString joined(const Value& v);  // CStr as a string join (&) sees it: Null gives ""
QDateTime CDate(const Value& v); // 13 for unreadable text, 94 for Null
QString Str(double d);           // Str(): a blank before a non-negative number, "." decimal

// Format(value, pattern): number patterns ("##,###0.00", "####0.0"), date patterns
// ("dd.mm.yyyy", case-insensitive) and the named formats. Null gives Null.
Value Format(const Value& v, const QString& pattern);
QString formatNumber(double value, QStringView pattern);
// The number formatNumber shows for a finite value, as a number, in two halves for the many
// values of one pattern: the decimal places of the pattern's first section, read once, and a
// value rounded half away from zero to them, on the decimal value as formatNumber rounds it.
// What a grid shows and what a step carries then agree, without a trip through text.
int shownDecimals(QStringView pattern);
double roundToDecimals(double value, int decimals);
QString formatDate(const QDateTime& dt, QStringView pattern);

// Jet keeps dates as days since 30.12.1899 with the time as fraction.
double toSerial(const QDateTime& dt);
QDateTime fromSerial(double serial);

// The text a Date/Time column holds: ISO date, with the time only when it is not midnight.
QString toStorageDate(const QDateTime& dt);

}  // namespace belmo::vb

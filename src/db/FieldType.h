#pragma once

#include "db/Value.h"

struct sqlite3_stmt;

namespace belmo::db {

// The column types of the package's tables, as the declared SQLite types carry them.
enum class FieldType {
    Unknown,   // an expression: the value keeps SQLite's storage class
    Long,      // INTEGER: Jet Long Integer and AutoNumber
    Short,     // SMALLINT: Jet Integer, 16 bits
    Double,    // DOUBLE
    Text,      // TEXT
    Date,      // DATETIME, held as ISO text
};

FieldType fieldTypeFromDeclared(const char* declaredType);

// The value of column i of the current row, read as a field of the given type.
Value readColumn(sqlite3_stmt* stmt, int i, FieldType type);

// Stored UTF-8 text as it is, character for character: a leading byte-order mark is part of
// the value (QString::fromUtf8 would drop it, and with it the identity of a code).
QString storedText(const char* utf8, qsizetype bytes);

// Binds v to parameter i (1-based); the result code for the caller to check.
int bindValue(sqlite3_stmt* stmt, int i, const Value& v);

// The value a field of this type takes when v is assigned, as ADO converts on assignment
// (text "12,5" into a Double is 12.5). Throws DbError MultipleStep when it does not fit.
Value convertForField(const Value& v, FieldType type);

}  // namespace belmo::db

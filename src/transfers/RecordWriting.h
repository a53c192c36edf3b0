#pragma once

#include "db/Value.h"

#include <QString>

namespace belmo::db {
class Connection;
class Recordset;
}

// Writing records in the regions of the transfer steps that leave out what fails and go on.
namespace belmo::transfers {

// One assignment; a value that does not fit the column (or a column the table lacks) is left
// out and the column keeps its value or the table's default.
void assign(db::Recordset& record, const QString& column, const db::Value& value);

// The text of a cell read as a number (CDbl) into a number column; empty or unreadable text
// is left out like a value that does not fit.
void assignNumber(db::Recordset& record, const QString& column, const QString& text);

// One column copied from the current row of another recordset; a Null there gives ifNull.
// Left out when it cannot be read or does not fit.
void copy(db::Recordset& to, db::Recordset& from, const QString& column, const db::Value& ifNull = db::Value::null());

// Deletes every row of an updatable recordset, from the current one on. A row that cannot be
// deleted stops the step (a table half emptied would be refilled beside what is left): its
// failure is one of the database. It does not move once the last row is gone, where a move
// would raise.
void deleteAll(db::Recordset& record);

// A statement without rows whose failure stops the step (the old rows marked deleted, say:
// they must not stay live beside the new ones).
void runOrStop(db::Connection& db, const QString& statement);

// A record read from the source by its key: one gone since the grid was loaded fails the row.
void requireRecord(db::Recordset& record);

// The period of a company: the trimmed DONEM of its SIRKET row, a year. A company without a
// record, or whose DONEM is empty or not a year, stops the step with the file and the value
// named: nothing of a new period can be dated or named without it.
int companyPeriod(db::Connection& company);

// 1 January of the target company's period. A period that is not a year fails here, before
// any write.
db::Value openingDate(db::Connection& target);

}  // namespace belmo::transfers

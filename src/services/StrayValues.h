#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace belmo::db {
class Connection;
}

// Values a company file holds that are not what their column holds: text, or a number too
// large to be one, in a number column (an amount stored as 'NaN', an infinite amount), text
// that is no date in a date column. SQL reads such values as something else (a sum counts
// text as 0, a comparison puts text above every number), so a step would carry, or leave
// out, a figure nobody wrote. A step looks for them in the rows it reads, and the row of the
// grid they belong to is listed instead of carried.
namespace belmo::services {

// Where a step looks: number and date columns of `table`, in the rows `from` and `scope`
// give, each found row named by the key of the grid row it belongs to.
struct StraySearch {
    QString table;            // the table whose number and date columns are checked
    QStringList keys;         // expressions of the keys of the grid rows a found row belongs to;
                              // a Null key belongs to none
    QString from = {};        // the FROM clause: the table itself when empty
    QString scope = {};       // a condition the rows meet; every row when empty
    QString locator = {};     // an expression naming the row within its table; its rowid when empty
    QStringList columns = {}; // the columns the step reads; every number and date column when empty
};

struct StrayValue {
    QString key;      // the grid row's key
    QString where;    // "Cari_H Kayit_No 17"
    QString column;   // "Tutar_Ytl"
    QString stored;   // the value as stored, as text
    QString problem;  // "is not a number", "is infinite", "is not a date"

    // "Cari_H Kayit_No 17: Tutar_Ytl 'NaN' is not a number"
    QString describe() const;
};

// Every stray value of the search, in the order the file gives them.
QList<StrayValue> findStrayValues(db::Connection& source, const StraySearch& search);

}  // namespace belmo::services

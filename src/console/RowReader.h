#pragma once

#include "db/Value.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

namespace belmo::db {
class Recordset;
}

namespace belmo::console {

// Reads the records of a loader's statement, field by field and by name, into the typed
// fields of a step's rows: codes as text, amounts and quantities as numbers, dates as dates,
// each from the value the statement gives, never from a text formatted for the grid. Every
// conversion is total: a value that does not read as what the field holds (an amount that is
// text or infinite, a date that is no date) becomes the problem of its record, named with the
// field and the value, and the field takes a neutral value (0, Null) meanwhile.
class RowReader {
public:
    explicit RowReader(db::Recordset& rs);

    // Moves to the next record, the first one on the first call; false after the last.
    bool next();
    // The record read now, 1 for the first: the grid row it is shown on.
    int record() const { return record_; }

    db::Value value(QStringView field);  // as the statement gives it
    QString text(QStringView field);     // Null as empty text; a number as CStr writes it
    double number(QStringView field);    // Null and empty text as 0
    db::Value date(QStringView field);   // a date, or Null

    // The problems of the records read so far, by record.
    const QHash<int, QString>& problems() const { return problems_; }

private:
    int index(QStringView field);
    void problem(QStringView field, const db::Value& v, const QString& what);

    db::Recordset& rs_;
    std::vector<std::pair<QString, int>> fields_;  // the few names a step reads, looked up once
    int record_ = 0;
    QHash<int, QString> problems_;
};

// The typed rows of a step's grid, the first at grid row 1.
template <typename Row>
class RowList {
public:
    // Reads every record: `read` makes one row of the reader's current record.
    template <typename Read>
    void read(RowReader& reader, Read&& read)
    {
        rows_.clear();
        while (reader.next()) rows_.push_back(read(reader));
    }
    void clear() { rows_.clear(); }
    const Row& operator[](int gridRow) const { return rows_.at(gridRow - 1); }
    int size() const { return int(rows_.size()); }

private:
    std::vector<Row> rows_;
};

}  // namespace belmo::console

#pragma once

#include "db/FieldType.h"
#include "db/Value.h"

#include <QList>
#include <QString>

#include <memory>

namespace belmo::db {

class Connection;
class Recordset;

// ADO's cursor and lock types, with their numbers.
enum class CursorType { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
enum class LockType { ReadOnly = 1, Pessimistic = 2, Optimistic = 3 };

// A statement and the values bound to its '?' parameters, in order. Whatever comes from a
// user or a database goes in as a value, never as a part of the text.
struct Query {
    Query(QString text = {}, QList<Value> values = {}) : text(std::move(text)), values(std::move(values)) {}
    Query(const char16_t* text) : text(QString::fromUtf16(text)) {}
    QString text;
    QList<Value> values;
};

// rs.field("Ana_Hs") reads like Fields("Ana_Hs").Value and takes an assignment.
class Field {
public:
    Field(Recordset& rs, int index) : rs_(&rs), index_(index) {}
    Value value() const;
    operator Value() const { return value(); }
    Field& operator=(const Value& v);
    Field& operator=(const Field& other) { return *this = other.value(); }
    QString name() const;

private:
    Recordset* rs_;
    int index_;
};

// The replacement of an ADO Recordset over the package's tables.
//
// Read-only lock: a snapshot taken at Open with an exact RecordCount.
// Any other lock: an updatable cursor. The statement is prepared at Open (so a wrong name
// fails there) but runs only when something needs its rows (EOF, a Move, a field read);
// it then takes the row ids of the result at once and reads each row by id when the
// cursor lands on it, so deleting or updating rows while walking never depends on a live
// SQLite cursor. AddNew alone never runs the query, so opening "select * from Cari_H" to
// add a row costs the same on an empty and on a large table. Moving off an edited or new
// row saves it. A statement without rows (UPDATE, CREATE VIEW, DROP VIEW) runs at Open and
// leaves the recordset closed.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    void open(const QString& source, Connection& connection, CursorType cursor = CursorType::ForwardOnly,
              LockType lock = LockType::ReadOnly);
    // The same with '?' parameters bound in order: a statement read row after row with other
    // values is prepared once, and no value ever becomes a part of its text.
    void open(const QString& source, Connection& connection, CursorType cursor, LockType lock, const QList<Value>& params);
    void open(const Query& query, Connection& connection, CursorType cursor, LockType lock)
    {
        open(query.text, connection, cursor, lock, query.values);
    }
    void close();
    bool isOpen() const;

    bool eof();
    bool bof();
    qint64 recordCount();
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();

    int fieldCount() const;
    QString fieldName(int index) const;
    FieldType fieldType(int index) const;
    int fieldIndex(const QString& name) const;  // throws ItemNotFound (3265)

    Value value(int index);
    Value value(const QString& name) { return value(fieldIndex(name)); }
    // Throws MultipleStep when the value does not fit, leaving the field as it was.
    void setValue(int index, const Value& v);
    void setValue(const QString& name, const Value& v) { setValue(fieldIndex(name), v); }
    Field field(const QString& name) { return Field(*this, fieldIndex(name)); }
    Field field(int index) { return Field(*this, index); }

    void addNew();
    void update();
    void cancelUpdate();
    void deleteCurrent();  // ADO's Delete: the row stays current, unreadable, until a Move

    bool isEditing() const;
    bool supportsUpdates() const;

private:
    struct Impl;
    Impl& beforeMove();  // saves a pending edit and runs the query when it has not run yet
    std::unique_ptr<Impl> d_;
};

}  // namespace belmo::db

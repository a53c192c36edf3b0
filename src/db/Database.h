#pragma once

#include "db/FieldType.h"
#include "db/Value.h"

#include <QString>
#include <QStringList>

#include <limits>
#include <memory>

namespace belmo::db {

// A column of a statement's result: its name, and the table column it comes from (both empty
// for an expression), with the type the recordset reads it as.
struct ColumnInfo {
    QString name;
    QString table;
    QString column;
    FieldType type = FieldType::Unknown;
};

// A row id that is not there: the outer side of a join without a match.
inline constexpr qint64 kNoRow = std::numeric_limits<qint64>::min();

// One prepared statement of a database, whichever engine runs it. Values are bound to its
// parameters ('?' in the text, 1-based here) and its rows are read one at a time.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual void bind(int index, const Value& v) = 0;  // throws when the value cannot be bound
    virtual bool step() = 0;                           // true while a row is there; throws on errors
    void runToEnd()
    {
        while (step()) {
        }
    }

    virtual int columnCount() const = 0;
    virtual ColumnInfo column(int i) const = 0;
    // The value of column i of the current row, read as a field of the given type.
    virtual Value value(int i, FieldType type) const = 0;
    // Column i of the current row as a row id (see Database::rowIdColumn); kNoRow when Null.
    virtual qint64 rowId(int i) const = 0;
    // The text the engine runs (after the dialect's rewrite).
    virtual QString nativeText() const = 0;
};
using Statement = std::unique_ptr<Cursor>;

// One open company or configuration database, shared by every Connection on it (see
// ConnectionPool): a file, or a database on a company server. The recordsets and the
// connections work through this interface only; no step knows which engine it talks to.
class Database {
public:
    virtual ~Database() = default;

    // How messages name the database: the file's path, or "<server>/<database>".
    virtual const QString& path() const = 0;

    // Throws InvalidPassword unless the database password matches (a server checks its own).
    virtual void verifyPassword(const QString& password) = 0;

    // A statement in the Access dialect, rewritten for the engine.
    virtual Statement prepare(const QString& accessSql) = 0;
    // A statement of the client's own (inserts, updates by row id), in the common SQL both
    // engines read, with '?' parameters.
    virtual Statement prepareNative(const QString& sql) = 0;
    // Runs a statement without rows to its end. A CREATE VIEW whose query does not compile is
    // refused here, as Jet refuses it.
    virtual void run(Cursor& st) = 0;

    // The outermost level takes the write lock at once (waiting for it); inner levels are
    // savepoints.
    virtual void beginTransaction() = 0;
    // The database as it is now, for as long as the transaction lasts; no lock that keeps
    // other programs from writing.
    virtual void beginReadTransaction() = 0;
    virtual void commitTransaction() = 0;
    virtual void rollbackTransaction() = 0;

    // The number the database gave the last row inserted with an AutoNumber.
    virtual qint64 lastInsertRowId() = 0;

    virtual QStringList columns(const QString& table) = 0;
    // A view or table of that name in the schema ("main", the database, or "temp", the
    // connection's own).
    virtual bool hasObject(const QString& schema, const QString& type, const QString& name) = 0;
    virtual bool readOnly() const = 0;
    // True when every column holds values of its declared type only (a server's columns); a
    // file's column may hold any value.
    virtual bool typedColumns() const { return false; }

    // How a recordset finds a row again: the column that names a row of a table, and what the
    // statements that write a row add to give back the row's (new) id, if the engine moves a
    // row when it is written.
    virtual QString rowIdColumn() const = 0;
    virtual QString returningRowId() const = 0;
    virtual Value rowIdValue(qint64 id) const = 0;
    // Called before the first write of a transaction to a table: the engine may keep other
    // writers off it until the transaction ends.
    virtual void beforeWrite(const QString& table) { Q_UNUSED(table); }
    // After rows were written with their AutoNumber values given: the next number the database
    // gives the column follows the highest one. A file's AUTOINCREMENT follows by itself.
    virtual void followKeys(const QString& table, const QString& column) { Q_UNUSED(table); Q_UNUSED(column); }

    // What a recordset learnt of a statement text (its fields and update plan), kept while the
    // database's schema stays as it was. Null when unknown.
    virtual std::shared_ptr<const void> shape(const QString& key) = 0;
    virtual void keepShape(const QString& key, std::shared_ptr<const void> shape) = 0;

    // The database opened for writing but refused a write (an immutable file, a share or a
    // server account that takes no writes): the program treats it as read-only from then on.
    bool refusesWrites() const { return refusesWrites_; }
    void markRefusesWrites() { refusesWrites_ = true; }

private:
    bool refusesWrites_ = false;
};

}  // namespace belmo::db

#pragma once

#include "db/Value.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

namespace belmo::db {

class SqliteFile;

// Connections on the same file share one SQLite handle: a routine that "opens its own
// connection" costs nothing, a step's writes from several routines cannot lock each other
// out, and one transaction can span them. The pool belongs to the application and is
// passed to every Connection; a file is closed when its last Connection closes.
class ConnectionPool {
public:
    ConnectionPool() = default;
    ConnectionPool(const ConnectionPool&) = delete;
    ConnectionPool& operator=(const ConnectionPool&) = delete;

    std::shared_ptr<SqliteFile> acquire(const QString& path);
    int openFiles() const;  // files with at least one open Connection or Recordset

private:
    QHash<QString, std::weak_ptr<SqliteFile>> files_;        // by canonical path
    QHash<QString, std::weak_ptr<SqliteFile>> byGivenPath_;  // by the path a caller gave
};

// The replacement of an ADO Connection: open with a connection string, close, and the
// transaction calls. Every statement goes through a Recordset (Open), as in the system;
// execute() is for the program's own statements with bound parameters.
class Connection {
public:
    explicit Connection(ConnectionPool& pool);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Throws Unspecified when the file is missing or not openable (it is never created),
    // InvalidPassword for a wrong or missing password, ObjectOpen when already open.
    void open(const QString& connectionString);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const QString& connectionString() const { return connectionString_; }

    // A statement without rows in the Access dialect, with '?' parameters bound in order.
    void execute(const QString& sql, const QList<Value>& params = {});
    // The key the database gave the last inserted row.
    qint64 lastInsertId() const;

    void beginTrans();
    void commitTrans();
    void rollbackTrans();

    // The shared file behind an open connection (throws ObjectClosed when closed).
    const std::shared_ptr<SqliteFile>& file() const;

private:
    ConnectionPool& pool_;
    std::shared_ptr<SqliteFile> file_;
    QString connectionString_;
};

// Runs a step's writes as one transaction that is committed on every way out, errors
// included: what was written stays written, as the system expects, only faster.
// Call commit() on the normal way out so that a failing commit is reported; the destructor
// commits what an error left behind.
class TransactionScope {
public:
    explicit TransactionScope(Connection& connection);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    void commit();

private:
    std::shared_ptr<SqliteFile> file_;
    bool done_ = false;
};

}  // namespace belmo::db

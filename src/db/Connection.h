#pragma once

#include "db/Database.h"
#include "db/Value.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QString>

#include <functional>
#include <memory>

namespace belmo::db {

struct ConnectionString;

// What every file of a pool does while it waits: how long a statement waits for a lock
// another program holds, and who hears of the wait and of long statements (a window that
// repaints and offers its cancel, the headless runner that prints the wait).
struct PoolSettings {
    int lockTimeoutMs = 30000;
    // Called about every 50 ms while a statement waits for a lock; false (the user cancelled)
    // gives up at once, and the statement throws Cancelled.
    std::function<bool(const QString& path, int waitedMs)> onLockWait;
    // Called now and then while a statement works; false (the user cancelled) interrupts it,
    // and the statement throws Cancelled.
    std::function<bool()> onLongWork;
};
// Connections on the same database share one handle (one SQLite handle of a file, one session
// with a server's database): a routine that "opens its own connection" costs nothing, a
// step's writes from several routines cannot lock each other out, and one transaction can
// span them. The pool belongs to the application and is passed to every Connection; a
// database is closed when its last Connection closes.
class ConnectionPool {
public:
    ConnectionPool() = default;
    ConnectionPool(const ConnectionPool&) = delete;
    ConnectionPool& operator=(const ConnectionPool&) = delete;

    // The open file of this path, or a new one. A file opened read-only is a handle of its
    // own beside a writable one.
    std::shared_ptr<Database> acquire(const QString& path, bool readOnly = false);
    // The open session with the database a server connection string names, or a new one.
    std::shared_ptr<Database> acquire(const ConnectionString& server);
    int openFiles() const;  // databases with at least one open Connection or Recordset

    // Shared with every file the pool opens; a change reaches the files already open.
    PoolSettings& settings() { return *settings_; }

private:
    std::shared_ptr<PoolSettings> settings_ = std::make_shared<PoolSettings>();
    QHash<QString, std::weak_ptr<Database>> files_;        // by canonical path, or server and database
    QHash<QString, std::weak_ptr<Database>> byGivenPath_;  // by the path a caller gave
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

    // The columns of a table or view of the file, in their order; empty when there is none.
    QStringList columns(const QString& table) const;
    // True when the file cannot be written through this connection.
    bool readOnly() const;
    // A view of that name in the schema: "main", the file, or "temp", the connection's own.
    bool hasView(const QString& schema, const QString& name) const;

    // The shared database behind an open connection (throws ObjectClosed when closed).
    const std::shared_ptr<Database>& file() const;

private:
    ConnectionPool& pool_;
    std::shared_ptr<Database> file_;
    QString connectionString_;
};

// Runs writes as one transaction: commit() makes them stay; leaving the scope without it (an
// error's way out) rolls every write of the scope back. The outermost scope of a file takes
// the file's write lock at once, waiting for another program that holds it, so that a step
// never finds the lock taken half-way.
class TransactionScope {
public:
    enum class Mode { Write, Read };
    // Read: the file as it stands when the scope begins, without its write lock.
    explicit TransactionScope(Connection& connection, Mode mode = Mode::Write);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    void commit();

private:
    std::shared_ptr<Database> file_;
    bool done_ = false;
};

}  // namespace belmo::db

#pragma once

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Value.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

namespace belmo::db {

// Where a company server is and who logs in. The password goes to the server only: no message
// and no log line carries it.
struct PgServer {
    QString host;  // a name, an address, or the folder of the server's socket
    int port = 0;  // 0: the server's default
    QString user;
    QString password;
    QString applicationName = QStringLiteral("belmo");  // what other sessions see of this one

    // "host" or "host:port": how messages name the server.
    QString label() const;
};

// What a statement gave back: the columns' names, the rows, and the rows it changed.
struct PgRows {
    QStringList columns;
    QList<QList<Value>> rows;
    qint64 affected = 0;
};

// What a prepared statement's rows look like: per column its name, the table (by the
// server's number, 0 for an expression) and column number it comes from, and its type.
struct PgColumn {
    QString name;
    unsigned table = 0;
    int tableColumn = 0;
    unsigned type = 0;
};
struct PgPrepared {
    QByteArray name;  // of the statement on the session
    QString sql;
    QList<PgColumn> columns;
    int parameters = 0;
};

// The answer to a statement, read value by value as the recordsets walk it.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result* r);
    int rows() const;
    Value value(int row, int column) const;
    bool isNull(int row, int column) const;
    QByteArray text(int row, int column) const;

private:
    struct Clear {
        void operator()(pg_result* r) const noexcept;
    };
    std::shared_ptr<pg_result> result_;
};

// A company code that can name a database: letters, digits, '_' and '-', at most 50
// characters and, as the server counts a name, at most 63 bytes.
bool isPlainDatabaseCode(const QString& code);

// One session with one database of a company server. Statements take their values bound,
// never in the text ($1, $2, ... in the server's own dialect), and give back the values the
// client knows. A failure throws DbError with the number the file engine gives the same
// failure: a row's data or constraint error is field level, everything else (no connection, a
// missing table or column, a lock not got in time, a write in a read-only snapshot) database
// level. A lock is waited for up to the settings' lockTimeoutMs, telling onLockWait about every
// 50 ms and naming who holds it when given up.
class PgClient {
public:
    // Throws when the session cannot be opened: "Server Cevap Vermedi. ..." when the server
    // does not answer, the server's reason (a missing database, a refused login) otherwise.
    PgClient(const PgServer& server, const QString& database, std::shared_ptr<const PoolSettings> settings);
    ~PgClient();
    PgClient(const PgClient&) = delete;
    PgClient& operator=(const PgClient&) = delete;

    // "<server>/<database>": how messages and the lock wait name this session.
    const QString& name() const { return name_; }

    PgRows execute(const QString& sql, const QList<Value>& params = {});
    // A statement prepared on this session (each call prepares anew: the caller keeps it), and
    // run with bound values. A value
    // goes as text and takes the type the server gives its parameter.
    std::shared_ptr<const PgPrepared> prepare(const QString& sql);
    PgResult run(const PgPrepared& statement, const QList<Value>& params);
    // The same inside a transaction, in a savepoint of its own: a statement the server refuses
    // takes back only itself, and the transaction goes on. The savepoint, the statement and
    // its release go to the server together and cost one wait for the answer.
    PgResult runInSavepoint(const PgPrepared& statement, const QList<Value>& params);
    // Drops the statements prepared so far (after a view they read was made anew).
    void forgetPrepared();

    void begin();
    // A read-only snapshot: every statement until commit or rollback sees the database as it
    // was at the first one, and a write is refused.
    void beginSnapshot();
    void commit();
    void rollback();
    bool inTransaction() const;

    // A company's database, named by its code (quoted as an identifier). Throws InvalidCall for
    // a code that is not plain. Neither may run inside a transaction.
    void createDatabase(const QString& code);
    void dropDatabase(const QString& code);
    // Gives a database another name; none may be connected to it.
    void renameDatabase(const QString& code, const QString& newCode);

private:
    struct Closer {
        void operator()(pg_conn* conn) const noexcept;
    };
    using Handle = std::unique_ptr<pg_conn, Closer>;

    struct ClearResult {
        void operator()(pg_result* r) const noexcept;
    };
    using Answer = std::unique_ptr<pg_result, ClearResult>;
    // What the statements sent came to: the answer of each (its first failure, or its last
    // result; none when the session is gone), who held the lock one waited for, and whether the
    // user gave the wait up.
    struct Outcome {
        std::vector<Answer> results;
        QString holders;
        bool cancelled = false;
    };

    static Handle open(const PgServer& server, const QString& database, int lockTimeoutMs);
    // Sends with `send` (true when sent) and waits for the answer; throws the statement's failure.
    template <typename Send>
    std::unique_ptr<pg_result, ClearResult> exchange(const QString& sql, Send send);
    void databaseStatement(const char* verb, const QString& code);
    // The code quoted as an identifier; throws InvalidCall for a code that is not plain.
    QString databaseName(const QString& code);
    void applyLockTimeout();
    // Waits for the answer to one statement sent, or (pipelined > 0) to the statements of a
    // pipeline ended by a sync.
    Outcome await(int pipelined = 0);
    static bool succeeded(const pg_result* r);
    DbError failure(const pg_result* result, const QString& sql, const QString& holders) const;
    // Who holds what the session `pid` waits for, in words; empty when it waits for nothing.
    QString lockHolders(int pid);

    PgServer server_;
    QString name_;
    std::shared_ptr<const PoolSettings> settings_;
    Handle conn_;
    Handle watcher_;  // a second session that looks at the first while a statement waits
    int lockTimeoutMs_ = -1;
    int statements_ = 0;  // prepared on the session, for their names
    bool savepointsPrepared_ = false;  // the statements that open and release a statement's savepoint
};

}  // namespace belmo::db

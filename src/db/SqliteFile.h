#pragma once

#include "db/Database.h"
#include "db/DbError.h"
#include "db/FieldType.h"
#include "db/JetFunctions.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <list>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace belmo::db {

class SqliteFile;
struct PoolSettings;

// Owners of the C interface's objects: a handle is closed and a statement finalized by the
// deleter of its owner, on every way out, never by hand.
struct CloseHandle {
    void operator()(sqlite3* db) const noexcept;
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* stmt) const noexcept;
};
// A statement lent out of a file's cache goes back to it (reset); the borrower's own is finalized.
struct ReturnStatement {
    SqliteFile* file = nullptr;
    bool cached = false;
    void operator()(sqlite3_stmt* stmt) const noexcept;
};
using HandlePtr = std::unique_ptr<sqlite3, CloseHandle>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// A prepared statement lent out of the file's cache; returned (reset) when it goes out of
// scope. A statement already lent out is prepared afresh for a second borrower, who owns it.
// Every bind and step goes through the file's one check of result codes.
class SqliteStatement {
public:
    SqliteStatement() = default;

    sqlite3_stmt* get() const { return stmt_.get(); }
    explicit operator bool() const { return stmt_ != nullptr; }

    void bind(int index, const Value& v);  // 1-based; throws when the value cannot be bound
    bool step();                           // true while a row is there; throws on errors
    void runToEnd();                       // steps a statement without rows

private:
    friend class SqliteFile;
    SqliteStatement(SqliteFile& file, sqlite3_stmt* stmt, bool cached) : stmt_(stmt, ReturnStatement{&file, cached}) {}
    SqliteFile& file() const { return *stmt_.get_deleter().file; }

    std::unique_ptr<sqlite3_stmt, ReturnStatement> stmt_;
};

// One open SQLite database file, shared by every Connection on that file (see
// ConnectionPool). Owns the handle, the statement cache and the transaction depth; registers
// the dialect's functions and collations on open. A statement that finds the file locked by
// another program waits for it as the pool's settings say.
class SqliteFile : public Database {
public:
    // Opens an existing file; never creates one. Throws Unspecified naming the file when it is
    // missing, a folder, unreadable or not a database of this program.
    SqliteFile(const QString& path, bool readOnly, std::shared_ptr<const PoolSettings> settings);
    ~SqliteFile() override;
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    const QString& path() const override { return path_; }
    sqlite3* handle() const { return db_.get(); }

    // Throws InvalidPassword unless the password matches the file's stored verifier.
    void verifyPassword(const QString& password) override;

    Statement prepare(const QString& accessSql) override;
    Statement prepareNative(const QString& sql) override;
    void run(Cursor& st) override;

    // A statement in the Access dialect (rewritten and cached by its text).
    SqliteStatement compile(const QString& accessSql);
    // A statement already in SQLite's dialect (the client's own: inserts, updates by rowid).
    SqliteStatement compileNative(const QString& sqliteSql);
    void execNative(const QString& sqliteSql);

    // Runs a statement without rows to its end. A CREATE VIEW whose query does not compile is
    // refused here, as Jet refuses it (SQLite would store it and fail only when it is read;
    // the cheque step falls back on a second definition when the first is refused).
    void runStatement(SqliteStatement& st);

    // A rollback of a transaction the database has already ended (after a full disk or an I/O
    // error) only forgets it.
    void beginTransaction() override;
    void beginReadTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;

    qint64 lastInsertRowId() override;

    QStringList columns(const QString& table) override;
    bool hasObject(const QString& schema, const QString& type, const QString& name) override;
    bool readOnly() const override;

    QString rowIdColumn() const override { return QStringLiteral("rowid"); }
    QString returningRowId() const override { return {}; }
    Value rowIdValue(qint64 id) const override { return Value(id); }

    std::shared_ptr<const void> shape(const QString& key) override;
    void keepShape(const QString& key, std::shared_ptr<const void> shape) override;

    // Verifier of a database password, stored once in every file the program makes.
    static QByteArray passwordVerifier(const QByteArray& salt, const QString& password);
    static constexpr const char* kKeyTable = "MSysDbKey";

private:
    friend class SqliteStatement;
    friend struct ReturnStatement;
    struct CacheEntry {
        QString key;
        StatementPtr stmt;
        bool inUse = false;
    };
    using CacheSlot = std::list<CacheEntry>::iterator;
    // The one check of the result codes of the C interface: OK, ROW and DONE come back;
    // anything else throws Cancelled when the user's cancel stopped the statement, else the
    // DbError the provider would raise, numbered and of the kind the result code says. The
    // statement (or its text) is the context the error names.
    int check(int rc, sqlite3_stmt* stmt);
    int check(int rc, const QString& sql);
    SqliteStatement prepareCached(const QString& key, const QString& sqliteSql);
    SqliteStatement lend(CacheSlot slot);
    void giveBack(sqlite3_stmt* stmt) noexcept;
    [[noreturn]] void fail(int rc, sqlite3_stmt* stmt, const QString& sql);
    DbError error(int rc, sqlite3_stmt* stmt, const QString& sql) const;
    static int waitForLock(void* self, int attempt);
    static int longWork(void* self);
    void forgetEndedTransaction();
    std::pair<qint64, qint64> schemaVersions();

    QString path_;
    std::shared_ptr<const PoolSettings> settings_;
    QElapsedTimer waiting_;  // since the current wait for a lock began
    bool cancelled_ = false;  // a callback of the pool's settings said the user cancelled
    jet::FunctionFailure functionFailure_;
    // Declared before the statements: they are finalized before the handle closes.
    HandlePtr db_;
    std::list<CacheEntry> cache_;  // most recently used first
    QHash<QString, CacheSlot> byKey_;
    QHash<sqlite3_stmt*, CacheSlot> byStatement_;
    QHash<QString, std::shared_ptr<const void>> shapes_;
    std::pair<qint64, qint64> shapesSchema_{-1, -1};  // main and temp schema versions of the shapes
    int ddl_ = 0;                  // views made or dropped through this file
    int shapesDdl_ = 0;            // ... when the shapes' schema was last checked
    bool schemaSettled_ = false;  // checked within the transaction that runs: nobody else changes it
    QStringList verifiedPasswords_;
    int depth_ = 0;
};

}  // namespace belmo::db

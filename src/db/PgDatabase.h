#pragma once

#include "db/Connection.h"
#include "db/Database.h"
#include "db/PgClient.h"

#include <QHash>
#include <QSet>

namespace belmo::db {

struct ConnectionString;

// A company database on a server, behind the same interface as a file: the statements of the
// steps are rewritten into the server's dialect, a row is found again by its physical id
// (ctid, given back by every statement that moves it), and a transaction is all or nothing as
// on a file. A statement that fails inside a transaction takes back only what it did (each
// runs in a savepoint), as a failed statement of a file does, so a step that goes on after a
// refused row or view goes on here too.
class PgDatabase final : public Database {
public:
    PgDatabase(const ConnectionString& server, std::shared_ptr<const PoolSettings> settings);

    const QString& path() const override { return client_.name(); }
    void verifyPassword(const QString&) override {}  // the server checked the login

    Statement prepare(const QString& accessSql) override;
    Statement prepareNative(const QString& sql) override;
    void run(Cursor& st) override;

    void beginTransaction() override;
    void beginReadTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;

    qint64 lastInsertRowId() override;

    QStringList columns(const QString& table) override;
    bool hasObject(const QString& schema, const QString& type, const QString& name) override;
    bool readOnly() const override { return readOnly_; }
    bool typedColumns() const override { return true; }

    QString rowIdColumn() const override { return QStringLiteral("ctid"); }
    QString returningRowId() const override { return QStringLiteral(" RETURNING ctid"); }
    Value rowIdValue(qint64 id) const override;
    void beforeWrite(const QString& table) override;
    void followKeys(const QString& table, const QString& column) override;

    std::shared_ptr<const void> shape(const QString& key) override;
    void keepShape(const QString& key, std::shared_ptr<const void> shape) override;

    // Runs a prepared statement, inside a transaction in a savepoint of its own.
    PgResult execute(const PgPrepared& statement, const QList<Value>& params);
    // The name of a table of the database and of one of its columns, by the server's numbers.
    QString tableName(unsigned table);
    QString columnName(unsigned table, int column);
    FieldType fieldType(unsigned type);
    // A row id as the server writes it, "(block,item)", as one number and back.
    static qint64 rowIdOf(const QByteArray& text);

    PgClient& client() { return client_; }

private:
    PgRows query(const QString& sql, const QList<Value>& params = {});
    template <typename Work>
    auto guarded(Work work);
    Statement prepared(const QString& key, const QString& sql, bool access);
    void afterEnd();
    void upgradeDialect();

    // What run() needs to know of a statement, worked out once per text.
    struct Verb {
        QString word;                   // the first word, upper case
        QString table;                  // the table an INSERT, UPDATE or DELETE writes
        QString autoNumberGiven;        // the AutoNumber column an INSERT gives its value
        bool temporaryObject = false;   // makes or drops a temporary view or table
    };
    static Verb verbOf(const QString& sql);

    PgClient client_;
    bool readOnly_ = false;
    int depth_ = 0;
    QSet<QString> lockedTables_;  // for the transaction that runs
    QHash<unsigned, QString> tableNames_;
    QHash<QPair<unsigned, int>, QString> columnNames_;
    QHash<unsigned, FieldType> types_;
    QHash<QString, std::shared_ptr<const void>> shapes_;
    QHash<QString, std::shared_ptr<const PgPrepared>> statements_;  // by the text as given
    QHash<QString, Verb> verbs_;                                    // by the server's text
};

}  // namespace belmo::db

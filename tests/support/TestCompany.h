#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqliteFile.h"
#include "db/Value.h"
#include "support/TestServer.h"

#include <QTemporaryDir>

#include <initializer_list>
#include <ostream>
#include <utility>

// Readable failure messages for the types the tests compare.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
namespace belmo::db {
inline void PrintTo(const Value& v, std::ostream* os) { *os << v.debugString().toStdString(); }
}  // namespace belmo::db

namespace belmo::test {

using db::Value;

// A temporary folder holding company databases built by the schema code, with a pool and
// an open connection to the first one ("TEST"). On the server engine the companies are
// databases of the test server instead, dropped with the TestCompany.
class TestCompany {
public:
    explicit TestCompany(const QString& code = QStringLiteral("TEST"), Engine engine = Engine::File);
    ~TestCompany();

    QString folder() const { return dir_.path(); }
    QString path(const QString& code) const;  // on the server, how messages name the database
    QString connectionString(const QString& code) const;
    QString connectionString() const { return connectionString(code_); }
    // The name of the company's database on the server; empty on files and for other codes.
    QString serverDatabase(const QString& code) const { return serverDatabases_.value(code); }
    // Another company database in the same folder.
    void addCompany(const QString& code);

    db::ConnectionPool& pool() { return pool_; }
    db::Connection& connection() { return con_; }

    // INSERT of one row; values are bound, never spliced.
    void insert(const QString& table, std::initializer_list<std::pair<const char*, Value>> columns);
    void insert(db::Connection& con, const QString& table, std::initializer_list<std::pair<const char*, Value>> columns);

    // The rows of a statement as text cells (Null as "<null>"), read through a static recordset.
    QList<QStringList> rows(const db::Query& sql);
    QList<QStringList> rows(const QString& sql) { return rows(db::Query(sql)); }
    QList<QStringList> rows(db::Connection& con, const db::Query& sql);
    // A single value.
    Value scalar(const QString& sql);

    Engine engine() const { return engine_; }
    const QString& code() const { return code_; }

private:
    QTemporaryDir dir_;
    QString code_;
    Engine engine_;
    QHash<QString, QString> serverDatabases_;  // by company code
    db::ConnectionPool pool_;
    db::Connection con_{pool_};
};

// A statement that works long enough for the pool's callback of long work to be called.
inline constexpr const char* kLongStatement =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000000) SELECT count(*) FROM n";

// Another program's own handle on a database file (made when missing), without the pool and
// the dialect: a plain SQLite client.
db::HandlePtr otherProgram(const QString& path);

// Another program writing to a company of a TestCompany, on either engine: while it holds,
// no other writer gets at the table Evr (on a file, at the whole file).
class OtherWriter {
public:
    explicit OtherWriter(TestCompany& company);
    ~OtherWriter();
    void hold();
    void release();

private:
    Engine engine_;
    db::HandlePtr file_;
    std::unique_ptr<db::PgClient> server_;
};

// Replaces a table by one without the named column, as older company databases have it.
// The table is left empty.
void recreateWithoutColumn(db::Connection& con, const QString& table, const QString& column);

}  // namespace belmo::test

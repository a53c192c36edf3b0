#include "TestCompany.h"

#include "db/ConnectionString.h"
#include "db/Schema.h"
#include "db/VbConvert.h"

#include <QDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace belmo::test {

TestCompany::TestCompany(const QString& code, Engine engine) : code_(code), engine_(engine)
{
    QDir(dir_.path()).mkpath(QStringLiteral("MUHASEBE"));
    addCompany(code);
    con_.open(connectionString(code));
}

TestCompany::~TestCompany()
{
    con_.close();
    for (const QString& database : std::as_const(serverDatabases_)) dropServerDatabase(database);
}

QString TestCompany::path(const QString& code) const
{
    if (engine_ == Engine::Server) return db::ConnectionString::parse(connectionString(code)).dataSource;
    return dir_.path() + QStringLiteral("/MUHASEBE/") + code + QStringLiteral(".mdb");
}

QString TestCompany::connectionString(const QString& code) const
{
    if (engine_ == Engine::Server)
        return db::ConnectionString::forServer(testServer().host, 0, testServer().user, {}, serverDatabases_.value(code));
    return db::ConnectionString::forJetFile(path(code), db::schema::databasePassword());
}

void TestCompany::addCompany(const QString& code)
{
    if (engine_ == Engine::Server)
        serverDatabases_.insert(code, createServerDatabase(code, db::schema::companyTables()));
    else
        db::schema::createDatabaseFile(path(code), db::schema::companyTables(), db::schema::databasePassword());
}

void TestCompany::insert(const QString& table, std::initializer_list<std::pair<const char*, Value>> columns)
{
    insert(con_, table, columns);
}

void TestCompany::insert(db::Connection& con, const QString& table,
                         std::initializer_list<std::pair<const char*, Value>> columns)
{
    QStringList names, marks;
    QList<Value> values;
    for (const auto& [name, value] : columns) {
        names << QString::fromUtf8(name);
        marks << QStringLiteral("?");
        values << value;
    }
    con.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(u','), marks.join(u',')), values);
}

QList<QStringList> TestCompany::rows(const db::Query& sql) { return rows(con_, sql); }

QList<QStringList> TestCompany::rows(db::Connection& con, const db::Query& sql)
{
    db::Recordset rs;
    rs.open(sql, con, db::CursorType::Static, db::LockType::ReadOnly);
    QList<QStringList> out;
    while (!rs.eof()) {
        QStringList row;
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const Value v = rs.value(i);
            row << (v.isNull() ? QStringLiteral("<null>") : vb::CStr(v));
        }
        out << row;
        rs.moveNext();
    }
    return out;
}

Value TestCompany::scalar(const QString& sql)
{
    db::Recordset rs;
    rs.open(sql, con_, db::CursorType::Static, db::LockType::ReadOnly);
    return rs.eof() ? Value::null() : rs.value(0);
}

void recreateWithoutColumn(db::Connection& con, const QString& table, const QString& column)
{
    db::schema::Table t = *db::schema::findTable(db::schema::companyTables(), table);
    t.columns.removeIf([&](const db::schema::Column& c) { return c.name.compare(column, Qt::CaseInsensitive) == 0; });
    t.indexes.removeIf([&](const db::schema::Index& ix) { return ix.columns.contains(column, Qt::CaseInsensitive); });
    con.execute(QStringLiteral("DROP TABLE ") + table);
    for (const QString& sql : db::schema::createStatements(t)) con.execute(sql);
}

OtherWriter::OtherWriter(TestCompany& company) : engine_(company.engine())
{
    if (engine_ == Engine::File) {
        file_ = otherProgram(company.path(company.code()));
        return;
    }
    const db::ConnectionString cs = db::ConnectionString::parse(company.connectionString());
    server_ = std::make_unique<db::PgClient>(testServer(QStringLiteral("other program")), cs.database,
                                             std::make_shared<db::PoolSettings>());
}

OtherWriter::~OtherWriter() = default;

void OtherWriter::hold()
{
    if (file_) {
        ASSERT_EQ(sqlite3_exec(file_.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        return;
    }
    server_->begin();
    server_->execute(QStringLiteral("LOCK TABLE evr IN EXCLUSIVE MODE"));
}

void OtherWriter::release()
{
    if (file_) sqlite3_exec(file_.get(), "COMMIT", nullptr, nullptr, nullptr);
    else server_->commit();
}

db::HandlePtr otherProgram(const QString& path)
{
    sqlite3* opened = nullptr;
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &opened), SQLITE_OK) << path.toStdString();
    return db::HandlePtr(opened);
}

}  // namespace belmo::test

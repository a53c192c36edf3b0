#include "TestServer.h"

#include "db/ConnectionString.h"
#include "db/PgDialect.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace belmo::test {

db::PgServer testServer(const QString& applicationName)
{
    return {qEnvironmentVariable("BELMO_TEST_PGHOST"), 0, QStringLiteral("belmo_test"), {}, applicationName};
}

bool haveTestServer() { return !qEnvironmentVariableIsEmpty("BELMO_TEST_PGHOST"); }

QString createServerDatabase(const QString& code, const QList<db::schema::Table>& tables)
{
    static int made = 0;
    const QString name = QStringLiteral("%1_%2_%3").arg(code).arg(QCoreApplication::applicationPid()).arg(++made);
    const auto settings = std::make_shared<db::PoolSettings>();
    db::PgClient(testServer(), QStringLiteral("postgres"), settings).createDatabase(name);
    db::PgClient company(testServer(), name, settings);
    company.begin();
    for (const QString& sql : db::pg::installStatements()) company.execute(sql);
    for (const QString& sql : db::pg::sessionStatements()) company.execute(sql);
    for (const db::schema::Table& t : tables)
        for (const QString& sql : db::pg::createStatements(t)) company.execute(sql);
    company.commit();
    return name;
}

void dropServerDatabase(const QString& database)
{
    db::PgClient admin(testServer(), QStringLiteral("postgres"), std::make_shared<db::PoolSettings>());
    admin.execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(db::pg::quotedName(database)));
}

std::string engineName(const testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::File ? "File" : "Server";
}

}  // namespace belmo::test

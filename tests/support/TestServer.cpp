#include "TestServer.h"

#include "db/CompanyCopy.h"
#include "db/ConnectionString.h"

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
    db::createServerDatabase(testServer(), name, tables);
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

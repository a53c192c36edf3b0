#pragma once

#include "db/PgClient.h"
#include "db/ServerSql.h"
#include "db/Schema.h"

#include <QString>

#include <gtest/gtest.h>

namespace belmo::test {

// Which engine a company of a test lives on: a file, or a database on the throwaway server
// CTest starts (tests/support/pg-cluster.sh) and names in BELMO_TEST_PGHOST.
enum class Engine { File, Server };
inline void PrintTo(Engine engine, std::ostream* os) { *os << (engine == Engine::File ? "File" : "Server"); }

// The throwaway server: its socket folder and superuser. Empty host when no server was started.
db::PgServer testServer(const QString& applicationName = QStringLiteral("belmo test"));
bool haveTestServer();

// A new, empty database on the test server with the tables given, named after `code` and made
// unique in the run; dropped by dropServerDatabase (whoever is still connected).
QString createServerDatabase(const QString& code, const QList<db::schema::Table>& tables);
void dropServerDatabase(const QString& database);

// Test names for a parameter of Engine: "File", "Server".
std::string engineName(const testing::TestParamInfo<Engine>& info);

}  // namespace belmo::test

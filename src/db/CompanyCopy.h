#pragma once

#include "db/PgClient.h"
#include "db/Schema.h"

#include <QList>
#include <QString>

#include <functional>

namespace belmo::db {

class Connection;

// One table of a company copied: its rows on each side once the copy is committed.
struct TableCount {
    QString table;
    qint64 source = 0;
    qint64 target = 0;
};

// Told while a table is copied: its rows written so far, and whether the table is done.
using CopyProgress = std::function<void(const QString& table, qint64 rows, bool done)>;

// Copies a company from one database into another, whatever engine each is on: every table of
// schema::companyTables() the source has, every row and every column the source has, into the
// target's empty tables of the same names. The source is read as it stands at the start (a
// read transaction), page by page, so memory stays flat however large the company is; the target
// is written in one transaction, each INSERT prepared once and its values bound. AutoNumber
// values are copied as they are, and the target's next number follows the highest of them.
// Returns each table's rows on both sides after the commit. Throws DbError naming the database
// and the table; then the target has none of it.
QList<TableCount> copyCompany(Connection& source, Connection& target, const CopyProgress& progress = {});

// A company database on a server, made under `name` with the schema belmo and the given tables,
// empty. The server's user must be allowed to make databases and the schema's types.
void createServerDatabase(const PgServer& server, const QString& name, const QList<schema::Table>& tables);

// A company's database on a server written under a working name and given the company's code
// only when complete, so that a failure never leaves a database that looks finished: the
// server's counterpart of schema::PendingFile.
class PendingDatabase {
public:
    // Makes the working database with every table of a company.
    PendingDatabase(const PgServer& server, const QString& code);
    ~PendingDatabase();  // drops the working database unless committed
    PendingDatabase(const PendingDatabase&) = delete;
    PendingDatabase& operator=(const PendingDatabase&) = delete;

    const QString& workName() const { return workName_; }
    // Renames the working database to the code. An existing database of that name is replaced
    // only when told to (and dropped once the new one is in place); none may be connected to
    // either. Every connection to the working database must be closed first.
    void commit(bool replace = false);

private:
    PgServer server_;
    QString code_;
    QString workName_;
    bool committed_ = false;
};

// True when the server has a database of this name (spelt exactly).
bool serverHasDatabase(const PgServer& server, const QString& name);

// A name the program gives a database it is still writing; never a company's.
bool isWorkingDatabase(const QString& name);

}  // namespace belmo::db

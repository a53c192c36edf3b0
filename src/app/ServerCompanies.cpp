#include "app/ServerCompanies.h"

#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Schema.h"

namespace belmo::app {

using namespace Qt::Literals::StringLiterals;

namespace {

void requirePlainCode(const QString& code)
{
    if (const QString problem = companyCodeProblem(code); !problem.isEmpty()) throw db::DbError(db::err::InvalidCall, problem);
    if (!db::isPlainDatabaseCode(code))
        throw db::DbError(db::err::InvalidCall, u"the company code '%1' is longer than a server's database name may be"_s.arg(code));
}

void refuseExisting(const ServerSettings& server, const QString& code, bool replace)
{
    if (replace || !db::serverHasDatabase(server.server(), code)) return;
    const QString place = serverPlace(server, code);
    throw db::DbError(db::err::Unspecified, u"'%1' already exists; it is left as it is."_s.arg(place), db::DbError::Kind::Database,
                      place, u"the database already exists"_s);
}

// The copy is complete only when every table has the source's rows.
void requireEqualCounts(const CompanyCopy& copy)
{
    for (const db::TableCount& t : copy.tables)
        if (t.source != t.target)
            throw db::DbError(db::err::Unspecified,
                              u"%1: %2 rows in %3, %4 in %5."_s.arg(t.table).arg(t.target).arg(copy.to).arg(t.source).arg(copy.from),
                              db::DbError::Kind::Database, copy.to, u"the copy's rows were not all written"_s);
}

QList<db::TableCount> copyBetween(const QString& from, const QString& to, const db::CopyProgress& progress)
{
    db::ConnectionPool pool;
    db::Connection source(pool), target(pool);
    source.open(db::ConnectionString::readOnlyForm(from));
    target.open(to);
    return db::copyCompany(source, target, progress);
}

}  // namespace

QString serverPlace(const ServerSettings& server, const QString& code) { return server.label() + u'/' + code; }

CompanyCopy copyToServer(const ProgramFolder& folder, const ServerSettings& server, const QString& code, bool replace,
                         const db::CopyProgress& progress)
{
    requirePlainCode(code);
    const ProgramFolder::CompanyFile file = folder.findCompany(code);
    if (file.state != ProgramFolder::CompanyFile::State::Found)
        throw db::DbError(db::err::Unspecified, file.problem(), db::DbError::Kind::Database, file.path);
    CompanyCopy copy{file.path, serverPlace(server, code), {}, {}};
    refuseExisting(server, code, replace);
    db::PendingDatabase pending(server.server(), code);
    copy.tables = copyBetween(folder.companyConnection(code), server.companyConnection(pending.workName()), progress);
    requireEqualCounts(copy);
    pending.commit(replace);
    return copy;
}

CompanyCopy copyFromServer(const ProgramFolder& folder, const ServerSettings& server, const QString& code, bool replace,
                           const db::CopyProgress& progress)
{
    requirePlainCode(code);
    CompanyCopy copy{serverPlace(server, code), folder.companyPath(code), {}, {}};
    if (!db::serverHasDatabase(server.server(), code))
        throw db::DbError(db::err::Unspecified, u"'%1': the server has no database %2."_s.arg(copy.from, code),
                          db::DbError::Kind::Database, copy.from, u"no such database"_s);
    const QString path = newCompanyPath(folder, code, replace);
    if (!folder.ensureDataFolders())
        throw db::DbError(db::err::Unspecified, u"Cannot create the folder '%1'."_s.arg(folder.companiesPath()));
    return copyIntoFile(server.companyConnection(code), copy.from, path, replace, progress);
}

CompanyCopy copyIntoFile(const QString& fromConnection, const QString& from, const QString& path, bool replace,
                         const db::CopyProgress& progress)
{
    CompanyCopy copy{from, path, {}, {}};
    db::schema::PendingFile pending(path);
    db::schema::createDatabaseFile(pending.workPath(), db::schema::companyTables(), db::schema::databasePassword());
    copy.tables = copyBetween(fromConnection, db::ConnectionString::forJetFile(pending.workPath(), db::schema::databasePassword()),
                              progress);
    requireEqualCounts(copy);
    copy.kept = pending.commit(replace);
    return copy;
}

void prepareServerCompany(const ServerSettings& server, const NewCompany& company, bool replace)
{
    requirePlainCode(company.code);
    refuseExisting(server, company.code, replace);
    db::PendingDatabase pending(server.server(), company.code);
    {
        db::ConnectionPool pool;
        db::Connection con(pool);
        con.open(server.companyConnection(pending.workName()));
        writeNewCompany(con, company);
    }
    pending.commit(replace);
}

}  // namespace belmo::app

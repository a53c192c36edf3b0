#include "proof/Rehearsal.h"

#include "app/Session.h"
#include "db/CompanyCopy.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/OnlineBackup.h"

#include <QFileInfo>

namespace belmo::proof {

Rehearsal::Rehearsal(app::Session& session) : target_(session.targetFile())
{
    if (db::ConnectionString::parse(session.HedefBag).onServer) {
        copyOnServer(session);
        return;
    }
    if (!dir_.isValid())
        throw db::DbError(db::err::Unspecified, QStringLiteral("Cannot make a scratch folder: %1").arg(dir_.errorString()),
                          db::DbError::Kind::Database, dir_.path(), dir_.errorString());
    // The copy keeps the target's name: what a step says of its file names the company.
    scratch_ = dir_.filePath(QFileInfo(target_).fileName());
    db::copyDatabase(target_, scratch_, db::CopyInto::NewFile, session.pool().settings());
    session.HedefBag = db::ConnectionString::forJetFile(scratch_, db::ConnectionString::parse(session.HedefBag).password);
}

Rehearsal::~Rehearsal() = default;

void Rehearsal::copyOnServer(app::Session& session)
{
    const db::ConnectionString target = db::ConnectionString::parse(session.HedefBag);
    scratchDatabase_ = std::make_unique<db::PendingDatabase>(db::PgServer{target.host, target.port, target.user, target.password},
                                                            target.database);
    const QString scratch = db::ConnectionString::forServer(target.host, target.port, target.user, target.password,
                                                            scratchDatabase_->workName());
    {
        db::Connection from(session.pool()), into(session.pool());
        from.open(db::ConnectionString::readOnlyForm(session.HedefBag));
        into.open(scratch);
        db::copyCompany(from, into);
    }
    scratch_ = db::ConnectionString::parse(scratch).dataSource;
    session.HedefBag = scratch;
}

}  // namespace belmo::proof

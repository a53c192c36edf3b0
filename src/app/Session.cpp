#include "app/Session.h"

#include "db/ConnectionString.h"
#include "db/DbError.h"

namespace belmo::app {

QString Session::targetFile() const { return db::ConnectionString::parse(HedefBag).dataSource; }

void Session::beforeTargetWrite()
{
    if (backedUp_) return;
    if (keeper) backup_ = keeper->backUp(*this);
    backedUp_ = true;
    if (onFirstWrite) onFirstWrite(backup_);
}

QString Session::restoreBackup()
{
    if (!keeper || backup_.isEmpty())
        throw db::DbError(db::err::InvalidCall, QStringLiteral("No backup was made in this session."));
    return keeper->restore(*this, backup_);
}

}  // namespace belmo::app

#include "db/DbError.h"

#include <sqlite3.h>

namespace belmo::db {

DbError::DbError(qint32 number, QString description, Kind kind, QString file, QString cause)
    : number_(number), description_(std::move(description)), kind_(kind), file_(std::move(file)),
      cause_(std::move(cause)), what_(QStringLiteral("[%1] %2").arg(number_).arg(description_).toStdString())
{
}

QString DbError::detail() const
{
    return file_.isEmpty() ? cause() : file_ + QStringLiteral(": ") + cause();
}

DbError DbError::asDatabaseLevel() const
{
    return DbError(number_, description_, Kind::Database, file_, cause_).withResultCode(resultCode_);
}

bool DbError::refusedWrite() const
{
    switch (resultCode_ & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return true;
    default: return resultCode_ == SQLITE_IOERR_WRITE || resultCode_ == SQLITE_IOERR_FSYNC
                    || resultCode_ == SQLITE_IOERR_TRUNCATE || resultCode_ == SQLITE_IOERR_DIR_FSYNC;
    }
}

}  // namespace belmo::db

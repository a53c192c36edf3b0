#include "db/DbError.h"

#include <QStringList>

#include "db/SqliteApi.h"

#include <cerrno>

namespace belmo::db {

DbError::DbError(qint32 number, QString description, Kind kind, QString file, QString cause)
    : number_(number), description_(std::move(description)), kind_(kind), file_(std::move(file)),
      cause_(std::move(cause)), what_(QStringLiteral("[%1] %2").arg(number_).arg(description_).toStdString())
{
}

QString DbError::detail() const
{
    QStringList parts{file_, where_, cause()};
    parts.removeAll(QString());
    return parts.join(QStringLiteral(": "));
}

DbError DbError::asDatabaseLevel() const
{
    DbError e(*this);
    e.kind_ = Kind::Database;
    return e;
}

DbError DbError::in(const QString& file, const QString& where) const
{
    DbError e(*this);
    if (e.file_.isEmpty()) e.file_ = file;
    if (!where.isEmpty()) e.where_ = e.where_.isEmpty() ? where : where + QStringLiteral(": ") + e.where_;
    return e;
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

DbError fileRefusal(const QString& file, const QString& what, const QString& cause)
{
    return DbError(err::Unspecified, QStringLiteral("%1 '%2': %3").arg(what, file, cause), DbError::Kind::Database, file, cause);
}

QString systemCause(int systemErrno)
{
    switch (systemErrno) {
    case EACCES:
    case EPERM: return QStringLiteral("no permission");
    case EROFS: return QStringLiteral("the file system is read-only");
    case ENOSPC: return QStringLiteral("the disk is full");
    case EFBIG: return QStringLiteral("the file size limit is reached");
    default: return {};
    }
}

}  // namespace belmo::db

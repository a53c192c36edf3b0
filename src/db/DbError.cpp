#include "db/DbError.h"

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
    return DbError(number_, description_, Kind::Database, file_, cause_);
}

}  // namespace belmo::db

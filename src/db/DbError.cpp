#include "db/DbError.h"

namespace belmo::db {

DbError::DbError(qint32 number, QString description)
    : number_(number), description_(std::move(description)),
      what_(QStringLiteral("[%1] %2").arg(number_).arg(description_).toStdString())
{
}

}  // namespace belmo::db

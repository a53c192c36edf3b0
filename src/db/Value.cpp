#include "db/Value.h"

namespace belmo::db {

Value::Value(const QDateTime& dt) : data_(QDateTime(dt.date(), dt.time(), Qt::UTC)) {}

Value::Value(const QDate& d) : data_(QDateTime(d, QTime(0, 0), Qt::UTC)) {}

QString Value::debugString() const
{
    switch (type()) {
    case Type::Empty: return QStringLiteral("Empty");
    case Type::Null: return QStringLiteral("Null");
    case Type::Bool: return boolValue() ? QStringLiteral("Bool(true)") : QStringLiteral("Bool(false)");
    case Type::Int: return QStringLiteral("Int(%1)").arg(intValue());
    case Type::Double: return QStringLiteral("Double(%1)").arg(doubleValue(), 0, 'g', 17);
    case Type::Text: return QStringLiteral("Text(\"%1\")").arg(textValue());
    case Type::Date: return QStringLiteral("Date(%1)").arg(dateValue().toString(Qt::ISODate));
    }
    return {};
}

}  // namespace belmo::db

#include "db/FieldType.h"

#include "db/DbError.h"
#include "db/VbConvert.h"

#include "db/SqliteApi.h"

#include <QStringDecoder>

#include <cmath>
#include <limits>

namespace belmo::db {

FieldType fieldTypeFromDeclared(const char* declaredType)
{
    if (!declaredType) return FieldType::Unknown;
    const QByteArray t = QByteArray(declaredType).trimmed().toUpper();
    if (t.startsWith("INT") || t == "LONG" || t == "COUNTER" || t == "BYTE" || t == "BIT") return FieldType::Long;
    if (t.startsWith("SMALLINT") || t.startsWith("SHORT")) return FieldType::Short;
    if (t.startsWith("DOUBLE") || t.startsWith("REAL") || t.startsWith("FLOAT") || t.startsWith("CURRENCY")
        || t.startsWith("NUMERIC") || t.startsWith("DECIMAL") || t.startsWith("SINGLE"))
        return FieldType::Double;
    if (t.startsWith("TEXT") || t.startsWith("VARCHAR") || t.startsWith("CHAR") || t.startsWith("MEMO"))
        return FieldType::Text;
    if (t.startsWith("DATE") || t.startsWith("TIMESTAMP")) return FieldType::Date;
    return FieldType::Unknown;
}

QString storedText(const char* utf8, qsizetype bytes)
{
    if (bytes >= 3 && static_cast<uchar>(utf8[0]) == 0xEF && static_cast<uchar>(utf8[1]) == 0xBB
        && static_cast<uchar>(utf8[2]) == 0xBF) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(utf8, bytes));
    }
    return QString::fromUtf8(utf8, bytes);
}

Value readColumn(sqlite3_stmt* stmt, int i, FieldType type)
{
    const int storage = sqlite3_column_type(stmt, i);
    if (storage == SQLITE_NULL) return Value::null();
    auto text = [&] {
        return storedText(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i));
    };
    switch (type) {
    case FieldType::Long:
    case FieldType::Short:
        if (storage == SQLITE_INTEGER) return Value(static_cast<qint64>(sqlite3_column_int64(stmt, i)));
        break;
    case FieldType::Double:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) return Value(sqlite3_column_double(stmt, i));
        break;
    case FieldType::Text:
        return Value(text());
    case FieldType::Date:
        if (storage == SQLITE_TEXT) {
            const QString s = text();
            if (auto d = vb::parseDate(s)) return Value(*d);
            return Value(s);
        }
        break;
    case FieldType::Unknown:
        break;
    }
    switch (storage) {
    case SQLITE_INTEGER: return Value(static_cast<qint64>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT: return Value(text());
    default: return Value::null();  // blobs are not part of the package's tables
    }
}

int bindValue(sqlite3_stmt* stmt, int i, const Value& v)
{
    switch (v.type()) {
    case Value::Type::Empty:
    case Value::Type::Null: return sqlite3_bind_null(stmt, i);
    case Value::Type::Bool: return sqlite3_bind_int(stmt, i, v.boolValue() ? -1 : 0);
    case Value::Type::Int: return sqlite3_bind_int64(stmt, i, v.intValue());
    case Value::Type::Double: return sqlite3_bind_double(stmt, i, v.doubleValue());
    case Value::Type::Text: {
        const QByteArray u = v.textValue().toUtf8();
        return sqlite3_bind_text(stmt, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
    }
    case Value::Type::Date: {
        const QByteArray u = vb::toStorageDate(v.dateValue()).toUtf8();
        return sqlite3_bind_text(stmt, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
    }
    }
    return sqlite3_bind_null(stmt, i);
}

namespace {

[[noreturn]] void doesNotFit(const Value& v, const char* type)
{
    throw DbError(err::MultipleStep,
                  QStringLiteral("Multiple-step operation generated errors: %1 does not fit a %2 field")
                      .arg(v.debugString(), QString::fromLatin1(type)));
}

Value wholeNumber(const Value& v, qint64 lo, qint64 hi, const char* type)
{
    if (v.type() == Value::Type::Int && v.intValue() >= lo && v.intValue() <= hi) return v;
    double d = 0;
    try {
        d = vb::CDbl(v);
    } catch (const DbError&) {
        doesNotFit(v, type);
    }
    d = std::nearbyint(d);  // half to even, as the provider rounds
    if (!std::isfinite(d) || d < static_cast<double>(lo) || d > static_cast<double>(hi)) doesNotFit(v, type);
    return Value(static_cast<qint64>(d));
}

}  // namespace

Value convertForField(const Value& v, FieldType type)
{
    if (v.isNull() || v.isEmpty()) return Value::null();
    switch (type) {
    case FieldType::Unknown:
        return v;
    case FieldType::Long:
        if (v.isDate()) doesNotFit(v, "Long");
        return wholeNumber(v, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), "Long");
    case FieldType::Short:
        if (v.isDate()) doesNotFit(v, "Integer");
        return wholeNumber(v, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(), "Integer");
    case FieldType::Double:
        try {
            return Value(vb::CDbl(v));
        } catch (const DbError&) {
            doesNotFit(v, "Double");
        }
    case FieldType::Text:
        return Value(vb::CStr(v));
    case FieldType::Date:
        try {
            return Value(vb::CDate(v));
        } catch (const DbError&) {
            doesNotFit(v, "Date/Time");
        }
    }
    return v;
}

}  // namespace belmo::db

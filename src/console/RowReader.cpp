#include "console/RowReader.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"

#include <cmath>

namespace belmo::console {

using namespace Qt::Literals::StringLiterals;

RowReader::RowReader(db::Recordset& rs) : rs_(rs) {}

bool RowReader::next()
{
    if (record_ > 0) {
        rs_.moveNext();
    } else {
        if (rs_.recordCount() == 0) return false;
        rs_.moveFirst();  // the grid has walked the records already
    }
    if (rs_.eof()) return false;
    ++record_;
    return true;
}

int RowReader::index(QStringView field)
{
    for (const auto& [name, i] : fields_)
        if (name == field) return i;
    const int i = rs_.fieldIndex(field.toString());
    fields_.emplace_back(field.toString(), i);
    return i;
}

void RowReader::problem(QStringView field, const db::Value& v, const QString& what)
{
    QString& text = problems_[record_];
    if (!text.isEmpty()) text += u"; "_s;
    text += u"%1 '%2' %3"_s.arg(field, vb::joined(v), what);
}

db::Value RowReader::value(QStringView field) { return rs_.value(index(field)); }

QString RowReader::text(QStringView field)
{
    const db::Value v = value(field);
    return v.isText() ? v.textValue() : vb::joined(v);
}

double RowReader::number(QStringView field)
{
    const db::Value v = value(field);
    switch (v.type()) {
    case db::Value::Type::Empty:
    case db::Value::Type::Null: return 0;
    case db::Value::Type::Bool:
    case db::Value::Type::Int: return vb::CDbl(v);
    case db::Value::Type::Double:
        if (std::isfinite(v.doubleValue())) return v.doubleValue();
        problem(field, v, u"is not a finite number"_s);
        return 0;
    case db::Value::Type::Text: {
        if (v.textValue().trimmed().isEmpty()) return 0;
        const std::optional<double> n = vb::parseNumber(v.textValue().trimmed());
        if (n && std::isfinite(*n)) return *n;
        break;
    }
    case db::Value::Type::Date: break;
    }
    problem(field, v, u"is not a number"_s);
    return 0;
}

db::Value RowReader::date(QStringView field)
{
    const db::Value v = value(field);
    if (v.isNull() || v.isEmpty() || v.isDate()) return v.isDate() ? v : db::Value::null();
    if (v.isText()) {
        if (v.textValue().trimmed().isEmpty()) return db::Value::null();
        if (const std::optional<QDateTime> d = vb::parseDate(v.textValue())) return db::Value(*d);
    }
    problem(field, v, u"is not a date"_s);
    return db::Value::null();
}

}  // namespace belmo::console

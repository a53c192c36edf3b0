#pragma once

#include <QDateTime>
#include <QString>

#include <variant>

namespace belmo::db {

// A field or expression value with the kinds a VB variant takes in this system.
// Empty is the value of a variable never assigned (it compares equal to 0 and "");
// Null is the database's missing value. Dates carry no time zone: they are the
// wall-clock date and time the package stored.
class Value {
public:
    enum class Type { Empty, Null, Bool, Int, Double, Text, Date };

    Value() = default;
    Value(bool b) : data_(b) {}
    Value(int i) : data_(static_cast<qint64>(i)) {}
    Value(qint64 i) : data_(i) {}
    Value(double d) : data_(d) {}
    Value(const QString& s) : data_(s) {}
    Value(const char* s) : data_(QString::fromUtf8(s)) {}
    Value(const QDateTime& dt);
    Value(const QDate& d);

    static Value null() { Value v; v.data_ = NullTag{}; return v; }

    Type type() const { return static_cast<Type>(data_.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isText() const { return type() == Type::Text; }
    bool isDate() const { return type() == Type::Date; }

    // Raw access; the caller has checked type(). Conversions with VB rules live in VbConvert.
    bool boolValue() const { return std::get<bool>(data_); }
    qint64 intValue() const { return std::get<qint64>(data_); }
    double doubleValue() const { return std::get<double>(data_); }
    const QString& textValue() const { return std::get<QString>(data_); }
    const QDateTime& dateValue() const { return std::get<QDateTime>(data_); }

    // Same kind and same content (for tests and change detection, not VB comparison).
    bool operator==(const Value& other) const { return data_ == other.data_; }

    // Debug form: kind and content, e.g. Text("abc"), Double(2.5), Null.
    QString debugString() const;

private:
    struct EmptyTag { bool operator==(const EmptyTag&) const { return true; } };
    struct NullTag { bool operator==(const NullTag&) const { return true; } };
    std::variant<EmptyTag, NullTag, bool, qint64, double, QString, QDateTime> data_;
};

}  // namespace belmo::db

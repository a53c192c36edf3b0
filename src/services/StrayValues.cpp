#include "services/StrayValues.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "db/VbConvert.h"

#include <cmath>

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

namespace {

using db::schema::Kind;

bool isNumber(Kind kind) { return kind == Kind::AutoNumber || kind == Kind::Long || kind == Kind::Short || kind == Kind::Double; }

// The condition that finds a stray value of one column cheaply in SQL; the value itself is
// judged again below, as the client reads it. Text and blobs sort above every number, so two
// comparisons find them and both infinities in a number column. A date the program stored
// reads back through SQLite's own date functions; only other texts need the dialect's.
QString strayCondition(const QString& column, Kind kind)
{
    if (isNumber(kind)) return u"(%1 > 1.7976931348623157e308 OR %1 < -1.7976931348623157e308)"_s.arg(column);
    return u"(typeof(%1)='blob' OR (typeof(%1)='text' AND NOT ((length(%1)=10 AND date(%1)=%1) OR "
           u"(length(%1)=19 AND datetime(%1)=%1)) AND ISDATE(%1)=0))"_s.arg(column);
}

// What is wrong with a value read from a column of this kind; empty when nothing is.
QString problemOf(const db::Value& v, Kind kind)
{
    if (isNumber(kind)) {
        if (v.isText()) return u"is not a number"_s;
        if (v.type() == db::Value::Type::Double && !std::isfinite(v.doubleValue())) return u"is not a finite number"_s;
        return {};
    }
    return v.isText() ? u"is not a date"_s : QString();
}

}  // namespace

QString StrayValue::describe() const { return u"%1: %2 '%3' %4"_s.arg(where, column, stored, problem); }

QList<StrayValue> findStrayValues(db::Connection& source, const StraySearch& search)
{
    const db::schema::Table* table = db::schema::findTable(db::schema::companyTables(), search.table);
    Q_ASSERT(table);
    // A server's number and date columns hold numbers and dates only; an infinite number is one
    // the server's own arithmetic can make and read back.
    if (source.file()->typedColumns()) return {};
    const QStringList present = source.columns(table->name);
    QList<const db::schema::Column*> checked;
    QStringList selected, conditions;
    for (const db::schema::Column& c : table->columns) {
        if (c.kind == Kind::Text || !present.contains(c.name, Qt::CaseInsensitive)) continue;
        if (!search.columns.isEmpty() && !search.columns.contains(c.name, Qt::CaseInsensitive)) continue;
        const QString column = table->name + u".["_s + c.name + u"]"_s;
        checked << &c;
        selected << column;
        conditions << strayCondition(column, c.kind);
    }
    if (checked.isEmpty()) return {};  // a table the file lacks: its step's own reading says so

    const QString locator = search.locator.isEmpty() ? u"'rowid ' & "_s + table->name + u".rowid"_s : search.locator;
    QStringList keys;
    for (const QString& key : search.keys) keys << key + u" AS StrayKey"_s + QString::number(keys.size());
    const QString sql = u"SELECT "_s + keys.join(u", "_s) + u", "_s + locator + u" AS StrayWhere, "_s + selected.join(u", "_s)
        + u" FROM "_s + (search.from.isEmpty() ? table->name : search.from) + u" WHERE "_s
        + (search.scope.isEmpty() ? QString() : u"("_s + search.scope + u") AND "_s) + u"("_s + conditions.join(u" OR "_s)
        + u")"_s;
    db::Recordset rs;
    rs.open(sql, source, db::CursorType::Static, db::LockType::ReadOnly);
    QList<StrayValue> found;
    const int first = int(keys.size()) + 1;  // keys, then the locator, then the columns
    for (; !rs.eof(); rs.moveNext()) {
        for (int i = 0; i < checked.size(); ++i) {
            const db::Value v = rs.value(first + i);
            const QString problem = problemOf(v, checked[i]->kind);
            if (problem.isEmpty()) continue;
            for (int k = 0; k < keys.size(); ++k) {
                if (rs.value(k).isNull()) continue;
                found.append({vb::joined(rs.value(k)), u"%1 %2"_s.arg(table->name, vb::joined(rs.value(first - 1))),
                              checked[i]->name, vb::joined(v), problem});
            }
        }
    }
    return found;
}

}  // namespace belmo::services

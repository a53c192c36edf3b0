#include "transfers/definitions/AddIfMissingStep.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;

AddIfMissingStep::AddIfMissingStep(console::StepHost& host, console::StepId id, const QString& caption, QString table,
                                   QList<console::Message> completion)
    : PreviewStep(host, id, {caption}), table_(std::move(table)), completion_(std::move(completion))
{
}

void AddIfMissingStep::Basla()
{
    transfer({.writes = {table_}, .completion = completion_}, [this](console::Transfer& t) {
        for (const int row : tickedRows()) t.row(rowLabel(row), [&] { carry(t.target(), row); });
    });
}

void AddIfMissingStep::carry(db::Connection& target, int row) const
{
    const db::Query find = lookup(row);
    for (const db::Value& key : find.values)
        if (key.isNull())
            throw db::DbError(db::err::Syntax, u"The row's key is Null."_s, db::DbError::Kind::Field, {}, u"anahtarı boş"_s);
    db::Recordset record;
    record.open(find, target, CursorType::Dynamic, LockType::Optimistic);
    if (!record.eof()) return;  // the target has it
    record.addNew();
    fill(record, row);
    record.update();
}

void assignUnlessNull(db::Recordset& record, const QString& column, const db::Value& value)
{
    if (!value.isNull()) assign(record, column, value);
}

}  // namespace belmo::transfers

#include "transfers/definitions/AddIfMissingStep.h"

#include "db/Connection.h"
#include "db/Recordset.h"

namespace belmo::transfers {

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
        for (const int row : tickedRows()) t.row(label(row), [&] { carry(t.target(), row); });
    });
}

void AddIfMissingStep::carry(db::Connection& target, int row) const
{
    db::Recordset record;
    record.open(lookup(row), target, CursorType::Dynamic, LockType::Optimistic);
    if (!record.eof()) return;  // the target has it
    record.addNew();
    fill(record, row);
    record.update();
}

QString mainAccountOf(const QString& text) { return text.left(3).trimmed(); }

}  // namespace belmo::transfers

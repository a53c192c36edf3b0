#include "transfers/definitions/AddIfMissingStep.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "services/Errors.h"

namespace belmo::transfers {

using db::CursorType;
using db::LockType;
using services::skip;

AddIfMissingStep::AddIfMissingStep(console::StepHost& host, console::StepId id, const QString& caption,
                                   QList<Message> completion)
    : PreviewStep(host, id, {caption}), completion_(std::move(completion))
{
}

void AddIfMissingStep::Basla()
{
    db::Connection target(session().pool());
    target.open(session().HedefBag);  // a target that does not open is reported and ends the step
    {
        db::TransactionScope transaction(target);
        db::Recordset record;
        for (const int row : tickedRows()) {
            if (record.isOpen()) skip([&] { record.close(); });
            bool present = true;  // a row that cannot be looked up is not carried
            skip([&] {
                record.open(lookup(row), target, CursorType::Dynamic, LockType::Optimistic);
                present = !record.eof();
            });
            if (!present) add(record, row);
        }
        if (record.isOpen()) skip([&] { record.close(); });
        transaction.commit();
    }
    for (const Message& m : completion_) session().dialogs().message(m.text, m.title, m.icon);
    finished();
}

void AddIfMissingStep::add(db::Recordset& record, int row) const
{
    bool adding = false;
    skip([&] {
        record.addNew();
        adding = true;
    });
    if (!adding) return;
    fill(record, row);
    saveOrDrop(record);
}

QString mainAccountOf(const QString& text) { return text.left(3).trimmed(); }

}  // namespace belmo::transfers

#include "transfers/transport/TransportStep.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "services/Dialogs.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;

TransportStep::TransportStep(console::StepHost& host, console::StepId id, TransportPlan plan)
    : PreviewStep(host, id, {.caption = plan.caption, .exitShowsMenu = true, .loaderCallsCounter = true}),
      plan_(std::move(plan))
{
    frame.progress.append(&bar);
    frame.buttonsOnTop = true;
    if (plan_.fixedTicks) {
        grid.onClick = [this] { HESAPLA(); };
        // The box stays ticked, as every row does.
        tumunuSec.onChange = [this] { tumunuSec.setValue(1); };
    }
}

db::Recordset TransportStep::sourceById(db::Connection& source, const QString& table, qint64 id, const QString& more) const
{
    db::Recordset rs;
    rs.open(u"Select * from "_s + table + u" where ID=?"_s + more, source, CursorType::Static, LockType::ReadOnly,
            {db::Value(id)});
    requireRecord(rs);
    return rs;
}

void TransportStep::Basla()
{
    if (replaces() && !session().dialogs().ask(plan_.warning + u"\rDevam edilsin mi?"_s)) return;
    transfer({.writes = {plan_.table}, .completion = {plan_.completion}}, [this](console::Transfer& t) {
        db::Recordset emptied;
        if (replaces()) {
            emptied.open(u"Select * from "_s + plan_.table, t.target(), CursorType::Dynamic, LockType::Optimistic);
            deleteAll(emptied);
        }
        const QList<int> rows = tickedRows();
        bar.setMax(int(rows.size()));
        bar.setValue(0);
        for (const int r : rows) {
            if (!rowKey(r).isEmpty())
                t.row(rowLabel(r), [&] { carry(t, replaces() ? &emptied : nullptr, r); });
            bar.setValue(bar.value() + 1);
        }
    });
}

void copyColumns(db::Recordset& to, db::Recordset& from, const QStringList& columns)
{
    for (const QString& column : columns) copy(to, from, column);
}

}  // namespace belmo::transfers

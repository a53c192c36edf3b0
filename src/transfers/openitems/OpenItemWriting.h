#pragma once

#include "console/StepFrame.h"
#include "db/Connection.h"
#include "db/Value.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace belmo::db {
class Recordset;
}
namespace belmo::services {
class Dialogs;
}

// What the cheque, order and instalment steps share when they write the target: a grid row
// carried whole or not at all, rows copied onto a new header, and the question before
// marking the target's earlier rows deleted.
namespace belmo::transfers {

// One ticked grid row as one row of the transfer, with every record it writes or none: a
// statement that fails on its own undoes what the row had written, the row is listed in the
// warning after the completion message and the step goes on.
template <typename Work>
bool carryWhole(console::Transfer& t, const QString& label, Work&& work)
{
    return t.row(label, [&] {
        db::TransactionScope whole(t.target());
        work();
        whole.commit();
    });
}

// A column and the value it takes.
using Fixed = QList<std::pair<QString, db::Value>>;

// The rows of the source a linked row is copied from: a condition with '?' and the values
// bound to them.
struct Where {
    QString condition;
    QList<db::Value> values;
};
// The rows of a source header.
inline Where ofHeader(const db::Value& kayitNo) { return {QStringLiteral("Kayit_No=?"), {kayitNo}}; }

// Adds a row to `table` of the target under the new header number `header`: `columns` are
// copied from the first row of the same table in the source that meets `where`, the `fixed`
// columns take their values. A column that does not fit is left out; a source without such
// a row gives a row with the header number and the fixed values alone. A row that cannot be
// saved fails the grid row.
void copyLinkedRow(console::Transfer& t, const QString& table, const Where& where, const db::Value& header,
                   const QStringList& columns, const Fixed& fixed);

// Before writing into a target that holds rows already: when `existing` finds rows in the
// target, asks `question` (Yes/No, no title). No ends the step with nothing written; Yes runs
// `markDeleted`, whose failure stops the step (the old rows must not stay live beside the
// new ones).
void askToMarkDeleted(console::Transfer& t, services::Dialogs& dialogs, const QString& existing, const QString& question,
                      const QString& markDeleted);

// The main account in a header's side is one of `accounts` (a Null side is none of them).
bool mainAccountIn(const db::Value& mainAccount, std::initializer_list<int> accounts);


}  // namespace belmo::transfers

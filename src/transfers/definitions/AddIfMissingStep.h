#pragma once

#include "console/PreviewStep.h"
#include "services/Dialogs.h"
#include "transfers/RecordWriting.h"

#include <QList>
#include <QString>

namespace belmo::db {
class Recordset;
}

namespace belmo::transfers {

// The definition steps that add what the target lacks and leave alone what it has:
// transaction definitions, document types, groups, warehouses and accounting accounts.
//
// "Başla" looks every ticked row up in the target with the step's statement. A row the
// target already holds is left as it is; a missing one is added from the row's cells. Once
// the target is open, a statement that fails costs only its own row (a lookup that fails
// leaves the row out, a value that does not fit leaves that column at the table's default,
// a record that cannot be saved is dropped) and the loop goes on. The completion messages
// follow in every case that reaches the end of the loop; the done mark and, in the wizard,
// the next step come after them.
class AddIfMissingStep : public console::PreviewStep {
public:
    struct Message {
        QString text;
        QString title;  // empty: the box carries no title of its own
        services::Dialogs::Icon icon = services::Dialogs::Icon::None;
    };

protected:
    AddIfMissingStep(console::StepHost& host, console::StepId id, const QString& caption, QList<Message> completion);

    // The statement that finds the row's record in the target. Values from the cells go in
    // through db::jet::quoted or db::jet::numeric, so a cell can never change the statement.
    virtual QString lookup(int row) const = 0;
    // The columns of a new record, each assigned through assign() (RecordWriting.h) so that
    // one that fails leaves only that column out.
    virtual void fill(db::Recordset& record, int row) const = 0;
    QString cell(int row, int col) const { return grid.text(row, col); }

    void Basla() final;

private:
    void add(db::Recordset& record, int row) const;

    QList<Message> completion_;
};

// The main account of a "code   name" cell: its first three characters, trimmed.
QString mainAccountOf(const QString& text);

}  // namespace belmo::transfers

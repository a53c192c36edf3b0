#pragma once

#include "console/PreviewStep.h"
#include "db/VbConvert.h"
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
// target already holds is left as it is; a missing one is added from the row's fields. A
// statement that fails costs only its own row (a lookup that fails or a record that cannot
// be saved leaves the row out and lists it, a value that does not fit leaves that column
// at the table's default) and the loop goes on. The completion messages, the done mark and,
// in the wizard, the next step follow.
class AddIfMissingStep : public console::PreviewStep {
protected:
    AddIfMissingStep(console::StepHost& host, console::StepId id, const QString& caption, QString table,
                     QList<console::Message> completion);

    // The statement that finds the row's record in the target, the row's key values bound
    // to it. A row whose key is Null is not carried: it would find nothing, and be added
    // again on every run.
    virtual db::Query lookup(int row) const = 0;
    // The columns of a new record, each assigned through assign() (RecordWriting.h) so that
    // one that fails leaves only that column out.
    virtual void fill(db::Recordset& record, int row) const = 0;

    void Basla() final;

private:
    void carry(db::Connection& target, int row) const;

    QString table_;
    QList<console::Message> completion_;
};

// A source value into a number column, as assign() does; a Null leaves the column at the
// table's default, as a value that does not fit does.
void assignUnlessNull(db::Recordset& record, const QString& column, const db::Value& value);

}  // namespace belmo::transfers

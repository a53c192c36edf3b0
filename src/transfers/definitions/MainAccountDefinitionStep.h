#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// The definitions kept by a code under a main account, groups and warehouses: the same code
// under two main accounts is two definitions, and one marked deleted in the target does not
// count as present. Their grids share the shape: column 2 the code, column 3 the name,
// column 4 the main account's code and name joined by three blanks. The loader's statement
// selects the main account itself after them, as HamAnaHs, not shown.
class MainAccountDefinitionStep : public AddIfMissingStep {
protected:
    struct Columns {
        QString table;  // Gruplar, Depo
        QString code;   // Grup, Depo_Kodu
        QString name;   // Grupadi, Depo_Adi
    };
    MainAccountDefinitionStep(console::StepHost& host, console::StepId id, const QString& caption,
                              const QString& completion, Columns columns);

    void readRows(console::RowReader& reader) override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;
    QString rowLabel(int row) const override { return rows_[row].code + u' ' + rows_[row].name; }
    QList<services::StraySearch> straySearches() override { return {{columns_.table, QStringList{columns_.code}}}; }
    QString rowKey(int row) const override { return rows_[row].code; }

private:
    struct Row {
        QString code;
        QString name;
        db::Value mainAccount;  // Ana_Hs
    };
    Columns columns_;
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

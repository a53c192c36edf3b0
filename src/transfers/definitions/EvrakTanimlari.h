#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "Evrak Tanımları": the document types (Evrak_Turu) the target lacks, by code.
class EvrakTanimlari : public AddIfMissingStep {
public:
    explicit EvrakTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QList<services::StraySearch> straySearches() override { return {{QStringLiteral("Evrak_Turu"), QStringList{QStringLiteral("Evrak_Kodu")}}}; }
    QString rowKey(int row) const override { return vb::joined(rows_[row].code); }
    QString rowLabel(int row) const override { return rowKey(row) + u' ' + rows_[row].name; }
    console::GridLayout layout() const override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;

private:
    struct Row {
        db::Value code;  // Evrak_Kodu
        QString name;    // Aciklama
    };
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

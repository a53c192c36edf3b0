#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "İşlem Tanımları": the transaction definitions (islem) the target lacks, by code.
class IslemTanimlari : public AddIfMissingStep {
public:
    explicit IslemTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QList<services::StraySearch> straySearches() override { return {{QStringLiteral("islem"), QStringList{QStringLiteral("islem_Kod")}}}; }
    QString rowKey(int row) const override { return vb::joined(rows_[row].code); }
    QString rowLabel(int row) const override { return rowKey(row) + u' ' + rows_[row].name; }
    console::GridLayout layout() const override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;

private:
    // A transaction definition as the source holds it.
    struct Row {
        db::Value code;          // islem_Kod
        QString name;            // islem
        db::Value debit;         // B_Ana_Hs
        db::Value credit;        // A_Ana_Hs
        QString accountType;     // Hesap_Tur
        QString message1;        // Msj1
        QString message2;        // Msj2
        db::Value documentType;  // the code of its document type; Null when it has none
    };
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

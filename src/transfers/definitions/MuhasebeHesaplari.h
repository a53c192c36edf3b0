#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "Muhasebe Belmoleri": the accounting accounts (Diger_Hs) the target lacks, by main account,
// group code and account code, carried without balances.
class MuhasebeHesaplari : public AddIfMissingStep {
public:
    explicit MuhasebeHesaplari(console::StepHost& host);

protected:
    db::Query query() override;
    // A ledger account is known by its main account, group and code together.
    QList<services::StraySearch> straySearches() override
    {
        return {{QStringLiteral("Diger_Hs"), QStringList{QStringLiteral("Ana_Hs & '|' & Grup_Kodu & '|' & Hesap_Kodu")}}};
    }
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override
    {
        return vb::joined(rows_[row].mainAccount) + u'|' + rows_[row].group + u'|' + rows_[row].code;
    }
    QString rowLabel(int row) const override
    {
        return vb::joined(rows_[row].mainAccount) + u'.' + rows_[row].group + u'.' + rows_[row].code + u' ' +
               rows_[row].name;
    }
    console::GridLayout layout() const override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;

private:
    struct Row {
        db::Value mainAccount;  // Ana_Hs
        QString group;          // Grup_Kodu
        QString code;           // Hesap_Kodu
        QString name;           // Hesap_Adi
        QString type;           // Hesap_Tur
    };
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

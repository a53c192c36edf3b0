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
    QString rowKey(int row) const override { return cell(row, 1) + u'|' + cell(row, 2) + u'|' + cell(row, 3); }
    console::GridLayout layout() const override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;
    QString label(int row) const override
    {
        return cell(row, 1) + u'.' + cell(row, 2) + u'.' + cell(row, 3) + u' ' + cell(row, 4);
    }
};

}  // namespace belmo::transfers

#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "Muhasebe Belmoleri": the accounting accounts (Diger_Hs) the target lacks, by main account,
// group code and account code, carried without balances.
class MuhasebeHesaplari : public AddIfMissingStep {
public:
    explicit MuhasebeHesaplari(console::StepHost& host);

protected:
    QString query() override;
    console::GridLayout layout() const override;
    QString lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;
    QString label(int row) const override
    {
        return cell(row, 1) + u'.' + cell(row, 2) + u'.' + cell(row, 3) + u' ' + cell(row, 4);
    }
};

}  // namespace belmo::transfers

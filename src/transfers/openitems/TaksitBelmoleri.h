#pragma once

#include "console/PreviewStep.h"

namespace belmo::transfers {

// "Taksit Belmoleri": the live instalments (in TL, USD and EURO) that fall due from 1 January
// after the source's period on. "Başla" offers to mark every instalment of the target
// deleted, then copies each ticked instalment as a new row, keeping its invoice number and
// the source's header number as they are. In the wizard it follows the accounting accounts
// and is followed by the salespeople.
class TaksitBelmoleri : public console::PreviewStep {
public:
    explicit TaksitBelmoleri(console::StepHost& host);

protected:
    db::Query query() override;                     // TFILTRELE
    QList<services::StraySearch> straySearches() override
    {
        return {{QStringLiteral("Taksit_H"), QStringList{QStringLiteral("ID")}, {}, QStringLiteral("Sil=0")}};
    }
    console::GridLayout layout() const override;  // GRD11DZN
    void Basla() override;

private:
    void carry(console::Transfer& t, int row);
};

}  // namespace belmo::transfers

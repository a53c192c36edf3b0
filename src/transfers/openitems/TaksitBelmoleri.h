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
    void readRows(console::RowReader& reader) override;
    QList<services::StraySearch> straySearches() override
    {
        return {{QStringLiteral("Taksit_H"), QStringList{QStringLiteral("ID")}, {}, QStringLiteral("Sil=0")}};
    }
    QString rowKey(int row) const override;
    QString rowLabel(int row) const override;
    void list(services::Listing& listing) const override;
    console::GridLayout layout() const override;  // GRD11DZN
    void Basla() override;

private:
    // An instalment, named as the user knows it: its invoice, its number and its due date.
    struct Row {
        db::Value id;      // ID
        QString invoice;   // Evrak_No
        double number;     // Taksit_Sayisi
        db::Value due;     // Vade_Tarihi
    };
    void carry(console::Transfer& t, const db::Value& id);

    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

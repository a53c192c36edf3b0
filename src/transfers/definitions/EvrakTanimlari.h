#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "Evrak Tanımları": the document types (Evrak_Turu) the target lacks, by code.
class EvrakTanimlari : public AddIfMissingStep {
public:
    explicit EvrakTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    QList<services::StraySearch> straySearches() override { return {{QStringLiteral("Evrak_Turu"), QStringList{QStringLiteral("Evrak_Kodu")}}}; }
    console::GridLayout layout() const override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;
};

}  // namespace belmo::transfers

#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "İşlem Tanımları": the transaction definitions (islem) the target lacks, by code.
class IslemTanimlari : public AddIfMissingStep {
public:
    explicit IslemTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    QList<services::StraySearch> straySearches() override { return {{QStringLiteral("islem"), QStringList{QStringLiteral("islem_Kod")}}}; }
    console::GridLayout layout() const override;
    db::Query lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;
};

}  // namespace belmo::transfers

#pragma once

#include "transfers/definitions/AddIfMissingStep.h"

namespace belmo::transfers {

// "Evrak Tanımları": the document types (Evrak_Turu) the target lacks, by code.
class EvrakTanimlari : public AddIfMissingStep {
public:
    explicit EvrakTanimlari(console::StepHost& host);

protected:
    QString query() override;
    console::GridLayout layout() const override;
    QString lookup(int row) const override;
    void fill(db::Recordset& record, int row) const override;
};

}  // namespace belmo::transfers

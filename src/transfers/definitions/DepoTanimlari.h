#pragma once

#include "transfers/definitions/MainAccountDefinitionStep.h"

namespace belmo::transfers {

// "Depo Tanımları": the live warehouses (Depo) the target lacks.
class DepoTanimlari : public MainAccountDefinitionStep {
public:
    explicit DepoTanimlari(console::StepHost& host);

protected:
    QString query() override;
    console::GridLayout layout() const override;
};

}  // namespace belmo::transfers

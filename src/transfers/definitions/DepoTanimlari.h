#pragma once

#include "transfers/definitions/MainAccountDefinitionStep.h"

namespace belmo::transfers {

// "Depo Tanımları": the live warehouses (Depo) the target lacks.
class DepoTanimlari : public MainAccountDefinitionStep {
public:
    explicit DepoTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    console::GridLayout layout() const override;
};

}  // namespace belmo::transfers

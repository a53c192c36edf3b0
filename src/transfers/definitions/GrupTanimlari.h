#pragma once

#include "transfers/definitions/MainAccountDefinitionStep.h"

namespace belmo::transfers {

// "Grup Tanımları": the live account and stock groups (Gruplar) the target lacks.
class GrupTanimlari : public MainAccountDefinitionStep {
public:
    explicit GrupTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    console::GridLayout layout() const override;
};

}  // namespace belmo::transfers

#pragma once

#include "console/Step.h"

namespace belmo::transfers {

// "Şablonları Aktar": after one question, the target's print template designs (Dzyn) are
// deleted and the source's copied in their place. No panel.
class Sablonlar : public console::Step {
public:
    explicit Sablonlar(console::StepHost& host);
    void menuAction() override;
};

}  // namespace belmo::transfers

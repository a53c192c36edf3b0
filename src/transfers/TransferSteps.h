#pragma once

#include "console/StepCatalogue.h"

namespace belmo::transfers {

// The transfer steps that are built, for the console's menu and wizard.
console::StepRegistry transferSteps();

}  // namespace belmo::transfers

#include "transfers/TransferSteps.h"

namespace belmo::transfers {

console::StepRegistry transferSteps()
{
    console::StepRegistry steps;
    // Each step registers here with its id: steps.add(StepId::..., [](StepHost& host) {...});
    return steps;
}

}  // namespace belmo::transfers

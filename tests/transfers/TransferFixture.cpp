#include "TransferFixture.h"

#include "transfers/TransferSteps.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

TransferTest::TransferTest() : t(transfers::transferSteps())
{
    c = &t.logIn();
    target_.open(t.company.connectionString(u"HEDEF"_s));
}

console::PreviewStep& TransferTest::preview(console::StepId id)
{
    auto* step = dynamic_cast<console::PreviewStep*>(c->step(id));
    if (!step) throw std::logic_error("not a step with a panel");
    return *step;
}

console::PreviewStep& TransferTest::open(console::StepId id)
{
    press(id);
    console::PreviewStep& step = preview(id);
    EXPECT_EQ(c->panels.front(), &step.frame);
    return step;
}

}  // namespace belmo::test

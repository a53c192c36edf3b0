#include "TransferFixture.h"

#include "transfers/TransferSteps.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

TransferTest::TransferTest() : t(transfers::transferSteps(), haveTestServer() ? engine() : Engine::File)
{
    c = &t.logIn();
    target_.open(t.company.connectionString(u"HEDEF"_s));
}

void TransferTest::SetUp()
{
    if (engine() == Engine::Server && !haveTestServer()) GTEST_SKIP() << "no test server (run through ctest)";
}

Engine TransferTest::engine()
{
    const bool parameterised = ::testing::UnitTest::GetInstance()->current_test_info()->value_param() != nullptr;
    return parameterised ? GetParam() : Engine::File;
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

QList<QStringList> gridRows(const console::PreviewStep& step, int firstCol, int lastCol)
{
    if (lastCol < 0) lastCol = step.grid.cols() - 1;
    QList<QStringList> out;
    for (int r = 1; r < step.grid.rows(); ++r) {
        QStringList row;
        for (int c = firstCol; c <= lastCol; ++c) row << step.grid.text(r, c);
        out << row;
    }
    return out;
}

int rowWith(const console::PreviewStep& step, int col, const QString& text)
{
    for (int r = 1; r < step.grid.rows(); ++r)
        if (step.grid.text(r, col) == text) return r;
    return -1;
}

}  // namespace belmo::test

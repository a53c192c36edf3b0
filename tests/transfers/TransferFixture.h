#pragma once

#include "support/TestProgram.h"

#include "console/BELMO.h"
#include "console/PreviewStep.h"

#include <gtest/gtest.h>

namespace belmo::test {

// The program logged in from KAYNAK (source) to HEDEF (target) with the transfer steps on
// its console, pressed as a user presses them. A test of TEST_P runs on the engine of its
// parameter (on files when no test server was started, and skips); TEST_F runs on files.
class TransferTest : public ::testing::TestWithParam<Engine> {
protected:
    TransferTest();
    void SetUp() override;
    static Engine engine();

    db::Connection& source() { return t.company.connection(); }
    db::Connection& target() { return target_; }
    void put(db::Connection& con, const QString& table, std::initializer_list<std::pair<const char*, Value>> columns)
    {
        t.company.insert(con, table, columns);
    }
    QList<QStringList> rows(db::Connection& con, const QString& sql) { return t.company.rows(con, sql); }

    // The step's menu button.
    void press(console::StepId id) { c->entry(id).button.click(); }
    // The step's menu button; its panel must come to the front.
    console::PreviewStep& open(console::StepId id);
    console::PreviewStep& preview(console::StepId id);
    // "Başla" on the step's panel.
    void start(console::StepId id) { preview(id).basla.click(); }
    bool done(console::StepId id) { return c->entry(id).done.visible(); }

    TestProgram t;
    console::BELMO* c = nullptr;

private:
    db::Connection target_{t.company.pool()};
};

// The parameters of a fixture whose tests run on both engines.
inline auto bothEngines() { return ::testing::Values(Engine::File, Engine::Server); }

// Grid rows as the user reads them, from column firstCol to lastCol (-1: the last one).
QList<QStringList> gridRows(const console::PreviewStep& step, int firstCol = 1, int lastCol = -1);
// The grid row whose column holds the text; -1 when none does.
int rowWith(const console::PreviewStep& step, int col, const QString& text);

}  // namespace belmo::test

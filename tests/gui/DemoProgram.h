#pragma once

#include "support/ScriptedDialogs.h"

#include "console/Program.h"

#include <QTemporaryDir>

class QPushButton;
class QWidget;

namespace belmo::test {

// The push button of a window with this caption that the user can see (step panels behind
// the menu have their own "Çıkış"); null when none.
QPushButton* buttonCalled(const QWidget* window, const QString& caption);

// The program started on a fresh demo folder (users ADMIN/admin and MUHASEBE/1234, source
// DEMO2025, target DEMO2026), talking to the user through scripted dialogs.
class DemoProgram {
public:
    explicit DemoProgram(console::StepRegistry steps = {});

    ScriptedDialogs dialogs;
    console::Program program;

    // The user name as if typed and left, with the companies picked from the lists.
    void fillLogin();
    // fillLogin, the password and "Onayla": the console is open.
    console::BELMO& logIn();

private:
    QTemporaryDir dir_;
};

}  // namespace belmo::test

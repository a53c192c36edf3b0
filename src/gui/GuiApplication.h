#pragma once

#include <QString>

namespace belmo::gui {

// Runs the program with its windows: the login window in the program folder, then the
// console. Returns the process exit code. Needs a QApplication to exist.
int runGui(const QString& programFolder);

}  // namespace belmo::gui

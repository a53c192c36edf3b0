#pragma once

#include <QString>

namespace belmo::gui {

// Runs the program with its windows: the login window in the program folder, then the
// console. Returns the process exit code. Needs a QApplication to exist.
int runGui(const QString& programFolder);

// The toolkit's own texts (standard buttons, the details button of a message, the file
// dialog, the context menus of the edit boxes) in Turkish, and Turkish as the default locale
// of its dialogs. Without the translation the windows go on in English, with a warning on
// stderr. Needs the QApplication, which keeps the translator; true when it was loaded.
bool useTurkish();

}  // namespace belmo::gui

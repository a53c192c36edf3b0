#include "gui/GuiApplication.h"

#include "console/Program.h"
#include "gui/ConsoleView.h"
#include "gui/LoginView.h"
#include "gui/QtDialogs.h"
#include "transfers/TransferSteps.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace belmo::gui {

namespace {

// Keeps the windows on screen in step with the program's window models: the login view
// while the login window is visible, a console view for the open console, and the end of
// the event loop once no window is left.
class ProgramWindows {
public:
    explicit ProgramWindows(console::Program& program) : program_(program), login_(program.login())
    {
        program_.onWindowsChanged = [this] { windowsChanged(); };
        program_.onConsoleOpened = [this] { consoleOpened(); };
    }
    ~ProgramWindows()
    {
        program_.onWindowsChanged = nullptr;
        program_.onConsoleOpened = nullptr;
        delete console_;
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

private:
    void windowsChanged()
    {
        if (program_.login().visible()) {
            login_.show();
            login_.raise();
            login_.activateWindow();
        } else {
            login_.hide();
        }
        if (console_ && program_.console() != shownConsole_) retireConsoleView();
        // The login closes itself before it opens the console: look once the handler that
        // changed the windows has finished.
        QTimer::singleShot(0, &login_, [this] {
            if (!program_.running()) QApplication::quit();
        });
    }

    void consoleOpened()
    {
        retireConsoleView();
        shownConsole_ = program_.console();
        console_ = new ConsoleView(*shownConsole_);
        console_->show();
        console_->activateWindow();
    }

    // Hidden, not closed: closing the view would close its console model.
    void retireConsoleView()
    {
        if (!console_) return;
        console_->hide();
        console_->deleteLater();
        console_ = nullptr;
        shownConsole_ = nullptr;
    }

    console::Program& program_;
    LoginView login_;
    QPointer<ConsoleView> console_;
    console::BELMO* shownConsole_ = nullptr;
};

}  // namespace

int runGui(const QString& programFolder)
{
    // The models say when the program ends, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QtDialogs dialogs;
    console::Program program(dialogs, transfers::transferSteps());
    ProgramWindows windows(program);
    if (!program.start(programFolder)) return 1;
    if (!program.running()) return 0;
    return QApplication::exec();
}

}  // namespace belmo::gui

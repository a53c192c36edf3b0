#include "gui/GuiApplication.h"

#include "console/Program.h"
#include "gui/ConsoleView.h"
#include "gui/LoginView.h"
#include "gui/QtDialogs.h"
#include "gui/TransportView.h"
#include "proof/PreRunCheck.h"
#include "transfers/TransferSteps.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace belmo::gui {

namespace {

// Keeps the windows on screen in step with the program's window models: the login view
// while the login window is visible, a console view for the open console, a transport view
// for the open transport window, and the end of the event loop once no window is left.
class ProgramWindows {
public:
    explicit ProgramWindows(console::Program& program) : program_(program), login_(program.login())
    {
        program_.onWindowsChanged = [this] { windowsChanged(); };
        program_.onConsoleOpened = [this] { consoleOpened(); };
        program_.onTransportOpened = [this] { transportOpened(); };
    }
    ~ProgramWindows()
    {
        program_.onWindowsChanged = nullptr;
        program_.onConsoleOpened = nullptr;
        program_.onTransportOpened = nullptr;
        delete console_;
        delete transport_;
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
        if (console_ && program_.console() != shownConsole_) retire(console_, shownConsole_);
        if (transport_ && program_.transport() != shownTransport_) retire(transport_, shownTransport_);
        // The login closes itself before it opens the console: look once the handler that
        // changed the windows has finished.
        QTimer::singleShot(0, &login_, [this] {
            if (!program_.running()) QApplication::quit();
        });
    }

    void consoleOpened()
    {
        retire(console_, shownConsole_);
        shownConsole_ = program_.console();
        console_ = new ConsoleView(*shownConsole_);
        if (transport_) console_->move(transport_->pos());  // back from the transport window
        console_->show();
        console_->activateWindow();
    }

    // The transport window takes the console's place on the screen, at its left and top.
    void transportOpened()
    {
        retire(transport_, shownTransport_);
        auto* window = dynamic_cast<transfers::NAKLIYAT*>(program_.transport());
        if (!window) return;
        shownTransport_ = window;
        transport_ = new TransportView(*window);
        if (console_) transport_->move(console_->pos());
        transport_->show();
        transport_->activateWindow();
    }

    // Hidden, not closed: closing the view would close its window model.
    template <class View, class Model>
    static void retire(QPointer<View>& view, Model*& shown)
    {
        if (!view) return;
        view->hide();
        view->deleteLater();
        view = nullptr;
        shown = nullptr;
    }

    console::Program& program_;
    LoginView login_;
    QPointer<ConsoleView> console_;
    console::BELMO* shownConsole_ = nullptr;
    QPointer<TransportView> transport_;
    transfers::NAKLIYAT* shownTransport_ = nullptr;
};

}  // namespace

int runGui(const QString& programFolder)
{
    // The models say when the program ends, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QtDialogs dialogs;
    console::Program program(dialogs, transfers::transferSteps());
    ProgramWindows windows(program);
    proof::checkWhenConsoleOpens(program);
    if (!program.start(programFolder)) return 1;
    if (!program.running()) return 0;
    return QApplication::exec();
}

}  // namespace belmo::gui

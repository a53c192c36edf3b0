#pragma once

#include "app/GIRIS.h"
#include "app/Session.h"
#include "console/BELMO.h"
#include "console/StepCatalogue.h"
#include "console/Window.h"
#include "db/Connection.h"

#include <functional>
#include <memory>

namespace belmo::services {
class Dialogs;
}

namespace belmo::console {

// The running program: the run values, the login window, the console it opens and the
// transport window that takes the console's place. The Qt application and the headless
// runner drive the same Program; the program ends when no window is left open.
class Program {
public:
    Program(services::Dialogs& dialogs, StepRegistry steps);
    ~Program();

    app::Session& session() { return session_; }
    app::GIRIS& login() { return login_; }
    BELMO* console() { return console_ && !console_->closed() ? console_.get() : nullptr; }
    Window* transport() { return transport_ && !transport_->closed() ? transport_.get() : nullptr; }

    // Start-up of the login window in the program folder; false when it closed at once.
    bool start(const QString& programFolder);
    bool running() const;

    // For the views: a console was opened (it is console()), the transport window was
    // opened (it is transport(); the console closes right after), or a window came or went.
    std::function<void()> onConsoleOpened;
    std::function<void()> onTransportOpened;
    std::function<void()> onWindowsChanged;
    // Told at the login's first write into the target, with the backup made before it (empty
    // in a rehearsal); the open console shows it itself.
    std::function<void(const QString& backup)> onFirstWrite;
    // The login has opened the console (told once; a console back from the transport window
    // is not told again).
    std::function<void()> onLoggedIn;

private:
    void openConsole();
    void openTransport();

    db::ConnectionPool pool_;
    app::Session session_;
    app::GIRIS login_;
    StepRegistry steps_;
    std::unique_ptr<BELMO> console_;
    std::unique_ptr<BELMO> retired_;  // a closed console lives until the next one opens
    std::unique_ptr<Window> transport_;
    std::unique_ptr<Window> retiredTransport_;  // likewise a closed transport window
};

}  // namespace belmo::console

#pragma once

#include "app/GIRIS.h"
#include "app/Session.h"
#include "console/BELMO.h"
#include "console/StepCatalogue.h"
#include "db/Connection.h"

#include <functional>
#include <memory>

namespace belmo::services {
class Dialogs;
}

namespace belmo::console {

// The running program: the run values, the login window and the console it opens. The Qt
// application and the headless runner drive the same Program; the program ends when no
// window is left open.
class Program {
public:
    Program(services::Dialogs& dialogs, StepRegistry steps);
    ~Program();

    app::Session& session() { return session_; }
    app::GIRIS& login() { return login_; }
    BELMO* console() { return console_ && !console_->closed() ? console_.get() : nullptr; }

    // Start-up of the login window in the program folder; false when it closed at once.
    bool start(const QString& programFolder);
    bool running() const;

    // For the views: a console was opened (it is console()), or a window came or went.
    std::function<void()> onConsoleOpened;
    std::function<void()> onWindowsChanged;

private:
    void openConsole();

    db::ConnectionPool pool_;
    app::Session session_;
    app::GIRIS login_;
    StepRegistry steps_;
    std::unique_ptr<BELMO> console_;
    std::unique_ptr<BELMO> retired_;  // a closed console lives until the next one opens
};

}  // namespace belmo::console

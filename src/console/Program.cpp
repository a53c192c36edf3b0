#include "console/Program.h"

namespace belmo::console {

Program::Program(services::Dialogs& dialogs, StepRegistry steps)
    : session_(pool_, dialogs), login_(session_), steps_(std::move(steps))
{
    login_.onOpenConsole = [this] {
        openConsole();
        if (onLoggedIn) onLoggedIn();
    };
    session_.onFirstWrite = [this](const QString& backup) {
        if (BELMO* c = console()) c->backupMade(backup);
        if (onFirstWrite) onFirstWrite(backup);
    };
    login_.onVisibility = [this] {
        if (onWindowsChanged) onWindowsChanged();
    };
}

Program::~Program() = default;

bool Program::start(const QString& programFolder)
{
    return login_.startUp(programFolder);
}

bool Program::running() const
{
    return login_.visible() || (console_ && !console_->closed()) || (transport_ && !transport_->closed());
}

void Program::openConsole()
{
    // A console closed from inside one of its own handlers must outlive that handler.
    retired_ = std::move(console_);
    console_ = std::make_unique<BELMO>(session_, steps_);
    console_->onClosed = [this] {
        if (onWindowsChanged) onWindowsChanged();
    };
    console_->onTransport = [this] { openTransport(); };
    console_->load();
    if (onConsoleOpened) onConsoleOpened();
}

// Shown before the console closes, so that the program never runs without a window.
void Program::openTransport()
{
    retiredTransport_ = std::move(transport_);
    transport_ = steps_.createTransportWindow(session_);
    if (!transport_) return;
    transport_->onClosed = [this](bool backToConsole) {
        if (backToConsole) openConsole();  // a fresh console, through its normal opening
        if (onWindowsChanged) onWindowsChanged();
    };
    transport_->load();
    if (onTransportOpened) onTransportOpened();
}

}  // namespace belmo::console

#include "console/Program.h"

namespace belmo::console {

Program::Program(services::Dialogs& dialogs, StepRegistry steps)
    : session_(pool_, dialogs), login_(session_), steps_(std::move(steps))
{
    login_.onOpenConsole = [this] { openConsole(); };
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
    return login_.visible() || (console_ && !console_->closed());
}

void Program::openConsole()
{
    // A console closed from inside one of its own handlers must outlive that handler.
    retired_ = std::move(console_);
    console_ = std::make_unique<BELMO>(session_, steps_);
    console_->onClosed = [this] {
        if (onWindowsChanged) onWindowsChanged();
    };
    console_->load();
    if (onConsoleOpened) onConsoleOpened();
}

}  // namespace belmo::console

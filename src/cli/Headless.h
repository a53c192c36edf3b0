#pragma once

#include "services/Dialogs.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <functional>
#include <optional>

namespace belmo::console {
class Program;
}

// What the commands that log in share: the dialogs that answer by policy and print, the
// login's options and the password's ways in, and the login itself.
namespace belmo::cli {

class CommandLine;

// Answers every message and question by policy and prints the exchange.
class PrintingDialogs : public services::Dialogs {
public:
    PrintingDialogs(QTextStream& out, bool yes) : out_(out), yes_(yes) {}

    void message(const QString& text, const QString& title, Icon, const QString& details) override;
    bool ask(const QString& text, const QString& title) override;
    QString askOverwrite(const QString& description, const QString& question) override;

    // Hears every message shown with a warning or an error icon.
    std::function<void(const QString& text)> onWarning;
    // Called before an exchange is printed (the live progress line makes room for it).
    std::function<void()> beforePrint;
    // The text of the last message shown, with its details.
    QString lastMessage;

private:
    void print(const QString& kind, const QString& title, const QString& text, const QString& answer);
    QTextStream& out_;
    bool yes_;
};

// --folder, --user, --password, --password-file, --source and --target.
void addLoginOptions(QCommandLineParser& p);
// The usage error's exit code when one of --folder, --user, --source, --target is missing.
std::optional<int> missingLoginOption(CommandLine& cl, QTextStream& err);

// The first line of the file, without its line end; empty (the reason on err) when the file
// cannot be read.
std::optional<QString> passwordFromFile(const QString& path, QTextStream& err);
// --password-file, --password, BELMO_PASSWORD, or the terminal; empty when none is there.
std::optional<QString> readPassword(const QCommandLineParser& p, QTextStream& err);

// Types into the login window as a user does and presses "Onayla", printing the exchanges
// through `dialogs` (the program's). Nothing when the console opened on a source that could
// be read; otherwise the exit code: kLoginRefused with the reason in one line on err ("belmo
// COMMAND: login refused: " and the login's message, or the user's missing company rights),
// kFailed when the password file cannot be read.
std::optional<int> loginFailure(console::Program& program, PrintingDialogs& dialogs, const QCommandLineParser& p,
                                const QString& command, QTextStream& out, QTextStream& err);

}  // namespace belmo::cli

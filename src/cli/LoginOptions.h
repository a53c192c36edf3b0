#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QTextStream>

#include <optional>

namespace belmo::cli {

// The options of the commands that log in as the login window does: --folder, --user,
// --password, --password-file, --source and --target.
void addLoginOptions(QCommandLineParser& p);

// The password of the commands that log in: --password-file (its first line), --password,
// the environment variable BELMO_PASSWORD, or asked for on the terminal without echo; empty
// when none is there. Nothing when the file cannot be read (the reason is on err).
std::optional<QString> readPassword(const QString& command, const QCommandLineParser& p, QTextStream& err);

}  // namespace belmo::cli

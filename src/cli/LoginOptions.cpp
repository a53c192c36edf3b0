#include "cli/LoginOptions.h"

#include <QFile>

#include <termios.h>
#include <unistd.h>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// The first line of the file, without its line end.
std::optional<QString> passwordFromFile(const QString& command, const QString& path, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "belmo " << command << ": cannot read the password file '" << path << "': " << file.errorString() << "\n";
        return std::nullopt;
    }
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(u'\n') || line.endsWith(u'\r')) line.chop(1);
    return line;
}

// Asks on the terminal with the echo off.
QString passwordFromTerminal(const QString& user, QTextStream& err)
{
    err << "Password of " << user << ": ";
    err.flush();
    termios saved{};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QTextStream in(stdin);
    const QString line = in.readLine();
    if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    err << "\n";
    err.flush();
    return line;
}

}  // namespace

void addLoginOptions(QCommandLineParser& p)
{
    for (const auto& [name, help] : {std::pair{u"folder"_s, u"The program folder (holding config.mdb)."_s},
                                     {u"user"_s, u"User name."_s},
                                     {u"password"_s, u"Password (visible in the process list; see above)."_s},
                                     {u"password-file"_s, u"A file whose first line is the password."_s},
                                     {u"source"_s, u"Source company code (the closing period)."_s},
                                     {u"target"_s, u"Target company code (the new period)."_s}})
        p.addOption({name, help, name.toUpper()});
}

std::optional<QString> readPassword(const QString& command, const QCommandLineParser& p, QTextStream& err)
{
    if (p.isSet(u"password-file"_s)) return passwordFromFile(command, p.value(u"password-file"_s), err);
    if (p.isSet(u"password"_s)) return p.value(u"password"_s);
    if (qEnvironmentVariableIsSet("BELMO_PASSWORD")) return qEnvironmentVariable("BELMO_PASSWORD");
    if (isatty(STDIN_FILENO)) return passwordFromTerminal(p.value(u"user"_s), err);
    return QString();
}

}  // namespace belmo::cli

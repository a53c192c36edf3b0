#include "cli/Headless.h"

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "console/Program.h"

#include <QFile>
#include <QFileInfo>

#include <termios.h>
#include <unistd.h>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

void PrintingDialogs::message(const QString& text, const QString& title, Icon icon, const QString& details)
{
    lastMessage = details.isEmpty() ? text : text + u'\n' + details;
    if (onWarning && (icon == Icon::Exclamation || icon == Icon::Critical)) onWarning(lastMessage);
    print(u"message"_s, title, lastMessage, u"OK"_s);
}

bool PrintingDialogs::ask(const QString& text, const QString& title)
{
    print(u"question"_s, title, text, yes_ ? u"Evet"_s : u"Hayır"_s);
    return yes_;
}

QString PrintingDialogs::askOverwrite(const QString& description, const QString& question)
{
    const QString code = yes_ ? services::answer::kYesToAll : services::answer::kNo;
    print(u"question"_s, {}, description + u'\n' + question, code);
    return code;
}

void PrintingDialogs::print(const QString& kind, const QString& title, const QString& text, const QString& answer)
{
    if (beforePrint) beforePrint();
    out_ << "  [" << kind << " \"" << (title.isEmpty() ? u"Belmo"_s : title) << "\"] "
         << QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', u"\n      "_s)
         << "\n      -> " << answer << "\n";
    out_.flush();
}

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

std::optional<int> missingLoginOption(CommandLine& cl, QTextStream& err)
{
    for (const QString& name : {u"folder"_s, u"user"_s, u"source"_s, u"target"_s})
        if (!cl.parser().isSet(name)) return cl.usageError(u"--%1 is missing."_s.arg(name), err);
    return std::nullopt;
}

std::optional<QString> passwordFromFile(const QString& path, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "belmo: cannot read the password file '" << path << "': " << file.errorString() << "\n";
        return std::nullopt;
    }
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(u'\n') || line.endsWith(u'\r')) line.chop(1);
    return line;
}

namespace {

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

std::optional<QString> readPassword(const QCommandLineParser& p, QTextStream& err)
{
    if (p.isSet(u"password-file"_s)) return passwordFromFile(p.value(u"password-file"_s), err);
    if (p.isSet(u"password"_s)) return p.value(u"password"_s);
    if (qEnvironmentVariableIsSet("BELMO_PASSWORD")) return qEnvironmentVariable("BELMO_PASSWORD");
    if (isatty(STDIN_FILENO)) return passwordFromTerminal(p.value(u"user"_s), err);
    return QString();
}


namespace {

// Why the login did not let the user in: its last message, or, where it ended without one, a
// configuration without its theme row or a user without company rights.
QString refusal(const app::GIRIS& giris, bool started, const QString& lastMessage)
{
    if (!lastMessage.isEmpty()) return lastMessage.simplified();
    if (!started) return u"config.mdb holds no theme (config row 999): the login window closed at start-up"_s;
    if (giris.kaynakSirket.items().isEmpty()) return giris.kullaniciAdi.text() + u" has no right to any company"_s;
    return u"the console did not open"_s;
}

}  // namespace

std::optional<int> loginFailure(console::Program& program, PrintingDialogs& dialogs, const QCommandLineParser& p,
                                const QString& command, QTextStream& out, QTextStream& err)
{
    const std::optional<QString> password = readPassword(p, err);
    if (!password) return kFailed;
    const QString user = p.value(u"user"_s), source = p.value(u"source"_s), target = p.value(u"target"_s);
    out << "Login as " << user << ": " << source << " -> " << target << "\n";
    out.flush();
    dialogs.lastMessage.clear();
    const bool started = program.start(QFileInfo(p.value(u"folder"_s)).absoluteFilePath());
    bool in = started;
    if (started) {
        app::GIRIS& giris = program.login();
        giris.kullaniciAdi.setText(user);
        giris.kullaniciAdiLostFocus();
        giris.sifre.setText(*password);
        giris.sifreLostFocus();
        giris.kaynakSirket.setText(source);
        giris.hedefSirket.setText(target);
        dialogs.lastMessage.clear();
        giris.onayla.click();
        in = program.console() && !giris.visible();
    }
    if (in) return std::nullopt;
    err << "belmo " << command << ": login refused: " << refusal(program.login(), started, dialogs.lastMessage) << "\n";
    err.flush();
    return kLoginRefused;
}

}  // namespace belmo::cli

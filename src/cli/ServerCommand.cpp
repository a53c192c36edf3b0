#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Headless.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QFileInfo>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

void printSettings(const app::ServerSettings& s, QTextStream& out)
{
    const auto shown = [](const QString& value) { return value.isEmpty() ? u"(none)"_s : value; };
    out << "Companies: " << (s.useServer ? "on the server" : "files in MUHASEBE") << "\n"
        << "Server:    " << shown(s.host) << "\n"
        << "Port:      " << (s.port > 0 ? QString::number(s.port) : u"(the server's default)"_s) << "\n"
        << "User:      " << shown(s.user) << "\n"
        << "Password:  " << (s.password.isEmpty() ? "none stored (~/.pgpass or PGPASSWORD is used)" : "stored") << "\n";
}

}  // namespace

int server(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(u"server"_s, u"--folder DIR [--host H [--port P] --user U [--password-file F] | --off]"_s,
                   u"Says where the companies of a program folder are, as the login window's frame\n"
                   "\"Server Bilgileri\" does: with --host and --user the companies are the databases of\n"
                   "that server and the settings are stored in DIR/config.mdb; --off goes back to the\n"
                   "files in MUHASEBE, keeping the settings. Without either it prints the settings.\n"
                   "The password is read from the first line of --password-file only. Without one, none\n"
                   "is stored, and the password file of the user's account (~/.pgpass) or PGPASSWORD is\n"
                   "used, which keeps the password out of config.mdb; that is the recommended way."_s);
    QCommandLineParser& p = cl.parser();
    p.addOption({u"folder"_s, u"The program folder (holds config.mdb)."_s, u"DIR"_s});
    p.addOption({u"host"_s, u"The server: a host name, an address or the folder of its socket."_s, u"H"_s});
    p.addOption({u"port"_s, u"The server's port; its default when not given."_s, u"P"_s});
    p.addOption({u"user"_s, u"The user name on the server."_s, u"U"_s});
    p.addOption({u"password-file"_s, u"A file whose first line is the server password."_s, u"F"_s});
    p.addOption({u"off"_s, u"Companies are files in MUHASEBE again."_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;

    if (!p.isSet(u"folder"_s)) return cl.usageError(u"--folder DIR is required."_s, err);
    if (!p.positionalArguments().isEmpty()) return cl.usageError(u"no arguments are taken."_s, err);
    const bool storing = p.isSet(u"host"_s) || p.isSet(u"port"_s) || p.isSet(u"user"_s) || p.isSet(u"password-file"_s);
    if (storing && p.isSet(u"off"_s)) return cl.usageError(u"--off takes no server settings."_s, err);
    if (storing && (p.value(u"host"_s).trimmed().isEmpty() || p.value(u"user"_s).trimmed().isEmpty()))
        return cl.usageError(u"--host H and --user U are required to choose a server."_s, err);
    const std::optional<int> port = app::parsePort(p.value(u"port"_s));
    if (!port || (p.isSet(u"port"_s) && *port == 0))
        return cl.usageError(u"--port takes a number from 1 to 65535, not '%1'."_s.arg(p.value(u"port"_s)), err);

    const QString folder = p.value(u"folder"_s);
    if (!QFileInfo(folder).isDir()) {
        err << "belmo server: the program folder '" << folder << "' does not exist.\n";
        return kFailed;
    }
    std::optional<QString> password = QString();
    if (p.isSet(u"password-file"_s) && !(password = passwordFromFile(p.value(u"password-file"_s), err))) return kFailed;

    const app::ProgramFolder pf(QFileInfo(folder).absoluteFilePath());
    db::ConnectionPool pool;
    try {
        db::Connection config(pool);
        config.open(pf.configConnection());
        app::ServerSettings settings = app::ServerSettings::load(config);
        if (storing) settings = {true, p.value(u"host"_s), *port, p.value(u"user"_s), *password};
        if (p.isSet(u"off"_s)) settings.useServer = false;
        if (storing || p.isSet(u"off"_s)) {
            settings.save(config);
            settings = app::ServerSettings::load(config);
        }
        printSettings(settings, out);
    } catch (const db::DbError& e) {
        err << "belmo server: " << pf.configPath() << ": " << e.cause() << "\n";
        return kFailed;
    }
    return kOk;
}

}  // namespace belmo::cli

#include "cli/CommandLine.h"

#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/Headless.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "proof/Backups.h"

#include <QFileInfo>

namespace belmo::cli {

QString loginRefusedHelp() { return QStringLiteral("the login refused (its reason in one line on standard error)"); }

QString exitCodesHelp(const QString& failure, const QString& refusal)
{
    QString text = QStringLiteral("Exit codes:\n"
                                  "  0  everything finished\n"
                                  "  1  %1\n"
                                  "  2  the command line is wrong (the reason on standard error)\n")
                       .arg(failure);
    if (!refusal.isEmpty()) text += QStringLiteral("  3  %1\n").arg(refusal);
    return text;
}

CommandLine::CommandLine(const QString& command, const QString& synopsis, const QString& description)
    : failure_(QStringLiteral("the work could not be done (the reason on standard error)")),
      command_(command),
      synopsis_(synopsis),
      description_(description)
{
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addHelpOption();
}

std::optional<int> CommandLine::parse(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!parser_.parse(QStringList{QStringLiteral("belmo ") + command_} + args)) return usageError(parser_.errorText(), err);
    if (parser_.isSet(QStringLiteral("help"))) {
        out << "Usage: belmo " << command_ << ' ' << synopsis_ << "\n\n" << description_ << "\n\n";
        QString options = parser_.helpText();
        options = options.mid(options.indexOf(QStringLiteral("Options:")));
        out << options << '\n' << exitCodesHelp(failure_, refusal_);
        out.flush();
        return kOk;
    }
    return std::nullopt;
}

RunLimits runLimits(const QCommandLineParser& p)
{
    constexpr double kLongestWait = 86400;  // a day
    RunLimits limits{proof::Backups::kDefaultKeep, 30.0, {}};
    bool waitRead = true, keepRead = true;
    // Asked of what was given: restore has no --wait, and isSet would warn of it.
    if (p.optionNames().contains(QStringLiteral("wait"))) limits.wait = p.value(QStringLiteral("wait")).toDouble(&waitRead);
    if (p.isSet(QStringLiteral("keep"))) limits.keep = p.value(QStringLiteral("keep")).toInt(&keepRead);
    if (!waitRead || !(limits.wait >= 0 && limits.wait <= kLongestWait))  // NaN too
        limits.problem = QStringLiteral("--wait takes a number of seconds from 0 to %1.").arg(kLongestWait);
    else if (!keepRead || limits.keep < 1)
        limits.problem = QStringLiteral("--keep takes a number of backups of at least 1.");
    return limits;
}

int CommandLine::usageError(const QString& reason, QTextStream& err) const
{
    err << "belmo " << command_ << ": " << reason << "\n"
        << "Usage: belmo " << command_ << ' ' << synopsis_ << "\n"
        << "Try 'belmo " << command_ << " --help' for more information.\n";
    err.flush();
    return kBadUsage;
}

void CommandLine::addLoginOptions()
{
    cli::addLoginOptions(parser_);
    refusal_ = loginRefusedHelp();
}

void CommandLine::addFolderAndCode()
{
    parser_.addOption({QStringLiteral("folder"), QStringLiteral("The program folder (holds config.mdb and MUHASEBE)."), QStringLiteral("DIR")});
    parser_.addPositionalArgument(QStringLiteral("CODE"), QStringLiteral("The company code."));
}

std::variant<CommandLine::Company, int> CommandLine::company(QTextStream& err) const
{
    if (!parser_.isSet(QStringLiteral("folder"))) return usageError(QStringLiteral("--folder DIR is required."), err);
    if (parser_.positionalArguments().size() != 1) return usageError(QStringLiteral("give exactly one company code."), err);
    const QString code = parser_.positionalArguments().first();
    if (const QString problem = app::companyCodeProblem(code); !problem.isEmpty()) return usageError(problem + u'.', err);
    const app::ProgramFolder folder(QFileInfo(parser_.value(QStringLiteral("folder"))).absoluteFilePath());
    try {
        if (const std::optional<app::ServerSettings> server = chosenServer(folder)) {
            if (const QString problem = serverCompanyProblem(*server, server->companies(), code); !problem.isEmpty()) {
                err << "belmo " << command_ << ": " << problem << "\n";
                return kFailed;
            }
            return Company{code, folder.companyPath(code), server->companyConnection(code)};
        }
    } catch (const db::DbError& e) {
        err << "belmo " << command_ << ": " << e.description() << "\n";
        return kFailed;
    }
    const app::ProgramFolder::CompanyFile found = folder.findCompany(code);
    if (found.state != app::ProgramFolder::CompanyFile::State::Found) {
        err << "belmo " << command_ << ": " << found.problem() << "\n";
        return kFailed;
    }
    return Company{code, found.path, {}};
}

namespace {

app::ServerSettings loadServerSettings(const app::ProgramFolder& folder)
{
    db::ConnectionPool pool;
    db::Connection config(pool);
    config.open(folder.configConnection());
    return app::ServerSettings::load(config);
}

}  // namespace

std::optional<app::ServerSettings> storedServer(const app::ProgramFolder& folder, const QString& command, QTextStream& err)
{
    try {
        app::ServerSettings settings = loadServerSettings(folder);
        if (!settings.host.trimmed().isEmpty()) return settings;
        err << "belmo " << command << ": " << folder.configPath() << " names no server (see 'belmo server').\n";
    } catch (const db::DbError& e) {
        err << "belmo " << command << ": " << folder.configPath() << ": " << e.cause() << "\n";
    }
    return std::nullopt;
}

std::optional<app::ServerSettings> chosenServer(const app::ProgramFolder& folder)
{
    if (!QFileInfo::exists(folder.configPath())) return std::nullopt;
    app::ServerSettings settings = loadServerSettings(folder);
    if (!settings.useServer) return std::nullopt;
    return settings;
}

QString serverCompanyProblem(const app::ServerSettings& server, const QStringList& companies, const QString& code)
{
    if (companies.contains(code)) return {};
    return QStringLiteral("%1: the server has no company database %2").arg(app::serverPlace(server, code), code);
}

}  // namespace belmo::cli

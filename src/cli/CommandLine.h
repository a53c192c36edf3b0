#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <optional>
#include <variant>

namespace belmo::app {
class ProgramFolder;
struct ServerSettings;
}

namespace belmo::cli {

// The server stored in the folder's config.mdb, chosen or not; none (the reason on err) when
// config.mdb cannot be read or names no server.
std::optional<app::ServerSettings> storedServer(const app::ProgramFolder& folder, const QString& command, QTextStream& err);
// The server when the folder's config.mdb chooses it for the companies; none when it does not,
// or when there is no config.mdb. Throws DbError when config.mdb cannot be read.
std::optional<app::ServerSettings> chosenServer(const app::ProgramFolder& folder);
// Empty when the server has the company, else what is wrong, naming the server and the database.
QString serverCompanyProblem(const app::ServerSettings& server, const QStringList& companies, const QString& code);

// The exit codes as a help text lists them: what 1 means, and what 3 means for a command that
// logs in (none without `refusal`).
QString exitCodesHelp(const QString& failure, const QString& refusal);

// What exit code 3 means for a command that logs in once.
QString loginRefusedHelp();

// What --keep and --wait say, for the commands that take them: the backups of the target to
// keep (at least 1; the backups' default when not given) and the seconds to wait for a
// company another program holds (0 to a day; 30 when not given). `problem` is the usage error
// of a wrong one, else empty.
struct RunLimits {
    int keep = 0;
    double wait = 0;
    QString problem;
};
RunLimits runLimits(const QCommandLineParser& p);

// A sub-command's parser: --help prints the usage; a bad option or a missing argument
// prints the reason and a pointer to --help.
class CommandLine {
public:
    CommandLine(const QString& command, const QString& synopsis, const QString& description);

    QCommandLineParser& parser() { return parser_; }
    // The login's options (see Headless.h); the help then lists the login's exit code too.
    void addLoginOptions();
    // What exit codes 1 and 3 mean for this command, in its help.
    void setFailure(const QString& meaning) { failure_ = meaning; }
    void setRefusal(const QString& meaning) { refusal_ = meaning; }
    // kOk to go on, or the exit code to return at once (help printed, or usage error).
    std::optional<int> parse(const QStringList& args, QTextStream& out, QTextStream& err);
    int usageError(const QString& reason, QTextStream& err) const;

    // For a command on one company of a program folder ("--folder DIR CODE"): adds the
    // option and the argument; after parse(), the company's file, or the exit code (a usage
    // error, or a folder or company that is not there).
    void addFolderAndCode();
    struct Company {
        QString code;
        QString file;  // MUHASEBE/CODE.mdb: with the server chosen, where its backups are kept only
        QString serverConnection;  // the database's connection string with the server chosen, else empty
    };
    std::variant<Company, int> company(QTextStream& err) const;

private:
    QString failure_;
    QString refusal_;  // empty: the command does not log in
    QString command_;
    QString synopsis_;
    QString description_;
    QCommandLineParser parser_;
};

}  // namespace belmo::cli

#include "cli/CommandLine.h"

#include "cli/Cli.h"

namespace belmo::cli {

CommandLine::CommandLine(const QString& command, const QString& synopsis, const QString& description)
    : command_(command), synopsis_(synopsis), description_(description)
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
        out << options;
        out.flush();
        return kOk;
    }
    return std::nullopt;
}

int CommandLine::usageError(const QString& reason, QTextStream& err) const
{
    err << "belmo " << command_ << ": " << reason << "\n"
        << "Usage: belmo " << command_ << ' ' << synopsis_ << "\n"
        << "Try 'belmo " << command_ << " --help' for more information.\n";
    err.flush();
    return kBadUsage;
}

}  // namespace belmo::cli

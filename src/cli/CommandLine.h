#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <optional>
#include <variant>

namespace belmo::cli {

// A sub-command's parser: --help prints the usage; a bad option or a missing argument
// prints the reason and a pointer to --help.
class CommandLine {
public:
    CommandLine(const QString& command, const QString& synopsis, const QString& description);

    QCommandLineParser& parser() { return parser_; }
    // kOk to go on, or the exit code to return at once (help printed, or usage error).
    std::optional<int> parse(const QStringList& args, QTextStream& out, QTextStream& err);
    int usageError(const QString& reason, QTextStream& err) const;

    // For a command on one company of a program folder ("--folder DIR CODE"): adds the
    // option and the argument; after parse(), the company's file, or the exit code (a usage
    // error, or a folder or company that is not there).
    void addFolderAndCode();
    struct Company {
        QString code;
        QString file;
    };
    std::variant<Company, int> company(QTextStream& err) const;

private:
    QString command_;
    QString synopsis_;
    QString description_;
    QCommandLineParser parser_;
};

}  // namespace belmo::cli

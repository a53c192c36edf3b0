#pragma once

#include <QStringList>
#include <QTextStream>

namespace belmo::console {
class StepRegistry;
}

namespace belmo::proof {
struct Reconciliation;
}

namespace belmo::cli {

// Exit codes of the belmo command, the same for every command.
inline constexpr int kOk = 0;            // everything finished
inline constexpr int kFailed = 1;        // a step did not finish, a blocking problem was found, the work failed
inline constexpr int kBadUsage = 2;      // the command line was wrong
inline constexpr int kLoginRefused = 3;  // the login did not let the user in (the reason on standard error)

// Runs `belmo <args>` (args without the program name), writing to out and err. Without
// arguments the program starts with its windows, which main() does; here that is a usage error.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

// The sub-commands, each with its own --help.
int initCompany(const QStringList& args, QTextStream& out, QTextStream& err);
int demo(const QStringList& args, QTextStream& out, QTextStream& err);
int show(const QStringList& args, QTextStream& out, QTextStream& err);
// Where the companies are: the server settings of config.mdb, stored or printed.
int server(const QStringList& args, QTextStream& out, QTextStream& err);
// A company copied between a file of MUHASEBE and the server.
int copy(const QStringList& args, QTextStream& out, QTextStream& err);
// Reconciles a pair of companies as they stand, without writing.
int report(const QStringList& args, QTextStream& out, QTextStream& err);
// A company's backups, and putting one back.
int backups(const QStringList& args, QTextStream& out, QTextStream& err);
int restore(const QStringList& args, QTextStream& out, QTextStream& err);
// Every problem a carry-forward would meet, found before anything is written.
int check(const QStringList& args, QTextStream& out, QTextStream& err);
// Checks and runs many pairs of companies, one after another.
int batch(const QStringList& args, QTextStream& out, QTextStream& err);
// The login and the transfer steps without windows, on the steps that are built (or on the
// steps given, for the tests).
int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err);
int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err, const console::StepRegistry& steps);

// The report's summary on out (or, with `json`, the whole report as JSON), and the whole
// report written to `path` when one is given (ok becomes false when it cannot be).
void printReport(const proof::Reconciliation& report, const QString& path, bool json, QTextStream& out, QTextStream& err,
                 bool& ok);

// What a program folder holds: users and rights of config.mdb, and per company its name,
// period and the rows of its tables. Used by show and at the end of demo.
int printFolder(const QString& folder, const QStringList& codes, QTextStream& out, QTextStream& err);

}  // namespace belmo::cli

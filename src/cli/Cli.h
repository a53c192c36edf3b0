#pragma once

#include <QStringList>
#include <QTextStream>

namespace belmo::cli {

// Exit codes of the belmo command.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;    // the work could not be done (files, databases)
inline constexpr int kBadUsage = 2;  // the command line was wrong

// Runs `belmo <args>` (args without the program name), writing to out and err.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

// The sub-commands, each with its own --help.
int initCompany(const QStringList& args, QTextStream& out, QTextStream& err);
int demo(const QStringList& args, QTextStream& out, QTextStream& err);
int show(const QStringList& args, QTextStream& out, QTextStream& err);

// What a program folder holds: users and rights of config.mdb, and per company its name,
// period and the rows of its tables. Used by show and at the end of demo.
int printFolder(const QString& folder, const QStringList& codes, QTextStream& out, QTextStream& err);

}  // namespace belmo::cli

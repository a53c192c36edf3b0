#pragma once

// `belmo run` in-process, and a fresh demo folder to run it on.
#include "support/TestCompany.h"

#include "console/StepCatalogue.h"

#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace belmo::test {

struct RunResult {
    int code;
    QString out;
    QString err;
};

// `belmo` with these arguments (the command first).
RunResult belmo(const QStringList& args);
// `belmo run` with these arguments; with `steps`, on those steps instead of the built ones.
// `onOutput` hears what the run prints as it prints it (a line it flushes at once, as the
// wait for a lock).
RunResult belmoRun(const QStringList& args, const console::StepRegistry* steps = nullptr,
                   std::function<void(const QString&)> onOutput = {});

// A fresh small demo folder for each test: the runs change the target.
class DemoRun : public ::testing::Test {
protected:
    DemoRun();
    // The login options of `belmo run` for the demo user, from DEMO2025 to DEMO2026.
    QStringList login(const QString& password) const;
    // The file of one of the demo's companies ("DEMO2025", "DEMO2026").
    QString companyPath(const QString& code) const;
    // A connection to one of the demo's companies.
    void openCompany(db::Connection& con, const QString& code) const;
    // The first cell of a statement on one of the demo's companies.
    QString cell(const QString& code, const QString& sql);
    // Every row of the tables the master-data steps write, in the order the target keeps them.
    QList<QStringList> targetTables();

    TestCompany reader;  // its pool and row reader
    QTemporaryDir folder_;
};

}  // namespace belmo::test

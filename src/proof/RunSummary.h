#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace belmo::proof {

// One company of a carry-forward as the record of a run names it: its code, its file, its
// period and the SHA-256 of the file before and after the run (empty when not taken); its
// name where the report has read it.
struct CompanyFacts {
    QString code, file, period;
    QString sha256Before, sha256After;
    QString name;  // SIRKETAD
    QJsonObject toJson() const;
};

// What became of one step: the rows its panel listed and the rows ticked (summed over its
// lists), whether it finished, its warnings and the rows the user left out (their labels).
struct StepOutcome {
    QString key, caption;
    int listed = 0;
    qsizetype ticked = 0;
    bool finished = false;
    QStringList warnings;
    QStringList leftOut;
    QJsonObject toJson() const;
};

// The run a report and the run log describe: who ran it where and when, on which pair of
// companies, whether it was a rehearsal, the backup made before its first write, and each
// step's outcome.
struct RunSummary {
    QString user, machine;
    QDateTime started, finished;
    CompanyFacts source, target;
    bool dryRun = false;
    QString backup;  // the backup file made before the first write; empty when none was made
    std::vector<StepOutcome> steps;

    // The companies' hashes now, as "after" (both files read at once).
    void hashAfter();

    // The report's heading fields ("report_version", "source", "target", "user", "machine",
    // "started", "finished", "dry_run", "backup", "steps"); the run log writes it as one line.
    QJsonObject toJson() const;
};

// The SHA-256 of a file's bytes in hex; empty when it cannot be read.
QString sha256OfFile(const QString& path);
// The same of several files, each read by a thread of its own.
QStringList sha256OfFiles(const QStringList& paths);

}  // namespace belmo::proof

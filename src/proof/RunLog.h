#pragma once

#include "proof/RunSummary.h"

#include <QString>

namespace belmo::db {
class ConnectionPool;
}

namespace belmo::proof {

// logs/belmo-runs.jsonl in the program folder: one line of JSON per run that wrote a target.
QString runLogPath(const QString& programFolder);

// Appends the run as one compact line; the folder and the file are made private. Empty when
// written, else why not.
QString appendRunLog(const QString& programFolder, const RunSummary& run);

// A company as the record of a run names it before the run: its code, file, period
// (SIRKET.DONEM) and the SHA-256 of the file. A database on a server is named as messages name
// it ("server/database"), without a hash.
CompanyFacts companyFacts(db::ConnectionPool& pool, const QString& connectionString);

}  // namespace belmo::proof

#pragma once

#include "proof/Reconciliation.h"

namespace belmo::app {
class Session;
}

namespace belmo::proof {

// The reconciliation of the companies a login opened (KaynakBag, HedefBag): the source as
// the session's panels listed it, and what they did not list read through a read-only
// connection of its own, so that the report writes nothing to it; the target as it stands now. `run` carries what the caller knows of the run; the companies'
// files, periods and hashes are filled in here (the hashes as "after", and as "before" too
// when the caller has none).
Reconciliation reconcileSession(app::Session& session, const QHash<QString, qint64>& targetBefore, RunSummary run);

// The row counts of the target's definition and transport tables now, for "before".
QHash<QString, qint64> targetTableCounts(app::Session& session);

// The file a connection string names.
QString fileOf(const QString& connectionString);

}  // namespace belmo::proof

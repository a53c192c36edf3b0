#pragma once

#include <QString>

namespace belmo::db {
class Connection;
}

// The per-user views the balance and cheque steps build in the source database: the step's
// prefix, the user's code and a slot (1 to 5), so that two users on the same source never
// share a view.
namespace belmo::services {

class ViewSet {
public:
    ViewSet(QString prefix, const QString& userCode);

    // The name the step's statements put before a slot number: "CMZN05" for CMZN and user
    // 05. A user code holding anything but ASCII letters and digits is spelled safely:
    // every other character (and '_') becomes '_' and its four hex digits, so the name is
    // always one plain identifier and two codes never give the same name.
    const QString& stem() const { return stem_; }
    QString name(int slot) const { return stem_ + QString::number(slot); }

private:
    QString stem_;
};

// "CREATE VIEW <name> AS <query>" and "DROP VIEW <name>" in the database given, issued
// through a recordset open. A panel drops its views and makes them again before it reads
// them, so that it reads what it has just made: dropping a view that is not there passes,
// every other failure (a view that exists still, a definition that does not compile, a file
// that cannot be used) is thrown. A source that cannot be written (an archived year on a
// read-only share, a file that opens for writing but refuses to be written) gets temporary
// views of its connection instead, which hide any stale view of the same name, and is not
// written at all.
void GORUNUMOLUSTUR(db::Connection& db, const ViewSet& views, int slot, const QString& query);
void GORUNUMSIL(db::Connection& db, const ViewSet& views, int slot);

}  // namespace belmo::services

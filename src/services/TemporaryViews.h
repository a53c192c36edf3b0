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
// through a recordset open. A view that already exists keeps its first definition and
// dropping a missing view passes. A source that cannot be written (an archived year on a
// read-only share) gets temporary views of its connection instead, and is not written at
// all.
void GORUNUMOLUSTUR(db::Connection& db, const ViewSet& views, int slot, const QString& query);
void GORUNUMSIL(db::Connection& db, const ViewSet& views, int slot);

}  // namespace belmo::services

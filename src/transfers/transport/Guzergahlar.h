#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Yurtiçi Güzergahlar" (Guzergah_Yi) and "Uluslararası Güzergahlar" (Guzergah).
//
// Domestic routes are added when the target lacks them and kept otherwise: a route is its
// loading and unloading place, and one the target holds keeps its distance. The values are
// the listed row's; an empty distance is written (and shown) as 0.
//
// International routes replace the target's after a question, each copied whole from the
// source row. The grid lists a route when at least one of its four places has a name in the
// source's cities or countries, and shows the names.
class Guzergahlar : public TransportStep {
public:
    Guzergahlar(console::StepHost& host, console::StepId id, Side side);

    struct Twin;

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return key(rows_[row].id); }
    QString rowLabel(int row) const override { return rows_[row].from + QStringLiteral(" - ") + rows_[row].to; }
    console::GridLayout layout() const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    // A route as listed.
    struct Row {
        qint64 id;         // ID
        QString from, to;  // domestic: the loading and unloading city codes; international:
                           // the names of the loading and unloading cities, which name it
        double distance;   // Mesafe, 0 when it has none
        bool noDistance;   // Mesafe is empty
    };
    void addIfMissing(db::Connection& target, int row);
    void showDistanceWritten(int row);

    const Twin& twin_;
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

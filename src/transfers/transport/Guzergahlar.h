#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Yurtiçi Güzergahlar" (Guzergah_Yi) and "Uluslararası Güzergahlar" (Guzergah).
//
// Domestic routes are added when the target lacks them and kept otherwise: a route is its
// loading and unloading place, and one the target holds keeps its distance. The values are
// the grid's cells; an empty distance is written (and shown) as 0.
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
    console::GridLayout layout() const override;
    QString label(int row) const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    void addIfMissing(db::Connection& target, int row);

    const Twin& twin_;
};

}  // namespace belmo::transfers

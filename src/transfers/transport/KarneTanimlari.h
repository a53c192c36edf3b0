#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Karne Tanımları" (international column): after a question the target's carnets
// (Karne_Tanim) are replaced by the ticked source carnets still of use in the target's
// period: those ending on or after 1 January of it and not handed in. A source whose
// carnet table has no Teslim column lists every carnet ending in time; their copies keep
// the target's default for Teslim. Column 11 shows the handed-in flag as a tick picture;
// it only shows data.
class KarneTanimlari : public TransportStep {
public:
    KarneTanimlari(console::StepHost& host, console::StepId id, Side side);

    void menuAction() override;

protected:
    db::Query query() override;
    console::GridLayout layout() const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    void showHandedIn();
};

}  // namespace belmo::transfers

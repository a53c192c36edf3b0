#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::services {
struct ErrorLookup;
}

namespace belmo::transfers {

// "Şoför Tanımları" of both columns: the drivers of domestic (Sofor_Yi) and of international
// transport (Sofor_YD). After a question the target's drivers, deleted ones too, are
// replaced by the ticked live source drivers, copied column by column. The target numbers
// them anew, which is why the vehicle step of the same column waits for this one and finds
// each vehicle's driver again by name (SOFORBULYI, SOFORBULYD).
class SoforTanimlari : public TransportStep {
public:
    SoforTanimlari(console::StepHost& host, console::StepId id, Side side);

    struct Twin;

protected:
    db::Query query() override;
    console::GridLayout layout() const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    const Twin& twin_;
};

// The ID of the first live driver of the target with this name, in Sofor_Yi (SOFORBULYI) or
// Sofor_YD (SOFORBULYD). When there is none, or its ID does not fit the vehicles' 16-bit
// driver number, the error is shown (its details name the driver and the vehicle with that
// plate, which is then written without a driver) and the result is 0. A database that cannot
// be used stops the step.
qint16 SOFORBULYI(db::Connection& target, const services::ErrorLookup& errors, const QString& name,
                  const QString& plate);
qint16 SOFORBULYD(db::Connection& target, const services::ErrorLookup& errors, const QString& name,
                  const QString& plate);

}  // namespace belmo::transfers

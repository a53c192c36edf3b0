#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Araç Tanımları" of both columns: the vehicles of domestic (Arac_Tanim_Yi) and of
// international transport (Arac_Tanim_YD), merged by plate: a plate the target holds is
// overwritten in place (its ID and the columns not carried stay), any other vehicle is
// added. The driver number is not copied but found again in the target by the driver's
// name (SOFORBULYI, SOFORBULYD), since the driver step numbered the drivers anew; a vehicle
// whose driver the target lacks is written without one, and after the step one message lists
// every such vehicle.
//
// The grid lists the live vehicles whose driver the source knows, by plate.
class AracTanimlari : public TransportStep {
public:
    AracTanimlari(console::StepHost& host, console::StepId id, Side side);

    struct Twin;

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return key(rows_[row].id); }
    QString rowLabel(int row) const override { return rows_[row].plate; }
    console::GridLayout layout() const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    // A vehicle as listed: the record copied, its plate and its driver's name in the source.
    struct Row {
        qint64 id;       // ID
        QString plate;   // Plaka
        QString driver;  // the driver's Ad_Soyad
    };

    const Twin& twin_;
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

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
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return key(rows_[row].id); }
    QString rowLabel(int row) const override { return rows_[row].name; }
    console::GridLayout layout() const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    // A driver as listed: the record copied, and its name.
    struct Row {
        qint64 id;     // ID
        QString name;  // Ad_Soyad
    };

    const Twin& twin_;
    console::RowList<Row> rows_;
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

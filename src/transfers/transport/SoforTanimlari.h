#pragma once

#include "transfers/transport/TransportStep.h"

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

// What a driver lookup found: the driver's ID, or why the vehicle gets none (then 0).
struct DriverLookup {
    enum class Miss { None, NoSuchName, NumberTooLarge };
    qint16 id = 0;
    Miss miss = Miss::None;
    double number = 0;  // the ID found, also when it is too large
};

// The first live driver of the target with this name, in Sofor_Yi (SOFORBULYI) or Sofor_YD
// (SOFORBULYD). When there is none, or its ID does not fit the vehicles' 16-bit driver
// number, the result says so and its ID is 0: the caller tells the user. A database that
// cannot be used stops the step.
DriverLookup SOFORBULYI(db::Connection& target, const QString& name);
DriverLookup SOFORBULYD(db::Connection& target, const QString& name);

}  // namespace belmo::transfers

#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Karne Tanımları" (international column): after a question the target's carnets
// (Karne_Tanim) are replaced by the ticked source carnets still of use in the target's
// period: those ending on or after 1 January of it and not handed in. A source whose
// carnet table has no Teslim column lists every carnet ending in time; their copies keep
// the target's default for Teslim. Column 11 shows the handed-in flag as a tick picture;
// it only shows data. A list without a carnet leaves the total box as it was.
class KarneTanimlari : public TransportStep {
public:
    KarneTanimlari(console::StepHost& host, console::StepId id, Side side);

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return key(rows_[row].id); }
    QString rowLabel(int row) const override { return rows_[row].number; }
    console::GridLayout layout() const override;
    void colourRows() override;
    void showTotal(qint64 records) override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    // A carnet as listed; the record is copied whole.
    struct Row {
        qint64 id;                                // ID
        QString number;                           // Karne_No
        db::Value start, end, issued, returned;  // Bas_Trh, Bit_Trh, Ver_Trh, iade_Trh
        bool handedIn;                            // Teslim is 1
    };

    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

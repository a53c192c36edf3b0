#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Şehir Tanımları" (domestic column: the cities, Plk_Kod_Yi) and "Ülke Tanımları"
// (international column: the countries, Plk_Kod), merged by place code: a code the target
// holds is updated in place, any other is added. Nothing is deleted and nothing is asked.
//
// The cities grid lists only cities whose country the source knows (it shows the country's
// name). The countries grid cannot be unticked: every listed country is carried, since the
// cities and the routes refer to them.
class YerTanimlari : public TransportStep {
public:
    YerTanimlari(console::StepHost& host, console::StepId id, Side side);

    struct Twin;

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return key(rows_[row].id); }
    QString rowLabel(int row) const override { return rows_[row].code; }
    console::GridLayout layout() const override;
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    // A place as listed: its record in the source, and its code.
    struct Row {
        qint64 id;     // ID
        QString code;  // Plaka_Kod
    };

    const Twin& twin_;
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

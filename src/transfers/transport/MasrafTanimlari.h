#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Masraf Tanımları" of both columns: the expense codes of domestic (Masraf_Tanim_Yi) and of
// international transport (Masraf_Tanim_YD). After a question the target's codes are
// replaced by the ticked rows, written as listed; a row without a code is passed over. The
// domestic grid cannot be unticked: every listed code is carried.
class MasrafTanimlari : public TransportStep {
public:
    MasrafTanimlari(console::StepHost& host, console::StepId id, Side side);

protected:
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    // The list has no record number: the code names the row.
    QString rowKey(int row) const override { return rows_[row].code; }
    QString rowLabel(int row) const override { return rows_[row].code + u' ' + rows_[row].name; }
    console::GridLayout layout() const override;
    QList<services::StraySearch> straySearches() override { return {{plan().table, QStringList{QStringLiteral("Masraf_Kod")}}}; }
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    // An expense code as listed, what is written.
    struct Row {
        QString code;  // Masraf_Kod
        QString name;  // Masraf_Tanim
        QString cost;  // Gider_Bilgisi
    };

    QString loaderTable_;
    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

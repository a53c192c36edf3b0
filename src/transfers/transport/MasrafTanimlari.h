#pragma once

#include "transfers/transport/TransportStep.h"

namespace belmo::transfers {

// "Masraf Tanımları" of both columns: the expense codes of domestic (Masraf_Tanim_Yi) and of
// international transport (Masraf_Tanim_YD). After a question the target's codes are
// replaced by the ticked rows, written from the grid's cells; a row without a code is passed
// over. The domestic grid cannot be unticked: every listed code is carried.
class MasrafTanimlari : public TransportStep {
public:
    MasrafTanimlari(console::StepHost& host, console::StepId id, Side side);

protected:
    db::Query query() override;
    console::GridLayout layout() const override;
    QString label(int row) const override { return cell(row, 1) + u' ' + cell(row, 2); }
    QList<services::StraySearch> straySearches() override { return {{plan().table, QStringList{QStringLiteral("Masraf_Kod")}}}; }
    void carry(console::Transfer& t, db::Recordset* emptied, int row) override;

private:
    QString loaderTable_;
};

}  // namespace belmo::transfers

#pragma once

#include "console/PreviewStep.h"
#include "services/TemporaryViews.h"

namespace belmo::db {
class Connection;
class Recordset;
}

namespace belmo::transfers {

// "Çek Belmoleri" (the panel Frames12): the received cheques still open, either those in the
// portfolio or those in clearing, listed from five views built in the source (CK + user
// code + 1 to 5). "Başla" makes sure the target has transaction 68 and rebuilds, for every
// ticked cheque, each record of its history as a header dated 1 January of the target's
// period, with a copy of the record's current-account line and of the cheque's row. A
// header that touched the portfolio (101) on one side only gets the opening counter-account
// on the other side and transaction 68. A cheque listed on several rows is carried once a
// "Başla". Nothing in the target is deleted; a record an earlier "Başla" has carried (its
// document number and cheque, dated the opening day) is not written again. In
// the wizard it follows the open orders and is followed by the accounting accounts.
class CekBelmoleri : public console::PreviewStep {
public:
    explicit CekBelmoleri(console::StepHost& host);

    widgets::OptionButton OpGiren{QStringLiteral("Portföydeki Çekler")};
    widgets::OptionButton Optks{QStringLiteral("Takastaki Çekler")};
    widgets::Button BtnAra;  // no caption: loads the grid again for the selected option
    widgets::ProgressBar barcek;
    widgets::TextBox TxtCekYtl, TxtCekUsd, TxtCekEur;           // over every row, per currency
    widgets::TextBox TxtCekSecYtl, TxtCekSecUsd, TxtCekSecEur;  // over the ticked rows

    // Loads the grid for the selected option (its views made afresh first) and brings the
    // panel forward; "Tümünü Seç" keeps its value.
    void menuAction() override;
    // CEKHESAPLA: the amounts per currency (TL, USD, EURO) over every row and over the
    // ticked ones.
    void HESAPLA() override;

protected:
    void prepareSource(db::Connection& source) override;
    db::Query query() override;
    QList<services::StraySearch> straySearches() override;
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return rows_[row].number; }
    void list(services::Listing& listing) const override;
    console::GridLayout layout() const override;  // GRD9DZN, headers as the option reads them
    void Basla() override;

private:
    // A row of either list: a cheque, shown once per entry or exit record it has and per
    // detail its records differ in (a due date, a bank).
    struct Row {
        QString number;    // Cek_No
        QString currency;  // Para_Birim
        double amount;     // without sign
    };
    bool clearing() const { return Optks.value(); }
    services::ViewSet views();
    void carryCheque(console::Transfer& t, const QString& chequeNo, const db::Value& date);
    void carryRecord(console::Transfer& t, db::Recordset& record, const QString& chequeNo, const db::Value& date);

    console::RowList<Row> rows_;
    int alreadyCarried_ = 0;  // records of this "Başla" found carried before
};

}  // namespace belmo::transfers

#pragma once

#include "services/TemporaryViews.h"
#include "transfers/balances/OpeningBalanceStep.h"

namespace belmo::transfers {

// "Cari Hesaplar ve Bakiyeler": the current accounts (main accounts 120 and 320) with their
// closing balances per currency, from two views built in the source (CMZN + user code + 1
// and 2). "Başla" copies the ticked account cards and posts, per account and currency with
// a balance, an opening entry against "500" / "01" / "001". In the wizard it follows the
// warehouses and is followed by the stock.
class CariHesaplar : public OpeningBalanceStep {
public:
    explicit CariHesaplar(console::StepHost& host);

    widgets::CheckBox bakiyesizleriGizle{QStringLiteral("Bakiyesizleri Gizle")};
    widgets::TextBox TxtYtl, TxtDvz1, TxtDvz2;           // over every row
    widgets::TextBox TxtYtlDvr, TxtDvz1Dvr, TxtDvz2Dvr;  // over the ticked rows
    widgets::TextBox LblKyt;                             // status

    // Loads the grid (its views in the source first) and brings the panel forward.
    void menuAction() override;
    void HESAPLA() override;

protected:
    void prepareSource(db::Connection& source) override;
    db::Query query() override;
    void readRows(console::RowReader& reader) override;
    QList<services::StraySearch> straySearches() override;
    QString rowKey(int row) const override { return rows_[row].code; }
    QString rowLabel(int row) const override { return rows_[row].code + u' ' + rows_[row].title; }
    console::GridLayout layout() const override;
    void post(int row, console::Transfer& t) override;
    void preparePosting() override;
    void list(services::Listing& listing) const override;

private:
    // An account and its balances in TL, USD and EURO, as the views sum them.
    struct Row {
        db::Value mainAccount;  // Ana_Hs
        db::Value group;        // Grupkod
        QString code;           // MID1
        QString title;          // TAMUNVAN
        double balances[3];
    };
    services::ViewSet views();
    void reload();

    console::RowList<Row> rows_;
    int decimals_[3] = {};  // of the amount formats, while a "Başla" posts
};

}  // namespace belmo::transfers

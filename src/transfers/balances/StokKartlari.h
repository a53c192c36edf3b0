#pragma once

#include "services/TemporaryViews.h"
#include "transfers/balances/OpeningBalanceStep.h"

namespace belmo::transfers {

// "Stok Kart ve Bakiyeleri": the stock cards with their stock on hand, per warehouse and
// unit, or with "Lot Kullan" per lot, from two views built in the source (SMZN + user code
// + 1 and 2). "Başla" copies the ticked cards and posts, for every ticked row with stock on
// hand, an opening stock entry into its warehouse at its average purchase price. In the
// wizard it follows the current accounts.
class StokKartlari : public OpeningBalanceStep {
public:
    explicit StokKartlari(console::StepHost& host);

    widgets::CheckBox lotKullan{QStringLiteral("Lot Kullan")};
    widgets::CheckBox bakiyesizleriGizle{QStringLiteral("Bakiyesizleri Gizle")};
    widgets::TextBox TxtMktr;    // quantity over every row
    widgets::TextBox TxtTtr;     // value over every row
    widgets::TextBox TxtSecTtr;  // value over the ticked rows

    // Loads the grid (the views for the lot box's state first) and brings the panel forward.
    void menuAction() override;
    // Fills the empty number cells with zeros and the three totals.
    void HESAPLA() override;

protected:
    void prepareSource(db::Connection& source) override;
    db::Query query() override;
    QList<services::StraySearch> straySearches() override;
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return rows_[row].card; }
    QString rowLabel(int row) const override;
    void list(services::Listing& listing) const override;
    console::GridLayout layout() const override;
    void post(int row, console::Transfer& t) override;
    void preparePosting() override;

private:
    // A card's stock in one warehouse (and lot, with "Lot Kullan"), as the views give it.
    struct Row {
        QString card;       // SID2, the card's key
        QString name;       // Stok_Adi
        QString unit;       // Birim1
        QString warehouse;  // the warehouse's whole code
        db::Value lot;      // Lot_No, Null without lots
        double quantity, price, value;
    };
    // The number formats the grid shows a row's figures in, and what is carried has.
    struct Shown {
        QString quantity, price, value;
    };
    Shown shown();
    bool lots() const { return lotKullan.value() == 1; }
    services::ViewSet views();
    void reload();
    void showZeros();

    console::RowList<Row> rows_;
    struct {
        int quantity = 0, price = 0, value = 0;
    } decimals_;  // of the formats of shown(), while a "Başla" posts
};

}  // namespace belmo::transfers

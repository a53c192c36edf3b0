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
    console::GridLayout layout() const override;
    int keyColumn() const override { return columns().key; }
    void post(int row, console::Transfer& t) override;

private:
    // Where a row's values stand in the grid, with lots and without.
    struct Columns {
        int lot;  // -1 without lots
        int quantity, unit, key, price, value, warehouse;  // warehouse: the hidden code column
        QList<int> prices;  // the price and value cells that are zero when empty
    };
    const Columns& columns() const;
    bool lots() const { return lotKullan.value() == 1; }
    services::ViewSet views();
    void reload();
    void zeroIfEmpty(int row, int col, const QString& format);
};

}  // namespace belmo::transfers

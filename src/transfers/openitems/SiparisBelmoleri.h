#pragma once

#include "console/PreviewStep.h"
#include "db/Value.h"

namespace belmo::db {
class Recordset;
}

namespace belmo::transfers {

// "Sipariş Belmoleri": the open order lines of the source (types 8 and 7, not yet invoiced).
// "Başla" offers to mark the target's orders deleted, then writes for each ticked line a
// new header dated 1 January of the target's period with its account-side and stock-side
// lines, adding the document's invoice settings (Fatura) when the target lacks them (a line
// without a document number has none). In the wizard it follows the stock and is followed by
// the cheques.
class SiparisBelmoleri : public console::PreviewStep {
public:
    explicit SiparisBelmoleri(console::StepHost& host);

    widgets::TextBox TxtSipTtr, TxtSipSecTtr;    // amount over every row, over the ticked rows
    widgets::TextBox TxtSipMktr, TxtSipSecMktr;  // quantity over every row, over the ticked rows
    widgets::ProgressBar bar;

    // SIPHESAPLA: empty quantity and unit-price cells become a formatted 0; the amounts
    // (quantity × unit price per line) and the quantities over every row and the ticked ones.
    void HESAPLA() override;

protected:
    db::Query query() override;                     // SIPFILTRELE
    void readRows(console::RowReader& reader) override;
    QList<services::StraySearch> straySearches() override;
    QString rowKey(int row) const override;
    QString rowLabel(int row) const override;
    void list(services::Listing& listing) const override;
    console::GridLayout layout() const override;  // GRD8DZN
    void colourRows() override;                   // type 7 (BA "-") in red
    void Basla() override;

private:
    // An order line.
    struct Row {
        db::Value header;    // Kayit_No
        QString document;    // Evrak_No
        QString stockCode;   // Stok_Kodu, as the user knows the card
        bool customerOrder;  // type 7, BA "-"
        double quantity;     // ordered in (type 8) or out (type 7)
        double price;        // B_Fiyat
    };
    void showZeros();
    void carry(console::Transfer& t, const Row& line, const db::Value& date, bool invoiceSettings);
    void addInvoiceSettings(console::Transfer& t, const QString& documentNo);
    db::Value addHeader(console::Transfer& t, db::Recordset& source, const db::Value& date);

    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers

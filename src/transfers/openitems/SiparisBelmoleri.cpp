#include "transfers/openitems/SiparisBelmoleri.h"

#include "app/Session.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Errors.h"
#include "transfers/RecordWriting.h"
#include "transfers/openitems/OpenItemWriting.h"
#include "transfers/openitems/OrderQueries.h"

#include <QSet>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;
using db::Value;

namespace {

const QStringList kInvoiceSettings = {u"Evrak_No"_s, u"Kdv_Dahil"_s, u"Genel_Toplam_Isk"_s, u"Toplam_Isk"_s,
                                      u"Isk_BrmFyt"_s, u"Isk"_s, u"KDV"_s, u"Kdv_Var"_s};

}  // namespace

SiparisBelmoleri::SiparisBelmoleri(console::StepHost& host)
    : PreviewStep(host, console::StepId::Siparisler, {.caption = u"Sipariş Belmoleri"_s, .countBoxes = false})
{
    for (widgets::TextBox* box : {&TxtSipTtr, &TxtSipSecTtr, &TxtSipMktr, &TxtSipSecMktr}) box->setText(u"0,00"_s);
    frame.progress.append(&bar);
    frame.boxColumns = 2;
    frame.boxes = {{u"TOPLAM TUTAR"_s, &TxtSipTtr}, {u"BELMO TUTARI"_s, &TxtSipSecTtr},
                   {u"TOPLAM MİKTARI"_s, &TxtSipMktr}, {u"BELMO MİKTARI"_s, &TxtSipSecMktr}};
}

db::Query SiparisBelmoleri::query() { return orderLoader(session().sql); }

void SiparisBelmoleri::list(services::Listing& listing) const
{
    listing.relist(u"siparis"_s);
    for (int r = 1; r <= rows_.size(); ++r) {
        const Row& o = rows_[r];
        listing.orders.push_back(
            {vb::joined(o.header), o.document, o.stockCode, QString(), o.customerOrder, o.quantity, o.price, ticked(r)});
    }
}

void SiparisBelmoleri::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.value(u"Kayit_No"), r.text(u"Evrak_No"), r.text(u"Stok_Kodu"), r.text(u"BA") == u"-"_s,
                   r.number(u"Miktar"), r.number(u"Fiyat")};
    });
}

// The order's header, its lines and its invoice settings, each row known by the header's
// number, as the grid knows an order line.
QList<services::StraySearch> SiparisBelmoleri::straySearches()
{
    const QString orders = u"Kayit.Sil=0 AND Kayit.Evrak_Kodu IN (7,8)"_s;
    const QString locator = u"'Kayit_No ' & Kayit.Kayit_No"_s;
    QList<services::StraySearch> searches = {{u"Kayit"_s, {u"Kayit.Kayit_No"_s}, {}, orders, locator}};
    for (const QString& lines : {u"Stok_Sip"_s, u"Cari_Sip"_s})
        searches.append({lines, {u"Kayit.Kayit_No"_s}, lines + u" INNER JOIN Kayit ON "_s + lines + u".Kayit_No=Kayit.Kayit_No"_s,
                         orders, locator});
    searches.append({u"Fatura"_s, {u"Kayit.Kayit_No"_s}, u"Fatura INNER JOIN Kayit ON Fatura.Evrak_No=Kayit.Evrak_No"_s, orders,
                     u"'Evrak_No ' & Fatura.Evrak_No"_s});
    return searches;
}

QString SiparisBelmoleri::rowKey(int row) const { return vb::joined(rows_[row].header); }

QString SiparisBelmoleri::rowLabel(int row) const
{
    return u"Sipariş "_s + rows_[row].document + u' ' + rows_[row].stockCode;
}

namespace {
// The layout's columns that show the BA, the quantity and the unit price: the display colours
// and fills them.
constexpr int kBAColumn = 9, kQuantityColumn = 10, kPriceColumn = 12;
}  // namespace

console::GridLayout SiparisBelmoleri::layout() const
{
    return {15,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"KytNo"_s, 0, A::CenterTop, A::CenterTop},
             {u"Trh"_s, 0, A::CenterTop, A::CenterTop},
             {u"Tarih"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Evrak No."_s, 1200, A::CenterTop, A::CenterTop},
             {u"Evrak Türü"_s, 2000, A::LeftCenter, A::LeftCenter},
             {u"Hesap Adı"_s, 2000, A::LeftCenter, A::LeftCenter},
             {u"Stok Kodu"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Stok Adı"_s, 2000, A::LeftCenter, A::LeftCenter},
             {u"BA"_s, 500, A::CenterTop, A::CenterTop},
             {u"Miktar"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Birim"_s, 1000, A::CenterTop, A::CenterTop},
             {u"Birim Fiyatı"_s, 1000, A::Amount, A::CenterTop},
             {u"KDV"_s, 1200, A::CenterTop, A::CenterTop},
             {u"İskonto"_s, 1000, A::CenterTop, A::CenterTop}}};
}

void SiparisBelmoleri::colourRows()
{
    for (int r = 1; r <= loadedRows(); ++r) {
        if (!rows_[r].customerOrder) continue;
        grid.setColour(r, kBAColumn, widgets::Grid::kRed);
        grid.setColour(r, kQuantityColumn, widgets::Grid::kRed);
    }
}

// Empty quantity and unit-price cells show zero, as the counter writes them.
void SiparisBelmoleri::showZeros()
{
    const services::NumberFormats& f = session().formats;
    showZeroInEmptyCells({kQuantityColumn}, f.MiktarFormat);
    showZeroInEmptyCells({kPriceColumn}, f.FiyatFormat);
}

// The lines' amounts (quantity × unit price) and quantities, each total rounded once to its
// box's format.
void SiparisBelmoleri::HESAPLA()
{
    services::handle(session().errors(), [this] {
        showZeros();
        double amount = 0, quantity = 0, carriedAmount = 0, carriedQuantity = 0;
        for (int r = 1; r <= loadedRows(); ++r) {
            const Row& line = rows_[r];
            const double value = line.quantity * line.price;
            amount += value;
            quantity += line.quantity;
            if (!ticked(r)) continue;
            carriedAmount += value;
            carriedQuantity += line.quantity;
        }
        const services::NumberFormats& f = session().formats;
        TxtSipTtr.setText(vb::formatNumber(amount, f.TutarFormat));
        TxtSipSecTtr.setText(vb::formatNumber(carriedAmount, f.TutarFormat));
        TxtSipMktr.setText(vb::formatNumber(quantity, f.MiktarFormat));
        TxtSipSecMktr.setText(vb::formatNumber(carriedQuantity, f.MiktarFormat));
    });
}

void SiparisBelmoleri::Basla()
{
    transfer({.writes = {u"Kayit"_s, u"Cari_Sip"_s, u"Stok_Sip"_s, u"Fatura"_s},
              .completion = {{u"Sipariş Belmoleri Tamamlandı."_s, {}}}},
             [this](console::Transfer& t) {
                 const Value date = openingDate(t.target());
                 askToMarkDeleted(t, session().dialogs(),
                                  u"Select * from Kayit inner join Cari_Sip on Kayit.Kayit_No=Cari_Sip.Kayit_No where Sil=0"_s,
                                  u"Hedef Veritabanında zaten kayıtlı siparişler bulunmakta.\r"
                                  u"İşlemin Devam edebilmesi için Hedef veritabanındaki siparişlerin silinmesi gerekiyor.\r"
                                  u"İşleme devam edilsin mi?"_s,
                                  u"UPDATE Kayit SET Sil=1 WHERE Sil=0 AND Kayit_No IN (SELECT Kayit_No FROM Cari_Sip)"_s);
                 bar.setMax(grid.rows() - 1);
                 bar.setValue(0);
                 // The documents whose invoice settings the target holds once a line of theirs
                 // is carried: their further lines need not look.
                 QSet<QString> invoiced;
                 for (int r = 1; r <= loadedRows(); ++r) {
                     const Row& line = rows_[r];
                     if (ticked(r) && carryWhole(t, rowLabel(r), [&] { carry(t, line, date, !invoiced.contains(line.document)); }))
                         invoiced.insert(line.document);
                     bar.setValue(bar.value() + 1);
                     t.pulse();
                 }
                 bar.setValue(bar.max());
             });
}

// One order line: the document's invoice settings when the target lacks them (a line
// without a document number has none to add), a new header, and the line's account side and
// stock side under it.
void SiparisBelmoleri::carry(console::Transfer& t, const Row& line, const Value& date, bool invoiceSettings)
{
    if (invoiceSettings && !line.document.trimmed().isEmpty()) addInvoiceSettings(t, line.document);
    db::Recordset source;
    source.open(u"Select * from Kayit where Sil=0 AND Kayit_No=?"_s, t.source(), CursorType::Static, LockType::ReadOnly,
                {line.header});
    requireRecord(source);
    const Value header = addHeader(t, source, date);
    const Where ofLine = ofHeader(line.header);
    copyLinkedRow(t, u"Cari_Sip"_s, ofLine, header,
                  {u"Aciklama"_s, u"Tutar_Ytl"_s, u"Tutar_Dvz1"_s, u"Tutar_Dvz2"_s, u"B_Fiyat"_s, u"Doviz_Kuru"_s, u"Vade"_s,
                   u"Irs_No"_s, u"Sip_Veren"_s, u"Ftr"_s, u"Irs"_s, u"Evrak_No"_s, u"islem_Dvz"_s, u"iskonto_Oran"_s,
                   u"iskonto"_s},
                  {{u"Plasiyer_Kodu"_s, 0}, {u"Alis_Kyt_No"_s, 0}, {u"Irs_Tarih"_s, date}});
    copyLinkedRow(t, u"Stok_Sip"_s, ofLine, header,
                  {u"Lot_No"_s, u"Stok_Kodu"_s, u"Giren1"_s, u"Cikan1"_s, u"Birim1"_s, u"Giren2"_s, u"Cikan2"_s, u"Birim2"_s,
                   u"Aciklama1"_s, u"Aciklama2"_s, u"Depo_Kodu"_s, u"KDV"_s},
                  {});
}

// One Fatura row per document number: the source's settings, or zeros when the source has
// none either.
void SiparisBelmoleri::addInvoiceSettings(console::Transfer& t, const QString& documentNo)
{
    const QString lookup = u"Select * from Fatura where Evrak_No=?"_s;
    db::Recordset settings;
    settings.open(lookup, t.target(), CursorType::Dynamic, LockType::Optimistic, {documentNo});
    if (!settings.eof()) return;
    db::Recordset source;
    source.open(lookup, t.source(), CursorType::Static, LockType::ReadOnly, {documentNo});
    settings.addNew();
    for (const QString& column : kInvoiceSettings) {
        if (!source.eof())
            copy(settings, source, column);
        else
            assign(settings, column, column == u"Evrak_No"_s ? Value(documentNo) : Value(0));
    }
    settings.update();
}

// The header of the line, dated 1 January. With the posting options KModu 2 and HModu 3, the
// stock card's key moves into the header's stock column and the account column reads "001":
// on the debit side when it is the stock side (153 or 0), otherwise on the credit side.
Value SiparisBelmoleri::addHeader(console::Transfer& t, db::Recordset& source, const Value& date)
{
    db::Recordset header;
    header.open(u"Select * from Kayit where Sil=0"_s, t.target(), CursorType::Dynamic, LockType::Optimistic);
    header.addNew();
    assign(header, u"tarih"_s, date);
    for (const QString& column : {u"B_Hs"_s, u"B_Gr"_s, u"B_MID"_s, u"STKB_MID"_s, u"A_Hs"_s, u"A_Gr"_s, u"A_MID"_s, u"STKA_MID"_s})
        copy(header, source, column);
    if (session().KModu == 2 && session().HModu == 3) {
        const QString side = mainAccountIn(source.value(u"B_Hs"_s), {153, 0}) ? u"B"_s : u"A"_s;
        assign(header, u"STK"_s + side + u"_MID"_s, source.value(side + u"_MID"_s));
        assign(header, side + u"_MID"_s, u"001"_s);
    }
    for (const QString& column : {u"Evrak_Kodu"_s, u"Evrak_No"_s, u"islem_Kod"_s, u"User_Code"_s, u"sil"_s})
        copy(header, source, column);
    header.update();
    return header.value(u"Kayit_No"_s);
}

}  // namespace belmo::transfers

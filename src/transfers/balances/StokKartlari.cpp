#include "transfers/balances/StokKartlari.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Errors.h"
#include "services/KayitDegerleri.h"
#include "services/Posting.h"
#include "services/TemporaryViews.h"
#include "transfers/balances/StockQueries.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::Value;

namespace {
const QString kViews = u"SMZN"_s;
}

StokKartlari::StokKartlari(console::StepHost& host)
    : OpeningBalanceStep(
          host, console::StepId::Stok, u"Stok Kart ve Bakiye Belmoleri"_s,
          {.table = u"Stok_Tanim"_s,
           .key = u"SID2"_s,
           .except = QString(),
           .columns = {u"SID1"_s,      u"SID2"_s,      u"Stok_Kodu"_s,  u"Stok_Adi"_s,   u"Aciklama"_s,   u"Stok_Grubu"_s,
                       u"Fiyat1"_s,    u"Fyt1_Birim"_s, u"Fiyat2"_s,    u"Fyt2_Birim"_s, u"Fiyat3"_s,     u"Fyt3_Birim"_s,
                       u"Birim1"_s,    u"Birim2"_s,    u"Birim_Carpan"_s, u"KDV"_s,      u"Barkod"_s,     u"Stok_Kodu2"_s,
                       u"En"_s,        u"Boy"_s,       u"Yukseklik"_s,  u"A_Hs"_s,       u"IMAGE_PATH"_s, u"Depo_Kodu"_s,
                       u"sil"_s,       u"Hiz_Al_Fyt"_s, u"Hiz_Sat_Fyt"_s, u"Min_St"_s,   u"Max_St"_s,     u"Stok_Tipi"_s,
                       u"Hizmet"_s,    u"Marka"_s},
           .mainAccounts = u"610,621,600,150,151,152,153,157,0"_s,
           .entries = {u"Kayit"_s, u"Cari_H"_s, u"Stok_H"_s, u"Evr"_s}},
          u"Stok Kartarı ve Stok Bakiyeleri Belmo İşlemi Tamamlandı."_s)
{
    frame.options.prepend(&bakiyesizleriGizle);
    frame.options.prepend(&lotKullan);
    for (widgets::TextBox* box : {&TxtMktr, &TxtTtr, &TxtSecTtr}) box->setText(u"0,00"_s);
    frame.boxes = {{u"STOK MİKTARI"_s, &TxtMktr}, {u"TOPLAM TUTAR"_s, &TxtTtr}, {u"BELMO TUTARI"_s, &TxtSecTtr}};
    lotKullan.onChange = [this] {
        reload();
    };
    bakiyesizleriGizle.onChange = [this] { reload(); };
}

void StokKartlari::menuAction()
{
    reload();
    host().showPanel(frame);
}

services::ViewSet StokKartlari::views() { return {kViews, session().KullaniciKodu}; }

// The views for the lot box's state, made afresh before every load.
void StokKartlari::prepareSource(db::Connection& source)
{
    buildStockViews(source, views(), lots());
}

// The live cards, their stock lines and the purchase lines their prices come from.
QList<services::StraySearch> StokKartlari::straySearches()
{
    const QString locator = u"'Kayit_No ' & Kayit.Kayit_No"_s;
    return {{u"Stok_Tanim"_s, {u"Stok_Tanim.SID2"_s}, {}, u"Stok_Tanim.Sil=0"_s},
            {u"Stok_H"_s, {u"Stok_H.Stok_Kodu"_s}, u"Stok_H INNER JOIN Kayit ON Stok_H.Kayit_No=Kayit.Kayit_No"_s,
             u"Kayit.Sil=0"_s, locator, {u"Giren1"_s, u"Cikan1"_s}},
            {u"Cari_H"_s, {u"Kayit.B_MID"_s}, u"Cari_H INNER JOIN Kayit ON Cari_H.Kayit_No=Kayit.Kayit_No"_s,
             u"Kayit.Sil=0 AND Kayit.B_Hs IN (153,0)"_s, locator, {u"Tutar_Ytl"_s, u"B_Fiyat"_s}}};
}

// The loader with the progress bar around it; every row ticked again.
void StokKartlari::reload()
{
    bar.setValue(0);
    FILTRELE();
    bar.setMax(grid.rows());
    bar.setValue(bar.max());
    tumunuSec.setValue(1);
}

db::Query StokKartlari::query()
{
    const QString stem = views().stem();
    const bool positiveOnly = bakiyesizleriGizle.value() == 1;
    return lots() ? stockLotLoader(session().sql, stem, positiveOnly) : stockLoader(session().sql, stem, positiveOnly);
}

void StokKartlari::readRows(console::RowReader& reader)
{
    const bool lot = lots();
    rows_.read(reader, [lot](console::RowReader& r) {
        return Row{r.text(u"Kart"), r.text(u"Stok_Adi"), r.text(u"Birim1"), r.text(u"Depo_Kodu"),
                   lot ? r.value(u"Lot_No") : db::Value::null(), r.number(u"HamMiktar"), r.number(u"HamFiyat"),
                   r.number(u"HamTutar")};
    });
}

void StokKartlari::list(services::Listing& listing) const
{
    listing.relist(u"stok"_s);
    listing.lots = lots();
    for (int r = 1; r <= rows_.size(); ++r) {
        const Row& s = rows_[r];
        listing.stock.push_back({s.card, s.warehouse, vb::joined(s.lot), s.quantity, s.value, ticked(r)});
    }
}

QString StokKartlari::rowLabel(int row) const
{
    const Row& stock = rows_[row];
    return stock.card + u' ' + stock.name + u' ' + stock.warehouse;
}

// The loaders' raw figures after the grid's columns are not shown.
console::GridLayout StokKartlari::layout() const
{
    if (lots())
        return {14,
                {{QString(), 280, A::CenterTop},
                 {u"Lot No."_s, 1000, A::CenterTop},
                 {u"Stok Kodu"_s, 1500, A::CenterTop},
                 {u"Stok Adı"_s, 3000, A::LeftCenter},
                 {u"Grubu"_s, 2000, A::LeftCenter},
                 {u"Açıklama"_s, 3000, A::LeftCenter},
                 {u"Miktar"_s, 1000, A::CenterTop},
                 {u"Birim"_s, 1000, A::CenterTop},
                 {u"SID2"_s, 0, A::CenterTop},
                 {u"Brm.Fyt."_s, 1200, A::Amount},
                 {u"Tutar"_s, 1200, A::Amount},
                 {u"Depo"_s, 2000},
                 {u"SID2"_s, 0},
                 {u"Depo Kodu"_s, 0}}};
    return {15,
            {{u"Boş"_s, 280, A::CenterTop},
             {u"Stok Kodu"_s, 1500, A::CenterTop},
             {u"Stok Adı"_s, 3000, A::LeftCenter},
             {u"Grubu"_s, 2000, A::LeftCenter},
             {u"Açıklama"_s, 3000, A::LeftCenter},
             {u"Miktar"_s, 1000, A::CenterTop},
             {u"Birim"_s, 1000, A::CenterTop},
             {u"SID2"_s, 0, A::CenterTop},
             {u"SID2"_s, 0, A::CenterTop},
             {u"Ort.Al.Fyt."_s, 1200, A::Amount},
             {u"Maks.Al."_s, 1200, A::Amount},
             {u"Min.Al."_s, 1200, A::Amount},
             {u"Tutar"_s, 1200, A::Amount},
             {u"Depo"_s, 2000, A::LeftCenter},
             {u"Depo Kodu"_s, 0}}};
}

// The lot loader shows the unit price in the amount format and the value in the price format.
StokKartlari::Shown StokKartlari::shown()
{
    const services::NumberFormats& f = session().formats;
    if (lots()) return {f.MiktarFormat, f.TutarFormat, f.FiyatFormat};
    return {f.MiktarFormat, f.FiyatFormat, f.TutarFormat};
}

// Empty quantity and price cells show zero, as the totaller writes them.
void StokKartlari::showZeros()
{
    const services::NumberFormats& f = session().formats;
    showZeroInEmptyCells({lots() ? 6 : 5}, f.MiktarFormat);
    showZeroInEmptyCells(lots() ? QList<int>{9, 10} : QList<int>{9, 10, 11, 12}, f.FiyatFormat);
}

// The totals of the rows' figures, each rounded once to its box's format.
void StokKartlari::HESAPLA()
{
    services::handle(session().errors(), [this] {
        showZeros();
        double quantity = 0, value = 0, carried = 0;
        for (int r = 1; r <= loadedRows(); ++r) {
            quantity += rows_[r].quantity;
            value += rows_[r].value;
            if (ticked(r)) carried += rows_[r].value;
        }
        const services::NumberFormats& f = session().formats;
        TxtTtr.setText(vb::formatNumber(value, f.TutarFormat));
        TxtSecTtr.setText(vb::formatNumber(carried, f.TutarFormat));
        TxtMktr.setText(vb::formatNumber(quantity, f.FiyatFormat));
    });
}

// One opening stock entry for a row with stock on hand: the card on the debit side against
// "500" / "01" / "001", the quantity into the row's warehouse (its whole code) at the row's
// average price. A row that fails (its card gone from the source, say) is listed and the
// next follows.
// The figures carry the decimals the grid shows them with.
void StokKartlari::preparePosting()
{
    const Shown formats = shown();
    decimals_ = {vb::shownDecimals(formats.quantity), vb::shownDecimals(formats.price), vb::shownDecimals(formats.value)};
}

void StokKartlari::post(int row, console::Transfer& t)
{
    const Row& stock = rows_[row];
    const double quantity = vb::roundToDecimals(stock.quantity, decimals_.quantity);
    if (quantity <= 0) return;
    t.row(rowLabel(row), [&] {
        const QString& key = stock.card;
        db::Recordset card;
        card.open(u"Select * from Stok_Tanim where SID2=?"_s, t.source(), db::CursorType::Static, db::LockType::ReadOnly,
                  {key});

        services::KayitDegerleri& k = newEntry();
        const bool stockColumns = session().HModu == 3;  // the key in the header's stock columns
        sides(k, card.value(u"A_Hs"_s), card.value(u"Stok_Grubu"_s), stockColumns ? Value(u"001"_s) : Value(key), false);
        if (stockColumns) {
            k.STKB_MID = key;
            k.STKA_MID = QString();
        }
        k.islem_Dvz = u"TL"_s;
        k.Tutar_Ytl = vb::roundToDecimals(stock.value, decimals_.value);
        k.Tutar_Dvz1 = 0.0;
        k.Tutar_Dvz2 = 0.0;
        k.Doviz_Kuru = 0.0;
        k.B_Fiyat = vb::roundToDecimals(stock.price, decimals_.price);
        k.KDV = card.value(u"KDV"_s);
        k.Vade = QString();
        k.Stok_Kodu = key;
        k.Giren1 = quantity;
        k.Cikan1 = k.Giren2 = k.Cikan2 = 0.0;
        k.Birim1 = stock.unit;
        k.Birim2 = QString();
        k.Aciklama1 = u"STOK BELMO"_s;
        k.Aciklama2 = QString();
        k.Depo_Kodu = stock.warehouse;
        k.Lot_No = stock.lot.isNull() ? Value(0) : stock.lot;
        services::STOKHAREKETEKLE(t.ledger());
    });
}

}  // namespace belmo::transfers

#include "transfers/openitems/CekBelmoleri.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/JetFunctions.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Errors.h"
#include "transfers/RecordWriting.h"
#include "transfers/openitems/ChequeQueries.h"
#include "transfers/openitems/OpenItemWriting.h"

#include <QSet>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;
using db::Value;

namespace {

const QString kViews = u"CK"_s;
const QStringList kCurrencies = {u"TL"_s, u"USD"_s, u"EURO"_s};

// The transaction the carried headers of one-sided portfolio records get.
void guaranteeTransaction68(db::Connection& target)
{
    db::Recordset rs;
    rs.open(u"Select * from islem where islem_Kod=68"_s, target, CursorType::Dynamic, LockType::Optimistic);
    if (rs.eof()) {
        rs.addNew();
        const std::pair<QString, Value> definition[] = {
            {u"islem_Kod"_s, 68},       {u"islem"_s, u"ÇEK BELMO İŞLEMİ"_s}, {u"B_Ana_Hs"_s, 101},
            {u"A_Ana_Hs"_s, 500},       {u"Hesap_Tur"_s, u"C"_s},            {u"Msj1"_s, u""_s},
            {u"Msj2"_s, u""_s},         {u"Evrak_Kodu"_s, 15},               {u"sil"_s, 0}};
        for (const auto& [column, value] : definition) assign(rs, column, value);
    } else {
        assign(rs, u"sil"_s, 0);  // a definition marked deleted comes back
    }
    rs.update();
}

// A record an earlier "Başla" has carried: a live header of the target with the record's
// document number, dated the opening day, holding a row of this cheque.
bool carriedBefore(db::Connection& target, db::Recordset& record, const QString& chequeNo, const Value& date)
{
    db::Recordset rs;
    rs.open(u"Select Kayit.Kayit_No from Kayit inner join Cek_ on Cek_.Kayit_No=Kayit.Kayit_No "
            u"where Kayit.Sil=0 and Kayit.Evrak_No IS ? and Cek_.Cek_No=? and Kayit.tarih=?"_s,
            target, CursorType::Static, LockType::ReadOnly, {record.value(u"Evrak_No"_s), chequeNo, date});
    return !rs.eof();
}

}  // namespace

CekBelmoleri::CekBelmoleri(console::StepHost& host)
    : PreviewStep(host, console::StepId::Cekler, {.caption = u"Çek Belmoleri"_s, .countBoxes = false, .loaderCallsCounter = true})
{
    widgets::OptionButton::group({&OpGiren, &Optks});
    OpGiren.setValue(true);
    frame.choices = {&OpGiren, &Optks};
    frame.search = &BtnAra;
    frame.progress.append(&barcek);
    for (widgets::TextBox* box : {&TxtCekYtl, &TxtCekUsd, &TxtCekEur, &TxtCekSecYtl, &TxtCekSecUsd, &TxtCekSecEur})
        box->setText(u"0,00"_s);
    frame.table = {{u"YTL TUTAR"_s, u"USD TUTAR"_s, u"EURO TUTAR"_s},
                   {{u"TOPLAM TUTAR"_s, {&TxtCekYtl, &TxtCekUsd, &TxtCekEur}},
                    {u"BELMO TUTARI"_s, {&TxtCekSecYtl, &TxtCekSecUsd, &TxtCekSecEur}}}};
    BtnAra.onClick = [this] { FILTRELE(); };
}

services::ViewSet CekBelmoleri::views() { return {kViews, session().KullaniciKodu}; }

void CekBelmoleri::menuAction()
{
    FILTRELE();
    host().showPanel(frame);
}

// Every slot made afresh before every load: with its first definition, or where the source
// refuses that one (a source whose Cek_ has no Gizle column), with its fallback. A fallback
// that is refused too fails the load.
void CekBelmoleri::prepareSource(db::Connection& source)
{
    buildChequeViews(source, views());
}

db::Query CekBelmoleri::query()
{
    const QString stem = views().stem();
    return clearing() ? chequeClearingLoader(session().sql, stem) : chequePortfolioLoader(session().sql, stem);
}

void CekBelmoleri::list(services::Listing& listing) const
{
    const QString list = clearing() ? Optks.caption() : OpGiren.caption();
    listing.relist(u"cek"_s, list);
    for (int r = 1; r <= rows_.size(); ++r)
        listing.cheques.push_back({list, rows_[r].number, rows_[r].currency, rows_[r].amount, ticked(r)});
}

void CekBelmoleri::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) { return Row{r.text(u"Cek_No"), r.text(u"Para_Birim"), r.number(u"Tutar")}; });
}

// The records of every cheque, each known by its cheque number: a value that cannot be read
// may keep a cheque off either list, so every one is told.
QList<services::StraySearch> CekBelmoleri::straySearches()
{
    const QString locator = u"'Kayit_No ' & Kayit.Kayit_No"_s;
    return {{u"Cek_"_s, {u"Cek_.Cek_No"_s}, u"Cek_ INNER JOIN Kayit ON Cek_.Kayit_No=Kayit.Kayit_No"_s, u"Kayit.Sil=0"_s, locator},
            {u"Cari_H"_s, {u"Cek_.Cek_No"_s},
             u"(Cari_H INNER JOIN Kayit ON Cari_H.Kayit_No=Kayit.Kayit_No) INNER JOIN Cek_ ON Cek_.Kayit_No=Kayit.Kayit_No"_s,
             u"Kayit.Sil=0"_s, locator}};
}

// The portfolio lists a cheque by its entry, the clearing by its exit: the columns that
// tell where it came from and where it went change places with the option.
console::GridLayout CekBelmoleri::layout() const
{
    const bool c = clearing();
    const QString entryDocument = u"Gir.Bordro"_s, exitDocument = u"Çık.Bordro"_s;
    const QString from = u"Kimden Alındığı"_s, to = u"Kime Verildiği"_s;
    const QString received = u"Alınış Tarihi"_s, given = u"Veriliş Tarihi"_s;
    return {16,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {c ? exitDocument : entryDocument, 1200, A::CenterTop, A::CenterTop},
             {u"Tutar"_s, 1800, A::Amount, A::CenterTop},
             {u"Para Birimi"_s, 1000, A::CenterTop, A::CenterTop},
             {u"Vade"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Çek No."_s, 1200, A::CenterTop, A::CenterTop},
             {u"Bankası"_s, 2000, A::LeftCenter, A::LeftCenter},
             {u"Şubesi"_s, 2000, A::LeftCenter, A::LeftCenter},
             {c ? to : from, 2000, A::LeftCenter, A::LeftCenter},
             {c ? given : received, 1200, A::CenterTop, A::CenterTop},
             {c ? entryDocument : exitDocument, 1800, A::CenterTop, A::CenterTop},
             {c ? from : to, 2000, A::LeftCenter, A::LeftCenter},
             {c ? received : given, 1200, A::CenterTop, A::CenterTop},
             {QString(), 0, A::CenterTop, A::CenterTop},
             {c ? QString() : u"Açıklama"_s, 0, A::LeftCenter, A::LeftCenter},
             {u"Açıklama"_s, 2000, A::LeftCenter, A::LeftCenter}}};
}

// The amounts summed per currency and rounded once, to the currency's amount format.
void CekBelmoleri::HESAPLA()
{
    services::handle(session().errors(), [this] {
        double all[3] = {}, carried[3] = {};
        for (int r = 1; r <= loadedRows(); ++r) {
            const Row& cheque = rows_[r];
            const qsizetype i = kCurrencies.indexOf(cheque.currency);
            if (i < 0) continue;  // a currency the panel does not total
            all[i] += cheque.amount;
            if (ticked(r)) carried[i] += cheque.amount;
        }
        const services::NumberFormats& f = session().formats;
        widgets::TextBox* totals[] = {&TxtCekYtl, &TxtCekUsd, &TxtCekEur};
        widgets::TextBox* ticked[] = {&TxtCekSecYtl, &TxtCekSecUsd, &TxtCekSecEur};
        for (int i = 0; i < 3; ++i) {
            totals[i]->setText(vb::formatNumber(all[i], f.amountFormat(i)));
            ticked[i]->setText(vb::formatNumber(carried[i], f.amountFormat(i)));
        }
    });
}

void CekBelmoleri::Basla()
{
    // The completion message learns below how many records an earlier "Başla" had carried.
    console::TransferPlan plan{.writes = {u"islem"_s, u"Kayit"_s, u"Cari_H"_s, u"Cek_"_s},
                               .completion = {{u"Çek Belmoleri Tamamlandı."_s, {}}}};
    transfer(plan, [this, &plan](console::Transfer& t) {
        alreadyCarried_ = 0;
        guaranteeTransaction68(t.target());
        const Value date = openingDate(t.target());
        barcek.setMax(grid.rows());
        barcek.setValue(0);
        // A cheque's history is written once, whichever of its rows are ticked, and
        // not at all when one of its rows is refused.
        QSet<QString> done;
        for (int r = 1; r <= loadedRows(); ++r)
            if (refused(r)) done.insert(db::jet::foldedText(rows_[r].number));
        for (const int r : tickedRows()) {
            const QString& chequeNo = rows_[r].number;
            const QString once = db::jet::foldedText(chequeNo);
            if (done.contains(once)) continue;
            done.insert(once);
            carryWhole(t, u"Çek "_s + chequeNo, [&] { carryCheque(t, chequeNo, date); });
            barcek.setValue(r);
        }
        barcek.setValue(barcek.max());
        if (alreadyCarried_ > 0)
            plan.completion.front().text +=
                u"\rHedefte zaten bulunan %1 çek kaydı yeniden yazılmadı."_s.arg(alreadyCarried_);
    });
}

// Every live record of the cheque's history, in the order the source holds them.
void CekBelmoleri::carryCheque(console::Transfer& t, const QString& chequeNo, const Value& date)
{
    db::Recordset records;
    records.open(u"Select Kayit.* from Kayit inner join Cek_ on Cek_.Kayit_No=Kayit.Kayit_No where Sil=0 AND Cek_.Cek_No=? "_s,
                 t.source(), CursorType::Static, LockType::ReadOnly, {chequeNo});
    requireRecord(records);
    for (; !records.eof(); records.moveNext()) carryRecord(t, records, chequeNo, date);
}

// One record: a new header with the sides by the case of the portfolio, then the record's
// current-account line and the cheque's row under it.
void CekBelmoleri::carryRecord(console::Transfer& t, db::Recordset& record, const QString& chequeNo, const Value& date)
{
    if (carriedBefore(t.target(), record, chequeNo, date)) {
        ++alreadyCarried_;
        return;
    }
    db::Recordset header;
    header.open(u"Select * from Kayit where Sil=0"_s, t.target(), CursorType::Dynamic, LockType::Optimistic);
    header.addNew();
    assign(header, u"tarih"_s, date);
    // Main account 101 is the portfolio.
    const bool debit = mainAccountIn(record.value(u"B_Hs"_s), {101}), credit = mainAccountIn(record.value(u"A_Hs"_s), {101});
    if (debit || credit) {
        // A side on 101 stays as it was; the other becomes the opening counter-account.
        for (const auto& [side, kept] : {std::pair{u"B_"_s, debit}, std::pair{u"A_"_s, credit}}) {
            const QStringList columns = {side + u"Hs"_s, side + u"Gr"_s, side + u"MID"_s};
            const Value counter[] = {500, u"01"_s, u"001"_s};
            for (int i = 0; i < 3; ++i) {
                if (kept)
                    copy(header, record, columns[i]);
                else
                    assign(header, columns[i], counter[i]);
            }
        }
        if (debit && credit)
            copy(header, record, u"islem_Kod"_s);
        else
            assign(header, u"islem_Kod"_s, 68);
    }
    assign(header, u"Evrak_Kodu"_s, 15);
    for (const QString& column : {u"Evrak_No"_s, u"User_Code"_s, u"sil"_s}) copy(header, record, column);
    header.update();
    const Value newHeader = header.value(u"Kayit_No"_s);
    const Where ofOldHeader = ofHeader(record.value(u"Kayit_No"_s));

    copyLinkedRow(t, u"Cari_H"_s, ofOldHeader, newHeader,
                  {u"Aciklama"_s, u"Tutar_Ytl"_s, u"Tutar_Dvz1"_s, u"Tutar_Dvz2"_s, u"B_Fiyat"_s, u"Doviz_Kuru"_s, u"Vade"_s,
                   u"Irs_No"_s, u"islem_Dvz"_s, u"iskonto_Oran"_s, u"iskonto"_s},
                  {{u"Plasiyer_Kodu"_s, 0}, {u"Alis_Kyt_No"_s, 0}, {u"Irs_Tarih"_s, date}});
    // The row of this cheque: a document that took several cheques holds a row for each.
    copyLinkedRow(t, u"Cek_"_s, {ofOldHeader.condition + u" AND Cek_No=?"_s, ofOldHeader.values + QList<Value>{chequeNo}},
                  newHeader,
                  {u"Kimden"_s, u"Cek_No"_s, u"Hesap_No"_s, u"Banka"_s, u"Sube"_s, u"Vade"_s, u"Tutar"_s, u"Para_Birim"_s,
                   u"Yetkili"_s, u"Gizle"_s},
                  {{u"tarih"_s, date}});
}

}  // namespace belmo::transfers

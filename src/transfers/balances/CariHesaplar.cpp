#include "transfers/balances/CariHesaplar.h"

#include "app/Session.h"
#include "db/VbConvert.h"
#include "services/Errors.h"
#include "services/KayitDegerleri.h"
#include "services/Posting.h"
#include "services/TemporaryViews.h"
#include "transfers/balances/CurrentAccountQueries.h"

#include <cmath>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;

namespace {

const QString kViews = u"CMZN"_s;

// The currencies of the balances, in the order of the grid's columns and of Row::balances.
const QString kCurrencies[] = {u"TL"_s, u"USD"_s, u"EURO"_s};

}  // namespace

CariHesaplar::CariHesaplar(console::StepHost& host)
    : OpeningBalanceStep(host, console::StepId::CariHesaplar, u"Cari Hesaplar ve Bakiye Belmoi"_s,
                         {.table = u"Hesaplar"_s,
                          .key = u"MID1"_s,
                          .except = u"MID1<>'000'"_s,
                          .columns = {u"Sira_No"_s, u"MID2"_s,   u"MID1"_s,     u"UNVAN"_s,    u"TAMUNVAN"_s, u"YETKILI"_s,
                                      u"Adres"_s,   u"Sehir"_s,  u"Ilce"_s,     u"Tel1"_s,     u"Tel2"_s,     u"Fax"_s,
                                      u"Gsm"_s,     u"Email"_s,  u"Ana_Hs"_s,   u"Vergi_D"_s,  u"Vergi_No"_s, u"Not"_s,
                                      u"Grupkod"_s, u"KDV"_s,    u"isk1"_s,     u"isk2"_s,     u"isk3"_s,     u"Para_Birim"_s,
                                      u"Web"_s,     u"sil"_s,    u"Ulke"_s},
                          .mainAccounts = u"320,120"_s,
                          .entries = {u"Kayit"_s, u"Cari_H"_s, u"Evr"_s}},
                         u"Cari Hesap Belmo İşlemleri Tamamlandı."_s)
{
    frame.options.prepend(&bakiyesizleriGizle);
    frame.labels.append(&LblKyt);
    frame.boxColumns = 3;
    for (const auto& [label, box] : {std::pair{u"TOPLAM YTL"_s, &TxtYtl}, {u"TOPLAM USD"_s, &TxtDvz1},
                                     {u"TOPLAM EURO"_s, &TxtDvz2}, {u"BELMO YTL"_s, &TxtYtlDvr},
                                     {u"BELMO USD"_s, &TxtDvz1Dvr}, {u"BELMO EURO"_s, &TxtDvz2Dvr}})
        frame.boxes.append({label, box});
    bakiyesizleriGizle.onChange = [this] { reload(); };
}

services::ViewSet CariHesaplar::views() { return {kViews, session().KullaniciKodu}; }

void CariHesaplar::menuAction()
{
    reload();
    host().showPanel(frame);
}

// The two views, made afresh before every load.
void CariHesaplar::prepareSource(db::Connection& source)
{
    buildCurrentAccountViews(source, views(), session().sql);
}

// The live cards, and the amounts of the lines of every live header with a current account
// on either side, each line belonging to the account of each such side.
QList<services::StraySearch> CariHesaplar::straySearches()
{
    const auto account = [](const QString& side) {
        return u"IIF(Kayit.%1_Hs IN (120,320), Kayit.%1_MID, NULL)"_s.arg(side);
    };
    return {{u"Hesaplar"_s, {u"Hesaplar.MID1"_s}, {}, u"Hesaplar.Sil=0"_s},
            {u"Cari_H"_s, {account(u"B"_s), account(u"A"_s)}, u"Cari_H INNER JOIN Kayit ON Cari_H.Kayit_No=Kayit.Kayit_No"_s,
             u"Kayit.Sil=0 AND (Kayit.B_Hs IN (120,320) OR Kayit.A_Hs IN (120,320))"_s, u"'Kayit_No ' & Kayit.Kayit_No"_s,
             {u"Tutar_Ytl"_s, u"Tutar_Dvz1"_s, u"Tutar_Dvz2"_s}}};
}

// The loader with the progress bar and the status around it; every row ticked again.
void CariHesaplar::reload()
{
    bar.setMax(grid.rows());
    bar.setValue(0);
    FILTRELE();
    bar.setValue(bar.max());
    LblKyt.setText(u"Tamamlandı."_s);
    tumunuSec.setValue(1);
}

db::Query CariHesaplar::query()
{
    return currentAccountLoader(session().sql, views().stem(), bakiyesizleriGizle.value() == 1);
}

void CariHesaplar::list(services::Listing& listing) const
{
    listing.relist(u"cari"_s);
    for (int r = 1; r <= rows_.size(); ++r) {
        const Row& a = rows_[r];
        listing.accounts.push_back({vb::joined(a.mainAccount), vb::joined(a.group), a.code, a.title,
                                    {a.balances[0], a.balances[1], a.balances[2]}, ticked(r)});
    }
}

void CariHesaplar::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.value(u"Deyim1"), r.value(u"Deyim2"), r.text(u"Deyim3"), r.text(u"Deyim4"),
                   {r.number(u"Ytl"), r.number(u"Dvz1"), r.number(u"Dvz2")}};
    });
}

// The loader's three raw balances after the eight columns are not shown.
console::GridLayout CariHesaplar::layout() const
{
    return {8,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"A.Hsp.Kodu"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Grp.Kd."_s, 1200, A::CenterTop, A::CenterTop},
             {u"Hsp.Kod"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Hesap Adı/Ünvanı"_s, 3500, A::LeftCenter, A::LeftCenter},
             {u"Tutar TL"_s, 1500, A::Amount, A::CenterTop},
             {u"Tutar USD"_s, 1500, A::Amount, A::CenterTop},
             {u"Tutar EURO"_s, 1500, A::Amount, A::CenterTop}}};
}

// The balance sums per currency, over every row and over the ticked ones, each rounded once
// to its currency's format.
void CariHesaplar::HESAPLA()
{
    services::handle(session().errors(), [this] {
        double all[3] = {}, carried[3] = {};
        for (int r = 1; r <= loadedRows(); ++r) {
            for (int i = 0; i < 3; ++i) {
                all[i] += rows_[r].balances[i];
                if (ticked(r)) carried[i] += rows_[r].balances[i];
            }
        }
        const services::NumberFormats& f = session().formats;
        widgets::TextBox* totals[] = {&TxtYtl, &TxtDvz1, &TxtDvz2};
        widgets::TextBox* ticked[] = {&TxtYtlDvr, &TxtDvz1Dvr, &TxtDvz2Dvr};
        for (int i = 0; i < 3; ++i) {
            totals[i]->setText(vb::formatNumber(all[i], f.amountFormat(i)));
            ticked[i]->setText(vb::formatNumber(carried[i], f.amountFormat(i)));
        }
    });
}

// One entry per currency with a balance: the account on the debit side for a debit
// balance, on the credit side for a credit one, the amount always positive and only in the
// currency's own member. The balance carries the decimals of its currency's amount format,
// as the grid shows it.
void CariHesaplar::preparePosting()
{
    for (int i = 0; i < 3; ++i) decimals_[i] = vb::shownDecimals(session().formats.amountFormat(i));
}

void CariHesaplar::post(int row, console::Transfer& t)
{
    const Row& account = rows_[row];
    for (int i = 0; i < 3; ++i) {
        const double balance = vb::roundToDecimals(account.balances[i], decimals_[i]);
        if (balance == 0) continue;
        t.row(rowLabel(row) + u' ' + kCurrencies[i], [&] {
            services::KayitDegerleri& k = newEntry();
            sides(k, account.mainAccount, account.group, account.code, balance < 0);
            k.Aciklama = QString();
            k.islem_Dvz = kCurrencies[i];
            k.Tutar_Ytl = i == 0 ? std::abs(balance) : 0.0;
            k.Tutar_Dvz1 = i == 1 ? std::abs(balance) : 0.0;
            k.Tutar_Dvz2 = i == 2 ? std::abs(balance) : 0.0;
            services::CARIHAREKETEKLE(t.ledger());
        });
    }
}

}  // namespace belmo::transfers

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

// The balance columns of the grid and the amount member each currency is posted in.
struct Currency {
    QString code;
    int col;
};
const Currency kCurrencies[] = {{u"TL"_s, 5}, {u"USD"_s, 6}, {u"EURO"_s, 7}};

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
    const services::Fragments& f = session().sql;
    services::GORUNUMSIL(source, views(), 1);
    services::GORUNUMOLUSTUR(source, views(), 1, currentAccountDebitView(f));
    services::GORUNUMSIL(source, views(), 2);
    services::GORUNUMOLUSTUR(source, views(), 2, currentAccountCreditView(f));
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

console::GridLayout CariHesaplar::layout() const
{
    return {{},
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"A.Hsp.Kodu"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Grp.Kd."_s, 1200, A::CenterTop, A::CenterTop},
             {u"Hsp.Kod"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Hesap Adı/Ünvanı"_s, 3500, A::LeftCenter, A::LeftCenter},
             {u"Tutar TL"_s, 1500, A::Amount, A::CenterTop},
             {u"Tutar USD"_s, 1500, A::Amount, A::CenterTop},
             {u"Tutar EURO"_s, 1500, A::Amount, A::CenterTop}}};
}

// The balance sums per currency, over every row and over the ticked ones.
void CariHesaplar::HESAPLA()
{
    services::handle(session().errors(), [this] {
        double all[3] = {}, carried[3] = {};
        for (int r = 1; r < grid.rows(); ++r) {
            for (int i = 0; i < 3; ++i) {
                const double v = figure(r, kCurrencies[i].col);
                all[i] += v;
                if (ticked(r)) carried[i] += v;
            }
        }
        const services::NumberFormats& f = session().formats;
        const QString* formats[] = {&f.TutarFormat, &f.Dvz1TutarFormat, &f.Dvz2TutarFormat};
        widgets::TextBox* totals[] = {&TxtYtl, &TxtDvz1, &TxtDvz2};
        widgets::TextBox* ticked[] = {&TxtYtlDvr, &TxtDvz1Dvr, &TxtDvz2Dvr};
        for (int i = 0; i < 3; ++i) {
            totals[i]->setText(vb::formatNumber(all[i], *formats[i]));
            ticked[i]->setText(vb::formatNumber(carried[i], *formats[i]));
        }
    });
}

// One entry per currency with a balance: the account on the debit side for a debit
// balance, on the credit side for a credit one, the amount always positive and only in the
// currency's own member. A balance that shows no number (a sum too large to be one) is
// listed, not posted.
void CariHesaplar::post(int row, console::Transfer& t)
{
    for (const Currency& c : kCurrencies) {
        const QString shown = cell(row, c.col).trimmed();
        const std::optional<double> balanceShown = vb::parseNumber(shown);
        if (shown.isEmpty() || (balanceShown && *balanceShown == 0)) continue;
        t.row(cell(row, 3) + u' ' + cell(row, 4) + u' ' + c.code, [&] {
            const double balance = amount(row, c.col);
            services::KayitDegerleri& k = newEntry(t);
            sides(k, cell(row, 1), cell(row, 2), cell(row, 3), balance < 0);
            k.Aciklama = QString();
            k.islem_Dvz = c.code;
            k.Tutar_Ytl = c.col == 5 ? std::abs(balance) : 0.0;
            k.Tutar_Dvz1 = c.col == 6 ? std::abs(balance) : 0.0;
            k.Tutar_Dvz2 = c.col == 7 ? std::abs(balance) : 0.0;
            services::CARIHAREKETEKLE(t.ledger());
        });
    }
}

}  // namespace belmo::transfers

#include "transfers/openitems/TaksitBelmoleri.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "transfers/RecordWriting.h"
#include "transfers/openitems/InstalmentQueries.h"
#include "transfers/openitems/OpenItemWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;
using db::Value;

namespace {

// The columns a carried instalment takes from the source, in this order; ID is the target's.
const QStringList kCarried = {u"Vade_Tarihi"_s, u"Taksit_Sayisi"_s, u"MID1"_s,       u"Grup_Kodu"_s,
                              u"Ana_Hs"_s,      u"Evrak_No"_s,      u"Tutar"_s,      u"Doviz_Kuru"_s,
                              u"Para_Birim"_s,  u"sil"_s,           u"Aciklama"_s,   u"Kayit_No"_s};

}  // namespace

TaksitBelmoleri::TaksitBelmoleri(console::StepHost& host)
    : PreviewStep(host, console::StepId::Taksitler, {u"Taksit Belmoleri"_s})
{
}

// The cut-off comes from the source's period.
db::Query TaksitBelmoleri::query()
{
    db::Connection source(session().pool());
    source.open(session().KaynakBag);
    return instalmentLoader(session().sql, instalmentCutoff(companyPeriod(source)));
}

void TaksitBelmoleri::list(services::Listing& listing) const
{
    listing.relist(u"taksit"_s);
    for (int r = 1; r <= rows_.size(); ++r) listing.instalments.push_back({vb::joined(rows_[r].id), ticked(r)});
}

void TaksitBelmoleri::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.value(u"ID"), r.text(u"Evrak_No"), r.number(u"Taksit_Sayisi"), r.date(u"Vade_Tarihi")};
    });
}

QString TaksitBelmoleri::rowKey(int row) const { return vb::joined(rows_[row].id); }

QString TaksitBelmoleri::rowLabel(int row) const
{
    const Row& instalment = rows_[row];
    const QString due = instalment.due.isDate() ? vb::formatDate(instalment.due.dateValue(), u"dd.mm.yyyy") : QString();
    return u"Taksit "_s + instalment.invoice + u' ' + vb::CStr(instalment.number) + u' ' + due;
}

// Twelve columns: the empty "od" and the raw due date are loaded but not shown.
console::GridLayout TaksitBelmoleri::layout() const
{
    return {12,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"Kayıt No."_s, 0, A::CenterTop, A::CenterTop},
             {u"Fatura No."_s, 1200, A::CenterTop, A::CenterTop},
             {u"T.Say."_s, 800, A::CenterTop, A::CenterTop},
             {u"Vade Tarihi"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Hesap Adı"_s, 1750, A::LeftCenter, A::LeftCenter},
             {u"Açıklama"_s, 1500, A::LeftCenter, A::LeftCenter},
             {u"Tutar"_s, 1200, A::Amount, A::CenterTop},
             {u"Ödenen"_s, 1200, A::Amount, A::CenterTop},
             {u"Kalan"_s, 1200, A::Amount, A::CenterTop},
             {u"Para Birimi"_s, 1000, A::CenterTop, A::CenterTop},
             {u"Döviz Kuru"_s, 1200, A::Amount, A::CenterTop}}};
}

void TaksitBelmoleri::Basla()
{
    transfer({.writes = {u"Taksit_H"_s}, .completion = {{u"Taksitler Aktarıldı."_s, {}}}}, [this](console::Transfer& t) {
        askToMarkDeleted(t, session().dialogs(), u"Select * from Taksit_H"_s,
                         u"Hedef veritabanındaki mevcut Taksit bilgileri silinecektir.\rDevam Edilsin mi?"_s,
                         u"UPDATE Taksit_H SET Sil=1"_s);
        for (const int r : tickedRows()) t.row(rowLabel(r), [&] { carry(t, rows_[r].id); });
    });
}

void TaksitBelmoleri::carry(console::Transfer& t, const Value& id)
{
    db::Recordset source;
    source.open(u"Select * from Taksit_H where ID=? and Sil=0"_s, t.source(), CursorType::Static, LockType::ReadOnly, {id});
    requireRecord(source);
    db::Recordset target;
    target.open(u"Select * from Taksit_H"_s, t.target(), CursorType::Dynamic, LockType::Optimistic);
    target.addNew();
    for (const QString& column : kCarried) copy(target, source, column);
    target.update();
}

}  // namespace belmo::transfers

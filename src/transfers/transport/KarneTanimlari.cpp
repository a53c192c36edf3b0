#include "transfers/transport/KarneTanimlari.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "transfers/RecordWriting.h"
#include "transfers/transport/CarnetQueries.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using widgets::Grid;

KarneTanimlari::KarneTanimlari(console::StepHost& host, console::StepId id, Side)
    : TransportStep(host, id,
                    {.caption = u"Karne Tanımları Belmo İşlemi"_s,
                     .table = u"Karne_Tanim"_s,
                     .warning = u"Hedef veritabanındaki Karne Tanımları silinecek"_s,
                     .completion = {u"Karne Tanımları Belmo İşlemi Tamamlandı."_s}})
{
}

// The target's period (a target without one stops the loader), and the statement for a
// source with or without the Teslim column.
db::Query KarneTanimlari::query()
{
    app::Session& s = session();
    db::Connection target(s.pool());
    target.open(s.HedefBag);
    const QString donem = QString::number(companyPeriod(target));

    db::Connection source(s.pool());
    source.open(s.KaynakBag);
    const bool teslim = source.columns(u"Karne_Tanim"_s).contains(u"Teslim"_s, Qt::CaseInsensitive);
    return carnetLoader(s.sql, donem, teslim);
}

void KarneTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{recordNumber(r), r.text(u"Karne_No"), r.date(u"HamBas_Trh"), r.date(u"HamBit_Trh"),
                   r.date(u"HamVer_Trh"), r.date(u"HamIade_Trh"), r.number(u"HamTeslim") == 1};
    });
}

// A list without a carnet leaves the box as it was; a failed one shows 0 beside its empty grid.
void KarneTanimlari::showTotal(qint64 records)
{
    if (records > 0 || !isLoaded()) TransportStep::showTotal(records);
}

// The dates and the flag as stored after the twelve columns are not shown.
console::GridLayout KarneTanimlari::layout() const
{
    return {12,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"Id"_s, 0, A::CenterTop, A::CenterTop},
             {u"Karne No."_s, 1200, A::CenterTop, A::CenterTop},
             {u"Baş.Tarihi"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Bit.Tarihi"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Veriliş Tarihi"_s, 1200, A::CenterTop, A::CenterTop},
             {u"İade Tarihi"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Plaka"_s, 1500, A::CenterTop, A::CenterTop},
             {u"Dorse"_s, 1500, A::CenterTop, A::CenterTop},
             {u"Şoför"_s, 2000, A::LeftCenter, A::LeftCenter},
             {u"Gidiş"_s, 0, A::CenterTop, A::CenterTop},
             {u"İ"_s, 240, A::CenterTop, A::CenterTop}}};
}

// Column 11 shows a handed-in carnet as a ticked box, any other as an empty one.
void KarneTanimlari::colourRows()
{
    constexpr int kHandedIn = 11;
    for (int r = 1; r <= loadedRows() && r < grid.rows() && kHandedIn < grid.cols(); ++r) {
        const bool handedIn = rows_[r].handedIn;
        grid.setColour(r, kHandedIn, Grid::kWhite);
        grid.setText(r, kHandedIn, handedIn ? u"."_s : QString());
        grid.setPicture(r, kHandedIn, handedIn ? Grid::Picture::Ticked : Grid::Picture::Empty);
    }
}

void KarneTanimlari::carry(console::Transfer& t, db::Recordset* emptied, int row)
{
    db::Recordset from = sourceById(t.source(), plan().table, rows_[row].id);
    emptied->addNew();
    copyColumns(*emptied, from,
                {u"Karne_No"_s, u"Bas_Trh"_s, u"Bit_Trh"_s, u"Ver_Trh"_s, u"iade_Trh"_s, u"Plaka"_s, u"Dorse_Plaka"_s,
                 u"Sofor"_s, u"Gidis"_s, u"Teslim"_s, u"sayfa"_s});
    emptied->update();
}

}  // namespace belmo::transfers

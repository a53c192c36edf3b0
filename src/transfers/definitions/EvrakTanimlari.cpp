#include "transfers/definitions/EvrakTanimlari.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;

EvrakTanimlari::EvrakTanimlari(console::StepHost& host)
    : AddIfMissingStep(host, console::StepId::EvrakTanimlari, u"Evrak Tanımları"_s, u"Evrak_Turu"_s,
                       {{u"Evrak Tanımları Aktarıldı."_s, u"Belmo"_s}})
{
}

db::Query EvrakTanimlari::query() { return u"Select '',Evrak_Kodu,Aciklama from Evrak_Turu"_s; }

void EvrakTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) { return Row{r.value(u"Evrak_Kodu"), r.text(u"Aciklama")}; });
}

// The grid keeps the query's three columns.
console::GridLayout EvrakTanimlari::layout() const
{
    return {std::nullopt,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"Evrak Kodu"_s, 1500, A::CenterTop, A::CenterTop},
             {u"Evrak Adı"_s, 3000, A::LeftCenter, A::LeftCenter}}};
}

db::Query EvrakTanimlari::lookup(int row) const
{
    return {u"Select * from Evrak_Turu where Evrak_Kodu=?"_s, {rows_[row].code}};
}

void EvrakTanimlari::fill(db::Recordset& record, int row) const
{
    assign(record, u"Evrak_Kodu"_s, rows_[row].code);
    assign(record, u"Aciklama"_s, rows_[row].name);
}

}  // namespace belmo::transfers

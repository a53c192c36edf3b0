#include "transfers/transport/YerTanimlari.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;

// What the cities have that the countries have not, and the reverse.
struct YerTanimlari::Twin {
    TransportPlan plan;
    QString loader;
    QString third;  // the third column carried besides the name and the code
    console::GridLayout layout;
};

namespace {

const YerTanimlari::Twin& twinOf(Side side)
{
    static const YerTanimlari::Twin cities{
        {.caption = u"Şehir Tanımları Belmo İşlemi"_s,
         .table = u"Plk_Kod_Yi"_s,
         .completion = {u"Şehir Tanımları Belmo İşlemi Tamamlandı."_s}},
        u"Select '',Plk_Kod_Yi.ID,Plk_Kod_Yi.Plaka_Kod,Plk_Kod_Yi.il,Plk_Kod.il from Plk_Kod_Yi inner join Plk_Kod ON "
        "Plk_Kod.Plaka_Kod=Plk_Kod_Yi.Ulke_Kod"_s,
        u"Ulke_Kod"_s,
        {5,
         {{QString(), 280, A::CenterTop, A::CenterTop},
          {u"ID"_s, 0, A::CenterTop, A::CenterTop},
          {u"Kodu"_s, 1500, A::CenterTop, A::CenterTop},
          {u"Adı"_s, 2500, A::LeftCenter, A::LeftCenter},
          {u"Ülkesi"_s, 2500, A::LeftCenter, A::LeftCenter}}}};
    static const YerTanimlari::Twin countries{
        {.caption = u"Ülke Tanımları Belmo İşlemi"_s,
         .table = u"Plk_Kod"_s,
         .completion = {u"Ülke Tanımları Belmo İşlemi Tamamlandı."_s},
         .fixedTicks = true},
        u"Select '',Plk_Kod.ID,Plk_Kod.Plaka_Kod,Plk_Kod.il from Plk_Kod"_s,
        u"Gumruk"_s,
        {4,
         {{QString(), 280, A::CenterTop, A::CenterTop},
          {u"ID"_s, 0, A::CenterTop, A::CenterTop},
          {u"Kodu"_s, 1500, A::CenterTop, A::CenterTop},
          {u"Adı"_s, 2500, A::LeftCenter, A::LeftCenter}}}};
    return side == Side::Yurtici ? cities : countries;
}

}  // namespace

YerTanimlari::YerTanimlari(console::StepHost& host, console::StepId id, Side side)
    : TransportStep(host, id, twinOf(side).plan), twin_(twinOf(side))
{
}

db::Query YerTanimlari::query() { return twin_.loader; }

void YerTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) { return Row{recordNumber(r), r.text(u"Plaka_Kod")}; });
}

console::GridLayout YerTanimlari::layout() const { return twin_.layout; }

void YerTanimlari::carry(console::Transfer& t, db::Recordset*, int row)
{
    const QString& table = plan().table;
    db::Recordset from = sourceById(t.source(), table, rows_[row].id);
    db::Recordset to;
    to.open(u"Select * from "_s + table + u" where Plaka_Kod=?"_s, t.target(), CursorType::Dynamic, LockType::Optimistic,
            {vb::joined(from.value(u"Plaka_Kod"_s))});
    if (to.eof()) to.addNew();
    copyColumns(to, from, {u"il"_s, u"Plaka_Kod"_s, twin_.third});
    to.update();
}

}  // namespace belmo::transfers

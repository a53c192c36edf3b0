#include "transfers/transport/MasrafTanimlari.h"

#include "db/Recordset.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;

namespace {

struct Twin {
    TransportPlan plan;
    QString loaderTable;  // as the loader names the table
};

const Twin& twinOf(Side side)
{
    static const Twin domestic{{.caption = u"Yurtiçi Nakliyat Masraf Tanımları"_s,
                                .table = u"Masraf_Tanim_Yi"_s,
                                .warning = u"Hedef Veritabanındaki Yurtiçi masraf tanımları silinecektir."_s,
                                .completion = {u"Yurtiçi Nakliyat Masraf Tanimları Belmo işlemi tamamlandı."_s},
                                .fixedTicks = true},
                               u"Masraf_Tanim_yi"_s};
    static const Twin international{{.caption = u"Uluslararası Nakliyat Masraf Tanımları"_s,
                                     .table = u"Masraf_Tanim_YD"_s,
                                     .warning = u"Hedef Veritabanındaki Uluslararası masraf tanımları silinecektir."_s,
                                     .completion = {u"Uluslararası Nakliyat Masraf Tanimları Belmo işlemi tamamlandı."_s}},
                                    u"Masraf_Tanim_YD"_s};
    return side == Side::Yurtici ? domestic : international;
}

}  // namespace

MasrafTanimlari::MasrafTanimlari(console::StepHost& host, console::StepId id, Side side)
    : TransportStep(host, id, twinOf(side).plan), loaderTable_(twinOf(side).loaderTable)
{
}

db::Query MasrafTanimlari::query() { return u"Select '',Masraf_Kod,Masraf_Tanim,Gider_Bilgisi from "_s + loaderTable_; }

void MasrafTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.text(u"Masraf_Kod"), r.text(u"Masraf_Tanim"), r.text(u"Gider_Bilgisi")};
    });
}

console::GridLayout MasrafTanimlari::layout() const
{
    return {4,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"Masraf Kodu"_s, 1200, A::CenterTop, A::CenterTop},
             {u"Masraf Tanımı"_s, 2500, A::LeftCenter, A::LeftCenter},
             {u"Gider Bilgisi"_s, 2500, A::LeftCenter, A::LeftCenter}}};
}

void MasrafTanimlari::carry(console::Transfer&, db::Recordset* emptied, int row)
{
    const Row& expense = rows_[row];
    emptied->addNew();
    assign(*emptied, u"Masraf_Kod"_s, expense.code);
    assign(*emptied, u"Masraf_Tanim"_s, expense.name);
    assign(*emptied, u"Gider_Bilgisi"_s, expense.cost);
    emptied->update();
}

}  // namespace belmo::transfers

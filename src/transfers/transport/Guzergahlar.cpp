#include "transfers/transport/Guzergahlar.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;

struct Guzergahlar::Twin {
    TransportPlan plan;
    QString loader;
    console::GridLayout layout;
    QStringList copied;  // the source columns an international route is copied with
    QString from, to;    // the loader's fields of Row::from and Row::to
};

namespace {

// The name of a place code of a route, from the source's countries or cities.
QString placeName(const QString& table, const QString& column)
{
    return u"(Select "_s + table + u".il from "_s + table + u" where "_s + table + u".Plaka_Kod=Guzergah."_s + column +
           u")"_s;
}

// The four place names, each under the name of its grid column.
QString internationalLoader()
{
    const std::pair<QString, QString> places[] = {{placeName(u"Plk_Kod"_s, u"Yuk_Ulke"_s), u"Cikis_Ulke"_s},
                                                  {placeName(u"Plk_Kod_Yi"_s, u"Yuk_Yeri"_s), u"Cikis_Il"_s},
                                                  {placeName(u"Plk_Kod"_s, u"Bos_Ulke"_s), u"Varis_Ulke"_s},
                                                  {placeName(u"Plk_Kod_Yi"_s, u"Bos_Yeri"_s), u"Varis_Il"_s}};
    QStringList shown, named;
    for (const auto& [place, name] : places) {
        shown << place + u" AS "_s + name;
        named << place + u" like '%%'"_s;  // a place with a name
    }
    return u"Select '',ID,Tasima_Tur,"_s + shown.join(u',') + u",Mesafe from Guzergah where "_s + named.join(u" or "_s) +
           u" "_s;
}

const Guzergahlar::Twin& twinOf(Side side)
{
    static const Guzergahlar::Twin domestic{
        {.caption = u"Yurtiçi Güzergah Belmoleri"_s,
         .table = u"Guzergah_Yi"_s,
         .completion = {u"Yurtiçi Güzergah Verileri Belmo işlemi tamamlandı."_s}},
        u"Select '',ID,Yuk_Yeri,Bos_Yeri,Mesafe from Guzergah_Yi"_s,
        {5,
         {{QString(), 280, A::CenterTop, A::CenterTop},
          {u"ID"_s, 0, A::CenterTop, A::CenterTop},
          {u"Şehir 1"_s, 2500, A::LeftCenter, A::LeftCenter},
          {u"Şehir 2"_s, 2500, A::LeftCenter, A::LeftCenter},
          {u"Mesafe"_s, 1500, A::CenterTop, A::CenterTop}}},
        {},
        u"Yuk_Yeri"_s,
        u"Bos_Yeri"_s};
    static const Guzergahlar::Twin international{
        {.caption = u"Uluslararası Güzergah Belmoleri"_s,
         .table = u"Guzergah"_s,
         .warning = u"Hedef veritabanındaki uluslararası güzergah bilgileri silinecek."_s,
         .completion = {u"Uluslararası Güzergah Verileri Belmo işlemi tamamlandı."_s}},
        internationalLoader(),
        {8,
         {{QString(), 280, A::CenterTop, A::CenterTop},
          {u"ID"_s, 0, A::CenterTop, A::CenterTop},
          {u"Taşıma Türü"_s, 0, A::LeftCenter, A::LeftCenter},
          {u"Çıkış Ülke"_s, 2000, A::LeftCenter, A::LeftCenter},
          {u"Çıkış İl"_s, 1500, A::LeftCenter, A::LeftCenter},
          {u"Varış Ülke"_s, 2000, A::LeftCenter, A::LeftCenter},
          {u"Varış İl"_s, 1500, A::LeftCenter, A::LeftCenter},
          {u"Mesafe"_s, 1000, A::CenterTop, A::CenterTop}}},
        {u"Yuk_Yeri"_s, u"Bos_Yeri"_s, u"Mesafe"_s, u"Yuk_Ulke"_s, u"Bos_Ulke"_s, u"Tasima_Tur"_s, u"Yuk_Ilce"_s,
         u"Bos_Ilce"_s},
        u"Cikis_Il"_s,
        u"Varis_Il"_s};
    return side == Side::Yurtici ? domestic : international;
}

}  // namespace

Guzergahlar::Guzergahlar(console::StepHost& host, console::StepId id, Side side)
    : TransportStep(host, id, twinOf(side).plan), twin_(twinOf(side))
{
}

db::Query Guzergahlar::query() { return twin_.loader; }

console::GridLayout Guzergahlar::layout() const { return twin_.layout; }

// The domestic grid's distance column shows the 0 written for a route without a distance.
void Guzergahlar::showDistanceWritten(int row)
{
    constexpr int kMesafe = 4;
    if (rows_[row].noDistance) grid.setText(row, kMesafe, u"0"_s);
}

void Guzergahlar::readRows(console::RowReader& reader)
{
    rows_.read(reader, [this](console::RowReader& r) {
        return Row{recordNumber(r), r.text(twin_.from), r.text(twin_.to), r.number(u"Mesafe"),
                   vb::joined(r.value(u"Mesafe")).isEmpty()};
    });
}

void Guzergahlar::carry(console::Transfer& t, db::Recordset* emptied, int row)
{
    if (!emptied) {
        addIfMissing(t.target(), row);
        return;
    }
    db::Recordset from = sourceById(t.source(), plan().table, rows_[row].id);
    emptied->addNew();
    copyColumns(*emptied, from, twin_.copied);
    emptied->update();
}

// A domestic route as listed, unless the target has one between the same places.
void Guzergahlar::addIfMissing(db::Connection& target, int row)
{
    const Row& route = rows_[row];
    db::Recordset to;
    to.open(u"Select * from Guzergah_Yi where Yuk_Yeri=? and Bos_Yeri=?"_s, target, CursorType::Dynamic,
            LockType::Optimistic, {route.from, route.to});
    if (!to.eof()) return;
    showDistanceWritten(row);
    to.addNew();
    assign(to, u"Yuk_Yeri"_s, route.from);
    assign(to, u"Bos_Yeri"_s, route.to);
    assign(to, u"Mesafe"_s, route.distance);
    to.update();
}

}  // namespace belmo::transfers

#include "transfers/transport/SoforTanimlari.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqliteFile.h"
#include "db/VbConvert.h"

#include <limits>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;

struct SoforTanimlari::Twin {
    TransportPlan plan;
    QStringList copied;  // the source columns a driver is copied with, in this order
};

namespace {

// Every driver column in the order it is set; the international drivers have six more.
QStringList driverColumns(bool international)
{
    QStringList columns = {u"Ad_Soyad"_s, u"Adres"_s, u"Ev_Tel"_s, u"Cep_Tel"_s, u"Notlar"_s, u"Foto_Path"_s};
    for (const QString& suffix : {QString(), u"_Ulke"_s, u"_Tarihi"_s})
        for (int i = 1; i <= 5; ++i) columns << u"Vize%1"_s.arg(i) + suffix;
    columns << u"Sag_Sigorta"_s << u"Sag_Tarihi"_s << u"Beynelmilel"_s << u"B_Tarihi"_s << u"Pasaport_No"_s;
    if (international) columns << u"PskDeg_No"_s << u"PskDeg_Tarihi"_s;
    columns << u"Prim_Oran"_s;
    if (international) columns << u"sil"_s << u"Pasaport_Trh"_s << u"Adr_Ehliyet"_s << u"Adr_Trh"_s;
    columns << u"Nuf_VerYeri"_s << u"Nuf_BelgeNo"_s << u"Nuf_Tarihi"_s << u"Nuf_il"_s << u"Nuf_ilce"_s
            << u"Nuf_MahKoy"_s << u"Nuf_Cilt"_s << u"Nuf_Sayfa"_s << u"Nuf_Kutuk"_s;
    return columns;
}

const SoforTanimlari::Twin& twinOf(Side side)
{
    static const SoforTanimlari::Twin domestic{{.caption = u"Yurtiçi Nakliyat Şoför Tanımları Belmoi"_s,
                                                .table = u"Sofor_Yi"_s,
                                                .warning = u"Hedef veritabanındaki Şoför Tanımları silinecek"_s,
                                                .completion = {u"Yurtiçi Nakliyat Şoför Tanımları Belmoi Tamamlandı."_s}},
                                               driverColumns(false)};
    static const SoforTanimlari::Twin international{{.caption = u"Uluslararası Nakliyat Şoför Tanımları Belmoi"_s,
                                                     .table = u"Sofor_YD"_s,
                                                     .warning = u"Hedef veritabanındaki Şoför Tanımları silinecek"_s,
                                                     .completion = {u"Uluslararası Nakliyat Şoför Belmoleri Tamamlandı."_s}},
                                                    driverColumns(true)};
    return side == Side::Yurtici ? domestic : international;
}

DriverLookup findDriver(const QString& table, db::Connection& target, const QString& name)
{
    db::Recordset rs;
    rs.open(u"Select ID from "_s + table + u" where Ad_Soyad=? and Sil=0"_s, target, CursorType::Static, LockType::ReadOnly,
            {name});
    if (rs.eof()) return {.miss = DriverLookup::Miss::NoSuchName};
    const double id = vb::CDbl(rs.value(u"ID"_s));
    if (id > std::numeric_limits<qint16>::max()) return {.miss = DriverLookup::Miss::NumberTooLarge, .number = id};
    return {.id = qint16(id), .number = id};
}

}  // namespace

DriverLookup SOFORBULYI(db::Connection& target, const QString& name) { return findDriver(u"Sofor_Yi"_s, target, name); }

DriverLookup SOFORBULYD(db::Connection& target, const QString& name) { return findDriver(u"Sofor_YD"_s, target, name); }

SoforTanimlari::SoforTanimlari(console::StepHost& host, console::StepId id, Side side)
    : TransportStep(host, id, twinOf(side).plan), twin_(twinOf(side))
{
}

db::Query SoforTanimlari::query()
{
    return u"select '',ID,Ad_Soyad,Ev_Tel,Cep_Tel from "_s + plan().table + u" where Sil=0"_s;
}

void SoforTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) { return Row{recordNumber(r), r.text(u"Ad_Soyad")}; });
}

console::GridLayout SoforTanimlari::layout() const
{
    return {5,
            {{QString(), 240, A::CenterTop, A::CenterTop},
             {u"Kayıt No"_s, 800, A::CenterTop, A::CenterTop},
             {u"Adı Soyadı"_s, 2000, A::LeftCenter, A::LeftCenter},
             {u"Ev Tel.No."_s, 1000, A::CenterTop, A::CenterTop},
             {u"Cep Tel.No."_s, 1000, A::CenterTop, A::CenterTop}}};
}

void SoforTanimlari::carry(console::Transfer& t, db::Recordset* emptied, int row)
{
    db::Recordset from = sourceById(t.source(), plan().table, rows_[row].id, u" and Sil=0"_s);
    emptied->addNew();
    copyColumns(*emptied, from, twin_.copied);
    emptied->update();
}

}  // namespace belmo::transfers

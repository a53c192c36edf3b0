#include "transfers/transport/AracTanimlari.h"

#include "app/Session.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "transfers/RecordWriting.h"
#include "transfers/transport/SoforTanimlari.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;

struct AracTanimlari::Twin {
    TransportPlan plan;
    QString drivers;     // the drivers' table of the same column
    QStringList copied;  // the columns written, in this order; Sofor_No is looked up
    DriverLookup (*findDriver)(db::Connection&, const QString&);
};

namespace {

const QString kDriverNumber = u"Sofor_No"_s;

// The notice of the vehicles written without a driver because the lookup in the target's
// drivers' table missed, and the vehicle's line in it.
QString withoutDriver(const QString& drivers, DriverLookup::Miss miss)
{
    const QString written = u"%1 araç şoförsüz yazıldı (Sofor_No 0): "_s;
    if (miss == DriverLookup::Miss::NoSuchName)
        return written + u"hedefin "_s + drivers + u" tablosunda bu adla bir şoför yok."_s;
    return written + u"hedefin "_s + drivers + u" tablosundaki şoförün numarası araçların şoför numarasına (en çok 32767) "
                                              u"sığmıyor."_s;
}

QString vehicleLine(const QString& plate, const QString& driver, const DriverLookup& found)
{
    const QString line = plate + u" — "_s + driver;
    if (found.miss == DriverLookup::Miss::NumberTooLarge) return line + u" (ID "_s + QString::number(found.number, 'f', 0) + u')';
    return line;
}

const AracTanimlari::Twin& twinOf(Side side)
{
    static const AracTanimlari::Twin domestic{
        {.caption = u"Yurtiçi Nakliyat Araç Belmoleri"_s,
         .table = u"Arac_Tanim_Yi"_s,
         .completion = {u"Yurtiçi Nakliyat Araç Tanımları Aktarıldı."_s, u"Belmo"_s}},
        u"Sofor_Yi"_s,
        {u"Plaka"_s,      u"Marka"_s,       u"Model"_s,         u"Tonaj"_s,     u"Sahibi"_s,      kDriverNumber,
         u"Sirket_Araci"_s, u"Imm_Sigortasi"_s, u"Imm_Tarihi"_s,  u"Trf_Sigorta"_s, u"Trf_Tarihi"_s, u"Kasko"_s,
         u"Kasko_Tarihi"_s, u"Vize"_s,        u"Vize_Tarihi"_s,   u"Yuk_Kasko"_s, u"YukKasko_Tarihi"_s, u"sil"_s,
         u"Dorse"_s,      u"Tescil_Sube"_s, u"Tipi"_s,          u"Rengi"_s,     u"Tescil_SiraNo"_s, u"Motor_No"_s,
         u"Sase_No"_s,    u"Sahip_Adres"_s, u"Tescil_Tarihi"_s, u"Yetkili_Tel"_s, u"Verg_No"_s},
        SOFORBULYI};
    static const AracTanimlari::Twin international{
        {.caption = u"Uluslararası Nakliyat Araç Belmoleri"_s,
         .table = u"Arac_Tanim_YD"_s,
         .completion = {u"Uluslararası Nakliyat Araç Tanımları Aktarıldı."_s, u"Belmo"_s}},
        u"Sofor_YD"_s,
        {u"Plaka"_s,        u"Marka"_s,        u"Model"_s,       u"Tonaj"_s,        u"Sahibi"_s,
         kDriverNumber,     u"Sirket_Araci"_s, u"Karne_No"_s,    u"Karne_Tarihi"_s, u"Don_Karne_No"_s,
         u"Don_Karne_Tarihi"_s, u"Uyg_No"_s,   u"Uyg_Tarihi"_s,  u"Vize"_s,         u"Vize_Tarihi"_s,
         u"Trf_Sigorta"_s,  u"Trf_Tarihi"_s,   u"Kasko"_s,       u"Kasko_Tarihi"_s, u"Yesil_Kart"_s,
         u"Ykart_Tarihi"_s, u"Roder"_s,        u"Roder_Tarihi"_s, u"LMotor"_s,      u"LMotor_Tarihi"_s,
         u"Tako_Tuv"_s,     u"Tako_Tarihi"_s,  u"Tescil_Tarihi"_s, u"Dorse"_s,      u"sil"_s,
         u"Sahip_Adres"_s,  u"Yetkili_Tel"_s,  u"Motor_No"_s,    u"Sase_No"_s,      u"Tipi"_s,
         u"Rengi"_s,        u"Tescil_SiraNo"_s, u"Tescil_Sube"_s},
        SOFORBULYD};
    return side == Side::Yurtici ? domestic : international;
}

}  // namespace

AracTanimlari::AracTanimlari(console::StepHost& host, console::StepId id, Side side)
    : TransportStep(host, id, twinOf(side).plan), twin_(twinOf(side))
{
}

db::Query AracTanimlari::query()
{
    const QString& vehicles = plan().table;
    const QString& drivers = twin_.drivers;
    return u"select '',%1.ID,%1.Plaka,%2.Ad_Soyad from %2,%1 where (%1.Sofor_No=%2.ID) and %1.Sil=0 order by %1.Plaka "_s
        .arg(vehicles, drivers);
}

void AracTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) { return Row{recordNumber(r), r.text(u"Plaka"), r.text(u"Ad_Soyad")}; });
}

console::GridLayout AracTanimlari::layout() const
{
    return {4,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {u"Araç No."_s, 800, A::CenterTop, A::CenterTop},
             {u"Plaka No."_s, 1500, A::LeftCenter, A::LeftCenter},
             {u"Şoför Adı"_s, 2000, A::LeftCenter, A::LeftCenter}}};
}

// The vehicle is read by its record number, so the row listed is the one carried even when
// the source holds its plate twice (a deleted vehicle beside a live one).
void AracTanimlari::carry(console::Transfer& t, db::Recordset*, int row)
{
    const QString& table = plan().table;
    db::Recordset from = sourceById(t.source(), table, rows_[row].id);
    const QString plate = vb::joined(from.value(u"Plaka"_s));
    const DriverLookup driver = twin_.findDriver(t.target(), rows_[row].driver);
    if (driver.miss != DriverLookup::Miss::None)
        t.notice(withoutDriver(twin_.drivers, driver.miss), vehicleLine(plate, rows_[row].driver, driver));
    db::Recordset to;
    to.open(u"Select * from "_s + table + u" where Plaka=?"_s, t.target(), CursorType::Dynamic, LockType::Optimistic,
            {plate});
    if (to.eof()) to.addNew();
    for (const QString& column : twin_.copied) {
        if (column == kDriverNumber)
            assign(to, column, int(driver.id));
        else
            copy(to, from, column);
    }
    to.update();
}

}  // namespace belmo::transfers

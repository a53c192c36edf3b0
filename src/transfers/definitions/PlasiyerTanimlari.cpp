#include "transfers/definitions/PlasiyerTanimlari.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "services/SmallRoutines.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using db::CursorType;
using db::LockType;
namespace answer = services::answer;

namespace {

// A salesperson with the name of its account and of its stock group, in either database.
const QString kWithNames =
    u"SELECT Plasiyer.*,Diger_Hs.Hesap_Adi,Gruplar.Grupadi FROM (Plasiyer LEFT JOIN Diger_Hs ON "
    "(Plasiyer.Hesap_Kodu = Diger_Hs.Hesap_Kodu and Plasiyer.A_Hs=Diger_Hs.Ana_Hs)) LEFT JOIN Gruplar ON "
    "Plasiyer.Stok_Grubu = Gruplar.Grup where Plasiyer.ID=?"_s;
const QString kById = u"SELECT * FROM Plasiyer where ID=?"_s;

// The columns a carried salesperson takes from the source.
const QStringList kCarried = {u"A_Hs"_s,     u"Grup_Kodu"_s, u"Hesap_Kodu"_s,
                              u"Stok_Grubu"_s, u"USERCODE"_s,  u"Oran"_s};

QString text(db::Recordset& rs, const QString& column) { return vb::joined(rs.value(column)); }

}  // namespace

QString salespeopleLoader()
{
    return u"SELECT '',Plasiyer.ID,Diger_Hs.Hesap_Adi,Gruplar.Grup & ' ' & Gruplar.Grupadi, "
           "FORMAT(Plasiyer.Oran,'####0.0'), USERCODE, Gruplar.Grup AS HamGrup, Gruplar.Grupadi AS HamGrupadi "
           "FROM (Diger_Hs INNER JOIN Plasiyer ON (Plasiyer.Hesap_Kodu = Diger_Hs.Hesap_Kodu) AND "
           "(Plasiyer.Grup_Kodu = Diger_Hs.Grup_Kodu) AND (Diger_Hs.Ana_Hs = Plasiyer.A_Hs)) LEFT JOIN Gruplar ON "
           "Plasiyer.Stok_Grubu = Gruplar.Grup "
           "Where Gruplar.Ana_Hs = 153 AND Plasiyer.Sil=0 "_s;
}

PlasiyerTanimlari::PlasiyerTanimlari(console::StepHost& host)
    : PreviewStep(host, console::StepId::Plasiyerler, {u"Plasiyer Belmoleri"_s})
{
}

db::Query PlasiyerTanimlari::query() { return salespeopleLoader(); }

void PlasiyerTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.value(u"ID"), r.text(u"Hesap_Adi"), r.text(u"HamGrup"), r.text(u"HamGrupadi")};
    });
}

// Five columns: USERCODE and the stock group's code and name are loaded but not shown.
console::GridLayout PlasiyerTanimlari::layout() const
{
    return {5,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {QString(), 0, A::CenterTop, A::CenterTop},
             {u"Plasiyer"_s, 3500, A::LeftCenter, A::LeftCenter},
             {u"Stok Grubu"_s, 3500, A::LeftCenter, A::LeftCenter},
             {u"Prim Oranı"_s, 1500, A::CenterTop, A::CenterTop}}};
}

void PlasiyerTanimlari::Basla()
{
    transfer({.writes = {u"Plasiyer"_s}, .completion = {{u"Plasiyer Tanımları Aktarıldı."_s}}},
             [this](console::Transfer& t) {
                 QString remembered;  // the last answer to the overwrite question, for this run
                 for (const int row : tickedRows())
                     t.row(rowLabel(row), [&] { carry(row, t.source(), t.target(), remembered); });
             });
}

// One ticked row. A row that cannot be read, looked up or saved is not carried.
void PlasiyerTanimlari::carry(int row, db::Connection& source, db::Connection& target, QString& remembered)
{
    const db::Value& id = rows_[row].id;
    db::Recordset from;
    from.open(kWithNames, source, CursorType::Dynamic, LockType::Optimistic, {id});
    if (from.eof()) return;  // gone from the source since the grid was loaded
    db::Recordset existing;
    existing.open(kWithNames, target, CursorType::Dynamic, LockType::Optimistic, {id});
    const bool present = !existing.eof();
    if (present && !overwriteWanted(row, existing, remembered)) return;

    db::Recordset record;
    record.open(kById, target, CursorType::Dynamic, LockType::Optimistic, {id});
    if (!present) {
        record.addNew();
        // A target that numbers its own records refuses the ID; the record keeps the one it gets.
        copy(record, from, u"ID"_s);
    }
    for (const QString& column : kCarried) copy(record, from, column);
    record.update();
}

// Asks about a salesperson the target holds, unless an earlier answer of the run covers it.
bool PlasiyerTanimlari::overwriteWanted(int row, db::Recordset& existing, QString& remembered)
{
    if (remembered == answer::kNoToAll) return false;
    if (remembered != answer::kYesToAll) {
        const QString name = existing.value(u"Hesap_Adi"_s).isNull() ? u"TANIMSIZ PERSONEL"_s : text(existing, u"Hesap_Adi"_s);
        const Row& seller = rows_[row];
        remembered = services::SORUSOR(session().dialogs(),
                                       u"Kaynak = "_s + seller.name + u" "_s + seller.group + u" "_s + seller.groupName,
                                       u"Hedef = "_s + name + u" "_s + text(existing, u"Stok_Grubu"_s) + u" "_s +
                                           text(existing, u"Grupadi"_s) + u" üzerine kaydedilsin mi?"_s);
    }
    return remembered != answer::kNo && remembered != answer::kNoToAll;
}

}  // namespace belmo::transfers

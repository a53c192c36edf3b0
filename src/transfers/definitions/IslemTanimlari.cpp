#include "transfers/definitions/IslemTanimlari.h"

#include "app/Session.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;

IslemTanimlari::IslemTanimlari(console::StepHost& host)
    : AddIfMissingStep(host, console::StepId::IslemTanimlari, u"İşlem Tanımları"_s, u"islem"_s,
                       {{u"İşlem Tanımları Aktarıldı."_s, u"Belmo"_s}})
{
}

// The last column shows the document type's code and name joined by three blanks; it is
// empty when the transaction has no document type. The code itself follows, not shown.
db::Query IslemTanimlari::query()
{
    const services::Fragments& f = session().sql;
    return u"SELECT '',islem.islem_Kod, islem.islem, islem.B_Ana_Hs, islem.A_Ana_Hs, islem.Hesap_Tur, islem.Msj1, "
           "islem.Msj2, "_s +
           f.KirpBas + u"islem.Evrak_Kodu"_s + f.KirpSon + u"+'   '+"_s + f.KirpBas + u"Evrak_Turu.Aciklama"_s + f.KirpSon +
           u" AS Deyim1, Evrak_Turu.Evrak_Kodu AS HamEvrakKodu "_s +
           u"FROM islem LEFT JOIN Evrak_Turu ON islem.Evrak_Kodu = Evrak_Turu.Evrak_Kodu WHERE islem.Sil=0 "_s;
}

void IslemTanimlari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.value(u"islem_Kod"), r.text(u"islem"), r.value(u"B_Ana_Hs"), r.value(u"A_Ana_Hs"),
                   r.text(u"Hesap_Tur"), r.text(u"Msj1"), r.text(u"Msj2"), r.value(u"HamEvrakKodu")};
    });
}

console::GridLayout IslemTanimlari::layout() const
{
    return {9,
            {{QString(), 280, A::CenterTop},
             {u"İşlem Kodu"_s, 1200, A::CenterTop},
             {u"İşlem Adı"_s, 2000, A::LeftCenter},
             {u"Borçlu Ana Hsp."_s, 1500, A::CenterTop},
             {u"Alacaklı Ana Hsp."_s, 1500, A::CenterTop},
             {u"Hesap Türü"_s, 1200, A::CenterTop},
             {u"Mesaj 1"_s, 2200, A::LeftCenter},
             {u"Mesaj 2"_s, 2200, A::LeftCenter},
             {u"Evrak Türü"_s, 2000, A::LeftCenter}}};
}

db::Query IslemTanimlari::lookup(int row) const
{
    return {u"Select * from islem where islem_Kod=?"_s, {rows_[row].code}};
}

// An empty main account or document type leaves the column at the table's default.
void IslemTanimlari::fill(db::Recordset& record, int row) const
{
    const Row& t = rows_[row];
    assign(record, u"islem_Kod"_s, t.code);
    assign(record, u"islem"_s, t.name);
    assignUnlessNull(record, u"B_Ana_Hs"_s, t.debit);
    assignUnlessNull(record, u"A_Ana_Hs"_s, t.credit);
    assign(record, u"Hesap_Tur"_s, t.accountType);
    assign(record, u"Msj1"_s, t.message1);
    assign(record, u"Msj2"_s, t.message2);
    assignUnlessNull(record, u"Evrak_Kodu"_s, t.documentType);
}

}  // namespace belmo::transfers

#include "transfers/definitions/IslemTanimlari.h"

#include "app/Session.h"
#include "db/JetDialect.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;

IslemTanimlari::IslemTanimlari(console::StepHost& host)
    : AddIfMissingStep(host, console::StepId::IslemTanimlari, u"İşlem Tanımları"_s, u"islem"_s,
                       {{u"İşlem Tanımları Aktarıldı."_s, u"Belmo"_s}})
{
}

// The last column shows the document type's code and name joined by three blanks; it is
// empty when the transaction has no document type.
db::Query IslemTanimlari::query()
{
    const services::Fragments& f = session().sql;
    return u"SELECT '',islem.islem_Kod, islem.islem, islem.B_Ana_Hs, islem.A_Ana_Hs, islem.Hesap_Tur, islem.Msj1, "
           "islem.Msj2, "_s +
           f.KirpBas + u"islem.Evrak_Kodu"_s + f.KirpSon + u"+'   '+"_s + f.KirpBas + u"Evrak_Turu.Aciklama"_s + f.KirpSon +
           u" AS Deyim1 "_s +
           u"FROM islem LEFT JOIN Evrak_Turu ON islem.Evrak_Kodu = Evrak_Turu.Evrak_Kodu WHERE islem.Sil=0 "_s;
}

console::GridLayout IslemTanimlari::layout() const
{
    return {9,
            {{QString(), 280, A::CenterCenter},
             {u"İşlem Kodu"_s, 1200, A::CenterCenter},
             {u"İşlem Adı"_s, 2000, A::LeftCenter},
             {u"Borçlu Ana Hsp."_s, 1500, A::CenterCenter},
             {u"Alacaklı Ana Hsp."_s, 1500, A::CenterCenter},
             {u"Hesap Türü"_s, 1200, A::CenterCenter},
             {u"Mesaj 1"_s, 2200, A::LeftCenter},
             {u"Mesaj 2"_s, 2200, A::LeftCenter},
             {u"Evrak Türü"_s, 2000, A::LeftCenter}}};
}

db::Query IslemTanimlari::lookup(int row) const
{
    return {u"Select * from islem where islem_Kod=?"_s, {db::jet::number(cell(row, 1))}};
}

void IslemTanimlari::fill(db::Recordset& record, int row) const
{
    assign(record, u"islem_Kod"_s, cell(row, 1));
    assign(record, u"islem"_s, cell(row, 2));
    // An empty or unreadable main account leaves the column at the table's default.
    assignNumber(record, u"B_Ana_Hs"_s, cell(row, 3));
    assignNumber(record, u"A_Ana_Hs"_s, cell(row, 4));
    assign(record, u"Hesap_Tur"_s, cell(row, 5));
    assign(record, u"Msj1"_s, cell(row, 6));
    assign(record, u"Msj2"_s, cell(row, 7));
    // "1   Satış Faturası" gives 1, "15   Çek Bordrosu" 15; a longer code is cut to two
    // digits, and an empty cell gives no value.
    assign(record, u"Evrak_Kodu"_s, cell(row, 8).trimmed().left(2).trimmed());
}

}  // namespace belmo::transfers

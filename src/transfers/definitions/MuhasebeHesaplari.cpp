#include "transfers/definitions/MuhasebeHesaplari.h"

#include "db/JetDialect.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;
using Icon = services::Dialogs::Icon;

// The second message reminds the user that the balances are to be entered by hand; its
// lines are separated by a carriage return.
MuhasebeHesaplari::MuhasebeHesaplari(console::StepHost& host)
    : AddIfMissingStep(host, console::StepId::Muhasebe, u"Muhasebe Hesap Belmoleri"_s, u"Diger_Hs"_s,
                       {{u"Muhasebe Hesapları Aktarıldı."_s, QString()},
                        {u"Dikkat Muhasebe Hesapları Bekiyesiz Aktarılır.\rYeni Şirket üzerinden gerekli bakiye "
                         "girişlerini\rbelmo bakiyesi olarak giriniz"_s,
                         QString(), Icon::Critical}})
{
}

// Every account whose main account exists, deleted ones included.
db::Query MuhasebeHesaplari::query()
{
    return u"select '',Diger_Hs.Ana_Hs,Diger_Hs.Grup_Kodu,Diger_Hs.Hesap_Kodu,Diger_Hs.Hesap_Adi,"
           "Ana_Hesaplar.Hesap_Adi,Diger_Hs.Hesap_Tur from Diger_Hs,Ana_Hesaplar where Diger_Hs.Ana_Hs=Ana_Hesaplar.Ana_Hs"_s;
}

console::GridLayout MuhasebeHesaplari::layout() const
{
    return {7,
            {{QString(), 280, A::CenterCenter, A::LeftCenter},
             {u"Ana Hsp."_s, 1200, A::CenterCenter, A::LeftCenter},
             {u"Grup Kd."_s, 1200, A::CenterCenter, A::LeftCenter},
             {u"Hesap Kd."_s, 1200, A::CenterCenter, A::LeftCenter},
             {u"Hesap Adı"_s, 6000, A::LeftCenter, A::LeftCenter},
             {u"Grup"_s, 3500, A::LeftCenter, A::LeftCenter},
             {QString(), 0, A::LeftCenter, A::LeftCenter}}};
}

db::Query MuhasebeHesaplari::lookup(int row) const
{
    return {u"Select * from Diger_Hs where Ana_Hs=? and Grup_Kodu=? and Hesap_Kodu=?"_s,
            {db::jet::number(cell(row, 1)), cell(row, 2), cell(row, 3)}};
}

void MuhasebeHesaplari::fill(db::Recordset& record, int row) const
{
    assign(record, u"Ana_Hs"_s, cell(row, 1));
    assign(record, u"Grup_Kodu"_s, cell(row, 2));
    assign(record, u"Hesap_Kodu"_s, cell(row, 3));
    assign(record, u"Hesap_Adi"_s, cell(row, 4));
    assign(record, u"Hesap_Tur"_s, cell(row, 6));
}

}  // namespace belmo::transfers

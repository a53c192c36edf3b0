#include "transfers/definitions/MuhasebeHesaplari.h"

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

void MuhasebeHesaplari::readRows(console::RowReader& reader)
{
    rows_.read(reader, [](console::RowReader& r) {
        return Row{r.value(u"Ana_Hs"), r.text(u"Grup_Kodu"), r.text(u"Hesap_Kodu"), r.text(u"Diger_Hs.Hesap_Adi"),
                   r.text(u"Hesap_Tur")};
    });
}

console::GridLayout MuhasebeHesaplari::layout() const
{
    return {7,
            {{QString(), 280, A::CenterTop, A::LeftCenter},
             {u"Ana Hsp."_s, 1200, A::CenterTop, A::LeftCenter},
             {u"Grup Kd."_s, 1200, A::CenterTop, A::LeftCenter},
             {u"Hesap Kd."_s, 1200, A::CenterTop, A::LeftCenter},
             {u"Hesap Adı"_s, 6000, A::LeftCenter, A::LeftCenter},
             {u"Grup"_s, 3500, A::LeftCenter, A::LeftCenter},
             {QString(), 0, A::LeftCenter, A::LeftCenter}}};
}

db::Query MuhasebeHesaplari::lookup(int row) const
{
    const Row& account = rows_[row];
    return {u"Select * from Diger_Hs where Ana_Hs=? and Grup_Kodu=? and Hesap_Kodu=?"_s,
            {account.mainAccount, account.group, account.code}};
}

void MuhasebeHesaplari::fill(db::Recordset& record, int row) const
{
    const Row& account = rows_[row];
    assign(record, u"Ana_Hs"_s, account.mainAccount);
    assign(record, u"Grup_Kodu"_s, account.group);
    assign(record, u"Hesap_Kodu"_s, account.code);
    assign(record, u"Hesap_Adi"_s, account.name);
    assign(record, u"Hesap_Tur"_s, account.type);
}

}  // namespace belmo::transfers

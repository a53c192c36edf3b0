#include "transfers/definitions/DepoTanimlari.h"

#include "app/Session.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using A = widgets::Grid::Alignment;

DepoTanimlari::DepoTanimlari(console::StepHost& host)
    : MainAccountDefinitionStep(host, console::StepId::Depolar, u"Depo Belmoleri"_s, u"Depo Tanımları Aktarıldı."_s,
                                {u"Depo"_s, u"Depo_Kodu"_s, u"Depo_Adi"_s})
{
}

// Live warehouses whose main account exists; the main account itself follows, not shown.
db::Query DepoTanimlari::query()
{
    const services::Fragments& f = session().sql;
    return u"select '',Depo.ID,Depo.Depo_Kodu,Depo.Depo_Adi,"_s + f.KirpBas + u"STR(Depo.Ana_Hs)"_s + f.KirpSon +
           u"+'   '+"_s + f.KirpBas + u"Ana_Hesaplar.Hesap_Adi"_s + f.KirpSon +
           u" as HSP, Depo.Ana_Hs AS HamAnaHs "
           "from Depo,Ana_Hesaplar where Ana_Hesaplar.Ana_Hs=Depo.Ana_Hs and Depo.Sil=0 "_s;
}

console::GridLayout DepoTanimlari::layout() const
{
    return {5,
            {{QString(), 280, A::CenterTop, A::CenterTop},
             {QString(), 0, A::CenterTop, A::CenterTop},
             {u"Depo Kodu"_s, 1000, A::LeftCenter, A::LeftCenter},
             {u"Depo Adı"_s, 2500, A::LeftCenter, A::LeftCenter},
             {u"Ana Hesap Adı"_s, 2500, A::LeftCenter, A::LeftCenter}}};
}

}  // namespace belmo::transfers

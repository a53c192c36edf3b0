#include "transfers/definitions/GrupTanimlari.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

GrupTanimlari::GrupTanimlari(console::StepHost& host)
    : MainAccountDefinitionStep(host, console::StepId::Gruplar, u"Grup Belmoleri"_s, u"Grup Tanımları Aktarıldı."_s,
                                {u"Gruplar"_s, u"Grup"_s, u"Grupadi"_s})
{
}

// Live groups whose main account exists; the main account itself follows, not shown.
db::Query GrupTanimlari::query()
{
    return u"select '',Gruplar.ID,Gruplar.Grup,Gruplar.Grupadi,(trim(Gruplar.Ana_Hs)+'   '+trim(Ana_Hesaplar.Hesap_Adi)) "
           "as HSP, Gruplar.Ana_Hs AS HamAnaHs from Gruplar,Ana_Hesaplar "
           "where Gruplar.Sil=0 AND Ana_Hesaplar.Ana_Hs=Gruplar.Ana_Hs"_s;
}

// The grid's own alignments apply.
console::GridLayout GrupTanimlari::layout() const
{
    return {5,
            {{QString(), 280},
             {QString(), 0},
             {u"Grup Kodu"_s, 1000},
             {u"Grup Adı"_s, 4000},
             {u"Ana Hesap"_s, 4000}}};
}

}  // namespace belmo::transfers

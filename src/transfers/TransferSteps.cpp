#include "transfers/TransferSteps.h"

#include "transfers/balances/CariHesaplar.h"
#include "transfers/definitions/DepoTanimlari.h"
#include "transfers/definitions/EvrakTanimlari.h"
#include "transfers/definitions/GrupTanimlari.h"
#include "transfers/definitions/IslemTanimlari.h"
#include "transfers/definitions/MuhasebeHesaplari.h"
#include "transfers/definitions/PlasiyerTanimlari.h"
#include "transfers/definitions/Sablonlar.h"
#include "transfers/definitions/SirketBilgileri.h"
#include "transfers/balances/StokKartlari.h"
#include "transfers/openitems/CekBelmoleri.h"
#include "transfers/openitems/SiparisBelmoleri.h"
#include "transfers/openitems/TaksitBelmoleri.h"
#include "transfers/transport/NAKLIYAT.h"

namespace belmo::transfers {

namespace {
template <typename S>
console::StepRegistry::Factory make()
{
    return [](console::StepHost& host) { return std::make_unique<S>(host); };
}
}  // namespace

console::StepRegistry transferSteps()
{
    using console::StepId;
    console::StepRegistry steps;
    steps.add(StepId::SirketBilgileri, make<SirketBilgileri>());
    steps.add(StepId::Sablonlar, make<Sablonlar>());
    steps.add(StepId::IslemTanimlari, make<IslemTanimlari>());
    steps.add(StepId::EvrakTanimlari, make<EvrakTanimlari>());
    steps.add(StepId::Gruplar, make<GrupTanimlari>());
    steps.add(StepId::Depolar, make<DepoTanimlari>());
    steps.add(StepId::CariHesaplar, make<CariHesaplar>());
    steps.add(StepId::Stok, make<StokKartlari>());
    steps.add(StepId::Siparisler, make<SiparisBelmoleri>());
    steps.add(StepId::Cekler, make<CekBelmoleri>());
    steps.add(StepId::Muhasebe, make<MuhasebeHesaplari>());
    steps.add(StepId::Taksitler, make<TaksitBelmoleri>());
    steps.add(StepId::Plasiyerler, make<PlasiyerTanimlari>());
    steps.setTransportWindow(transportWindow());  // its steps are in its own catalogue
    return steps;
}

}  // namespace belmo::transfers

#include "transfers/TransferSteps.h"

#include "transfers/CariHesaplar.h"
#include "transfers/DepoTanimlari.h"
#include "transfers/EvrakTanimlari.h"
#include "transfers/GrupTanimlari.h"
#include "transfers/IslemTanimlari.h"
#include "transfers/MuhasebeHesaplari.h"
#include "transfers/PlasiyerTanimlari.h"
#include "transfers/Sablonlar.h"
#include "transfers/SirketBilgileri.h"
#include "transfers/StokKartlari.h"

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
    steps.add(StepId::Muhasebe, make<MuhasebeHesaplari>());
    steps.add(StepId::Plasiyerler, make<PlasiyerTanimlari>());
    return steps;
}

}  // namespace belmo::transfers

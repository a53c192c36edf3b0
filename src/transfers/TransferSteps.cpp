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

using namespace Qt::Literals::StringLiterals;

namespace {

template <typename S>
console::StepRegistry::Factory make()
{
    return [](console::StepHost& host) { return std::make_unique<S>(host); };
}

// The console's steps: each one's id, command-line key, menu caption and class.
struct Identity {
    console::StepId id;
    QString key;
    QString caption;
    console::StepRegistry::Factory make;
};

}  // namespace

console::StepRegistry transferSteps()
{
    using console::StepId;
    const Identity steps[] = {
        {StepId::SirketBilgileri, u"sirket"_s, u"Şirket Bilgileri"_s, make<SirketBilgileri>()},
        {StepId::Sablonlar, u"sablon"_s, u"Şablonları Aktar"_s, make<Sablonlar>()},
        {StepId::IslemTanimlari, u"islem"_s, u"İşlem Tanımları"_s, make<IslemTanimlari>()},
        {StepId::EvrakTanimlari, u"evrak"_s, u"Evrak Tanımları"_s, make<EvrakTanimlari>()},
        {StepId::Gruplar, u"grup"_s, u"Grup Tanımları"_s, make<GrupTanimlari>()},
        {StepId::Depolar, u"depo"_s, u"Depo Tanımları"_s, make<DepoTanimlari>()},
        {StepId::CariHesaplar, u"cari"_s, u"Cari Hesaplar ve Bakiyeler"_s, make<CariHesaplar>()},
        {StepId::Stok, u"stok"_s, u"Stok Kart ve Bakiyeleri"_s, make<StokKartlari>()},
        {StepId::Siparisler, u"siparis"_s, u"Sipariş Belmoleri"_s, make<SiparisBelmoleri>()},
        {StepId::Cekler, u"cek"_s, u"Çek Belmoleri"_s, make<CekBelmoleri>()},
        {StepId::Muhasebe, u"muhasebe"_s, u"Muhasebe Belmoleri"_s, make<MuhasebeHesaplari>()},
        {StepId::Taksitler, u"taksit"_s, u"Taksit Belmoleri"_s, make<TaksitBelmoleri>()},
        {StepId::Plasiyerler, u"plasiyer"_s, u"Plasiyer Tanımları"_s, make<PlasiyerTanimlari>()},
    };
    console::StepRegistry registry;
    for (const Identity& s : steps) registry.add(s.id, s.key, s.caption, s.make);
    registry.setTransportWindow(transportWindow());  // its steps are in its own catalogue
    return registry;
}

}  // namespace belmo::transfers

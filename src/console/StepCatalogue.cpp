#include "console/StepCatalogue.h"

#include "console/Step.h"
#include "console/Window.h"

namespace belmo::console {

using namespace Qt::Literals::StringLiterals;

namespace {
MenuItem step(StepId id, const QString& caption, const QString& key)
{
    return {MenuItem::Kind::Step, caption, id, key};
}
MenuItem button(MenuItem::Kind kind, const QString& caption)
{
    return {kind, caption, StepId::SirketBilgileri, QString()};
}
}  // namespace

const QList<MenuItem>& menuItems()
{
    using K = MenuItem::Kind;
    static const QList<MenuItem> items = {
        step(StepId::CariHesaplar, u"Cari Hesaplar ve Bakiyeler"_s, u"cari"_s),
        button(K::Exit, u"Çıkış"_s),
        step(StepId::Stok, u"Stok Kart ve Bakiyeleri"_s, u"stok"_s),
        step(StepId::SirketBilgileri, u"Şirket Bilgileri"_s, u"sirket"_s),
        step(StepId::IslemTanimlari, u"İşlem Tanımları"_s, u"islem"_s),
        step(StepId::EvrakTanimlari, u"Evrak Tanımları"_s, u"evrak"_s),
        step(StepId::Gruplar, u"Grup Tanımları"_s, u"grup"_s),
        step(StepId::Depolar, u"Depo Tanımları"_s, u"depo"_s),
        step(StepId::Plasiyerler, u"Plasiyer Tanımları"_s, u"plasiyer"_s),
        step(StepId::Sablonlar, u"Şablonları Aktar"_s, u"sablon"_s),
        step(StepId::Siparisler, u"Sipariş Belmoleri"_s, u"siparis"_s),
        step(StepId::Cekler, u"Çek Belmoleri"_s, u"cek"_s),
        step(StepId::Muhasebe, u"Muhasebe Belmoleri"_s, u"muhasebe"_s),
        button(K::Wizard, u"Belmo Sihirbazı"_s),
        step(StepId::Taksitler, u"Taksit Belmoleri"_s, u"taksit"_s),
        button(K::Transport, u"Nakliyat Belmoleri"_s),
    };
    return items;
}

const QList<StepId>& wizardChain()
{
    static const QList<StepId> chain = {
        StepId::SirketBilgileri, StepId::Sablonlar, StepId::IslemTanimlari, StepId::EvrakTanimlari,
        StepId::Gruplar,         StepId::Depolar,   StepId::CariHesaplar,   StepId::Stok,
        StepId::Siparisler,      StepId::Cekler,    StepId::Muhasebe,       StepId::Taksitler,
        StepId::Plasiyerler,
    };
    return chain;
}

const MenuItem& menuItem(StepId id)
{
    for (const MenuItem& item : menuItems())
        if (item.kind == MenuItem::Kind::Step && item.step == id) return item;
    Q_UNREACHABLE();
}

const MenuItem* findStep(const QString& key)
{
    for (const MenuItem& item : menuItems())
        if (item.kind == MenuItem::Kind::Step && item.key.compare(key, Qt::CaseInsensitive) == 0) return &item;
    return nullptr;
}

std::unique_ptr<Step> StepRegistry::create(StepId id, StepHost& host) const
{
    const auto it = factories_.find(id);
    return it == factories_.end() ? nullptr : it->second(host);
}

std::unique_ptr<Window> StepRegistry::createTransportWindow(app::Session& session) const
{
    return transportWindow_ ? transportWindow_(session) : nullptr;
}

}  // namespace belmo::console

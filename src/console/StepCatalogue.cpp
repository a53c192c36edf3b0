#include "console/StepCatalogue.h"

#include "console/Step.h"
#include "console/Window.h"

namespace belmo::console {

using namespace Qt::Literals::StringLiterals;

const QList<MenuItem>& menuLayout()
{
    using K = MenuItem::Kind;
    auto step = [](StepId id) { return MenuItem{K::Step, QString(), id, QString()}; };
    auto button = [](K kind, const QString& caption) { return MenuItem{kind, caption, StepId::SirketBilgileri, QString()}; };
    static const QList<MenuItem> items = {
        step(StepId::CariHesaplar),  button(K::Exit, u"Çıkış"_s),      step(StepId::Stok),
        step(StepId::SirketBilgileri), step(StepId::IslemTanimlari), step(StepId::EvrakTanimlari),
        step(StepId::Gruplar),       step(StepId::Depolar),          step(StepId::Plasiyerler),
        step(StepId::Sablonlar),     step(StepId::Siparisler),       step(StepId::Cekler),
        step(StepId::Muhasebe),      button(K::Wizard, u"Belmo Sihirbazı"_s), step(StepId::Taksitler),
        button(K::Transport, u"Nakliyat Belmoleri"_s), button(K::Report, u"Mutabakat Raporu"_s),
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

std::unique_ptr<Step> StepRegistry::create(StepId id, StepHost& host) const
{
    const auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : it->second.make(host);
}

MenuItem StepRegistry::item(StepId id) const
{
    const auto it = entries_.find(id);
    if (it == entries_.end()) return {MenuItem::Kind::Step, QString(), id, QString()};
    return {MenuItem::Kind::Step, it->second.caption, id, it->second.key};
}

const StepId* StepRegistry::find(const QString& key) const
{
    for (const auto& [id, entry] : entries_)
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0) return &id;
    return nullptr;
}

std::unique_ptr<Window> StepRegistry::createTransportWindow(app::Session& session) const
{
    return transportWindow_ ? transportWindow_(session) : nullptr;
}

}  // namespace belmo::console

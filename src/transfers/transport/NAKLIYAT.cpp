#include "transfers/transport/NAKLIYAT.h"

#include "app/Session.h"
#include "services/Dialogs.h"
#include "services/Errors.h"

namespace belmo::transfers {

NAKLIYAT::NAKLIYAT(app::Session& session) : session_(session)
{
    panels.add(menu);
    for (const TransportItem& item : transportItems()) {
        auto e = std::make_unique<MenuButton>(MenuButton{item, widgets::Button(item.caption), {}, nullptr});
        e->step = item.create(*this, item.id, item.side);
        if (widgets::Panel* panel = e->step->panel()) panels.add(*panel);
        e->button.onClick = [this, &e = *e] { performMenuAction(e); };
        buttons_.push_back(std::move(e));
    }
    cikis.onClick = [this] { Cikis(); };
}

NAKLIYAT::~NAKLIYAT() = default;

NAKLIYAT::MenuButton& NAKLIYAT::entry(console::StepId id)
{
    for (auto& e : buttons_)
        if (e->item.id == id) return *e;
    Q_UNREACHABLE();
}

bool NAKLIYAT::waiting(console::StepId id)
{
    const auto& needs = entry(id).item.needs;
    return needs && !entry(*needs).done.visible();
}

void NAKLIYAT::load()
{
    for (widgets::Panel* panel : panels.panels()) panel->setColourScheme(session_.TemaNo);
    showMenu();
}

void NAKLIYAT::performMenuAction(MenuButton& e)
{
    if (waiting(e.item.id)) {
        session_.dialogs().message(kDriversFirst, {}, services::Dialogs::Icon::Information);
        return;
    }
    console::runMenuAction(*this, *e.step);
}

void NAKLIYAT::Cikis() { end(true); }
void NAKLIYAT::close() { end(false); }

void NAKLIYAT::end(bool backToConsole)
{
    if (closed_) return;
    closed_ = true;
    if (onClosed) onClosed(backToConsole);
}

console::StepRegistry::WindowFactory transportWindow()
{
    return [](app::Session& session) { return std::make_unique<NAKLIYAT>(session); };
}

}  // namespace belmo::transfers

#pragma once

#include "console/Step.h"
#include "console/StepCatalogue.h"
#include "console/Window.h"
#include "transfers/transport/TransportCatalogue.h"
#include "widgets/Controls.h"
#include "widgets/Panel.h"

#include <QString>

#include <memory>
#include <vector>

namespace belmo::transfers {

// The transport window "Nakliyat Belmoleri", opened in the console's place: the menu panel
// "Nakliyat Belmo İşlemleri" with its two columns of step buttons, each with a done mark,
// and the eleven step panels stacked under it. The done marks live as long as the window: a
// vehicle button opens its panel only once the driver step of its column has finished in
// this window. "Çıkış" brings a fresh console back.
class NAKLIYAT : public console::Window, public console::StepHost {
public:
    explicit NAKLIYAT(app::Session& session);
    ~NAKLIYAT() override;

    static inline const QString kCaption = QStringLiteral("Nakliyat Belmoleri");
    static inline const QString kDriversFirst = QStringLiteral("Bu işlemden önce Şoför Tanımlarının aktarılması gerekmekte.");

    widgets::Panel menu{QStringLiteral("Nakliyat Belmo İşlemleri")};
    widgets::PanelStack panels;
    widgets::Button cikis{QStringLiteral("Çıkış")};
    widgets::Activity busy;  // a step's transfer in progress

    // A step button of the menu with its done mark, in the catalogue's order.
    struct MenuButton {
        const TransportItem& item;
        widgets::Button button;
        widgets::DoneMark done;
        std::unique_ptr<console::Step> step;
    };
    const std::vector<std::unique_ptr<MenuButton>>& menuButtons() const { return buttons_; }
    MenuButton& entry(console::StepId id);
    console::Step* step(console::StepId id) { return entry(id).step.get(); }
    // A step whose button is refused until the step it needs has finished in this window.
    bool waiting(console::StepId id);

    // console::Window
    void load() override;
    bool closed() const override { return closed_; }
    void Cikis();  // the menu's "Çıkış": back to the console
    void close();  // the window's close control

    // console::StepHost
    app::Session& session() override { return session_; }
    widgets::Activity& activity() override { return busy; }
    void showPanel(widgets::Panel& panel) override { panels.bringToFront(panel); }
    void hidePanel(widgets::Panel& panel) override { panels.sendToBack(panel); }
    void showMenu() override { panels.bringToFront(menu); }
    void stepFinished(console::StepId id) override { entry(id).done.setVisible(true); }

private:
    void performMenuAction(MenuButton& e);
    void end(bool backToConsole);

    app::Session& session_;
    std::vector<std::unique_ptr<MenuButton>> buttons_;
    bool closed_ = false;
};

// The transport window, for the step registry of the program.
console::StepRegistry::WindowFactory transportWindow();

}  // namespace belmo::transfers

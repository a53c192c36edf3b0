#pragma once

#include "console/Step.h"
#include "console/StepCatalogue.h"
#include "widgets/Controls.h"
#include "widgets/Panel.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace belmo::app {
class Session;
}

namespace belmo::console {

// The console "Mervo Belmo Sihirbazı": the menu panel "Belmo İşlemleri" with a button and a
// done mark per step, the posting-mode check boxes, the step panels stacked under the menu,
// and the wizard that runs the steps one after another.
class BELMO : public StepHost {
public:
    BELMO(app::Session& session, const StepRegistry& registry);
    ~BELMO() override;

    static inline const QString kCaption = QStringLiteral("Mervo Belmo Sihirbazı");
    // The four fixed labels of the menu; nothing changes them.
    static inline const QList<std::pair<QString, QString>> kVersionLabels = {
        {QStringLiteral("Kaynak Veritabanı Versiyonu"), QStringLiteral("2.XXX")},
        {QStringLiteral("Hedef Veritabanı Versiyonu"), QStringLiteral("3.XXX")},
    };

    widgets::Panel menu{QStringLiteral("Belmo İşlemleri")};
    widgets::PanelStack panels;
    // Posting modes: ChH2/ChH3 set HModu, ChK2/ChK3 set KModu; ticking one unticks the other.
    widgets::CheckBox ChH2, ChH3, ChK2, ChK3;
    int SihirbazModu = 0;
    widgets::Activity busy;  // a step's transfer in progress
    // The message line under the menu: where the backup of the target went.
    widgets::TextBox mesajSatiri;
    // The status line at the foot of the console: the user and the two companies, each with
    // its period, "USER · SOURCE (period) → TARGET (period)"; filled as the console loads.
    widgets::TextBox durumSatiri;
    // Puts the backup made before this login's first write back; shown once one was made.
    widgets::Button yedegiGeriYukle{QStringLiteral("Yedeği Geri Yükle")};

    // The menu's buttons in the order they stand on it; a step button carries its done mark.
    struct MenuButton {
        MenuItem item;
        widgets::Button button;
        widgets::DoneMark done;
        std::unique_ptr<Step> step;  // null while the step is not built
    };
    const std::vector<std::unique_ptr<MenuButton>>& menuButtons() const { return buttons_; }
    MenuButton& entry(StepId id);
    MenuButton& entry(MenuItem::Kind kind);  // Çıkış, the wizard, the transport window
    Step* step(StepId id) { return entry(id).step.get(); }

    // Form load: the theme on every panel, the menu in front, the status line.
    void load();
    void Sihirbaz();  // "Belmo Sihirbazı"
    // "Nakliyat Belmoleri": the program shows the transport window in the console's place,
    // then closes the console.
    void NakliyatBelmoleri();
    std::function<void()> onTransport;
    // The target was backed up (or, in a rehearsal, first written without a backup): the
    // message line says where the backup went and the restore button appears.
    void backupMade(const QString& backup);
    void YedegiGeriYukle();  // "Yedeği Geri Yükle"
    // "Mutabakat Raporu", and the end of the wizard's chain: the program shows the
    // reconciliation of the two companies (the model has no window of its own for it).
    void MutabakatRaporu();
    std::function<void()> onReport;
    void close();     // "Çıkış" and the window's close control
    bool closed() const { return closed_; }
    std::function<void()> onClosed;
    // Told of every step's menu action, from a button or from the wizard.
    std::function<void(StepId)> onMenuAction;
    // Told of every transfer that has finished, before the wizard moves on.
    std::function<void(StepId)> onStepFinished;

    // StepHost
    app::Session& session() override { return session_; }
    widgets::Activity& activity() override { return busy; }
    void showPanel(widgets::Panel& panel) override;
    void hidePanel(widgets::Panel& panel) override;
    void showMenu() override;
    void stepFinished(StepId id) override;

private:
    void performMenuAction(StepId id);
    // The first built step of the chain from position `from` on.
    const StepId* nextBuilt(qsizetype from);
    void setMode(widgets::CheckBox& on, widgets::CheckBox& off, int& mode, int value);

    app::Session& session_;
    std::vector<std::unique_ptr<MenuButton>> buttons_;
    bool closed_ = false;
};

}  // namespace belmo::console

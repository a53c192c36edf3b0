#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace belmo::app {
class Session;
}

namespace belmo::console {

class Step;
class StepHost;
class Window;

// The console's transfer steps.
enum class StepId {
    SirketBilgileri,  // company settings, run at once
    Sablonlar,        // print templates, run at once
    IslemTanimlari,
    EvrakTanimlari,
    Gruplar,
    Depolar,
    CariHesaplar,
    Stok,
    Siparisler,
    Cekler,
    Muhasebe,
    Taksitler,
    Plasiyerler,
    // The transport window's steps (its own catalogue gives their buttons and keys).
    SoforYi,     // domestic drivers
    AracYi,      // domestic vehicles
    Sehirler,    // cities
    GuzergahYi,  // domestic routes
    MasrafYi,    // domestic expense codes
    SoforYd,     // international drivers
    AracYd,      // international vehicles
    Ulkeler,     // countries
    GuzergahYd,  // international routes
    MasrafYd,    // international expense codes
    Karneler,    // carnets
};

// One button of the console's menu panel, in the order they stand on it.
struct MenuItem {
    enum class Kind { Step, Exit, Wizard, Transport };
    Kind kind;
    QString caption;
    StepId step = StepId::SirketBilgileri;  // for Kind::Step
    QString key;                            // the step's name on the command line
};
const QList<MenuItem>& menuItems();

// The order in which the wizard runs the steps.
const QList<StepId>& wizardChain();

const MenuItem& menuItem(StepId id);
// The step a command-line key names, if any.
const MenuItem* findStep(const QString& key);

// The steps that are built. A step is added by writing its class and registering a
// factory for its id; the console gives it a menu button, a panel and its place in the
// wizard chain from the tables above. A step that is not registered keeps a disabled
// button and the wizard passes over it.
//
// The transport window ("Nakliyat Belmoleri") is registered the same way: while none is,
// the console's button for it stays disabled.
class StepRegistry {
public:
    using Factory = std::function<std::unique_ptr<Step>(StepHost&)>;
    void add(StepId id, Factory factory) { factories_[id] = std::move(factory); }
    bool contains(StepId id) const { return factories_.count(id) != 0; }
    std::unique_ptr<Step> create(StepId id, StepHost& host) const;

    using WindowFactory = std::function<std::unique_ptr<Window>(app::Session&)>;
    void setTransportWindow(WindowFactory factory) { transportWindow_ = std::move(factory); }
    bool hasTransportWindow() const { return bool(transportWindow_); }
    std::unique_ptr<Window> createTransportWindow(app::Session& session) const;

private:
    std::map<StepId, Factory> factories_;
    WindowFactory transportWindow_;
};

}  // namespace belmo::console

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

// One button of the console's menu panel, in the order they stand on it. A step's caption
// and command-line key are the step's own (see StepRegistry); the other buttons have theirs
// here.
struct MenuItem {
    enum class Kind { Step, Exit, Wizard, Transport, Report };
    Kind kind;
    QString caption;
    StepId step = StepId::SirketBilgileri;  // for Kind::Step
    QString key;                            // the step's name on the command line
};
// The buttons in the order they stand on the menu; the steps' captions and keys empty.
const QList<MenuItem>& menuLayout();

// The order in which the wizard runs the steps.
const QList<StepId>& wizardChain();

// The steps that are built, each with its identity: the id the console places it by, its
// command-line key, its menu caption and the class that makes it (the table of the console's
// steps is in transfers/TransferSteps.cpp). The console gives a step a menu button, a panel
// and its place in the wizard chain; a step that is not registered keeps a disabled button
// and the wizard passes over it.
//
// The transport window ("Nakliyat Belmoleri") is registered the same way: while none is,
// the console's button for it stays disabled.
class StepRegistry {
public:
    using Factory = std::function<std::unique_ptr<Step>(StepHost&)>;
    void add(StepId id, QString key, QString caption, Factory factory)
    {
        entries_[id] = Entry{std::move(key), std::move(caption), std::move(factory)};
    }
    bool contains(StepId id) const { return entries_.count(id) != 0; }
    std::unique_ptr<Step> create(StepId id, StepHost& host) const;
    // The menu item of a registered step: its caption and key. Empty for another id.
    MenuItem item(StepId id) const;
    // The registered step a command-line key names, if any.
    const StepId* find(const QString& key) const;

    using WindowFactory = std::function<std::unique_ptr<Window>(app::Session&)>;
    void setTransportWindow(WindowFactory factory) { transportWindow_ = std::move(factory); }
    bool hasTransportWindow() const { return bool(transportWindow_); }
    std::unique_ptr<Window> createTransportWindow(app::Session& session) const;

private:
    struct Entry {
        QString key, caption;
        Factory make;
    };
    std::map<StepId, Entry> entries_;
    WindowFactory transportWindow_;
};

}  // namespace belmo::console

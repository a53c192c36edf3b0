#pragma once

#include "console/StepCatalogue.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace belmo::console {
class Step;
class StepHost;
}

namespace belmo::transfers {

// The two columns of the transport window's menu. Each pair of twin steps (drivers,
// vehicles, places, routes, expense codes) has one step in each column, and the column
// picks the twin's table, texts and columns.
enum class Side { Yurtici, Uluslararasi };

// The column's heading on the menu: "Yurtiçi Nakliyat", "Uluslararası Nakliyat".
QString heading(Side side);

// One step of the transport window: its identity, its place on the menu, its name on the
// command line and the class that carries it.
struct TransportItem {
    console::StepId id;
    Side side;       // the menu column
    QString caption;  // the menu button
    QString key;      // the step's name on the command line
    std::unique_ptr<console::Step> (*create)(console::StepHost& host, console::StepId id, Side side);
    // The step whose done mark must show before this one opens (a vehicle step needs the
    // driver step of its column, since the drivers are renumbered on the way).
    std::optional<console::StepId> needs = std::nullopt;
};

// The eleven steps, each column top to bottom, the domestic column first: the order the
// menu shows them and `belmo run` carries them (drivers before vehicles).
const QList<TransportItem>& transportItems();
const TransportItem& transportItem(console::StepId id);
bool isTransportStep(console::StepId id);
// The step a command-line key names; null when none does.
const TransportItem* findTransportStep(const QString& key);
// The command-line key that names all eleven steps.
inline const QString kAllTransportSteps = QStringLiteral("nakliyat");

}  // namespace belmo::transfers

#pragma once

#include "console/BELMO.h"

#include <QWidget>

#include <map>

class QStackedWidget;

namespace belmo::gui {

class BusyBar;
class PanelView;

// The console "Mervo Belmo Sihirbazı": its panels stacked on each other, the one at the
// front of the model's panel stack shown. The menu panel carries the menu buttons with
// their done marks, the version labels and the posting-mode boxes; every step panel is a
// plain PanelView of the step's frame.
class ConsoleView : public QWidget {
    Q_OBJECT

public:
    explicit ConsoleView(console::BELMO& console, QWidget* parent = nullptr);

    // The view of one of the console's panels; null for a panel it does not hold.
    PanelView* panelView(const widgets::Panel& panel) const;
    BusyBar* busyBar() const { return busyBar_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showFront();
    void fillMenu(PanelView& menu);
    QWidget* buildMenuButtons(QWidget* parent);
    QWidget* buildVersionLabels(QWidget* parent);
    QWidget* buildPostingModes(QWidget* parent);

    console::BELMO& console_;
    QStackedWidget* stack_;
    BusyBar* busyBar_;
    std::map<const widgets::Panel*, PanelView*> views_;
};

}  // namespace belmo::gui

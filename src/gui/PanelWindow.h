#pragma once

#include "widgets/Controls.h"
#include "widgets/Panel.h"

#include <QWidget>

#include <functional>
#include <map>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace belmo::gui {

class BusyBar;
class ColumnWidths;
class PanelView;

// A window of panels stacked on each other, the one at the front of the model's panel stack
// shown, and the busy strip at its foot while the window's long work runs: what the console
// and the transport window share. Each fills its menu panel itself.
class PanelWindow : public QWidget {
    Q_OBJECT

public:
    // The view of one of the window's panels; null for a panel it does not hold.
    PanelView* panelView(const widgets::Panel& panel) const;
    BusyBar* busyBar() const { return busyBar_; }

protected:
    // The grids keep the widths the user sets in `widths`, when given.
    PanelWindow(const QString& title, widgets::PanelStack& panels, widgets::Activity& busy, ColumnWidths* widths,
                QWidget* parent);
    // Makes a view of every panel; the menu's view is handed to fillMenu.
    void addPanels(const widgets::Panel& menu, const std::function<void(PanelView&)>& fillMenu);
    // A status bar at the window's foot, below the busy strip, showing `text`.
    void addStatusLine(widgets::TextBox& text);

private:
    void showFront();

    widgets::PanelStack& panels_;
    QStackedWidget* stack_;
    BusyBar* busyBar_;
    ColumnWidths* widths_;
    std::map<const widgets::Panel*, PanelView*> views_;
};

// A step's menu button and its done mark, both bound to the model; the mark keeps its place
// when hidden, so the buttons stay put when one appears.
struct MenuButtonView {
    QPushButton* button;
    QLabel* mark;
};
MenuButtonView menuButtonView(widgets::Button& button, widgets::DoneMark& done, QWidget* parent);

}  // namespace belmo::gui

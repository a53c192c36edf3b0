#pragma once

#include "transfers/transport/NAKLIYAT.h"

#include <QWidget>

#include <map>

class QGridLayout;
class QPushButton;
class QStackedWidget;

namespace belmo::gui {

class PanelView;

// The transport window "Nakliyat Belmoleri": its panels stacked on each other, the one at
// the front of the model's panel stack shown. The menu panel carries "Çıkış" at the top
// right and the two columns of step buttons, each with its done mark on its left and the
// buttons of one row at the same height. A vehicle button whose driver step has not
// finished yet looks dimmed; pressed, it tells why it does not open.
class TransportView : public QWidget {
    Q_OBJECT

public:
    explicit TransportView(transfers::NAKLIYAT& window, QWidget* parent = nullptr);

    PanelView* panelView(const widgets::Panel& panel) const;
    QPushButton* menuButton(console::StepId id) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showFront();
    void fillMenu(PanelView& menu);
    void addStep(QGridLayout* grid, transfers::NAKLIYAT::MenuButton& entry, int row, int col);
    void showWaiting();

    transfers::NAKLIYAT& window_;
    QStackedWidget* stack_;
    std::map<const widgets::Panel*, PanelView*> views_;
    std::map<console::StepId, QPushButton*> buttons_;
};

}  // namespace belmo::gui

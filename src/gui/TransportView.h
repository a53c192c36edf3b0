#pragma once

#include "gui/PanelWindow.h"
#include "transfers/transport/NAKLIYAT.h"

#include <map>

class QGridLayout;
class QPushButton;

namespace belmo::gui {

// The transport window "Nakliyat Belmoleri". The menu panel carries "Çıkış" at the top
// right and the two columns of step buttons, each with its done mark on its left and the
// buttons of one row at the same height. A vehicle button whose driver step has not
// finished yet looks dimmed; pressed, it tells why it does not open.
class TransportView : public PanelWindow {
    Q_OBJECT

public:
    explicit TransportView(transfers::NAKLIYAT& window, ColumnWidths* widths = nullptr, QWidget* parent = nullptr);

    QPushButton* menuButton(console::StepId id) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillMenu(PanelView& menu);
    void addStep(QGridLayout* grid, transfers::NAKLIYAT::MenuButton& entry, int row, int col);
    void showWaiting();

    transfers::NAKLIYAT& window_;
    std::map<console::StepId, QPushButton*> buttons_;
};

}  // namespace belmo::gui

#pragma once

#include "console/BELMO.h"
#include "gui/PanelWindow.h"

namespace belmo::gui {

// The console "Mervo Belmo Sihirbazı". The menu panel carries the menu buttons with their
// done marks, the version labels and the posting-mode boxes; every step panel is a plain
// PanelView of the step's frame.
class ConsoleView : public PanelWindow {
    Q_OBJECT

public:
    explicit ConsoleView(console::BELMO& console, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillMenu(PanelView& menu);
    QWidget* buildMenuButtons(QWidget* parent);
    QWidget* buildBackupLine(QWidget* parent);
    QWidget* buildVersionLabels(QWidget* parent);
    QWidget* buildPostingModes(QWidget* parent);

    console::BELMO& console_;
};

}  // namespace belmo::gui

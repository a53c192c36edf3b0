#pragma once

#include "console/BELMO.h"
#include "gui/PanelWindow.h"

#include <QPointer>

namespace belmo::gui {

class ReportWindow;

// The console "Mervo Belmo Sihirbazı". The menu panel carries the menu buttons with their
// done marks, the version labels and the posting-mode boxes; every step panel is a plain
// PanelView of the step's frame.
class ConsoleView : public PanelWindow {
    Q_OBJECT

public:
    explicit ConsoleView(console::BELMO& console, ColumnWidths* widths = nullptr, QWidget* parent = nullptr);
    ~ConsoleView() override;

    // The report window the console opened last, while it is open.
    ReportWindow* reportWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillMenu(PanelView& menu);
    QWidget* buildMenuButtons(QWidget* parent);
    QWidget* buildBackupLine(QWidget* parent);
    QWidget* buildVersionLabels(QWidget* parent);
    QWidget* buildPostingModes(QWidget* parent);
    void openReport();

    console::BELMO& console_;
    QPointer<ReportWindow> report_;
};

}  // namespace belmo::gui

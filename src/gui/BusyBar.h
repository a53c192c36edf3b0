#pragma once

#include "widgets/Controls.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace belmo::gui {

// The strip at the foot of a window while its long work (a step's "Başla") runs: what the
// work is waiting for and the "İptal" button. For that time it holds the input to the
// window's other controls (message boxes and questions, windows of their own, still take
// theirs), lets Esc cancel, and repaints the window at the work's pulses, so the progress bar
// moves and the window never freezes.
class BusyBar : public QWidget {
    Q_OBJECT

public:
    BusyBar(widgets::Activity& activity, QWidget* window);
    ~BusyBar() override;

    QPushButton* cancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void pulse();

    widgets::Activity& activity_;
    QWidget* window_;
    QLabel* status_;
    QPushButton* cancel_;
    QElapsedTimer sincePaint_;
    bool filtering_ = false;
};

}  // namespace belmo::gui

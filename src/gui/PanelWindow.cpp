#include "gui/PanelWindow.h"

#include "gui/Bindings.h"
#include "gui/BusyBar.h"
#include "gui/GridView.h"
#include "gui/PanelView.h"
#include "gui/Pictures.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

namespace belmo::gui {

PanelWindow::PanelWindow(const QString& title, widgets::PanelStack& panels, widgets::Activity& busy, ColumnWidths* widths,
                         QWidget* parent)
    : QWidget(parent), panels_(panels), stack_(new QStackedWidget(this)), busyBar_(new BusyBar(busy, this)), widths_(widths)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(stack_);
    layout->addWidget(busyBar_);
    resize(900, 600);
}

void PanelWindow::addPanels(const widgets::Panel& menu, const std::function<void(PanelView&)>& fillMenu)
{
    for (widgets::Panel* panel : panels_.panels()) {
        auto* view = new PanelView(*panel, stack_);
        if (panel == &menu) fillMenu(*view);
        if (widths_ && view->gridView()) view->gridView()->keepWidthsIn(*widths_, panel->caption());
        views_[panel] = view;
        stack_->addWidget(view);
    }
    follow<PanelWindow>(panels_, this, [](PanelWindow& window) { window.showFront(); });
}

void PanelWindow::addStatusLine(widgets::TextBox& text)
{
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    auto* line = new QLabel(bar);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bindLabel(line, text);
    bar->addWidget(line, 1);
    layout()->addWidget(bar);
}

PanelView* PanelWindow::panelView(const widgets::Panel& panel) const
{
    const auto it = views_.find(&panel);
    return it == views_.end() ? nullptr : it->second;
}

// The panel in front takes the keyboard: a step panel's grid first, as Tab runs from it.
void PanelWindow::showFront()
{
    const widgets::Panel* front = panels_.front();
    PanelView* view = front ? panelView(*front) : nullptr;
    if (!view || stack_->currentWidget() == view) return;
    stack_->setCurrentWidget(view);
    if (view->gridView()) view->gridView()->setFocus();
}

MenuButtonView menuButtonView(widgets::Button& button, widgets::DoneMark& done, QWidget* parent)
{
    auto* push = new QPushButton(button.caption(), parent);
    push->setMinimumHeight(push->sizeHint().height() + 6);
    bindButton(push, button);
    const QPixmap tick = doneMarkPicture();
    auto* mark = new QLabel(parent);
    mark->setPixmap(tick);
    mark->setFixedSize(tick.size());
    QSizePolicy keepPlace = mark->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    mark->setSizePolicy(keepPlace);
    bindDoneMark(mark, done);
    return {push, mark};
}

}  // namespace belmo::gui

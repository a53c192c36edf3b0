#include "gui/TransportView.h"

#include "gui/Bindings.h"
#include "gui/PanelView.h"
#include "gui/Pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace belmo::gui {

using transfers::NAKLIYAT;
using transfers::Side;

TransportView::TransportView(NAKLIYAT& window, QWidget* parent)
    : QWidget(parent), window_(window), stack_(new QStackedWidget(this))
{
    setWindowTitle(NAKLIYAT::kCaption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(stack_);

    for (widgets::Panel* panel : window_.panels.panels()) {
        auto* view = new PanelView(*panel, stack_);
        if (panel == &window_.menu) fillMenu(*view);
        views_[panel] = view;
        stack_->addWidget(view);
    }
    follow<TransportView>(window_.panels, this, [](TransportView& view) { view.showFront(); });
    resize(900, 600);
}

PanelView* TransportView::panelView(const widgets::Panel& panel) const
{
    const auto it = views_.find(&panel);
    return it == views_.end() ? nullptr : it->second;
}

QPushButton* TransportView::menuButton(console::StepId id) const
{
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void TransportView::showFront()
{
    if (const widgets::Panel* front = window_.panels.front())
        if (PanelView* view = panelView(*front)) stack_->setCurrentWidget(view);
}

void TransportView::fillMenu(PanelView& menu)
{
    auto* top = new QHBoxLayout;
    top->addStretch(1);
    auto* exit = new QPushButton(window_.cikis.caption(), &menu);
    bindButton(exit, window_.cikis);
    top->addWidget(exit);
    menu.body()->addLayout(top);

    auto* holder = new QWidget(&menu);
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    std::map<Side, int> rows;
    for (const Side side : {Side::Yurtici, Side::Uluslararasi}) {
        auto* heading = new QLabel(transfers::heading(side), holder);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, 0, side == Side::Yurtici ? 1 : 4);
        rows[side] = 1;
    }
    for (const auto& entry : window_.menuButtons()) {
        const Side side = entry->item.side;
        addStep(grid, *entry, rows[side]++, side == Side::Yurtici ? 0 : 3);
    }
    grid->setColumnMinimumWidth(2, 24);  // between the columns
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    menu.body()->addWidget(holder);
    menu.body()->addStretch(1);
    showWaiting();
}

// The done mark at `col`, the button right of it.
void TransportView::addStep(QGridLayout* grid, NAKLIYAT::MenuButton& entry, int row, int col)
{
    QWidget* holder = grid->parentWidget();
    auto* button = new QPushButton(entry.button.caption(), holder);
    button->setMinimumHeight(button->sizeHint().height() + 6);
    bindButton(button, entry.button);
    buttons_[entry.item.id] = button;

    const QPixmap tick = doneMarkPicture();
    auto* mark = new QLabel(holder);
    mark->setPixmap(tick);
    mark->setFixedSize(tick.size());
    QSizePolicy keepPlace = mark->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);  // the buttons stay put when a mark appears
    mark->setSizePolicy(keepPlace);
    // A done mark may let a waiting button open: both are redrawn.
    follow<QLabel>(entry.done, mark, [this, &entry](QLabel& label) {
        label.setVisible(entry.done.visible());
        showWaiting();
    });

    grid->addWidget(mark, row, col);
    grid->addWidget(button, row, col + 1);
}

void TransportView::showWaiting()
{
    for (const auto& [id, button] : buttons_) {
        const bool waiting = window_.waiting(id);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, waiting ? palette.color(QPalette::Disabled, QPalette::ButtonText)
                                                       : QPalette().color(QPalette::ButtonText));
        button->setPalette(palette);
        button->setToolTip(waiting ? NAKLIYAT::kDriversFirst : QString());
    }
}

void TransportView::closeEvent(QCloseEvent* event)
{
    // The window's close control closes the window; without another window the program ends.
    window_.close();
    event->accept();
}

}  // namespace belmo::gui

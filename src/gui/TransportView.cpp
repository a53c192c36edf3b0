#include "gui/TransportView.h"

#include "gui/Bindings.h"
#include "gui/PanelView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace belmo::gui {

using transfers::NAKLIYAT;
using transfers::Side;

TransportView::TransportView(NAKLIYAT& window, ColumnWidths* widths, QWidget* parent)
    : PanelWindow(NAKLIYAT::kCaption, window.panels, window.busy, widths, parent), window_(window)
{
    addPanels(window_.menu, [this](PanelView& menu) { fillMenu(menu); });
}

QPushButton* TransportView::menuButton(console::StepId id) const
{
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
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
    const MenuButtonView view = menuButtonView(entry.button, entry.done, grid->parentWidget());
    buttons_[entry.item.id] = view.button;
    // A done mark may let a waiting button open: both are redrawn.
    follow<QLabel>(entry.done, view.mark, [this, &entry](QLabel& label) {
        label.setVisible(entry.done.visible());
        showWaiting();
    });
    grid->addWidget(view.mark, row, col);
    grid->addWidget(view.button, row, col + 1);
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

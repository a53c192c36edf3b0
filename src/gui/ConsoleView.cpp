#include "gui/ConsoleView.h"

#include "gui/Bindings.h"
#include "gui/BusyBar.h"
#include "gui/PanelView.h"
#include "gui/Pictures.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace belmo::gui {

namespace {

constexpr int kMenuColumns = 2;

QCheckBox* modeBox(widgets::CheckBox& box, const QString& tip, QWidget* parent)
{
    auto* view = new QCheckBox(parent);
    view->setToolTip(tip);
    bindCheckBox(view, box);
    return view;
}

}  // namespace

ConsoleView::ConsoleView(console::BELMO& console, QWidget* parent)
    : QWidget(parent), console_(console), stack_(new QStackedWidget(this))
{
    setWindowTitle(console::BELMO::kCaption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(stack_);
    busyBar_ = new BusyBar(console_.busy, this);
    layout->addWidget(busyBar_);

    for (widgets::Panel* panel : console_.panels.panels()) {
        auto* view = new PanelView(*panel, stack_);
        if (panel == &console_.menu) fillMenu(*view);
        views_[panel] = view;
        stack_->addWidget(view);
    }
    follow<ConsoleView>(console_.panels, this, [](ConsoleView& view) { view.showFront(); });
    resize(900, 600);
}

PanelView* ConsoleView::panelView(const widgets::Panel& panel) const
{
    const auto it = views_.find(&panel);
    return it == views_.end() ? nullptr : it->second;
}

void ConsoleView::showFront()
{
    if (const widgets::Panel* front = console_.panels.front())
        if (PanelView* view = panelView(*front)) stack_->setCurrentWidget(view);
}

void ConsoleView::fillMenu(PanelView& menu)
{
    menu.body()->addWidget(buildMenuButtons(&menu));
    menu.body()->addStretch(1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(buildVersionLabels(&menu));
    foot->addStretch(1);
    foot->addWidget(buildPostingModes(&menu), 0, Qt::AlignBottom);
    menu.body()->addLayout(foot);
}

QWidget* ConsoleView::buildMenuButtons(QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    const QPixmap tick = doneMarkPicture();
    int index = 0;
    for (const auto& entry : console_.menuButtons()) {
        auto* button = new QPushButton(entry->button.caption(), holder);
        button->setMinimumHeight(button->sizeHint().height() + 6);
        bindButton(button, entry->button);
        auto* mark = new QLabel(holder);
        mark->setPixmap(tick);
        mark->setFixedSize(tick.size());
        QSizePolicy keepPlace = mark->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);  // the buttons stay put when a mark appears
        mark->setSizePolicy(keepPlace);
        bindDoneMark(mark, entry->done);

        const int row = index / kMenuColumns;
        const int col = (index % kMenuColumns) * 2;
        grid->addWidget(button, row, col);
        grid->addWidget(mark, row, col + 1);
        ++index;
    }
    for (int c = 0; c < kMenuColumns; ++c) grid->setColumnStretch(c * 2, 1);
    return holder;
}

QWidget* ConsoleView::buildVersionLabels(QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* form = new QFormLayout(holder);
    form->setContentsMargins(0, 0, 0, 0);
    for (const auto& [label, value] : console::BELMO::kVersionLabels) form->addRow(label, new QLabel(value, holder));
    return holder;
}

QWidget* ConsoleView::buildPostingModes(QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(modeBox(console_.ChH2, QStringLiteral("HModu 2"), holder));
    row->addWidget(modeBox(console_.ChH3, QStringLiteral("HModu 3"), holder));
    row->addSpacing(16);
    row->addWidget(modeBox(console_.ChK2, QStringLiteral("KModu 2"), holder));
    row->addWidget(modeBox(console_.ChK3, QStringLiteral("KModu 3"), holder));
    return holder;
}

void ConsoleView::closeEvent(QCloseEvent* event)
{
    // The window's close control closes the console like its "Çıkış".
    console_.close();
    event->accept();
}

}  // namespace belmo::gui

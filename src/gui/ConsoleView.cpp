#include "gui/ConsoleView.h"

#include "app/Session.h"
#include "console/StepFrame.h"
#include "db/DbError.h"
#include "gui/Bindings.h"
#include "gui/PanelView.h"
#include "gui/ReportWindow.h"
#include "services/Errors.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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

ConsoleView::ConsoleView(console::BELMO& console, ColumnWidths* widths, QWidget* parent)
    : PanelWindow(console::BELMO::kCaption, console.panels, console.busy, widths, parent), console_(console)
{
    addPanels(console_.menu, [this](PanelView& menu) { fillMenu(menu); });
    addStatusLine(console_.durumSatiri);
    console_.onReport = [this] { openReport(); };
}

ConsoleView::~ConsoleView()
{
    console_.onReport = nullptr;
    delete report_;
}

ReportWindow* ConsoleView::reportWindow() const { return report_.data(); }

// The reconciliation as the companies stand now, in a window of its own beside the console.
// On a large company it reads for a while: the console shows its busy strip meanwhile,
// repaints, and "İptal" ends the reading without a window.
void ConsoleView::openReport()
{
    app::Session& session = console_.session();
    console::BusyScope busy(console_.busy, session.pool().settings());
    try {
        services::handle(session.errors(), [&] {
            proof::Reconciliation report = reconcileConsole(console_);
            busy.end();
            delete report_;
            report_ = new ReportWindow(std::move(report), session.dialogs());
            report_->show();
            report_->activateWindow();
        });
    } catch (const db::Cancelled&) {
    }
}

void ConsoleView::fillMenu(PanelView& menu)
{
    menu.body()->addWidget(buildMenuButtons(&menu));
    menu.body()->addWidget(buildBackupLine(&menu));
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
    int index = 0;
    for (const auto& entry : console_.menuButtons()) {
        const MenuButtonView view = menuButtonView(entry->button, entry->done, holder);
        const int row = index / kMenuColumns;
        const int col = (index % kMenuColumns) * 2;
        grid->addWidget(view.button, row, col);
        grid->addWidget(view.mark, row, col + 1);
        ++index;
    }
    for (int c = 0; c < kMenuColumns; ++c) grid->setColumnStretch(c * 2, 1);
    return holder;
}

// The message line with the backup of the target, and the button that puts it back.
QWidget* ConsoleView::buildBackupLine(QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    auto* line = new QLabel(holder);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bindLabel(line, console_.mesajSatiri);
    auto* restore = new QPushButton(console_.yedegiGeriYukle.caption(), holder);
    bindButton(restore, console_.yedegiGeriYukle);
    row->addWidget(line, 1);
    row->addWidget(restore);
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

#include "gui/ReportWindow.h"

#include "app/Session.h"
#include "console/BELMO.h"
#include "gui/Bindings.h"
#include "proof/Backups.h"
#include "proof/SessionReport.h"
#include "proof/ReportTables.h"
#include "services/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace belmo::gui {

using namespace Qt::Literals::StringLiterals;

namespace {

QTableWidget* tableView(const proof::ReportTable& t, QWidget* parent)
{
    auto* view = new QTableWidget(int(t.rows.size()), int(t.headers.size()), parent);
    view->setHorizontalHeaderLabels(t.headers);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    QFont bold = view->font();
    bold.setBold(true);
    for (int r = 0; r < int(t.rows.size()); ++r) {
        const proof::ReportRow& row = t.rows[r];
        for (int c = 0; c < int(row.cells.size()); ++c) {
            auto* item = new QTableWidgetItem(row.cells[c]);
            item->setTextAlignment((t.numeric[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            if (row.differs) item->setBackground(QColor(255, 205, 205));
            if (row.total) {
                item->setFont(bold);
                item->setBackground(QColor(235, 235, 235));
            }
            view->setItem(r, c, item);
        }
    }
    view->resizeColumnsToContents();
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

// A part's tab: its table, or why it could not be reconciled.
QWidget* partView(const proof::ReportTable& t, QWidget* parent)
{
    if (t.unavailable.isEmpty() && !t.rows.empty()) return tableView(t, parent);
    auto* label = new QLabel(t.unavailable.isEmpty() ? u"Kayıt yok."_s : u"Yapılamadı: "_s + t.unavailable, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

QString tabCaption(const proof::ReportTable& t)
{
    return t.differing > 0 ? u"%1 (%2 fark)"_s.arg(t.title).arg(t.differing) : t.title;
}

}  // namespace

ReportWindow::ReportWindow(proof::Reconciliation report, services::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), report_(std::move(report)), dialogs_(dialogs), tabs_(new QTabWidget(this)),
      save_(new QPushButton(kSaveCaption, this))
{
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    QStringList lines{u"<b>%1</b>"_s.arg(proof::reportTitle().toHtmlEscaped())};
    for (const QString& line : proof::companyLines(report_.run)) lines << line.toHtmlEscaped();
    auto* heading = new QLabel(lines.join(u"<br>"_s), this);
    layout->addWidget(heading);
    for (const proof::ReportTable& t : proof::reportTables(report_)) {
        const int tab = tabs_->addTab(partView(t, tabs_), tabCaption(t));
        if (t.differing > 0) tabs_->tabBar()->setTabTextColor(tab, Qt::darkRed);
    }
    layout->addWidget(tabs_, 1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(new QLabel(u"Toplam fark: %1"_s.arg(report_.differences()), this));
    foot->addStretch(1);
    foot->addWidget(save_);
    auto* close = new QPushButton(u"Kapat"_s, this);
    foot->addWidget(close);
    layout->addLayout(foot);
    for (QPushButton* button : {save_, close}) pressedByEnter(button);
    connect(save_, &QPushButton::clicked, this, &ReportWindow::savePdf);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    askFileName = [this] {
        const QString suggested = QDir::home().filePath(u"mutabakat-%1-%2.pdf"_s.arg(report_.run.source.code, report_.run.target.code));
        return QFileDialog::getSaveFileName(this, kSaveCaption, suggested, u"PDF (*.pdf)"_s);
    };
    resize(900, 600);
}

void ReportWindow::savePdf()
{
    QString path = askFileName();
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += u".pdf"_s;
    QString error;
    if (proof::writeReportPdf(report_, path, error))
        dialogs_.message(u"Rapor kaydedildi: "_s + path, {}, services::Dialogs::Icon::Information);
    else
        dialogs_.message(error, {}, services::Dialogs::Icon::Critical);
}

namespace {

// A company as the report heads it: by the code its file is named after.
proof::CompanyFacts named(const QString& connectionString)
{
    proof::CompanyFacts facts;
    facts.code = proof::companyCode(proof::fileOf(connectionString));
    return facts;
}

}  // namespace

proof::Reconciliation reconcileConsole(console::BELMO& console)
{
    app::Session& s = console.session();
    proof::RunSummary run;
    run.source = named(s.KaynakBag);
    run.target = named(s.HedefBag);
    return proof::reconcileSession(s, {}, std::move(run));
}

}  // namespace belmo::gui

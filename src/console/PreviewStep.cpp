#include "console/PreviewStep.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/JetFunctions.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"

namespace belmo::console {

using namespace Qt::Literals::StringLiterals;
using widgets::Grid;

PreviewStep::PreviewStep(StepHost& host, StepId id, Options options)
    : Step(host, id), frame(options.caption), options_(std::move(options))
{
    frame.grid = &grid;
    frame.options.append(&tumunuSec);
    if (options_.countBoxes) {
        toplamKayit.setText(u"0,00"_s);
        belmoKayit.setText(u"0,00"_s);
        frame.boxes.append({u"TOPLAM KAYIT SAYISI"_s, &toplamKayit});
        frame.boxes.append({u"BELMO KAYIT SAYISI"_s, &belmoKayit});
    }
    frame.buttons = {&basla, &cikis};

    grid.onClick = [this] { rowToggle(); };
    tumunuSec.onChange = [this] { selectAllChanged(); };
    basla.onClick = [this] { startOnLoadedList(); };
    cikis.onClick = [this] { Cikis(); };
}

void PreviewStep::menuAction()
{
    FILTRELE();
    tumunuSec.setValue(1);
    host().showPanel(frame);
}

// Everything the load reads from the source is read before the grid changes: a load the
// user cancels (db::Cancelled, passed on to the menu action) leaves the grid, its ticks, its
// counts and totals as they were, and a list loaded before stays the one "Başla" carries.
void PreviewStep::FILTRELE()
{
    try {
        db::Connection con(session().pool());
        con.open(session().KaynakBag);
        prepareSource(con);
        db::Recordset rs;
        rs.open(query(), con, db::CursorType::Static, db::LockType::ReadOnly);
        const qint64 records = rs.recordCount();  // the records are read here
        QList<services::StrayValue> strays = searchStrays(con);

        loadFailure_.reset();
        strays_ = std::move(strays);
        refused_.clear();
        if (records == 0)
            showNoRows();
        else
            grid.bind(rs, layout().cols);
        loaded_ = int(records);
        RowReader reader(rs);
        readRows(reader);
        problems_ = reader.problems();
        for (auto it = problems_.cbegin(); it != problems_.cend(); ++it) refused_.insert(it.key());
        refuseStrayRows();
        showTotal(records);
    } catch (const db::DbError& e) {
        // No list: the grid a failed load left empty.
        loadFailure_ = e;
        strays_.clear();
        problems_.clear();
        refused_.clear();
        showNoRows();
        loaded_ = 0;
        showTotal(0);
        services::reportError(session().errors(), e);
    }
    DZN();
    if (options_.loaderCallsCounter) HESAPLA();
}

// The grid of an empty list: its header and one blank row, which holds no record.
void PreviewStep::showNoRows()
{
    Grid::Batch batch(grid);
    grid.clear();
    grid.setRows(2);
}

void PreviewStep::showZeroInEmptyCells(const QList<int>& columns, const QString& format)
{
    const QString zero = vb::formatNumber(0, format);
    Grid::Batch batch(grid);
    for (int r = 1; r <= loaded_ && r < grid.rows(); ++r)
        for (const int col : columns)
            if (grid.text(r, col).trimmed().isEmpty()) grid.setText(r, col, zero);
}

// The stray values where this step reads the source.
QList<services::StrayValue> PreviewStep::searchStrays(db::Connection& source)
{
    QList<services::StrayValue> found;
    for (const services::StraySearch& search : straySearches()) found << services::findStrayValues(source, search);
    return found;
}

// The loaded rows a stray value belongs to cannot be ticked.
void PreviewStep::refuseStrayRows()
{
    QSet<QString> keys;
    for (const services::StrayValue& stray : strays_) keys.insert(db::jet::foldedText(stray.key));
    if (keys.isEmpty()) return;
    for (int r = 1; r <= loaded_ && r < grid.rows(); ++r)
        if (keys.contains(db::jet::foldedText(rowKey(r)))) refused_.insert(r);
}

bool PreviewStep::transfer(const TransferPlan& plan, const std::function<void(Transfer&)>& body)
{
    return Step::transfer(plan, [&](Transfer& t) {
        // A row whose values do not read is not carried, nor is one with a stray value in the
        // source; a stray value of no row is told all the same.
        for (auto it = problems_.cbegin(); it != problems_.cend(); ++it) t.refuse(rowLabel(it.key()), it.value());
        QSet<QString> rowKeys;
        for (const int r : refused_) rowKeys.insert(db::jet::foldedText(rowKey(r)));
        for (const services::StrayValue& stray : strays_) {
            if (rowKeys.contains(db::jet::foldedText(stray.key)))
                t.refuse(stray.key, stray.describe());
            else
                t.note(stray.key, stray.describe());
        }
        body(t);
    });
}

// "Başla" on a grid that holds no list of the source does nothing but say why: nothing is
// deleted or written, the step does not finish and the wizard stops here.
void PreviewStep::startOnLoadedList()
{
    if (!isLoaded()) {
        session().dialogs().message(u"Liste kaynak şirketten yüklenemedi; aktarım yapılmadı.\r"
                                    u"Sorunu giderip listeyi yeniden yükleyiniz."_s,
                                    u"Belmo"_s, services::Dialogs::Icon::Critical, loadFailure_->detail());
        return;
    }
    list(session().listing);
    services::handle(session().errors(), [this] { Basla(); });
}

void PreviewStep::showTotal(qint64 records)
{
    if (options_.countBoxes) toplamKayit.setText(QString::number(records));
}

void PreviewStep::DZN()
{
    services::handle(session().errors(), [this] {
        const GridLayout spec = layout();
        Grid::Batch batch(grid);
        if (spec.cols) grid.setCols(*spec.cols);
        for (int c = 0; c < spec.columns.size() && c < grid.cols(); ++c) {
            const GridColumn& column = spec.columns[c];
            grid.setText(0, c, column.header);
            grid.setColWidth(c, column.width);
            if (column.alignment) grid.setColAlignment(c, *column.alignment);
            if (column.headerAlignment) grid.setHeaderAlignment(c, *column.headerAlignment);
        }
        for (int r = 1; r <= loaded_ && r < grid.rows(); ++r) {
            if (refused(r))
                untick(r);
            else
                tick(r);
        }
        colourRows();
    });
    if (!options_.loaderCallsCounter) HESAPLA();
}

void PreviewStep::HESAPLA()
{
    services::handle(session().errors(), [this] { belmoKayit.setText(QString::number(tickedRows().size())); });
}

void PreviewStep::rowToggle()
{
    services::handle(session().errors(), [this] {
        // The blank row of an empty result holds no record and cannot be ticked.
        const int r = grid.row();
        if (grid.col() == 0 && r >= 1 && r <= loaded_ && !refused(r)) {
            if (ticked(r))
                untick(r);
            else
                tick(r);
        }
    });
    HESAPLA();
}

void PreviewStep::selectAllChanged()
{
    services::handle(session().errors(), [this] {
        Grid::Batch batch(grid);
        for (int r = 1; r <= loaded_ && r < grid.rows(); ++r) {
            if (tumunuSec.value() == 1 && !refused(r))
                tick(r);
            else
                untick(r);
        }
    });
    HESAPLA();
}

void PreviewStep::tick(int row)
{
    if (row >= int(ticks_.size())) ticks_.resize(row + 1, 0);
    ticks_[row] = 1;
    grid.setColour(row, 0, Grid::kWhite);
    grid.setText(row, 0, u"."_s);
    grid.setPicture(row, 0, Grid::Picture::Ticked);
}

void PreviewStep::untick(int row)
{
    if (row < int(ticks_.size())) ticks_[row] = 0;
    grid.setText(row, 0, QString());
    grid.setColour(row, 0, Grid::kWhite);
    grid.setPicture(row, 0, Grid::Picture::Empty);
}

bool PreviewStep::ticked(int row) const { return row >= 1 && row <= loaded_ && row < int(ticks_.size()) && ticks_[row]; }

QList<int> PreviewStep::tickedRows() const
{
    QList<int> rows;
    for (int r = 1; r <= loaded_; ++r)
        if (ticked(r)) rows.append(r);
    return rows;
}

QStringList PreviewStep::leftOut() const
{
    QStringList labels;
    for (int r = 1; r <= loaded_; ++r)
        if (!ticked(r)) labels.append(rowLabel(r));
    return labels;
}

void PreviewStep::Cikis()
{
    if (options_.exitShowsMenu)
        host().showMenu();
    else
        host().hidePanel(frame);
}

}  // namespace belmo::console

#include "console/PreviewStep.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
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
    basla.onClick = [this] { services::handle(session().errors(), [this] { Basla(); }); };
    cikis.onClick = [this] { Cikis(); };
}

void PreviewStep::menuAction()
{
    FILTRELE();
    tumunuSec.setValue(1);
    host().showPanel(frame);
}

void PreviewStep::FILTRELE()
{
    services::handle(session().errors(), [this] {
        db::Connection con(session().pool());
        con.open(session().KaynakBag);
        db::Recordset rs;
        rs.open(query(), con, db::CursorType::Static, db::LockType::ReadOnly);
        const qint64 records = rs.recordCount();
        if (records == 0) {
            Grid::Batch batch(grid);
            grid.clear();
            grid.setRows(2);
        } else {
            grid.bind(rs);
        }
        loaded_ = int(records);
        showTotal(records);
        DZN();
        if (options_.loaderCallsCounter) HESAPLA();
    });
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
        for (int r = 1; r <= loaded_ && r < grid.rows(); ++r) tick(r);
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
        if (grid.col() == 0 && r >= 1 && r <= loaded_) {
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
            if (tumunuSec.value() == 1)
                tick(r);
            else
                untick(r);
        }
    });
    HESAPLA();
}

void PreviewStep::tick(int row)
{
    grid.setColour(row, 0, Grid::kWhite);
    grid.setText(row, 0, u"."_s);
    grid.setPicture(row, 0, Grid::Picture::Ticked);
}

void PreviewStep::untick(int row)
{
    grid.setText(row, 0, QString());
    grid.setColour(row, 0, Grid::kWhite);
    grid.setPicture(row, 0, Grid::Picture::Empty);
}

bool PreviewStep::ticked(int row) const
{
    return grid.text(row, 0) == u"."_s;
}

QList<int> PreviewStep::tickedRows() const
{
    QList<int> rows;
    for (int r = 1; r < grid.rows(); ++r)
        if (ticked(r)) rows.append(r);
    return rows;
}

double PreviewStep::number(int row, int col) const
{
    return vb::CDbl(db::Value(grid.text(row, col)));
}

void PreviewStep::Cikis()
{
    if (options_.exitShowsMenu)
        host().showMenu();
    else
        host().hidePanel(frame);
}

}  // namespace belmo::console

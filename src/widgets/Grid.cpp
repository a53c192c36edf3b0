#include "widgets/Grid.h"

#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"

#include <algorithm>

namespace belmo::widgets {

namespace {
// A flex grid raises "Subscript out of range" for a cell outside it.
[[noreturn]] void outOfRange(int row, int col)
{
    throw db::DbError(db::err::SubscriptOutOfRange, QStringLiteral("Subscript out of range (%1, %2)").arg(row).arg(col));
}
}  // namespace

Grid::Grid()
{
    setCols(2);
    setRows(2);
}

Grid::Batch::~Batch()
{
    if (--grid_.batchDepth_ == 0 && grid_.batchChanged_) {
        grid_.batchChanged_ = false;
        grid_.notify(-1, -1);
    }
}

void Grid::notify(int row, int col)
{
    if (batchDepth_ > 0) {
        batchChanged_ = true;
        return;
    }
    if (observer_) observer_(row, col);
}

void Grid::setRows(int rows)
{
    rows = std::max(rows, 0);
    cells_.resize(rows);
    for (auto& r : cells_) r.resize(cols_);
    row_ = std::min(row_, std::max(rows - 1, 0));
    notify(-1, -1);
}

void Grid::setCols(int cols)
{
    cols_ = std::max(cols, 0);
    columns_.resize(cols_);
    for (auto& r : cells_) r.resize(cols_);
    col_ = std::min(col_, std::max(cols_ - 1, 0));
    notify(-1, -1);
}

const Grid::Cell* Grid::cellAt(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_) return nullptr;
    return &cells_[row][col];
}

Grid::Cell& Grid::cell(int row, int col)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_) outOfRange(row, col);
    return cells_[row][col];
}

QString Grid::text(int row, int col) const
{
    if (const Cell* c = cellAt(row, col)) return c->text;
    outOfRange(row, col);
}

void Grid::setText(int row, int col, const QString& text)
{
    cell(row, col).text = text;
    notify(row, col);
}

Grid::Picture Grid::picture(int row, int col) const
{
    if (const Cell* c = cellAt(row, col)) return c->picture;
    outOfRange(row, col);
}

void Grid::setPicture(int row, int col, Picture picture)
{
    cell(row, col).picture = picture;
    notify(row, col);
}

int Grid::colour(int row, int col) const
{
    if (const Cell* c = cellAt(row, col)) return c->colour;
    outOfRange(row, col);
}

void Grid::setColour(int row, int col, int rgb)
{
    cell(row, col).colour = rgb;
    notify(row, col);
}

const Grid::Column* Grid::columnAt(int col) const
{
    return col >= 0 && col < cols_ ? &columns_[col] : nullptr;
}

Grid::Column& Grid::column(int col)
{
    if (col < 0 || col >= cols_) outOfRange(0, col);
    return columns_[col];
}

int Grid::colWidth(int col) const
{
    const Column* c = columnAt(col);
    return c ? c->width : kDefaultWidth;
}

void Grid::setColWidth(int col, int twips)
{
    column(col).width = twips;
    notify(-1, -1);
}

int Grid::colAlignment(int col) const
{
    const Column* c = columnAt(col);
    return c ? c->alignment : Alignment::General;
}

void Grid::setColAlignment(int col, int code)
{
    column(col).alignment = code;
    notify(-1, -1);
}

int Grid::headerAlignment(int col) const
{
    const Column* c = columnAt(col);
    return c ? c->headerAlignment : Alignment::General;
}

void Grid::setHeaderAlignment(int col, int code)
{
    column(col).headerAlignment = code;
    notify(-1, -1);
}

void Grid::clear()
{
    for (auto& r : cells_)
        for (auto& c : r) c = Cell{};
    notify(-1, -1);
}

int Grid::drawnAlignment(int row, int col) const
{
    const int code = row == 0 ? headerAlignment(col) : colAlignment(col);
    if (code != Alignment::General) return code;
    return vb::parseNumber(text(row, col).trimmed()) ? Alignment::RightCenter : Alignment::LeftCenter;
}

void Grid::bind(db::Recordset& rs, std::optional<int> shown)
{
    Batch batch(*this);
    const int fields = shown ? std::clamp(*shown, 0, rs.fieldCount()) : rs.fieldCount();
    QList<QList<Cell>> cells;
    cells.reserve(int(rs.recordCount()) + 1);
    QList<Cell> header(fields);
    for (int f = 0; f < fields; ++f) header[f].text = rs.fieldName(f);
    cells.append(std::move(header));
    if (!rs.eof()) rs.moveFirst();
    for (; !rs.eof(); rs.moveNext()) {
        QList<Cell> line(fields);
        for (int f = 0; f < fields; ++f) {
            const db::Value v = rs.value(f);
            if (!v.isNull()) line[f].text = vb::CStr(v);
        }
        cells.append(std::move(line));
    }
    cells_ = std::move(cells);
    columns_ = QList<Column>(fields);
    cols_ = fields;
    row_ = cells_.size() > 1 ? 1 : 0;
    col_ = 0;
    notify(-1, -1);
}

void Grid::setCurrent(int row, int col)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_) outOfRange(row, col);
    row_ = row;
    col_ = col;
}

void Grid::click(int row, int col)
{
    setCurrent(row, col);
    if (onClick) onClick();
}

}  // namespace belmo::widgets

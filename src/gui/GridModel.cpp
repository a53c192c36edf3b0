#include "gui/GridModel.h"

#include "gui/Pictures.h"

#include <QColor>
#include <QPointer>

namespace belmo::gui {

using Alignment = widgets::Grid::Alignment;

GridModel::GridModel(widgets::Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), ticked_(tickedBoxPicture()), empty_(emptyBoxPicture())
{
    rows_ = std::max(grid_.rows() - 1, 0);
    cols_ = grid_.cols();
    grid_.watch([guard = QPointer<GridModel>(this)](int row, int col) {
        if (guard) guard->gridChanged(row, col);
    });
}

void GridModel::gridChanged(int row, int col)
{
    if (row < 0 || col < 0) {
        beginResetModel();
        rows_ = std::max(grid_.rows() - 1, 0);
        cols_ = grid_.cols();
        endResetModel();
    } else if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else if (row <= rows_ && col < cols_) {
        const QModelIndex cell = index(row - 1, col);
        emit dataChanged(cell, cell);
    }
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    const int row = gridRow(index);
    const int col = index.column();
    if (!index.isValid() || row >= grid_.rows() || col >= grid_.cols()) return {};
    const widgets::Grid::Picture picture = grid_.picture(row, col);
    switch (role) {
    case Qt::DisplayRole:
        if (picture != widgets::Grid::Picture::None) return {};
        return grid_.text(row, col);
    case Qt::DecorationRole:
        if (picture == widgets::Grid::Picture::Ticked) return ticked_;
        if (picture == widgets::Grid::Picture::Empty) return empty_;
        return {};
    case Qt::ForegroundRole: {
        const int rgb = grid_.colour(row, col);
        if (rgb == widgets::Grid::kDefaultColour) return {};
        return QColor(QRgb(rgb));
    }
    case Qt::TextAlignmentRole:
        return int(alignment(grid_.drawnAlignment(row, col)));
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= grid_.cols() || grid_.rows() == 0)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return grid_.text(0, section);  // the whole header over a narrow column
    case Qt::TextAlignmentRole: return int(alignment(grid_.drawnAlignment(0, section)));
    default: return {};
    }
}

Qt::Alignment GridModel::alignment(int code)
{
    switch (code) {
    case Alignment::LeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case Alignment::LeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case Alignment::LeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case Alignment::CenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case Alignment::CenterCenter: return Qt::AlignCenter;
    case Alignment::CenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case Alignment::RightTop: return Qt::AlignRight | Qt::AlignTop;
    case Alignment::RightCenter:
    case Alignment::Amount: return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::RightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace belmo::gui

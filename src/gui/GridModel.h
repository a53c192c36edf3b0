#pragma once

#include "widgets/Grid.h"

#include <QAbstractTableModel>
#include <QPixmap>

namespace belmo::gui {

// A preview grid seen by Qt's item views. Row 0 of the grid is the horizontal header, so
// model row r is grid row r + 1. A cell with a picture shows only the picture (the tick
// column's dot is never drawn). Whole-grid notices reset the model; a one-cell notice
// repaints that cell.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GridModel(widgets::Grid& grid, QObject* parent = nullptr);

    widgets::Grid& grid() const { return grid_; }
    static int gridRow(const QModelIndex& index) { return index.row() + 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The Qt alignment of a flex grid alignment code as the grid draws it (General is
    // resolved by the grid, per cell).
    static Qt::Alignment alignment(int code);

private:
    void gridChanged(int row, int col);

    widgets::Grid& grid_;
    // The shape the views were last told about; the grid has already changed when it
    // sends its notice.
    int rows_ = 0;
    int cols_ = 0;
    QPixmap ticked_;
    QPixmap empty_;
};

}  // namespace belmo::gui

#pragma once

#include "widgets/Grid.h"

#include <QTableView>

namespace belmo::gui {

class GridModel;

// A preview grid on screen. Column widths come from the grid (15 twips to the pixel, 0
// hides the column); every row has the same height so grids of tens of thousands of
// rows scroll without measuring them. A click on a cell, or the space bar on the current
// one, is the grid's click with the grid's own row number.
class GridView : public QTableView {
    Q_OBJECT

public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kDefaultColumnWidth = 64;

    explicit GridView(widgets::Grid& grid, QWidget* parent = nullptr);

    GridModel* gridModel() const { return model_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyColumnLayout();
    void clickCell(const QModelIndex& index);

    GridModel* model_;
};

}  // namespace belmo::gui

#pragma once

#include "gui/ColumnWidths.h"
#include "widgets/Grid.h"

#include <QTableView>

namespace belmo::gui {

class GridModel;

// A preview grid on screen. Every row has the same height so grids of tens of thousands of
// rows scroll without measuring them. A click on a cell is the grid's click with the grid's
// own row number; the space bar clicks the tick column of the current row.
//
// Column widths: the layout's twips converted for this screen (0 hides the column); a
// column of numbers, dates or codes (right-aligned or centred) at least as wide as its widest
// value and its header; the room left over goes to the text columns. A width the user drags
// (or fits with a double click on the border) is kept in the widths store under the panel.
class GridView : public QTableView {
    Q_OBJECT

public:
    static constexpr int kDefaultColumnWidth = 64;
    // Of a text longer than this, only the start is measured: it is wider than any screen.
    static constexpr int kMeasuredChars = 400;

    explicit GridView(widgets::Grid& grid, QWidget* parent = nullptr);

    GridModel* gridModel() const { return model_; }
    // Widths the user sets are kept in `store` under `panel`, and the ones kept there are used.
    void keepWidthsIn(ColumnWidths& store, const QString& panel);
    // The pixels of a layout width on this screen in this view's font.
    int pixels(int twips) const;

    // What a double click on the column's border fits it to: its widest value, found without
    // measuring every row.
    int sizeHintForColumn(int column) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Column {
        int start = 0;          // pixels from the layout
        int need = 0;           // pixels that show the widest value and the header whole
        bool flexible = false;  // a text column, which takes the room left over
    };
    void measureColumns();
    Column measure(int col) const;
    void fitColumns();
    void spreadSpare(QList<int>& widths, const QList<int>& flexible, int room, int spare) const;
    void sectionResized(int col, int newSize);
    void clickCell(const QModelIndex& index);

    GridModel* model_;
    ColumnWidths own_;  // when no store is given
    ColumnWidths* widths_ = &own_;
    QString panel_;
    QList<Column> columns_;
    bool fitting_ = false;  // the widths changing now are the view's own, not the user's
};

}  // namespace belmo::gui

#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace belmo::db {
class Recordset;
}

namespace belmo::widgets {

// What the preview grids need of a flex grid. Row 0 is the header row; every cell holds
// text and may carry a picture and its own text colour. Widths are in twips (a width of
// 0 hides the column), alignments are the flex grid's codes (see Alignment).
class Grid {
public:
    enum class Picture { None, Ticked, Empty };  // the window's Image1 and Image2

    // The flex grid's alignment codes; Amount (-1) is what the layout routines give amount
    // columns, shown right-aligned.
    struct Alignment {
        static constexpr int LeftTop = 0, LeftCenter = 1, LeftBottom = 2, CenterTop = 3, CenterCenter = 4,
                             CenterBottom = 5, RightTop = 6, RightCenter = 7, RightBottom = 8, General = 9,
                             Amount = -1;
    };

    static constexpr int kDefaultColour = -1;
    static constexpr quint32 kWhite = 0xFFFFFF;
    static constexpr quint32 kRed = 0xFF0000;  // RGB
    static constexpr int kDefaultWidth = -1;

    Grid();

    int rows() const { return int(cells_.size()); }
    int cols() const { return cols_; }
    void setRows(int rows);  // keeps the rows that stay, adds blank ones
    void setCols(int cols);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    Picture picture(int row, int col) const;
    void setPicture(int row, int col, Picture picture);
    int colour(int row, int col) const;  // RGB, or kDefaultColour
    void setColour(int row, int col, int rgb);

    int colWidth(int col) const;  // twips, or kDefaultWidth
    void setColWidth(int col, int twips);
    int colAlignment(int col) const;  // General until set
    void setColAlignment(int col, int code);
    int headerAlignment(int col) const;  // General until set
    void setHeaderAlignment(int col, int code);
    // The alignment a cell (row 0: a header) is drawn with. General follows the cell, as the
    // flex grid does: a text that shows a number goes right, any other text left.
    int drawnAlignment(int row, int col) const;

    // Clears texts, pictures and colours; sizes and column formats stay.
    void clear();
    // Fills the grid from a recordset: one column per field, the field names in row 0 and
    // one row per record holding the text form of each value (Null as empty text). With
    // `shown`, only the first that many fields: the others are read from the recordset, not
    // looked at, and are not worth their texts.
    void bind(db::Recordset& rs, std::optional<int> shown = std::nullopt);

    // The current cell, which a click makes the clicked one.
    int row() const { return row_; }
    int col() const { return col_; }
    void setCurrent(int row, int col);

    // A click (or mouse-up) of the user on a cell: the cell becomes current, then the
    // window's handler runs.
    std::function<void()> onClick;
    void click(int row, int col);

    // The view is told which cell changed, or (-1, -1) when the whole grid did.
    void watch(std::function<void(int row, int col)> observer) { observer_ = std::move(observer); }
    // Collects the changes of a whole pass (ticking every row) into one notice.
    class Batch {
    public:
        explicit Batch(Grid& grid) : grid_(grid) { ++grid_.batchDepth_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Grid& grid_;
    };

private:
    struct Cell {
        QString text;
        Picture picture = Picture::None;
        int colour = kDefaultColour;
    };
    struct Column {
        int width = kDefaultWidth;
        int alignment = Alignment::General;
        int headerAlignment = Alignment::General;
    };
    const Cell* cellAt(int row, int col) const;
    Cell& cell(int row, int col);  // throws for a cell outside the grid
    const Column* columnAt(int col) const;
    Column& column(int col);  // throws for a column outside the grid
    void notify(int row, int col);

    QList<QList<Cell>> cells_;
    QList<Column> columns_;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int batchDepth_ = 0;
    bool batchChanged_ = false;
    std::function<void(int, int)> observer_;
};

}  // namespace belmo::widgets

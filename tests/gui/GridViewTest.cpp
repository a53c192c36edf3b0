// The preview grid as Qt shows it: the header row, the grid's own row numbers in clicks,
// hidden and right-aligned columns, the tick pictures and the notices that redraw it.
#include "gui/GridModel.h"
#include "gui/GridView.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace belmo;
using gui::GridModel;
using gui::GridView;
using widgets::Grid;

namespace {

// A grid laid out as the steps lay theirs: tick column, a hidden key, a name and an amount.
class PreviewGrid : public ::testing::Test {
protected:
    enum Col { Tick, Key, Name, Amount };

    PreviewGrid()
    {
        Grid::Batch batch(grid);
        grid.setCols(4);
        grid.setRows(4);
        const QStringList header = {QString(), QStringLiteral("ID"), QStringLiteral("Depo Adı"), QStringLiteral("Bakiye")};
        for (int c = 0; c < 4; ++c) grid.setText(0, c, header[c]);
        for (int r = 1; r < 4; ++r) {
            grid.setText(r, Tick, QStringLiteral("."));
            grid.setPicture(r, Tick, Grid::Picture::Ticked);
            grid.setColour(r, Tick, Grid::kWhite);
            grid.setText(r, Key, QString::number(100 + r));
            grid.setText(r, Name, QStringLiteral("Depo %1").arg(r));
            grid.setText(r, Amount, QStringLiteral("1.234,5%1").arg(r));
        }
        grid.setColWidth(Tick, 300);
        grid.setColWidth(Key, 0);
        grid.setColWidth(Name, 1500);
        grid.setColAlignment(Amount, Grid::Alignment::Amount);
        grid.setHeaderAlignment(Amount, Grid::Alignment::CenterCenter);
        grid.onClick = [this] { clicks.append({grid.row(), grid.col()}); };
    }

    QVariant cell(int gridRow, int col, int role) const { return model.data(model.index(gridRow - 1, col), role); }
    static QImage image(const QVariant& v) { return v.value<QPixmap>().toImage(); }

    Grid grid;
    GridModel model{grid};
    QList<std::pair<int, int>> clicks;
};

TEST_F(PreviewGrid, RowZeroIsTheHeaderAndDataRowsFollowIt)
{
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(Name, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Depo Adı"));
    EXPECT_EQ(model.data(model.index(0, Name), Qt::DisplayRole).toString(), QStringLiteral("Depo 1"));
    EXPECT_EQ(model.data(model.index(2, Key), Qt::DisplayRole).toString(), QStringLiteral("103"));
}

TEST_F(PreviewGrid, PictureCellsShowTheirBoxAndNotTheirText)
{
    grid.setPicture(2, Tick, Grid::Picture::Empty);
    EXPECT_FALSE(cell(1, Tick, Qt::DisplayRole).isValid()) << "the tick dot must not be drawn";
    const QImage ticked = image(cell(1, Tick, Qt::DecorationRole));
    const QImage empty = image(cell(2, Tick, Qt::DecorationRole));
    EXPECT_EQ(ticked.size(), QSize(16, 16));
    EXPECT_EQ(empty.size(), QSize(16, 16));
    EXPECT_NE(ticked, empty);
    EXPECT_FALSE(cell(1, Name, Qt::DecorationRole).isValid());
}

TEST_F(PreviewGrid, CellColourIsTheTextColour)
{
    grid.setColour(2, Name, Grid::kRed);
    EXPECT_EQ(cell(2, Name, Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(cell(1, Name, Qt::ForegroundRole).isValid()) << "default colour leaves the view's own";
}

TEST_F(PreviewGrid, AlignmentCodesBecomeQtAlignments)
{
    const auto align = [](const QVariant& v) { return Qt::Alignment(v.toInt()); };
    EXPECT_EQ(align(cell(1, Amount, Qt::TextAlignmentRole)), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(align(model.headerData(Amount, Qt::Horizontal, Qt::TextAlignmentRole)), Qt::AlignCenter);
    // General: numbers right, text left.
    EXPECT_EQ(align(cell(1, Key, Qt::TextAlignmentRole)) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(align(cell(1, Name, Qt::TextAlignmentRole)) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(GridModel::alignment(Grid::Alignment::RightTop), Qt::AlignRight | Qt::AlignTop);
}

TEST_F(PreviewGrid, WholeGridNoticeResetsAndCellNoticeRepaintsOneCell)
{
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);

    grid.setText(3, Name, QStringLiteral("Yeni"));
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells[0][0].toModelIndex(), model.index(2, Name));
    EXPECT_EQ(resets.count(), 0);

    {
        Grid::Batch batch(grid);
        grid.setRows(50);
        for (int r = 1; r < 50; ++r) grid.setText(r, Name, QString::number(r));
    }
    EXPECT_EQ(resets.count(), 1) << "a batch is one reset";
    EXPECT_EQ(model.rowCount(), 49);
    EXPECT_EQ(model.data(model.index(48, Name), Qt::DisplayRole).toString(), QStringLiteral("49"));
}

class PreviewGridView : public PreviewGrid {
protected:
    PreviewGridView()
    {
        view.resize(400, 200);
        view.show();
    }
    void clickAt(int modelRow, int col)
    {
        const QRect cellRect = view.visualRect(view.model()->index(modelRow, col));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellRect.center());
    }

    GridView view{grid};
};

TEST_F(PreviewGridView, ZeroHidesAndTheTextColumnTakesTheRoomLeft)
{
    EXPECT_TRUE(view.isColumnHidden(Key));
    EXPECT_GT(view.columnWidth(Name), view.pixels(1500)) << "the room left goes to the name";
    EXPECT_EQ(view.columnWidth(Tick) + view.columnWidth(Name) + view.columnWidth(Amount), view.viewport()->width());

    view.resize(120, 200);  // narrower than the columns: they keep their widths and scroll
    EXPECT_EQ(view.columnWidth(Name), view.pixels(1500));
    EXPECT_GE(view.columnWidth(Amount), view.fontMetrics().horizontalAdvance(QStringLiteral("1.234,51")));
}

TEST_F(PreviewGridView, ANumberColumnIsAsWideAsItsWidestValue)
{
    const struct {
        int alignment;
        int row;
        QString value;
    } shapes[] = {{Grid::Alignment::Amount, 1, QStringLiteral("-29.284.905.123,45")},
                  {Grid::Alignment::CenterTop, 3000, QStringLiteral("-100.000,0000")},
                  {Grid::Alignment::General, 1500, QStringLiteral("-7.123.456.789")}};
    for (const auto& shape : shapes) {
        {
            Grid::Batch batch(grid);
            grid.setRows(3001);
            for (int r = 1; r < grid.rows(); ++r) grid.setText(r, Amount, QStringLiteral("1,00"));
            grid.setText(shape.row, Amount, shape.value);
            grid.setColAlignment(Amount, shape.alignment);
        }
        EXPECT_GE(view.columnWidth(Amount), view.fontMetrics().horizontalAdvance(shape.value) + 4) << shape.value.toStdString();
    }
}

TEST_F(PreviewGridView, AHugeNameStaysWithinTheViewAndShowsWholeAsATooltip)
{
    const QString huge(1 << 20, u'A');
    grid.setText(0, Amount, QString(300, u'B'));
    grid.setText(2, Name, huge);
    grid.setColWidth(Amount, 1200);  // a whole-grid notice
    for (const int c : {Tick, Name, Amount}) EXPECT_LE(view.columnWidth(c), view.viewport()->width());

    const auto tipAt = [this](int modelRow, int col) {
        const QPoint at = view.visualRect(view.model()->index(modelRow, col)).center();
        QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::text();
    };
    EXPECT_TRUE(tipAt(0, Name).isEmpty()) << "a name shown whole has no tooltip";
    EXPECT_TRUE(tipAt(1, Name).startsWith(QStringLiteral("AAAA")));
    EXPECT_EQ(view.model()->headerData(Amount, Qt::Horizontal, Qt::ToolTipRole).toString(), QString(300, u'B'));
}

TEST_F(PreviewGridView, AWidthTheUserSetIsKeptForThePanel)
{
    gui::ColumnWidths store;
    view.keepWidthsIn(store, QStringLiteral("Depo Belmoleri"));
    view.horizontalHeader()->resizeSection(Name, 77);  // as a drag of the border does
    grid.setRows(10);                                   // a reload
    view.resize(600, 200);
    EXPECT_EQ(view.columnWidth(Name), 77);

    GridView again(grid), other(grid);
    again.keepWidthsIn(store, QStringLiteral("Depo Belmoleri"));
    other.keepWidthsIn(store, QStringLiteral("Plasiyer Belmoleri"));
    EXPECT_EQ(again.columnWidth(Name), 77);
    EXPECT_NE(other.columnWidth(Name), 77);
}

TEST_F(PreviewGridView, ClickOnADataRowClicksThatGridRow)
{
    clickAt(0, Tick);
    clickAt(2, Name);
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[0], std::make_pair(1, int(Tick)));
    EXPECT_EQ(clicks[1], std::make_pair(3, int(Name)));
}

TEST_F(PreviewGridView, SpaceClicksTheTickColumnOfTheCurrentRow)
{
    for (const int col : {Tick, Name, Amount}) {
        view.setCurrentIndex(view.model()->index(1, col));
        QTest::keyClick(&view, Qt::Key_Space);
        EXPECT_EQ(clicks.takeLast(), std::make_pair(2, int(Tick)));
        EXPECT_EQ(view.currentIndex().column(), col) << "the focus stays where the user was";
    }
}

}  // namespace

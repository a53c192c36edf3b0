#include "gui/GridView.h"

#include "gui/GridModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <array>
#include <cmath>

namespace belmo::gui {

namespace {

using widgets::Grid;

// The layout widths were drawn against an 8-point dialog font whose average character is
// about 6 pixels wide at 96 DPI. A width in twips becomes pixels at the screen's logical DPI
// (1440 twips to the inch), then grows or shrinks as this view's font is wider or narrower
// than that one at the same DPI.
constexpr double kTwipsPerInch = 1440;
constexpr double kReferenceDpi = 96;
constexpr double kReferenceCharWidth = 6;

constexpr int kCandidates = 4;      // longest texts of a column that are measured
constexpr int kTipChars = 1000;     // the most of a cut text a tooltip shows
constexpr int kPictureWidth = 16 + 4;
constexpr int kAir = 3;  // the grid line and a little room between a number and the next column

// The width of a text as drawn (in whole pixels, rounded up: a text a fraction of a pixel
// wider than its cell is cut), of its start only when it is long.
int textWidth(const QFont& font, const QString& text)
{
    const QString measured = text.size() > GridView::kMeasuredChars ? text.left(GridView::kMeasuredChars) : text;
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(measured)));
}

// What a cell's text leaves free of its width: the style's margin at both sides.
int textMargins(const QWidget* view)
{
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
}

// Draws a cell's picture centred in the whole cell, with no margin, so a tick column as
// narrow as its 16-pixel boxes still shows them whole.
class PictureDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant picture = index.data(Qt::DecorationRole);
        if (picture.typeId() != QMetaType::QPixmap) return QStyledItemDelegate::paint(painter, option, index);

        QStyleOptionViewItem cell(option);
        initStyleOption(&cell, index);
        cell.features &= ~QStyleOptionViewItem::HasDecoration;
        cell.icon = QIcon();
        cell.text.clear();
        QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

        const QPixmap pixmap = picture.value<QPixmap>();
        const QSize size = pixmap.size().scaled(pixmap.size().boundedTo(option.rect.size()), Qt::KeepAspectRatio);
        QRect target(QPoint(), size);
        target.moveCenter(option.rect.center());
        painter->drawPixmap(target, pixmap);
    }

    // Only the start of a very long text is laid out: the cell cuts it long before its end.
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        return QStyledItemDelegate::displayText(value, locale).left(GridView::kMeasuredChars);
    }

    // A text cut by its cell shows whole as a tooltip (a very long one its first part).
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip) return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (textWidth(option.font, text) > option.rect.width() - textMargins(view))
            QToolTip::showText(event->globalPos(), text.size() > kTipChars ? text.left(kTipChars) + u'…' : text, view,
                               option.rect);
        else
            QToolTip::hideText();
        return true;
    }
};

// The rows of the longest texts of a column, longest first: a count of characters for every
// row is cheap where measuring every text is not.
std::array<int, kCandidates> longestRows(const Grid& grid, int col)
{
    std::array<qsizetype, kCandidates> lengths;
    lengths.fill(-1);
    std::array<int, kCandidates> rows;
    rows.fill(0);
    for (int r = 1; r < grid.rows(); ++r) {
        const qsizetype length = grid.text(r, col).size();
        if (length <= lengths.back()) continue;
        int at = kCandidates - 1;
        for (; at > 0 && lengths[at - 1] < length; --at) {
            lengths[at] = lengths[at - 1];
            rows[at] = rows[at - 1];
        }
        lengths[at] = length;
        rows[at] = r;
    }
    return rows;
}

}  // namespace

GridView::GridView(widgets::Grid& grid, QWidget* parent) : QTableView(parent), model_(new GridModel(grid, this))
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(false);
    setItemDelegate(new PictureDelegate(this));

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(fontMetrics().height() + 6, 20));  // room for the 16-pixel boxes

    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setMinimumSectionSize(1);  // the grid's widths, however narrow
    columns->setDefaultSectionSize(kDefaultColumnWidth);
    columns->setHighlightSections(false);
    columns->setResizeContentsPrecision(0);  // sizeHintForColumn measures the whole column itself

    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { fitting_ = true; });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        measureColumns();
        fitColumns();
        fitting_ = false;
    });
    connect(columns, &QHeaderView::sectionResized, this, [this](int col, int, int size) { sectionResized(col, size); });
    connect(this, &QAbstractItemView::clicked, this, &GridView::clickCell);
    measureColumns();
    fitColumns();
}

void GridView::keepWidthsIn(ColumnWidths& store, const QString& panel)
{
    widths_ = &store;
    panel_ = panel;
    fitColumns();
}

int GridView::pixels(int twips) const
{
    const double dpi = logicalDpiX();
    const double fontScale = fontMetrics().averageCharWidth() / (kReferenceCharWidth * dpi / kReferenceDpi);
    return qRound(twips * dpi / kTwipsPerInch * fontScale);
}

void GridView::measureColumns()
{
    QScopedValueRollback own(fitting_, true);
    columns_.resize(model_->columnCount());
    for (int c = 0; c < columns_.size(); ++c) {
        const int twips = model_->grid().colWidth(c);
        setColumnHidden(c, twips == 0);
        columns_[c] = twips == 0 ? Column{} : measure(c);
    }
}

GridView::Column GridView::measure(int col) const
{
    const Grid& grid = model_->grid();
    const int twips = grid.colWidth(col);
    Column column{.start = twips > 0 ? pixels(twips) : kDefaultColumnWidth};
    const int header = horizontalHeader()->sectionSizeHint(col);
    if (grid.rows() < 2) {
        column.need = header;
        return column;
    }
    if (grid.picture(1, col) != Grid::Picture::None) {
        column.need = std::max(header, kPictureWidth);
        return column;
    }
    const std::array<int, kCandidates> rows = longestRows(grid, col);
    int widest = 0;
    for (const int r : rows)
        if (r > 0) widest = std::max(widest, textWidth(font(), grid.text(r, col)));
    column.need = std::max(header, widest + textMargins(this) + kAir);
    const int sample = rows.front() > 0 ? rows.front() : 1;
    column.flexible = (GridModel::alignment(grid.drawnAlignment(sample, col)) & Qt::AlignHorizontal_Mask) == Qt::AlignLeft;
    return column;
}

int GridView::sizeHintForColumn(int column) const
{
    if (column < 0 || column >= columns_.size()) return QTableView::sizeHintForColumn(column);
    return std::min(measure(column).need, viewport()->width());
}

// The user's widths as set; a column of numbers at least as wide as its values; a text column
// at its layout width, then the room left over goes to the text columns. No column is wider
// than the viewport; when the columns need more than it, they keep their widths and scroll.
void GridView::fitColumns()
{
    QScopedValueRollback own(fitting_, true);
    const int room = std::max(viewport()->width(), 1);
    QList<int> widths(columns_.size());
    QList<int> flexible;
    int used = 0;
    for (int c = 0; c < columns_.size(); ++c) {
        if (isColumnHidden(c)) continue;
        const Column& column = columns_[c];
        if (const std::optional<int> user = widths_->width(panel_, c)) {
            widths[c] = *user;
        } else if (column.flexible) {
            widths[c] = std::min(column.start, room);
            flexible.append(c);
        } else {
            widths[c] = std::min(std::max(column.start, column.need), room);
        }
        used += widths[c];
    }
    spreadSpare(widths, flexible, room, room - used);
    for (int c = 0; c < columns_.size(); ++c)
        if (!isColumnHidden(c)) setColumnWidth(c, widths[c]);
}

// First to the text columns that are cut, as much as each lacks (in proportion when there is
// less), then evenly to all of them.
void GridView::spreadSpare(QList<int>& widths, const QList<int>& flexible, int room, int spare) const
{
    if (spare <= 0 || flexible.isEmpty()) return;
    qint64 lacking = 0;
    for (const int c : flexible) lacking += std::max(std::min(columns_[c].need, room) - widths[c], 0);
    const qint64 given = std::min<qint64>(spare, lacking);
    for (const int c : flexible) {
        const qint64 lack = std::max(std::min(columns_[c].need, room) - widths[c], 0);
        const int share = lacking > 0 ? int(lack * given / lacking) : 0;
        widths[c] += share;
        spare -= share;
    }
    for (int i = 0; i < flexible.size(); ++i) {
        const int share = spare / int(flexible.size() - i);
        widths[flexible[i]] += share;
        spare -= share;
    }
}

void GridView::sectionResized(int col, int newSize)
{
    if (!fitting_ && newSize > 0) widths_->set(panel_, col, newSize);
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

void GridView::clickCell(const QModelIndex& index)
{
    if (index.isValid()) model_->grid().click(GridModel::gridRow(index), index.column());
}

// The space bar ticks or unticks the current row wherever the focus is in it: a click on the
// row's tick column. The view's current cell stays where the user was.
void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && currentIndex().isValid()) {
        model_->grid().click(GridModel::gridRow(currentIndex()), 0);
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace belmo::gui

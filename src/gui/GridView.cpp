#include "gui/GridView.h"

#include "gui/GridModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace belmo::gui {

namespace {

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
};

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

    connect(model_, &QAbstractItemModel::modelReset, this, &GridView::applyColumnLayout);
    connect(this, &QAbstractItemView::clicked, this, &GridView::clickCell);
    applyColumnLayout();
}

void GridView::applyColumnLayout()
{
    const widgets::Grid& grid = model_->grid();
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int twips = grid.colWidth(c);
        setColumnHidden(c, twips == 0);
        if (twips != 0) setColumnWidth(c, twips > 0 ? twips / kTwipsPerPixel : kDefaultColumnWidth);
    }
}

void GridView::clickCell(const QModelIndex& index)
{
    if (index.isValid()) model_->grid().click(GridModel::gridRow(index), index.column());
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && currentIndex().isValid()) {
        clickCell(currentIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace belmo::gui

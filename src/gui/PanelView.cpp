#include "gui/PanelView.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/Pictures.h"
#include "gui/Theme.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace belmo::gui {

namespace {

constexpr int kMargin = 10;
constexpr int kRadius = 6;

// A read-only box for a count or a total, wide enough for a total of fifteen whole digits
// with its sign, separators and the four decimals of a quantity.
QLineEdit* amountBox(widgets::TextBox& text, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    const QMargins frame = box->textMargins() + box->contentsMargins();
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-000.000.000.000.000,0000")) +
                         frame.left() + frame.right() + 2 * kMargin);
    box->setMaximumWidth(box->minimumWidth() * 3 / 2);
    bindTextBox(box, text);
    return box;
}

QWidget* labelledBox(const widgets::Panel::LabelledBox& labelled, QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    QLineEdit* box = amountBox(*labelled.box, holder);
    auto* label = new QLabel(labelled.label, holder);
    label->setBuddy(box);
    row->addWidget(label);
    row->addWidget(box);
    return holder;
}

}  // namespace

PanelView::PanelView(widgets::Panel& panel, QWidget* parent)
    : QWidget(parent), panel_(panel), caption_(new QLabel(panel.caption(), this)), body_(new QVBoxLayout)
{
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    caption_->setContentsMargins(kMargin, 4, kMargin, 4);

    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(1, 1, 1, kMargin);
    frame->setSpacing(kMargin);
    frame->addWidget(caption_);

    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(kMargin, 0, kMargin, 0);
    inner->setSpacing(kMargin);
    if (panel_.buttonsOnTop) inner->addLayout(buildTop());
    inner->addLayout(body_, 1);
    if (panel_.grid) {
        grid_ = new GridView(*panel_.grid, this);
        body_->addWidget(grid_, 1);
    }
    inner->addLayout(buildFoot());
    frame->addLayout(inner, 1);
    orderTabs();

    follow<PanelView>(panel_, this, [](PanelView& view) { view.schemeChanged(); });
}

// "Başla" and "Çıkış" side by side at the top left, the option boxes below them.
QLayout* PanelView::buildTop()
{
    auto* top = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    addButtons(buttons);
    buttons->addStretch(1);
    top->addLayout(buttons);
    auto* options = new QHBoxLayout;
    addOptions(options);
    options->addStretch(1);
    top->addLayout(options);
    return top;
}

void PanelView::addOptions(QBoxLayout* row)
{
    for (widgets::OptionButton* choice : panel_.choices) {
        auto* button = new QRadioButton(choice->caption(), this);
        bindOptionButton(button, *choice);
        row->addWidget(button);
        options_.append(button);
    }
    if (panel_.search) {
        auto* push = new QPushButton(this);
        push->setIcon(QIcon(searchPicture()));
        bindButton(push, *panel_.search);
        row->addWidget(push);
        options_.append(push);
    }
    for (widgets::CheckBox* option : panel_.options) {
        auto* box = new QCheckBox(option->caption(), this);
        bindCheckBox(box, *option);
        row->addWidget(box);
        options_.append(box);
    }
}

void PanelView::addButtons(QBoxLayout* row)
{
    for (widgets::Button* button : panel_.buttons) {
        auto* push = new QPushButton(button->caption(), this);
        bindButton(push, *button);
        row->addWidget(push);
        buttons_.append(push);
    }
}

// Tab goes from the grid to the options, then to the buttons in their order ("Başla",
// "Çıkış"), wherever they stand on the panel. Tab leaves the grid rather than moving from
// cell to cell: the arrow keys do that.
void PanelView::orderTabs()
{
    QList<QWidget*> chain;
    if (grid_) {
        grid_->setTabKeyNavigation(false);
        chain.append(grid_);
    }
    chain << options_ << buttons_;
    for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

// The options, the progress and the status on one line with the buttons; the counts and
// totals on a line of their own below, so that a large total shows whole.
QLayout* PanelView::buildFoot()
{
    auto* lines = new QVBoxLayout;
    auto* foot = new QHBoxLayout;
    auto* totals = new QHBoxLayout;
    lines->addLayout(foot);
    if (!panel_.buttonsOnTop) addOptions(foot);
    for (widgets::ProgressBar* progress : panel_.progress) {
        auto* bar = new QProgressBar(this);
        bar->setTextVisible(false);
        bindProgressBar(bar, *progress);
        foot->addWidget(bar, 1);
    }
    for (widgets::TextBox* status : panel_.labels) {
        auto* label = new QLabel(this);
        bindLabel(label, *status);
        foot->addWidget(label);
    }
    foot->addStretch(panel_.progress.isEmpty() ? 1 : 0);
    if (!panel_.buttonsOnTop) addButtons(foot);
    totals->addStretch(1);
    if (panel_.boxColumns > 0) {
        // A totals table: the boxes line after line, boxColumns to a line.
        auto* table = new QGridLayout;
        for (int i = 0; i < panel_.boxes.size(); ++i)
            table->addWidget(labelledBox(panel_.boxes[i], this), i / panel_.boxColumns, i % panel_.boxColumns, Qt::AlignRight);
        totals->addLayout(table);
    } else {
        for (const widgets::Panel::LabelledBox& labelled : panel_.boxes) totals->addWidget(labelledBox(labelled, this));
    }
    if (!panel_.table.lines.isEmpty()) totals->addLayout(buildTable());
    if (totals->count() > 1)
        lines->addLayout(totals);
    else
        delete totals;
    return lines;
}

// Captions over the columns, a caption before each line, the boxes right-aligned.
QLayout* PanelView::buildTable()
{
    const widgets::Panel::Table& shape = panel_.table;
    auto* table = new QGridLayout;
    for (int c = 0; c < shape.columns.size(); ++c)
        table->addWidget(new QLabel(shape.columns[c], this), 0, c + 1, Qt::AlignCenter);
    for (int l = 0; l < shape.lines.size(); ++l) {
        table->addWidget(new QLabel(shape.lines[l].first, this), l + 1, 0);
        for (int c = 0; c < shape.lines[l].second.size(); ++c)
            table->addWidget(amountBox(*shape.lines[l].second[c], this), l + 1, c + 1);
    }
    return table;
}

void PanelView::schemeChanged()
{
    const FrameColours colours = frameColours(panel_.colourScheme());
    QPalette captionPalette = caption_->palette();
    captionPalette.setColor(QPalette::WindowText, colours.captionText);
    caption_->setPalette(captionPalette);
    QPalette own = palette();
    own.setColor(QPalette::WindowText, colours.text);
    setPalette(own);
    update();
}

void PanelView::paintEvent(QPaintEvent*)
{
    const FrameColours colours = frameColours(panel_.colourScheme());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath frame;
    frame.addRoundedRect(outline, kRadius, kRadius);

    QLinearGradient background(outline.topLeft(), outline.bottomLeft());
    background.setColorAt(0, colours.top);
    background.setColorAt(1, colours.bottom);
    p.fillPath(frame, background);

    // The caption bar: the frame's top, down to the caption's bottom edge.
    QPainterPath bar;
    bar.addRect(QRectF(outline.left(), outline.top(), outline.width(), caption_->geometry().bottom() + 1));
    QLinearGradient captionBackground(0, 0, 0, caption_->geometry().bottom() + 1);
    captionBackground.setColorAt(0, colours.captionTop);
    captionBackground.setColorAt(1, colours.captionBottom);
    p.fillPath(frame.intersected(bar), captionBackground);

    p.setPen(QPen(colours.border, 1));
    p.drawPath(frame);
}

}  // namespace belmo::gui

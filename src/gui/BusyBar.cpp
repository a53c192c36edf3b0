#include "gui/BusyBar.h"

#include "gui/Bindings.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace belmo::gui {

namespace {

constexpr int kPaintEveryMs = 20;

bool isInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

BusyBar::BusyBar(widgets::Activity& activity, QWidget* window)
    : QWidget(window), activity_(activity), window_(window), status_(new QLabel(this)),
      cancel_(new QPushButton(QStringLiteral("İptal"), this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(status_, 1);
    row->addWidget(cancel_);
    pressedByEnter(cancel_);
    connect(cancel_, &QPushButton::clicked, this, [this] { activity_.cancel(); });
    follow<BusyBar>(activity_, this, [](BusyBar& bar) { bar.sync(); });
    activity_.onPulse = [guard = QPointer<BusyBar>(this)] {
        if (guard) guard->pulse();
    };
}

BusyBar::~BusyBar()
{
    activity_.onPulse = nullptr;
    if (filtering_) qApp->removeEventFilter(this);
}

void BusyBar::sync()
{
    setVisible(activity_.busy());
    status_->setText(activity_.cancelRequested() ? QStringLiteral("İptal ediliyor…") : activity_.status());
    cancel_->setEnabled(!activity_.cancelRequested());
    if (activity_.busy() != filtering_) {
        filtering_ = activity_.busy();
        if (filtering_) {
            qApp->installEventFilter(this);
            sincePaint_.invalidate();  // the first pulse paints at once
        } else {
            qApp->removeEventFilter(this);
        }
    }
}

// The work calls this as it goes; the window gets its events (held input aside) now and then.
void BusyBar::pulse()
{
    if (sincePaint_.isValid() && sincePaint_.elapsed() < kPaintEveryMs) return;
    QApplication::processEvents(QEventLoop::AllEvents, kPaintEveryMs);
    sincePaint_.restart();
}

bool BusyBar::eventFilter(QObject* watched, QEvent* event)
{
    if (!activity_.busy() || !isInput(event)) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;  // a message box or another window
    if (widget == cancel_) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) activity_.cancel();
    event->ignore();
    return true;
}

}  // namespace belmo::gui

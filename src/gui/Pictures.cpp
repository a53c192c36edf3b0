#include "gui/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace belmo::gui {

namespace {

constexpr int kSize = 16;

QPixmap blank()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawBox(QPainter& p)
{
    p.setPen(QPen(QColor(0x40, 0x50, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, kSize - 3, kSize - 3));
}

void drawTick(QPainter& p, const QColor& colour, qreal width)
{
    QPainterPath tick;
    tick.moveTo(4, 8.5);
    tick.lineTo(7, 11.5);
    tick.lineTo(12.5, 4.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

}  // namespace

QPixmap tickedBoxPicture()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawBox(p);
    drawTick(p, QColor(0x10, 0x30, 0x90), 2.0);
    return pixmap;
}

QPixmap emptyBoxPicture()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawBox(p);
    return pixmap;
}

QPixmap doneMarkPicture()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, 1);
    drawTick(p, QColor(0x1E, 0x8C, 0x2E), 3.0);
    return pixmap;
}

QPixmap searchPicture()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return pixmap;
}

}  // namespace belmo::gui

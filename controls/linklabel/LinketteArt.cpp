#include "LinketteArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace linkette {

namespace {

constexpr int kSide = 32;

void paintSphere(QPainter& p, const QRectF& ball)
{
    QRadialGradient shade(ball.center() - QPointF(5, 5), ball.width() * 0.75);
    shade.setColorAt(0.0, QColor(0xb8, 0xe0, 0xff));
    shade.setColorAt(0.6, QColor(0x3a, 0x8e, 0xdc));
    shade.setColorAt(1.0, QColor(0x12, 0x4a, 0x9a));
    p.setPen(QPen(QColor(0x0c, 0x35, 0x73), 1.2));
    p.setBrush(shade);
    p.drawEllipse(ball);
}

void paintGrid(QPainter& p, const QRectF& ball)
{
    p.save();
    QPainterPath clip;
    clip.addEllipse(ball);
    p.setClipPath(clip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
    const QPointF c = ball.center();
    const qreal r = ball.width() / 2;
    // Meridians: ellipses of shrinking width through the poles.
    for (const qreal w : {r * 0.45, r * 0.95})
        p.drawEllipse(c, w, r);
    p.drawLine(QPointF(c.x(), ball.top()), QPointF(c.x(), ball.bottom()));
    // Parallels: the equator and one line either side.
    for (const qreal dy : {-r * 0.5, 0.0, r * 0.5})
        p.drawLine(QPointF(ball.left(), c.y() + dy), QPointF(ball.right(), c.y() + dy));
    p.restore();
}

void paintPointer(QPainter& p)
{
    // A small arrow at the lower right says "this goes somewhere".
    QPainterPath arrow;
    arrow.moveTo(19, 19);
    arrow.lineTo(31, 25);
    arrow.lineTo(26, 26);
    arrow.lineTo(30, 30);
    arrow.lineTo(28, 31);
    arrow.lineTo(24, 27.5);
    arrow.lineTo(22, 31);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

} // namespace

QPixmap builtinPicture()
{
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ball(1.5, 1.5, 26, 26);
    paintSphere(p, ball);
    paintGrid(p, ball);
    paintPointer(p);
    return pixmap;
}

} // namespace linkette

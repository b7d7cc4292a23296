#include "Stopwatch.h"

#include <QPainter>
#include <QtMath>

void paintStopwatch(QPainter& p, const QRectF& square, double turn)
{
    // Drawn on a grid of 128 units.
    p.save();
    p.translate(square.topLeft());
    p.scale(square.width() / 128, square.height() / 128);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(40, 60, 110);
    const QPointF centre(64, 74);
    p.setPen(QPen(blue, 6));
    p.setBrush(QColor(250, 250, 235));
    p.drawEllipse(centre, 50, 50);
    p.setBrush(blue);
    p.drawRect(QRectF(54, 4, 20, 14));
    p.setPen(QPen(blue, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(24, 12));
    const double angle = 2 * M_PI * turn;
    p.setPen(QPen(QColor(170, 20, 20), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(38 * qSin(angle), -38 * qCos(angle)));
    p.restore();
}

// Draws the progress window's animation clip: a stopwatch whose hand goes round, as a strip of
// square frames in one PNG image.

#include <QImage>
#include <QPainter>
#include <QtMath>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    constexpr int kSide = 40;
    constexpr int kFrames = 12;
    QImage strip(kSide * kFrames, kSide, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (int f = 0; f < kFrames; ++f) {
        const QPointF centre(f * kSide + kSide / 2.0, kSide / 2.0 + 3);
        p.setPen(QPen(QColor(40, 60, 110), 2));
        p.setBrush(QColor(250, 250, 235));
        p.drawEllipse(centre, 15, 15);
        p.setBrush(QColor(40, 60, 110));
        p.drawRect(QRectF(centre.x() - 3, 1, 6, 4));
        const double angle = 2 * M_PI * f / kFrames;
        p.setPen(QPen(QColor(170, 20, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(12 * qSin(angle), -12 * qCos(angle)));
    }
    p.end();
    return strip.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}

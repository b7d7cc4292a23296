// Draws the progress window's animation clip: the stopwatch with its second hand going round, as
// a strip of square frames in one PNG image.

#include "Stopwatch.h"

#include <QImage>
#include <QPainter>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    constexpr int kSide = 40;
    constexpr int kFrames = 12;
    QImage strip(kSide * kFrames, kSide, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    for (int f = 0; f < kFrames; ++f)
        paintStopwatch(p, QRectF(f * kSide, 0, kSide, kSide), double(f) / kFrames);
    p.end();
    return strip.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}

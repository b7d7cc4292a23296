// Draws the program's desktop icon, the stopwatch of its windows, as an SVG file.

#include "Stopwatch.h"

#include <QPainter>
#include <QSvgGenerator>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    QSvgGenerator svg;
    svg.setFileName(QString::fromLocal8Bit(argv[1]));
    svg.setSize(QSize(128, 128));
    svg.setViewBox(QRect(0, 0, 128, 128));
    svg.setTitle(QStringLiteral("ヌビラ"));
    QPainter p;
    if (!p.begin(&svg))
        return 1;
    paintStopwatch(p, QRectF(0, 0, 128, 128), 0);
    return p.end() ? 0 : 1;
}

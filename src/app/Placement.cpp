#include "Placement.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

int TwipsToPixels(int twips, const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return qRound(twips * dpi / 1440.0);
}

void PlaceCentred(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height() - TwipsToPixels(1000, window)) / 2;
    window->move(left, top);
}

QIcon ProgramIcon()
{
    QPixmap pixmap(128, 128);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 110), 6));
    p.setBrush(QColor(250, 250, 235));
    p.drawEllipse(QRectF(14, 24, 100, 100));
    p.setBrush(QColor(40, 60, 110));
    p.drawRect(QRectF(54, 4, 20, 14));
    p.setPen(QPen(QColor(170, 20, 20), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(64, 74), QPointF(64, 40));
    p.setPen(QPen(QColor(40, 60, 110), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(64, 74), QPointF(88, 86));
    return QIcon(pixmap);
}

QLabel* AddProductTitle(QWidget* parent, const QRect& geometry)
{
    auto* title = new QLabel(QStringLiteral("ヌビラ"), parent);
    title->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSizeF(15.75);
    font.setBold(true);
    title->setFont(font);
    title->setGeometry(geometry);
    return title;
}

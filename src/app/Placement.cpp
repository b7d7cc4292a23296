#include "Placement.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

int TwipsToPixels(int twips, const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return qRound(twips * dpi / 1440.0);
}

namespace {

// What a window is placed in and the frame that is moved: a screen inside the main window stands
// in the main window's working area, any other window on its screen.
struct PlacementArea {
    QWidget* frame;
    QRect area;
};

PlacementArea placementArea(QWidget* window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()); sub && sub->mdiArea())
        return {sub, QRect(QPoint(0, 0), sub->mdiArea()->viewport()->size())};
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return {window, screen->geometry()};
}

} // namespace

void PlaceCentred(QWidget* window)
{
    const auto [frame, area] = placementArea(window);
    const QSize size = frame->frameGeometry().size();
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height() - TwipsToPixels(1000, window)) / 2;
    frame->move(std::max(area.left(), left), std::max(area.top(), top));
}

void PlaceTopRight(QWidget* window)
{
    const auto [frame, area] = placementArea(window);
    const QSize size = frame->frameGeometry().size();
    const int left = area.right() + 1 - size.width() - TwipsToPixels(500, window);
    frame->move(std::max(area.left(), left), area.top() + TwipsToPixels(20, window));
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

QLabel* AddHeading(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QStringLiteral("lbl_title_0"));
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    heading->setGeometry(geometry);
    return heading;
}

QLabel* AddGuidance(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* frame = new QGroupBox(QStringLiteral("ガイダンス"), parent);
    frame->setObjectName(QStringLiteral("obj_frame_gaidansu"));
    frame->setGeometry(geometry);
    auto* layout = new QHBoxLayout(frame);
    auto* picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("pic_seikyu"));
    const int side = TwipsToPixels(480, parent);
    picture->setPixmap(
        frame->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);
    layout->addWidget(picture);
    auto* info = new QLabel(text, frame);
    info->setObjectName(QStringLiteral("lbl_info"));
    info->setWordWrap(true);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(info, 1);
    return info;
}

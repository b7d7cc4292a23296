#include "Placement.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>

int twipsToPixels(int twips, const QWidget* widget)
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

void placeCentred(QWidget* window)
{
    const auto [frame, area] = placementArea(window);
    const QSize size = frame->frameGeometry().size();
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height() - twipsToPixels(1000, window)) / 2;
    frame->move(std::max(area.left(), left), std::max(area.top(), top));
}

void placeTopRight(QWidget* window)
{
    const auto [frame, area] = placementArea(window);
    const QSize size = frame->frameGeometry().size();
    const int left = area.right() + 1 - size.width() - twipsToPixels(500, window);
    frame->move(std::max(area.left(), left), area.top() + twipsToPixels(20, window));
}

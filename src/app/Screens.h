#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

// Each screen exists at most once, held in its one application-wide reference: showing a
// screen that is open brings it to the front; one that was closed is made anew by make().
template <class Screen, class Make> Screen* ShowSingle(QPointer<Screen>& reference, Make make)
{
    if (!reference)
        reference = make();
    Screen* screen = reference.data();
    QWidget* frame = screen;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        frame = sub;
    frame->show();
    frame->raise();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame))
        sub->mdiArea()->setActiveSubWindow(sub);
    else
        frame->activateWindow();
    return screen;
}

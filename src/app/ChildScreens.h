#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Each screen exists at most once, held in its one application-wide reference: showing a
// screen that is open brings it to the front; one that was closed is made anew by make().
template <class Screen, class Make> Screen* showSingle(QPointer<Screen>& reference, Make make)
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

// Puts a working screen into the main window as a child window that is deleted when it closes,
// sized to the screen. Without a main window (tools, tests) the screen stands on its own.
QWidget* addChildScreen(QWidget* screen);

// Closes a screen together with its child window frame.
void closeScreen(QWidget* screen);

template <class Screen> Screen* addChild(Screen* screen)
{
    addChildScreen(screen);
    return screen;
}

// Closes a screen as soon as another window of the program becomes the active one: for a screen
// inside the main window another of its child windows, for a separate screen any other window of
// the program. Message boxes and menus do not count, nor does switching to another program.
class CloseOnDeactivation : public QObject {
    Q_OBJECT

public:
    explicit CloseOnDeactivation(QWidget* screen);

private:
    void check();
    // The program's window that is active now, as a child window or a separate window; null
    // when none counts.
    QWidget* activeScreenFrame() const;
    QWidget* frame() const;

    QWidget* m_screen;
    bool m_wasActive = false;
};

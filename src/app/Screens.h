#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QPushButton;

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

// Names a working screen, captions it with the program's icon, fixes its size, given in twips,
// and gives it its access keys.
void SetUpScreen(QWidget* screen, const QString& objectName, const QString& caption, int widthTwips,
                 int heightTwips);

// Puts a working screen into the main window as a child window that is deleted when it closes,
// sized to the screen. Without a main window (tools, tests) the screen stands on its own.
QWidget* AddChildScreen(QWidget* screen);

// Closes a screen together with its child window frame.
void CloseScreen(QWidget* screen);

template <class Screen> Screen* AddChild(Screen* screen)
{
    AddChildScreen(screen);
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

// A button of a screen; a picture button has an empty caption and is given its icon. A mouse
// click, and its access key (AccessKeys), give it the focus before onClick runs, so the field
// being left commits first.
QPushButton* AddScreenButton(QWidget* screen, const QString& objectName, const QString& caption,
                             const QRect& geometry, std::function<void()> onClick);
// A command button "cmd_button_<index>" of a screen, which hands its index to onClick.
QPushButton* AddCommandButton(QWidget* screen, int index, const QString& caption,
                              const QRect& geometry, std::function<void(int)> onClick);

// Alt with the underlined letter of a control's caption on a screen acts on that control: a
// button is pressed, a field or a frame's first field takes the focus. Inside the main window the
// screen's access keys come before the menus' when they share a letter.
class AccessKeys : public QObject {
    Q_OBJECT

public:
    explicit AccessKeys(QWidget* screen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* controlFor(const QKeyEvent* key) const;

    QWidget* m_screen;
};

// The hourglass pointer for the length of a scope.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

#include "ChildScreens.h"

#include "MainWindow.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>

QWidget* addChildScreen(QWidget* screen)
{
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (!gMDIForm)
        return screen;
    QMdiSubWindow* sub = gMDIForm->mdiArea()->addSubWindow(screen);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(gMDIForm->windowIcon());
    sub->adjustSize();
    if (screen->minimumSize() == screen->maximumSize()) // a fixed screen does not maximise
        sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    return sub;
}

void closeScreen(QWidget* screen)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

CloseOnDeactivation::CloseOnDeactivation(QWidget* screen)
    : QObject(screen)
    , m_screen(screen)
{
    connect(qApp, &QApplication::focusChanged, this, &CloseOnDeactivation::check);
    if (gMDIForm)
        connect(gMDIForm->mdiArea(), &QMdiArea::subWindowActivated, this,
                &CloseOnDeactivation::check);
}

QWidget* CloseOnDeactivation::frame() const
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_screen->parentWidget()))
        return sub;
    return m_screen->window();
}

QWidget* CloseOnDeactivation::activeScreenFrame() const
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return nullptr;
    QWidget* window = QApplication::activeWindow();
    // A box or window being hidden or destroyed keeps the activation until the next window takes
    // it; it is no screen taking over.
    if (!window || !window->isVisible() || qobject_cast<QMessageBox*>(window) ||
        qobject_cast<QMenu*>(window))
        return nullptr;
    // Inside the main window only its child windows count: the frame itself turns active again
    // after every message box, before it hands the activation back to its child.
    if (gMDIForm && window == gMDIForm.data())
        return gMDIForm->mdiArea()->activeSubWindow();
    return window;
}

void CloseOnDeactivation::check()
{
    QWidget* active = activeScreenFrame();
    if (!active)
        return;
    if (active == frame()) {
        m_wasActive = true;
        return;
    }
    // A screen that has not been active yet is still opening.
    if (m_wasActive && m_screen->isVisible())
        closeScreen(m_screen);
}

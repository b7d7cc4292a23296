#include "Screens.h"

#include "MainWindow.h"
#include "Placement.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

void SetUpScreen(QWidget* screen, const QString& objectName, const QString& caption, int widthTwips,
                 int heightTwips)
{
    screen->setObjectName(objectName);
    screen->setWindowTitle(caption);
    screen->setWindowIcon(ProgramIcon());
    screen->setFixedSize(TwipsToPixels(widthTwips, screen), TwipsToPixels(heightTwips, screen));
}

QWidget* AddChildScreen(QWidget* screen)
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

void CloseScreen(QWidget* screen)
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
    if (!window || qobject_cast<QMessageBox*>(window) || qobject_cast<QMenu*>(window))
        return nullptr;
    if (gMDIForm && window == gMDIForm.data()) {
        // Inside the main window the active child window counts; with none, the main window.
        if (QMdiSubWindow* sub = gMDIForm->mdiArea()->activeSubWindow())
            return sub;
    }
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
        CloseScreen(m_screen);
}

QPushButton* AddScreenButton(QWidget* screen, const QString& objectName, const QString& caption,
                             const QRect& geometry, std::function<void()> onClick)
{
    auto* button = new QPushButton(caption, screen);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [button, onClick = std::move(onClick)] {
        // An access key clicks without moving the focus.
        button->setFocus(Qt::ShortcutFocusReason);
        onClick();
    });
    return button;
}

QPushButton* AddCommandButton(QWidget* screen, int index, const QString& caption,
                              const QRect& geometry, std::function<void(int)> onClick)
{
    return AddScreenButton(screen, QStringLiteral("cmd_button_%1").arg(index), caption, geometry,
                           [index, onClick = std::move(onClick)] { onClick(index); });
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

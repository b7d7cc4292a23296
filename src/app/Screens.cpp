#include "Screens.h"

#include "InputFields.h"
#include "MainWindow.h"
#include "Placement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
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
    new AccessKeys(screen);
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
        CloseScreen(m_screen);
}

QPushButton* AddScreenButton(QWidget* screen, const QString& objectName, const QString& caption,
                             const QRect& geometry, std::function<void()> onClick)
{
    auto* button = new QPushButton(caption, screen);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, std::move(onClick));
    return button;
}

QPushButton* AddCommandButton(QWidget* screen, int index, const QString& caption,
                              const QRect& geometry, std::function<void(int)> onClick)
{
    return AddScreenButton(screen, QStringLiteral("cmd_button_%1").arg(index), caption, geometry,
                           [index, onClick = std::move(onClick)] { onClick(index); });
}

namespace {

// The underlined letter of a caption: the character after a single "&", upper case.
QChar accessKeyOf(const QString& caption)
{
    for (qsizetype i = caption.indexOf(u'&'); i >= 0 && i + 1 < caption.size();
         i = caption.indexOf(u'&', i + 2)) {
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toUpper();
    }
    return {};
}

QString captionOf(const QWidget* control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* field = qobject_cast<const CaptionedLineEdit*>(control))
        return field->caption();
    if (const auto* frame = qobject_cast<const QGroupBox*>(control))
        return frame->title();
    return {};
}

void activate(QWidget* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setFocus(Qt::ShortcutFocusReason);
        button->click();
        return;
    }
    if (qobject_cast<QGroupBox*>(control)) {
        // A frame leads to its chosen option, or its first field.
        const QList<QAbstractButton*> options = control->findChildren<QAbstractButton*>();
        for (QAbstractButton* option : options) {
            if (option->isChecked() || option == options.constLast()) {
                option->setFocus(Qt::ShortcutFocusReason);
                return;
            }
        }
        return;
    }
    control->setFocus(Qt::ShortcutFocusReason);
}

} // namespace

AccessKeys::AccessKeys(QWidget* screen)
    : QObject(screen)
    , m_screen(screen)
{
    qApp->installEventFilter(this);
}

QWidget* AccessKeys::controlFor(const QKeyEvent* key) const
{
    if (key->modifiers() != Qt::AltModifier || key->key() < Qt::Key_0 || key->key() > Qt::Key_Z)
        return nullptr;
    const QChar letter(key->key());
    const QList<QWidget*> controls = m_screen->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (control->isVisible() && control->isEnabled() &&
            accessKeyOf(captionOf(control)) == letter)
            return control;
    }
    return nullptr;
}

bool AccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !(widget == m_screen || m_screen->isAncestorOf(widget)))
        return false;
    QWidget* control = controlFor(static_cast<QKeyEvent*>(event));
    if (!control)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // the key comes to the screen, not to a menu's shortcut
        return true;
    }
    activate(control);
    return true;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

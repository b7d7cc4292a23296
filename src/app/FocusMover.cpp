#include "FocusMover.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

bool IsFocusable(const QWidget* widget)
{
    return widget && widget->isVisible() && widget->isEnabled() &&
           (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy();
}

QList<QWidget*> FocusableFields(const QWidget* screen)
{
    QList<QWidget*> fields;
    for (QWidget* w = screen->nextInFocusChain(); w && w != screen; w = w->nextInFocusChain()) {
        if (screen->isAncestorOf(w) && IsFocusable(w))
            fields.append(w);
    }
    return fields;
}

void MoveFocus(QWidget* screen, bool forward)
{
    const QList<QWidget*> fields = FocusableFields(screen);
    if (fields.isEmpty())
        return;
    const qsizetype current = fields.indexOf(screen->focusWidget());
    qsizetype target = 0;
    if (current < 0)
        target = forward ? 0 : fields.size() - 1;
    else
        target = (current + (forward ? 1 : fields.size() - 1)) % fields.size();
    if (target != current)
        fields.at(target)->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void NextFocus(QWidget* screen)
{
    MoveFocus(screen, true);
}

void PrevFocus(QWidget* screen)
{
    MoveFocus(screen, false);
}

EnterKeyNavigation::EnterKeyNavigation(QWidget* screen)
    : QObject(screen)
    , m_screen(screen)
{
    qApp->installEventFilter(this);
}

bool EnterKeyNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !(widget == m_screen || m_screen->isAncestorOf(widget)))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->modifiers() & Qt::ShiftModifier)
        PrevFocus(m_screen);
    else
        NextFocus(m_screen);
    return true;
}

#include "FocusMover.h"

#include <QWidget>

bool IsFocusable(const QWidget* widget)
{
    return widget && widget->isVisible() && widget->isEnabled() &&
           (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy();
}

QList<QWidget*> focusableFields(const QWidget* screen)
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
    const QList<QWidget*> fields = focusableFields(screen);
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

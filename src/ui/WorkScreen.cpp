#include "WorkScreen.h"

#include "FocusMover.h"
#include "InputFields.h"
#include "Placement.h"
#include "ScreenParts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeyEvent>

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

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

WorkScreen::WorkScreen(const QString& objectName, const QString& caption, QSize sizeTwips,
                       Placement placement, QWidget* parent)
    : QWidget(parent)
    , m_placement(placement)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowIcon(programIcon());
    setFixedSize(px(sizeTwips.width()), px(sizeTwips.height()));
}

int WorkScreen::px(int twips) const
{
    return twipsToPixels(twips, this);
}

QRect WorkScreen::px(int left, int top, int width, int height) const
{
    return {px(left), px(top), px(width), px(height)};
}

void WorkScreen::setTabChain(const QList<QWidget*>& controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

QWidget* WorkScreen::accessKeyControl(const QKeyEvent* key) const
{
    if (!isAccessKey(key))
        return nullptr;
    const QChar letter(key->key());
    const QList<QWidget*> controls = findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (control->isVisible() && control->isEnabled() &&
            accessKeyOf(captionOf(control)) == letter)
            return control;
    }
    return nullptr;
}

bool WorkScreen::event(QEvent* event)
{
    // The key comes to the screen as a key press, not to a menu's shortcut.
    if (event->type() == QEvent::ShortcutOverride &&
        accessKeyControl(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void WorkScreen::keyPressEvent(QKeyEvent* event)
{
    if (QWidget* control = accessKeyControl(event)) {
        activate(control);
        return;
    }
    if (m_enterMovesFocus && isEnter(event)) {
        MoveFocus(this, !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    QWidget::keyPressEvent(event);
}

void WorkScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (m_placement == Placement::TopRight)
        placeTopRight(this);
    else
        placeCentred(this);
    firstShown();
}

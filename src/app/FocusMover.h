#pragma once

#include <QList>
#include <QObject>

class QWidget;

// Moves the keyboard focus through a screen's fields in tab order, wrapping around and passing
// over what cannot take the focus from the keyboard (hidden, disabled, no tab stop). Leaving a
// field commits it (the field's own commit on losing the focus); a field that refuses its value
// takes the focus back.

bool IsFocusable(const QWidget* widget);
// The screen's focusable fields in tab order.
QList<QWidget*> FocusableFields(const QWidget* screen);

void MoveFocus(QWidget* screen, bool forward);
void NextFocus(QWidget* screen);
void PrevFocus(QWidget* screen);

// Makes Enter move to the next field of the screen and Shift+Enter to the previous one, whatever
// control of the screen has the focus, buttons included: a button is pressed by a click, Space
// or its access key, never by Enter, so Enter after Enter cannot answer a question unseen.
class EnterKeyNavigation : public QObject {
    Q_OBJECT

public:
    explicit EnterKeyNavigation(QWidget* screen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_screen;
};

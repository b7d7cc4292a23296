#pragma once

#include <QList>

class QWidget;

// Moves the keyboard focus through a screen's fields in tab order, wrapping around and passing
// over what cannot take the focus from the keyboard (hidden, disabled, no tab stop). Leaving a
// field commits it (the field's own commit on losing the focus); a field that refuses its value
// takes the focus back.

bool IsFocusable(const QWidget* widget);
// The screen's focusable fields in tab order.
QList<QWidget*> focusableFields(const QWidget* screen);

void MoveFocus(QWidget* screen, bool forward);
void NextFocus(QWidget* screen);
void PrevFocus(QWidget* screen);

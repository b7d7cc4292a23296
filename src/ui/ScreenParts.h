#pragma once

#include <QRect>
#include <QString>

#include <functional>

class QColor;
class QIcon;
class QLabel;
class QPushButton;
class QWidget;
class DateField;
class QDate;
class TextField;

// The parts that every screen and small window of the program is built of.

// The program's icon, drawn: a stopwatch face.
QIcon programIcon();

// The product title "ヌビラ" of the splash and version windows, at geometry in the parent.
QLabel* addProductTitle(QWidget* parent, const QRect& geometry);

// Draws a label's text in colour.
void setTextColour(QLabel* label, const QColor& colour);

// The heading line across the top of a working screen.
QLabel* addHeading(QWidget* parent, const QString& text, const QRect& geometry);

// The frame "ガイダンス" of a working screen: a picture and a guidance text that says what the
// screen is for and how to go on.
QLabel* addGuidance(QWidget* parent, const QString& text, const QRect& geometry);

// A button of a screen; a picture button has an empty caption and is given its icon. A mouse
// click, and its access key (WorkScreen), give it the focus before onClick runs, so the field
// being left commits first.
QPushButton* addScreenButton(QWidget* screen, const QString& objectName, const QString& caption,
                             const QRect& geometry, std::function<void()> onClick);
// A command button "cmd_button_<index>" of a screen, which hands its index to onClick.
QPushButton* addCommandButton(QWidget* screen, int index, const QString& caption,
                              const QRect& geometry, std::function<void(int)> onClick);

// The processing month "txt_syoriDt" and the staff code range "txt_staffCd_0" to "txt_staffCd_1"
// (0000 to 9999 at first, each filled to four characters on leaving) of a selection screen: the
// month's field at monthTop, the range at rangeTop, in twips.
struct MonthAndStaffRange {
    DateField* month;
    TextField* staffFrom;
    TextField* staffTo;
};
MonthAndStaffRange addMonthAndStaffRange(QWidget* screen, const QDate& month, int monthTop,
                                         int rangeTop);

// The hourglass pointer for the length of a scope.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

#pragma once

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>

#include <optional>

// The input fields of the screens. Each raises committed() once when the user leaves it for
// another control of the same screen (Tab, Enter, a click, a button), never when the window
// merely loses activation to a message box, a popup or another window. The screens do their
// per-field work there.

// True when losing the focus with this event leaves the field for another control of its screen.
bool leavesForSameScreen(const QWidget* field, const QFocusEvent* event);

// Alt with a letter or digit: a screen's access key, which a field passes on to its screen
// instead of typing the letter.
bool isAccessKey(const QKeyEvent* key);

// Full-width ASCII forms (U+FF01 to U+FF5E) and the ideographic space turned into their
// half-width letters, digits and signs, as Unicode NFKC folds them; everything else is kept, so
// kana and kanji stay as typed.
QString toHalfWidth(const QString& text);

// Shared by the line-edit fields: the caption drawn inside the field before its text. An access
// key in the caption ("(&K)") is underlined; the screen acts on it.
class CaptionedLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CaptionedLineEdit(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Asks the input method for Latin input with these hints, and takes full-width letters and
    // digits that arrive anyway as half-width ones: codes, times and numbers are never kana.
    void setLatinInput(Qt::InputMethodHints hints);

    // Answers that it takes no input method when its attribute is off, as a line edit does not.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void committed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    QString m_caption;
    bool m_latin = false;
};

// Free text of a maximum length.
class TextField : public CaptionedLineEdit {
    Q_OBJECT

public:
    explicit TextField(int maxLength, QWidget* parent = nullptr);

    QString value() const { return text(); }
    void setValue(const QString& value) { setText(value); }
};

// A clock time typed as hh:mm, the hour 00 to 47 and the minute 00 to 59. Its value is the four
// digits "hhmm", or empty text when the field holds no time. A time left half typed or out of
// range is not a time: it stays in the field as typed, drawn red, and its value is empty text.
// Typing always lands: entering an empty field puts the cursor on its first place wherever it
// was clicked, and entering a filled one selects its time so that typing replaces it. Once
// inside, digits typed from a clicked place overwrite from there; four digits in a row are the
// whole time wherever they began, and a digit the field cannot take leaves no time, so no run
// of digits silently gives another time.
class ClockField : public CaptionedLineEdit {
    Q_OBJECT

public:
    explicit ClockField(QWidget* parent = nullptr);

    QString value() const;
    void setValue(const QString& hhmm);

    bool isBlank() const;
    // Something is typed but it is no time.
    bool isNotATime() const { return !isBlank() && value().isEmpty(); }
    // All four digits are typed but the hour or the minute is out of range.
    bool isOutOfRange() const { return !m_surplus && hasAcceptableInput() && value().isEmpty(); }
    // Why what was typed is refused as a time: out of range, or more digits than the field could
    // take. Empty when it is a time, blank or half typed.
    QString refusal() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void placeCursorForTyping();
    void showMark(bool notATime);

    bool m_enteringByMouse = false;
    QString m_typed;        // the digits typed since the cursor was last placed
    bool m_surplus = false; // one of them found no place in the field
};

// Hours as every hour figure on the screens reads: two decimals ("6.50").
QString hoursText(double hours);

// Hours with two decimals, 0 to 99.99 (0 to 9.99 for a one-digit pattern), always shown with
// two decimals. Its value is the number, or none when the field is empty. A value set by the
// program is kept exactly while the user does not edit it, though shown rounded.
class NumberField : public CaptionedLineEdit {
    Q_OBJECT

public:
    explicit NumberField(int integerDigits = 2, QWidget* parent = nullptr);

    std::optional<double> value() const;
    void setValue(std::optional<double> value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    // A number out of range is not kept: the field goes back to the value it had on entry.
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::optional<double> m_value;
    std::optional<double> m_valueOnEntry;
};

// A drop-down list of fixed items, committed on leaving as the other fields are.
class ListField : public QComboBox {
    Q_OBJECT

public:
    explicit ListField(QWidget* parent = nullptr);

signals:
    void committed();

protected:
    // A letter with Alt is the screen's access key, not the list's type-ahead.
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// A day ("yyyy/mm/dd") or a month ("yyyy/mm", read as "yyyymm"), with a calendar that marks the
// holidays and titles the weekdays in Japanese. However the field is entered (a click, a double
// click, Tab, Shift+Tab, Enter), its year is selected, so typing the digits of a whole date
// ("20261201") or month ("201905") gives it; once inside, a click selects the part under the
// pointer, so typing over it edits that part and the ones after it. The digits typed in a row
// are read when they end (a whole date's worth, another key, a click, leaving the field): from
// the part where they began when they fit there, else as a whole date from the year. Digits
// that read as no date are refused with a message, and the date before them stays.
class DateField : public QDateEdit {
    Q_OBJECT

public:
    enum class Pattern { Day, Month };

    explicit DateField(Pattern pattern, QWidget* parent = nullptr);

    QDate value() const { return date(); }
    void setValue(const QDate& value) { setDate(value); }
    // The month field's text: "yyyymm"; the day field's: "yyyy/mm/dd".
    QString valueText() const;

    void setCaption(const QString& caption);

    // The drop-down calendar, made on first use.
    QCalendarWidget* holidayCalendar();

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void committed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Digits typed in a row, the part they began in (0 the year) and the date before them.
    struct TypedRun {
        QString digits;
        int part = 0;
        QDate before;
    };

    void applyFormat();
    // The part of the date under a point of the field's text, selected.
    void selectPartAt(const QPoint& position);
    bool isEntering() const;
    void typeDigit(const QString& digit);
    // Ends the run of digits: the date they give, or the date before them and a message.
    void endRun();
    std::optional<QDate> dateOf(const TypedRun& run) const;
    QList<int> partWidths() const;
    // How many digits the parts from this one (0 the year) to the last take.
    int digitsFrom(int part) const;

    Pattern m_pattern;
    QString m_caption;
    QElapsedTimer m_enteredAt;
    TypedRun m_run;
};

// The calendar of the date fields: days in the colours of the timesheet, public holidays in bold
// with their names as tooltips.
class HolidayCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    explicit HolidayCalendar(QWidget* parent = nullptr);

private:
    // Marks the days of the month shown and of the months on either side.
    void markDays(int year, int month);
};

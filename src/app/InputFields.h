#pragma once

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

#include <optional>

// The input fields of the screens. Each raises committed() once when the user leaves it for
// another control of the same screen (Tab, Enter, a click, a button), never when the window
// merely loses activation to a message box, a popup or another window. The screens do their
// per-field work there.

// True when losing the focus with this event leaves the field for another control of its screen.
bool LeavesForSameScreen(const QWidget* field, const QFocusEvent* event);

// Shared by the line-edit fields: the caption drawn inside the field before its text. An access
// key in the caption ("(&K)") is underlined; the screen's AccessKeys acts on it.
class CaptionedLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CaptionedLineEdit(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

signals:
    void committed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_caption;
};

// Free text of a maximum length.
class TextField : public CaptionedLineEdit {
    Q_OBJECT

public:
    explicit TextField(int maxLength, QWidget* parent = nullptr);

    QString value() const { return text(); }
    void setValue(const QString& value) { setText(value); }
};

// A clock time typed as hh:mm. Its value is the four digits "hhmm", or empty text when nothing
// is entered. A time left half typed is not a time: the field empties itself on leaving and
// its value is empty text, so a partial entry can never pass for a full one.
class ClockField : public CaptionedLineEdit {
    Q_OBJECT

public:
    explicit ClockField(QWidget* parent = nullptr);

    QString value() const;
    void setValue(const QString& hhmm);

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// Hours with two decimals, 0 to 99.99 (0 to 9.99 for a one-digit pattern). Its value is the
// number, or none when the field is empty. A value set by the program is kept exactly while the
// user does not edit it, though shown rounded to two decimals.
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
    void focusOutEvent(QFocusEvent* event) override;
};

// A day ("yyyy/mm/dd") or a month ("yyyy/mm", read as "yyyymm"), with a calendar that marks the
// holidays and titles the weekdays in Japanese.
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

signals:
    void committed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyFormat();

    Pattern m_pattern;
    QString m_caption;
};

// The calendar of the date fields.
class HolidayCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    explicit HolidayCalendar(QWidget* parent = nullptr);

    // The holidays marked in every year, as month and day.
    static QList<QPair<int, int>> Holidays();

private:
    void markHolidays(int year);
};

#include "InputFields.h"

#include "Holidays.h"
#include "Messages.h"
#include "Records.h"
#include "WorkTime.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDoubleValidator>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace {

// The screen a widget belongs to: its child window inside the main window, or its window.
const QWidget* screenOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QMdiSubWindow*>(w) || w->isWindow())
            return w;
    }
    return nullptr;
}

// Hands the handler the same key, or input, with its text in half-width letters and digits.
template <class Handler> void withHalfWidthKey(QKeyEvent* event, Handler handle)
{
    QKeyEvent half(event->type(), event->key(), event->modifiers(), toHalfWidth(event->text()),
                   event->isAutoRepeat(), ushort(event->count()));
    handle(&half);
    event->setAccepted(half.isAccepted());
}

template <class Handler> void withHalfWidthInput(QInputMethodEvent* event, Handler handle)
{
    QInputMethodEvent half(event->preeditString(), event->attributes());
    half.setCommitString(toHalfWidth(event->commitString()), event->replacementStart(),
                         event->replacementLength());
    handle(&half);
}

bool needsHalfWidth(const QString& text)
{
    return toHalfWidth(text) != text;
}

// A field of digits takes plain keys: a Japanese input method left on by the clerk (which ignores
// the hints) would hold them in its preedit, full width and wider than the field, until another
// Enter. It comes back on by itself in the next field that takes text.
void setDigitsOnly(QWidget* field)
{
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
}

// The digit a key types, in half width, or empty text for any other key.
QString typedDigit(const QKeyEvent* event)
{
    const QString text = toHalfWidth(event->text());
    const bool digit = text.size() == 1 && text.front() >= u'0' && text.front() <= u'9';
    return digit && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ? text
                                                                                    : QString();
}

} // namespace

QString toHalfWidth(const QString& text)
{
    QString half = text;
    for (QChar& c : half) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFEE0);
        else if (c.unicode() == 0x3000)
            c = u' ';
    }
    return half;
}

bool isAccessKey(const QKeyEvent* key)
{
    return key->modifiers() == Qt::AltModifier && key->key() >= Qt::Key_0 &&
           key->key() <= Qt::Key_Z;
}

bool leavesForSameScreen(const QWidget* field, const QFocusEvent* event)
{
    switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        break;
    }
    const QWidget* next = QApplication::focusWidget();
    return next && next != field && screenOf(next) == screenOf(field);
}

CaptionedLineEdit::CaptionedLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void CaptionedLineEdit::setCaption(const QString& caption)
{
    m_caption = caption;
    const int width =
        caption.isEmpty() ? 0 : fontMetrics().size(Qt::TextShowMnemonic, caption).width() + 4;
    setTextMargins(width, 0, 0, 0);
    update();
}

void CaptionedLineEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    // The contents rectangle starts where the text margins begin: the caption fills the margin.
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(area.left() + 2, area.top(), textMargins().left(), area.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, m_caption);
}

QVariant CaptionedLineEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled && !testAttribute(Qt::WA_InputMethodEnabled))
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void CaptionedLineEdit::setLatinInput(Qt::InputMethodHints hints)
{
    m_latin = true;
    setInputMethodHints(hints | Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
}

void CaptionedLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!leavesForSameScreen(this, event))
        return;
    if (m_latin && needsHalfWidth(text()))
        setText(toHalfWidth(text())); // pasted or set text that skipped the key handling
    emit committed();
}

void CaptionedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (isAccessKey(event))
        return event->ignore();
    if (!m_latin || !needsHalfWidth(event->text()))
        return QLineEdit::keyPressEvent(event);
    withHalfWidthKey(event, [this](QKeyEvent* half) { QLineEdit::keyPressEvent(half); });
}

void CaptionedLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!m_latin || !needsHalfWidth(event->commitString()))
        return QLineEdit::inputMethodEvent(event);
    withHalfWidthInput(event,
                       [this](QInputMethodEvent* half) { QLineEdit::inputMethodEvent(half); });
}

TextField::TextField(int maxLength, QWidget* parent)
    : CaptionedLineEdit(parent)
{
    setMaxLength(maxLength);
}

ClockField::ClockField(QWidget* parent)
    : CaptionedLineEdit(parent)
{
    setInputMask(QStringLiteral("99:99;_"));
    setLatinInput(Qt::ImhDigitsOnly | Qt::ImhPreferNumbers);
    setDigitsOnly(this);
    connect(this, &QLineEdit::textEdited, this, [this] {
        m_surplus = false;
        showMark(false);
    });
}

QString ClockField::value() const
{
    if (m_surplus || !hasAcceptableInput())
        return QString();
    const QString hhmm = text().remove(u':');
    return isClockTime(hhmm) ? hhmm : QString();
}

void ClockField::setValue(const QString& hhmm)
{
    m_typed.clear();
    m_surplus = false;
    if (hhmm.size() == 4)
        setText(clockText(hhmm));
    else
        clear();
    showMark(isNotATime());
}

bool ClockField::isBlank() const
{
    // The masked text holds the separator alone when no digit is typed.
    return text().remove(u':').trimmed().isEmpty();
}

QString ClockField::refusal() const
{
    if (m_surplus)
        return QStringLiteral("時刻は 4 桁の数字で入力してください（08:30 なら 0830）。");
    if (isOutOfRange())
        return QStringLiteral("時刻は 00:00 から 47:59 までの間で入力してください。");
    return {};
}

void ClockField::keyPressEvent(QKeyEvent* event)
{
    const QString digit = typedDigit(event);
    if (digit.isEmpty() || isReadOnly()) {
        m_typed.clear();
        return CaptionedLineEdit::keyPressEvent(event);
    }
    m_typed += digit;
    const bool selected = hasSelectedText();
    const QString textBefore = displayText();
    const int cursorBefore = cursorPosition();
    CaptionedLineEdit::keyPressEvent(event);
    const bool dropped =
        !selected && displayText() == textBefore && cursorPosition() == cursorBefore;
    if (m_typed.size() == 4) {
        setText(clockText(m_typed)); // four digits in a row are the time, wherever they began
        m_surplus = false;
        return;
    }
    m_surplus = m_surplus || dropped || m_typed.size() > 4;
    if (m_surplus)
        showMark(true);
}

void ClockField::placeCursorForTyping()
{
    if (isBlank())
        setCursorPosition(0);
    else
        selectAll();
}

void ClockField::showMark(bool notATime)
{
    QPalette shown = palette();
    shown.setColor(QPalette::Text, notATime ? QColor(Qt::red) : QPalette().color(QPalette::Text));
    setPalette(shown);
}

void ClockField::focusInEvent(QFocusEvent* event)
{
    m_typed.clear();
    CaptionedLineEdit::focusInEvent(event);
    // A click places the cursor only after the focus has come: the press is handled below.
    m_enteringByMouse = event->reason() == Qt::MouseFocusReason;
    if (!m_enteringByMouse)
        placeCursorForTyping();
}

void ClockField::focusOutEvent(QFocusEvent* event)
{
    if (leavesForSameScreen(this, event))
        showMark(isNotATime());
    CaptionedLineEdit::focusOutEvent(event);
}

void ClockField::mousePressEvent(QMouseEvent* event)
{
    m_typed.clear();
    CaptionedLineEdit::mousePressEvent(event);
    if (m_enteringByMouse || isBlank())
        placeCursorForTyping();
    m_enteringByMouse = false;
}

void ClockField::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_typed.clear();
    CaptionedLineEdit::mouseDoubleClickEvent(event);
    placeCursorForTyping();
}

QString hoursText(double hours)
{
    return QString::number(hours, 'f', 2);
}

NumberField::NumberField(int integerDigits, QWidget* parent)
    : CaptionedLineEdit(parent)
{
    auto* validator = new QDoubleValidator(0, integerDigits >= 2 ? 99.99 : 9.99, 2, this);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    setValidator(validator);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setLatinInput(Qt::ImhFormattedNumbersOnly | Qt::ImhPreferNumbers);
    setDigitsOnly(this);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const double number = text.toDouble(&ok);
        m_value = ok && hasAcceptableInput() ? std::optional<double>(number) : std::nullopt;
    });
}

std::optional<double> NumberField::value() const
{
    return m_value;
}

void NumberField::setValue(std::optional<double> value)
{
    m_value = value;
    setText(value ? hoursText(*value) : QString());
}

void NumberField::focusInEvent(QFocusEvent* event)
{
    m_valueOnEntry = m_value;
    CaptionedLineEdit::focusInEvent(event);
}

void NumberField::focusOutEvent(QFocusEvent* event)
{
    if (!text().isEmpty() && !hasAcceptableInput())
        setValue(m_valueOnEntry);
    else if (m_value)
        setValue(m_value); // typed "6.5" reads "6.50" like every other figure
    CaptionedLineEdit::focusOutEvent(event);
}

DateField::DateField(Pattern pattern, QWidget* parent)
    : QDateEdit(parent)
    , m_pattern(pattern)
{
    setCalendarPopup(true);
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferNumbers | Qt::ImhLatinOnly |
                        Qt::ImhNoPredictiveText);
    setDigitsOnly(this);
    lineEdit()->installEventFilter(this);
    applyFormat();
}

QString DateField::valueText() const
{
    return date().toString(m_pattern == Pattern::Month ? QStringLiteral("yyyyMM")
                                                       : QStringLiteral("yyyy/MM/dd"));
}

void DateField::setCaption(const QString& caption)
{
    m_caption = caption;
    applyFormat();
}

void DateField::applyFormat()
{
    QString format =
        m_pattern == Pattern::Month ? QStringLiteral("yyyy/MM") : QStringLiteral("yyyy/MM/dd");
    if (!m_caption.isEmpty())
        format.prepend(u'\'' + QString(m_caption).replace(u'\'', QLatin1String("''")) + u'\'');
    setDisplayFormat(format);
}

QCalendarWidget* DateField::holidayCalendar()
{
    if (!qobject_cast<HolidayCalendar*>(calendarWidget()))
        setCalendarWidget(new HolidayCalendar(this));
    return calendarWidget();
}

QVariant DateField::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled && !testAttribute(Qt::WA_InputMethodEnabled))
        return false; // the line edit inside would answer for itself
    return QDateEdit::inputMethodQuery(query);
}

bool DateField::isEntering() const
{
    // The clicks that brought the focus, a double click among them, still count as the way in.
    return m_enteredAt.isValid() && m_enteredAt.elapsed() <= QApplication::doubleClickInterval();
}

void DateField::selectPartAt(const QPoint& position)
{
    // Moving the cursor makes the part under it the current one; the part is then selected
    // whole, never a separator or a piece of it.
    lineEdit()->setCursorPosition(lineEdit()->cursorPositionAt(position));
    setSelectedSection(currentSection());
}

bool DateField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != lineEdit() || isReadOnly())
        return QDateEdit::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        endRun();
        if (isEntering())
            setSelectedSection(sectionAt(0));
        else
            selectPartAt(mouse->position().toPoint());
        return true; // the line edit would put the cursor inside a part, where typing is refused
    }
    case QEvent::MouseMove:
        return static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
    default:
        break;
    }
    return QDateEdit::eventFilter(watched, event);
}

void DateField::mousePressEvent(QMouseEvent* event)
{
    // The calendar is made when it is first needed: a screen holds many date fields.
    endRun();
    if (calendarPopup())
        holidayCalendar();
    QDateEdit::mousePressEvent(event);
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    if (isAccessKey(event))
        return event->ignore();
    m_enteredAt.invalidate();
    if (calendarPopup())
        holidayCalendar();
    if (const QString digit = typedDigit(event); !digit.isEmpty() && !isReadOnly())
        return typeDigit(digit);
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        m_run = {}; // the clerk mends the digits: the part's own editing reads them
    else
        endRun();
    if (!needsHalfWidth(event->text()))
        return QDateEdit::keyPressEvent(event);
    withHalfWidthKey(event, [this](QKeyEvent* half) { QDateEdit::keyPressEvent(half); });
}

QList<int> DateField::partWidths() const
{
    return m_pattern == Pattern::Month ? QList<int>{4, 2} : QList<int>{4, 2, 2};
}

int DateField::digitsFrom(int part) const
{
    const QList<int> widths = partWidths();
    return std::accumulate(widths.begin() + part, widths.end(), 0);
}

void DateField::typeDigit(const QString& digit)
{
    const auto typeKey = [this](QChar c) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (c.unicode() - u'0'), Qt::NoModifier,
                      QString(c));
        QDateEdit::keyPressEvent(&key);
    };
    if (m_run.digits.isEmpty()) {
        const int part = currentSection() == DaySection     ? 2
                         : currentSection() == MonthSection ? 1
                                                            : 0;
        m_run = {QString(), part, date()};
    }
    m_run.digits += digit;
    const int whole = digitsFrom(0);
    const int fits = digitsFrom(m_run.part);
    if (m_run.digits.size() > whole)
        return; // already more than a date: refused when the run ends
    if (m_run.part > 0 && m_run.digits.size() == fits + 1) {
        // More than the parts from there can take: a whole date, typed again from the year.
        setDate(m_run.before);
        setSelectedSection(sectionAt(0));
        for (const QChar c : m_run.digits)
            typeKey(c);
    } else {
        typeKey(digit.front());
    }
    if (m_run.digits.size() < whole)
        return;
    // A whole date typed is shown at once; a digit more would make it none.
    if (const std::optional<QDate> read = dateOf(m_run))
        setDate(*read);
    else
        endRun();
}

std::optional<QDate> DateField::dateOf(const TypedRun& run) const
{
    const QList<int> widths = partWidths();
    int part = run.part;
    if (run.digits.size() > digitsFrom(part))
        part = 0; // read as a whole date
    int parts[3] = {run.before.year(), run.before.month(),
                    m_pattern == Pattern::Month ? 1 : run.before.day()};
    for (qsizetype at = 0; at < run.digits.size(); ++part) {
        if (part >= widths.size())
            return std::nullopt; // more digits than a whole date has
        const qsizetype taken = std::min<qsizetype>(widths[part], run.digits.size() - at);
        parts[part] = run.digits.mid(at, taken).toInt();
        at += taken;
    }
    const QDate read(parts[0], parts[1], parts[2]);
    if (!read.isValid() || read < minimumDate() || read > maximumDate())
        return std::nullopt;
    return read;
}

void DateField::endRun()
{
    if (m_run.digits.isEmpty())
        return;
    const TypedRun run = std::exchange(m_run, {});
    if (const std::optional<QDate> read = dateOf(run)) {
        setDate(*read);
        return;
    }
    setDate(run.before);
    ShowMsg(kMsgError,
            m_pattern == Pattern::Month
                ? QStringLiteral("%1 は年月になりません。年月は 6 桁の数字で入力してください"
                                 "（2026年10月なら 202610）。")
                      .arg(run.digits)
                : QStringLiteral("%1 は日付になりません。日付は 8 桁の数字で入力してください"
                                 "（2026年10月31日なら 20261031）。")
                      .arg(run.digits));
    // The clerk types the date again where it was refused.
    QTimer::singleShot(0, this, [this] {
        setFocus(Qt::OtherFocusReason);
        setSelectedSection(sectionAt(0));
    });
}

bool DateField::event(QEvent* event)
{
    if (event->type() != QEvent::InputMethod)
        return QDateEdit::event(event);
    // The parts of a date take their digits key by key; committed text is typed the same way.
    auto* input = static_cast<QInputMethodEvent*>(event);
    const QString committed = toHalfWidth(input->commitString());
    if (committed.isEmpty() || !input->preeditString().isEmpty())
        return QDateEdit::event(event);
    for (const QChar c : committed) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        keyPressEvent(&key);
    }
    input->accept();
    return true;
}

bool DateField::focusNextPrevChild(bool next)
{
    // Tab leaves the field as it leaves every other; the parts are reached by click and arrows.
    // Passing over QDateTimeEdit's own Tab handling, which steps between the parts, is the point.
    return QWidget::focusNextPrevChild(next); // NOLINT(bugprone-parent-virtual-call)
}

void DateField::focusInEvent(QFocusEvent* event)
{
    m_run = {};
    QDateEdit::focusInEvent(event);
    if (isReadOnly())
        return;
    if (event->reason() == Qt::MouseFocusReason)
        m_enteredAt.start();
    setSelectedSection(sectionAt(0));
}

void DateField::focusOutEvent(QFocusEvent* event)
{
    m_enteredAt.invalidate();
    endRun();
    QDateEdit::focusOutEvent(event);
    if (leavesForSameScreen(this, event))
        emit committed();
}

ListField::ListField(QWidget* parent)
    : QComboBox(parent)
{
}

void ListField::keyPressEvent(QKeyEvent* event)
{
    // The list took Alt with a letter for its type-ahead too; the screen gets it.
    if (event->modifiers() & Qt::AltModifier && !event->text().isEmpty()) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ListField::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (leavesForSameScreen(this, event))
        emit committed();
}

HolidayCalendar::HolidayCalendar(QWidget* parent)
    : QCalendarWidget(parent)
{
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setFirstDayOfWeek(Qt::Sunday);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    for (const Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) {
        QTextCharFormat heading = weekdayTextFormat(day);
        heading.setForeground(QColor(weekdayRgb(day)));
        setWeekdayTextFormat(day, heading);
    }
    connect(this, &QCalendarWidget::currentPageChanged, this, &HolidayCalendar::markDays);
    markDays(yearShown(), monthShown());
}

void HolidayCalendar::markDays(int year, int month)
{
    setDateTextFormat(QDate(), QTextCharFormat()); // the page shown before
    const QDate first = QDate(year, month, 1).addMonths(-1);
    for (QDate day = first; day < first.addMonths(3); day = day.addDays(1)) {
        QTextCharFormat format;
        format.setForeground(QColor(dayRgb(day)));
        if (const QString holiday = JapaneseHolidayName(day); !holiday.isEmpty()) {
            format.setFontWeight(QFont::Bold);
            format.setToolTip(holiday);
        }
        setDateTextFormat(day, format);
    }
}

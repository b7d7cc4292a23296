#include "InputFields.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDoubleValidator>
#include <QFocusEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

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

} // namespace

bool LeavesForSameScreen(const QWidget* field, const QFocusEvent* event)
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

void CaptionedLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (LeavesForSameScreen(this, event))
        emit committed();
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
}

QString ClockField::value() const
{
    if (!hasAcceptableInput())
        return QString();
    return text().remove(u':');
}

void ClockField::setValue(const QString& hhmm)
{
    if (hhmm.size() == 4)
        setText(hhmm.left(2) + u':' + hhmm.right(2));
    else
        clear();
}

void ClockField::focusOutEvent(QFocusEvent* event)
{
    if (!hasAcceptableInput() && LeavesForSameScreen(this, event))
        clear();
    CaptionedLineEdit::focusOutEvent(event);
}

NumberField::NumberField(int integerDigits, QWidget* parent)
    : CaptionedLineEdit(parent)
{
    auto* validator = new QDoubleValidator(0, integerDigits >= 2 ? 99.99 : 9.99, 2, this);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    setValidator(validator);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
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
    setText(value ? QString::number(*value, 'f', 2) : QString());
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
    CaptionedLineEdit::focusOutEvent(event);
}

DateField::DateField(Pattern pattern, QWidget* parent)
    : QDateEdit(parent)
    , m_pattern(pattern)
{
    setCalendarPopup(true);
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

void DateField::mousePressEvent(QMouseEvent* event)
{
    // The calendar is made when it is first needed: a screen holds many date fields.
    if (calendarPopup())
        holidayCalendar();
    QDateEdit::mousePressEvent(event);
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    if (calendarPopup())
        holidayCalendar();
    QDateEdit::keyPressEvent(event);
}

void DateField::focusOutEvent(QFocusEvent* event)
{
    QDateEdit::focusOutEvent(event);
    if (LeavesForSameScreen(this, event))
        emit committed();
}

ListField::ListField(QWidget* parent)
    : QComboBox(parent)
{
}

void ListField::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (LeavesForSameScreen(this, event))
        emit committed();
}

HolidayCalendar::HolidayCalendar(QWidget* parent)
    : QCalendarWidget(parent)
{
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setFirstDayOfWeek(Qt::Sunday);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(this, &QCalendarWidget::currentPageChanged, this,
            [this](int year, int) { markHolidays(year); });
    markHolidays(yearShown());
}

QList<QPair<int, int>> HolidayCalendar::Holidays()
{
    return {{1, 1},  {1, 15}, {2, 11},  {4, 29}, {5, 3},   {5, 4},  {5, 5},
            {7, 20}, {9, 15}, {10, 10}, {11, 3}, {11, 23}, {12, 23}};
}

void HolidayCalendar::markHolidays(int year)
{
    QTextCharFormat holiday;
    holiday.setForeground(QColor(Qt::red));
    holiday.setFontWeight(QFont::Bold);
    for (int shown = year - 1; shown <= year + 1; ++shown) {
        for (const auto& [month, day] : Holidays())
            setDateTextFormat(QDate(shown, month, day), holiday);
    }
}

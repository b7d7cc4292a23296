#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"

#include "MessageAnswerer.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class Form : public QWidget {
public:
    Form()
    {
        auto* layout = new QVBoxLayout(this);
        code = new TextField(4, this);
        clock = new ClockField(this);
        hours = new NumberField(2, this);
        month = new DateField(DateField::Pattern::Month, this);
        day = new DateField(DateField::Pattern::Day, this);
        button = new QPushButton(QStringLiteral("登録"), this);
        code->setLatinInput(Qt::ImhPreferNumbers);
        for (QWidget* w : {static_cast<QWidget*>(code), static_cast<QWidget*>(clock),
                           static_cast<QWidget*>(hours), static_cast<QWidget*>(month),
                           static_cast<QWidget*>(day), static_cast<QWidget*>(button)})
            layout->addWidget(w);
        new EnterKeyNavigation(this);
    }
    TextField* code;
    ClockField* clock;
    NumberField* hours;
    DateField* month;
    DateField* day;
    QPushButton* button;
};

class TestInputFields : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void commitsOnLeaving_data();
    void commitsOnLeaving();
    void buttonClickCommitsFirst();
    void noCommitForAMessageBoxOrAnotherWindow();
    void clockTyping_data();
    void clockTyping();
    void numberValues();
    void dateTyping_data();
    void dateTyping();
    void fullWidthInput();
    void monthField();
    void calendarMarksHolidays();

private:
    std::unique_ptr<Form> m_form;
};

void TestInputFields::init()
{
    m_form = std::make_unique<Form>();
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->code->setFocus();
}

void TestInputFields::cleanup()
{
    m_form.reset();
}

void TestInputFields::commitsOnLeaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Tab") << "tab";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("a click on another field") << "click";
}

void TestInputFields::commitsOnLeaving()
{
    QFETCH(QString, how);
    QSignalSpy committed(m_form->code, &TextField::committed);
    QTest::keyClicks(m_form->code, QStringLiteral("12345"));
    QCOMPARE(m_form->code->value(), QStringLiteral("1234"));
    if (how == "tab")
        QTest::keyClick(m_form->code, Qt::Key_Tab);
    else if (how == "enter")
        QTest::keyClick(m_form->code, Qt::Key_Return);
    else
        QTest::mouseClick(m_form->hours, Qt::LeftButton);
    QCOMPARE(committed.count(), 1);
    QWidget* expected = how == "click" ? static_cast<QWidget*>(m_form->hours) : m_form->clock;
    QCOMPARE(QApplication::focusWidget(), expected);
}

void TestInputFields::buttonClickCommitsFirst()
{
    QStringList order;
    connect(m_form->code, &TextField::committed, this, [&] { order << "commit"; });
    connect(m_form->button, &QPushButton::clicked, this, [&] { order << "click"; });
    QTest::keyClicks(m_form->code, QStringLiteral("7"));
    QTest::mouseClick(m_form->button, Qt::LeftButton);
    QCOMPARE(order, (QStringList{"commit", "click"}));
}

void TestInputFields::noCommitForAMessageBoxOrAnotherWindow()
{
    QSignalSpy committed(m_form->code, &TextField::committed);
    {
        MessageAnswerer answerer;
        ShowMsg(kMsgError, QStringLiteral("入力してください。"));
        QCOMPARE(answerer.seen().size(), 1);
    }
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QCOMPARE(committed.count(), 0);
}

namespace {

// The point of the field's text before character index i, where a click puts the cursor there.
QPoint textPoint(QLineEdit* edit, int i)
{
    const int kept = edit->cursorPosition();
    edit->setCursorPosition(i);
    const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    edit->setCursorPosition(kept);
    return QPoint(cursor.center().x() + 2, edit->height() / 2);
}

// Enters a field as the clerk does: a click (at character index at), a double click, Tab from
// the field before it, Shift+Tab from the one after it, or Enter from the one before it.
void enter(QWidget* field, QLineEdit* edit, const QString& how, int at)
{
    if (how == "click") {
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, textPoint(edit, at));
    } else if (how == "double click") {
        QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier, textPoint(edit, at));
    } else {
        const QList<QWidget*> fields = FocusableFields(field->window());
        QWidget* from = fields.at(fields.indexOf(field) + (how == "shift+tab" ? 1 : -1));
        from->setFocus(Qt::OtherFocusReason);
        if (how == "tab")
            QTest::keyClick(from, Qt::Key_Tab);
        else if (how == "shift+tab")
            QTest::keyClick(from, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(from, Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), field);
}

} // namespace

void TestInputFields::clockTyping_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty, clicked at its end") << ""
                                               << "click" << 5 << "0900"
                                               << "0900"
                                               << "09:00";
    QTest::newRow("empty, clicked in the middle") << ""
                                                  << "click" << 3 << "1745"
                                                  << "1745"
                                                  << "17:45";
    QTest::newRow("filled, clicked: replaced") << "0830"
                                               << "click" << 4 << "1200"
                                               << "1200"
                                               << "12:00";
    QTest::newRow("filled, double clicked") << "0830"
                                            << "double click" << 1 << "0700"
                                            << "0700"
                                            << "07:00";
    QTest::newRow("past midnight as typed") << ""
                                            << "tab" << 0 << "2530"
                                            << "2530"
                                            << "25:30";
    QTest::newRow("last minute of the rules") << ""
                                              << "enter" << 0 << "4759"
                                              << "4759"
                                              << "47:59";
    QTest::newRow("half typed stays") << ""
                                      << "click" << 5 << "083"
                                      << ""
                                      << "08:3_";
    QTest::newRow("hour out of range") << ""
                                       << "tab" << 0 << "9900"
                                       << ""
                                       << "99:00";
    QTest::newRow("minute out of range") << "0830"
                                         << "click" << 0 << "0099"
                                         << ""
                                         << "00:99";
    QTest::newRow("48 o'clock") << ""
                                << "tab" << 0 << "4800"
                                << ""
                                << "48:00";
    QTest::newRow("letters refused") << ""
                                     << "tab" << 0 << "ab12"
                                     << ""
                                     << "12:__";
}

void TestInputFields::clockTyping()
{
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(int, at);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    ClockField* clock = m_form->clock;
    clock->setValue(before);
    enter(clock, clock, how, at);
    QSignalSpy committed(clock, &ClockField::committed);
    QTest::keyClicks(clock, typed);
    QTest::keyClick(clock, Qt::Key_Return);
    QCOMPARE(committed.count(), 1);
    QCOMPARE(clock->value(), value);
    QCOMPARE(clock->displayText(), shown);
    // What is no time is marked, never thrown away.
    QCOMPARE(clock->isNotATime(), value.isEmpty());
    QCOMPARE(clock->palette().color(QPalette::Text) == QColor(Qt::red), value.isEmpty());
}

void TestInputFields::numberValues()
{
    NumberField* hours = m_form->hours;
    hours->setValue(7 + 1.0 / 3);
    QCOMPARE(hours->text(), QStringLiteral("7.33"));
    // Passing through the field keeps the exact value.
    hours->setFocus();
    QTest::keyClick(hours, Qt::Key_Return);
    QCOMPARE(*hours->value(), 7 + 1.0 / 3);

    hours->setFocus();
    hours->selectAll();
    QTest::keyClicks(hours, QStringLiteral("7.5"));
    QCOMPARE(*hours->value(), 7.5);
    hours->selectAll();
    QTest::keyClick(hours, Qt::Key_Delete);
    QVERIFY(!hours->value());

    // A third digit before the point is refused as it is typed.
    hours->selectAll();
    QTest::keyClicks(hours, QStringLiteral("123"));
    QCOMPARE(*hours->value(), 12.0);
    QTest::keyClick(hours, Qt::Key_Tab);

    // What is not a number is not kept: back to the value on entry.
    hours->setValue(2.0);
    hours->setFocus();
    hours->selectAll();
    QTest::keyClicks(hours, QStringLiteral("."));
    QVERIFY(!hours->value());
    QTest::keyClick(hours, Qt::Key_Tab);
    QCOMPARE(*hours->value(), 2.0);
    QCOMPARE(hours->text(), QStringLiteral("2.00"));

    NumberField breakHours(1);
    breakHours.setValue(9.99);
    QVERIFY(breakHours.hasAcceptableInput());
    breakHours.setText(QStringLiteral("10.00"));
    QVERIFY(!breakHours.hasAcceptableInput());
}

void TestInputFields::dateTyping_data()
{
    QTest::addColumn<bool>("month");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    for (const char* how : {"click", "double click", "tab", "shift+tab", "enter"}) {
        QTest::addRow("month, %s, whole month", how) << true << how << 6 << "201905"
                                                     << "201905";
        QTest::addRow("day, %s, whole date", how) << false << how << 8 << "20261201"
                                                  << "2026/12/01";
    }
    // Once inside, a click picks the part under it.
    QTest::newRow("month part of a month") << true << "click again" << 6 << "11"
                                           << "200511";
    QTest::newRow("day part of a date") << false << "click again" << 9 << "15"
                                        << "2005/03/15";
    QTest::newRow("separator of a date") << false << "click again" << 4 << "1999"
                                         << "1999/03/31";
}

void TestInputFields::dateTyping()
{
    QFETCH(bool, month);
    QFETCH(QString, how);
    QFETCH(int, at);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    DateField* field = month ? m_form->month : m_form->day;
    auto* edit = field->findChild<QLineEdit*>();
    field->setValue(QDate(2005, 3, 31));
    if (how == "click again") {
        enter(field, edit, "tab", 0);
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, textPoint(edit, at));
    } else {
        enter(field, edit, how, at);
    }
    QTest::keyClicks(field, typed);
    QCOMPARE(field->valueText(), value);
}

void TestInputFields::fullWidthInput()
{
    // An input method left in full-width mode sends its text committed.
    const auto commit = [](QWidget* field, const QString& text) {
        field->setFocus(Qt::TabFocusReason);
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(field, &event);
    };
    commit(m_form->code, QStringLiteral("１２"));
    QCOMPARE(m_form->code->value(), QStringLiteral("12"));
    QVERIFY(m_form->code->inputMethodHints() & Qt::ImhLatinOnly);
    commit(m_form->clock, QStringLiteral("０９３０"));
    QCOMPARE(m_form->clock->value(), QStringLiteral("0930"));
    commit(m_form->hours, QStringLiteral("７．５"));
    QCOMPARE(*m_form->hours->value(), 7.5);
    m_form->day->setValue(QDate(2005, 3, 31));
    commit(m_form->day, QStringLiteral("２０２６"));
    QCOMPARE(m_form->day->valueText(), QStringLiteral("2026/03/31"));
    // A name keeps its kana and kanji.
    QCOMPARE(ToHalfWidth(QStringLiteral("ｱｵｷ 青木　Ａ１")), QStringLiteral("ｱｵｷ 青木 A1"));
}

void TestInputFields::monthField()
{
    DateField* month = m_form->month;
    month->setValue(QDate(2005, 2, 1));
    QCOMPARE(month->valueText(), QStringLiteral("200502"));
    QCOMPARE(month->text(), QStringLiteral("2005/02"));
    month->setCaption(QStringLiteral("処理年月："));
    QCOMPARE(month->text(), QStringLiteral("処理年月：2005/02"));
    QCOMPARE(month->valueText(), QStringLiteral("200502"));

    DateField day(DateField::Pattern::Day);
    day.setValue(QDate(2005, 3, 31));
    QCOMPARE(day.valueText(), QStringLiteral("2005/03/31"));

    // The drop-down is the holiday calendar, made when first opened.
    QTest::mouseClick(month, Qt::LeftButton, Qt::NoModifier,
                      QPoint(month->width() - 4, month->height() / 2));
    QVERIFY(qobject_cast<HolidayCalendar*>(month->calendarWidget()));
    QTRY_VERIFY(month->calendarWidget()->isVisible());
    QCOMPARE(month->calendarWidget()->selectedDate(), QDate(2005, 2, 1));
    month->calendarWidget()->window()->close();
}

void TestInputFields::calendarMarksHolidays()
{
    HolidayCalendar calendar;
    calendar.setCurrentPage(2005, 1);
    QCOMPARE(calendar.dateTextFormat(QDate(2005, 1, 15)).foreground().color(), QColor(Qt::red));
    QCOMPARE(calendar.dateTextFormat(QDate(2005, 11, 23)).foreground().color(), QColor(Qt::red));
    QVERIFY(!calendar.dateTextFormat(QDate(2005, 1, 16)).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(calendar.locale().dayName(7, QLocale::NarrowFormat), QStringLiteral("日"));
    QCOMPARE(calendar.firstDayOfWeek(), Qt::Sunday);
}

QTEST_MAIN(TestInputFields)
#include "tst_inputfields.moc"

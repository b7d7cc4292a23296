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
        button = new QPushButton(QStringLiteral("登録"), this);
        for (QWidget* w : {static_cast<QWidget*>(code), static_cast<QWidget*>(clock),
                           static_cast<QWidget*>(hours), static_cast<QWidget*>(month),
                           static_cast<QWidget*>(button)})
            layout->addWidget(w);
        new EnterKeyNavigation(this);
    }
    TextField* code;
    ClockField* clock;
    NumberField* hours;
    DateField* month;
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
    void clockValues_data();
    void clockValues();
    void numberValues();
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

void TestInputFields::clockValues_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full time") << "0830"
                               << "0830"
                               << "08:30";
    QTest::newRow("past midnight as typed") << "2530"
                                            << "2530"
                                            << "25:30";
    QTest::newRow("nothing") << ""
                             << ""
                             << "__:__";
    QTest::newRow("half typed: not a time") << "083"
                                            << ""
                                            << "__:__";
    QTest::newRow("letters refused") << "ab12"
                                     << ""
                                     << "__:__";
}

void TestInputFields::clockValues()
{
    QFETCH(QString, typed);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QSignalSpy committed(m_form->clock, &ClockField::committed);
    m_form->clock->setFocus();
    m_form->clock->setCursorPosition(0);
    QTest::keyClicks(m_form->clock, typed);
    QTest::keyClick(m_form->clock, Qt::Key_Return);
    QCOMPARE(committed.count(), 1);
    QCOMPARE(m_form->clock->value(), value);
    QCOMPARE(m_form->clock->displayText(), shown);

    m_form->clock->setValue(QStringLiteral("2330"));
    QCOMPARE(m_form->clock->displayText(), QStringLiteral("23:30"));
    QCOMPARE(m_form->clock->value(), QStringLiteral("2330"));
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

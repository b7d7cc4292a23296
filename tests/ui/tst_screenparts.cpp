#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"
#include "ProgramSetup.h"
#include "WorkScreen.h"

#include "ScreenTest.h"
#include "TestRows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

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
// the field before it, or Shift+Tab from the one after it.
void enter(QWidget* field, QLineEdit* edit, const QString& how, int at)
{
    if (how == "tab, click") { // into the field, then a click inside it
        enter(field, edit, "tab", 0);
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, textPoint(edit, at));
    } else if (how == "click") {
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, textPoint(edit, at));
    } else if (how == "double click") {
        QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier, textPoint(edit, at));
    } else {
        const QList<QWidget*> fields = focusableFields(field->window());
        QWidget* from = fields.at(fields.indexOf(field) + (how == "shift+tab" ? 1 : -1));
        from->setFocus(Qt::OtherFocusReason);
        if (how == "tab")
            QTest::keyClick(from, Qt::Key_Tab);
        else
            QTest::keyClick(from, Qt::Key_Backtab, Qt::ShiftModifier);
    }
    QCOMPARE(QApplication::focusWidget(), field);
}

} // namespace

// A working screen of the program's fields: code, clock, hours, a frame of two options, month,
// day, and a button last.
class Form : public WorkScreen {
public:
    Form()
        : WorkScreen(QStringLiteral("frmTest"), QStringLiteral("試験"), {6000, 6000},
                     Placement::Centred, nullptr)
    {
        auto* layout = new QVBoxLayout(this);
        code = new TextField(4, this);
        code->setCaption(QStringLiteral("ｺｰﾄﾞ(&K):"));
        clock = new ClockField(this);
        hours = new NumberField(2, this);
        auto* frame = new QGroupBox(QStringLiteral("区分(&O)"), this);
        auto* options = new QVBoxLayout(frame);
        for (int i = 0; i < 2; ++i)
            options->addWidget(option[i] = new QRadioButton(QStringLiteral("選択%1").arg(i)));
        option[1]->setChecked(true);
        month = new DateField(DateField::Pattern::Month, this);
        day = new DateField(DateField::Pattern::Day, this);
        button = new QPushButton(QStringLiteral("保存(&S)"), this);
        code->setLatinInput(Qt::ImhPreferNumbers);
        for (QWidget* w :
             std::initializer_list<QWidget*>{code, clock, hours, frame, month, day, button})
            layout->addWidget(w);
    }
    TextField* code;
    ClockField* clock;
    NumberField* hours;
    QRadioButton* option[2];
    DateField* month;
    DateField* day;
    QPushButton* button;
};

// The parts every screen is built of: the fields, the keys of a working screen, the message box.
class TestScreenParts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installJapaneseTranslation()); }
    void init()
    {
        m_form = std::make_unique<Form>();
        QVERIFY(showActive(m_form.get()));
        m_form->code->setFocus();
    }

    void cleanup() { m_form.reset(); }
    void focusMoves()
    {
        // Shift+Enter from the first control wraps to the last, and Enter on a button only
        // moves on; a hidden control is passed over.
        QSignalSpy clicked(m_form->button, &QPushButton::clicked);
        QTest::keyClick(m_form->code, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), m_form->button);
        QTest::keyClick(m_form->button, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m_form->code);
        QCOMPARE(clicked.count(), 0);
        m_form->clock->hide();
        MoveFocus(m_form.get(), true);
        QCOMPARE(QApplication::focusWidget(), m_form->hours);
    }

    void accessKeys()
    {
        // Alt with a field's letter goes to it and types nothing; a frame's leads to its chosen
        // option; a button's commits the field being left, then presses it.
        m_form->clock->setFocus();
        QStringList order;
        connect(m_form->code, &TextField::committed, this, [&] { order << "commit"; });
        connect(m_form->button, &QPushButton::clicked, this, [&] { order << "click"; });
        QTest::keyClick(m_form->clock, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), m_form->code);
        QTest::keyClick(m_form->code, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), m_form->option[1]);
        m_form->code->setFocus();
        QTest::keyClicks(m_form->code, QStringLiteral("7"));
        QTest::keyClick(m_form->code, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(m_form->code->value(), QStringLiteral("7"));
        QCOMPARE(order, (QStringList{"commit", "commit", "click"}));
    }

    void commitsOnLeaving_data()
    {
        QTest::addColumn<QString>("how");
        addTestRow("Tab", "tab");
        addTestRow("a click on another field", "click");
    }
    void commitsOnLeaving()
    {
        QFETCH(QString, how);
        QSignalSpy committed(m_form->code, &TextField::committed);
        QTest::keyClicks(m_form->code, QStringLiteral("12345"));
        QCOMPARE(m_form->code->value(), QStringLiteral("1234"));
        if (how == "tab")
            QTest::keyClick(m_form->code, Qt::Key_Tab);
        else
            QTest::mouseClick(m_form->hours, Qt::LeftButton);
        QCOMPARE(committed.count(), 1);
        QWidget* expected = how == "click" ? static_cast<QWidget*>(m_form->hours) : m_form->clock;
        QCOMPARE(QApplication::focusWidget(), expected);
    }

    void noCommitForAMessageBoxOrAnotherWindow()
    {
        QSignalSpy committed(m_form->code, &TextField::committed);
        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QMessageBox(QMessageBox::Critical, {}, QStringLiteral("入力してください。")).exec();
        QWidget other;
        QVERIFY(showActive(&other));
        QVERIFY(showActive(m_form.get()));
        QCOMPARE(committed.count(), 0);
    }

    void clockTyping_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("value"); // empty: no time, marked and kept as typed
        addTestRow("empty, clicked at its end", "", "click", 5, "0900", "09:00", "0900");
        addTestRow("filled, clicked: replaced", "0830", "click", 4, "1200", "12:00", "1200");
        addTestRow("past midnight as typed", "", "tab", 0, "2530", "25:30", "2530");
        addTestRow("half typed stays", "", "click", 5, "083", "08:3_", "");
        addTestRow("hour out of range", "", "tab", 0, "9900", "99:00", "");
        // Clicked again inside: digits overwrite from there; four in a row are the whole time.
        addTestRow("minutes overwritten", "0915", "tab, click", 3, "30", "09:30", "0930");
        addTestRow("a whole time after a second click", "0915", "tab, click", 4, "0830", "08:30",
                   "0830");
        addTestRow("a digit with no place left", "0915", "tab, click", 4, "08", "09:10", "");
        addTestRow("five digits", "", "tab", 0, "08301", "08:30", "");
    }
    void clockTyping()
    {
        QFETCH(QString, before);
        QFETCH(QString, how);
        QFETCH(int, at);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, value);
        ClockField* clock = m_form->clock;
        clock->setValue(before);
        enter(clock, clock, how, at);
        QSignalSpy committed(clock, &ClockField::committed);
        QTest::keyClicks(clock, typed);
        QTest::keyClick(clock, Qt::Key_Return);
        QCOMPARE(committed.count(), 1);
        QCOMPARE(clock->value(), value);
        QCOMPARE(clock->displayText(), shown);
        // What is no time is marked, never thrown away; what cannot be a time is refused.
        QCOMPARE(clock->isNotATime(), value.isEmpty());
        QCOMPARE(clock->palette().color(QPalette::Text) == QColor(Qt::red), value.isEmpty());
        QCOMPARE(!clock->refusal().isEmpty(), value.isEmpty() && !shown.contains(u'_'));
    }

    void numberValues()
    {
        NumberField* hours = m_form->hours;
        hours->setValue(7 + 1.0 / 3);
        QCOMPARE(hours->text(), QStringLiteral("7.33"));
        hours->setFocus();
        QTest::keyClick(hours, Qt::Key_Return);
        QCOMPARE(*hours->value(), 7 + 1.0 / 3); // passing through keeps the exact value
        hours->setFocus();
        hours->selectAll();
        QTest::keyClicks(hours, QStringLiteral("123")); // a third digit before the point is refused
        QCOMPARE(*hours->value(), 12.0);
        hours->selectAll();
        QTest::keyClicks(hours, QStringLiteral("."));
        QTest::keyClick(hours, Qt::Key_Tab); // what is no number: back to the value on entry
        QCOMPARE(hours->text(), QStringLiteral("7.33"));
    }

    void dateTyping_data()
    {
        QTest::addColumn<bool>("month");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("value"); // from 2005/03/31
        QTest::addColumn<bool>("refused");
        addTestRow("day, clicked: the whole date", false, "click", 8, "20261201", "2026/12/01",
                   false);
        addTestRow("day, Shift+Tab", false, "shift+tab", 0, "20261201", "2026/12/01", false);
        addTestRow("month, double click: the whole month", true, "double click", 6, "201905",
                   "201905", false);
        // Clicked again inside: the part under the pointer and the ones after it, or a whole
        // date typed from anywhere; digits that give no date change nothing and are refused.
        addTestRow("day part", false, "tab, click", 9, "15", "2005/03/15", false);
        addTestRow("month and day parts", false, "tab, click", 6, "1031", "2005/10/31", false);
        addTestRow("a whole date from the month part", false, "tab, click", 6, "20261031",
                   "2026/10/31", false);
        addTestRow("a whole month from the month part", true, "tab, click", 6, "202610", "202610",
                   false);
        addTestRow("no such day", false, "tab, click", 6, "0230", "2005/03/31", true);
        addTestRow("nine digits", false, "tab", 0, "202610311", "2005/03/31", true);
        addTestRow("no such year", false, "tab, click", 9, "123", "2005/03/31", true);
    }
    void dateTyping()
    {
        QFETCH(bool, month);
        QFETCH(QString, how);
        QFETCH(int, at);
        QFETCH(QString, typed);
        QFETCH(QString, value);
        QFETCH(bool, refused);
        DateField* field = month ? m_form->month : m_form->day;
        auto* edit = field->findChild<QLineEdit*>();
        field->setValue(QDate(2005, 3, 31));
        enter(field, edit, how, at);
        ScriptedMessages messages;
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->valueText(), value);
        QCOMPARE(messages.texts().size(), refused ? 1 : 0);
    }

    void shownFieldsTakeNoDigits()
    {
        // The timesheet shows its month and period in read-only fields the clerk may click.
        m_form->day->setValue(QDate(2005, 3, 31));
        m_form->clock->setValue("0915");
        for (QWidget* field :
             {static_cast<QWidget*>(m_form->day), static_cast<QWidget*>(m_form->clock)}) {
            field->setProperty("readOnly", true);
            field->setFocus(Qt::MouseFocusReason);
            QTest::keyClicks(field, "20261031");
            QTest::keyClick(field, Qt::Key_Return);
        }
        QCOMPARE(m_form->day->valueText(), "2005/03/31");
        QCOMPARE(m_form->clock->value(), "0915");
    }

    void calendarMarksTheHolidays()
    {
        m_form->day->setValue(QDate(2026, 1, 20));
        QCalendarWidget* calendar = m_form->day->holidayCalendar();
        calendar->setCurrentPage(2026, 1);
        const QTextCharFormat comingOfAge = calendar->dateTextFormat(QDate(2026, 1, 12));
        QCOMPARE(comingOfAge.foreground().color(), QColor(Qt::red));
        QCOMPARE(comingOfAge.toolTip(), QStringLiteral("成人の日"));
        // The old fixed day is a plain Thursday; Saturday is blue.
        QCOMPARE(calendar->dateTextFormat(QDate(2026, 1, 15)).foreground().color(),
                 QColor(Qt::black));
        QCOMPARE(calendar->dateTextFormat(QDate(2026, 1, 17)).foreground().color(),
                 QColor(Qt::blue));
    }

    void fullWidthInput()
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
        // Pasted text skips the keys and the input method: it is folded on leaving the field.
        m_form->code->setFocus(Qt::TabFocusReason);
        m_form->code->selectAll();
        m_form->code->insert(QStringLiteral("０５"));
        m_form->clock->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_form->code->value(), QStringLiteral("05"));
        // The input method is off where only digits go and on where a code may be typed.
        const std::pair<QWidget*, bool> fields[] = {{m_form->code, true},
                                                    {m_form->clock, false},
                                                    {m_form->hours, false},
                                                    {m_form->month, false},
                                                    {m_form->day, false}};
        for (const auto& [field, enabled] : fields) {
            field->setFocus(Qt::TabFocusReason);
            QInputMethodQueryEvent query(Qt::ImEnabled);
            QApplication::sendEvent(QGuiApplication::focusObject(), &query);
            QVERIFY2(query.value(Qt::ImEnabled).toBool() == enabled,
                     field->metaObject()->className());
        }
        // A name keeps its kana and kanji.
        QCOMPARE(toHalfWidth(QStringLiteral("ｱｵｷ 青木　Ａ１")), QStringLiteral("ｱｵｷ 青木 A1"));
    }

    void realMessageBox()
    {
        // The box the clerk meets: the program's title, its icon and Japanese buttons.
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("ﾇﾋﾞﾗ"));
            QCOMPARE(box->text(), QStringLiteral("最終レコードです。"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            for (const QAbstractButton* button : box->buttons())
                shown << button->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QCOMPARE(ShowMsg(kMsgSaveQuestion, QStringLiteral("最終レコードです。")), int(kMsgCancel));
        shown.sort();
        QCOMPARE(shown, (QStringList{"キャンセル", "保存", "変更を破棄"}));
        // A question before data goes stands on No: Enter keeps the data.
        QTimer::singleShot(0, this, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            box->defaultButton()->click();
        });
        QCOMPARE(ShowMsg(kMsgRiskyQuestion, QStringLiteral("復元しますか？")), int(kMsgNo));
        QCOMPARE(ShowMsg(6, QStringLiteral("最終レコードです。")), int(kMsgNone)); // no box
    }

private:
    std::unique_ptr<Form> m_form;
};

QTEST_MAIN(TestScreenParts)
#include "tst_screenparts.moc"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "MainWindow.h"
#include "Messages.h"
#include "Period.h"
#include "Schema.h"
#include "frmJyouken.h"
#include "frmKintaiEnt1.h"

#include "ScreenTest.h"
#include "TempDatabase.h"
#include "TestRows.h"

#include <QApplication>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

// The month and period choice: its defaults and check, and the screen that hands the choice to
// the timesheet or refuses it with the values kept for correction.
class TestPeriodScreen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        seedSampleStaff(m_temp.db());
        gDb = openDatabase(m_temp.path());
    }

    void cleanupTestCase() { gDb.reset(); }
    void cleanup()
    {
        delete m_screen;
        delete gfrmKintaiEnt1;
        delete gMDIForm;
        flushDeletes();
    }

    void defaults_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("last"); // of the previous month
        addTestRow("end of March", QDate(2005, 3, 31), QDate(2005, 2, 28));
        addTestRow("leap year", QDate(2004, 3, 1), QDate(2004, 2, 29));
        addTestRow("January", QDate(2005, 1, 15), QDate(2004, 12, 31));
    }

    void defaults()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, last);
        const PeriodChoice choice = defaultPeriod(today);
        QCOMPARE(choice.first, QDate(last.year(), last.month(), 1));
        QCOMPARE(choice.last, last);
        QCOMPARE(choice.month.toString("yyyyMM"), last.toString("yyyyMM"));
    }

    void periodCheck_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("refusal");
        addTestRow("d = 30: handed over", "2005/02/01", "2005/03/03", "");
        addTestRow("d = 31", "2005/01/01", "2005/02/01", "対象期間は1ヶ月以内で入力してください。");
        addTestRow("d = -1", "2005/02/11", "2005/02/10", "対象期間の相関関係が不正です");
    }

    void periodCheck()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, refusal);
        m_screen = addChild(new frmJyouken(QDate(2005, 1, 15)));
        QVERIFY(showActive(m_screen));
        QCOMPARE(m_screen->syoriDtField()->valueText(), QStringLiteral("200412"));
        typeDate("txt_kikanSt", first);
        typeDate("txt_kikanEn", last);
        ScriptedMessages messages;
        QTest::mouseClick(button(2), Qt::LeftButton);
        flushDeletes();
        if (refusal.isEmpty()) {
            QVERIFY(messages.texts().isEmpty());
            QVERIFY(!m_screen); // handed over and closed
            const MonthHeader& h = gfrmKintaiEnt1->month().header();
            QCOMPARE(h.syoriDt, QStringLiteral("200412"));
            QCOMPARE(h.kikanSt.toString("yyyy/MM/dd") + h.kikanEn.toString("yyyy/MM/dd"),
                     first + last);
            return;
        }
        QCOMPARE(messages.texts(), QStringList{refusal});
        QCOMPARE(messages.kinds(), QList<int>{kMsgError});
        QCOMPARE(m_screen->kikanStField()->valueText() + m_screen->kikanEnField()->valueText(),
                 first + last);
    }

    void enterMovesThroughTheFields()
    {
        m_screen = addChild(new frmJyouken(QDate(2005, 1, 15)));
        QVERIFY(showActive(m_screen));
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order,
                 QStringList({"txt_kikanSt", "txt_kikanEn", "cmd_button_2", "cmd_button_3"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        flushDeletes();
        QVERIFY(!m_screen);
    }

    void cancelThenReopenShowsTheDefaults()
    {
        frmMDIForm main(QString{});
        QVERIFY(showActive(&main));
        m_screen = showPeriodScreen();
        const QString defaultFirst = m_screen->kikanStField()->valueText();
        QCOMPARE(showPeriodScreen(), m_screen.data());
        typeDate("txt_kikanSt", QStringLiteral("2001/01/01"));
        QTest::mouseClick(button(3), Qt::LeftButton);
        flushDeletes();
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
        m_screen = showPeriodScreen();
        QCOMPARE(m_screen->kikanStField()->valueText(), defaultFirst);
    }

private:
    QPushButton* button(int index) const
    {
        return m_screen->findChild<QPushButton*>(QStringLiteral("cmd_button_%1").arg(index));
    }
    // Types a date as the user does: the field entered by Tab, then the digits.
    void typeDate(const char* name, const QString& text)
    {
        auto* field = m_screen->findChild<DateField*>(QLatin1String(name));
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, QString(text).remove(u'/')); // sections advance by themselves
    }

    QPointer<frmJyouken> m_screen;
    TempDatabase m_temp;
};

QTEST_MAIN(TestPeriodScreen)
#include "tst_periodscreen.moc"

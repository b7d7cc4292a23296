#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "MainWindow.h"
#include "Schema.h"
#include "ScreenParts.h"
#include "StaffStore.h"
#include "frmJyouken.h"
#include "frmKintaiEnt1.h"

#include "Messages.h"
#include "ScreenTest.h"
#include "TempDatabase.h"

#include <QApplication>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

namespace {

// Types a date as the user does: the field entered by Tab, then the digits.
void typeDate(QWidget* screen, const char* name, const QString& text)
{
    auto* field = screen->findChild<DateField*>(QLatin1String(name));
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, QString(text).remove(u'/')); // sections advance by themselves
}

} // namespace

class TestPeriodScreen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void defaultsAreThePreviousMonth_data();
    void defaultsAreThePreviousMonth();
    void periodCheck_data();
    void periodCheck();
    void enterMovesThroughTheFields();
    void cancelThenReopenShowsTheDefaults();

private:
    void show(frmJyouken* screen);
    QPushButton* button(int index) const;

    QPointer<frmJyouken> m_screen;
    TempDatabase m_temp;
};

void TestPeriodScreen::initTestCase()
{
    SaveStaff(m_temp.db(), {"0003", "佐藤", "ｻﾄｳ"});
    gDb = OpenDatabase(m_temp.path());
}

void TestPeriodScreen::cleanupTestCase()
{
    gDb.reset();
}

void TestPeriodScreen::show(frmJyouken* screen)
{
    m_screen = AddChild(screen);
    QVERIFY(ShowActive(m_screen));
}

QPushButton* TestPeriodScreen::button(int index) const
{
    return m_screen->findChild<QPushButton*>(QStringLiteral("cmd_button_%1").arg(index));
}

void TestPeriodScreen::cleanup()
{
    delete m_screen;
    delete gfrmKintaiEnt1;
    delete gMDIForm;
    FlushDeletes();
}

void TestPeriodScreen::defaultsAreThePreviousMonth_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("end of March") << QDate(2005, 3, 31) << "200502"
                                  << "2005/02/01"
                                  << "2005/02/28";
    QTest::newRow("leap year") << QDate(2004, 3, 1) << "200402"
                               << "2004/02/01"
                               << "2004/02/29";
}

void TestPeriodScreen::defaultsAreThePreviousMonth()
{
    QFETCH(QDate, today);
    QFETCH(QString, month);
    QFETCH(QString, first);
    QFETCH(QString, last);
    show(new frmJyouken(today));
    QCOMPARE(m_screen->syoriDtField()->valueText(), month);
    QCOMPARE(m_screen->kikanStField()->valueText(), first);
    QCOMPARE(m_screen->kikanEnField()->valueText(), last);
    QCOMPARE(QApplication::focusWidget(), m_screen->syoriDtField());
}

void TestPeriodScreen::periodCheck_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("d = 30") << "2005/02/01"
                            << "2005/03/03"
                            << "";
    QTest::newRow("d = 31") << "2005/01/01"
                            << "2005/02/01"
                            << "対象期間は1ヶ月以内で入力してください。";
    QTest::newRow("d = -1") << "2005/02/11"
                            << "2005/02/10"
                            << "対象期間の相関関係が不正です";
}

void TestPeriodScreen::periodCheck()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, refusal);
    show(new frmJyouken(QDate(2005, 1, 15)));
    typeDate(m_screen, "txt_kikanSt", first);
    typeDate(m_screen, "txt_kikanEn", last);
    QCOMPARE(m_screen->kikanStField()->valueText(), first);
    QCOMPARE(m_screen->kikanEnField()->valueText(), last);

    ScriptedMessages messages;
    QTest::mouseClick(button(2), Qt::LeftButton);
    if (refusal.isEmpty()) {
        QVERIFY(messages.texts().isEmpty());
        FlushDeletes();
        QVERIFY(!m_screen); // handed over and closed
        QVERIFY(gfrmKintaiEnt1);
        const MonthHeader& h = gfrmKintaiEnt1->month().header();
        QCOMPARE(h.syoriDt, QStringLiteral("200412"));
        QCOMPARE(h.kikanSt.toString("yyyy/MM/dd"), first);
        QCOMPARE(h.kikanEn.toString("yyyy/MM/dd"), last);
        QCOMPARE(h.staffCd, QStringLiteral("0003"));
        return;
    }
    QCOMPARE(messages.texts(), QStringList{refusal});
    QCOMPARE(messages.kinds(), QList<int>{kMsgError});
    // The values stay for correction.
    FlushDeletes();
    QVERIFY(m_screen && m_screen->isEnabled());
    QCOMPARE(m_screen->kikanStField()->valueText(), first);
    QCOMPARE(m_screen->kikanEnField()->valueText(), last);
}

void TestPeriodScreen::enterMovesThroughTheFields()
{
    show(new frmJyouken(QDate(2005, 1, 15)));
    QStringList order;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        order << QApplication::focusWidget()->objectName();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order << QApplication::focusWidget()->objectName();
    QCOMPARE(order, QStringList({"txt_kikanSt", "txt_kikanEn", "cmd_button_2", "cmd_button_3"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    FlushDeletes();
    QVERIFY(!m_screen);
}

void TestPeriodScreen::cancelThenReopenShowsTheDefaults()
{
    frmMDIForm main(QString{});
    QVERIFY(ShowActive(&main));

    m_screen = ShowPeriodScreen();
    const QString defaultFirst = m_screen->kikanStField()->valueText();
    QCOMPARE(ShowPeriodScreen(), m_screen.data());
    typeDate(m_screen, "txt_kikanSt", QStringLiteral("2001/01/01"));
    QTest::mouseClick(button(3), Qt::LeftButton);
    FlushDeletes();
    QVERIFY(!m_screen);
    QVERIFY(main.mdiArea()->subWindowList().isEmpty());

    m_screen = ShowPeriodScreen();
    QCOMPARE(m_screen->kikanStField()->valueText(), defaultFirst);
}

QTEST_MAIN(TestPeriodScreen)
#include "tst_periodscreen.moc"

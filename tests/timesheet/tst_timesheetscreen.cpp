#include "Common.h"
#include "Help.h"
#include "InputFields.h"
#include "MainWindow.h"
#include "Placement.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TimesheetStore.h"
#include "TrashBin.h"
#include "frmKensaku.h"
#include "frmKintaiEnt1.h"
#include "frmStaff.h"

#include "Messages.h"
#include "ReportEngine.h"
#include "ReportPreview.h"
#include "ScreenTest.h"
#include "TempDatabase.h"

#include <QApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString kMonth = QStringLiteral("200502");
const QDate kFirst(2005, 2, 1); // a Tuesday
const QDate kLast(2005, 2, 28);

void pressEnter()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace

class TestTimesheetScreen : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enterRunsThroughClassAndTimes();
    void menusAndHelpByKeyboard();
    void clerkTypesAMonthAndSavesIt();
    void restDayChosenByKeyboard();
    void untimedClockBlocksTheSave();
    void leavingAnEditedMonthAsks_data();
    void leavingAnEditedMonthAsks();
    void passingThroughTheCodeKeepsEdits();
    void dropOnTheBinDeletesTheMonth_data();
    void dropOnTheBinDeletesTheMonth();
    void printShowsTheStoredMonth();
    void failedSaveLeavesTheStoredMonth();
    void searchSortsAndHandsBack();
    void searchWithoutMatch();
    void searchClosesWhenTheTimesheetIsActivated();

private:
    template <class T> T* child(const QString& name) const
    {
        T* found = m_screen->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QWidget* rowField(const char* control, int n) const
    {
        return child<QWidget>(QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(n));
    }
    QString labelText(const char* name) const { return child<QLabel>(QLatin1String(name))->text(); }
    void saveWorkedMonth(const QString& code)
    {
        SaveMonth(m_temp->db(), {code, {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
                  WorkedMonth(code, kMonth, kFirst, 28));
    }
    void open();
    void click(const QString& button);
    // Types the times of row n as the clerk does: Enter from the row's class list into the
    // clock-in, the time, Enter, the clock-out, Enter to the next row.
    void typeTimes(int n, const QString& in, const QString& out);

    std::unique_ptr<TempDatabase> m_temp;
    std::unique_ptr<frmMDIForm> m_main;
    QPointer<frmKintaiEnt1> m_screen;
};

void TestTimesheetScreen::init()
{
    m_temp = std::make_unique<TempDatabase>();
    SeedSampleStaff(m_temp->db());
    gDb = OpenDatabase(m_temp->path());
    m_main = std::make_unique<frmMDIForm>(QString{});
    QVERIFY(ShowActive(m_main.get()));
}

void TestTimesheetScreen::cleanup()
{
    m_main.reset();
    FlushDeletes();
    gDb.reset();
    m_temp.reset();
}

void TestTimesheetScreen::open()
{
    m_screen = OpenTimesheetScreen(kMonth, kFirst, kLast);
    QVERIFY(m_screen);
    QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>("txt_staffCd"));
}

void TestTimesheetScreen::click(const QString& button)
{
    QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
}

void TestTimesheetScreen::typeTimes(int n, const QString& in, const QString& out)
{
    QCOMPARE(focusName(), QStringLiteral("cmb_syukinKb_%1").arg(n));
    pressEnter();
    QCOMPARE(focusName(), QStringLiteral("txt_syukinJn_%1").arg(n));
    QTest::keyClicks(QApplication::focusWidget(), in);
    pressEnter();
    QCOMPARE(focusName(), QStringLiteral("txt_taisyaJn_%1").arg(n));
    QTest::keyClicks(QApplication::focusWidget(), out);
    pressEnter();
}

void TestTimesheetScreen::enterRunsThroughClassAndTimes()
{
    open();
    QStringList order;
    for (int i = 0; i < 14; ++i) {
        pressEnter();
        order << focusName();
    }
    // Hour fields are passed over; rest days (the 5th and 6th) keep only their class list.
    QCOMPARE(order,
             QStringList({"cmb_syukinKb_1", "txt_syukinJn_1", "txt_taisyaJn_1", "cmb_syukinKb_2",
                          "txt_syukinJn_2", "txt_taisyaJn_2", "cmb_syukinKb_3", "txt_syukinJn_3",
                          "txt_taisyaJn_3", "cmb_syukinKb_4", "txt_syukinJn_4", "txt_taisyaJn_4",
                          "cmb_syukinKb_5", "cmb_syukinKb_6"}));
    // From the last day of the period on to the buttons: the days past it take no focus.
    rowField("txt_taisyaJn", 28)->setFocus(Qt::MouseFocusReason);
    pressEnter();
    QCOMPARE(focusName(), QStringLiteral("cmd_button_0"));
}

void TestTimesheetScreen::menusAndHelpByKeyboard()
{
    open();
    // Alt+F belongs to ｽﾀｯﾌ登録(&F) here; F10 opens the menu bar at ﾌｧｲﾙ(&F).
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    auto* file = m_main->findChild<QMenu*>("m_file");
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());

    child<QWidget>("txt_staffCd")->setFocus();
    QCOMPARE(frmHelp::TopicOf(QApplication::focusWidget()), QStringLiteral("timesheet"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QVERIFY(gfrmHelp && gfrmHelp->isVisible());
    gfrmHelp->close();
}

void TestTimesheetScreen::clerkTypesAMonthAndSavesIt()
{
    open();
    pressEnter(); // from the code into row 1
    for (int n = 1; n <= 28; ++n) {
        if (child<ListField>(QStringLiteral("cmb_syukinKb_%1").arg(n))->currentIndex() == 2) {
            pressEnter();
            continue;
        }
        typeTimes(n, "0900", n == 28 ? "2000" : "1800");
    }
    QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("160.00"));
    QCOMPARE(labelText("txt_g_zangyouJn"), QStringLiteral("2.00"));
    QCOMPARE(labelText("txt_g_kyukeiJn"), QStringLiteral("20.00"));
    // A look at the filled month: NUBIRA_SCREENSHOT names the picture to write.
    if (const QString picture = qEnvironmentVariable("NUBIRA_SCREENSHOT"); !picture.isEmpty()) {
        QTest::qWait(100); // the working area sets its scroll bars after the layout settles
        QVERIFY(m_main->grab().save(picture));
    }

    ScriptedMessages messages;
    click("cmd_button_0");
    QVERIFY(messages.texts().isEmpty()); // saving says nothing when it succeeds
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL WHERE staffCd = '0001'"),
             QStringLiteral("28"));
    QCOMPARE(m_temp->scalar("SELECT syukin || taisya || syukinKb FROM KYTIMESHEETJL "
                            "WHERE staffCd = '0001' AND kintaiDt = '2005-02-28'"),
             QStringLiteral("090020000"));
    QCOMPARE(m_temp->scalar("SELECT kihon1 || '/' || kihon2 || '/' || kihon4 FROM "
                            "KYKINTAISYUKEIJL WHERE staffCd = '0001' AND syoriDt = '200502'"),
             QStringLiteral("160.0/2.0/20.0"));
}

void TestTimesheetScreen::restDayChosenByKeyboard()
{
    open();
    pressEnter();
    typeTimes(1, "0900", "1800");
    QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("8.00"));
    child<ListField>("cmb_syukinKb_1")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End); // 公休日
    QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QString());
    QVERIFY(!rowField("txt_syukinJn", 1)->isEnabled());
    QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("0.00"));
    pressEnter();
    QCOMPARE(focusName(), QStringLiteral("cmb_syukinKb_2"));
    child<ListField>("cmb_syukinKb_1")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home); // back to a working day
    QVERIFY(rowField("txt_syukinJn", 1)->isEnabled());
}

void TestTimesheetScreen::untimedClockBlocksTheSave()
{
    saveWorkedMonth("0001");
    open();
    auto* clockOut = child<ClockField>("txt_taisyaJn_3");
    ScriptedMessages messages;
    QTest::mouseClick(clockOut, Qt::LeftButton);
    QTest::keyClicks(clockOut, "083");
    pressEnter();
    click("cmd_button_0");
    QCOMPARE(messages.texts(), QStringList{"入力されていない明細があります。確認してください。"});
    QCOMPARE(m_screen->focusWidget(), clockOut); // where the clerk mends it
    QCOMPARE(clockOut->displayText(), QStringLiteral("08:3_"));
    QCOMPARE(m_temp->scalar("SELECT taisya FROM KYTIMESHEETJL WHERE kintaiDt = '2005-02-03'"),
             QStringLiteral("1800"));
}

void TestTimesheetScreen::leavingAnEditedMonthAsks_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("left");
    QTest::newRow("next, saved") << "next" << int(kMsgYes) << "1000" << true;
    QTest::newRow("code, discarded") << "code" << int(kMsgNo) << "0900" << true;
    QTest::newRow("code, stayed") << "code" << int(kMsgCancel) << "0900" << false;
    QTest::newRow("close, stayed") << "close" << int(kMsgCancel) << "0900" << false;
    QTest::newRow("close box, saved") << "close box" << int(kMsgYes) << "1000" << true;
}

void TestTimesheetScreen::leavingAnEditedMonthAsks()
{
    QFETCH(QString, how);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QFETCH(bool, left);
    saveWorkedMonth("0001");
    open();
    auto* clockIn = child<ClockField>("txt_syukinJn_1");
    QTest::mouseClick(clockIn, Qt::LeftButton);
    QTest::keyClicks(clockIn, "1000");

    ScriptedMessages messages({answer});
    if (how == "next") {
        click("cmd_NEXT");
    } else if (how == "code") {
        auto* code = child<TextField>("txt_staffCd");
        QTest::mouseClick(code, Qt::LeftButton);
        code->selectAll();
        QTest::keyClicks(code, "5");
        pressEnter();
    } else if (how == "close") {
        click("cmd_button_3");
    } else {
        m_screen->parentWidget()->close(); // the time still in its field
    }
    FlushDeletes();
    QCOMPARE(messages.texts(), QStringList{"0001 青木 の勤怠は保存されていません。保存しますか？"});
    QCOMPARE(messages.kinds(), QList<int>{kMsgSaveQuestion});
    QCOMPARE(m_temp->scalar("SELECT syukin FROM KYTIMESHEETJL WHERE staffCd = '0001' AND "
                            "kintaiDt = '2005-02-01'"),
             stored);
    if (how.startsWith("close")) {
        QCOMPARE(m_screen.isNull(), left);
        return;
    }
    QCOMPARE(m_screen->month().header().staffCd,
             left ? QStringLiteral("0005") : QStringLiteral("0001"));
    QCOMPARE(child<TextField>("txt_staffCd")->value(), m_screen->month().header().staffCd);
    if (!left)
        QCOMPARE(clockIn->value(), QStringLiteral("1000")); // the entry is still there
}

void TestTimesheetScreen::passingThroughTheCodeKeepsEdits()
{
    open();
    pressEnter();
    typeTimes(1, "0900", "1800");
    child<TextField>("txt_staffCd")->setFocus(Qt::MouseFocusReason);
    pressEnter();
    QCOMPARE(child<ClockField>("txt_taisyaJn_1")->value(), QStringLiteral("1800"));
    QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("8.00"));
}

void TestTimesheetScreen::dropOnTheBinDeletesTheMonth_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("rowsLeft");
    QTest::newRow("yes") << int(kMsgYes) << "0";
    QTest::newRow("no") << int(kMsgNo) << "28";
}

void TestTimesheetScreen::dropOnTheBinDeletesTheMonth()
{
    QFETCH(int, answer);
    QFETCH(QString, rowsLeft);
    saveWorkedMonth("0001");
    open();

    auto* bin = child<TrashBin>("img_trash");
    QMimeData data;
    data.setData(QLatin1String(kStaffCodeMimeType), "0001");
    const QPoint centre = bin->rect().center();
    QDragEnterEvent enter(centre, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bin, &enter);
    QVERIFY(enter.isAccepted());
    ScriptedMessages messages({answer});
    QDropEvent drop(QPointF(centre), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bin, &drop);
    QCOMPARE(messages.texts(), QStringList{"削除してよろしいでしょうか？"});
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL"), rowsLeft);
    QCOMPARE(child<ClockField>("txt_syukinJn_1")->value().isEmpty(), answer == kMsgYes);

    // Something else dropped there is not taken.
    QMimeData text;
    text.setText("0001");
    QDragEnterEvent other(centre, Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    other.setAccepted(false);
    QApplication::sendEvent(bin, &other);
    QVERIFY(!other.isAccepted());
}

void TestTimesheetScreen::printShowsTheStoredMonth()
{
    saveWorkedMonth("0005");
    saveWorkedMonth("0009");
    open();
    int pages = 0;
    SetPreviewStandIn(
        [&pages](const ReportDocument& document) { pages = int(document.pages.size()); });
    ScriptedMessages messages;
    click("cmd_button_2"); // 0001 has no stored month
    click("cmd_NEXT");
    click("cmd_button_2");
    SetPreviewStandIn({});
    QCOMPARE(messages.texts(), QStringList{"印刷対象データがありません。"});
    QCOMPARE(pages, 1); // the member on screen only
}

void TestTimesheetScreen::failedSaveLeavesTheStoredMonth()
{
    saveWorkedMonth("0001");
    open();
    auto* clockIn = child<ClockField>("txt_syukinJn_1");
    clockIn->setFocus(Qt::MouseFocusReason);
    clockIn->selectAll();
    QTest::keyClicks(clockIn, "1000");
    m_temp->db().execute("CREATE TRIGGER refuse BEFORE INSERT ON KYTIMESHEETJL "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    ScriptedMessages messages;
    click("cmd_button_0");
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.texts().first().startsWith("cmd_button_Click(0):"),
             qPrintable(messages.texts().first()));
    QVERIFY(messages.texts().first().contains("disk full"));
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL"), QStringLiteral("28"));
    QCOMPARE(m_temp->scalar("SELECT syukin FROM KYTIMESHEETJL WHERE kintaiDt = '2005-02-01'"),
             QStringLiteral("0900"));
    QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QStringLiteral("1000")); // kept
}

void TestTimesheetScreen::searchSortsAndHandsBack()
{
    SaveStaff(m_temp->db(), {"0003", "伊東", "ｲﾄｳ"});
    open();
    click("cmd_kensaku_1");
    QPointer<frmKensaku> dialog = gfrmKensaku.data();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isActiveWindow());
    // A window of its own above the main window, 500 twips from the screen's right, 20 from its
    // top.
    const QRect screen = dialog->screen()->geometry();
    QCOMPARE(dialog->frameGeometry().right(), screen.right() - TwipsToPixels(500, dialog));
    QCOMPARE(dialog->frameGeometry().top(), screen.top() + TwipsToPixels(20, dialog));
    auto* keyword = dialog->findChild<TextField*>("txt_keyword");
    auto* list = dialog->findChild<QTreeWidget*>("ListView1");
    const auto column = [list](int c) {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(c);
        return texts;
    };
    const auto clickHeader = [list](int c) {
        QHeaderView* header = list->header();
        const QPoint at(header->sectionViewportPosition(c) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    };

    // The keyword's access key reaches it from the list.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_K, Qt::AltModifier);
    QCOMPARE(focusName(), QStringLiteral("txt_keyword"));

    keyword->setText(QStringLiteral("伊"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_0"), Qt::LeftButton);
    QCOMPARE(column(1), QStringList({"伊藤", "伊東"})); // by name, descending
    clickHeader(0);
    QCOMPARE(column(0), QStringList({"0003", "0005"}));
    clickHeader(0);
    QCOMPARE(column(0), QStringList({"0005", "0003"}));
    clickHeader(2);

    // A new search keeps the sort state: the same header now sorts descending.
    dialog->findChild<QRadioButton*>("opt_koumoku_0")->setChecked(true);
    keyword->setText(QString());
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_0"), Qt::LeftButton);
    QCOMPARE(column(0), QStringList({"0009", "0005", "0003", "0001"}));
    clickHeader(2);
    QCOMPARE(column(2), QStringList({"ｳｴﾀﾞ", "ｲﾄｳ", "ｲﾄｳ", "ｱｵｷ"}));

    // A double click on 0009 hands it back; the timesheet loads that member.
    clickHeader(0);
    QTreeWidgetItem* item = list->topLevelItem(3);
    QCOMPARE(item->text(0), QStringLiteral("0009"));
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    FlushDeletes();
    QVERIFY(!dialog);
    QCOMPARE(child<TextField>("txt_staffCd")->value(), QStringLiteral("0009"));
    QCOMPARE(child<TextField>("txt_staffNm")->value(), QStringLiteral("上田"));
    QCOMPARE(m_screen->month().header().staffCd, QStringLiteral("0009"));
    QCOMPARE(focusName(), QStringLiteral("txt_staffNm"));
}

void TestTimesheetScreen::searchWithoutMatch()
{
    open();
    click("cmd_kensaku_1");
    QPointer<frmKensaku> dialog = gfrmKensaku.data();
    dialog->findChild<TextField*>("txt_keyword")->setText(QStringLiteral("%"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_0"), Qt::LeftButton);
    QCOMPARE(dialog->findChild<QTreeWidget*>("ListView1")->topLevelItemCount(), 0);
    ScriptedMessages messages;
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_1"), Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"リストより選択してください。"});
    FlushDeletes();
    QVERIFY(!dialog);
    QCOMPARE(child<TextField>("txt_staffCd")->value(), QString());
    QCOMPARE(m_screen->month().header().staffCd, QStringLiteral("0001"));
}

void TestTimesheetScreen::searchClosesWhenTheTimesheetIsActivated()
{
    open();
    pressEnter();
    typeTimes(1, "0900", "1800");
    click("cmd_kensaku_1");
    QPointer<frmKensaku> dialog = gfrmKensaku.data();
    QTRY_VERIFY(dialog->isActiveWindow());
    QApplication::setActiveWindow(m_main.get()); // the clerk clicks the timesheet behind it
    FlushDeletes();
    QVERIFY(!dialog);
    QCOMPARE(focusName(), QStringLiteral("txt_staffNm"));
    QCOMPARE(child<ClockField>("txt_taisyaJn_1")->value(), QStringLiteral("1800")); // kept
}

QTEST_MAIN(TestTimesheetScreen)
#include "tst_timesheetscreen.moc"

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

#include "FlushDeletes.h"
#include "MessageAnswerer.h"
#include "PreviewCloser.h"
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
    void opensOnTheFirstMemberWithThePeriod();
    void enterRunsThroughClassAndTimes();
    void menusAndHelpByKeyboard();
    void clerkTypesAMonthAndSavesIt();
    void restDayChosenByKeyboard();
    void untimedClockBlocksTheSave_data();
    void untimedClockBlocksTheSave();
    void totalsReadWithTwoDecimals();
    void steppingPastTheLastMemberSaysSo();
    void leavingAnEditedMonthAsks_data();
    void leavingAnEditedMonthAsks();
    void passingThroughTheCodeKeepsEdits();
    void dropOnTheBinDeletesTheMonth_data();
    void dropOnTheBinDeletesTheMonth();
    void printWithoutStoredRows();
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
    void open();
    void click(const QString& button);
    // Types the times of row n as the clerk does: Enter from the row's class list into the
    // clock-in, the time, Enter, the clock-out, Enter to the next row.
    void typeTimes(int n, const QString& in, const QString& out);
    void activate();

    std::unique_ptr<TempDatabase> m_temp;
    std::unique_ptr<frmMDIForm> m_main;
    QPointer<frmKintaiEnt1> m_screen;
};

void TestTimesheetScreen::init()
{
    m_temp = std::make_unique<TempDatabase>();
    SaveStaff(m_temp->db(), {"0001", "青木", "ｱｵｷ"});
    SaveStaff(m_temp->db(), {"0005", "伊藤", "ｲﾄｳ"});
    SaveStaff(m_temp->db(), {"0009", "上田", "ｳｴﾀﾞ"});
    gDb = OpenDatabase(m_temp->path());
    m_main = std::make_unique<frmMDIForm>(QString{});
    m_main->show();
    activate();
}

void TestTimesheetScreen::activate()
{
    QApplication::setActiveWindow(m_main.get());
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
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

void TestTimesheetScreen::opensOnTheFirstMemberWithThePeriod()
{
    open();
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("勤怠入力"));
    QCOMPARE(child<TextField>("txt_staffCd")->value(), QStringLiteral("0001"));
    QCOMPARE(child<TextField>("txt_staffNm")->value(), QStringLiteral("青木"));
    QCOMPARE(child<DateField>("txt_kikanEn")->valueText(), QStringLiteral("2005/02/28"));
    QCOMPARE(child<ListField>("cmb_syukinKb_5")->currentText(), QStringLiteral("公休日"));
    QVERIFY(!rowField("txt_syukinJn", 5)->isEnabled());
    for (int n = 29; n <= 31; ++n) {
        QCOMPARE(labelText(qPrintable(QStringLiteral("txt_date_%1").arg(n))), QString());
        QVERIFY(!rowField("cmb_syukinKb", n)->isEnabled());
        QVERIFY(!rowField("txt_taisyaJn", n)->isEnabled());
        QVERIFY(!rowField("txt_kyukeiJn", n)->isEnabled());
    }
    QCOMPARE(m_screen->parentWidget()->parentWidget()->parentWidget(), m_main->mdiArea());

    click("cmd_staff");
    QVERIFY(gfrmStaff);
    QCOMPARE(gfrmStaff->parentWidget()->parentWidget()->parentWidget(), m_main->mdiArea());
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
    // From the last day of the period on to the buttons, then the header buttons.
    rowField("txt_taisyaJn", 28)->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 8; ++i) {
        pressEnter();
        order << focusName();
        if (focusName().startsWith("cmd_"))
            break;
    }
    QCOMPARE(order.last(), QStringLiteral("cmd_button_0"));
    QWidget* basic = rowField("txt_kihonJn", 1);
    QCOMPARE(basic->focusPolicy(), Qt::ClickFocus);
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

    MessageAnswerer answerer;
    click("cmd_button_0");
    QVERIFY(answerer.seen().isEmpty()); // saving says nothing when it succeeds
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL WHERE staffCd = '0001'"),
             QStringLiteral("28"));
    QCOMPARE(m_temp->scalar("SELECT syukin || taisya || syukinKb FROM KYTIMESHEETJL "
                            "WHERE staffCd = '0001' AND kintaiDt = '2005-02-28'"),
             QStringLiteral("090020000"));
    QCOMPARE(m_temp->scalar("SELECT kihon1 || '/' || kihon2 || '/' || kihon4 FROM "
                            "KYKINTAISYUKEIJL WHERE staffCd = '0001' AND syoriDt = '200502'"),
             QStringLiteral("160.0/2.0/20.0"));

    // Away and back: the stored month comes back as typed.
    click("cmd_NEXT");
    QCOMPARE(child<TextField>("txt_staffCd")->value(), QStringLiteral("0005"));
    QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QString());
    click("cmd_BACK");
    QCOMPARE(child<TextField>("txt_staffCd")->value(), QStringLiteral("0001"));
    QCOMPARE(child<ClockField>("txt_taisyaJn_28")->value(), QStringLiteral("2000"));
    QCOMPARE(child<NumberField>("txt_zangyouJn_28")->value(), 2.0);
    QCOMPARE(labelText("txt_g_zangyouJn"), QStringLiteral("2.00"));
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
    QCOMPARE(child<NumberField>("txt_kihonJn_1")->value(), 0.0);
    QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("0.00"));
    pressEnter();
    QCOMPARE(m_screen->month().row(1).syukinKb, QStringLiteral("2"));
    QCOMPARE(focusName(), QStringLiteral("cmb_syukinKb_2"));

    // Back to a working day: the fields open again, empty.
    child<ListField>("cmb_syukinKb_1")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QVERIFY(rowField("txt_syukinJn", 1)->isEnabled());
    QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QString());
    pressEnter();
    QCOMPARE(m_screen->month().row(1).syukinKb, QStringLiteral("0"));
}

void TestTimesheetScreen::untimedClockBlocksTheSave_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");
    const QString incomplete = QStringLiteral("入力されていない明細があります。確認してください。");
    QTest::newRow("half typed") << "083"
                                << "08:3_" << QStringList{incomplete};
    QTest::newRow("hour out of range")
        << "9900"
        << "99:00"
        << QStringList{"時刻は 00:00 から 47:59 までの間で入力してください。", incomplete};
    QTest::newRow("minute out of range")
        << "0099"
        << "00:99"
        << QStringList{"時刻は 00:00 から 47:59 までの間で入力してください。", incomplete};
}

void TestTimesheetScreen::untimedClockBlocksTheSave()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, messages);
    SaveMonth(m_temp->db(), {"0001", {}, {}, kMonth, kFirst, kLast, 160, 0, 0, 20},
              WorkedMonth("0001", kMonth, kFirst, 28));
    open();
    auto* clockOut = child<ClockField>("txt_taisyaJn_3");
    MessageAnswerer answerer;
    QTest::mouseClick(clockOut, Qt::LeftButton);
    QTest::keyClicks(clockOut, typed);
    pressEnter();
    click("cmd_button_0");
    QCOMPARE(answerer.texts(), messages);
    // Where the clerk mends it, once the screen has the activation back from the message.
    QCOMPARE(m_screen->focusWidget(), clockOut);
    QCOMPARE(clockOut->displayText(), shown);
    QCOMPARE(m_temp->scalar("SELECT taisya FROM KYTIMESHEETJL WHERE kintaiDt = '2005-02-03'"),
             QStringLiteral("1800"));
    QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("160.00")); // the row keeps its hours
}

void TestTimesheetScreen::totalsReadWithTwoDecimals()
{
    SaveMonth(m_temp->db(), {"0001", {}, {}, kMonth, kFirst, kLast, 151.083333333333, 143.75, 0, 0},
              WorkedMonth("0001", kMonth, kFirst, 28));
    open();
    auto* basic = child<QLabel>("txt_g_kihonJn");
    QCOMPARE(basic->text(), QStringLiteral("151.08"));
    QCOMPARE(basic->toolTip(), QStringLiteral("151.083333333333"));
    QCOMPARE(labelText("txt_g_zangyouJn"), QStringLiteral("143.75"));
    QCOMPARE(labelText("txt_g_sinyaJn"), QStringLiteral("0.00"));
    QVERIFY(basic->fontMetrics().horizontalAdvance(QStringLiteral("999.99")) <=
            basic->contentsRect().width());
    // Hours typed by hand read like the computed ones.
    auto* hours = child<NumberField>("txt_kihonJn_1");
    QTest::mouseClick(hours, Qt::LeftButton);
    hours->selectAll();
    QTest::keyClicks(hours, "6.5");
    QTest::mouseClick(child<ClockField>("txt_syukinJn_2"), Qt::LeftButton);
    QCOMPARE(hours->text(), QStringLiteral("6.50"));
}

void TestTimesheetScreen::steppingPastTheLastMemberSaysSo()
{
    open();
    auto* code = child<TextField>("txt_staffCd");
    code->selectAll();
    QTest::keyClicks(code, "9");
    pressEnter();
    QCOMPARE(code->value(), QStringLiteral("0009"));
    MessageAnswerer answerer;
    click("cmd_NEXT");
    QCOMPARE(answerer.texts(),
             QStringList{"最終レコードです。"}); // a month without edits: no question
    QCOMPARE(answerer.seen().first().icon, QMessageBox::Critical);
    QCOMPARE(code->value(), QStringLiteral("0009"));
}

void TestTimesheetScreen::leavingAnEditedMonthAsks_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("left");
    for (const char* how : {"next", "code", "close", "close box"}) {
        QTest::addRow("%s, saved", how) << how << QMessageBox::Save << "1000" << true;
        QTest::addRow("%s, discarded", how) << how << QMessageBox::Discard << "0900" << true;
        QTest::addRow("%s, stayed", how) << how << QMessageBox::Cancel << "0900" << false;
    }
}

void TestTimesheetScreen::leavingAnEditedMonthAsks()
{
    QFETCH(QString, how);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, stored);
    QFETCH(bool, left);
    SaveMonth(m_temp->db(), {"0001", {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
              WorkedMonth("0001", kMonth, kFirst, 28));
    open();
    auto* clockIn = child<ClockField>("txt_syukinJn_1");
    QTest::mouseClick(clockIn, Qt::LeftButton);
    QTest::keyClicks(clockIn, "1000");

    MessageAnswerer answerer({answer});
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
    QCOMPARE(answerer.texts(), QStringList{"0001 青木 の勤怠は保存されていません。保存しますか？"});
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
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("rowsLeft");
    QTest::newRow("yes") << QMessageBox::Yes << "0";
    QTest::newRow("no") << QMessageBox::No << "28";
}

void TestTimesheetScreen::dropOnTheBinDeletesTheMonth()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, rowsLeft);
    SaveMonth(m_temp->db(), {"0001", {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
              WorkedMonth("0001", kMonth, kFirst, 28));
    open();
    QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QStringLiteral("0900"));

    auto* bin = child<TrashBin>("img_trash");
    QMimeData data;
    data.setData(QLatin1String(kStaffCodeMimeType), "0001");
    const QPoint centre = bin->rect().center();
    QDragEnterEvent enter(centre, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bin, &enter);
    QVERIFY(enter.isAccepted());
    MessageAnswerer answerer({answer});
    QDropEvent drop(QPointF(centre), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bin, &drop);
    QCOMPARE(answerer.texts(), QStringList{"削除してよろしいでしょうか？"});
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL"), rowsLeft);
    QCOMPARE(GetStaff(m_temp->db(), "0001").staffNm, QStringLiteral("青木"));
    QCOMPARE(child<TextField>("txt_staffCd")->value(), QStringLiteral("0001"));
    if (answer == QMessageBox::Yes) {
        QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QString());
        QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("0.00"));
    }

    // Something else dropped there is not taken.
    QMimeData text;
    text.setText("0001");
    QDragEnterEvent other(centre, Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    other.setAccepted(false);
    QApplication::sendEvent(bin, &other);
    QVERIFY(!other.isAccepted());
}

void TestTimesheetScreen::printWithoutStoredRows()
{
    open();
    MessageAnswerer answerer;
    click("cmd_button_2");
    QCOMPARE(answerer.texts(), QStringList{"印刷対象データがありません。"});
}

void TestTimesheetScreen::printShowsTheStoredMonth()
{
    SaveMonth(m_temp->db(), {"0005", {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
              WorkedMonth("0005", kMonth, kFirst, 28));
    SaveMonth(m_temp->db(), {"0009", {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
              WorkedMonth("0009", kMonth, kFirst, 28));
    open();
    click("cmd_NEXT");
    MessageAnswerer answerer;
    PreviewCloser preview;
    click("cmd_button_2");
    QVERIFY(answerer.seen().isEmpty());
    QVERIFY(preview.shown());
    QCOMPARE(preview.pages(), 1); // the member on screen only
}

void TestTimesheetScreen::failedSaveLeavesTheStoredMonth()
{
    SaveMonth(m_temp->db(), {"0001", {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
              WorkedMonth("0001", kMonth, kFirst, 28));
    open();
    auto* clockIn = child<ClockField>("txt_syukinJn_1");
    clockIn->setFocus(Qt::MouseFocusReason);
    clockIn->selectAll();
    QTest::keyClicks(clockIn, "1000");
    m_temp->db().execute("CREATE TRIGGER refuse BEFORE INSERT ON KYTIMESHEETJL "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    MessageAnswerer answerer;
    click("cmd_button_0");
    QCOMPARE(answerer.seen().size(), 1);
    QVERIFY2(answerer.texts().first().startsWith("cmd_button_Click(0):"),
             qPrintable(answerer.texts().first()));
    QVERIFY(answerer.texts().first().contains("disk full"));
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
    QVERIFY(dialog->isWindow());
    QCOMPARE(dialog->parentWidget(), m_main.get());
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
    QCOMPARE(dialog->sort().sortCol(), 3);
    QCOMPARE(dialog->sort().sortOrder(), 0);

    // A new search keeps the sort state: the same header now sorts descending.
    dialog->findChild<QRadioButton*>("opt_koumoku_0")->setChecked(true);
    keyword->setText(QString());
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_0"), Qt::LeftButton);
    QCOMPARE(column(0), QStringList({"0009", "0005", "0003", "0001"}));
    clickHeader(2);
    QCOMPARE(column(2), QStringList({"ｳｴﾀﾞ", "ｲﾄｳ", "ｲﾄｳ", "ｱｵｷ"}));
    QCOMPARE(dialog->sort().sortOrder(), 1);

    // A double click on 0009 hands it back; the timesheet loads that member.
    clickHeader(0);
    QTreeWidgetItem* item = list->topLevelItem(3);
    QCOMPARE(item->text(0), QStringLiteral("0009"));
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    FlushDeletes();
    QVERIFY(!dialog);
    QVERIFY(!gSearchCdCtl && !gSearchNmCtl);
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
    MessageAnswerer answerer;
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_1"), Qt::LeftButton);
    QCOMPARE(answerer.texts(), QStringList{"リストより選択してください。"});
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

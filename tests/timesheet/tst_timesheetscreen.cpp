#include "CalendarStore.h"
#include "ChildScreens.h"

#include "InputFields.h"
#include "LeaveStore.h"
#include "LegalStore.h"
#include "MainWindow.h"
#include "Messages.h"
#include "MonthLog.h"
#include "Period.h"
#include "ReportEngine.h"
#include "ReportPreview.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TimesheetStore.h"
#include "TrashBin.h"
#include "frmCalendar.h"
#include "frmHistory.h"
#include "frmJyouken.h"
#include "frmKensaku.h"
#include "frmKintaiEnt1.h"
#include "frmYukyu.h"

#include "ScreenTest.h"
#include "TempDatabase.h"
#include "TestRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
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

// What only the timesheet screens can get wrong: the path of Enter through the grid, what its
// buttons, list, bin and search dialog do, and where it leaves the clerk after a message.
class TestTimesheetScreen : public QObject {
    Q_OBJECT

private slots:
    void init() { m_program = std::make_unique<ProgramFixture>(true); }
    void cleanup() { m_program.reset(); }

    void clerkTypesAMonthAndSavesIt()
    {
        // Enter runs from the code through each row's class, clock-in and clock-out, passing over
        // the hour fields; a rest day keeps only its class list; the last day leads to 保存.
        saveCompanyDayOff(m_program->db(), {QDate(2005, 2, 14), "棚卸"});
        open();
        pressEnter();
        for (int n = 1; n <= 28; ++n) {
            QCOMPARE(focusName(), QStringLiteral("cmb_syukinKb_%1").arg(n));
            if (child<ListField>(QStringLiteral("cmb_syukinKb_%1").arg(n))->currentIndex() == 2) {
                QVERIFY(!child(QStringLiteral("txt_syukinJn_%1").arg(n))->isEnabled());
                pressEnter();
                continue;
            }
            for (const QString time : {"0900", n == 28 ? "2000" : "1800"}) {
                pressEnter();
                QTest::keyClicks(QApplication::focusWidget(), time);
            }
            pressEnter();
        }
        QCOMPARE(focusName(), QStringLiteral("cmd_button_0"));
        // Friday 11 February, 建国記念の日, and Monday the 14th, the office's own day off, are
        // written as a Sunday is, with their names.
        for (const auto& [day, name] :
             {std::pair{"txt_date_11", "建国記念の日"}, std::pair{"txt_date_14", "棚卸"}}) {
            auto* date = child<QLabel>(QLatin1String(day));
            QCOMPARE(date->palette().color(QPalette::WindowText), QColor(Qt::red));
            QCOMPARE(date->toolTip(), QString::fromUtf8(name));
        }
        QCOMPARE(child<QLabel>("txt_date_10")->toolTip(), QString());
        QCOMPARE(labelText("txt_g_kihonJn"), QStringLiteral("160.00"));
        QCOMPARE(labelText("txt_g_zangyouJn"), QStringLiteral("2.00"));
        ScriptedMessages messages;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(messages.texts().isEmpty()); // saving says nothing when it succeeds
        QCOMPARE(stored("SELECT syukin || taisya || syukinKb FROM KYTIMESHEETJL "
                        "WHERE staffCd = '0001' AND kintaiDt = '2005-02-28'"),
                 QStringLiteral("090020000"));
        QCOMPARE(stored("SELECT kihon1 || '/' || kihon2 FROM KYKINTAISYUKEIJL"),
                 QStringLiteral("160.0/2.0"));
    }

    void untimedClockBlocksTheSave()
    {
        saveWorkedMonth("0001");
        open();
        auto* clockOut = child<ClockField>("txt_taisyaJn_3");
        ScriptedMessages messages;
        QTest::mouseClick(clockOut, Qt::LeftButton);
        // A time that is none is refused where it was typed, selected for typing over.
        QTest::keyClicks(clockOut, "9900");
        pressEnter();
        QTRY_COMPARE(QApplication::focusWidget(), clockOut);
        QCOMPARE(clockOut->selectedText(), clockOut->displayText());
        QTest::keyClicks(clockOut, "083");
        pressEnter();
        click("cmd_button_0");
        QCOMPARE(messages.texts(),
                 (QStringList{"時刻は 00:00 から 47:59 までの間で入力してください。",
                              "入力されていない明細があります。確認してください。\n2月3日（木）"}));
        QCOMPARE(m_screen->focusWidget(), clockOut); // where the clerk mends it
        QCOMPARE(clockOut->displayText(), QStringLiteral("08:3_"));
        QCOMPARE(stored("SELECT taisya FROM KYTIMESHEETJL WHERE kintaiDt = '2005-02-03'"),
                 QStringLiteral("1800"));
    }

    void paidLeaveShowsTheBalanceAndAsksBeyondIt()
    {
        // Hired 2004-04-01; the clerk refused the October grant, so nothing is left.
        Database& db = m_program->db();
        saveConditions(db, {"0001", QDate(2004, 4, 1), QDate(), 5, 40, 8});
        saveLeaveGrant(db, "0001", {QDate(2004, 10, 1), LeaveGrantRecord::Kind::Refused, 0, 0});
        saveWorkedMonth("0001");
        open();
        QCOMPARE(labelText("lbl_yukyuZan"), QStringLiteral("有給残 0 日"));

        auto* list = child<ListField>("cmb_syukinKb_1");
        ScriptedMessages asked({int(kMsgNo), int(kMsgYes)});
        for (int attempt = 0; attempt < 2; ++attempt) {
            list->setFocus();
            for (int step = 0; step < 3; ++step) // 通常出勤 → 有給休暇
                QTest::keyClick(list, Qt::Key_Down);
            QVERIFY(!child("txt_syukinJn_1")->isEnabled()); // whole-day leave has no times
            pressEnter();
        }
        QCOMPARE(asked.texts().size(), 2);
        QCOMPARE(asked.texts().first(), QStringLiteral("青木 の有給休暇は、この日を有給休暇にする"
                                                       "と残りが -1 日になります。有給休暇にしま"
                                                       "すか？"));
        QCOMPARE(list->currentText(), QStringLiteral("有給休暇"));
        QCOMPARE(labelText("lbl_yukyuZan"), QStringLiteral("有給残 -1 日"));
        QCOMPARE(child<ClockField>("txt_syukinJn_1")->value(), QString());
        QCOMPARE(m_screen->month().row(1).syukinKb, QStringLiteral("3"));
        QCOMPARE(m_screen->month().header().kihon2, 64.0 - 8);
    }

    void paidLeaveRefusedPutsTheDayBack()
    {
        Database& db = m_program->db();
        saveConditions(db, {"0001", QDate(2004, 4, 1), QDate(), 5, 40, 8});
        saveLeaveGrant(db, "0001", {QDate(2004, 10, 1), LeaveGrantRecord::Kind::Refused, 0, 0});
        saveWorkedMonth("0001");
        open();
        auto* list = child<ListField>("cmb_syukinKb_2");
        ScriptedMessages asked({int(kMsgNo)});
        list->setFocus();
        for (int step = 0; step < 4; ++step) // 通常出勤 → 午前半休
            QTest::keyClick(list, Qt::Key_Down);
        pressEnter();
        QCOMPARE(asked.texts().size(), 1);
        QCOMPARE(list->currentText(), QStringLiteral("通常出勤"));
        QCOMPARE(child<ClockField>("txt_syukinJn_2")->value(), QStringLiteral("0900"));
        QCOMPARE(m_screen->month().header().kihon2, 64.0);
        QVERIFY(!m_screen->month().isModified());
    }

    // The ledger takes the clerk's word on unrecorded grants and opening balances, records both,
    // and exports what it shows.
    void leaveLedgerDecidesAndExports()
    {
        Database& db = m_program->db();
        saveConditions(db, {"0001", QDate(2025, 4, 1), QDate(), 5, 40, 8});
        QPointer<frmYukyu> ledger = showLeaveLedgerScreen("1");
        QVERIFY(ledger);
        auto* list = ledger->findChild<QTreeWidget*>("ListView1");
        QCOMPARE(list->topLevelItemCount(), 2); // 2025-10-01 and 2026-10-01, nothing on file
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("法定（記録なし）"));

        ScriptedMessages asked({int(kMsgNo)});
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(ledger->findChild<QPushButton*>("cmd_button_0"), Qt::LeftButton);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("不付与（記録なし・確認済）"));
        QCOMPARE(ledger->leave().ledger().balance, 11.0);

        ledger->findChild<DateField*>("txt_kurikosiDt")->setValue(QDate(2024, 10, 1));
        for (const auto& [name, days] : {std::pair{"txt_kurikosiFuyo", "12"},
                                         {"txt_kurikosiZan", "13"},
                                         {"txt_kurikosiZan", "4"}}) {
            auto* field = ledger->findChild<NumberField*>(name);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, days);
            QTest::keyClick(field, Qt::Key_Tab);
            if (QLatin1String(name) == QLatin1String("txt_kurikosiZan"))
                QTest::mouseClick(ledger->findChild<QPushButton*>("cmd_button_1"), Qt::LeftButton);
        }
        QCOMPARE(asked.texts().mid(1),
                 (QStringList{"残日数は 0 から付与日数までで入力してください。",
                              "繰越を登録しました。"}));
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("繰越"));
        QStringList recorded;
        for (const HistoryEntry& e : loadHistory(db, "0001", "202612"))
            recorded << e.sousa + ' ' + e.naiyou;
        QCOMPARE(recorded,
                 (QStringList{"有給繰越 基準日 2024/10/01 付与 12 日 残 4 日",
                              "有給付与確認 基準日 2025/10/01 記録なしの期間の付与: 付与しない"}));

        QTemporaryDir dir;
        const QString path = dir.filePath("ledger.csv");
        ScriptedFiles files({path});
        QTest::mouseClick(ledger->findChild<QPushButton*>("cmd_button_3"), Qt::LeftButton);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
        QCOMPARE(lines.at(0), QStringLiteral("スタッフコード,スタッフ氏名,基準日,区分,付与日数,"
                                             "繰越日数,取得日,取得日数,失効日数,残日数,年5日"));
        // 8 of the opening's 12 days were taken before it was entered: the duty is met.
        QCOMPARE(lines.at(1), QStringLiteral("0001,青木,2024/10/01,繰越,12,0,,0,0,4,達成"));
        delete ledger;
    }

    // Where the office keeps the law's hours they stand beside the totals, follow the typing,
    // and a month over the agreement says so once as it opens.
    void lawsHoursStandBesideTheTotals()
    {
        LegalSettings settings;
        settings.enabled = true;
        settings.agreement.monthlyLimit = 60;
        saveLegalSettings(m_program->db(), settings);
        saveWorkedMonth("0001"); // every day 9 to 18: three Saturdays past 40 hours
        ScriptedMessages said;
        open();
        QCOMPARE(
            said.texts(),
            QStringList{"0001 青木 の2005年02月分は、36協定の上限（月1時間）を超えています。"});
        QVERIFY(child("obj_frame_houtei")->isVisible());
        QVERIFY(!child("obj_frame_gaidansu")->isVisible());
        QVERIFY(labelText("lbl_houtei").contains("法定外残業 24:00"));
        QVERIFY(labelText("lbl_houtei").contains("法定休日労働 32:00"));
        QCOMPARE(labelText("lbl_36kyotei"), QStringLiteral("36協定：超過（月1時間 の 2400%）"));
        auto* clockOut = child<ClockField>("txt_taisyaJn_1");
        QTest::mouseClick(clockOut, Qt::LeftButton);
        QTest::keyClicks(clockOut, "2000");
        pressEnter();
        QVERIFY(labelText("lbl_houtei").contains("法定外残業 26:00"));
        QCOMPARE(said.texts().size(), 1); // said once
    }

    void leavingAnEditedMonthAsks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("left");
        addTestRow("next, saved", "next", int(kMsgYes), "1000", true);
        addTestRow("back, stayed", "back", int(kMsgCancel), "0900", false);
        addTestRow("code, discarded", "code", int(kMsgNo), "0900", true);
        addTestRow("code, stayed", "code", int(kMsgCancel), "0900", false);
        addTestRow("close, stayed", "close", int(kMsgCancel), "0900", false);
        addTestRow("selection run again, stayed", "rerun", int(kMsgCancel), "0900", false);
        addTestRow("selection run again, the time still in its field", "rerun typed",
                   int(kMsgCancel), "0900", false);
        addTestRow("close box, saved", "close box", int(kMsgYes), "1000", true);
    }
    void leavingAnEditedMonthAsks()
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
        } else if (how == "back") {
            click("cmd_BACK");
        } else if (how == "code") {
            auto* code = child<TextField>("txt_staffCd");
            QTest::mouseClick(code, Qt::LeftButton);
            code->selectAll();
            QTest::keyClicks(code, "5");
            pressEnter();
        } else if (how == "close") {
            click("cmd_button_3");
        } else if (how.startsWith("rerun")) {
            if (how == "rerun")
                pressEnter(); // the time committed, then the selection asked for again
            m_period = addChild(new frmJyouken(QDate(2005, 4, 15)));
            QVERIFY(showActive(m_period));
            QTest::mouseClick(m_period->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        } else {
            m_screen->parentWidget()->close(); // the time still in its field
        }
        flushDeletes();
        QCOMPARE(messages.texts(),
                 QStringList{"0001 青木 の勤怠は保存されていません。保存しますか？"});
        QCOMPARE(messages.kinds(), QList<int>{kMsgSaveQuestion});
        QCOMPARE(this->stored("SELECT syukin FROM KYTIMESHEETJL WHERE kintaiDt = '2005-02-01' "
                              "AND staffCd = '0001'"),
                 stored);
        if (how.startsWith("close")) {
            QCOMPARE(m_screen.isNull(), left);
            return;
        }
        QCOMPARE(child<TextField>("txt_staffCd")->value(), left ? "0005" : "0001");
        if (!left)
            QCOMPARE(clockIn->value(), QStringLiteral("1000")); // the entry is still there
        if (how.startsWith("rerun")) // the selection stays as typed, to be run again
            QVERIFY(m_period && m_period->isEnabled() &&
                    m_period->syoriDtField()->valueText() == "200503");
    }

    void dropOnTheBinDeletesTheMonth_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("rowsLeft");
        addTestRow("yes", int(kMsgYes), "0");
        addTestRow("no", int(kMsgNo), "28");
    }
    void dropOnTheBinDeletesTheMonth()
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
        QCOMPARE(stored("SELECT COUNT(*) FROM KYTIMESHEETJL"), rowsLeft);
        QCOMPARE(child<ClockField>("txt_syukinJn_1")->value().isEmpty(), answer == kMsgYes);
    }

    void printShowsTheMemberOnScreen()
    {
        saveWorkedMonth("0005");
        saveWorkedMonth("0009");
        open();
        int pages = 0;
        setPreviewStandIn(
            [&pages](const ReportDocument& document) { pages = int(document.pages.size()); });
        ScriptedMessages messages;
        click("cmd_button_2"); // 0001 has no stored month
        click("cmd_NEXT");
        click("cmd_button_2");
        setPreviewStandIn({});
        QCOMPARE(messages.texts(), QStringList{"印刷対象データがありません。"});
        QCOMPARE(pages, 1);
    }

    void closedMonthIsReadOnlyWithItsHistory()
    {
        saveWorkedMonth("0001");
        open();
        ScriptedMessages messages({int(kMsgYes), int(kMsgOk), int(kMsgYes)});
        click("cmd_button_4"); // 締め, asked first
        QVERIFY(child("lbl_sime")->isVisible());
        QVERIFY(!child("txt_syukinJn_1")->isEnabled() && !child("cmb_syukinKb_1")->isEnabled());
        click("cmd_button_0"); // 保存 refused
        click("cmd_button_4"); // 締め解除, asked first
        QCOMPARE(messages.texts().size(), 3);
        QVERIFY(messages.texts()[1].contains("締め済みのため変更できません"));
        QVERIFY(child("txt_syukinJn_1")->isEnabled() && child("lbl_sime")->isHidden());

        // A change of many lines, some longer than the column: the row shows every line.
        const QString line = "02/01 通常出勤 09:00-18:00 8.00/0.00/0.00/1.00 → 通常出勤 "
                             "09:00-19:30 8.00/1.50/0.00/1.00 ";
        addHistory(m_program->db(), stampedHistoryEntry("0001", kMonth, "保存",
                                                        (line.repeated(3) + '\n').repeated(4)));
        click("cmd_button_5");
        QTRY_VERIFY(gfrmHistory);
        auto* list = gfrmHistory->findChild<QTreeWidget*>("ListView1");
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(1)->text(2) + list->topLevelItem(2)->text(2),
                 QStringLiteral("締め解除締め"));
        QVERIFY(list->visualItemRect(list->topLevelItem(0)).height() >=
                list->fontMetrics().lineSpacing() * 4 * 3);
        int pages = 0;
        setPreviewStandIn([&pages](const ReportDocument& d) { pages = int(d.pages.size()); });
        QTest::mouseClick(gfrmHistory->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        setPreviewStandIn({});
        QCOMPARE(pages, 1);
    }

    void failedSaveKeepsWhatIsTyped()
    {
        saveWorkedMonth("0001");
        open();
        auto* clockIn = child<ClockField>("txt_syukinJn_1");
        clockIn->setFocus(Qt::MouseFocusReason);
        clockIn->selectAll();
        QTest::keyClicks(clockIn, "1000");
        m_program->temp().db().execute("CREATE TRIGGER refuse BEFORE INSERT ON KYTIMESHEETJL "
                                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        ScriptedMessages messages;
        click("cmd_button_0");
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().startsWith("cmd_button_Click(0):") &&
                     messages.texts().first().contains("disk full"),
                 qPrintable(messages.texts().first()));
        QCOMPARE(clockIn->value(), QStringLiteral("1000")); // kept
    }

    void anotherClerksChangeIsNotOverwritten_data()
    {
        QTest::addColumn<bool>("memberDeleted"); // else the other clerk saved the month
        addTestRow("the month saved meanwhile", false);
        addTestRow("the member deleted meanwhile", true);
    }
    void anotherClerksChangeIsNotOverwritten()
    {
        QFETCH(bool, memberDeleted);
        saveWorkedMonth("0001");
        open();
        auto* clockIn = child<ClockField>("txt_syukinJn_1");
        clockIn->setFocus(Qt::MouseFocusReason);
        clockIn->selectAll();
        QTest::keyClicks(clockIn, "1000");
        // Another clerk, on a connection of their own, changes the month meanwhile.
        std::unique_ptr<Database> other = m_program->db().openAnother();
        std::vector<DayRow> theirs = workedMonth("0001", kMonth, kFirst, 28);
        theirs[0].syukin = "0830";
        if (memberDeleted)
            DeleteStaff(*other, "0001");
        else
            saveMonth(*other, {"0001", {}, {}, kMonth, kFirst, kLast, 99, 0, 0, 1}, theirs,
                      monthRevision(*other, "0001", kMonth));

        ScriptedMessages messages({int(kMsgYes)});
        click("cmd_button_0");
        if (memberDeleted) {
            QCOMPARE(messages.texts(),
                     QStringList{"0001 青木 は、表示した後に他の担当者がスタッフマスタから削除"
                                 "したため、保存を取り止めました。次のスタッフを表示します。"});
            QCOMPARE(child<TextField>("txt_staffNm")->value(), QStringLiteral("伊藤"));
            QCOMPARE(stored("SELECT count(*) FROM KYTIMESHEETJL"), QStringLiteral("0"));
            return;
        }
        QCOMPARE(messages.texts(),
                 QStringList{"0001 青木 の2005年02月分は、表示した後に他の担当者が変更したため、"
                             "保存を取り止めました。\n最新の内容を読み込みますか？（この画面で"
                             "入力した内容は失われます）"});
        QCOMPARE(stored("SELECT kihon1 FROM KYKINTAISYUKEIJL"), QStringLiteral("99"));
        QCOMPARE(clockIn->value(), QStringLiteral("0830")); // the month as on file now
        click("cmd_button_0"); // from the month reloaded, the save goes through
        QCOMPARE(stored("SELECT count(*) FROM KYHENKOURIREKI"), QStringLiteral("1"));
    }

    void accessKeysActFromTheClassList()
    {
        // Enter from the code lands on day 1's class list, which takes letters for its type-ahead.
        open();
        pressEnter();
        QCOMPARE(focusName(), QStringLiteral("cmb_syukinKb_1"));
        ScriptedMessages messages;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier); // 保存(&S)
        QVERIFY(messages.texts().value(0).startsWith("入力されていない明細があります。"));
    }

    void searchSortsAndHandsBack()
    {
        open();
        click("cmd_kensaku_1");
        QPointer<frmKensaku> dialog = gfrmKensaku.data();
        QTRY_VERIFY(dialog && dialog->isActiveWindow());
        QCOMPARE(focusName(), QStringLiteral("txt_keyword")); // the first key typed is kept
        auto* list = dialog->findChild<QTreeWidget*>("ListView1");
        const auto firstCode = [list] { return list->topLevelItem(0)->text(0); };
        const auto clickHeader = [list](int c) {
            QHeaderView* header = list->header();
            const QPoint at(header->sectionViewportPosition(c) + 5, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        };
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Button_0"), Qt::LeftButton);
        clickHeader(0);
        QCOMPARE(firstCode(), QStringLiteral("0001"));
        clickHeader(0);
        QCOMPARE(firstCode(), QStringLiteral("0009"));

        // A double click hands the member back; the timesheet loads it.
        const QRect rect = list->visualItemRect(list->topLevelItem(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        flushDeletes();
        QVERIFY(!dialog);
        QCOMPARE(child<TextField>("txt_staffNm")->value(), QStringLiteral("上田"));
        QCOMPARE(m_screen->month().header().staffCd, QStringLiteral("0009"));
    }

    // The month and period choice that opens the timesheet: its defaults and its check, the
    // choice handed over or refused with the values kept for correction.
    void periodDefaultsToThePreviousMonth()
    {
        const PeriodChoice leap = defaultPeriod(QDate(2004, 3, 1));
        QCOMPARE(leap.month.toString("yyyyMM ") + leap.first.toString("yyyy/MM/dd-") +
                     leap.last.toString("yyyy/MM/dd"),
                 QStringLiteral("200402 2004/02/01-2004/02/29"));
        QCOMPARE(defaultPeriod(QDate(2005, 1, 15)).last, QDate(2004, 12, 31));
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
        m_period = addChild(new frmJyouken(QDate(2005, 1, 15)));
        QVERIFY(showActive(m_period));
        QCOMPARE(m_period->syoriDtField()->valueText(), QStringLiteral("200412"));
        typeDate("txt_kikanSt", first);
        typeDate("txt_kikanEn", last);
        ScriptedMessages messages;
        QTest::mouseClick(periodButton(2), Qt::LeftButton);
        flushDeletes();
        if (refusal.isEmpty()) {
            QVERIFY(messages.texts().isEmpty());
            QVERIFY(!m_period); // handed over and closed
            const MonthHeader& h = gfrmKintaiEnt1->month().header();
            QCOMPARE(h.syoriDt, QStringLiteral("200412"));
            QCOMPARE(h.kikanSt.toString("yyyy/MM/dd") + h.kikanEn.toString("yyyy/MM/dd"),
                     first + last);
            return;
        }
        QCOMPARE(messages.texts(), QStringList{refusal});
        QCOMPARE(messages.kinds(), QList<int>{kMsgError});
        QCOMPARE(m_period->kikanStField()->valueText() + m_period->kikanEnField()->valueText(),
                 first + last);
    }

    void officeCalendarAddsAndRemovesDays()
    {
        QPointer<frmCalendar> screen = addChild(new frmCalendar(QDate(2026, 12, 7)));
        QVERIFY(showActive(screen));
        auto* list = screen->findChild<QTreeWidget*>("ListView1");
        const auto press = [&screen](int index) {
            QTest::mouseClick(
                screen->findChild<QPushButton*>(QStringLiteral("cmd_button_%1").arg(index)),
                Qt::LeftButton);
        };
        ScriptedMessages messages;
        auto* day = screen->findChild<DateField*>("txt_kyujituDt");
        day->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(day, "20261229");
        press(0); // no name yet
        auto* name = screen->findChild<TextField*>("txt_kyujituNm");
        name->setFocus();
        name->insert(QStringLiteral("年末年始"));
        press(0);
        QCOMPARE(messages.texts(), QStringList{"休日の名称を入力してください。"});
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0) + list->topLevelItem(0)->text(2),
                 QStringLiteral("2026/12/29年末年始"));
        auto* restDays = screen->findChild<QCheckBox*>("chk_syukujituKoukyu");
        QTest::mouseClick(restDays, Qt::LeftButton);
        QVERIFY(loadOfficeCalendar(m_program->db(), QDate(2026, 1, 1), QDate(2026, 1, 1))
                    .holidaysAreRestDays);
        // Another clerk adds a day meanwhile: the setting turned off from the calendar as shown is
        // refused, and the calendar as on file now is shown.
        saveCompanyDayOff(*m_program->db().openAnother(), {QDate(2026, 12, 30), "年末年始"});
        QTest::mouseClick(restDays, Qt::LeftButton);
        QVERIFY(messages.texts().last().startsWith("会社カレンダーは、表示した後に他の担当者が変更"
                                                   "したため、設定の変更を取り止めました。"));
        QVERIFY(restDays->isChecked() &&
                loadOfficeCalendar(m_program->db(), QDate(2026, 1, 1), QDate(2026, 1, 1))
                    .holidaysAreRestDays);
        QCOMPARE(list->topLevelItemCount(), 2);

        press(4); // the next year has none
        QCOMPARE(list->topLevelItemCount(), 0);
        press(3);
        list->setCurrentItem(list->topLevelItem(0));
        press(1);
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(loadOfficeCalendar(m_program->db(), QDate(2026, 1, 1), QDate(2026, 12, 31))
                     .daysOff.size(),
                 1u);
    }

private:
    QPushButton* periodButton(int index) const
    {
        return m_period->findChild<QPushButton*>(QStringLiteral("cmd_button_%1").arg(index));
    }
    // Types a date as the user does: the field entered by Tab, then the digits.
    void typeDate(const char* name, const QString& text)
    {
        auto* field = m_period->findChild<DateField*>(QLatin1String(name));
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, QString(text).remove(u'/')); // sections advance by themselves
    }
    template <class T = QWidget> T* child(const QString& name) const
    {
        T* found = m_screen->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QString labelText(const char* name) const { return child<QLabel>(QLatin1String(name))->text(); }
    QString stored(const char* sql) { return m_program->temp().scalar(QLatin1String(sql)); }
    void saveWorkedMonth(const QString& code)
    {
        saveMonth(m_program->temp().db(), {code, {}, {}, kMonth, kFirst, kLast, 8, 0, 0, 1},
                  workedMonth(code, kMonth, kFirst, 28));
    }
    void open()
    {
        m_screen = openTimesheetScreen(kMonth, kFirst, kLast);
        QVERIFY(m_screen);
        QTRY_COMPARE(QApplication::focusWidget(), child("txt_staffCd"));
    }

    void click(const QString& button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }

    std::unique_ptr<ProgramFixture> m_program;
    QPointer<frmKintaiEnt1> m_screen;
    QPointer<frmJyouken> m_period;
};

QTEST_MAIN(TestTimesheetScreen)
#include "tst_timesheetscreen.moc"

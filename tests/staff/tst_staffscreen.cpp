#include "Common.h"
#include "Database.h"
#include "InputFields.h"
#include "LeaveStore.h"
#include "MainWindow.h"
#include "Messages.h"
#include "MonthLog.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TimesheetStore.h"
#include "frmStaff.h"

#include "ScreenTest.h"
#include "TempDatabase.h"
#include "TestRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// What only the staff screen can get wrong: its lookup on leaving the code, its focus order, and
// the wiring of save and delete with their refusals and questions.
class TestStaffScreen : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramFixture>();
        m_screen = showStaffScreen();
        QVERIFY(showActive(m_screen));
        QCOMPARE(QApplication::focusWidget(), field("txt_staffCd"));
    }

    void cleanup() { m_program.reset(); }

    void codeIsLookedUpOnLeaving()
    {
        enter("txt_staffCd", QStringLiteral("5"));
        QCOMPARE(field("txt_staffCd")->value(), QStringLiteral("0005"));
        QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("伊藤"));
        QCOMPARE(QApplication::focusWidget(), field("txt_staffNm"));
        enter("txt_staffNm", QStringLiteral("書き換え"));

        // Passing through the code unchanged keeps the edit; typing it anew reloads the member.
        field("txt_staffCd")->setFocus();
        QTest::keyClick(field("txt_staffCd"), Qt::Key_Return);
        QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("書き換え"));
        enter("txt_staffCd", QStringLiteral("5"));
        QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("伊藤"));
    }

    void focusOrder()
    {
        enter("txt_staffCd", QStringLiteral("1"));
        field("txt_staffCd")->setFocus();
        ScriptedMessages messages;
        QStringList seen;
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            seen << QApplication::focusWidget()->objectName();
        }
        // The hire date's field is passed over while its box is off.
        QCOMPARE(seen, (QStringList{"txt_staffNm", "txt_staffKm", "chk_nyusyaDt", "chk_taisyokuDt",
                                    "cmb_syuNissu", "txt_syuJikan", "txt_hiJikan", "cmd_button_0",
                                    "cmd_button_6", "cmd_button_1", "txt_staffCd"}));
        QVERIFY(messages.texts().isEmpty()); // no button pressed, no delete asked
    }

    void saveByShortcutFromTheNameField()
    {
        ScriptedMessages messages;
        enter("txt_staffCd", QStringLiteral("21"));
        TextField* name = field("txt_staffNm");
        name->insert(QStringLiteral("佐藤　一郎"));
        QTest::keyClick(name, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("保存しました。")});
        QCOMPARE(GetStaff(m_program->temp().db(), "0021"),
                 (StaffRecord{"0021", QStringLiteral("佐藤　一郎"), QString()}));
        QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("佐藤　一郎"));
    }

    void refusedInputWritesNothing_data()
    {
        QTest::addColumn<int>("buttonIndex");
        QTest::addColumn<bool>("clearCode"); // the field emptied without leaving it
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        addTestRow("save without code", 0, true, "名前",
                   "スタッフコードを半角4桁にて入力してください。");
        addTestRow("save without name", 0, false, "", "スタッフ氏名を入力してください。");
        addTestRow("delete without code", 1, true, "名前", "スタッフコードを指定してください。");
    }
    void refusedInputWritesNothing()
    {
        QFETCH(int, buttonIndex);
        QFETCH(QString, name);
        QFETCH(bool, clearCode);
        QFETCH(QString, message);
        ScriptedMessages messages;
        enter("txt_staffCd", QStringLiteral("1"));
        enter("txt_staffNm", name);
        if (clearCode)
            field("txt_staffCd")->clear();
        QTest::mouseClick(button(buttonIndex), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(messages.kinds(), QList<int>{kMsgError});
        QCOMPARE(GetStaff(m_program->temp().db(), "0001").staffNm, QStringLiteral("青木"));
        QCOMPARE(m_program->temp().scalar("SELECT COUNT(*) FROM CMSTAFFKIHONMST"),
                 QStringLiteral("3"));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("rowsLeft");
        const QString question =
            QStringLiteral("削除してよろしいでしょうか？削除すると出勤表のデータも消えます。");
        const QString closed = QStringLiteral(
            "0001 青木 には締め済みの月があります（2004年12月分）。それでも削除しますか？");
        addTestRow("yes", int(kMsgYes), QStringList{question, "削除しました。"}, "0");
        addTestRow("no", int(kMsgNo), QStringList{question}, "31");
        addTestRow("closed month, asked again: no", int(kMsgYes), QStringList{question, closed},
                   "31");
        addTestRow("a month saved by another clerk meanwhile", int(kMsgYes),
                   QStringList{question, "0001 青木 の登録内容か月を、表示した後に他の担当者が"
                                         "変更したため、削除を取り止めました。内容を確かめてから、"
                                         "もう一度削除してください。"},
                   "31");
    }
    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QString, rowsLeft);
        saveMonth(m_program->temp().db(),
                  {"0001", {}, {}, "200412", QDate(2004, 12, 1), QDate(2004, 12, 31)},
                  preparedMonth("0001", "200412", QDate(2004, 12, 1), 31));
        if (QTest::currentDataTag() == QLatin1String("closed month, asked again: no"))
            closeMonth(m_program->db(),
                       {QDateTime::currentDateTime(), "clerk", "0001", "200412", "締め", ""});
        ScriptedMessages asked({answer, int(kMsgNo)});
        enter("txt_staffCd", QStringLiteral("1"));
        if (QTest::currentDataTag() == QLatin1String("a month saved by another clerk meanwhile"))
            saveMonth(*m_program->db().openAnother(),
                      {"0001", {}, {}, "200412", QDate(2004, 12, 1), QDate(2004, 12, 31)},
                      preparedMonth("0001", "200412", QDate(2004, 12, 1), 31));
        QTest::mouseClick(button(1), Qt::LeftButton);
        QCOMPARE(asked.texts(), messages);
        QCOMPARE(asked.kinds().first(), int(kMsgQuestion));
        QCOMPARE(m_program->temp().scalar("SELECT COUNT(*) FROM KYTIMESHEETJL"), rowsLeft);
        const bool deleted = rowsLeft == "0";
        QCOMPARE(GetStaff(m_program->temp().db(), "0001").staffNm.isEmpty(), deleted);
        QCOMPARE(field("txt_staffNm")->value().isEmpty(), deleted);
    }

    void workingConditionsAreSavedWithTheRecord()
    {
        auto messages = std::make_unique<ScriptedMessages>();
        enter("txt_staffCd", QStringLiteral("5"));
        QTest::mouseClick(m_screen->findChild<QCheckBox*>("chk_nyusyaDt"), Qt::LeftButton);
        m_screen->findChild<DateField*>("txt_nyusyaDt")->setValue(QDate(2024, 4, 1));
        auto* days = m_screen->findChild<ListField*>("cmb_syuNissu");
        days->setFocus();
        QTest::keyClick(days, Qt::Key_Up); // 5 → 4
        QTest::keyClick(days, Qt::Key_Up); // 3
        auto* weekly = m_screen->findChild<NumberField*>("txt_syuJikan");
        weekly->setFocus();
        weekly->selectAll();
        QTest::keyClicks(weekly, "24");
        QTest::keyClick(weekly, Qt::Key_Return);

        // Leaving before being hired is refused, and nothing is written.
        QTest::mouseClick(m_screen->findChild<QCheckBox*>("chk_taisyokuDt"), Qt::LeftButton);
        m_screen->findChild<DateField*>("txt_taisyokuDt")->setValue(QDate(2024, 3, 31));
        QTest::mouseClick(button(0), Qt::LeftButton);
        QTest::mouseClick(m_screen->findChild<QCheckBox*>("chk_taisyokuDt"), Qt::LeftButton);
        QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(messages->texts(),
                 (QStringList{"退職日が入社日より前です。確認してください。", "保存しました。"}));

        Database& db = m_program->db();
        const MemberConditions saved{"0005", QDate(2024, 4, 1), QDate(), 3, 24, 8};
        QCOMPARE(loadConditions(db, "0005"), saved);
        QCOMPARE(loadHistory(db, "0005", "202612").front().naiyou,
                 QStringLiteral("入社日 なし → 2024/04/01\n週所定労働日数 5 → 3\n"
                                "週所定労働時間 40 → 24"));
        enter("txt_staffCd", QStringLiteral("1"));
        enter("txt_staffCd", QStringLiteral("5"));
        QVERIFY(m_screen->findChild<QCheckBox*>("chk_nyusyaDt")->isChecked());
        QCOMPARE(days->currentData().toInt(), 3);

        // A member whose months the law says to keep is asked about once more.
        const QDate recent = QDate::currentDate().addMonths(-1);
        const QString month = recent.toString("yyyyMM");
        saveMonth(db, {"0005", {}, {}, month, recent, recent.addDays(9)},
                  preparedMonth("0005", month, recent, 10));
        messages.reset();
        ScriptedMessages asked({int(kMsgYes), int(kMsgNo)});
        QTest::mouseClick(button(1), Qt::LeftButton);
        QCOMPARE(asked.texts().size(), 2);
        QVERIFY(asked.texts().last().contains("労働基準法により"));
        QVERIFY(asked.texts().last().contains(monthCaption(month)));
        QCOMPARE(GetStaff(db, "0005").staffNm, QStringLiteral("伊藤"));
    }

    void anotherClerksChangeIsNotOverwritten()
    {
        enter("txt_staffCd", QStringLiteral("1"));
        // Another clerk renames the member meanwhile, on a connection of their own.
        const std::unique_ptr<Database> db = m_program->db().openAnother();
        StaffEditor other;
        other.lookUp(*db, QStringLiteral("1"));
        other.setName(QStringLiteral("青木太郎"));
        other.save(*db);
        enter("txt_staffKm", QStringLiteral("ｱｵｷｲﾁﾛｳ"));
        ScriptedMessages asked({int(kMsgYes)});
        QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(asked.texts(),
                 QStringList{"0001 の登録内容は、表示した後に他の担当者が変更したため、保存を"
                             "取り止めました。\n最新の内容を読み込みますか？（この画面で入力"
                             "した内容は失われます）"});
        QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("青木太郎"));
        enter("txt_staffKm", QStringLiteral("ｱｵｷﾀﾛｳ"));
        QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(asked.texts().last(), QStringLiteral("保存しました。"));
        // Both changes are in the history of every month of the member, newest first.
        QStringList changes;
        for (const HistoryEntry& e : loadHistory(*db, "0001", "202612"))
            changes << e.sousa + ' ' + e.naiyou;
        QCOMPARE(changes, (QStringList{"スタッフ変更 ﾌﾘｶﾞﾅ ｱｵｷ → ｱｵｷﾀﾛｳ",
                                       "スタッフ変更 氏名 青木 → 青木太郎"}));
    }

    void closedDatabaseIsReportedWithTheHandler()
    {
        ScriptedMessages messages;
        enter("txt_staffCd", QStringLiteral("1"));
        gDb.reset(); // as after a reopening that failed
        QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 QStringList{"cmd_button_Click(0):データベースが開かれていません。"});
        QVERIFY(m_screen);
    }

    void closesWhenAnotherChildWindowBecomesActive()
    {
        delete m_screen;
        flushDeletes();
        frmMDIForm main(QString{});
        QVERIFY(showActive(&main));
        QWidget* other = main.mdiArea()->addSubWindow(new QWidget);
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->show();
        m_screen = showStaffScreen();
        QTRY_COMPARE(main.mdiArea()->activeSubWindow(), m_screen->parentWidget());

        // The screen's own message box, a real one, leaves it open.
        QTimer::singleShot(0, this, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(QTest::qWaitForWindowActive(box));
            box->close();
        });
        QTest::mouseClick(button(0), Qt::LeftButton);
        QApplication::setActiveWindow(&main); // no window manager hands the activation back
        QCoreApplication::processEvents();
        QVERIFY(m_screen && m_screen->isVisible());
        QCOMPARE(showStaffScreen(), m_screen.data()); // opened again: the same screen forward

        main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(other));
        flushDeletes();
        QTRY_VERIFY(!m_screen);
        QVERIFY(other->isVisible());
    }

private:
    TextField* field(const char* name) const
    {
        return m_screen->findChild<TextField*>(QLatin1String(name));
    }

    QPushButton* button(int index) const
    {
        return m_screen->findChild<QPushButton*>(QStringLiteral("cmd_button_%1").arg(index));
    }

    // Types text into a field as the user does and leaves it with Enter.
    void enter(const char* name, const QString& text)
    {
        TextField* f = field(name);
        f->setFocus();
        f->selectAll();
        QTest::keyClick(f, Qt::Key_Backspace);
        // Key events carry Latin text only; Japanese text arrives as the input method commits it.
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; }))
            QTest::keyClicks(f, text);
        else
            f->insert(text);
        QTest::keyClick(f, Qt::Key_Return);
    }

    std::unique_ptr<ProgramFixture> m_program;
    QPointer<frmStaff> m_screen;
};

QTEST_MAIN(TestStaffScreen)
#include "tst_staffscreen.moc"

#include "Common.h"
#include "Database.h"
#include "InputFields.h"
#include "MainWindow.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TimesheetStore.h"
#include "frmStaff.h"

#include "FlushDeletes.h"
#include "MessageAnswerer.h"
#include "TempDatabase.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {

const QString kNoMember;

} // namespace

class TestStaffScreen : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedCodeIsPaddedAndLookedUp_data();
    void typedCodeIsPaddedAndLookedUp();
    void retypedCodeReloadsAndUnchangedCodeKeepsEdits();
    void tabOrder_data();
    void tabOrder();
    void saveStoresWhatIsOnScreen();
    void saveByShortcutFromTheNameField();
    void refusedInputWritesNothing_data();
    void refusedInputWritesNothing();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void storageFailureIsReportedWithTheHandler();
    void closedDatabaseIsReported();
    void closesWhenAnotherChildWindowBecomesActive();

private:
    TextField* field(const char* name) const;
    QPushButton* button(int index) const;
    // Types text into a field as the user does and leaves it with Enter.
    void enter(const char* name, const QString& text);
    void showScreen();
    // The offscreen platform has no window manager to give the activation back after a box.
    void returnFromMessageBox();

    std::unique_ptr<TempDatabase> m_temp;
    QPointer<frmStaff> m_screen;
};

void TestStaffScreen::init()
{
    m_temp = std::make_unique<TempDatabase>();
    gDb = OpenDatabase(m_temp->path());
    SaveStaff(m_temp->db(), {"0007", "山田　太郎", "ﾔﾏﾀﾞ ﾀﾛｳ"});
    SaveStaff(m_temp->db(), {"0012", "鈴木　花子", "ｽｽﾞｷ ﾊﾅｺ"});
    showScreen();
}

void TestStaffScreen::showScreen()
{
    m_screen = ShowStaffScreen();
    QApplication::setActiveWindow(m_screen->window());
    QVERIFY(QTest::qWaitForWindowActive(m_screen->window()));
    QCOMPARE(QApplication::focusWidget(), field("txt_staffCd"));
}

void TestStaffScreen::returnFromMessageBox()
{
    // A box still closing blocks the activation of the window under it.
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QApplication::setActiveWindow(m_screen->window());
    QVERIFY(QTest::qWaitForWindowActive(m_screen->window()));
}

void TestStaffScreen::cleanup()
{
    delete m_screen;
    delete gMDIForm;
    FlushDeletes();
    gDb.reset();
    m_temp.reset();
}

TextField* TestStaffScreen::field(const char* name) const
{
    return m_screen->findChild<TextField*>(QLatin1String(name));
}

QPushButton* TestStaffScreen::button(int index) const
{
    return m_screen->findChild<QPushButton*>(QStringLiteral("cmd_button_%1").arg(index));
}

void TestStaffScreen::enter(const char* name, const QString& text)
{
    TextField* f = field(name);
    f->setFocus();
    f->selectAll();
    QTest::keyClick(f, Qt::Key_Backspace);
    // Key events carry Latin text only; Japanese text arrives as the input method commits it.
    const bool latin =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
    if (latin)
        QTest::keyClicks(f, text);
    else
        f->insert(text);
    QTest::keyClick(f, Qt::Key_Return);
}

void TestStaffScreen::typedCodeIsPaddedAndLookedUp_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reading");
    QTest::newRow("stored member") << "7"
                                   << "0007"
                                   << "山田　太郎"
                                   << "ﾔﾏﾀﾞ ﾀﾛｳ";
    QTest::newRow("full-width digits of an input method") << "１２"
                                                          << "0012"
                                                          << "鈴木　花子"
                                                          << "ｽｽﾞｷ ﾊﾅｺ";
    QTest::newRow("unknown code") << "345"
                                  << "0345" << kNoMember << kNoMember;
    QTest::newRow("emptied field") << ""
                                   << "0000" << kNoMember << kNoMember;
}

void TestStaffScreen::typedCodeIsPaddedAndLookedUp()
{
    QFETCH(QString, typed);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, reading);
    // A first lookup, so that even an empty field differs from the code last looked up.
    enter("txt_staffCd", QStringLiteral("9"));
    enter("txt_staffCd", typed);
    QCOMPARE(field("txt_staffCd")->value(), code);
    QCOMPARE(field("txt_staffNm")->value(), name);
    QCOMPARE(field("txt_staffKm")->value(), reading);
    QCOMPARE(m_screen->editor().curCode(), code);
    QCOMPARE(QApplication::focusWidget(), field("txt_staffNm"));
}

void TestStaffScreen::retypedCodeReloadsAndUnchangedCodeKeepsEdits()
{
    enter("txt_staffCd", QStringLiteral("12"));
    enter("txt_staffNm", QStringLiteral("書き換え"));

    // Passing through the code field without changing it keeps the edit.
    field("txt_staffCd")->setFocus();
    QTest::keyClick(field("txt_staffCd"), Qt::Key_Return);
    QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("書き換え"));

    // Typing the code anew, even short, reloads the member from storage.
    enter("txt_staffCd", QStringLiteral("12"));
    QCOMPARE(field("txt_staffCd")->value(), QStringLiteral("0012"));
    QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("鈴木　花子"));
    QCOMPARE(GetStaff(m_temp->db(), "0012").staffNm, QStringLiteral("鈴木　花子"));
}

void TestStaffScreen::tabOrder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("order");
    const QStringList forward{"txt_staffNm",  "txt_staffKm",  "cmd_button_0",
                              "cmd_button_6", "cmd_button_1", "txt_staffCd"};
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << forward;
    QTest::newRow("Enter, over the buttons too")
        << int(Qt::Key_Return) << int(Qt::NoModifier) << forward;
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier)
                                 << QStringList{"cmd_button_1", "cmd_button_6", "cmd_button_0",
                                                "txt_staffKm",  "txt_staffNm",  "txt_staffCd"};
}

void TestStaffScreen::tabOrder()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, order);
    enter("txt_staffCd", QStringLiteral("7"));
    field("txt_staffCd")->setFocus();
    MessageAnswerer answerer;
    QStringList seen;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        seen << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(seen, order);
    // Enter never presses a button: no delete question, the member stays.
    QVERIFY(answerer.seen().isEmpty());
    QCOMPARE(GetStaff(m_temp->db(), "0007").staffNm, QStringLiteral("山田　太郎"));
}

void TestStaffScreen::saveStoresWhatIsOnScreen()
{
    MessageAnswerer answerer;
    enter("txt_staffCd", QStringLiteral("21"));
    enter("txt_staffNm", QStringLiteral("佐藤　一郎"));
    enter("txt_staffKm", QString());
    QTest::mouseClick(button(0), Qt::LeftButton);
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("保存しました。")});
    QCOMPARE(GetStaff(m_temp->db(), "0021"),
             (StaffRecord{"0021", QStringLiteral("佐藤　一郎"), QString()}));
    QCOMPARE(field("txt_staffCd")->value(), QStringLiteral("0021"));
    QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("佐藤　一郎"));

    returnFromMessageBox();

    // Changing a member on file replaces name and reading and keeps the months.
    SaveMonth(m_temp->db(), {"0021", {}, {}, "200412", QDate(2004, 12, 1), QDate(2004, 12, 31)},
              PreparedMonth("0021", "200412", QDate(2004, 12, 1), 31));
    enter("txt_staffKm", QStringLiteral("ｻﾄｳ"));
    QTest::mouseClick(button(0), Qt::LeftButton);
    QCOMPARE(GetStaff(m_temp->db(), "0021").staffKm, QStringLiteral("ｻﾄｳ"));
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL WHERE staffCd = '0021'"),
             QStringLiteral("31"));
}

void TestStaffScreen::saveByShortcutFromTheNameField()
{
    MessageAnswerer answerer;
    enter("txt_staffCd", QStringLiteral("7"));
    TextField* name = field("txt_staffNm");
    name->selectAll();
    name->insert(QStringLiteral("山田　次郎"));
    QTest::keyClick(name, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(answerer.texts(), QStringList{QStringLiteral("保存しました。")});
    QCOMPARE(GetStaff(m_temp->db(), "0007").staffNm, QStringLiteral("山田　次郎"));
}

void TestStaffScreen::refusedInputWritesNothing_data()
{
    QTest::addColumn<int>("buttonIndex");
    QTest::addColumn<bool>("clearCode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("save without code") << 0 << true << "名前"
                                       << "スタッフコードを半角4桁にて入力してください。";
    QTest::newRow("save without name") << 0 << false << ""
                                       << "スタッフ氏名を入力してください。";
    QTest::newRow("delete without code") << 1 << true << "名前"
                                         << "スタッフコードを指定してください。";
}

void TestStaffScreen::refusedInputWritesNothing()
{
    QFETCH(int, buttonIndex);
    QFETCH(QString, name);
    QFETCH(bool, clearCode);
    QFETCH(QString, message);
    MessageAnswerer answerer;
    enter("txt_staffCd", QStringLiteral("7"));
    enter("txt_staffNm", name);
    if (clearCode)
        field("txt_staffCd")->clear(); // the field emptied without leaving it
    QTest::mouseClick(button(buttonIndex), Qt::LeftButton);
    QCOMPARE(answerer.texts(), QStringList{message});
    QCOMPARE(answerer.seen().first().icon, QMessageBox::Critical);
    QCOMPARE(GetStaff(m_temp->db(), "0007").staffNm, QStringLiteral("山田　太郎"));
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM CMSTAFFKIHONMST"), QStringLiteral("2"));
    QVERIFY(m_screen);
}

void TestStaffScreen::deleteAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("staffLeft");
    QTest::addColumn<QString>("rowsLeft");
    const QString question =
        QStringLiteral("削除してよろしいでしょうか？削除すると出勤表のデータも消えます。");
    QTest::newRow("yes") << QMessageBox::Yes << QStringList{question, "削除しました。"} << "1"
                         << "0";
    QTest::newRow("no") << QMessageBox::No << QStringList{question} << "2"
                        << "59";
}

void TestStaffScreen::deleteAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, staffLeft);
    QFETCH(QString, rowsLeft);
    const QString rowsOf7 = "SELECT COUNT(*) FROM KYTIMESHEETJL WHERE staffCd = '0007'";
    SaveMonth(m_temp->db(), {"0007", {}, {}, "200412", QDate(2004, 12, 1), QDate(2004, 12, 31)},
              PreparedMonth("0007", "200412", QDate(2004, 12, 1), 31));
    SaveMonth(m_temp->db(), {"0007", {}, {}, "200501", QDate(2005, 1, 1), QDate(2005, 1, 28)},
              PreparedMonth("0007", "200501", QDate(2005, 1, 1), 28));
    SaveMonth(m_temp->db(), {"0012", {}, {}, "200412", QDate(2004, 12, 1), QDate(2004, 12, 31)},
              PreparedMonth("0012", "200412", QDate(2004, 12, 1), 31));

    MessageAnswerer answerer({answer});
    enter("txt_staffCd", QStringLiteral("7"));
    QTest::mouseClick(button(1), Qt::LeftButton);
    QCOMPARE(answerer.texts(), messages);
    QCOMPARE(answerer.seen().first().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM CMSTAFFKIHONMST"), staffLeft);
    QCOMPARE(m_temp->scalar(rowsOf7), rowsLeft);
    QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL WHERE staffCd = '0012'"),
             QStringLiteral("31"));

    MonthHeader h{{}, {}, {}, "200412", QDate(2004, 12, 1), QDate(2004, 12, 31)};
    QCOMPARE(FindStaffMonth(m_temp->db(), h, "0007"), answer == QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        QCOMPARE(field("txt_staffCd")->value(), QString());
        QCOMPARE(field("txt_staffNm")->value(), QString());
    } else {
        QCOMPARE(field("txt_staffNm")->value(), QStringLiteral("山田　太郎"));
    }
}

void TestStaffScreen::storageFailureIsReportedWithTheHandler()
{
    MessageAnswerer answerer;
    enter("txt_staffCd", QStringLiteral("7"));
    m_temp->db().execute("DROP VIEW Q_CMSTAFFKIHONMST");
    m_temp->db().execute("DROP TABLE CMSTAFFKIHONMST");
    enter("txt_staffNm", QStringLiteral("X"));
    QTest::mouseClick(button(0), Qt::LeftButton);
    QCOMPARE(answerer.seen().size(), 1);
    QVERIFY2(answerer.texts().first().startsWith("cmd_button_Click(0):"),
             qPrintable(answerer.texts().first()));
    QCOMPARE(answerer.seen().first().icon, QMessageBox::Critical);
    QVERIFY(m_screen);
}

void TestStaffScreen::closedDatabaseIsReported()
{
    MessageAnswerer answerer;
    enter("txt_staffCd", QStringLiteral("7"));
    gDb.reset(); // as after a reopening that failed
    QTest::mouseClick(button(0), Qt::LeftButton);
    QCOMPARE(answerer.texts(), QStringList{"cmd_button_Click(0):データベースが開かれていません。"});
    QVERIFY(m_screen);
}

void TestStaffScreen::closesWhenAnotherChildWindowBecomesActive()
{
    delete m_screen;
    FlushDeletes();
    frmMDIForm main(QString{});
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QWidget* other = main.mdiArea()->addSubWindow(new QWidget);
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();

    m_screen = ShowStaffScreen();
    QCOMPARE(m_screen->parentWidget()->parentWidget()->parentWidget(), main.mdiArea());
    QTRY_COMPARE(main.mdiArea()->activeSubWindow(), m_screen->parentWidget());

    // The screen's own message boxes leave it open.
    {
        MessageAnswerer answerer;
        QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 1);
    }
    QCoreApplication::processEvents();
    QVERIFY(m_screen && m_screen->isVisible());

    // Opening it again brings the same screen forward.
    QCOMPARE(ShowStaffScreen(), m_screen.data());

    main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(other));
    FlushDeletes();
    QTRY_VERIFY(!m_screen);
    QVERIFY(!gfrmStaff);
    QVERIFY(other->isVisible());
}

QTEST_MAIN(TestStaffScreen)
#include "tst_staffscreen.moc"

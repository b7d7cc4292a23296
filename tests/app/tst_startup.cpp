#include "Common.h"
#include "Database.h"
#include "MainWindow.h"
#include "Odbc.h"
#include "ProgramFolders.h"
#include "ProgramSetup.h"
#include "Schema.h"
#include "ServerSettings.h"
#include "SingleInstance.h"
#include "StaffStore.h"
#include "frmConnection.h"

#include "Messages.h"
#include "ScreenTest.h"
#include "TestRows.h"
#include "TestServer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A child screen that notes whether the database was still open when it closed.
class ChildScreen : public QWidget {
public:
    ChildScreen(QStringList& log, QString name, bool refuse = false)
        : m_log(log)
        , m_name(std::move(name))
        , m_refuse(refuse)
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        m_log << m_name + (gDb && gDb->isOpen() ? " closed, database open" : " closed late");
        if (m_refuse)
            event->ignore();
    }

private:
    QStringList& m_log;
    QString m_name;
    bool m_refuse;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("ODBCINI", m_odbc.filePath(QStringLiteral("odbc.ini")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_folder.filePath(QStringLiteral("config")).toUtf8());
        installFontSubstitutes();
    }

    void cleanup()
    {
        if (gMDIForm)
            gMDIForm->close();
        flushDeletes();
        DbClose();
    }

    void missingDatabaseEndsTheStart()
    {
        QTemporaryDir dir;
        ScriptedMessages messages;
        QVERIFY(!Main(ProgramFolders::portable(dir.path())));
        QCOMPARE(
            messages.texts(),
            (QStringList{QStringLiteral("データベースのオープンに失敗しました。"),
                         QStringLiteral("データベースの接続に失敗しました。起動できません。")}));
        QCOMPARE(messages.kinds(), (QList<int>{kMsgError, kMsgError}));
        QVERIFY(!gMDIForm);
        QVERIFY(!gDb);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void startsWithTheMainWindow()
    {
        const QString folder = startedFolder();
        QVERIFY(!folder.isEmpty());
        QVERIFY(gMDIForm && gMDIForm->isVisible());
        QCOMPARE(gMDIForm->windowTitle(), QStringLiteral("ﾇﾋﾞﾗ"));
        QCOMPARE(gMDIForm->helpFile(), folder + QStringLiteral("hlp/myhelp.HLP"));
        QVERIFY(gDb && gDb->isOpen());
        QCOMPARE(gDb->path(), folder + QStringLiteral("data/data.mdb"));

        // The data source points at the database file, blanks in the path kept.
        QVERIFY(ODBC::IsDsn(QStringLiteral("hoj")));
        QSettings ini(QString::fromUtf8(qgetenv("ODBCINI")), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("HOJ/Database")).toString(),
                 ProgramFolders::portable(folder).databasePath());
        QCOMPARE(ini.value(QStringLiteral("HOJ/Driver")).toString(), QStringLiteral("SQLite3"));
    }

    void splashIsDrawnThroughTheStart()
    {
        // A window manager maps the splash late, or another window uncovers it, while the
        // start goes on: it is drawn then too.
        WindowEvents paints("frmSplash", QEvent::Paint);
        int paintsBefore = -1;
        QTimer::singleShot(100, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == "frmSplash" && w->isVisible()) {
                    paintsBefore = paints.count();
                    w->update();
                }
            }
        });
        QVERIFY(!startedFolder().isEmpty());
        QVERIFY(paintsBefore > 0);
        QVERIFY(paints.count() > paintsBefore);
    }

    void installedProgramKeepsItsUsersOwnDatabase()
    {
        const ProgramFolders folders{m_folder.filePath(QStringLiteral("home/")),
                                     QStringLiteral(NUBIRA_PROGRAM_DIR "/"), true};
        for (int start = 0; start < 2; ++start) { // created at the first, opened at the next
            ScriptedMessages messages;
            QVERIFY(Main(folders));
            QVERIFY(messages.texts().isEmpty());
            QCOMPARE(gDb->path(), folders.data + QStringLiteral("data/data.mdb"));
            QCOMPARE(gMDIForm->helpFile(), folders.files + QStringLiteral("hlp/myhelp.HLP"));
            // Staff names and hours are the user's alone.
            QCOMPARE(QFile::permissions(folders.data + "data") & 0x0777, 0x0700);
            QCOMPARE(QFile::permissions(gDb->path()) & 0x0777, 0x0600);
            if (start == 0)
                SaveStaff(*gDb, {QStringLiteral("0001"), QStringLiteral("青木"), QString()});
            else
                QCOMPARE(GetStaff(*gDb, QStringLiteral("0001")).staffNm, QStringLiteral("青木"));
            cleanup();
        }
    }

    void startsWithoutTheDataSource()
    {
        // The data source cannot be written (its file would be inside a file): the clerk is told
        // which file, and works on.
        const QByteArray ini = qgetenv("ODBCINI");
        const QString unwritable = m_odbc.filePath("odbc.ini/odbc.ini");
        qputenv("ODBCINI", unwritable.toUtf8());
        const ProgramFolders folders = ProgramFolders::portable(m_folder.filePath("odbc-less/"));
        createDatabase(folders.databasePath());
        ScriptedMessages messages;
        const bool started = Main(folders);
        qputenv("ODBCINI", ini);
        QVERIFY(started && gMDIForm && gDb);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().startsWith(
            "ODBCの設定に失敗しました。\nODBC の設定ファイル " + unwritable));
    }

    void installedLayoutIsKnownByItsSharedFolder()
    {
        // Root may write /usr/bin: whether the folder can be written tells nothing.
        const QString bin = m_folder.filePath("prefix/bin");
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(!findProgramFolders(bin).installed);
        QVERIFY(QDir().mkpath(m_folder.filePath("prefix/share/nubira")));
        const ProgramFolders installed = findProgramFolders(bin);
        QVERIFY(installed.installed);
        QCOMPARE(installed.files, m_folder.filePath("prefix/share/nubira/"));
        QVERIFY(!installed.data.startsWith(m_folder.path()));
    }

    void startsOnTheServerWhenOneIsSet()
    {
        if (!TestServer::instance())
            QSKIP("no PostgreSQL server binaries installed");
        ServerConnection server = TestServer::instance()->freshDatabase();
        QTemporaryDir empty; // no database file: the server's is the one
        const ProgramFolders folders = ProgramFolders::portable(empty.path() + u'/');
        ScriptedMessages said;
        QVERIFY(Main(folders, server));
        QCOMPARE(gDb->engine(), Engine::PostgreSQL);
        QSettings ini(QString::fromUtf8(qgetenv("ODBCINI")), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("HOJ/Driver")).toString(), "PostgreSQL Unicode");
        cleanup();
        // Where the server lacks the database, the start ends saying why.
        server.database = QStringLiteral("nowhere");
        QVERIFY(!Main(folders, server));
        QCOMPARE(said.texts().size(), 2);
        QVERIFY2(said.texts()[0].startsWith("データベースのオープンに失敗しました。\nデータベース "
                                            "nowhere がサーバーにありません。"),
                 qPrintable(said.texts()[0]));
        QCOMPARE(said.texts()[1], "データベースの接続に失敗しました。起動できません。");
    }

    void connectionSettingsAreTestedAndKept()
    {
        auto screen = std::make_unique<frmConnection>();
        QVERIFY(showActive(screen.get()));
        const auto button = [&screen](const char* name) {
            return screen->findChild<QPushButton*>(QLatin1String(name));
        };
        QVERIFY(screen->findChild<QRadioButton*>("opt_embedded")->isChecked());
        QVERIFY(!screen->findChild<QLineEdit*>("txt_database")->isEnabled());
        auto* serverChoice = screen->findChild<QRadioButton*>("opt_server");
        // On its round mark: a click beyond the caption misses a radio button.
        QTest::mouseClick(serverChoice, Qt::LeftButton, {}, {8, serverChoice->height() / 2});
        QVERIFY(serverChoice->isChecked());
        QTemporaryDir nowhere;
        QTest::keyClicks(screen->findChild<QLineEdit*>("txt_host"), nowhere.path());
        ScriptedMessages messages;
        QTest::mouseClick(button("cmd_save"), Qt::LeftButton); // no database named
        QTest::keyClicks(screen->findChild<QLineEdit*>("txt_database"), "office");
        QTest::keyClicks(screen->findChild<QLineEdit*>("txt_user"), "clerk");
        QTest::keyClicks(screen->findChild<QLineEdit*>("txt_password"), "pa:ss");
        screen->findChild<QCheckBox*>("chk_savePassword")->setChecked(true);
        const QString passwords = m_folder.filePath("pgpass");
        qputenv("PGPASSFILE", passwords.toUtf8());
        QTest::mouseClick(button("cmd_test"), Qt::LeftButton);
        QTest::mouseClick(button("cmd_save"), Qt::LeftButton);
        qunsetenv("PGPASSFILE");
        // Kept on request in the password file, its owner's alone; never in the settings.
        QFile kept(passwords);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), nowhere.path().toUtf8() + ":5432:office:clerk:pa\\:ss\n");
        QCOMPARE(QFile::permissions(passwords) & 0x0777, 0x0600);
        QCOMPARE(messages.texts().size(), 3);
        QCOMPARE(messages.texts()[0], "データベース名を入力してください。");
        QVERIFY2(messages.texts()[1].startsWith("接続できませんでした。\nサーバー ") &&
                     messages.texts()[1].contains("に届きません"),
                 qPrintable(messages.texts()[1]));
        QCOMPARE(messages.texts()[2], "保存しました。次回の起動から、この接続先を使います。");
        QVERIFY(screen->isHidden());
        QCOMPARE(loadServerConnection(),
                 (ServerConnection{nowhere.path(), 5432, "office", "clerk"}));
        QVERIFY(QFile::exists(m_folder.filePath("config/nubira/nubira.conf")));

        // Shown again with what was kept; the embedded file chosen, no server is set.
        screen = std::make_unique<frmConnection>();
        QCOMPARE(screen->findChild<QSpinBox*>("txt_port")->value(), 5432);
        // Another machine's server is reached encrypted unless the clerk chooses otherwise.
        auto* host = screen->findChild<QLineEdit*>("txt_host");
        host->clear();
        QTest::keyClicks(host, "db.office.lan");
        QCOMPARE(screen->findChild<QComboBox*>("cmb_sslmode")->currentData(), "require");
        QVERIFY(screen->findChild<QRadioButton*>("opt_server")->isChecked());
        screen->findChild<QRadioButton*>("opt_embedded")->setChecked(true);
        QTest::mouseClick(button("cmd_save"), Qt::LeftButton);
        QVERIFY(!loadServerConnection().isSet());
        // A settings file edited by hand is still data: a line break cannot reach libpq.
        QCOMPARE(connectionRefusal({"host\nsslmode=disable", 5432, "office", ""}),
                 "ホスト、データベース、ユーザーに使えない文字が含まれています。");
        ServerConnection edited{"db.office.lan", 5432, "office", "clerk"};
        edited.sslMode = "disable;host=elsewhere"; // no mode: encrypted all the same
        QCOMPARE(edited.effectiveSslMode(), "require");
    }

    void secondStartBringsTheRunningCopyForward()
    {
        QVERIFY(!startedFolder().isEmpty());
        QTemporaryDir folder;
        SingleInstance running(folder.path());
        QCOMPARE(running.claim(), SingleInstance::Claim::Taken);
        connect(&running, &SingleInstance::comeForwardAsked, gMDIForm.data(),
                &frmMDIForm::comeForward);
        gMDIForm->showMinimized();
        QCOMPARE(SingleInstance(folder.path()).claim(), SingleInstance::Claim::HeldByOther);
        QTRY_VERIFY(!gMDIForm->isMinimized() && gMDIForm->isActiveWindow());
        // A folder that cannot hold the lock is told, not taken for another copy.
        QCOMPARE(SingleInstance(m_odbc.filePath("odbc.ini/data")).claim(),
                 SingleInstance::Claim::Unwritable);
    }

    void quitClosesEveryChildFirst_data()
    {
        QTest::addColumn<bool>("refused");
        addTestRow("every child closes, then the database", false);
        addTestRow("a child that stays open keeps the program", true);
    }
    void quitClosesEveryChildFirst()
    {
        QFETCH(bool, refused);
        QVERIFY(!startedFolder().isEmpty());
        QStringList log;
        gMDIForm->mdiArea()->addSubWindow(new ChildScreen(log, "first"))->show();
        gMDIForm->mdiArea()->addSubWindow(new ChildScreen(log, "second", refused))->show();
        gMDIForm->findChild<QAction*>(QStringLiteral("m_Quit"))->trigger();
        flushDeletes();
        log.sort();
        QCOMPARE(log, (QStringList{"first closed, database open", "second closed, database open"}));
        QCOMPARE(!gDb, !refused);
        QCOMPARE(!gMDIForm, !refused);
        if (refused) {
            QVERIFY(gMDIForm->isVisible() && gDb->isOpen());
            qDeleteAll(gMDIForm->mdiArea()->subWindowList());
        }
    }

private:
    QString startedFolder()
    {
        const QString folder = m_folder.path() + QStringLiteral("/program folder/");
        if (!QFileInfo::exists(ProgramFolders::portable(folder).databasePath()))
            createDatabase(ProgramFolders::portable(folder).databasePath());
        ScriptedMessages messages;
        if (!Main(ProgramFolders::portable(folder)))
            return QString();
        return messages.texts().isEmpty() ? folder : QString();
    }

    QTemporaryDir m_odbc;
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

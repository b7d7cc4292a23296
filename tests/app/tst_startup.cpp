#include "Common.h"
#include "Database.h"
#include "MainWindow.h"
#include "Odbc.h"
#include "ProgramFolders.h"
#include "Schema.h"
#include "SingleInstance.h"
#include "StaffStore.h"

#include "Messages.h"
#include "ScreenTest.h"
#include "TestRows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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
            if (start == 0)
                SaveStaff(*gDb, {QStringLiteral("0001"), QStringLiteral("青木"), QString()});
            else
                QCOMPARE(GetStaff(*gDb, QStringLiteral("0001")).staffNm, QStringLiteral("青木"));
            cleanup();
        }
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

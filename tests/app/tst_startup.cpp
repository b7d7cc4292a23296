#include "Common.h"
#include "Database.h"
#include "MainWindow.h"
#include "Odbc.h"
#include "Schema.h"

#include "FlushDeletes.h"
#include "MessageAnswerer.h"
#include "TempDatabase.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
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
    void initTestCase();
    void cleanup();
    void refusedDatabase_data();
    void refusedDatabase();
    void startsWithTheMainWindow();
    void menus();
    void quitClosesEveryChildFirst();
    void aChildThatStaysOpenKeepsTheProgram();

private:
    QString startedFolder();
    QTemporaryDir m_odbc;
    QTemporaryDir m_folder;
};

void TestStartup::initTestCase()
{
    qputenv("ODBCINI", m_odbc.filePath(QStringLiteral("odbc.ini")).toUtf8());
    InstallFontSubstitutes();
}

void TestStartup::cleanup()
{
    if (gMDIForm)
        gMDIForm->close();
    FlushDeletes();
    DbClose();
}

QString TestStartup::startedFolder()
{
    const QString folder = m_folder.path() + QStringLiteral("/program folder/");
    CreateDatabase(DatabasePath(folder));
    MessageAnswerer answerer;
    if (!Main(folder))
        return QString();
    return answerer.seen().isEmpty() ? folder : QString();
}

void TestStartup::refusedDatabase_data()
{
    // "missing" for no file at all, "trigger" for the program's database with a trigger added
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray("missing");
    QTest::newRow("a trigger in our database") << QByteArray("trigger");
    QTest::newRow("a text file") << QByteArray("not a database\n");
    QTest::newRow("an empty file") << QByteArray();
}

void TestStartup::refusedDatabase()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    if (content == "trigger") {
        QVERIFY(CreateDatabase(DatabasePath(folder)));
        RunForeignSql(DatabasePath(folder), "CREATE TRIGGER t AFTER INSERT ON CMSTAFFKIHONMST "
                                            "BEGIN DELETE FROM CMSTAFFKIHONMST; END");
    } else if (content != "missing") {
        QDir().mkpath(folder + QStringLiteral("data"));
        QFile file(DatabasePath(folder));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    MessageAnswerer answerer;
    QVERIFY(!Main(folder));
    QCOMPARE(answerer.texts(),
             (QStringList{QStringLiteral("データベースのオープンに失敗しました。"),
                          QStringLiteral("データベースの接続に失敗しました。起動できません。")}));
    QCOMPARE(answerer.seen().front().icon, QMessageBox::Critical);
    QVERIFY(!gMDIForm);
    QVERIFY(!gDb);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TestStartup::startsWithTheMainWindow()
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
    QCOMPARE(ini.value(QStringLiteral("HOJ/Database")).toString(), DatabasePath(folder));
    QCOMPARE(ini.value(QStringLiteral("HOJ/Driver")).toString(), QStringLiteral("SQLite3"));

    // The splash has gone.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("frmSplash"))
            QVERIFY(!w->isVisible());
    }
}

void TestStartup::menus()
{
    QVERIFY(!startedFolder().isEmpty());
    QStringList seen;
    for (QAction* menu : gMDIForm->menuBar()->actions()) {
        seen << menu->menu()->objectName() + u'=' + menu->text();
        for (QAction* item : menu->menu()->actions())
            seen << item->objectName() + u'=' +
                        (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    const QStringList expected{
        "m_file=ﾌｧｲﾙ(&F)",
        "m_dataOut=ﾃﾞｰﾀ出力(&O)",
        "m_dataIn=ﾃﾞｰﾀ取込(&I)",
        "m_blank1=-",
        "m_Quit=終了(&X)",
        "m_kintai=勤怠管理(&K)",
        "m_input=勤怠入力(&N)",
        "m_print=出勤表印刷(&P)",
        "m_staff=ｽﾀｯﾌ登録(&M)",
        "m_help=ﾍﾙﾌﾟ(&H)",
        "m_mokuji=目次(&C)...",
        "m_keyword=ｷｰﾜｰﾄﾞ(&K)...",
        "m_bar1=-",
        "m_var=ﾊﾞｰｼﾞｮﾝ情報(&V)...",
    };
    QCOMPARE(seen, expected);
    for (QAction* menu : gMDIForm->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions())
            QVERIFY(item->shortcut().isEmpty());
    }
}

void TestStartup::quitClosesEveryChildFirst()
{
    QVERIFY(!startedFolder().isEmpty());
    QStringList log;
    gMDIForm->mdiArea()->addSubWindow(new ChildScreen(log, "first"))->show();
    gMDIForm->mdiArea()->addSubWindow(new ChildScreen(log, "second"))->show();
    QPointer<frmMDIForm> window = gMDIForm.data();

    gMDIForm->findChild<QAction*>(QStringLiteral("m_Quit"))->trigger();
    FlushDeletes();
    log.sort();
    QCOMPARE(log, (QStringList{"first closed, database open", "second closed, database open"}));
    QVERIFY(!gDb);
    QVERIFY(!window);
    QVERIFY(!gMDIForm);
}

void TestStartup::aChildThatStaysOpenKeepsTheProgram()
{
    QVERIFY(!startedFolder().isEmpty());
    QStringList log;
    gMDIForm->mdiArea()->addSubWindow(new ChildScreen(log, "busy", true))->show();
    QVERIFY(!gMDIForm->close());
    QVERIFY(gMDIForm && gMDIForm->isVisible());
    QVERIFY(gDb && gDb->isOpen());
    for (QMdiSubWindow* sub : gMDIForm->mdiArea()->subWindowList())
        delete sub;
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

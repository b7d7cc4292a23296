#include "About.h"
#include "Common.h"
#include "Help.h"
#include "MainWindow.h"
#include "Progress.h"
#include "StoreError.h"

#include "FlushDeletes.h"
#include "MessageAnswerer.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QThread>

namespace {

QList<frmStopWatch*> progressWindows()
{
    QList<frmStopWatch*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<frmStopWatch*>(w); window && window->isVisible())
            found << window;
    }
    return found;
}

// What the progress window showed while an operation ran, sampled from the user-interface
// thread.
struct ProgressSample {
    QList<QObject*> windows;
    int framesShown = 0;
    int frameCount = 0;
};

ProgressSample runSlowOperation(int milliseconds)
{
    ProgressSample sample;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        for (frmStopWatch* window : progressWindows()) {
            if (!sample.windows.contains(window))
                sample.windows << window;
            sample.framesShown = window->player()->framesShown();
            sample.frameCount = window->player()->frameCount();
        }
    });
    sampler.start(20);
    RunWithProgress([milliseconds] { QThread::msleep(milliseconds); });
    return sample;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void aboutClosesWithEnterAndEsc_data();
    void aboutClosesWithEnterAndEsc();
    void systemInformation();
    void versionWindowIsSingle();
    void helpContentsAndKeywords();
    void missingHelpFileIsSaidInTheWindow();
    void progressWindowAnimatesWhileWorkRuns();
    void eachOperationGetsAFreshWindow();
    void progressWithoutClip();
    void progressPassesFailuresOn();

private:
    QString m_clip;
};

void TestWindows::initTestCase()
{
    InstallFontSubstitutes();
    // The clip that the build ships, put below this test's program folder.
    m_clip = ClipPath(ProgramFolder());
    QDir().mkpath(QFileInfo(m_clip).path());
    QFile::remove(m_clip);
    QVERIFY(QFile::copy(QStringLiteral(NUBIRA_PROGRAM_DIR "/Img/stopwatch.avi"), m_clip));
}

void TestWindows::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    FlushDeletes();
}

void TestWindows::aboutClosesWithEnterAndEsc_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter on OK") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TestWindows::aboutClosesWithEnterAndEsc()
{
    QFETCH(int, key);
    QPointer<frmAbout> about = new frmAbout;
    about->show();
    QApplication::setActiveWindow(about);
    QVERIFY(QTest::qWaitForWindowActive(about));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));
    QCOMPARE(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    FlushDeletes();
    QVERIFY(!about);
}

void TestWindows::systemInformation()
{
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
    qputenv("PATH", bin.path().toUtf8());
    frmAbout about;
    auto* button = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    {
        MessageAnswerer answerer;
        button->click();
        QCOMPARE(answerer.texts(),
                 QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
        QCOMPARE(answerer.seen().front().icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.seen().front().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    // A system information program on PATH is started instead.
    const QString started = bin.filePath(QStringLiteral("started"));
    QFile script(bin.filePath(QStringLiteral("hardinfo")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n/usr/bin/touch '%1'\n").arg(started).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        MessageAnswerer answerer;
        button->click();
        QTRY_VERIFY(QFile::exists(started));
        QVERIFY(answerer.seen().isEmpty());
    }
}

void TestWindows::versionWindowIsSingle()
{
    frmMDIForm main(QStringLiteral("/nonexistent/myhelp.HLP"));
    main.show();
    QAction* version = main.findChild<QAction*>(QStringLiteral("m_var"));
    version->trigger();
    QPointer<frmAbout> first = gfrmAbout.data();
    QVERIFY(first && first->isVisible());
    version->trigger();
    QCOMPARE(gfrmAbout.data(), first.data());
    first->close();
    FlushDeletes();
    QVERIFY(!gfrmAbout);
    version->trigger();
    QVERIFY(gfrmAbout && gfrmAbout->isVisible());
}

void TestWindows::helpContentsAndKeywords()
{
    frmMDIForm main(QStringLiteral(NUBIRA_PROGRAM_DIR "/hlp/myhelp.HLP"));
    main.show();
    main.findChild<QAction*>(QStringLiteral("m_mokuji"))->trigger();
    QVERIFY(gfrmHelp && gfrmHelp->isLoaded() && gfrmHelp->isVisible());
    QCOMPARE(gfrmHelp->findChild<QTabWidget*>()->currentIndex(), 0);
    QStringList titles;
    for (int i = 0; i < gfrmHelp->contentsList()->count(); ++i)
        titles << gfrmHelp->contentsList()->item(i)->text();
    for (const QString screen :
         {"スタッフの登録", "処理年月と期間の指定", "勤怠の入力", "保存と削除", "出勤表の印刷",
          "データの出力と取込", "バージョン情報"})
        QVERIFY2(titles.contains(screen), qPrintable(screen));

    frmHelp* help = gfrmHelp.data();
    main.findChild<QAction*>(QStringLiteral("m_keyword"))->trigger();
    QCOMPARE(gfrmHelp.data(), help);
    QCOMPARE(help->findChild<QTabWidget*>()->currentIndex(), 1);
    QCOMPARE(help->keywordSearch()->text(), QString());
    int visible = 0;
    for (int i = 0; i < help->keywordList()->count(); ++i)
        visible += help->keywordList()->item(i)->isHidden() ? 0 : 1;
    QVERIFY(visible > 30);

    help->keywordSearch()->setText(QStringLiteral("残業"));
    QStringList shown;
    for (int i = 0; i < help->keywordList()->count(); ++i) {
        if (!help->keywordList()->item(i)->isHidden())
            shown << help->keywordList()->item(i)->text();
    }
    QCOMPARE(shown, QStringList{QStringLiteral("残業時間")});
}

void TestWindows::missingHelpFileIsSaidInTheWindow()
{
    MessageAnswerer answerer;
    frmHelp help(QStringLiteral("/nonexistent/hlp/myhelp.HLP"));
    QVERIFY(!help.isLoaded());
    QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("開けません")));
    QCOMPARE(help.contentsList()->count(), 0);
    QTest::qWait(30);
    QVERIFY(answerer.seen().isEmpty());
}

void TestWindows::progressWindowAnimatesWhileWorkRuns()
{
    const ProgressSample sample = runSlowOperation(600);
    QCOMPARE(sample.windows.size(), 1);
    QVERIFY(sample.frameCount > 1);
    QVERIFY2(sample.framesShown >= 3, qPrintable(QString::number(sample.framesShown)));
    FlushDeletes();
    QVERIFY(progressWindows().isEmpty());
}

void TestWindows::eachOperationGetsAFreshWindow()
{
    QList<QPointer<QObject>> windows;
    for (int i = 0; i < 2; ++i) {
        const ProgressSample sample = runSlowOperation(150);
        QCOMPARE(sample.windows.size(), 1);
        windows << sample.windows.front();
        FlushDeletes();
        QVERIFY(!windows.back()); // gone once its operation ended
    }
}

void TestWindows::progressWithoutClip()
{
    QVERIFY(QFile::rename(m_clip, m_clip + QStringLiteral(".away")));
    const ProgressSample sample = runSlowOperation(200);
    QVERIFY(QFile::rename(m_clip + QStringLiteral(".away"), m_clip));
    QCOMPARE(sample.windows.size(), 1);
    QCOMPARE(sample.frameCount, 0);
    QCOMPARE(sample.framesShown, 0);
}

void TestWindows::progressPassesFailuresOn()
{
    QVERIFY_THROWS_EXCEPTION(
        StoreError, RunWithProgress([] { throw StoreError(QStringLiteral("disk full")); }));
    FlushDeletes();
    QVERIFY(progressWindows().isEmpty());
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"

#include "Common.h"
#include "Database.h"
#include "Help.h"
#include "MainWindow.h"
#include "ProgramSetup.h"
#include "Progress.h"
#include "ProgressWork.h"
#include "StoreError.h"

#include "ScreenTest.h"
#include "TestRows.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSemaphore>
#include <QTabWidget>
#include <QTest>
#include <QThread>

class TestWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFontSubstitutes();
        // The clip that the build ships.
        m_clip = QStringLiteral(NUBIRA_PROGRAM_DIR "/Img/stopwatch.avi");
    }

    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        flushDeletes();
    }

    void helpContentsAndKeywords()
    {
        frmMDIForm main(QStringLiteral(NUBIRA_PROGRAM_DIR "/hlp/myhelp.HLP"));
        main.show();
        main.findChild<QAction*>(QStringLiteral("m_mokuji"))->trigger();
        QVERIFY(gfrmHelp && gfrmHelp->isLoaded() && gfrmHelp->isVisible());
        QCOMPARE(gfrmHelp->findChild<QTabWidget*>()->currentIndex(), 0);
        QVERIFY(!gfrmHelp->contentsList()->findItems("勤怠の入力", Qt::MatchExactly).isEmpty());
        frmHelp* help = gfrmHelp.data();
        main.findChild<QAction*>(QStringLiteral("m_keyword"))->trigger();
        QCOMPARE(gfrmHelp.data(), help);
        QCOMPARE(help->findChild<QTabWidget*>()->currentIndex(), 1);
        help->keywordSearch()->setText(QStringLiteral("残業"));
        QStringList shown;
        for (int i = 0; i < help->keywordList()->count(); ++i) {
            if (!help->keywordList()->item(i)->isHidden())
                shown << help->keywordList()->item(i)->text();
        }
        QCOMPARE(shown, QStringList{QStringLiteral("残業時間")});
    }

    void progressWindowAnimatesWhileWorkRuns_data()
    {
        QTest::addColumn<bool>("clip");
        addTestRow("with its clip", true);
        addTestRow("clip missing: still shown", false);
    }
    void progressWindowAnimatesWhileWorkRuns()
    {
        QFETCH(bool, clip);
        // The work ends only once the window has moved on three frames, or its clip is found
        // missing: the window must keep being drawn while the work runs.
        for (int operation = 0; operation < 2; ++operation) {
            QSemaphore seen;
            QPointer<frmStopWatch> window;
            QTimer watcher;
            connect(&watcher, &QTimer::timeout, this, [&] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    auto* shown = qobject_cast<frmStopWatch*>(w);
                    if (!shown || !shown->isVisible() || shown == window)
                        continue;
                    QVERIFY(!window); // one window an operation
                    window = shown;
                }
                if (window && window->player()->framesShown() >= (clip ? 3 : 0)) {
                    QCOMPARE(window->player()->frameCount() > 1, clip);
                    watcher.stop();
                    seen.release();
                }
            });
            watcher.start(10);
            runWithProgress(nullptr, clip ? m_clip : QStringLiteral("/nonexistent.avi"),
                            [&seen] { seen.acquire(); });
            flushDeletes();
            QVERIFY(!window); // each operation gets a fresh window, gone when it ends
        }
    }

    void progressPassesFailuresOn()
    {
        QVERIFY_THROWS_EXCEPTION(StoreError, runWithProgress(nullptr, m_clip, [] {
                                     throw StoreError(QStringLiteral("disk full"));
                                 }));
    }

    void storageWorkHasTheClerksConnection_data()
    {
        QTest::addColumn<bool>("fails");
        addTestRow("work that ends", false);
        addTestRow("work that fails", true);
    }
    void storageWorkHasTheClerksConnection()
    {
        // A temporary table lives only in the session that made it: the work's connection is
        // the clerk's, on a worker thread, and the clerk has it back however the work ends.
        QFETCH(bool, fails);
        ProgramFixture program;
        gDb->execute("CREATE TEMP TABLE handed (n INTEGER)");
        QThread* workedOn = nullptr;
        const auto work = [&](Database& db) {
            workedOn = QThread::currentThread();
            db.execute("INSERT INTO handed VALUES (1)");
            if (fails)
                throw StoreError(QStringLiteral("disk full"));
        };
        if (fails)
            QVERIFY_THROWS_EXCEPTION(StoreError, runWithProgress(work));
        else
            runWithProgress(work);
        QVERIFY(workedOn && workedOn != QThread::currentThread());
        Rows handed = gDb->query("SELECT count(*) FROM handed");
        QVERIFY(handed.next());
        QCOMPARE(handed.real(0), 1.0);
    }

private:
    QString m_clip;
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"

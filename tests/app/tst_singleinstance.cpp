#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The real program, started as a clerk would start it, twice.
class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondCopyEndsAtOnce()
    {
        auto first = start();
        QVERIFY(first->waitForStarted());
        // The first copy is up once its data source is registered.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_odbc.filePath(QStringLiteral("odbc.ini"))), 10000);
        QTest::qWait(800);
        QCOMPARE(first->state(), QProcess::Running);

        // Another temporary folder does not make another copy on the same database.
        const QTemporaryDir otherTemp;
        auto second = start(otherTemp.path());
        QVERIFY(second->waitForFinished(5000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);

        // A copy that crashed leaves its lock behind; the next start takes it over.
        first->kill();
        QVERIFY(first->waitForFinished());
        auto third = start();
        QVERIFY(third->waitForStarted());
        QVERIFY(!third->waitForFinished(2500));
        QCOMPARE(third->state(), QProcess::Running);
        third->terminate();
        if (!third->waitForFinished(3000))
            third->kill();
    }

private:
    // tempFolder: TMPDIR of the copy, empty for the machine's.
    std::unique_ptr<QProcess> start(const QString& tempFolder = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ODBCINI"), m_odbc.filePath(QStringLiteral("odbc.ini")));
        if (!tempFolder.isEmpty())
            env.insert(QStringLiteral("TMPDIR"), tempFolder);
        process->setProcessEnvironment(env);
        process->setProgram(QStringLiteral(NUBIRA_PROGRAM_DIR "/nubira"));
        process->start();
        return process;
    }

    QTemporaryDir m_odbc;
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

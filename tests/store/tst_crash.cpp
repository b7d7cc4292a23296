#include "Database.h"
#include "Schema.h"
#include "TempDatabase.h"
#include "TimesheetStore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <map>
#include <random>

namespace {

constexpr int kKills = 100;

// The month that generation g of the crash test's saver rewrites: five staff, three months of
// different lengths.
struct CrashTarget {
    static constexpr int kStaff = 5;
    static constexpr int kMonths = 3;

    QString staffCd;
    int monthIndex = 0;

    static CrashTarget of(int g)
    {
        return {QStringLiteral("%1").arg(g % kStaff + 1, 4, 10, QLatin1Char('0')),
                g / kStaff % kMonths};
    }
    QDate first() const { return QDate(2024, 1, 1).addMonths(monthIndex); }
    QDate last() const { return first().addDays(days() - 1); }
    int days() const { return first().daysInMonth(); }
    QString month() const { return first().toString(QStringLiteral("yyyyMM")); }
};

// The saver that the test kills: it saves months in a loop from generation g on. Generation g
// rewrites the month CrashTarget::of(g) with every day's basic hours set to g and the summary
// equal to their sum, and "g" is printed once it is committed.
int saveUntilKilled(const QString& path, int g)
{
    const auto db = openDatabase(path);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;; ++g) {
        const CrashTarget target = CrashTarget::of(g);
        MonthHeader h{target.staffCd, {}, {}, target.month(), target.first(), target.last()};
        std::vector<DayRow> rows =
            preparedMonth(target.staffCd, h.syoriDt, h.kikanSt, target.days());
        for (DayRow& row : rows)
            row.kihon1 = g;
        h.kihon1 = double(g) * target.days();
        saveMonth(*db, h, rows);
        std::printf("%d\n", g);
        std::fflush(stdout);
    }
}

// The generation that a month on file holds (0 when it is not on file), checked to be whole.
int storedGeneration(Database& db, const CrashTarget& target)
{
    const QVariantList key{target.staffCd, target.month()};
    Rows summary =
        db.query("SELECT kihon1 FROM KYKINTAISYUKEIJL WHERE staffCd = ? AND syoriDt = ?", key);
    const bool onFile = summary.next();
    const double total = onFile ? summary.real(0) : 0;
    Rows days = db.query("SELECT count(*), min(kihon1), max(kihon1) FROM KYTIMESHEETJL "
                         "WHERE staffCd = ? AND syoriDt = ?",
                         key);
    days.next();
    const int count = days.value(0).toInt();
    if (!onFile)
        return count == 0 ? 0 : -1;
    const int generation = days.value(1).toInt();
    const bool whole = count == target.days() && days.value(2).toInt() == generation &&
                       total == double(generation) * target.days();
    return whole ? generation : -1;
}

QString key(const CrashTarget& target)
{
    return target.staffCd + target.month();
}

} // namespace

// A saver killed at any moment leaves a sound file whose every month is whole: the last save
// committed or the one in flight, never a mixture, never a month without its days.
class TestCrash : public QObject {
    Q_OBJECT

private slots:
    void killedSavesLeaveWholeMonths()
    {
        const quint32 seed = qEnvironmentVariableIsSet("NUBIRA_CRASH_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("NUBIRA_CRASH_SEED"))
                                 : std::random_device()();
        qInfo("seed %u (NUBIRA_CRASH_SEED repeats a run)", seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> delayUs(0, 25000);

        TempDatabase temp;
        temp.db().close();
        std::map<QString, int> committed; // the last generation committed for each month
        int next = 1;
        int killedMidSave = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            QProcess saver;
            saver.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--save"), temp.path(), QString::number(next)});
            QVERIFY(saver.waitForStarted());
            QVERIFY(saver.waitForReadyRead(10000));
            QCOMPARE(saver.readLine(), QByteArray("ready\n"));
            QThread::usleep(ulong(delayUs(random)));
            saver.kill();
            QVERIFY(saver.waitForFinished());

            int last = next - 1;
            for (const QByteArray& line : saver.readAllStandardOutput().split('\n')) {
                if (line.isEmpty())
                    continue;
                last = line.toInt();
                committed[key(CrashTarget::of(last))] = last;
            }
            const CrashTarget inFlight = CrashTarget::of(last + 1);

            Database db(temp.path()); // rolls back what the killed save left in its journal
            Rows verdict = db.query("PRAGMA integrity_check");
            QVERIFY(verdict.next());
            QCOMPARE(verdict.text(0), QStringLiteral("ok"));
            for (int g = 0; g < CrashTarget::kStaff * CrashTarget::kMonths; ++g) {
                const CrashTarget target = CrashTarget::of(g);
                const int stored = storedGeneration(db, target);
                const int expected = committed[key(target)];
                if (stored == last + 1 && key(target) == key(inFlight)) {
                    committed[key(target)] = stored; // committed, killed before saying so
                    ++killedMidSave;
                    continue;
                }
                QVERIFY2(stored == expected,
                         qPrintable(QStringLiteral("kill %1: %2 holds %3, not %4")
                                        .arg(kill)
                                        .arg(key(target))
                                        .arg(stored)
                                        .arg(expected)));
            }
            next = last + 2;
        }
        qInfo("%d kills, the last save %d, %d saves committed but not yet reported", kKills,
              next - 2, killedMidSave);
        QVERIFY(next > kKills); // the kills fell among saves, not only before the first
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--save") == 0)
        return saveUntilKilled(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    TestCrash test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crash.moc"

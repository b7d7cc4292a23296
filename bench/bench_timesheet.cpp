// The timesheet entry screen on a database of 300 staff with 120 saved months each, every member
// hired before the first so that each step also reads and reckons the member's paid leave since
// hiring: opening it,
// stepping to the next staff member and saving a month (also with its history entry, without the
// screen), each next to the storage operations that the same step needs, run alone. The difference
// is what the screen adds: its model, its 31 rows of fields and, for opening and saving, the
// progress window and the worker's connection.

#include "Common.h"
#include "Database.h"
#include "LeaveStore.h"
#include "LegalStore.h"
#include "MonthLegal.h"
#include "PaidLeave.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TempDatabase.h"
#include "TimesheetMonth.h"
#include "TimesheetStore.h"
#include "frmKintaiEnt1.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStaff = 300;
constexpr int kMonths = 120;
const QString kMonth = QStringLiteral("200806");
const QDate kFirst(2008, 6, 1);
const QDate kLast(2008, 6, 30);
constexpr int kDays = 30;

QString code(int i)
{
    return QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0'));
}

// The program's database, filled once for the whole run, open as gDb.
class Fixture {
public:
    static Fixture& instance()
    {
        static Fixture fixture;
        return fixture;
    }

private:
    Fixture()
    {
        Database& db = m_temp.db();
        Transaction fill(db);
        for (int s = 0; s < kStaff; ++s) {
            SaveStaff(db, {code(s), QStringLiteral("職員%1").arg(s), QStringLiteral("ｼｮｸｲﾝ")});
            saveConditions(db, {code(s), QDate(1999, 7, 1), QDate(), 5, 40, 8});
            for (int m = 0; m < kMonths; ++m) {
                const QDate first = QDate(2000, 1, 1).addMonths(m);
                const QString month = first.toString(QStringLiteral("yyyyMM"));
                const QDate last = first.addDays(first.daysInMonth() - 1);
                std::vector<DayRow> days = workedMonth(code(s), month, first, first.daysInMonth());
                days[9].syukinKb = dayClassCode(DayClass::PaidLeave); // a day of leave a month
                saveMonth(db, {code(s), {}, {}, month, first, last, 160, 10, 2, 20}, days);
            }
        }
        fill.commit();
        gDb = openDatabase(m_temp.path());
    }

    TempDatabase m_temp;
};

// --- Opening: the first staff member's month ---

void Store_OpenFirstMonth(benchmark::State& state)
{
    Fixture::instance();
    for (auto _ : state) {
        MonthHeader h{{}, {}, {}, kMonth, kFirst, kLast};
        FirstStaffMonth(*gDb, h);
        std::vector<DayRow> rows = preparedMonth(h.staffCd, kMonth, kFirst, kDays);
        fillStoredDays(*gDb, h, rows);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Store_OpenFirstMonth)->Unit(benchmark::kMicrosecond);

// The screen as the period selection opens it: loaded under the progress window, then built.
void Screen_OpenFirstMonth(benchmark::State& state)
{
    Fixture::instance();
    for (auto _ : state) {
        frmKintaiEnt1* screen = openTimesheetScreen(kMonth, kFirst, kLast);
        benchmark::DoNotOptimize(screen);
        state.PauseTiming();
        delete screen;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(Screen_OpenFirstMonth)->Unit(benchmark::kMicrosecond);

// The screen's own part of opening: its controls built and the loaded month written into them.
void Screen_BuildForLoadedMonth(benchmark::State& state)
{
    Fixture::instance();
    TimesheetMonth month(kMonth, kFirst, kLast);
    month.loadFirst(*gDb);
    for (auto _ : state) {
        frmKintaiEnt1 screen(month);
        benchmark::DoNotOptimize(&screen);
    }
}
BENCHMARK(Screen_BuildForLoadedMonth)->Unit(benchmark::kMicrosecond);

// --- Stepping to the next staff member ---

void Store_NextMonth(benchmark::State& state)
{
    Fixture::instance();
    MonthHeader h{{}, {}, {}, kMonth, kFirst, kLast};
    FirstStaffMonth(*gDb, h);
    for (auto _ : state) {
        if (!NextStaffMonth(*gDb, h))
            FirstStaffMonth(*gDb, h);
        std::vector<DayRow> rows = preparedMonth(h.staffCd, kMonth, kFirst, kDays);
        fillStoredDays(*gDb, h, rows);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Store_NextMonth)->Unit(benchmark::kMicrosecond);

// The model's step: the store's two reads, then the calendar and the month's state (closing,
// revision, rows on file, stored allowance), inside one snapshot.
void Model_NextMonth(benchmark::State& state)
{
    Fixture::instance();
    TimesheetMonth month(kMonth, kFirst, kLast);
    month.loadFirst(*gDb);
    for (auto _ : state) {
        if (!month.loadNext(*gDb))
            month.loadFirst(*gDb);
        benchmark::DoNotOptimize(month.rows().data());
    }
}
BENCHMARK(Model_NextMonth)->Unit(benchmark::kMicrosecond);

// A click on the next button: the load, the model's rules and every field of the grid written.
void Screen_NextMonth(benchmark::State& state)
{
    Fixture::instance();
    TimesheetMonth month(kMonth, kFirst, kLast);
    month.loadFirst(*gDb);
    frmKintaiEnt1 screen(std::move(month));
    screen.show();
    auto* next = screen.findChild<QPushButton*>(QStringLiteral("cmd_NEXT"));
    for (auto _ : state) {
        if (screen.month().header().staffCd == code(kStaff - 1)) {
            state.PauseTiming();
            QTest::mouseClick(screen.findChild<QPushButton*>(QStringLiteral("cmd_BACK")),
                              Qt::LeftButton); // keeps the walk away from the last member
            state.ResumeTiming();
        }
        next->click();
    }
}
BENCHMARK(Screen_NextMonth)->Unit(benchmark::kMicrosecond);

// The paid leave a step adds: the member's stored days since hiring read, then the ledger made.
void Store_LeaveInputs(benchmark::State& state)
{
    Fixture::instance();
    for (auto _ : state) {
        const LeaveInputs inputs = loadLeaveInputs(*gDb, code(150), kLast);
        benchmark::DoNotOptimize(inputs.days.data());
    }
}
BENCHMARK(Store_LeaveInputs)->Unit(benchmark::kMicrosecond);

void Rules_LeaveLedger(benchmark::State& state)
{
    Fixture::instance();
    const LeaveInputs inputs = loadLeaveInputs(*gDb, code(150), kLast);
    for (auto _ : state) {
        const LeaveLedger ledger =
            buildLeaveLedger(inputs.conditions, inputs.days, inputs.grants, kLast);
        benchmark::DoNotOptimize(ledger.balance);
    }
}
BENCHMARK(Rules_LeaveLedger)->Unit(benchmark::kMicrosecond);

// --- The law's hours ---

// The agreement monitor of a year for every member, its months made from the stored days (none
// were stored with their figures), beside the reads of those days alone.
void Store_MonitorDays(benchmark::State& state)
{
    Fixture::instance();
    for (auto _ : state) {
        for (int s = 0; s < kStaff; ++s) {
            const std::vector<LegalDay> days =
                loadLegalDays(*gDb, code(s), QDate(2007, 11, 1), QDate(2009, 3, 31));
            benchmark::DoNotOptimize(days.data());
        }
    }
}
BENCHMARK(Store_MonitorDays)->Unit(benchmark::kMillisecond);

// The first opening makes every month from its days and stores it; later ones read the figures.
void Model_AgreementMonitorFirst(benchmark::State& state)
{
    Fixture::instance();
    LegalSettings settings;
    settings.enabled = true;
    for (auto _ : state) {
        state.PauseTiming();
        gDb->execute(QStringLiteral("DELETE FROM KYHOUTEIJL"));
        state.ResumeTiming();
        const std::vector<MonitorRow> rows = loadAgreementMonitor(*gDb, 2008, settings);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Model_AgreementMonitorFirst)->Unit(benchmark::kMillisecond);

void Model_AgreementMonitor(benchmark::State& state)
{
    Fixture::instance();
    LegalSettings settings;
    settings.enabled = true;
    loadAgreementMonitor(*gDb, 2008, settings);
    for (auto _ : state) {
        const std::vector<MonitorRow> rows = loadAgreementMonitor(*gDb, 2008, settings);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Model_AgreementMonitor)->Unit(benchmark::kMillisecond);

// A clock time typed with the law's hours on: the day, the sheet's totals, the law's month and
// the agreement's state.
void Model_TypeTimeWithLawsHours(benchmark::State& state)
{
    Fixture::instance();
    TimesheetMonth month(kMonth, kFirst, kLast);
    month.loadFirst(*gDb);
    bool late = false;
    for (auto _ : state) {
        late = !late;
        month.commitClock(2, TimesheetMonth::Clock::Out, late ? "2000" : "1800");
        const LegalMonth figures = month.legal().figures(month.rows());
        benchmark::DoNotOptimize(month.legal().check(figures));
    }
}
BENCHMARK(Model_TypeTimeWithLawsHours)->Unit(benchmark::kMicrosecond);

// --- Saving a month ---

void Store_SaveMonth(benchmark::State& state)
{
    Fixture::instance();
    MonthHeader h{{}, {}, {}, kMonth, kFirst, kLast};
    FindStaffMonth(*gDb, h, code(7));
    const std::vector<DayRow> rows = workedMonth(h.staffCd, kMonth, kFirst, kDays);
    for (auto _ : state)
        saveMonth(*gDb, h, rows);
}
BENCHMARK(Store_SaveMonth)->Unit(benchmark::kMicrosecond);

// The same save with its history entry: what changed against the stored month, written in the
// same unit of work, still one commit.
void Model_SaveMonthWithHistory(benchmark::State& state)
{
    Fixture::instance();
    TimesheetMonth month(kMonth, kFirst, kLast);
    month.loadCode(*gDb, code(7));
    month.commitClock(2, TimesheetMonth::Clock::Out, QStringLiteral("1900"));
    for (auto _ : state)
        month.save(*gDb);
}
BENCHMARK(Model_SaveMonthWithHistory)->Unit(benchmark::kMicrosecond);

// A click on the save button: the checks, the progress window, the worker and its connection.
void Screen_SaveMonth(benchmark::State& state)
{
    Fixture::instance();
    TimesheetMonth month(kMonth, kFirst, kLast);
    month.loadCode(*gDb, code(7));
    frmKintaiEnt1 screen(std::move(month));
    screen.show();
    auto* save = screen.findChild<QPushButton*>(QStringLiteral("cmd_button_0"));
    if (!screen.month().saveRefusal().isEmpty())
        state.SkipWithError("the month cannot be saved");
    for (auto _ : state)
        save->click();
}
BENCHMARK(Screen_SaveMonth)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gDb.reset();
    return 0;
}

// The storage operations on an office of 300 staff with ten years of saved months each (about 1.1
// million day rows), next to the same reads and writes done through the sqlite3 C API with
// prepared statements.

#include "Database.h"
#include "Schema.h"
#include "StepAndLoad.h"
#include "TempDatabase.h"
#include "TimesheetStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

constexpr int kStaff = 300;
constexpr int kMonths = 120;
const QString kMonth = QStringLiteral("200806");
const QDate kFirst(2008, 6, 1);
constexpr int kDays = 30;

QString code(int i)
{
    return QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0'));
}

QString monthText(int i)
{
    const QDate month = QDate(2000, 1, 1).addMonths(i);
    return month.toString(QStringLiteral("yyyyMM"));
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

// A prepared statement of the baseline, reset after each use.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
        : m_db(db)
    {
        check(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr), db);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& text(int i, const std::string& v)
    {
        sqlite3_bind_text(m_stmt, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& real(int i, double v)
    {
        sqlite3_bind_double(m_stmt, i, v);
        return *this;
    }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        check(rc, m_db);
        return rc == SQLITE_ROW;
    }
    void run()
    {
        while (step()) {
        }
        sqlite3_reset(m_stmt);
    }
    void reset() { sqlite3_reset(m_stmt); }
    std::string column(int i) const
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
        return p ? std::string(p, size_t(sqlite3_column_bytes(m_stmt, i))) : std::string();
    }
    double number(int i) const { return sqlite3_column_double(m_stmt, i); }
    bool isNull(int i) const { return sqlite3_column_type(m_stmt, i) == SQLITE_NULL; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

const char* const kInsertDay =
    "INSERT INTO KYTIMESHEETJL (staffCd, kintaiDt, syoriDt, syukinKb, syukin, taisya, kihon1, "
    "kihon2, kihon3, kihon4) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// One day worked from 09:00 to 18:00.
void insertWorkedDay(Statement& insert, const std::string& staffCd, const std::string& date,
                     const std::string& month)
{
    insert.text(1, staffCd).text(2, date).text(3, month).text(4, "0").text(5, "0900");
    insert.text(6, "1800").real(7, 8).real(8, 0).real(9, 0).real(10, 1).run();
}

struct BareDay {
    std::string staffCd, syoriDt, kintaiDt, syukinKb, syukin, taisya;
    double kihon[4] = {};
};

struct BareHeader {
    std::string staffCd, staffNm, staffKm;
    double kihon[4] = {};
};

// The database file, made once for the whole run.
class Fixture {
public:
    static Fixture& instance()
    {
        static Fixture fixture;
        return fixture;
    }

    QString path() const { return m_path; }
    Database& db() { return *m_db; }
    sqlite3* bare() { return m_bare; }
    // A byte copy of the filled file, as a restore checks it.
    QString copy()
    {
        const QString copy = m_dir.filePath(QStringLiteral("candidate.mdb"));
        if (!QFile::exists(copy) && !QFile::copy(m_path, copy))
            qFatal("cannot copy the database");
        return copy;
    }

private:
    Fixture()
        : m_path(m_dir.filePath(QStringLiteral("data.mdb")))
    {
        createDatabase(m_path);
        check(sqlite3_open(m_path.toUtf8().constData(), &m_bare), m_bare);
        fill();
        m_db = openDatabase(m_path);
    }
    ~Fixture() { sqlite3_close(m_bare); }

    void fill()
    {
        sqlite3_exec(m_bare, "BEGIN", nullptr, nullptr, nullptr);
        Statement staff(m_bare, "INSERT INTO CMSTAFFKIHONMST VALUES (?, ?, ?)");
        Statement summary(m_bare, "INSERT INTO KYKINTAISYUKEIJL (staffCd, syoriDt, kikanSt, "
                                  "kikanEn, kihon1, kihon2, kihon3, kihon4) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        Statement day(m_bare, kInsertDay);
        for (int s = 0; s < kStaff; ++s) {
            const std::string cd = code(s).toStdString();
            staff.text(1, cd).text(2, "職員" + cd).text(3, "ｼｮｸｲﾝ").run();
            for (int m = 0; m < kMonths; ++m) {
                const QString month = monthText(m);
                const QDate first = QDate::fromString(month, QStringLiteral("yyyyMM"));
                const int days = first.daysInMonth();
                summary.text(1, cd)
                    .text(2, month.toStdString())
                    .text(3, first.toString(Qt::ISODate).toStdString())
                    .text(4, first.addDays(days - 1).toString(Qt::ISODate).toStdString())
                    .real(5, 160)
                    .real(6, 10)
                    .real(7, 2)
                    .real(8, 20)
                    .run();
                for (int d = 0; d < days; ++d) {
                    insertWorkedDay(day, cd, first.addDays(d).toString(Qt::ISODate).toStdString(),
                                    month.toStdString());
                }
            }
        }
        sqlite3_exec(m_bare, "COMMIT", nullptr, nullptr, nullptr);
    }

    QTemporaryDir m_dir;
    QString m_path;
    sqlite3* m_bare = nullptr;
    std::unique_ptr<Database> m_db;
};

// --- Stepping to the next staff member and loading the month's day rows ---

void Store_NextStaffAndLoadMonth(benchmark::State& state)
{
    stepAndLoadMonths(state, Fixture::instance().db(), kMonth, kFirst, kDays);
}
BENCHMARK(Store_NextStaffAndLoadMonth);

void Baseline_NextStaffAndLoadMonth(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    Statement first(f.bare(),
                    "SELECT m.staffCd, m.staffNm, m.staffKm, s.kihon1, s.kihon2, s.kihon3, "
                    "s.kihon4 FROM CMSTAFFKIHONMST AS m LEFT JOIN KYKINTAISYUKEIJL AS s ON "
                    "s.staffCd = m.staffCd AND s.syoriDt = ? ORDER BY m.staffCd LIMIT 1");
    Statement next(f.bare(),
                   "SELECT m.staffCd, m.staffNm, m.staffKm, s.kihon1, s.kihon2, s.kihon3, "
                   "s.kihon4 FROM CMSTAFFKIHONMST AS m LEFT JOIN KYKINTAISYUKEIJL AS s ON "
                   "s.staffCd = m.staffCd AND s.syoriDt = ? WHERE m.staffCd > ? "
                   "ORDER BY m.staffCd LIMIT 1");
    Statement days(f.bare(),
                   "SELECT kintaiDt, syukinKb, syukin, taisya, kihon1, kihon2, kihon3, kihon4 "
                   "FROM KYTIMESHEETJL WHERE staffCd = ? AND syoriDt = ? "
                   "AND kintaiDt >= ? AND kintaiDt <= ?");
    const std::string month = kMonth.toStdString();
    const auto read = [](Statement& s, BareHeader& h) {
        h.staffCd = s.column(0);
        h.staffNm = s.column(1);
        h.staffKm = s.column(2);
        for (int k = 0; k < 4; ++k)
            h.kihon[k] = s.isNull(3) ? 0 : s.number(3 + k);
    };
    BareHeader h;
    first.text(1, month);
    if (first.step())
        read(first, h);
    first.reset();
    for (auto _ : state) {
        next.text(1, month).text(2, h.staffCd);
        if (next.step()) {
            read(next, h);
        } else {
            first.text(1, month);
            if (first.step())
                read(first, h);
            first.reset();
        }
        next.reset();
        std::vector<BareDay> rows(kDays);
        days.text(1, h.staffCd).text(2, month).text(3, "2008-06-01").text(4, "2008-06-30");
        for (size_t i = 0; days.step() && i < rows.size(); ++i) {
            BareDay& d = rows[i];
            d.staffCd = h.staffCd;
            d.syoriDt = month;
            d.kintaiDt = days.column(0);
            d.syukinKb = days.column(1);
            d.syukin = days.column(2);
            d.taisya = days.column(3);
            for (int k = 0; k < 4; ++k)
                d.kihon[k] = days.number(4 + k);
        }
        days.reset();
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Baseline_NextStaffAndLoadMonth);

// --- Saving a month: the summary and 30 day rows rewritten in one commit ---

int commitHook(void* counter)
{
    ++*static_cast<int64_t*>(counter);
    return 0;
}

void Store_SaveMonth(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    const QVariant handle =
        QSqlDatabase::database(f.db().connectionName(), false).driver()->handle();
    sqlite3* engine = *static_cast<sqlite3* const*>(handle.constData());
    int64_t commits = 0;
    sqlite3_commit_hook(engine, commitHook, &commits);
    int s = 0;
    for (auto _ : state) {
        const QString staffCd = code(s++ % kStaff);
        const MonthHeader h{
            staffCd, QString(), QString(), kMonth, kFirst, kFirst.addDays(kDays - 1),
            160,     10,        2,         20};
        const std::vector<DayRow> rows = workedMonth(staffCd, kMonth, kFirst, kDays);
        saveMonth(f.db(), h, rows);
    }
    sqlite3_commit_hook(engine, nullptr, nullptr);
    state.counters["commits/save"] =
        benchmark::Counter(double(commits) / double(state.iterations()));
}
BENCHMARK(Store_SaveMonth);

void Baseline_SaveMonth(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    Statement begin(f.bare(), "BEGIN");
    Statement commit(f.bare(), "COMMIT");
    Statement deleteSummary(f.bare(),
                            "DELETE FROM KYKINTAISYUKEIJL WHERE staffCd = ? AND syoriDt = ?");
    Statement insertSummary(f.bare(), "INSERT INTO KYKINTAISYUKEIJL (staffCd, syoriDt, kikanSt, "
                                      "kikanEn, kihon1, kihon2, kihon3, kihon4) VALUES (?, ?, ?, "
                                      "?, ?, ?, ?, ?)");
    Statement deleteDays(f.bare(), "DELETE FROM KYTIMESHEETJL WHERE staffCd = ? AND syoriDt = ?");
    Statement insertDay(f.bare(), kInsertDay);
    const std::string month = kMonth.toStdString();
    std::vector<std::string> dates;
    for (int d = 0; d < kDays; ++d)
        dates.push_back(kFirst.addDays(d).toString(Qt::ISODate).toStdString());
    int s = 0;
    for (auto _ : state) {
        const std::string staffCd = code(s++ % kStaff).toStdString();
        begin.run();
        deleteSummary.text(1, staffCd).text(2, month).run();
        insertSummary.text(1, staffCd)
            .text(2, month)
            .text(3, dates.front())
            .text(4, dates.back())
            .real(5, 160)
            .real(6, 10)
            .real(7, 2)
            .real(8, 20)
            .run();
        deleteDays.text(1, staffCd).text(2, month).run();
        for (const std::string& date : dates) {
            insertWorkedDay(insertDay, staffCd, date, month);
        }
        commit.run();
    }
}
BENCHMARK(Baseline_SaveMonth);

// --- Counting and reading the report rows of all staff for one month ---

void Store_ReportRowsOfAMonth(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    for (auto _ : state) {
        const int count = CountReportRows(f.db(), "0000", "9999", "200512", "200512");
        std::vector<ReportRow> rows = LoadReportRows(f.db(), "0000", "9999", "200512", "200512");
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Store_ReportRowsOfAMonth);

void Baseline_ReportRowsOfAMonth(benchmark::State& state)
{
    struct BareReportRow {
        std::string staffCd, staffNm, syoriDt, kikanSt, kikanEn, kintaiDt, syukinKb, syukin, taisya;
        double kihon[8] = {};
    };
    Fixture& f = Fixture::instance();
    Statement count(f.bare(), "SELECT count(syoriDt) FROM KYTIMESHEETJL WHERE syoriDt >= ? AND "
                              "syoriDt <= ? AND +staffCd >= ? AND +staffCd <= ?");
    Statement select(f.bare(),
                     "SELECT staffCd, staffNm, syoriDt, kikanSt, kikanEn, kintaiDt, syukinKb, "
                     "syukin, taisya, kihon1_g, kihon2_g, kihon3_g, kihon4_g, kihon1, kihon2, "
                     "kihon3, kihon4 FROM Q_CMSTAFFKIHONMST WHERE syoriDt >= ? AND syoriDt <= ? "
                     "AND +staffCd >= ? AND +staffCd <= ? ORDER BY staffCd, kintaiDt ASC");
    for (auto _ : state) {
        count.text(1, "200512").text(2, "200512").text(3, "0000").text(4, "9999");
        count.step();
        const int n = int(count.number(0));
        count.reset();
        std::vector<BareReportRow> rows;
        rows.reserve(size_t(n));
        select.text(1, "200512").text(2, "200512").text(3, "0000").text(4, "9999");
        while (select.step()) {
            BareReportRow r;
            r.staffCd = select.column(0);
            r.staffNm = select.column(1);
            r.syoriDt = select.column(2);
            r.kikanSt = select.column(3);
            r.kikanEn = select.column(4);
            r.kintaiDt = select.column(5);
            r.syukinKb = select.column(6);
            r.syukin = select.column(7);
            r.taisya = select.column(8);
            for (int k = 0; k < 8; ++k)
                r.kihon[k] = select.number(9 + k);
            rows.push_back(std::move(r));
        }
        select.reset();
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Baseline_ReportRowsOfAMonth);

// --- The checks of a restore on a copy of the whole file ---

void Store_RestoreChecks(benchmark::State& state)
{
    const QString copy = Fixture::instance().copy();
    for (auto _ : state) {
        const std::unique_ptr<Database> db = openDatabase(copy);
        verifyIntegrity(*db);
    }
    state.counters["MB"] = double(QFileInfo(copy).size()) / 1e6;
}
BENCHMARK(Store_RestoreChecks)->Unit(benchmark::kMillisecond);

void Baseline_IntegrityCheck(benchmark::State& state)
{
    const QString copy = Fixture::instance().copy();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        check(sqlite3_open(copy.toUtf8().constData(), &db), db);
        {
            Statement integrity(db, "PRAGMA integrity_check");
            integrity.step();
            if (integrity.column(0) != "ok")
                qFatal("integrity_check failed");
        }
        sqlite3_close(db);
    }
}
BENCHMARK(Baseline_IntegrityCheck)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

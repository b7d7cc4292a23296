// The storage operations against a PostgreSQL server on its local socket, on an office of 300
// staff with ten years of saved months each, next to the same reads and writes done through libpq
// with prepared statements.

#include "Database.h"
#include "Schema.h"
#include "StepAndLoad.h"
#include "TempDatabase.h"
#include "TestServer.h"
#include "TimesheetStore.h"

#include <QCoreApplication>
#include <QThread>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kStaff = 300;
constexpr int kDays = 30;
const QString kMonth = QStringLiteral("200806");
const QDate kFirst(2008, 6, 1);

QString code(int i)
{
    return QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0'));
}

// A connection of the baseline, and its statements prepared once.
class Bare {
public:
    explicit Bare(const ServerConnection& server)
    {
        const std::string info = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
                                     .arg(server.host)
                                     .arg(server.port)
                                     .arg(server.database, server.user)
                                     .toStdString();
        m_connection = PQconnectdb(info.c_str());
        if (PQstatus(m_connection) != CONNECTION_OK)
            qFatal("libpq: %s", PQerrorMessage(m_connection));
    }
    ~Bare() { PQfinish(m_connection); }
    Bare(const Bare&) = delete;
    Bare& operator=(const Bare&) = delete;

    void run(const char* sql) { check(PQexec(m_connection, sql)); }
    // Once per name: a benchmark runs more than once.
    void prepare(const char* name, const char* sql)
    {
        if (m_prepared.insert(name).second)
            check(PQprepare(m_connection, name, sql, 0, nullptr));
    }
    // The result, for the caller to clear.
    PGresult* execute(const char* name, const std::vector<std::string>& values)
    {
        std::vector<const char*> pointers;
        for (const std::string& value : values)
            pointers.push_back(value.c_str());
        PGresult* result = PQexecPrepared(m_connection, name, int(pointers.size()), pointers.data(),
                                          nullptr, nullptr, 0);
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            qFatal("libpq: %s", PQerrorMessage(m_connection));
        return result;
    }
    void executeAndClear(const char* name, const std::vector<std::string>& values)
    {
        PQclear(execute(name, values));
    }

private:
    void check(PGresult* result)
    {
        const ExecStatusType status = PQresultStatus(result);
        PQclear(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            qFatal("libpq: %s", PQerrorMessage(m_connection));
    }

    PGconn* m_connection = nullptr;
    std::set<std::string> m_prepared;
};

class Fixture {
public:
    static Fixture& instance()
    {
        static Fixture fixture;
        return fixture;
    }

    Database& db() { return *m_db; }
    Bare& bare() { return *m_bare; }

private:
    Fixture()
    {
        TestServer* server = TestServer::instance();
        if (!server)
            qFatal("no PostgreSQL server binaries installed");
        const ServerConnection connection = server->freshDatabase();
        m_db = openDatabase(connection);
        m_bare = std::make_unique<Bare>(connection);
        // Ten years of months of every member, written by the server itself.
        m_bare->run("INSERT INTO CMSTAFFKIHONMST SELECT lpad(s::text, 4, '0'), '職員' || s, "
                    "'ｼｮｸｲﾝ' FROM generate_series(1, 300) AS s");
        m_bare->run(
            "INSERT INTO KYKINTAISYUKEIJL (staffCd, syoriDt, kikanSt, kikanEn, kihon1, kihon2, "
            "kihon3, kihon4) SELECT m.staffCd, to_char(d, 'YYYYMM'), "
            "to_char(d, 'YYYY-MM-DD'), to_char(d + interval '1 month' - interval '1 day', "
            "'YYYY-MM-DD'), 160, 10, 2, 20 FROM CMSTAFFKIHONMST AS m, "
            "generate_series(date '2000-01-01', date '2009-12-01', interval '1 month') AS d");
        m_bare->run("INSERT INTO KYTIMESHEETJL SELECT to_char(d, 'YYYYMM'), m.staffCd, "
                    "to_char(d, 'YYYY-MM-DD'), '0', '0900', '1800', 8, 0, 0, 1 "
                    "FROM CMSTAFFKIHONMST AS m, generate_series(date '2000-01-01', "
                    "date '2009-12-31', interval '1 day') AS d");
        m_bare->run("ANALYZE");
    }

    std::unique_ptr<Database> m_db;
    std::unique_ptr<Bare> m_bare;
};

const char* const kStaffMonth =
    "SELECT m.staffCd, m.staffNm, m.staffKm, s.kihon1, s.kihon2, s.kihon3, s.kihon4 "
    "FROM CMSTAFFKIHONMST AS m LEFT JOIN KYKINTAISYUKEIJL AS s ON s.staffCd = m.staffCd "
    "AND s.syoriDt = $1 ";

// --- Stepping to the next staff member and loading the month's day rows ---

void Server_NextStaffAndLoadMonth(benchmark::State& state)
{
    stepAndLoadMonths(state, Fixture::instance().db(), kMonth, kFirst, kDays);
}
BENCHMARK(Server_NextStaffAndLoadMonth);

void Baseline_Server_NextStaffAndLoadMonth(benchmark::State& state)
{
    Bare& bare = Fixture::instance().bare();
    bare.prepare("first", (std::string(kStaffMonth) + "ORDER BY m.staffCd LIMIT 1").c_str());
    bare.prepare(
        "next",
        (std::string(kStaffMonth) + "WHERE m.staffCd > $2 ORDER BY m.staffCd LIMIT 1").c_str());
    bare.prepare("days", "SELECT kintaiDt, syukinKb, syukin, taisya, kihon1, kihon2, kihon3, "
                         "kihon4 FROM KYTIMESHEETJL WHERE staffCd = $1 AND syoriDt = $2 "
                         "AND kintaiDt >= $3 AND kintaiDt <= $4");
    const std::string month = kMonth.toStdString();
    std::string staffCd;
    for (auto _ : state) {
        PGresult* step = bare.execute("next", {month, staffCd});
        if (PQntuples(step) == 0) {
            PQclear(step);
            step = bare.execute("first", {month});
        }
        staffCd = PQgetvalue(step, 0, 0);
        const std::string name = PQgetvalue(step, 0, 1);
        const double total = PQgetisnull(step, 0, 3) ? 0 : std::stod(PQgetvalue(step, 0, 3));
        PQclear(step);
        PGresult* days = bare.execute("days", {staffCd, month, "2008-06-01", "2008-06-30"});
        std::vector<std::pair<std::string, double>> rows;
        for (int i = 0; i < PQntuples(days); ++i)
            rows.emplace_back(PQgetvalue(days, i, 0), std::stod(PQgetvalue(days, i, 4)));
        PQclear(days);
        benchmark::DoNotOptimize(rows.data());
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(name.data());
    }
}
BENCHMARK(Baseline_Server_NextStaffAndLoadMonth);

// --- Saving a month: its revision checked and raised, the summary and 30 day rows rewritten in
// one transaction ---

// A member's month worked 09:00-18:00 every day, saved as the timesheet saves it.
void saveWorkedMonth(Database& db, const QString& staffCd)
{
    const MonthHeader h{staffCd, QString(), QString(), kMonth, kFirst, kFirst.addDays(kDays - 1),
                        160,     10,        2,         20};
    saveMonth(db, h, workedMonth(staffCd, kMonth, kFirst, kDays),
              monthRevision(db, staffCd, kMonth));
}

void Server_SaveMonth(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    int s = 0;
    for (auto _ : state) {
        saveWorkedMonth(f.db(), code(s++ % kStaff));
    }
}
BENCHMARK(Server_SaveMonth);

// As the screens save: the clerk's connection handed to a worker thread for the save and back.
void Server_SaveMonthOnAWorkerThread(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    int s = 0;
    for (auto _ : state) {
        const QString staffCd = code(s++ % kStaff);
        Database& db = f.db();
        db.release();
        const std::unique_ptr<QThread> worker(QThread::create([&db, &staffCd] {
            db.takeOver();
            saveWorkedMonth(db, staffCd);
            db.release();
        }));
        worker->start();
        worker->wait();
        db.takeOver();
    }
}
BENCHMARK(Server_SaveMonthOnAWorkerThread);

// As they saved before: on a connection made for the save.
void Server_SaveMonthOnANewConnection(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    int s = 0;
    for (auto _ : state) {
        saveWorkedMonth(*f.db().openAnother(), code(s++ % kStaff));
    }
}
BENCHMARK(Server_SaveMonthOnANewConnection);

void Baseline_Server_SaveMonth(benchmark::State& state)
{
    Bare& bare = Fixture::instance().bare();
    bare.prepare("deleteSummary", "DELETE FROM KYKINTAISYUKEIJL WHERE staffCd = $1 AND "
                                  "syoriDt = $2");
    bare.prepare("insertSummary", "INSERT INTO KYKINTAISYUKEIJL (staffCd, syoriDt, kikanSt, "
                                  "kikanEn, kihon1, kihon2, kihon3, kihon4) VALUES ($1, $2, $3, "
                                  "$4, $5, $6, $7, $8)");
    bare.prepare("deleteDays", "DELETE FROM KYTIMESHEETJL WHERE staffCd = $1 AND syoriDt = $2");
    bare.prepare("insertDay", "INSERT INTO KYTIMESHEETJL (staffCd, kintaiDt, syoriDt, syukinKb, "
                              "syukin, taisya, kihon1, kihon2, kihon3, kihon4) VALUES ($1, $2, "
                              "$3, $4, $5, $6, $7, $8, $9, $10)");
    const std::string month = kMonth.toStdString();
    std::vector<std::string> dates;
    for (int d = 0; d < kDays; ++d)
        dates.push_back(kFirst.addDays(d).toString(Qt::ISODate).toStdString());
    int s = 0;
    for (auto _ : state) {
        const std::string staffCd = code(s++ % kStaff).toStdString();
        bare.run("BEGIN");
        bare.executeAndClear("deleteSummary", {staffCd, month});
        bare.executeAndClear("insertSummary",
                             {staffCd, month, dates.front(), dates.back(), "160", "10", "2", "20"});
        bare.executeAndClear("deleteDays", {staffCd, month});
        for (const std::string& date : dates) {
            bare.executeAndClear("insertDay",
                                 {staffCd, date, month, "0", "0900", "1800", "8", "0", "0", "1"});
        }
        bare.run("COMMIT");
    }
}
BENCHMARK(Baseline_Server_SaveMonth);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

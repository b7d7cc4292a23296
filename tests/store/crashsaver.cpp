// Saves months in a loop until it is killed, for the crash test. Generation g rewrites the month
// CrashTarget(g) with every day's basic hours set to g and the summary equal to their sum, and
// "g" is printed once it is committed.

#include "CrashTarget.h"
#include "Schema.h"
#include "TempDatabase.h"
#include "TimesheetStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const auto db = openDatabase(QString::fromLocal8Bit(argv[1]));
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int g = std::atoi(argv[2]);; ++g) {
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

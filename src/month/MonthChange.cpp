#include "MonthChange.h"

#include <QStringList>

#include <map>
#include <optional>

namespace {

QString dayText(const std::optional<DayRow>& row)
{
    if (!row)
        return QStringLiteral("なし");
    const QString caption = dayClassCaption(row->syukinKb);
    const QString dayClass = caption.isEmpty() ? row->syukinKb : caption;
    if (!takesTimes(row->syukinKb))
        return dayClass + QStringLiteral(" -");
    return QStringLiteral("%1 %2-%3 %4")
        .arg(dayClass, clockText(row->syukin), clockText(row->taisya),
             hoursFigures(row->kihon1, row->kihon2, row->kihon3, row->kihon4));
}

bool sameDay(const DayRow& a, const DayRow& b)
{
    return a.syukinKb == b.syukinKb && a.syukin == b.syukin && a.taisya == b.taisya &&
           a.kihon1 == b.kihon1 && a.kihon2 == b.kihon2 && a.kihon3 == b.kihon3 &&
           a.kihon4 == b.kihon4;
}

} // namespace

QString describeMonthChange(const MonthHeader& before, std::span<const DayRow> beforeRows,
                            const MonthHeader& after, std::span<const DayRow> afterRows)
{
    std::map<QDate, std::pair<std::optional<DayRow>, std::optional<DayRow>>> days;
    for (const DayRow& row : beforeRows)
        days[row.kintaiDt].first = row;
    for (const DayRow& row : afterRows)
        days[row.kintaiDt].second = row;
    QStringList lines;
    for (const auto& [day, sides] : days) {
        const auto& [was, now] = sides;
        if (was && now && sameDay(*was, *now))
            continue;
        lines << QStringLiteral("%1 %2 → %3")
                     .arg(day.toString(QStringLiteral("MM/dd")), dayText(was), dayText(now));
    }
    const QString totalsBefore =
        hoursFigures(before.kihon1, before.kihon2, before.kihon3, before.kihon4);
    const QString totalsAfter =
        hoursFigures(after.kihon1, after.kihon2, after.kihon3, after.kihon4);
    if (totalsBefore != totalsAfter)
        lines << QStringLiteral("合計 %1 → %2").arg(totalsBefore, totalsAfter);
    return lines.join(u'\n');
}

QString allowanceChange(double before, double after)
{
    return QStringLiteral("週40時間勤務上限 %1 → %2").arg(before).arg(after);
}

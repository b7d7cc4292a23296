#include "TimesheetMonth.h"

#include "Database.h"
#include "LegalStore.h"
#include "MonthChange.h"
#include "OfficeCalendar.h"
#include "PaidLeave.h"
#include "TimesheetStore.h"
#include "WorkTime.h"

#include <QStringList>

#include <algorithm>

namespace {

double& hoursOf(DayRow& row, TimesheetMonth::Hours which)
{
    switch (which) {
    case TimesheetMonth::Hours::Basic:
        return row.kihon1;
    case TimesheetMonth::Hours::Overtime:
        return row.kihon2;
    case TimesheetMonth::Hours::LateNight:
        return row.kihon3;
    case TimesheetMonth::Hours::Break:
        break;
    }
    return row.kihon4;
}

bool isWeekend(const QDate& day)
{
    return day.dayOfWeek() >= Qt::Saturday;
}

} // namespace

TimesheetMonth::TimesheetMonth(const QString& syoriDt, const QDate& kikanSt, const QDate& kikanEn)
{
    m_header.syoriDt = syoriDt;
    m_header.kikanSt = kikanSt;
    m_header.kikanEn = kikanEn;
    m_rows.resize(std::clamp<qint64>(kikanSt.daysTo(kikanEn) + 1, 0, 31));
}

void TimesheetMonth::loadFirst(Database& db)
{
    Snapshot read(db);
    FirstStaffMonth(db, m_header);
    loadRows(db);
    read.end();
}

bool TimesheetMonth::loadNext(Database& db)
{
    return loadStep(db, Step::Next);
}

bool TimesheetMonth::loadPrevious(Database& db)
{
    return loadStep(db, Step::Previous);
}

bool TimesheetMonth::loadStep(Database& db, Step step)
{
    Snapshot read(db);
    const QString before = m_header.staffCd;
    if (step == Step::Next)
        NextStaffMonth(db, m_header);
    else
        PrevStaffMonth(db, m_header);
    if (m_header.staffCd == before) {
        reload(db); // with the current member's stored totals
        read.end();
        return false;
    }
    loadRows(db);
    read.end();
    return true;
}

void TimesheetMonth::loadCode(Database& db, const QString& typedCode)
{
    Snapshot read(db);
    if (FindStaffMonth(db, m_header, padStaffCode(typedCode)))
        loadRows(db);
    else
        reload(db); // with the current member's stored totals
    read.end();
}

void TimesheetMonth::reload(Database& db)
{
    Snapshot read(db);
    if (!FindStaffMonth(db, m_header, m_header.staffCd) && !NextStaffMonth(db, m_header) &&
        !PrevStaffMonth(db, m_header)) {
        const MonthHeader period = m_header;
        m_header = {};
        m_header.syoriDt = period.syoriDt;
        m_header.kikanSt = period.kikanSt;
        m_header.kikanEn = period.kikanEn;
    }
    loadRows(db);
    read.end();
}

void TimesheetMonth::loadRows(Database& db)
{
    m_beforeSelection.reset();
    for (int i = 0; i < days(); ++i) {
        const QDate day = m_header.kikanSt.addDays(i);
        m_rows[i] =
            DayRow{m_header.staffCd, m_header.syoriDt, day, weekday(day), {}, {}, {}, 0, 0, 0, 0};
    }
    m_filedRows.clear();
    for (const size_t i : fillStoredDays(db, m_header, m_rows))
        m_filedRows.push_back(m_rows[i]);
    m_calendar = loadPeriodCalendar(db, m_header.kikanSt, m_header.kikanEn);
    const std::set<QDate>& calendarRest = m_calendar.restDays;
    for (DayRow& row : m_rows) {
        if (row.syukinKb.isEmpty()) {
            const bool rest = isWeekend(row.kintaiDt) || calendarRest.contains(row.kintaiDt);
            row.syukinKb = dayClassCode(rest ? DayClass::Rest : DayClass::Normal);
        }
        if (!takesTimes(row.syukinKb))
            emptyDay(row);
    }
    m_calendarKihon40 = calcKihon40(m_rows, calendarRest);
    const MonthState state =
        m_header.staffCd.isEmpty() ? MonthState{} : loadMonthState(db, m_header);
    m_kihon40 = state.storedKihon40.value_or(m_calendarKihon40);
    m_closed = state.closed;
    m_legal.load(db, m_header);
    m_leave = m_header.staffCd.isEmpty() ? LeaveInputs{}
                                         : loadLeaveInputs(db, m_header.staffCd, m_header.kikanEn);
    m_revision = state.revision;
    m_onFile = state.onFile;
    markSaved();
}

void TimesheetMonth::markSaved()
{
    m_storedRows = m_rows;
    m_storedHeader = m_header;
    m_storedKihon40 = m_kihon40;
}

bool TimesheetMonth::recalculateAllowance()
{
    if (m_kihon40 == m_calendarKihon40)
        return false;
    m_kihon40 = m_calendarKihon40;
    computeTotals();
    return true;
}

bool TimesheetMonth::commitClock(int n, Clock which, const QString& hhmm)
{
    if (!hasRow(n))
        return false;
    DayRow& row = m_rows[n - 1];
    QString& stored = which == Clock::In ? row.syukin : row.taisya;
    const QString typed = isClockTime(hhmm) ? hhmm : QString(); // what is no time counts as none
    if (stored == typed)
        return false;
    stored = typed;
    if (row.syukin.isEmpty() || row.taisya.isEmpty())
        return false; // the row keeps its hours until both times are there
    const WorkTime time = CalcWorkTime({row.syukin, row.taisya});
    row.kihon1 = time.kihonJn;
    row.kihon2 = time.zangyouJn;
    row.kihon3 = time.sinyaJn;
    row.kihon4 = time.kyukeiJn;
    computeTotals();
    return true;
}

bool TimesheetMonth::commitHours(int n, Hours which, std::optional<double> value)
{
    if (!hasRow(n) || !value)
        return false;
    double& stored = hoursOf(m_rows[n - 1], which);
    if (stored == *value)
        return false;
    stored = *value;
    computeTotals();
    return true;
}

bool TimesheetMonth::commitClass(int n, DayClass dayClass)
{
    if (!hasRow(n))
        return false;
    DayRow& row = m_rows[n - 1];
    m_beforeSelection.reset();
    if (readDayClass(row.syukinKb) == dayClass)
        return false;
    row.syukinKb = dayClassCode(dayClass);
    computeTotals();
    return true;
}

bool TimesheetMonth::revertSelection(int n)
{
    if (!m_beforeSelection || m_beforeSelection->first != n)
        return false;
    DayRow& row = m_rows[size_t(n - 1)];
    const bool changed = row != m_beforeSelection->second;
    row = m_beforeSelection->second;
    m_beforeSelection.reset();
    computeTotals();
    return changed;
}

bool TimesheetMonth::selectClass(int n, DayClass dayClass)
{
    if (!hasRow(n) || takesTimes(dayClass))
        return false;
    DayRow& row = m_rows[n - 1];
    const DayRow before = row;
    if (!m_beforeSelection || m_beforeSelection->first != n)
        m_beforeSelection.emplace(n, before);
    emptyDay(row);
    if (row == before)
        return false;
    // The hours leave the totals at once, so that the totals never count a row that shows none.
    computeTotals();
    return true;
}

QString TimesheetMonth::saveRefusal() const
{
    if (m_header.staffCd.isEmpty())
        return QStringLiteral("スタッフが指定されていません。指定してください。");
    if (m_closed)
        return changeRefusal();
    if (const int n = firstIncompleteRow(); n > 0) {
        const QDate day = row(n).kintaiDt;
        return QStringLiteral("入力されていない明細があります。確認してください。\n%1月%2日（%3）")
            .arg(day.month())
            .arg(day.day())
            .arg(weekdayCaption(weekday(day)));
    }
    return {};
}

int TimesheetMonth::firstIncompleteRow() const
{
    for (int n = 1; n <= days(); ++n) {
        const DayRow& day = row(n);
        if (takesTimes(day.syukinKb) && (day.syukin.isEmpty() || day.taisya.isEmpty()))
            return n;
    }
    return 0;
}

void TimesheetMonth::save(Database& db)
{
    Transaction transaction(db);
    const int revision = saveMonth(db, m_header, m_rows, m_revision, m_kihon40);
    if (m_legal.isEnabled())
        saveLegalMonth(db, m_header.staffCd, m_legal.stored(m_rows));
    QStringList change;
    if (m_onFile && m_kihon40 != m_storedKihon40)
        change << allowanceChange(m_storedKihon40, m_kihon40);
    change << describeMonthChange(m_storedHeader, m_filedRows, m_header, m_rows);
    change.removeAll(QString());
    addHistory(db, historyEntry(QStringLiteral("保存"), change.join(u'\n')));
    transaction.commit();
    m_revision = revision;
    markSaved();
    m_filedRows = m_rows;
    m_onFile = true;
}

void TimesheetMonth::deleteWithHistory(Database& db)
{
    Transaction transaction(db);
    DeleteMonth(db, m_header.staffCd, m_header.syoriDt, m_revision);
    MonthHeader emptied = m_storedHeader;
    emptied.kihon1 = emptied.kihon2 = emptied.kihon3 = emptied.kihon4 = 0;
    addHistory(db, historyEntry(QStringLiteral("削除"),
                                describeMonthChange(m_storedHeader, m_filedRows, emptied, {})));
    transaction.commit();
    reload(db);
}

void TimesheetMonth::close(Database& db)
{
    m_revision = closeMonth(db, historyEntry(QStringLiteral("締め")), m_revision);
    m_closed = true;
}

void TimesheetMonth::reopen(Database& db)
{
    m_revision = reopenMonth(db, historyEntry(QStringLiteral("締め解除")), m_revision);
    m_closed = false;
}

QString TimesheetMonth::changeRefusal() const
{
    if (!m_closed)
        return {};
    return memberMonthCaption() +
           QStringLiteral("は締め済みのため変更できません。変更するには締めを解除してください。");
}

std::optional<double> TimesheetMonth::leaveBalance() const
{
    return leaveBalanceOf(m_rows);
}

QString TimesheetMonth::leaveShortQuestion(int n, DayClass dayClass) const
{
    if (!hasRow(n) || paidLeaveDays(dayClass) == 0)
        return {};
    std::vector<DayRow> rows = m_rows;
    rows[size_t(n - 1)].syukinKb = dayClassCode(dayClass);
    const std::optional<double> balance = leaveBalanceOf(rows);
    const std::optional<double> before = leaveBalance();
    if (!balance || *balance >= 0 || (before && *balance >= *before))
        return {};
    return QStringLiteral("%1 の有給休暇は、この日を%2にすると残りが %3 日になります。"
                          "%2にしますか？")
        .arg(m_header.staffNm, dayClassCaption(dayClass), leaveDaysText(*balance));
}

std::optional<double> TimesheetMonth::leaveBalanceOf(std::span<const DayRow> rows) const
{
    if (!m_leave.conditions.nyusyaDt.isValid() && m_leave.grants.empty())
        return std::nullopt;
    // The stored days with the period's as edited in their place.
    std::vector<ClassDay> days;
    days.reserve(m_leave.days.size() + rows.size());
    for (const ClassDay& day : m_leave.days) {
        if (day.date < m_header.kikanSt)
            days.push_back(day);
    }
    for (const DayRow& row : rows)
        days.push_back({row.kintaiDt, row.syukinKb});
    for (const ClassDay& day : m_leave.days) {
        if (day.date > m_header.kikanEn)
            days.push_back(day);
    }
    return buildLeaveLedger(m_leave.conditions, days, m_leave.grants, m_header.kikanEn).balance;
}

QString TimesheetMonth::memberMonthCaption() const
{
    return QStringLiteral("%1 %2 の%3")
        .arg(m_header.staffCd, m_header.staffNm, monthCaption(m_header.syoriDt));
}

HistoryEntry TimesheetMonth::historyEntry(const QString& sousa, const QString& naiyou) const
{
    return stampedHistoryEntry(m_header.staffCd, m_header.syoriDt, sousa, naiyou);
}

void TimesheetMonth::computeTotals()
{
    CalcTotals(m_rows, m_kihon40, m_header);
}

void TimesheetMonth::emptyDay(DayRow& row)
{
    row.syukin.clear();
    row.taisya.clear();
    row.kihon1 = row.kihon2 = row.kihon3 = row.kihon4 = 0;
}

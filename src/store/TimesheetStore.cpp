#include "TimesheetStore.h"

#include "Database.h"
#include "Revisions.h"

namespace {

// The staff row and, in the same read, its summary for the month: columns staffCd, staffNm,
// staffKm, then the summary's kihon1..kihon4, null when the month has no summary.
const QString kStaffMonth =
    QStringLiteral("SELECT m.staffCd, m.staffNm, m.staffKm, s.kihon1, s.kihon2, s.kihon3, s.kihon4 "
                   "FROM CMSTAFFKIHONMST AS m "
                   "LEFT JOIN KYKINTAISYUKEIJL AS s ON s.staffCd = m.staffCd AND s.syoriDt = ? ");

bool stepStaff(Database& db, MonthHeader& h, const QString& condition, const QVariantList& key)
{
    Rows rows = db.query(kStaffMonth + condition, QVariantList{h.syoriDt} + key);
    if (!rows.next())
        return false;
    h.staffCd = rows.text(0);
    h.staffNm = rows.text(1);
    h.staffKm = rows.text(2);
    const bool hasSummary = !rows.value(3).isNull();
    h.kihon1 = hasSummary ? rows.real(3) : 0;
    h.kihon2 = hasSummary ? rows.real(4) : 0;
    h.kihon3 = hasSummary ? rows.real(5) : 0;
    h.kihon4 = hasSummary ? rows.real(6) : 0;
    return true;
}

// The stored day's own code and month are those of the header: the read selects by them.
const QString kDayColumns = QStringLiteral("SELECT kintaiDt, syukinKb, syukin, taisya, kihon1, "
                                           "kihon2, kihon3, kihon4 FROM KYTIMESHEETJL ");

void copyDay(const MonthHeader& h, const Rows& rows, DayRow& row)
{
    row.staffCd = h.staffCd;
    row.syoriDt = h.syoriDt;
    row.syukinKb = rows.text(1);
    row.syukin = rows.text(2);
    row.taisya = rows.text(3);
    row.kihon1 = rows.real(4);
    row.kihon2 = rows.real(5);
    row.kihon3 = rows.real(6);
    row.kihon4 = rows.real(7);
}

// The prepared row for a stored day: rows normally run day by day, so the offset finds it.
DayRow* rowForDay(std::span<DayRow> rows, const QDate& day)
{
    const qint64 offset = rows.front().kintaiDt.daysTo(day);
    if (offset >= 0 && offset < qint64(rows.size()) && rows[offset].kintaiDt == day)
        return &rows[offset];
    for (DayRow& row : rows) {
        if (row.kintaiDt == day)
            return &row;
    }
    return nullptr;
}

const QString kMonthKey = QStringLiteral("WHERE staffCd = ? AND syoriDt = ?");

// Stepping passes over members who had left before the period: the condition and its value.
const QString kStillHere =
    QStringLiteral("NOT EXISTS (SELECT 1 FROM CMSTAFFJOUKENMST AS j WHERE j.staffCd = m.staffCd "
                   "AND j.taisyokuDt <> '' AND j.taisyokuDt < ?) ");

QVariant periodStart(const MonthHeader& h)
{
    return h.kikanSt.isValid() ? QVariant(dateText(h.kikanSt)) : QVariant(QString());
}

// A range of codes leaves out the months of members who had left before the month's period; a
// range of one code prints what it names. %1 is the table or view with staffCd, syoriDt, and the
// two values that follow the range's are its first and last code.
QString leaversLeftOut(const QString& table)
{
    return QStringLiteral("AND (? = ? OR NOT EXISTS (SELECT 1 FROM CMSTAFFJOUKENMST AS j "
                          "JOIN KYKINTAISYUKEIJL AS p ON p.staffCd = j.staffCd "
                          "WHERE j.staffCd = %1.staffCd AND p.syoriDt = %1.syoriDt "
                          "AND j.taisyokuDt <> '' AND j.taisyokuDt < p.kikanSt)) ")
        .arg(table);
}

// Printing asks for a month (or a few) of many staff: the month range leads the search, so the
// code range is kept from choosing the index.
QString reportRange(const Database& db)
{
    const QString code = db.dialect().unindexed(QStringLiteral("staffCd"));
    return QStringLiteral("WHERE syoriDt >= ? AND syoriDt <= ? AND %1 >= ? AND %1 <= ? ").arg(code);
}

} // namespace

bool FirstStaffMonth(Database& db, MonthHeader& h)
{
    return stepStaff(
        db, h, QStringLiteral("WHERE ") + kStillHere + QStringLiteral("ORDER BY m.staffCd LIMIT 1"),
        {periodStart(h)});
}

bool NextStaffMonth(Database& db, MonthHeader& h)
{
    return stepStaff(db, h,
                     QStringLiteral("WHERE m.staffCd > ? AND ") + kStillHere +
                         QStringLiteral("ORDER BY m.staffCd LIMIT 1"),
                     {h.staffCd, periodStart(h)});
}

bool PrevStaffMonth(Database& db, MonthHeader& h)
{
    return stepStaff(db, h,
                     QStringLiteral("WHERE m.staffCd < ? AND ") + kStillHere +
                         QStringLiteral("ORDER BY m.staffCd DESC LIMIT 1"),
                     {h.staffCd, periodStart(h)});
}

bool FindStaffMonth(Database& db, MonthHeader& h, const QString& code)
{
    return stepStaff(db, h, QStringLiteral("WHERE m.staffCd = ?"), {code});
}

bool LoadDayRow(Database& db, const MonthHeader& h, const QDate& day, DayRow& row)
{
    Rows rows = db.query(kDayColumns + kMonthKey + QStringLiteral(" AND kintaiDt = ?"),
                         {h.staffCd, h.syoriDt, day});
    if (!rows.next())
        return false;
    copyDay(h, rows, row);
    return true;
}

std::vector<size_t> fillStoredDays(Database& db, const MonthHeader& h, std::span<DayRow> rows)
{
    std::vector<size_t> found;
    if (rows.empty())
        return found;
    QDate first = rows.front().kintaiDt;
    QDate last = first;
    for (const DayRow& row : rows) {
        first = std::min(first, row.kintaiDt);
        last = std::max(last, row.kintaiDt);
    }
    Rows stored =
        db.query(kDayColumns + kMonthKey + QStringLiteral(" AND kintaiDt >= ? AND kintaiDt <= ?"),
                 {h.staffCd, h.syoriDt, first, last});
    while (stored.next()) {
        if (DayRow* row = rowForDay(rows, stored.date(0))) {
            copyDay(h, stored, *row);
            found.push_back(size_t(row - rows.data()));
        }
    }
    return found;
}

void SaveSummary(Database& db, const MonthHeader& h, std::optional<double> kihon40)
{
    Transaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM KYKINTAISYUKEIJL ") + kMonthKey, {h.staffCd, h.syoriDt});
    db.execute(QStringLiteral("INSERT INTO KYKINTAISYUKEIJL (staffCd, syoriDt, kikanSt, kikanEn, "
                              "kihon1, kihon2, kihon3, kihon4, kihon40) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {h.staffCd, h.syoriDt, h.kikanSt, h.kikanEn, h.kihon1, h.kihon2, h.kihon3, h.kihon4,
                kihon40 ? QVariant(*kihon40) : QVariant()});
    transaction.commit();
}

MonthState loadMonthState(Database& db, const MonthHeader& h)
{
    // Stepping to a member is the timesheet's most frequent read: one round trip, not four.
    Rows rows = db.query(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM KYSIMEKANRI %1), "
                       "(SELECT kaiteiNo FROM KYKAITEIKANRI %1), "
                       "(SELECT COUNT(*) FROM (SELECT 1 FROM KYTIMESHEETJL %1 LIMIT 1) AS t), "
                       "(SELECT kihon40 FROM KYKINTAISYUKEIJL %1 AND kikanSt = ? AND kikanEn = ?)")
            .arg(kMonthKey),
        {h.staffCd, h.syoriDt, h.staffCd, h.syoriDt, h.staffCd, h.syoriDt, h.staffCd, h.syoriDt,
         h.kikanSt, h.kikanEn});
    MonthState state;
    if (!rows.next())
        return state;
    state.closed = rows.value(0).toInt() > 0;
    state.revision = rows.value(1).toInt();
    state.onFile = rows.value(2).toInt() > 0;
    if (!rows.value(3).isNull())
        state.storedKihon40 = rows.real(3);
    return state;
}

void SaveDayRows(Database& db, const MonthHeader& h, std::span<const DayRow> rows)
{
    Transaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM KYTIMESHEETJL ") + kMonthKey, {h.staffCd, h.syoriDt});
    const QString insert = QStringLiteral(
        "INSERT INTO KYTIMESHEETJL (staffCd, kintaiDt, syoriDt, syukinKb, syukin, taisya, "
        "kihon1, kihon2, kihon3, kihon4) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const DayRow& row : rows) {
        db.execute(insert, {row.staffCd, row.kintaiDt, row.syoriDt, row.syukinKb, row.syukin,
                            row.taisya, row.kihon1, row.kihon2, row.kihon3, row.kihon4});
    }
    transaction.commit();
}

int monthRevision(Database& db, const QString& code, const QString& month)
{
    return revision(db, monthRevisionKey(code, month));
}

int raiseMonthRevision(Database& db, const QString& code, const QString& month,
                       std::optional<int> expected)
{
    int raised = 0;
    try {
        raised = raiseRevision(db, monthRevisionKey(code, month), expected);
    } catch (const StaleChange&) {
        requireMember(db, code); // a member deleted meanwhile is said as such
        throw;
    }
    // Checked after the raise, whose row lock a delete of the member waits for.
    requireMember(db, code);
    return raised;
}

qint64 memberRevision(Database& db, const QString& code)
{
    Rows rows = db.query(
        QStringLiteral("SELECT COALESCE(sum(kaiteiNo), 0) FROM KYKAITEIKANRI WHERE staffCd = ?"),
        {code});
    return (rows.next() ? rows.value(0).toLongLong() : 0) + revision(db, staffRevisionKey(code));
}

int saveMonth(Database& db, const MonthHeader& h, std::span<const DayRow> rows,
              std::optional<int> expectedRevision, std::optional<double> kihon40)
{
    Transaction transaction(db);
    const int revision = raiseMonthRevision(db, h.staffCd, h.syoriDt, expectedRevision);
    SaveSummary(db, h, kihon40);
    SaveDayRows(db, h, rows);
    // The law's figures of the old rows go with them; the caller stores the new rows' own.
    db.execute(QStringLiteral("DELETE FROM KYHOUTEIJL ") + kMonthKey, {h.staffCd, h.syoriDt});
    transaction.commit();
    return revision;
}

int DeleteMonth(Database& db, const QString& code, const QString& month,
                std::optional<int> expectedRevision)
{
    Transaction transaction(db);
    const int revision = raiseMonthRevision(db, code, month, expectedRevision);
    db.execute(QStringLiteral("DELETE FROM KYKINTAISYUKEIJL ") + kMonthKey, {code, month});
    db.execute(QStringLiteral("DELETE FROM KYTIMESHEETJL ") + kMonthKey, {code, month});
    db.execute(QStringLiteral("DELETE FROM KYHOUTEIJL ") + kMonthKey, {code, month});
    transaction.commit();
    return revision;
}

std::optional<MonthHeader> newestMonth(Database& db, const QString& code)
{
    Rows rows = db.query(QStringLiteral("SELECT syoriDt, kikanSt, kikanEn FROM KYKINTAISYUKEIJL "
                                        "WHERE staffCd = ? ORDER BY kikanEn DESC LIMIT 1"),
                         {code});
    if (!rows.next())
        return std::nullopt;
    MonthHeader month;
    month.staffCd = code;
    month.syoriDt = rows.text(0);
    month.kikanSt = rows.date(1);
    month.kikanEn = rows.date(2);
    return month;
}

int CountReportRows(Database& db, const QString& staffFrom, const QString& staffTo,
                    const QString& monthFrom, const QString& monthTo)
{
    Rows rows = db.query(QStringLiteral("SELECT count(syoriDt) AS c_syoriDt FROM KYTIMESHEETJL ") +
                             reportRange(db) + leaversLeftOut(QStringLiteral("KYTIMESHEETJL")),
                         {monthFrom, monthTo, staffFrom, staffTo, staffFrom, staffTo});
    return rows.next() ? rows.value(QStringLiteral("c_syoridt")).toInt() : 0;
}

std::vector<ReportRow> LoadReportRows(Database& db, const QString& staffFrom,
                                      const QString& staffTo, const QString& monthFrom,
                                      const QString& monthTo)
{
    Rows rows = db.query(QStringLiteral("SELECT * FROM Q_CMSTAFFKIHONMST ") + reportRange(db) +
                             leaversLeftOut(QStringLiteral("Q_CMSTAFFKIHONMST")) +
                             QStringLiteral("ORDER BY staffCd, kintaiDt ASC"),
                         {monthFrom, monthTo, staffFrom, staffTo, staffFrom, staffTo});
    struct Columns {
        int staffCd, staffNm, syoriDt, kikanSt, kikanEn, kintaiDt, syukinKb, syukin, taisya;
        int g1, g2, g3, g4, k1, k2, k3, k4;
    };
    const auto at = [&rows](const char* name) { return rows.column(QLatin1String(name)); };
    const Columns c{at("staffCd"),  at("staffNm"),  at("syoriDt"),  at("kikanSt"), at("kikanEn"),
                    at("kintaiDt"), at("syukinKb"), at("syukin"),   at("taisya"),  at("kihon1_g"),
                    at("kihon2_g"), at("kihon3_g"), at("kihon4_g"), at("kihon1"),  at("kihon2"),
                    at("kihon3"),   at("kihon4")};
    // A month whose summary is missing still prints its days: no period and zero totals.
    const auto optionalDate = [&rows](int column) {
        return rows.value(column).isNull() ? QDate() : rows.date(column);
    };
    const auto optionalReal = [&rows](int column) {
        return rows.value(column).isNull() ? 0.0 : rows.real(column);
    };
    std::vector<ReportRow> list;
    while (rows.next()) {
        list.push_back({rows.text(c.staffCd), rows.text(c.staffNm), rows.text(c.syoriDt),
                        optionalDate(c.kikanSt), optionalDate(c.kikanEn), rows.date(c.kintaiDt),
                        rows.text(c.syukinKb), rows.text(c.syukin), rows.text(c.taisya),
                        optionalReal(c.g1), optionalReal(c.g2), optionalReal(c.g3),
                        optionalReal(c.g4), rows.real(c.k1), rows.real(c.k2), rows.real(c.k3),
                        rows.real(c.k4)});
    }
    return list;
}

std::vector<PayrollRow> loadPayrollRows(Database& db, const QString& staffFrom,
                                        const QString& staffTo, const QString& syoriDt)
{
    // A class is read by its leading digits, as the rules read it ("2x" is a rest day).
    const QString dayClass = db.dialect().leadingInteger(QStringLiteral("t.syukinKb"));
    Rows rows = db.query(
        QStringLiteral(
            "SELECT s.staffCd, m.staffNm, s.syoriDt, s.kikanSt, s.kikanEn, "
            "count(CASE WHEN %1 = 0 AND t.syukin <> '' AND t.taisya <> '' THEN 1 END), "
            "count(CASE WHEN %1 = 1 AND t.syukin <> '' AND t.taisya <> '' THEN 1 END), "
            "count(CASE WHEN %1 = 2 THEN 1 END), "
            "s.kihon1, s.kihon2, s.kihon3, s.kihon4, count(c.staffCd), "
            "COALESCE(sum(CASE WHEN %1 = 3 THEN 2 WHEN %1 IN (4, 5) THEN 1 END), 0), "
            "count(CASE WHEN %1 = 6 THEN 1 END), count(CASE WHEN %1 = 7 THEN 1 END), "
            "count(CASE WHEN %1 = 8 THEN 1 END) "
            "FROM KYKINTAISYUKEIJL AS s "
            "LEFT JOIN CMSTAFFKIHONMST AS m ON m.staffCd = s.staffCd "
            "LEFT JOIN KYSIMEKANRI AS c ON c.staffCd = s.staffCd AND c.syoriDt = s.syoriDt "
            "LEFT JOIN KYTIMESHEETJL AS t ON t.staffCd = s.staffCd AND t.syoriDt = s.syoriDt "
            "WHERE s.syoriDt = ? AND s.staffCd >= ? AND s.staffCd <= ? ")
                .arg(dayClass) +
            leaversLeftOut(QStringLiteral("s")) +
            QStringLiteral("GROUP BY s.staffCd, s.syoriDt, m.staffCd ORDER BY s.staffCd"),
        {syoriDt, staffFrom, staffTo, staffFrom, staffTo});
    std::vector<PayrollRow> result;
    while (rows.next()) {
        PayrollRow row{rows.text(0),
                       rows.text(1),
                       rows.text(2),
                       rows.date(3),
                       rows.date(4),
                       rows.value(5).toInt(),
                       rows.value(6).toInt(),
                       rows.value(7).toInt(),
                       rows.real(8),
                       rows.real(9),
                       rows.real(10),
                       rows.real(11),
                       rows.value(12).toInt() > 0,
                       0,
                       0,
                       0,
                       0,
                       {}};
        // Counted in half days, so that the sum stays whole on both engines.
        row.paidLeaveDays = rows.value(13).toInt() / 2.0;
        row.absenceDays = rows.value(14).toInt();
        row.specialLeaveDays = rows.value(15).toInt();
        row.substituteDays = rows.value(16).toInt();
        result.push_back(row);
    }
    return result;
}

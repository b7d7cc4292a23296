#include "rptSyukin.h"

#include "Holidays.h"
#include "OfficeCalendar.h"
#include "PaidLeave.h"
#include "TimesheetStore.h"

#include <QLocale>

#include <algorithm>

namespace {

const QString kMinchoP = QStringLiteral("ＭＳ Ｐ明朝");
const QString kMincho = QStringLiteral("ＭＳ 明朝");
const QString kTwoDecimals = QStringLiteral("#,##0.00");

constexpr int kTableLeft = 142;
constexpr int kTableRight = 10488;

// Vertical rules from top to bottom at each x.
void addRules(ReportSection& section, std::initializer_list<int> xs, int top, int bottom)
{
    for (int x : xs)
        section.lines.emplace_back(x, top, x, bottom);
}

ReportSection pageHeader()
{
    ReportSection s{QStringLiteral("PageHeader"), 915, {}, {}};
    s.texts.push_back(reportField("txt_title", "syoriDt", {0, 0, 10488, 340}, {kMinchoP, 14.5},
                                  Qt::AlignHCenter));
    s.texts.push_back({QStringLiteral("Field1"),
                       ReportText::Source::Today,
                       {},
                       {7875, 495, 2595, 300},
                       {kMinchoP, 10},
                       Qt::AlignRight,
                       QStringLiteral("ggge年m月d日")});
    s.texts.push_back(
        reportField("txt_kikan", "kikan", {0, 390, 10488, 340}, {kMincho, 10}, Qt::AlignHCenter));
    return s;
}

ReportSection groupHeader()
{
    ReportSection s{QStringLiteral("GroupHeader1"), 990, {}, {}};
    s.texts.push_back(reportLabel("Label1", QStringLiteral("ｽﾀｯﾌ氏名:"), {113, 113, 1134, 284},
                                  {kMinchoP, 10}, Qt::AlignLeft));
    s.texts.push_back(reportField("txt_staffNm", "staffNm", {1305, 120, 3795, 285}, {kMinchoP, 10},
                                  Qt::AlignLeft));
    const ReportFont heading{kMincho, 11.5};
    const std::initializer_list<std::tuple<const char*, const char*, int, int, int>> columns{
        {"Label3", "日", 227, 397, 284},          {"Label4", "曜", 794, 397, 284},
        {"Label25", "出勤区分", 1361, 1077, 284}, {"Label5", "出 勤", 2608, 737, 227},
        {"Label6", "退 勤", 3458, 737, 227},      {"Label7", "基 本", 4309, 737, 227},
        {"Label8", "残 業", 5159, 737, 227},      {"Label16", "深 夜", 6009, 737, 227},
        {"Label24", "休 憩", 6860, 737, 227},     {"Label9", "備 考", 7710, 2721, 227}};
    for (const auto& [name, caption, left, width, height] : columns)
        s.texts.push_back(
            reportLabel(name, QString::fromUtf8(caption), {left, 680, width, height}, heading));
    s.lines.emplace_back(kTableLeft, 567, kTableRight, 567);
    addRules(s, {142, 709, 1276, 2551, 3402, 4252, 5102, 5953, 6803, 7654, 10488}, 567, 992);
    return s;
}

ReportSection detail()
{
    ReportSection s{QStringLiteral("Detail"), 270, {}, {}};
    s.lines.emplace_back(kTableLeft, 0, kTableRight, 0);
    addRules(s, {142, 1276, 2551, 3402, 4252, 5102, 5953, 6803, 7654, 10488}, 0, 283);
    s.lines.emplace_back(705, 0, 705, 285);
    const ReportFont font{kMincho, 10};
    s.texts.push_back(
        reportField("txt_date", "kintaiDt", {227, 57, 397, 226}, font, Qt::AlignHCenter));
    s.texts.push_back(reportField("txt_week", "week", {794, 57, 453, 226}, font, Qt::AlignHCenter));
    s.texts.push_back(
        reportField("txt_syukinKb", "syukinKb", {1365, 60, 1140, 225}, font, Qt::AlignLeft));
    s.texts.push_back(
        reportField("txt_syukinJn", "syukin", {2608, 57, 737, 226}, font, Qt::AlignHCenter));
    s.texts.push_back(
        reportField("txt_taisyaJn", "taisya", {3458, 57, 737, 226}, font, Qt::AlignHCenter));
    s.texts.push_back(reportField("txt_kihonJn", "kihon1", {4309, 57, 737, 226}, font,
                                  Qt::AlignHCenter, kTwoDecimals));
    s.texts.push_back(reportField("txt_zangyouJn", "kihon2", {5159, 57, 737, 226}, font,
                                  Qt::AlignHCenter, kTwoDecimals));
    s.texts.push_back(reportField("txt_sinyaJn", "kihon3", {6009, 57, 737, 226}, font,
                                  Qt::AlignHCenter, kTwoDecimals));
    s.texts.push_back(reportField("txt_kyukeiJn", "kihon4", {6860, 57, 737, 226}, font,
                                  Qt::AlignHCenter, kTwoDecimals));
    // The remarks name the day's public holiday or the office's own day off.
    s.texts.push_back(
        reportField("txt_bikou", "bikou", {7710, 57, 2721, 226}, font, Qt::AlignLeft));
    return s;
}

ReportSection groupFooter()
{
    ReportSection s{QStringLiteral("GroupFooter1"), 1560, {}, {}};
    s.lines.emplace_back(kTableLeft, 0, kTableRight, 0);
    // Basic hours.
    s.lines.emplace_back(1984, 502, 5244, 502);
    s.lines.emplace_back(1984, 927, 5244, 927);
    addRules(s, {1984, 4252, 5244}, 502, 927);
    // Overtime and late-night hours.
    s.lines.emplace_back(5386, 502, 8646, 502);
    s.lines.emplace_back(5386, 927, 8646, 927);
    s.lines.emplace_back(5385, 1350, 8655, 1350);
    addRules(s, {5386, 7654, 8646}, 502, 1352);

    const ReportFont caption{kMincho, 10};
    const ReportFont total{kMincho, 11.5};
    s.texts.push_back(reportLabel("Label10", QStringLiteral("基 本 時 間 数 合 計"),
                                  {2041, 587, 2154, 283}, caption));
    s.texts.push_back(reportField("txt_g_kihonJn", "kihon1_g", {4309, 587, 850, 283}, total,
                                  Qt::AlignRight, kTwoDecimals));
    s.texts.push_back(reportLabel("Label11", QStringLiteral("残 業 時 間 数 合 計"),
                                  {5443, 587, 2154, 283}, caption));
    s.texts.push_back(reportField("txt_g_zangyouJn", "kihon2_g", {7710, 587, 907, 283}, total,
                                  Qt::AlignRight, kTwoDecimals));
    s.texts.push_back(reportLabel("Label12", QStringLiteral("深 夜 時 間 数 合 計"),
                                  {5443, 1040, 2154, 227}, caption));
    s.texts.push_back(reportField("txt_g_sinyaJn", "kihon3_g", {7710, 1029, 907, 227}, total,
                                  Qt::AlignRight, kTwoDecimals));
    // The month's leave and absence, printed only for a month that has any.
    s.texts.push_back(
        reportField("txt_g_kyuka", "kyuka", {1984, 1400, 6662, 227}, caption, Qt::AlignLeft));
    return s;
}

QString shortDate(const QDate& date)
{
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(date, QLocale::ShortFormat);
}

} // namespace

void rptSyukin::LeaveCount::add(const QString& syukinKb)
{
    const std::optional<DayClass> dayClass = readDayClass(syukinKb);
    if (!dayClass || syukinKb.size() != 1)
        return;
    paidLeave += paidLeaveDays(*dayClass);
    absence += *dayClass == DayClass::Absence;
    specialLeave += *dayClass == DayClass::SpecialLeave;
    any = any || int(*dayClass) > int(DayClass::Rest);
}

QString rptSyukin::LeaveCount::caption() const
{
    if (!any)
        return {};
    return QStringLiteral("有給休暇 %1日　欠勤 %2日　特別休暇 %3日")
        .arg(leaveDaysText(paidLeave))
        .arg(absence)
        .arg(specialLeave);
}

rptSyukin::rptSyukin(Database& db)
    : m_db(db)
{
}

ReportDefinition rptSyukin::Definition()
{
    ReportDefinition d;
    d.pageHeader = pageHeader();
    d.groupHeader = groupHeader();
    d.detail = detail();
    d.groupFooter = groupFooter();
    d.pageFooter = {QStringLiteral("PageFooter"), 0, {}, {}};
    d.groupField = QStringLiteral("staffCd");
    d.groupStartsNewPage = true;
    d.title = QStringLiteral("出勤表");
    // A4 portrait; the side margins leave the body its 10560 twips.
    d.pageLayout = a4PortraitLayout();
    return d;
}

ReportDocument rptSyukin::run(const QDate& today)
{
    return runReport(Definition(), *this, today);
}

void rptSyukin::dataInitialize(ReportFields& fields)
{
    fields.clear();
    ReadSheetData();
    for (const char* name : {"staffCd", "staffNm", "syoriDt", "kintaiDt", "week", "syukinKb",
                             "kikan", "syukin", "taisya", "kihon1", "kihon2", "kihon3", "kihon4",
                             "kihon1_g", "kihon2_g", "kihon3_g", "bikou", "kyuka"})
        fields.declare(QLatin1String(name));
    m_rowPos = 0;
    m_leave = {};
}

void rptSyukin::ReadSheetData()
{
    // The stored query yields one row per timesheet row of the ranges, as many as the count of
    // those rows: what it yields is what prints, so it serves as the count too.
    m_sheetRows = LoadReportRows(m_db, pStaffCdSt, pStaffCdEn, pSyoriDtSt, pSyoriDtEn);
    m_calendar = {};
    if (m_sheetRows.empty())
        return;
    const auto [first, last] = std::minmax_element(
        m_sheetRows.begin(), m_sheetRows.end(),
        [](const ReportRow& a, const ReportRow& b) { return a.kintaiDt < b.kintaiDt; });
    m_calendar = loadPeriodCalendar(m_db, first->kintaiDt, last->kintaiDt);
}

bool rptSyukin::fetchData(ReportFields& fields, ReportStyle& style)
{
    if (m_rowPos >= m_sheetRows.size())
        return true;
    const ReportRow& r = m_sheetRows[m_rowPos];
    fields.set(QStringLiteral("staffCd"), r.staffCd);
    fields.set(QStringLiteral("staffnm"), r.staffNm);
    fields.set(QStringLiteral("syoriDt"), r.syoriDt.left(4) + QStringLiteral("年") +
                                              r.syoriDt.right(2) + QStringLiteral("月分出勤表"));
    fields.set(QStringLiteral("kintaiDt"), r.kintaiDt.day());
    fields.set(QStringLiteral("kikan"), QStringLiteral("( ") + shortDate(r.kikanSt) +
                                            QStringLiteral("～") + shortDate(r.kikanEn) +
                                            QStringLiteral(" )"));

    const QString week = weekday(r.kintaiDt);
    fields.set(QStringLiteral("week"), weekdayCaption(week));
    const QString dayOffName = m_calendar.dayOffName(r.kintaiDt);
    fields.set(QStringLiteral("bikou"), dayNote(r.kintaiDt, dayOffName));
    const QColor colour(dayRgb(r.kintaiDt, !dayOffName.isEmpty()));
    style.setTextColour(QStringLiteral("txt_date"), colour);
    style.setTextColour(QStringLiteral("txt_week"), colour);

    fields.set(QStringLiteral("syukinKb"), dayClassCaption(r.syukinKb));
    if (!takesTimes(r.syukinKb)) {
        for (const char* name : {"syukin", "taisya", "kihon1", "kihon2", "kihon3", "kihon4"})
            fields.set(QLatin1String(name), QString());
    } else {
        fields.set(QStringLiteral("syukin"), clockText(r.syukin));
        fields.set(QStringLiteral("taisya"), clockText(r.taisya));
        fields.set(QStringLiteral("kihon1"), r.kihon1);
        fields.set(QStringLiteral("kihon2"), r.kihon2);
        fields.set(QStringLiteral("kihon3"), r.kihon3);
        fields.set(QStringLiteral("kihon4"), r.kihon4);
    }
    if (m_rowPos == 0 || m_sheetRows[m_rowPos - 1].staffCd != r.staffCd ||
        m_sheetRows[m_rowPos - 1].syoriDt != r.syoriDt)
        m_leave = {};
    m_leave.add(r.syukinKb);
    fields.set(QStringLiteral("kyuka"), m_leave.caption());
    fields.set(QStringLiteral("kihon1_g"), r.kihon1_g);
    fields.set(QStringLiteral("kihon2_g"), r.kihon2_g);
    fields.set(QStringLiteral("kihon3_g"), r.kihon3_g);
    ++m_rowPos;
    return false;
}

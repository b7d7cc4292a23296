#include "PayrollCsv.h"

#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <map>

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QLatin1String("\"\"")) + u'"';
}

QString csvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(u',') + QLatin1String("\r\n");
}

QString hours(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

CsvFile csvFile(const QStringList& header, const std::vector<CsvRow>& rows, CsvEncoding encoding)
{
    QStringEncoder encoder(encoding == CsvEncoding::ShiftJis ? "windows-31j" : "UTF-8");
    CsvFile csv;
    if (encoding == CsvEncoding::Utf8Bom)
        csv.bytes = QByteArrayLiteral("\xEF\xBB\xBF");
    csv.bytes += encoder(csvLine(header));
    for (const CsvRow& row : rows) {
        const QByteArray line = encoder(csvLine(row.fields));
        if (encoder.hasError())
            return {{},
                    QStringLiteral("%1 には Shift_JIS で書けない文字があります。"
                                   "スタッフ登録で直すか、UTF-8 で出力してください。")
                        .arg(row.owner)};
        csv.bytes += line;
    }
    return csv;
}

namespace {

// The keys of the columns, in the standard order, with the standard headers; hours marked.
struct ColumnKind {
    const char* key;
    const char* header;
    bool hours;
    bool law;
};
constexpr ColumnKind kColumns[] = {
    {"staffCd", "スタッフコード", false, false},
    {"staffNm", "スタッフ氏名", false, false},
    {"syoriDt", "処理年月", false, false},
    {"kikanSt", "期間開始", false, false},
    {"kikanEn", "期間終了", false, false},
    {"workDays", "出勤日数", false, false},
    {"holidayWorkDays", "休日出勤日数", false, false},
    {"restDays", "公休日数", false, false},
    {"kihon1", "基本時間", true, false},
    {"kihon2", "残業時間", true, false},
    {"kihon3", "深夜時間", true, false},
    {"kihon4", "休憩時間", true, false},
    {"closed", "締め", false, false},
    {"paidLeaveDays", "有給休暇日数", false, false},
    {"absenceDays", "欠勤日数", false, false},
    {"specialLeaveDays", "特別休暇日数", false, false},
    {"substituteDays", "振替休日・代休日数", false, false},
    {"hounai", "法定内", true, true},
    {"hougai", "法定外残業", true, true},
    {"hougai60", "うち60時間超", true, true},
    {"kyujitu", "法定休日労働", true, true},
    {"sinya", "深夜（法定）", true, true},
};

const ColumnKind* kindOf(const QString& key)
{
    for (const ColumnKind& kind : kColumns) {
        if (key == QLatin1String(kind.key))
            return &kind;
    }
    return nullptr;
}

const char* unitCode(HoursUnit unit)
{
    switch (unit) {
    case HoursUnit::Decimal:
        break;
    case HoursUnit::HoursMinutes:
        return "hmm";
    case HoursUnit::Minutes:
        return "minutes";
    }
    return "decimal";
}

// Minutes in the layout's unit.
QString minutesIn(qint64 minutes, HoursUnit unit)
{
    switch (unit) {
    case HoursUnit::Decimal:
        break;
    case HoursUnit::HoursMinutes:
        return QStringLiteral("%1%2:%3")
            .arg(minutes < 0 ? QStringLiteral("-") : QString())
            .arg(std::abs(minutes) / 60)
            .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'));
    case HoursUnit::Minutes:
        return QString::number(minutes);
    }
    return hours(double(minutes) / 60);
}

// Hours as stored (a double), in the layout's unit: to the minute where the unit is not decimal.
QString hoursIn(double value, HoursUnit unit)
{
    return unit == HoursUnit::Decimal ? hours(value) : minutesIn(qRound64(value * 60), unit);
}

QString headerIn(const ColumnKind& kind, const QString& header, HoursUnit unit)
{
    if (!kind.hours || unit == HoursUnit::Decimal)
        return header;
    return header + (unit == HoursUnit::HoursMinutes ? QStringLiteral("（時:分）")
                                                     : QStringLiteral("（分）"));
}

QString fieldOf(const PayrollRow& r, const QString& key, HoursUnit unit)
{
    static const std::map<QString, std::function<QString(const PayrollRow&, HoursUnit)>> fields{
        {"staffCd", [](const PayrollRow& r, HoursUnit) { return r.staffCd; }},
        {"staffNm", [](const PayrollRow& r, HoursUnit) { return r.staffNm; }},
        {"syoriDt", [](const PayrollRow& r, HoursUnit) { return r.syoriDt; }},
        {"kikanSt", [](const PayrollRow& r, HoursUnit) { return slashDate(r.kikanSt); }},
        {"kikanEn", [](const PayrollRow& r, HoursUnit) { return slashDate(r.kikanEn); }},
        {"workDays", [](const PayrollRow& r, HoursUnit) { return QString::number(r.workDays); }},
        {"holidayWorkDays",
         [](const PayrollRow& r, HoursUnit) { return QString::number(r.holidayWorkDays); }},
        {"restDays", [](const PayrollRow& r, HoursUnit) { return QString::number(r.restDays); }},
        {"kihon1", [](const PayrollRow& r, HoursUnit u) { return hoursIn(r.kihon1, u); }},
        {"kihon2", [](const PayrollRow& r, HoursUnit u) { return hoursIn(r.kihon2, u); }},
        {"kihon3", [](const PayrollRow& r, HoursUnit u) { return hoursIn(r.kihon3, u); }},
        {"kihon4", [](const PayrollRow& r, HoursUnit u) { return hoursIn(r.kihon4, u); }},
        {"closed",
         [](const PayrollRow& r, HoursUnit) {
             return r.closed ? QStringLiteral("締め済") : QStringLiteral("未締め");
         }},
        {"paidLeaveDays",
         [](const PayrollRow& r, HoursUnit) { return QString::number(r.paidLeaveDays); }},
        {"absenceDays",
         [](const PayrollRow& r, HoursUnit) { return QString::number(r.absenceDays); }},
        {"specialLeaveDays",
         [](const PayrollRow& r, HoursUnit) { return QString::number(r.specialLeaveDays); }},
        {"substituteDays",
         [](const PayrollRow& r, HoursUnit) { return QString::number(r.substituteDays); }},
        {"hounai",
         [](const PayrollRow& r, HoursUnit u) { return minutesIn(r.legal.withinLegal, u); }},
        {"hougai", [](const PayrollRow& r, HoursUnit u) { return minutesIn(r.legal.overtime, u); }},
        {"hougai60",
         [](const PayrollRow& r, HoursUnit u) { return minutesIn(r.legal.overtimeOver60, u); }},
        {"kyujitu",
         [](const PayrollRow& r, HoursUnit u) { return minutesIn(r.legal.legalHoliday, u); }},
        {"sinya", [](const PayrollRow& r, HoursUnit u) { return minutesIn(r.legal.night, u); }},
    };
    const auto found = fields.find(key);
    return found == fields.end() ? QString() : found->second(r, unit);
}

} // namespace

std::vector<PayrollColumn> PayrollLayout::allColumns()
{
    std::vector<PayrollColumn> columns;
    for (const ColumnKind& kind : kColumns)
        columns.push_back({QLatin1String(kind.key), QString::fromUtf8(kind.header)});
    return columns;
}

PayrollLayout PayrollLayout::standard()
{
    PayrollLayout layout;
    for (const ColumnKind& kind : kColumns) {
        if (!kind.law)
            layout.columns.push_back({QLatin1String(kind.key), QString::fromUtf8(kind.header)});
    }
    return layout;
}

bool PayrollLayout::carriesLawsHours() const
{
    return std::any_of(columns.begin(), columns.end(), [](const PayrollColumn& column) {
        const ColumnKind* kind = kindOf(column.key);
        return kind && kind->law;
    });
}

QString PayrollLayout::toText() const
{
    QStringList lines{QLatin1String(unitCode(unit))};
    for (const PayrollColumn& column : columns)
        lines << column.key + u'\t' + QString(column.header).remove(u'\t').remove(u'\n');
    return lines.join(u'\n');
}

PayrollLayout PayrollLayout::fromText(const QString& name, const QString& text)
{
    PayrollLayout layout;
    layout.name = name;
    const QStringList lines = text.split(u'\n');
    for (const HoursUnit unit : {HoursUnit::HoursMinutes, HoursUnit::Minutes}) {
        if (lines.value(0) == QLatin1String(unitCode(unit)))
            layout.unit = unit;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString key = lines[i].section(u'\t', 0, 0);
        if (kindOf(key))
            layout.columns.push_back({key, lines[i].section(u'\t', 1)});
    }
    return layout;
}

CsvFile payrollCsv(const std::vector<PayrollRow>& rows, CsvEncoding encoding,
                   const PayrollLayout& layout)
{
    QStringList header;
    for (const PayrollColumn& column : layout.columns)
        header << headerIn(*kindOf(column.key), column.header, layout.unit);
    std::vector<CsvRow> lines;
    lines.reserve(rows.size());
    for (const PayrollRow& r : rows) {
        QStringList fields;
        for (const PayrollColumn& column : layout.columns)
            fields << fieldOf(r, column.key, layout.unit);
        lines.push_back({QStringLiteral("スタッフ %1 %2").arg(r.staffCd, r.staffNm), fields});
    }
    return csvFile(header, lines, encoding);
}

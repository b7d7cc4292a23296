#include "PayrollCsv.h"

#include <QStringEncoder>
#include <QStringList>

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

CsvFile payrollCsv(const std::vector<PayrollRow>& rows, CsvEncoding encoding)
{
    std::vector<CsvRow> lines;
    lines.reserve(rows.size());
    for (const PayrollRow& r : rows) {
        lines.push_back(
            {QStringLiteral("スタッフ %1 %2").arg(r.staffCd, r.staffNm),
             {r.staffCd, r.staffNm, r.syoriDt, slashDate(r.kikanSt), slashDate(r.kikanEn),
              QString::number(r.workDays), QString::number(r.holidayWorkDays),
              QString::number(r.restDays), hours(r.kihon1), hours(r.kihon2), hours(r.kihon3),
              hours(r.kihon4), r.closed ? QStringLiteral("締め済") : QStringLiteral("未締め"),
              QString::number(r.paidLeaveDays), QString::number(r.absenceDays),
              QString::number(r.specialLeaveDays), QString::number(r.substituteDays)}});
    }
    return csvFile({"スタッフコード", "スタッフ氏名", "処理年月", "期間開始", "期間終了",
                    "出勤日数", "休日出勤日数", "公休日数", "基本時間", "残業時間", "深夜時間",
                    "休憩時間", "締め", "有給休暇日数", "欠勤日数", "特別休暇日数",
                    "振替休日・代休日数"},
                   lines, encoding);
}

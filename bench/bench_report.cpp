// The attendance sheets of 300 staff for one month (300 pages) as a PDF: the whole run (rows read,
// laid out by the band engine, painted) next to a bare baseline that paints the same lines and
// texts with QPainter alone into the same kind of PDF device.

#include "Database.h"
#include "ProgramSetup.h"
#include "ReportPaint.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TempDatabase.h"
#include "TimesheetStore.h"
#include "rptSyukin.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStaff = 300;
const QString kMonth = QStringLiteral("200512");
const QDate kFirst(2005, 12, 1);

class Fixture {
public:
    static Fixture& instance()
    {
        static Fixture fixture;
        return fixture;
    }
    Database& db() { return m_temp.db(); }

private:
    Fixture()
    {
        Transaction fill(m_temp.db());
        for (int s = 0; s < kStaff; ++s) {
            const QString code = QStringLiteral("%1").arg(s + 1, 4, 10, QLatin1Char('0'));
            SaveStaff(m_temp.db(),
                      {code, QStringLiteral("職員　%1").arg(s), QStringLiteral("ｼｮｸｲﾝ")});
            saveMonth(m_temp.db(),
                      {code, {}, {}, kMonth, kFirst, kFirst.addDays(30), 160, 8, 2, 20},
                      workedMonth(code, kMonth, kFirst, 31));
        }
        fill.commit();
    }
    TempDatabase m_temp;
};

void Report_AllSheetsToPdf(benchmark::State& state)
{
    Fixture& f = Fixture::instance();
    qint64 bytes = 0;
    for (auto _ : state) {
        rptSyukin report(f.db());
        report.pStaffCdSt = QStringLiteral("0000");
        report.pStaffCdEn = QStringLiteral("9999");
        report.pSyoriDtSt = kMonth;
        report.pSyoriDtEn = kMonth;
        const ReportDocument document = report.run(QDate(2026, 12, 6));
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(1440);
            paintReport(document, writer);
        }
        bytes = pdf.size();
    }
    state.counters["pages"] = kStaff;
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(Report_AllSheetsToPdf)->Unit(benchmark::kMillisecond);

// The same page content drawn by hand: a page header, 31 day lines of nine texts and eleven rules,
// the totals, page after page.
void Baseline_AllPagesWithQPainter(benchmark::State& state)
{
    const QStringList cells{"1",    "木",   "通常出勤", "09:00", "18:00",
                            "8.00", "0.00", "0.00",     "1.00"};
    const int lefts[] = {227, 794, 1365, 2608, 3458, 4309, 5159, 6009, 6860};
    const int widths[] = {397, 453, 1140, 737, 737, 737, 737, 737, 737};
    const QStringList headings{"日",    "曜",    "出勤区分", "出 勤", "退 勤",
                               "基 本", "残 業", "深 夜",    "休 憩", "備 考"};
    const int rules[] = {142, 705, 1276, 2551, 3402, 4252, 5102, 5953, 6803, 7654, 10488};
    QFont mincho(QStringLiteral("ＭＳ 明朝"));
    mincho.setPixelSize(200);
    QFont title(QStringLiteral("ＭＳ Ｐ明朝"));
    title.setPixelSize(290);
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(1440);
            writer.setPageLayout(rptSyukin::Definition().pageLayout);
            QPainter painter(&writer);
            QPen rule(Qt::black);
            rule.setWidthF(10);
            for (int page = 0; page < kStaff; ++page) {
                if (page > 0)
                    writer.newPage();
                painter.setFont(title);
                painter.setPen(Qt::black);
                painter.drawText(QRectF(0, 0, 10488, 340), Qt::AlignHCenter, "2005年12月分出勤表");
                painter.setFont(mincho);
                painter.drawText(QRectF(0, 390, 10488, 340), Qt::AlignHCenter,
                                 "( 2005/12/01～2005/12/31 )");
                painter.drawText(QRectF(7875, 495, 2595, 300), Qt::AlignRight, "令和8年12月6日");
                painter.drawText(QRectF(113, 1028, 1134, 284), Qt::AlignLeft, "ｽﾀｯﾌ氏名:");
                painter.drawText(QRectF(1305, 1035, 3795, 285), Qt::AlignLeft, "職員　1");
                painter.setPen(rule);
                painter.drawLine(QLineF(142, 1482, 10488, 1482));
                for (int x : rules)
                    painter.drawLine(QLineF(x, 1482, x, 1907));
                painter.setPen(Qt::black);
                for (int c = 0; c < 10; ++c)
                    painter.drawText(QRectF(c < 9 ? lefts[c] : 7710, 1595, 737, 284),
                                     Qt::AlignHCenter, headings[c]);
                for (int day = 0; day < 31; ++day) {
                    const double top = 1905 + day * 270;
                    painter.setPen(rule);
                    painter.drawLine(QLineF(142, top, 10488, top));
                    for (int x : rules)
                        painter.drawLine(QLineF(x, top, x, top + 283));
                    painter.setPen(day % 7 == 2 ? QColor(0, 0, 255) : QColor(Qt::black));
                    for (int c = 0; c < 9; ++c)
                        painter.drawText(QRectF(lefts[c], top + 57, widths[c], 226),
                                         Qt::AlignHCenter, cells[c]);
                }
                const double footer = 1905 + 31 * 270;
                painter.setPen(rule);
                painter.drawLine(QLineF(142, footer, 10488, footer));
                for (const QLineF& line :
                     {QLineF(1984, 502, 5244, 502), QLineF(1984, 927, 5244, 927),
                      QLineF(5386, 502, 8646, 502), QLineF(5386, 927, 8646, 927),
                      QLineF(5385, 1350, 8655, 1350), QLineF(1984, 502, 1984, 927),
                      QLineF(4252, 502, 4252, 927), QLineF(5244, 502, 5244, 927),
                      QLineF(5386, 502, 5386, 1352), QLineF(7654, 502, 7654, 1352),
                      QLineF(8646, 502, 8646, 1352)})
                    painter.drawLine(line.translated(0, footer));
                painter.setPen(Qt::black);
                painter.drawText(QRectF(2041, footer + 587, 2154, 283), Qt::AlignHCenter,
                                 "基 本 時 間 数 合 計");
                painter.drawText(QRectF(5443, footer + 587, 2154, 283), Qt::AlignHCenter,
                                 "残 業 時 間 数 合 計");
                painter.drawText(QRectF(5443, footer + 1040, 2154, 227), Qt::AlignHCenter,
                                 "深 夜 時 間 数 合 計");
                painter.drawText(QRectF(4309, footer + 587, 850, 283), Qt::AlignRight, "160.00");
                painter.drawText(QRectF(7710, footer + 587, 907, 283), Qt::AlignRight, "8.00");
                painter.drawText(QRectF(7710, footer + 1029, 907, 227), Qt::AlignRight, "2.00");
            }
        }
        bytes = pdf.size();
    }
    state.counters["pages"] = kStaff;
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(Baseline_AllPagesWithQPainter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "CalendarStore.h"
#include "Common.h"
#include "HistoryReport.h"
#include "InputFields.h"
#include "LeaveReport.h"
#include "LeaveStore.h"
#include "LegalStore.h"
#include "MonitorReport.h"
#include "MonthLog.h"
#include "ProgramSetup.h"
#include "ReportPaint.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TimesheetStore.h"
#include "frmInsatu.h"
#include "rptSyukin.h"

#include "ReportPreview.h"
#include "ScreenTest.h"
#include "TempDatabase.h"
#include "TestRows.h"

#include <QApplication>
#include <QPageRanges>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kMonth = QStringLiteral("200512");
const QDate kFirst(2005, 12, 1); // a Thursday
const QDate kToday(2026, 12, 6);

// December 2005 of one staff member: the 1st worked 09:00 to 18:00, the 3rd (Saturday) a rest
// day with hours left over in the file, the 5th (Monday) a working day without times.
std::vector<DayRow> december(const QString& code)
{
    std::vector<DayRow> rows = workedMonth(code, kMonth, kFirst, 31);
    rows[2].syukinKb = "2";
    rows[3].syukinKb = "2";
    rows[4].syukin.clear();
    rows[4].taisya.clear();
    rows[4].kihon1 = rows[4].kihon4 = 0;
    rows[6].syukinKb = "1";
    return rows;
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestAttendanceSheet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutes(); }

    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        SaveStaff(m_temp->db(), {"0001", "青木　一郎", "ｱｵｷ"});
        SaveStaff(m_temp->db(), {"0002", "伊藤　花子", "ｲﾄｳ"});
        SaveStaff(m_temp->db(), {"0003", "上田", "ｳｴﾀﾞ"}); // no month
        // The summary's period differs from the day lines, as the clerk may have chosen.
        saveMonth(
            m_temp->db(),
            {"0001", {}, {}, kMonth, QDate(2005, 11, 26), QDate(2005, 12, 25), 1234.5, 10, 2.5, 20},
            december("0001"));
        saveMonth(m_temp->db(), {"0002", {}, {}, kMonth, kFirst, QDate(2005, 12, 31), 8, 0, 0, 1},
                  december("0002"));
        saveCompanyDayOff(m_temp->db(), {QDate(2005, 12, 29), "年末年始"});
        gDb = openDatabase(m_temp->path());
    }

    void cleanup()
    {
        delete gfrmInsatu;
        gDb.reset();
        m_temp.reset();
    }

    void oneSheetPerStaffMember()
    {
        const ReportDocument doc = sheets("0000", "9999");
        QCOMPARE(doc.pages.size(), std::size_t(2)); // each member on a page of their own
        QCOMPARE(doc.pages[1].textsOf("txt_staffNm").front().text, QStringLiteral("伊藤　花子"));
        const ReportPage& page = doc.pages[0];
        // The whole month with its bands fits the body.
        QCOMPARE(page.textsOf("txt_date").size(), std::size_t(31));
        QVERIFY(page.textsOf("txt_g_sinyaJn").front().rect.bottom() <=
                printableTwips(doc.pageLayout).height());
        const auto cell = [&page](const char* control, int day) {
            return page.textsOf(QLatin1String(control)).at(day - 1).text;
        };
        QCOMPARE(cell("txt_syukinKb", 1) + cell("txt_syukinJn", 1) + cell("txt_kihonJn", 1),
                 QStringLiteral("通常出勤09:008.00"));
        // A rest day: day, weekday and class, nothing else, even with hours in the file.
        QCOMPARE(cell("txt_week", 3) + cell("txt_syukinKb", 3) + cell("txt_kihonJn", 3),
                 QStringLiteral("土公休日"));
        // A working day without times.
        QCOMPARE(cell("txt_syukinJn", 5) + cell("txt_kihonJn", 5), QStringLiteral("0.00"));
        QCOMPARE(cell("txt_syukinKb", 7), QStringLiteral("休日出勤"));
        // Friday the 23rd, 天皇誕生日, and Thursday the 29th, the office's own day off, are
        // printed red like a Sunday, with their names in the remarks.
        for (const int day : {23, 29})
            QCOMPARE(page.textsOf("txt_date").at(day - 1).colour, QColor(Qt::red));
        QCOMPARE(page.textsOf("txt_date").at(21).colour, QColor(Qt::black));
        QCOMPARE(cell("txt_bikou", 23) + cell("txt_bikou", 29) + cell("txt_bikou", 22),
                 QStringLiteral("天皇誕生日年末年始"));
        // The header shows the summary's own period; the footer its totals.
        QCOMPARE(page.textsOf("txt_title").front().text, QStringLiteral("2005年12月分出勤表"));
        QCOMPARE(page.textsOf("txt_kikan").front().text,
                 QStringLiteral("( 2005/11/26～2005/12/25 )"));
        QCOMPARE(page.textsOf("Field1").front().text, QStringLiteral("令和8年12月6日"));
        QCOMPARE(page.textsOf("txt_g_kihonJn").front().text, QStringLiteral("1,234.50"));
        QVERIFY(page.textsOf("txt_g_kyukeiJn").empty()); // no break total on the sheet
    }

    // Leave and absence are counted below the totals of a month that has any, and a month
    // without them prints as it always did.
    void leaveIsCountedBelowTheTotals()
    {
        std::vector<DayRow> days = december("0002");
        for (const auto& [day, dayClass] : {std::pair{5, "3"}, {6, "4"}, {12, "6"}, {13, "8"}})
            days[size_t(day - 1)].syukinKb = dayClass;
        saveMonth(m_temp->db(), {"0002", {}, {}, kMonth, kFirst, QDate(2005, 12, 31), 8, 0, 0, 1},
                  days);
        const ReportDocument doc = sheets("0000", "9999");
        QCOMPARE(doc.pages[0].textsOf("txt_g_kyuka").front().text, QString());
        QCOMPARE(doc.pages[1].textsOf("txt_g_kyuka").front().text,
                 QStringLiteral("有給休暇 1.5日　欠勤 1日　特別休暇 0日"));
        QCOMPARE(doc.pages[1].textsOf("txt_syukinKb").at(12).text, QStringLiteral("振休・代休"));
    }

    void pdfHoldsTheJapaneseText()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sheet.pdf");
        {
            ScriptedMessages messages;
            ScriptedFiles files({pdf});
            WindowEvents progress("frmStopWatch", QEvent::Show);
            saveReportPdf(sheets("0000", "9999"), nullptr);
            QCOMPARE(progress.count(), 1);
            QCOMPARE(messages.texts(), QStringList{"PDFファイル " + pdf + " を保存しました。"});
        }
        const QString text = run("pdftotext", {"-layout", pdf, "-"});
        for (const char* expected : {"2005年12月分出勤表", "令和8年12月6日", "青木", "伊藤",
                                     "出勤区分", "公休日", "09:00", "1,234.50"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QCOMPARE(text.count(u'\f'), 2); // two pages
        const QString fonts = run("pdffonts", {pdf});
        QVERIFY2(fonts.contains("IPAPMincho") && fonts.contains("IPAMincho"), qPrintable(fonts));
    }

    void printerGetsTheChosenPagesAndCopies_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QStringList>("members");
        const QString first = "青木", second = "伊藤";
        addTestRow("every page", QString(), 1, true, QStringList{first, second});
        addTestRow("page 2 to 2", "2", 1, true, QStringList{second});
        addTestRow("past the last page", "3-5", 1, true, QStringList{});
        addTestRow("copies collated", QString(), 2, true,
                   QStringList{first, second, first, second});
        addTestRow("copies not collated", "1-2", 2, false,
                   QStringList{first, first, second, second});
    }
    void printerGetsTheChosenPagesAndCopies()
    {
        QFETCH(QString, range);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(QStringList, members);
        QTemporaryDir dir;
        // A PDF printer leaves copies to the program, as a queue without copies of its own does.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        if (!range.isEmpty()) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setPageRanges(QPageRanges::fromString(range));
        }
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        printReport(sheets("0000", "9999"), printer);
        QStringList printed;
        if (!members.isEmpty()) { // a printer given no page writes no file
            static const QRegularExpression name("青木|伊藤");
            const QString text = run("pdftotext", {printer.outputFileName(), "-"});
            for (const auto& match : name.globalMatch(text))
                printed << match.captured();
        }
        QCOMPARE(printed, members);
    }

    void sheetFitsWhatThePrinterCanPrint_data()
    {
        QTest::addColumn<QPageLayout>("paper");
        QTest::addColumn<double>("border"); // the widest margin the words keep, in points
        const QMarginsF none, wide(56.69, 56.69, 56.69, 56.69); // 20 mm
        const auto paper = [](QPageSize::PageSizeId size, QPageLayout::Orientation orientation,
                              const QMarginsF& least) {
            return QPageLayout(QPageSize(size), orientation, least, QPageLayout::Point, least);
        };
        addTestRow("A4 printed to its edges", paper(QPageSize::A4, QPageLayout::Portrait, none),
                   33.5);
        addTestRow("A4 with 20 mm borders", paper(QPageSize::A4, QPageLayout::Portrait, wide),
                   56.69);
        addTestRow("A5 landscape chosen", paper(QPageSize::A5, QPageLayout::Landscape, wide),
                   56.69);
    }
    void sheetFitsWhatThePrinterCanPrint()
    {
        QFETCH(QPageLayout, paper);
        QFETCH(double, border);
        const ReportDocument document = sheets("0000", "9999");
        QTemporaryDir dir;
        const QString path = dir.filePath("fitted.pdf");
        {
            QPdfWriter writer(path);
            writer.setResolution(1440);
            paintReport(document, writer, {{0}, layoutOnPaper(document.pageLayout, paper)});
        }
        // Every word and the print date lie inside the printable area of the paper chosen.
        const QString boxes = run("pdftotext", {"-bbox", path, "-"});
        static const QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
        const QRegularExpressionMatch size = page.match(boxes);
        QVERIFY(size.hasMatch());
        const QSizeF expected = paper.fullRect(QPageLayout::Point).size();
        QCOMPARE(qRound(size.captured(1).toDouble()), qRound(expected.width()));
        QCOMPARE(qRound(size.captured(2).toDouble()), qRound(expected.height()));
        static const QRegularExpression word(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*))re");
        QStringList words;
        for (const auto& match : word.globalMatch(boxes)) {
            words << match.captured(5);
            const QRectF box(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                             QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
            const QRectF inside = QRectF(QPointF(), expected)
                                      .adjusted(border - 1, border - 1, 1 - border, 1 - border);
            QVERIFY2(inside.contains(box), qPrintable(match.captured(5)));
        }
        QVERIFY(words.contains("令和8年12月6日") && words.contains("備"));
    }

    void printedHistoryKeepsEveryWord()
    {
        const QString change = "03/01 通常出勤 09:00-18:00 8.00/0.00/0.00/1.00 → 通常出勤 "
                               "09:00-19:00 8.00/1.00/0.00/1.00";
        const QString restore = "ファイル /home/jimu/バックアップ/2026年11月末の勤怠データ_最終版_"
                                "確認済み_経理提出用_控え.tim から復元";
        const HistoryEntry entry{QDateTime(QDate(2026, 12, 7), QTime(10, 0)),
                                 "clerk",
                                 "0001",
                                 kMonth,
                                 "保存",
                                 change + '\n' + restore};
        const ReportDocument document = historyReport("変更履歴 0001 青木", {entry}, kToday);
        QCOMPARE(document.title, QStringLiteral("変更履歴"));
        QVERIFY(document.pages.front().textsOf("txt_change").size() > 2); // lines were wrapped
        QTemporaryDir dir;
        const QString pdf = dir.filePath("history.pdf");
        QVERIFY(writeReportPdf(document, pdf));
        static const QRegularExpression blanks("\\s");
        const QString text = run("pdftotext", {"-raw", pdf, "-"}).remove(blanks);
        for (const QString& line : {change, restore})
            QVERIFY2(text.contains(QString(line).remove(blanks)), qPrintable(text));
    }

    // The printed ledger holds a member's grant years in the Japanese era, every day taken.
    void printedLedgerReadsBack()
    {
        Database& db = m_temp->db();
        saveConditions(db, {"0002", QDate(2005, 4, 1), QDate(), 5, 40, 8});
        std::vector<DayRow> days = december("0002");
        for (const int day : {5, 6, 7, 8, 9, 12, 13})
            days[size_t(day - 1)].syukinKb = day == 13 ? "5" : "3";
        saveMonth(db, {"0002", {}, {}, kMonth, kFirst, QDate(2005, 12, 31), 8, 0, 0, 1}, days);
        MemberLeave leave;
        QVERIFY(leave.load(db, "2", QDate(2006, 3, 31)));
        const ReportDocument document = leaveLedgerReport(leave, kToday);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("ledger.pdf");
        QVERIFY(writeReportPdf(document, pdf));
        static const QRegularExpression blanks("\\s");
        const QString text = run("pdftotext", {"-raw", pdf, "-"}).remove(blanks);
        for (const char* expected :
             {"年次有給休暇管理簿", "0002伊藤", "入社日平成17年4月1日", "平成18年3月31日現在",
              "H17.10.1", "法定（記録なし）", "H17.12.5,H17.12.6,H17.12.7,H17.12.8,H17.12.9,",
              "H17.12.12,H17.12.13(半)", "6.5", "3.5", "達成"})
            QVERIFY2(text.contains(QString::fromUtf8(expected).remove(blanks)), expected);
    }

    // The monitor reads a year of months, made from the stored days where none were stored, and
    // its printed list holds every month of every member.
    void printedMonitorReadsBack()
    {
        Database& db = m_temp->db();
        LegalSettings settings;
        settings.enabled = true;
        // December 2005 of 伊藤, every day 9 to 20: two hours past 8 each day.
        std::vector<DayRow> days = december("0002");
        for (DayRow& day : days) {
            day.syukin = "0900";
            day.taisya = "2000";
        }
        saveMonth(db, {"0002", {}, {}, kMonth, kFirst, QDate(2005, 12, 31), 8, 0, 0, 1}, days);
        const std::vector<MonitorRow> rows = loadAgreementMonitor(db, 2005, settings);
        QCOMPARE(rows.size(), size_t(3));
        const MonitorRow& ito = rows[1];
        QCOMPARE(ito.staffCd, QStringLiteral("0002"));
        QCOMPARE(ito.months.size(), size_t(12));
        QCOMPARE(ito.months[8].month, 12);
        QCOMPARE(ito.checks[8].state, AgreementState::Over); // past 45 hours
        const QTemporaryDir dir;
        const QString pdf = dir.filePath("monitor.pdf");
        QVERIFY(writeReportPdf(agreementMonitorReport(rows, 2005, kToday), pdf));
        const QString text = run("pdftotext", {"-layout", pdf, "-"});
        const QStringList texts = monitorRow(ito);
        for (const QString& expected :
             QStringList{"36協定 一覧", "2005年度", "12月", "年計", texts[10], texts[14]})
            QVERIFY2(text.contains(expected), qPrintable(expected));
    }

    void printScreenRuns_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QDate>("month");
        QTest::addColumn<int>("pages");
        addTestRow("everyone", "0000", "9999", QDate(2005, 12, 1), 2);
        addTestRow("one member", "0002", "0002", QDate(2005, 12, 1), 1);
        addTestRow("month without rows", "0000", "9999", QDate(2005, 11, 1), 0);
    }
    void printScreenRuns()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QDate, month);
        QFETCH(int, pages);
        frmInsatu* screen = new frmInsatu(QDate(2006, 1, 10));
        gfrmInsatu = screen;
        QVERIFY(showActive(screen));
        QCOMPARE(screen->findChild<DateField*>("txt_syoriDt")->valueText(),
                 QStringLiteral("200512"));
        screen->findChild<TextField*>("txt_staffCd_0")->setValue(from);
        screen->findChild<TextField*>("txt_staffCd_1")->setValue(to);
        screen->findChild<DateField*>("txt_syoriDt")->setValue(month);

        ScriptedMessages messages;
        WindowEvents progress("frmStopWatch", QEvent::Show);
        int shown = 0;
        setPreviewStandIn(
            [&shown](const ReportDocument& document) { shown = int(document.pages.size()); });
        QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        setPreviewStandIn({});
        QCOMPARE(shown, pages);
        QCOMPARE(progress.count(), pages > 0 ? 1 : 0);
        QCOMPARE(messages.texts().isEmpty(), pages > 0);
        QVERIFY(screen->isVisible()); // stays for another run
    }

    void printScreenClosesTheRange()
    {
        auto* screen = new frmInsatu(QDate(2006, 1, 10));
        gfrmInsatu = screen;
        QVERIFY(showActive(screen));
        ScriptedMessages messages;
        for (int run = 0; run < 2; ++run)
            QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_4"), Qt::LeftButton);
        QCOMPARE(
            messages.texts(),
            (QStringList{"2 人分の2005年12月分を締めますか？締めた月は解除するまで変更できません。",
                         "2 人分を締めました。", "締める月がありません。"}));
        QVERIFY(isMonthClosed(m_temp->db(), "0001", kMonth) &&
                isMonthClosed(m_temp->db(), "0002", kMonth));
    }

private:
    ReportDocument sheets(const QString& from, const QString& to)
    {
        rptSyukin report(m_temp->db());
        report.pStaffCdSt = from;
        report.pStaffCdEn = to;
        report.pSyoriDtSt = kMonth;
        report.pSyoriDtEn = kMonth;
        return report.run(kToday);
    }

    std::unique_ptr<TempDatabase> m_temp;
};

QTEST_MAIN(TestAttendanceSheet)
#include "tst_attendancesheet.moc"

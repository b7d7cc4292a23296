#include "ReportEngine.h"
#include "ReportFormat.h"

#include "TestRows.h"

#include <QTest>

namespace {

// A source of n rows in groups of groupSize, numbered from 1.
class CountingSource : public ReportSource {
public:
    CountingSource(int rows, int groupSize)
        : m_rows(rows)
        , m_groupSize(groupSize)
    {
    }

    void dataInitialize(ReportFields& fields) override
    {
        fields.declare("Group");
        fields.declare("Number");
        ++initialized;
    }

    bool fetchData(ReportFields& fields, ReportStyle& style) override
    {
        if (m_next > m_rows)
            return true;
        fields.set("group", (m_next - 1) / m_groupSize); // names ignore letter case
        fields.set("NUMBER", double(m_next));
        style.setTextColour("txt_number", m_next % 2 ? QColor(Qt::red) : QColor(Qt::black));
        ++m_next;
        return false;
    }

    int initialized = 0;

private:
    int m_rows;
    int m_groupSize;
    int m_next = 1;
};

ReportDefinition definition(bool newPagePerGroup)
{
    ReportDefinition d;
    const ReportFont font{"ＭＳ 明朝", 10};
    using Source = ReportText::Source;
    // clang-format off
    d.pageHeader = {"PageHeader", 500, {{"lbl_title", Source::Caption, "見出し",
                    {0, 0, 5000, 300}, font, Qt::AlignHCenter, {}}}, {}};
    d.groupHeader = {"GroupHeader1", 400, {{"txt_group", Source::Field, "group",
                     {0, 0, 2000, 300}, font, Qt::AlignLeft, {}}}, {QLine(0, 390, 5000, 390)}};
    d.detail = {"Detail", 300, {{"txt_number", Source::Field, "number", {0, 0, 2000, 280}, font,
                Qt::AlignRight, "#,##0.00"}}, {QLine(0, 0, 5000, 0)}};
    d.groupFooter = {"GroupFooter1", 600, {{"txt_last", Source::Field, "number",
                     {0, 100, 2000, 280}, font, Qt::AlignRight, "0"}}, {}};
    d.pageFooter = {"PageFooter", 300, {{"txt_today", Source::Today, {}, {0, 0, 3000, 280}, font,
                    Qt::AlignLeft, "ggge年m月d日"}}, {}};
    // clang-format on
    d.groupField = "group";
    d.groupStartsNewPage = newPagePerGroup;
    // A small page: 10000 twips of printable height.
    d.pageLayout = QPageLayout(QPageSize(QSizeF(300, 600), QPageSize::Point), QPageLayout::Portrait,
                               QMarginsF(0, 50, 0, 50), QPageLayout::Point);
    return d;
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* text, double value, const char* pattern) {
            addTestRow(text, value, pattern, text);
        };
        row("0.00", 0, "#,##0.00");
        row("12.33", 12.3333333333333, "#,##0.00");
        row("1,234.50", 1234.5, "#,##0.00");
        row("7", 7, "0");
    }
    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QCOMPARE(formatNumber(value, pattern), text);
    }

    void eraDates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        addTestRow("today's era", QDate(2026, 12, 6), "令和8年12月6日");
        addTestRow("last day of Heisei", QDate(2019, 4, 30), "平成31年4月30日");
        addTestRow("Showa", QDate(1988, 1, 15), "昭和63年1月15日");
    }
    void eraDates()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(formatEraDate(date, "ggge年m月d日"), text);
        QVERIFY(formatEraDate(QDate(2019, 5, 1), "ggge年m月d日").startsWith("令和"));
    }

    void bandsFillPagesAndBreakWhenFull()
    {
        CountingSource source(40, 1000);
        const ReportDocument doc = runReport(definition(false), source, QDate(2026, 12, 6));
        QCOMPARE(source.initialized, 1);
        // Page body: 10000 - 300 footer - 500 header = 9200; the first page also holds the group
        // header (400), so 29 rows; then 30 rows per page.
        QCOMPARE(doc.pages.size(), std::size_t(2));
        QCOMPARE(doc.pages[0].textsOf("txt_number").size(), std::size_t(29));
        QCOMPARE(doc.pages[1].textsOf("txt_number").size(), std::size_t(11));
        for (const ReportPage& page : doc.pages) {
            QCOMPARE(page.textsOf("lbl_title").size(), std::size_t(1));
            QCOMPARE(page.textsOf("txt_today").front().text, QStringLiteral("令和8年12月6日"));
            QCOMPARE(page.textsOf("txt_today").front().rect.top(), 9700.0);
            for (const PlacedText& t : page.textsOf("txt_number"))
                QVERIFY(t.rect.top() + 300 <= 9700);
        }
        const std::vector<PlacedText> first = doc.pages[0].textsOf("txt_number");
        QCOMPARE(first.front().text, QStringLiteral("1.00"));
        QCOMPARE(first.front().rect.top(), 900.0);
        QCOMPARE(first[1].rect.top(), 1200.0);
        QCOMPARE(doc.pages[1].textsOf("txt_number").front().rect.top(), 500.0);
        QCOMPARE(doc.pages[0].lines.front(), QLineF(0, 890, 5000, 890)); // moved with its section
    }

    void groupsOnNewPages()
    {
        CountingSource source(6, 2);
        const ReportDocument doc = runReport(definition(true), source, QDate(2026, 12, 6));
        QCOMPARE(doc.pages.size(), std::size_t(3));
        for (const ReportPage& page : doc.pages) {
            QCOMPARE(page.textsOf("txt_group").size(), std::size_t(1));
            QCOMPARE(page.textsOf("txt_number").size(), std::size_t(2));
            QCOMPARE(page.textsOf("txt_last").size(), std::size_t(1));
        }
        QCOMPARE(doc.pages[2].textsOf("txt_group").front().text, QStringLiteral("2"));

        CountingSource together(6, 2);
        QCOMPARE(runReport(definition(false), together, QDate()).pages.size(), std::size_t(1));
    }

    void footerShowsItsGroupsLastRowAndRowsTheirColours()
    {
        CountingSource source(6, 3);
        const ReportDocument doc = runReport(definition(false), source, QDate());
        const std::vector<PlacedText> footers = doc.pages[0].textsOf("txt_last");
        QCOMPARE(footers.size(), std::size_t(2));
        QCOMPARE(footers[0].text, QStringLiteral("3"));
        QCOMPARE(footers[1].text, QStringLiteral("6"));
        // A row's colour stays with it; the page header keeps its own.
        const std::vector<PlacedText> rows = doc.pages[0].textsOf("txt_number");
        QCOMPARE(rows[1].colour, QColor(Qt::black));
        QCOMPARE(rows[2].colour, QColor(Qt::red));
        QCOMPARE(doc.pages[0].textsOf("lbl_title").front().colour, QColor(Qt::black));
    }

    void runWithoutRowsGivesOnePage()
    {
        CountingSource source(0, 1);
        const ReportDocument doc = runReport(definition(true), source, QDate());
        QCOMPARE(doc.pages.size(), std::size_t(1));
        QVERIFY(doc.pages[0].textsOf("txt_number").empty());
        QCOMPARE(doc.pages[0].textsOf("lbl_title").size(), std::size_t(1));
    }

    void undeclaredFieldIsRefused()
    {
        ReportFields fields;
        fields.declare("staffNm");
        fields.set("STAFFNM", "青木");
        QCOMPARE(fields.value("staffnm").toString(), QStringLiteral("青木"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, fields.set("kikan", "x"));
    }
};

QTEST_GUILESS_MAIN(TestReportEngine)
#include "tst_reportengine.moc"

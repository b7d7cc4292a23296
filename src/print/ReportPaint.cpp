#include "ReportPaint.h"

#include "WholeFile.h"

#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

void paintPage(QPainter& painter, const ReportPage& page)
{
    QPen rule(Qt::black);
    rule.setWidthF(10); // half a point
    painter.setPen(rule);
    for (const QLineF& line : page.lines)
        painter.drawLine(line);
    const ReportFont* current = nullptr;
    for (const PlacedText& text : page.texts) {
        if (text.text.isEmpty())
            continue;
        if (!current || !(*current == text.font)) { // most texts share the previous one's font
            painter.setFont(reportQFont(text.font));
            current = &text.font;
        }
        painter.setPen(text.colour);
        painter.drawText(text.rect, int(text.alignment | Qt::AlignTop | Qt::TextSingleLine),
                         text.text);
    }
}

} // namespace

std::vector<int> pagesToPaint(int pageCount, const QPageRanges& range, int copies, bool collate)
{
    std::vector<int> chosen;
    for (int page = 0; page < pageCount; ++page) {
        if (range.isEmpty() || range.contains(page + 1))
            chosen.push_back(page);
    }
    const std::size_t each = std::size_t(std::max(copies, 1));
    std::vector<int> pages;
    pages.reserve(chosen.size() * each);
    if (collate) {
        for (std::size_t copy = 0; copy < each; ++copy)
            pages.insert(pages.end(), chosen.begin(), chosen.end());
    } else {
        for (const int page : chosen)
            pages.insert(pages.end(), each, page);
    }
    return pages;
}

QPageLayout layoutOnPaper(const QPageLayout& report, const QPageLayout& paper)
{
    // A paper's margins are never narrower than what its printer cannot print.
    const QMarginsF chosen = paper.margins();
    const QMarginsF wanted = report.margins(paper.units());
    const QMarginsF margins(
        std::max(wanted.left(), chosen.left()), std::max(wanted.top(), chosen.top()),
        std::max(wanted.right(), chosen.right()), std::max(wanted.bottom(), chosen.bottom()));
    return QPageLayout(paper.pageSize(), paper.orientation(), margins, paper.units(),
                       paper.minimumMargins());
}

void paintReport(const ReportDocument& document, QPagedPaintDevice& device)
{
    paintReport(document, device,
                {pagesToPaint(int(document.pages.size()), {}, 1, true), document.pageLayout});
}

void paintReport(const ReportDocument& document, QPagedPaintDevice& device, const PaintPlan& plan)
{
    device.setPageLayout(plan.layout);
    const QSizeF form = printableTwips(document.pageLayout);
    const QSizeF area = printableTwips(plan.layout);
    const double fit = std::min({1.0, area.width() / form.width(), area.height() / form.height()});
    QPainter painter(&device);
    const double scaleX = fit * device.logicalDpiX() / 1440.0;
    const double scaleY = fit * device.logicalDpiY() / 1440.0;
    for (std::size_t i = 0; i < plan.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        painter.resetTransform();
        painter.scale(scaleX, scaleY);
        paintPage(painter, document.pages[std::size_t(plan.pages[i])]);
    }
}

bool writeReportPdf(const ReportDocument& document, const QString& path, QString* error)
{
    return writeWholeFile(
        path,
        [&document](QIODevice& file) {
            QPdfWriter writer(&file);
            writer.setResolution(1440); // one device unit to the twip
            writer.setCreator(QStringLiteral("ヌビラ"));
            paintReport(document, writer);
            return true;
        },
        error);
}

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

void paintReport(const ReportDocument& document, QPagedPaintDevice& device)
{
    paintReport(document, device, pagesToPaint(int(document.pages.size()), {}, 1, true));
}

void paintReport(const ReportDocument& document, QPagedPaintDevice& device,
                 const std::vector<int>& pages)
{
    device.setPageLayout(document.pageLayout);
    QPainter painter(&device);
    const double scaleX = device.logicalDpiX() / 1440.0;
    const double scaleY = device.logicalDpiY() / 1440.0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        painter.resetTransform();
        painter.scale(scaleX, scaleY);
        paintPage(painter, document.pages[std::size_t(pages[i])]);
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

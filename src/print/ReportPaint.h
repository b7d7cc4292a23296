#pragma once

#include "ReportEngine.h"

#include <vector>

class QPageRanges;
class QPagedPaintDevice;

// The pages a device gets, by index in the order they are painted: those in its page range (all
// when it has none), and as many copies as the device asks for but cannot make itself, each copy
// whole before the next when collated, else each page repeated.
std::vector<int> pagesToPaint(int pageCount, const QPageRanges& range, int copies, bool collate);

// How a report goes onto a device: its pages by index, in the order they are painted, and the
// page layout. On a layout whose printable area is smaller than the report's, the pages are
// scaled down to fit it.
struct PaintPlan {
    std::vector<int> pages;
    QPageLayout layout;
};

// The layout a report goes onto on a paper chosen for a printer: its size and orientation, and
// the report's margins or the paper's where those are wider, as the printer's unprintable borders
// or the clerk's choice may be.
QPageLayout layoutOnPaper(const QPageLayout& report, const QPageLayout& paper);

// Paints the pages of a laid-out report onto a printer, a preview or a PDF writer, twips converted
// to the device's resolution: every page on the report's own layout, or as planned. Fonts are
// the screen fonts' installed substitutes, so Japanese text is embedded in a PDF.
void paintReport(const ReportDocument& document, QPagedPaintDevice& device);
void paintReport(const ReportDocument& document, QPagedPaintDevice& device, const PaintPlan& plan);

// Writes the report as a PDF file, whole or not at all; false, with the system's reason, when the
// file cannot be written.
bool writeReportPdf(const ReportDocument& document, const QString& path, QString* error = nullptr);

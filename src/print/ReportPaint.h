#pragma once

#include "ReportEngine.h"

#include <vector>

class QPageRanges;
class QPagedPaintDevice;

// The pages a device gets, by index in the order they are painted: those in its page range (all
// when it has none), and as many copies as the device asks for but cannot make itself, each copy
// whole before the next when collated, else each page repeated.
std::vector<int> pagesToPaint(int pageCount, const QPageRanges& range, int copies, bool collate);

// Paints the pages of a laid-out report onto a printer, a preview or a PDF writer, twips converted
// to the device's resolution: every page, or the pages given by index in their order. Fonts are the
// screen fonts' installed substitutes, so Japanese text is embedded in a PDF.
void paintReport(const ReportDocument& document, QPagedPaintDevice& device);
void paintReport(const ReportDocument& document, QPagedPaintDevice& device,
                 const std::vector<int>& pages);

// Writes the report as a PDF file, whole or not at all; false, with the system's reason, when the
// file cannot be written.
bool writeReportPdf(const ReportDocument& document, const QString& path, QString* error = nullptr);

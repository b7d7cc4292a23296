#pragma once

#include "ReportEngine.h"

class QPagedPaintDevice;

// Paints the pages of a laid-out report onto a printer, a preview or a PDF writer, twips converted
// to the device's resolution. Fonts are the screen fonts' installed substitutes, so Japanese text
// is embedded in a PDF.
void paintReport(const ReportDocument& document, QPagedPaintDevice& device);

// Writes the report as a PDF file, whole or not at all; false, with the system's reason, when the
// file cannot be written.
bool writeReportPdf(const ReportDocument& document, const QString& path, QString* error = nullptr);

#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;
struct ReportDocument;

// Shows laid-out sheets in the print preview, from which the clerk prints them or saves them as
// a PDF file.
void showReport(const ReportDocument& document, QWidget* parent);

// Prints the pages of the printer's page range, and as many copies as it asks for but cannot make
// itself, collated as it asks, on its paper: the report is fitted into what the printer can print.
void printReport(const ReportDocument& document, QPrinter& printer);

// Asks where to save the report as a PDF file, writes it with the progress window shown, and says
// where it went or why it could not be written.
void saveReportPdf(const ReportDocument& document, QWidget* parent);

// Stands in for the preview while set: gets each document the preview would show. Tests look at
// the sheets through it; empty for the real preview.
using PreviewStandIn = std::function<void(const ReportDocument& document)>;
void setPreviewStandIn(PreviewStandIn standIn);

// The monthly attendance sheets of a range of staff codes for one month "yyyymm" of the program's
// database: counted first, and when there is something to print, produced with the progress window
// shown and then shown in the preview. False, after saying so, when there is nothing to print.
bool printAttendanceSheets(const QString& staffFrom, const QString& staffTo, const QString& month,
                           QWidget* parent);

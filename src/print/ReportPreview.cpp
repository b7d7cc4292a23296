#include "ReportPreview.h"

#include "Common.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "ProgressWork.h"
#include "ReportPaint.h"
#include "TimesheetStore.h"
#include "WholeFile.h"
#include "rptSyukin.h"

#include <QPageRanges>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace {

PreviewStandIn& previewStandIn()
{
    static PreviewStandIn standIn;
    return standIn;
}

void addPdfCommand(QPrintPreviewDialog& dialog, const ReportDocument& document)
{
    auto* toolBar = dialog.findChild<QToolBar*>();
    if (!toolBar)
        return;
    toolBar->addSeparator();
    QAction* save = toolBar->addAction(QStringLiteral("PDF保存"));
    save->setObjectName(QStringLiteral("act_savePdf"));
    save->setToolTip(QStringLiteral("PDFファイルに保存します"));
    QObject::connect(save, &QAction::triggered, &dialog,
                     [&dialog, &document] { saveReportPdf(document, &dialog); });
}

} // namespace

void saveReportPdf(const ReportDocument& document, QWidget* parent)
{
    const QString path =
        askFileName(parent, {true, QStringLiteral("PDFに保存"), document.title + ".pdf",
                             QStringLiteral("PDFファイル(*.pdf)")});
    if (path.isEmpty())
        return;
    QString error;
    bool written = false;
    runFileWorkWithProgress([&] { written = writeReportPdf(document, path, &error); });
    if (written)
        ShowMsg(kMsgInformation, QStringLiteral("PDFファイル %1 を保存しました。").arg(path));
    else
        ShowMsg(kMsgError, wholeFileFailure(path, error));
}

void printReport(const ReportDocument& document, QPrinter& printer)
{
    const QPageRanges range =
        printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
    // A print queue makes the copies itself; a PDF printer leaves them to the program.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    // The paper and orientation chosen in the dialogs hold: the form is fitted onto them.
    paintReport(document, printer,
                {pagesToPaint(int(document.pages.size()), range, copies, printer.collateCopies()),
                 layoutOnPaper(document.pageLayout, printer.pageLayout())});
}

void setPreviewStandIn(PreviewStandIn standIn)
{
    previewStandIn() = std::move(standIn);
}

void showReport(const ReportDocument& document, QWidget* parent)
{
    if (previewStandIn())
        return previewStandIn()(document);
    QPrinter printer(QPrinter::HighResolution);
    // Size and orientation alone: a layout with margins narrower than the printer's unprintable
    // borders would be refused whole.
    printer.setPageSize(document.pageLayout.pageSize());
    printer.setPageOrientation(document.pageLayout.orientation());
    printer.setDocName(document.title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(document.title + QStringLiteral(" - 印刷プレビュー"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter* target) { printReport(document, *target); });
    addPdfCommand(dialog, document);
    dialog.resize(900, 760);
    dialog.exec();
}

bool printAttendanceSheets(const QString& staffFrom, const QString& staffTo, const QString& month,
                           QWidget* parent)
{
    if (CountReportRows(openDb(), staffFrom, staffTo, month, month) == 0) {
        ShowMsg(kMsgError, QStringLiteral("印刷対象データがありません。"));
        return false;
    }
    ReportDocument document;
    bool empty = false;
    runWithProgress([&](Database& db) {
        rptSyukin report(db);
        report.pStaffCdSt = staffFrom;
        report.pStaffCdEn = staffTo;
        report.pSyoriDtSt = month;
        report.pSyoriDtEn = month;
        document = report.run();
        empty = report.foundNoRows();
    });
    // The rows may have gone since they were counted, by another clerk's delete.
    if (empty)
        ShowMsg(kMsgError, QStringLiteral("データが存在しません。"));
    showReport(document, parent);
    return true;
}

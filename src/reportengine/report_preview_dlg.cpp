#include "report_preview_dlg.h"

#include "report.h"
#include "storage/tarvo_error.h"
#include "uikit/messages.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QToolBar>

TReportPreviewDlg::TReportPreviewDlg(TReport &report, const QString &pdfName, QWidget *parent)
    : QPrintPreviewDialog(parent), report_(report), pdfName_(pdfName) {
    setObjectName(QStringLiteral("TReportPreviewDlg"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    QPrinter *p = printer();
    p->setResolution(600);
    // The report places everything from the paper's corner.
    p->setFullPage(true);
    p->setPageSize(QPageSize(QSizeF(report.page.width, report.page.height), QPageSize::Millimeter, QString(),
                             QPageSize::FuzzyMatch));
    p->setPageOrientation(report.page.width > report.page.height ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait);
    p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    p->setDocName(QFileInfo(pdfName).completeBaseName());
    connect(this, &QPrintPreviewDialog::paintRequested, this, &TReportPreviewDlg::PaintRequested);

    pdfAction_ = new QAction(QStringLiteral("Als PDF speichern"), this);
    pdfAction_->setObjectName(QStringLiteral("ActPdf"));
    pdfAction_->setToolTip(QStringLiteral("Als PDF speichern"));
    connect(pdfAction_, &QAction::triggered, this, &TReportPreviewDlg::PdfClick);
    if (auto *toolBar = findChild<QToolBar *>()) {
        toolBar->addSeparator();
        toolBar->addAction(pdfAction_);
    } else {
        addAction(pdfAction_);
    }
}

void TReportPreviewDlg::PaintRequested(QPrinter *printer) {
    // Exceptions must not cross Qt's event handling.
    try {
        // "Print to file" would let Qt truncate the file and write into it
        // directly; a failed write then left half a PDF and no message.
        const QPaintEngine *engine = printer->paintEngine();
        if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty() && engine &&
            engine->type() == QPaintEngine::Pdf) {
            report_.writePdf(printer->outputFileName(), QFileInfo(pdfName_).completeBaseName());
            return;
        }
        report_.print(printer);
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

void TReportPreviewDlg::PdfClick() {
    QFileDialog dialog(this, QStringLiteral("Als PDF speichern"));
    dialog.setObjectName(QStringLiteral("PdfFileDlg"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF-Dateien (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(pdfName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    try {
        report_.writePdf(fileName, QFileInfo(pdfName_).completeBaseName());
        pdfName_ = fileName;
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

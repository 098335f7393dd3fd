#pragma once

#include <QPrintPreviewDialog>

class QAction;
class QToolBar;
class TReport;

// The print preview of a report: shows the page, prints it from the tool
// bar's print button and saves it as a PDF file ("Als PDF speichern").
class TReportPreviewDlg : public QPrintPreviewDialog {
    Q_OBJECT
public:
    // `pdfName` is the file name offered when saving as PDF.
    TReportPreviewDlg(TReport &report, const QString &pdfName, QWidget *parent = nullptr);

    QAction *pdfAction() const { return pdfAction_; }

private slots:
    void PaintRequested(QPrinter *printer);
    void PdfClick();

private:
    // Hides what a one-page form does not need; returns the print action.
    QAction *TrimToolBar(QToolBar *toolBar);
    // Print, save as PDF and close as buttons below the page: always in view.
    void AddButtonRow(QAction *print);

    TReport &report_;
    QString pdfName_;
    QAction *pdfAction_ = nullptr;
};

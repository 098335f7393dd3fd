#include "report_preview_dlg.h"

#include "report.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/save_file_dialog.h"

#include <QAction>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>

TReportPreviewDlg::TReportPreviewDlg(TReport &report, const QString &pdfName, QWidget *parent)
    : QPrintPreviewDialog(parent), report_(report), pdfName_(pdfName) {
    setObjectName(QStringLiteral("TReportPreviewDlg"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    InstallHelpKey(this, HelpTopic::Reports);
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
    QAction *print = nullptr;
    if (auto *toolBar = findChild<QToolBar *>()) {
        print = TrimToolBar(toolBar);
        toolBar->addSeparator();
        toolBar->addAction(pdfAction_);
    } else {
        addAction(pdfAction_);
    }
    AddButtonRow(print);
    // Room for the page and the whole tool bar, on a 1024×768 screen too.
    QSize size(880, 900);
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() - QSize(24, 48));
    resize(size);
}

namespace {
QString PreviewText(const char *text) {
    // The preview's own action texts, as Qt's translation shows them.
    return QCoreApplication::translate("QPrintPreviewDialog", text);
}
} // namespace

QAction *TReportPreviewDlg::TrimToolBar(QToolBar *toolBar) {
    // A form has one page in its own orientation: the page layouts, the
    // orientation and the page setup only take room from the print button.
    const QStringList unused = {PreviewText("Portrait"),
                                PreviewText("Landscape"),
                                PreviewText("Show single page"),
                                PreviewText("Show facing pages"),
                                PreviewText("Show overview of all pages"),
                                PreviewText("Page setup")};
    QAction *print = nullptr;
    bool afterSeparator = true;
    for (QAction *a : toolBar->actions()) {
        if (unused.contains(a->text()))
            a->setVisible(false);
        else if (a->isSeparator())
            a->setVisible(!afterSeparator); // no two separators side by side
        if (a->text() == PreviewText("Print"))
            print = a;
        if (a->isVisible())
            afterSeparator = a->isSeparator();
    }
    return print;
}

void TReportPreviewDlg::AddButtonRow(QAction *print) {
    auto *row = new QHBoxLayout;
    auto button = [row, this](const char *name, const QString &text, QAction *action) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        if (action)
            connect(b, &QPushButton::clicked, action, &QAction::trigger);
        row->addWidget(b);
        return b;
    };
    row->addStretch(1);
    QPushButton *printButton = button("BtnDrucken", QStringLiteral("&Drucken…"), print);
    printButton->setEnabled(print != nullptr);
    button("BtnPdf", QStringLiteral("Als &PDF speichern…"), pdfAction_);
    connect(button("BtnClose", QStringLiteral("S&chließen"), nullptr), &QPushButton::clicked, this,
            &QDialog::reject);
    if (auto *box = qobject_cast<QBoxLayout *>(layout()))
        box->addLayout(row);
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
    const QString fileName = AskSaveFileName(this, QStringLiteral("Als PDF speichern"), "PdfFileDlg",
                                             {QStringLiteral("PDF-Dateien (*.pdf)")}, QStringLiteral("pdf"), pdfName_);
    if (fileName.isEmpty())
        return;
    try {
        report_.writePdf(fileName, QFileInfo(pdfName_).completeBaseName());
        pdfName_ = fileName;
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

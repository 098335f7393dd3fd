#include "plot_save_ui.h"

#include "plot_writer.h"
#include "uikit/messages.h"
#include "uikit/save_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// The choices: PNG at 1, 2 or 3 times the figure, or PDF.
struct TImageChoice {
    QString filter;
    int scale; // 0: PDF
};

QVector<TImageChoice> ImageChoices(QSize figure) {
    QVector<TImageChoice> choices;
    const char *const sizes[] = {"Fenstergröße", "doppelte Größe", "dreifache Größe"};
    for (int scale = 1; scale <= 3; ++scale)
        choices.push_back({QStringLiteral("PNG-Bild, %1, %2 × %3 Pixel (*.png)")
                               .arg(QString::fromUtf8(sizes[scale - 1]))
                               .arg(figure.width() * scale)
                               .arg(figure.height() * scale),
                           scale});
    choices.push_back({QStringLiteral("PDF-Dokument, A4 quer (*.pdf)"), 0});
    return choices;
}

} // namespace

QString SavePlotImageAs(QWidget *parent, const TPlot &plot, QSize figure, const QString &defaultName) {
    const QVector<TImageChoice> choices = ImageChoices(figure);
    QStringList filters;
    for (const TImageChoice &choice : choices)
        filters << choice.filter;
    QFileDialog dialog(parent, QStringLiteral("Bild speichern"));
    SetUpSaveDialog(dialog, "BildSpeichernDlg", filters, QStringLiteral("png"), defaultName);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(filter.endsWith(QLatin1String("(*.pdf)")) ? QStringLiteral("pdf")
                                                                          : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    const int scale = index >= 0 ? choices[index].scale : 1;
    const QString name = ImageFileName(chosen, scale == 0);
    // A name the dialog did not see (another suffix was typed) is asked about here.
    if (name != chosen && QFileInfo::exists(name)) {
        QMessageBox ask(QMessageBox::Question, QStringLiteral("Bild speichern"),
                        QStringLiteral("%1 ist schon vorhanden.\nSoll die Datei ersetzt werden?").arg(name),
                        QMessageBox::Yes | QMessageBox::No, parent);
        ask.setDefaultButton(QMessageBox::No);
        if (ExecMessageBox(ask) != QMessageBox::Yes)
            return QString();
    }
    WritePlotFile(plot, name, figure, std::max(1, scale));
    return name;
}

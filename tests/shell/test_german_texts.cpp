// Qt's own dialogs and buttons speak German, also on a system whose
// language is not German (the suite runs with LC_ALL=C.UTF-8).
#include "shell_test_util.h"

#include "storage/month_totals.h"
#include "reportengine/report_preview_dlg.h"
#include "reports/sob01.h"
#include "uikit/qt_translation.h"

#include <QAction>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

QStringList LabelTexts(const QWidget *w) {
    QStringList texts;
    for (const QLabel *label : w->findChildren<QLabel *>())
        texts << label->text().remove(QLatin1Char('&'));
    return texts;
}

} // namespace

class TestGermanTexts : public QObject {
    Q_OBJECT

private slots:
    void translationIsLoadedWhateverTheLocale() {
        QVERIFY(QLocale::system().language() != QLocale::German);
        QVERIFY(qApp->findChild<QTranslator *>(QStringLiteral("QtGermanTranslation")));
        // Once is enough: a second call finds it in place.
        QVERIFY(InstallQtGermanTranslation(*qApp));
        QCOMPARE(qApp->findChildren<QTranslator *>(QStringLiteral("QtGermanTranslation")).size(), 1);
    }

    void standardButtonsAreGerman() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("TARVO32"), QStringLiteral("Frage"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Save);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
        QCOMPARE(box.button(QMessageBox::Save)->text().remove(QLatin1Char('&')), QStringLiteral("Speichern"));
    }

    void lineEditMenuIsGerman() {
        QLineEdit edit(QStringLiteral("1234"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList items;
        for (QAction *a : menu->actions())
            items << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        QVERIFY2(items.contains(QStringLiteral("Kopieren")), qPrintable(items.join('|')));
        QVERIFY2(items.contains(QStringLiteral("Einfügen")), qPrintable(items.join('|')));
        QVERIFY2(items.contains(QStringLiteral("Alles auswählen")), qPrintable(items.join('|')));
    }

    // "Als PDF speichern" in the print preview of a form.
    void pdfFileDialogIsGerman() {
        TSOB01 form;
        TYearBuffer year{};
        form.setMonth(year, 3, 2004, EmptyProfile(), ComputeMonthTotals(year.Months[3], 3, 2004));
        TReportPreviewDlg preview(form.report(), QStringLiteral("SOB01_2004-03.pdf"));
        preview.show();
        QStringList labels;
        QString accept;
        QString title;
        OnModal<QFileDialog>([&](QFileDialog *files) {
            title = files->windowTitle();
            labels = LabelTexts(files);
            if (auto *box = files->findChild<QDialogButtonBox *>())
                accept = box->button(QDialogButtonBox::Save) ? box->button(QDialogButtonBox::Save)->text()
                                                             : QString();
            files->reject();
        });
        preview.pdfAction()->trigger();
        QCOMPARE(title, QStringLiteral("Als PDF speichern"));
        QVERIFY2(labels.contains(QStringLiteral("Dateiname:")), qPrintable(labels.join('|')));
        QVERIFY2(labels.contains(QStringLiteral("Dateien des Typs:")), qPrintable(labels.join('|')));
        QVERIFY2(labels.contains(QStringLiteral("Suchen in:")), qPrintable(labels.join('|')));
        QCOMPARE(accept.remove(QLatin1Char('&')), QStringLiteral("Speichern"));
    }

    void colourAndPrintDialogsAreGerman() {
        QColorDialog colours;
        colours.setOption(QColorDialog::DontUseNativeDialog);
        QVERIFY2(LabelTexts(&colours).contains(QStringLiteral("Grundfarben")),
                 qPrintable(LabelTexts(&colours).join('|')));
        QPrinter printer;
        QPrintDialog print(&printer);
        QCOMPARE(print.windowTitle(), QStringLiteral("Drucken"));
        // The print preview's own texts.
        QCOMPARE(QCoreApplication::translate("QPrintPreviewDialog", "Print"), QStringLiteral("Drucken"));
    }
};

TARVO_SHELL_TEST_MAIN(TestGermanTexts)
#include "test_german_texts.moc"

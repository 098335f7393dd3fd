#include "form_fixture.h"
#include "reportengine/report_preview_dlg.h"
#include "reports/form_preview_ui.h"
#include "uikit/dialog_slots.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

class TestFormPreview : public QObject {
    Q_OBJECT

    using Show = void (*)(DialogSlotTable &, QWidget *, const TYearBuffer &, int, int,
                          const TObserverProfile &, const TMonthTotals &);

private slots:
    void previewOpensSavesPdfAndCloses_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("formName");
        QTest::newRow("SOB01") << 1 << "Formblatt: SOB01";
        QTest::newRow("SOB09") << 9 << "Formblatt: SOB09";
    }
    void previewOpensSavesPdfAndCloses() {
        QFETCH(int, form);
        QFETCH(QString, formName);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("vorschau.pdf"));
        const TYearBuffer year = FixtureYear();
        bool sawPreview = false;
        bool sawAction = false;

        QTimer::singleShot(0, this, [&] {
            auto *preview = qobject_cast<TReportPreviewDlg *>(QApplication::activeModalWidget());
            if (!preview)
                return;
            sawPreview = preview->isVisible();
            QAction *action = preview->findChild<QAction *>(QStringLiteral("ActPdf"));
            for (QToolBar *bar : preview->findChildren<QToolBar *>())
                sawAction = sawAction || bar->actions().contains(action);
            if (action) {
                QCOMPARE(action->text(), QStringLiteral("Als PDF speichern"));
                QTimer::singleShot(0, this, [&] {
                    auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                    if (files) {
                        files->selectFile(pdf);
                        static_cast<QDialog *>(files)->accept();
                    }
                });
                action->trigger();
            }
            preview->reject();
        });
        const Show show = form == 1 ? &ShowSob01Preview : &ShowSob09Preview;
        DialogSlotTable slotTable;
        show(slotTable, nullptr, year, 3, 2004, FixtureProfile(true), ComputeMonthTotals(year.Months[3], 3, 2004));
        QVERIFY(Storage().DialogSlots[form == 1 ? SlotSOB01 : SlotSOB09]); // the form is kept in its slot

        QVERIFY(sawPreview);
        QVERIFY(sawAction);
        QVERIFY(QFile::exists(pdf));
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(formName));
        QCOMPARE(RowTokens(text, 5).value(1), QStringLiteral("09:15"));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestFormPreview)
#include "test_form_preview.moc"

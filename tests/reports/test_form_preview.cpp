#include "form_fixture.h"
#include "reportengine/report_preview_dlg.h"
#include "reports/form_preview_ui.h"
#include "reports/sob01.h"
#include "uikit/dialog_slots.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
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

    // On a 1024×768 screen printing and saving as PDF stay in view: buttons
    // below the page, and a tool bar without what a one-page form does not
    // need, so that nothing goes into its overflow menu.
    void printAndPdfStayInViewOnASmallScreen() {
        TSOB01 form;
        const TYearBuffer year = FixtureYear();
        form.setMonth(year, 3, 2004, FixtureProfile(true), ComputeMonthTotals(year.Months[3], 3, 2004));
        TReportPreviewDlg preview(form.report(), QStringLiteral("SOB01.pdf"));
        preview.show();
        preview.resize(1000, 700);
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        for (const char *name : {"BtnDrucken", "BtnPdf", "BtnClose"}) {
            auto *button = preview.findChild<QPushButton *>(QLatin1String(name));
            QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
            QVERIFY(preview.rect().contains(button->geometry()));
        }
        auto *bar = preview.findChild<QToolBar *>();
        QVERIFY(bar);
        QTRY_VERIFY(bar->widgetForAction(preview.pdfAction()) &&
                    bar->widgetForAction(preview.pdfAction())->isVisible());
        auto *overflow = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
        QVERIFY(!overflow || !overflow->isVisible());
        QStringList shown;
        for (QAction *a : bar->actions())
            if (a->isVisible() && !a->isSeparator())
                shown << a->text();
        for (const char *unused : {"Portrait", "Landscape", "Show facing pages", "Page setup"})
            QVERIFY2(!shown.contains(QCoreApplication::translate("QPrintPreviewDialog", unused)), unused);
        QVERIFY(shown.contains(QCoreApplication::translate("QPrintPreviewDialog", "Print")));
    }
};

QTEST_MAIN(TestFormPreview)
#include "test_form_preview.moc"

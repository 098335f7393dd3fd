// The window "Vergleich mit SILSO" offscreen, by object name: the year it
// opens on, the three views with their tables, plots and source lines, the
// table and picture saved, the message without SILSO's numbers, and the
// import dialog with the menu items of the main window.
#include "../common/error_of.h"
#include "../common/modal.h"
#include "../common/observer_fixture.h"
#include "reference/reference_store.h"
#include "reference/silso_import.h"
#include "reference/silso_import_dlg.h"
#include "reference/vergleich_dlg.h"
#include "reference_fixture.h"
#include "shell/main_window_ui.h"
#include "uikit/help_viewer_dlg.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSilso = QStringLiteral(TARVO_TEST_DATA "/silso/");

bool ShowComparison(TVergleichDlg &dlg, QSize size = QSize(1100, 760)) {
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);
    dlg.setProfile(profile);
    dlg.setToday(QDate(2006, 2, 1));
    dlg.resize(size);
    dlg.show();
    return QTest::qWaitForWindowExposed(&dlg);
}

QStringList Column(QTableWidget *table, int column) {
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << (table->item(r, column) ? table->item(r, column)->text() : QString());
    return texts;
}

QStringList Headers(QTableWidget *table) {
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << table->horizontalHeaderItem(c)->text();
    return texts;
}

QStringList Labels(const TPlot &plot) {
    QStringList labels;
    for (const TPlotSeries &s : plot.series)
        labels << s.label;
    return labels;
}

} // namespace

class TestVergleichDlg : public QObject {
    Q_OBJECT
    QTemporaryDir home_;
    QTemporaryDir out_;

private slots:
    // The example observer (1995..2005, counting 65 % of SILSO's monthly
    // means), SILSO's days of 2000 and the hemispheres of March 2000.
    void initTestCase() {
        MakeObserverHome(home_.path());
        ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.csv");
        const QString hem = out_.filePath(QStringLiteral("hem.csv"));
        WriteBytes(hem, HandSilsoHemCsv());
        ImportSilsoHemispheric(hem);
    }

    void opensOnTheYearWithBothSeries() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Vergleich mit SILSO"));
        QCOMPARE(dlg.view(), TVergleichDlg::View::Year);
        QCOMPARE(Child<QSpinBox>(&dlg, "SEJahr")->value(), 2000);
        QCOMPARE(Child<QComboBox>(&dlg, "CBMonat")->currentText(), QStringLiteral("Dezember"));
        QCOMPARE(Child<QSpinBox>(&dlg, "SEVon")->value(), 1995);
        QCOMPARE(Child<QSpinBox>(&dlg, "SEBis")->value(), 2000);
        QVERIFY(Child<QLabel>(&dlg, "Stat")->text().isEmpty());
        QVERIFY(!Child<QComboBox>(&dlg, "CBMonat")->isVisible());
        QVERIFY(!Child<QSpinBox>(&dlg, "SEVon")->isVisible());

        auto *table = Child<QTableWidget>(&dlg, "SGVergleich");
        QCOMPARE(Headers(table),
                 (QStringList{"Monat", "Tage", "Ø Re", "Ø SILSO", "k", "Ø S/Re", "σ S/Re", "Ø Re Nord",
                              "SILSO Nord", "k Nord", "Ø Re Süd", "SILSO Süd", "k Süd"}));
        QCOMPARE(table->rowCount(), 13);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Januar"));
        QCOMPARE(table->item(12, 0)->text(), QStringLiteral("Jahr"));
        QVERIFY(table->item(12, 0)->font().bold());
        // The observer counts about 65 % of SILSO's monthly mean: k near 1.5 in every month.
        for (const QString &k : Column(table, 4)) {
            bool ok = false;
            const double value = QLocale().toDouble(k, &ok);
            QVERIFY2(ok && value > 1.0 && value < 2.5, qPrintable(k));
        }
        // Only March has SILSO's hemispheres.
        QCOMPARE(table->item(2, 8)->text(), QLocale().toString(30.0, 'f', 1));
        QVERIFY(table->item(3, 8)->text().isEmpty());
        QVERIFY(Child<QLabel>(&dlg, "LblErgebnis")->text().startsWith(QStringLiteral("2000: ")));
        QCOMPARE(Child<QLabel>(&dlg, "LblQuelle")->text(),
                 QStringLiteral("Quelle der Daten: WDC-SILSO, Royal Observatory of Belgium, Brussels (Lizenz "
                                "CC BY-NC 4.0)"));
        // The plot: monthly k, the year's level, the hemispheres; with the source line.
        QCOMPARE(dlg.plot().title, QStringLiteral("Persönlicher k-Faktor 2000"));
        QVERIFY(
            dlg.plot().subtitle.startsWith(QStringLiteral("Beobachter: Erika Mustermann · k des Jahres = ")));
        const QStringList labels = Labels(dlg.plot());
        QCOMPARE(labels.size(), 4);
        QCOMPARE(labels[0], QStringLiteral("k je Monat"));
        QVERIFY(labels[1].startsWith(QStringLiteral("k des Jahres (")));
        QVERIFY(dlg.plot().series[1].dashed);
        QCOMPARE(labels.mid(2), (QStringList{"k Nord", "k Süd"}));
        QCOMPARE(dlg.plot().attribution, QStringLiteral("Quelle der Daten: WDC-SILSO, Royal Observatory of "
                                                         "Belgium, Brussels (Lizenz CC BY-NC 4.0)"));
        QCOMPARE(dlg.plotLayout().attribution.text, dlg.plot().attribution);
        // The year's short, wide table lies under the figure.
        QCOMPARE(Child<QSplitter>(&dlg, "Teiler")->orientation(), Qt::Vertical);
        dlg.reject();
    }

    void monthView() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        Child<QComboBox>(&dlg, "CBAnsicht")->setCurrentIndex(0);
        Child<QComboBox>(&dlg, "CBMonat")->setCurrentIndex(6);
        QCOMPARE(dlg.view(), TVergleichDlg::View::Month);
        QVERIFY(Child<QComboBox>(&dlg, "CBMonat")->isVisible());
        auto *table = Child<QTableWidget>(&dlg, "SGVergleich");
        QCOMPARE(Headers(table), (QStringList{"Tag", "Re", "SILSO", "S/Re"}));
        QCOMPARE(table->rowCount(), 31);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("208"));
        // A day without observation shows SILSO only; an observed one its ratio.
        for (int r = 0; r < 31; ++r) {
            const bool observed = !table->item(r, 1)->text().isEmpty();
            QCOMPARE(!table->item(r, 3)->text().isEmpty(), observed && table->item(r, 1)->text() != "0");
        }
        QCOMPARE(dlg.plot().title, QStringLiteral("Eigene Relativzahlen und SILSO – Juli 2000"));
        QCOMPARE(Labels(dlg.plot()), (QStringList{"Re (eigene Zählung)", "SILSO (Tageswert)"}));
        QCOMPARE(dlg.plot().series[1].points.size(), 31);
        QVERIFY(dlg.plot().attribution.contains(QStringLiteral("CC BY-NC 4.0")));
        QVERIFY(Child<QLabel>(&dlg, "LblErgebnis")->text().startsWith(QStringLiteral("Juli 2000: ")));
        QCOMPARE(Child<QSplitter>(&dlg, "Teiler")->orientation(), Qt::Horizontal);
        QVERIFY(dlg.tableCsv().startsWith(QStringLiteral("Tag,Re,SILSO,Verhaeltnis\n1,")));
        dlg.reject();
    }

    void spanView() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        Child<QComboBox>(&dlg, "CBAnsicht")->setCurrentIndex(2);
        QCOMPARE(dlg.view(), TVergleichDlg::View::Span);
        QVERIFY(Child<QSpinBox>(&dlg, "SEVon")->isVisible());
        QVERIFY(!Child<QSpinBox>(&dlg, "SEJahr")->isVisible());
        Child<QSpinBox>(&dlg, "SEVon")->setValue(1999);
        Child<QSpinBox>(&dlg, "SEBis")->setValue(2001);
        auto *table = Child<QTableWidget>(&dlg, "SGVergleich");
        QCOMPARE(table->rowCount(), 36);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("01/1999"));
        QCOMPARE(Headers(table).last(), QStringLiteral("k 13 Monate"));
        // SILSO's days are stored for 2000 only: k there, not before or after.
        QVERIFY(table->item(11, 4)->text().isEmpty());
        QVERIFY(!table->item(12, 4)->text().isEmpty());
        QVERIFY(table->item(24, 4)->text().isEmpty());
        QVERIFY(!table->item(18, 5)->text().isEmpty()); // July 2000: twelve of its 13 months have k
        QVERIFY(table->item(13, 5)->text().isEmpty());  // February 2000: five months without k
        QCOMPARE(dlg.plot().title, QStringLiteral("Persönlicher k-Faktor 1999–2001"));
        QCOMPARE(Labels(dlg.plot()).mid(0, 2), (QStringList{"k je Monat", "gleitendes 13-Monats-Mittel"}));
        QVERIFY(Child<QLabel>(&dlg, "Stat")->text().isEmpty());
        dlg.reject();
    }

    // A year without SILSO's days says how to import them; the own numbers stay.
    void yearWithoutSilso() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        Child<QSpinBox>(&dlg, "SEJahr")->setValue(2003);
        QVERIFY(Child<QLabel>(&dlg, "Stat")
                    ->text()
                    .startsWith(QStringLiteral("Für 2003 sind keine SILSO-Tageszahlen gespeichert.")));
        auto *table = Child<QTableWidget>(&dlg, "SGVergleich");
        QCOMPARE(table->item(12, 1)->text(), QStringLiteral("0"));
        QVERIFY(dlg.plot().subtitle.endsWith(QStringLiteral("keine gemeinsamen Tage")));
        Child<QComboBox>(&dlg, "CBAnsicht")->setCurrentIndex(0);
        QVERIFY(!Column(table, 1).join(QString()).isEmpty()); // the own Re are listed
        QVERIFY(Column(table, 2).join(QString()).isEmpty());
        dlg.reject();
    }

    void tableAndPictureSaved() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        const QString csv = out_.filePath(QStringLiteral("vergleich.csv"));
        OnModal<QFileDialog>([&](QFileDialog *files) {
            QCOMPARE(files->objectName(), QStringLiteral("TabelleSpeichernDlg"));
            files->selectFile(csv);
            static_cast<QDialog *>(files)->accept();
        });
        Child<QPushButton>(&dlg, "BtnCSV")->click();
        const QString written = QString::fromUtf8(ReadBytes(csv));
        QVERIFY(written.startsWith(QStringLiteral("Monat,Tage,Re,SILSO,k,")));
        QVERIFY(
            written.endsWith(QStringLiteral("\n\"Quelle der Daten: WDC-SILSO, Royal Observatory of Belgium, "
                                            "Brussels (Lizenz CC BY-NC 4.0)\"\n")));
        QCOMPARE(written, dlg.tableCsv());
        QVERIFY(Child<QLabel>(&dlg, "Stat")->text().startsWith(QStringLiteral("Tabelle gespeichert: ")));

        const QString png = out_.filePath(QStringLiteral("vergleich.png"));
        OnModal<QFileDialog>([&](QFileDialog *files) {
            files->selectFile(png);
            static_cast<QDialog *>(files)->accept();
        });
        Child<QPushButton>(&dlg, "BtnBild")->click();
        QCOMPARE(QImage(png).size(), dlg.figureSize());
        const QString pdf = out_.filePath(QStringLiteral("vergleich.pdf"));
        dlg.SaveImage(pdf);
        QVERIFY(ReadBytes(pdf).startsWith("%PDF-"));
        dlg.reject();
    }

    // The program's own files never take a table.
    void tableNeverOverAProgramFile() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        const QByteArray before = ReadBytes(SilsoDailyStorePath());
        const QString error = ErrorOf([&] { dlg.SaveTable(SilsoDailyStorePath()); });
        QVERIFY2(error.startsWith(QStringLiteral("In „")), qPrintable(error));
        QCOMPARE(ReadBytes(SilsoDailyStorePath()), before);
        dlg.reject();
    }

    void f1OpensItsHelpPage() {
        TVergleichDlg dlg;
        QVERIFY(ShowComparison(dlg));
        QTest::keyClick(&dlg, Qt::Key_F1);
        auto *viewer = dlg.findChild<THelpViewerDlg *>();
        QVERIFY(viewer);
        QCOMPARE(viewer->currentTopic(), HelpTopic::SilsoComparison);
        viewer->close();
        dlg.reject();
    }

    // The import dialog: no years, the whole file; OK imports and reports.
    void importDialog() {
        QTemporaryDir files;
        const QString name = QStringLiteral("SN_d_tot_V2.0.csv");
        WriteBytes(files.filePath(name), "2000;03;01;2000.163;  77;  3.0;  10;1\n");
        TSilsoImportDlg dlg(nullptr, TSilsoSeries::Daily);
        QCOMPARE(dlg.objectName(), QStringLiteral("TSilsoTageDlg"));
        dlg.setDirectory(files.path());
        QVERIFY(
            dlg.findChild<QLabel *>(QStringLiteral("Quelle"))->text().contains(QStringLiteral("WDC-SILSO")));
        QVERIFY(dlg.findChild<QLabel *>(QStringLiteral("Link1"))
                    ->text()
                    .contains(QStringLiteral("SN_d_tot_V2.0.csv")));
        QCOMPARE(Child<QLineEdit>(&dlg, "FE")->text(), name);
        MessageBoxCatcher boxes;
        OnModal<TSilsoImportDlg>([](TSilsoImportDlg *d) {
            QVERIFY(!d->findChild<QLineEdit *>(QStringLiteral("Edit1"))->isVisible());
            Child<QPushButton>(d, "BtnOK")->click();
        });
        QCOMPARE(dlg.exec(), int(QDialog::Accepted));
        QCOMPARE(boxes.texts, (QStringList{"Die SILSO-Tageszahlen sind jetzt gespeichert.\n\n"
                                           "Importiert: 01.03.2000 bis 01.03.2000, 1 Tageswert."}));
        QCOMPARE(SilsoDailyValue(LoadSilsoDaily(), QDate(2000, 3, 1)), std::optional<int>(77));
        // A file of the other series stays open with the message.
        boxes.clear();
        Child<QLineEdit>(&dlg, "FE")->setText(QStringLiteral("gibt-es-nicht.csv"));
        OnModal<TSilsoImportDlg>([](TSilsoImportDlg *d) {
            Child<QPushButton>(d, "BtnOK")->click();
            QTimer::singleShot(0, d, [d] { d->reject(); });
        });
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts[0].contains(QStringLiteral("gibt es nicht")));
        // Put back what the other tests read.
        ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.csv");
    }

    // The main window: both imports in "Import", the window in "Auswertung".
    void mainWindowMenus() {
        TSun w;
        QCOMPARE(Child<QAction>(&w, "SilsoTage")->text(), QStringLiteral("SILSO &Tageszahlen…"));
        QCOMPARE(Child<QAction>(&w, "SilsoHalbkugel")->text(), QStringLiteral("SILSO &Halbkugelzahlen…"));
        QCOMPARE(Child<QAction>(&w, "VergleichSilso")->text(), QStringLiteral("&Vergleich mit SILSO"));
        OnModal<TVergleichDlg>([](TVergleichDlg *d) {
            QCOMPARE(d->plot().title, QStringLiteral("Persönlicher k-Faktor 2000"));
            d->reject();
        });
        Child<QAction>(&w, "VergleichSilso")->trigger();
        QVERIFY(w.slotDialog(SlotVergleich));
        OnModal<TSilsoImportDlg>([](TSilsoImportDlg *d) {
            QCOMPARE(d->series(), TSilsoSeries::Hemispheric);
            QCOMPARE(d->windowTitle(), QStringLiteral("SILSO Halbkugelzahlen importieren"));
            d->reject();
        });
        Child<QAction>(&w, "SilsoHalbkugel")->trigger();
        QVERIFY(w.slotDialog(SlotSilsoHalbkugel));
    }
};

QTEST_MAIN(TestVergleichDlg)
#include "test_vergleich_dlg.moc"

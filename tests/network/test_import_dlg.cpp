// The two import dialogs: year fields, OK rules, messages, file choice.
#include "../common/folder_snapshot.h"
#include "../common/modal.h"
#include "network/drtarvo_dlg.h"
#include "network/sidc_dlg.h"
#include "silso_fixtures.h"
#include "storage/archive.h"
#include "storage/storage_state.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const SilsoFixtures kSilsoFolder;
const QString kSilso = kSilsoFolder.path();

// Clicks OK and waits until the dialog has settled.
void ClickOk(QDialog &dlg) {
    QTest::mouseClick(Child<QPushButton>(&dlg, "BtnOK"), Qt::LeftButton);
    QVERIFY(Settled());
}

} // namespace

class TestImportDlg : public QObject {
    Q_OBJECT
    QTemporaryDir home_;

private slots:
    void init() {
        StorageStartUp(home_.path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(home_.path()).mkpath(QStringLiteral("0001")));
    }

    void twoDigitYearsOnLeavingTheField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("5") << "5"
                           << "2005";
        QTest::newRow("75") << "75"
                            << "1975";
        QTest::newRow("1980") << "1980"
                              << "1980";
        QTest::newRow("not a number stays") << "19x"
                                            << "19x";
    }
    void twoDigitYearsOnLeavingTheField() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TSIDCDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto *edit1 = Child<QLineEdit>(&dlg, "Edit1");
        edit1->setFocus();
        QTRY_VERIFY(edit1->hasFocus());
        edit1->setText(typed);
        Child<QLineEdit>(&dlg, "Edit2")->setFocus();
        QTRY_COMPARE(edit1->text(), shown);
        if (typed == QLatin1String("19x"))
            QTRY_VERIFY(edit1->hasFocus()); // the focus goes back into the field
    }

    void okRules_data() {
        QTest::addColumn<bool>("sidc");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("reason"); // the refusal's message and the field it names
        QTest::addColumn<QString>("focus");
        QTest::newRow("sidc 1748") << true << "1748"
                                   << "2005"
                                   << "monthssn_1950-2005.dat" << false
                                   << "„von Jahr“ 1748 liegt vor 1749. Es können die Jahre 1749 bis 2010 "
                                      "importiert werden."
                                   << "Edit1";
        QTest::newRow("sidc after current year")
            << true << "1950"
            << "2011"
            << "monthssn_1950-2005.dat" << false
            << "„bis Jahr“ 2011 liegt nach dem laufenden Jahr. Es können "
               "die Jahre 1749 bis 2010 importiert werden."
            << "Edit2";
        QTest::newRow("sidc first after last")
            << true << "2005"
            << "2004"
            << "monthssn_1950-2005.dat" << false << "„bis Jahr“ 2004 liegt vor „von Jahr“ 2005."
            << "Edit2";
        QTest::newRow("sidc no file name")
            << true << "1950"
            << "2005"
            << "" << false << "Bitte geben Sie die Datei an, aus der importiert werden soll."
            << "FE";
        QTest::newRow("sidc ok") << true << "2004"
                                 << "2005"
                                 << "monthssn_1950-2005.dat" << true << ""
                                 << "";
        QTest::newRow("netdef 1976") << false << "1976"
                                     << "2005"
                                     << "fixture_short_to2005-05.dat" << false
                                     << "„von Jahr“ 1976 liegt vor 1977. Es können die Jahre 1977 bis 2010 "
                                        "importiert werden."
                                     << "Edit1";
        QTest::newRow("netdef 1977") << false << "1977"
                                     << "2005"
                                     << "fixture_short_to2005-05.dat" << true << ""
                                     << "";
    }
    void okRules() {
        QFETCH(bool, sidc);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, file);
        QFETCH(bool, accepted);
        QFETCH(QString, reason);
        QFETCH(QString, focus);
        std::unique_ptr<TImportDlg> dlg;
        if (sidc)
            dlg = std::make_unique<TSIDCDlg>();
        else
            dlg = std::make_unique<TdrTarvoDlg>();
        dlg->setCurrentYear(2010);
        dlg->setDirectory(kSilso);
        Child<QLineEdit>(dlg.get(), "Edit1")->setText(first);
        Child<QLineEdit>(dlg.get(), "Edit2")->setText(last);
        Child<QLineEdit>(dlg.get(), "FE")->setText(file);
        dlg->show();
        MessageBoxCatcher messages;
        ClickOk(*dlg);
        QCOMPARE(dlg->isVisible(), !accepted);
        QCOMPARE(dlg->result() == QDialog::Accepted, accepted);
        if (!accepted) {
            // OK says why and leads to the field.
            QCOMPARE(messages.texts.value(0), reason);
            QCOMPARE(messages.titles.value(0), QStringLiteral("Informationen"));
            QCOMPARE(dlg->focusWidget() ? dlg->focusWidget()->objectName() : QString(), focus);
        }
    }

    void sidcMessages_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<double>("sidcJanuary2005");
        QTest::newRow("old file: imported, then the scale note")
            << "monthssn_1950-2005.dat"
            << QStringList{"Die SIDC Daten sind jetzt importiert", "alten SILSO-Skala"} << 31.3;
        QTest::newRow("V2.0 file: only imported")
            << "SN_m_tot_V2.0_1950-2005.txt" << QStringList{"Die SIDC Daten sind jetzt importiert"} << 48.1;
    }
    void sidcMessages() {
        QFETCH(QString, file);
        QFETCH(QStringList, messages);
        QFETCH(double, sidcJanuary2005);
        TSIDCDlg dlg;
        dlg.setCurrentYear(2010);
        dlg.setDirectory(kSilso);
        Child<QLineEdit>(&dlg, "Edit1")->setText(QStringLiteral("2005"));
        Child<QLineEdit>(&dlg, "Edit2")->setText(QStringLiteral("2005"));
        Child<QLineEdit>(&dlg, "FE")->setText(file);
        dlg.show();
        MessageBoxCatcher catcher;
        ClickOk(dlg);
        QCOMPARE(catcher.texts.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(catcher.texts[i].contains(messages[i]), qPrintable(catcher.texts[i]));
        QVERIFY2(catcher.texts[0].endsWith(
                     QLatin1String("\n\nImportiert: 01/2005 bis 12/2005, 12 Monate geschrieben.")),
                 qPrintable(catcher.texts[0]));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2005, s));
        QCOMPARE(s[0].SIDC, sidcJanuary2005);
    }

    void missingFileKeepsTheDialogOpen() {
        TdrTarvoDlg dlg;
        dlg.setDirectory(home_.path());
        dlg.show();
        MessageBoxCatcher catcher;
        ClickOk(dlg); // rtarvo.dat does not exist
        QCOMPARE(catcher.texts,
                 QStringList{QStringLiteral("Die Datei %1 wurde nicht gefunden (E/A-Fehler 2)")
                                 .arg(QDir::toNativeSeparators(home_.path() + "/rtarvo.dat"))});
        QVERIFY(dlg.isVisible());
    }

    void netDefMessage() {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("rtarvo.dat")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Jahr Mon Rdef\n200001   123.4\n");
        f.close();
        TdrTarvoDlg dlg;
        dlg.setCurrentYear(2010);
        dlg.setDirectory(dir.path());
        Child<QLineEdit>(&dlg, "Edit1")->setText(QStringLiteral("0"));
        Child<QLineEdit>(&dlg, "Edit2")->setText(QStringLiteral("0"));
        dlg.show();
        MessageBoxCatcher catcher;
        ClickOk(dlg);
        QCOMPARE(catcher.texts,
                 QStringList{QStringLiteral(
                     "Die definitiven Relativzahlen des\nTARVO-Netzes sind jetzt importiert\n\n"
                     "Importiert: 01/2000, 1 Monat geschrieben.\n"
                     "Nicht in der Datei enthalten, unverändert: 02/2000 bis 12/2000.")});
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2000, s));
        QCOMPARE(s[0].NetDef, 123.4);
        QCOMPARE(s[1].NetDef, 0.0);
    }

    void nothingToImportKeepsTheDialogOpen() {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("monthssn.dat")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TSIDCDlg dlg;
        dlg.setCurrentYear(2010);
        dlg.setDirectory(dir.path());
        Child<QLineEdit>(&dlg, "Edit2")->setText(QStringLiteral("2005"));
        dlg.show();
        const FolderSnapshot before = SnapshotFolder(home_.path());
        MessageBoxCatcher catcher;
        ClickOk(dlg);
        QCOMPARE(catcher.texts.size(), 1);
        QVERIFY2(catcher.texts[0].contains(QLatin1String("keine passenden Monatszeilen")),
                 qPrintable(catcher.texts[0]));
        QVERIFY(dlg.isVisible());
        QCOMPARE(SnapshotFolder(home_.path()), before);
    }

    // Return in the folder list opens the folder and does not press OK.
    void returnInFolderListOnlyOpensTheFolder() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("unter")));
        QVERIFY(QFile::copy(kSilso + QStringLiteral("monthssn_1950-2005.dat"), dir.filePath("monthssn.dat")));
        TSIDCDlg dlg;
        dlg.setCurrentYear(2010);
        dlg.setDirectory(dir.path());
        Child<QLineEdit>(&dlg, "Edit2")->setText(QStringLiteral("2005"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        const FolderSnapshot before = SnapshotFolder(home_.path());
        auto *dlb = Child<QListWidget>(&dlg, "DLB");
        const QList<QListWidgetItem *> items = dlb->findItems(QStringLiteral("unter"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        dlb->setFocus();
        dlb->setCurrentItem(items[0]);
        MessageBoxCatcher catcher;
        QTest::keyClick(dlb, Qt::Key_Return);
        QCOMPARE(dlg.directory(), QDir(dir.path()).absoluteFilePath(QStringLiteral("unter")));
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(catcher.texts.isEmpty());
        // Return on ".." goes back up, again without OK.
        dlb->setCurrentRow(0);
        QTest::keyClick(dlb, Qt::Key_Enter);
        QCOMPARE(QDir(dlg.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        QVERIFY(dlg.isVisible());
        QCOMPARE(SnapshotFolder(home_.path()), before); // nothing was imported
    }

    void fileListPutsTheNameIntoTheField() {
        TSIDCDlg dlg;
        dlg.setDirectory(kSilso);
        auto *flb = Child<QListWidget>(&dlg, "FLB");
        QCOMPARE(flb->count(), 0);                         // mask monthssn.dat: none here
        Child<QComboBox>(&dlg, "FCB")->setCurrentIndex(1); // SILSO files
        QVERIFY(flb->count() >= 5);
        const QList<QListWidgetItem *> items =
            flb->findItems(QStringLiteral("SN_m_tot_V2.0_1950-2005.csv"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        dlg.show();
        QTest::mouseClick(flb->viewport(), Qt::LeftButton, {}, flb->visualItemRect(items[0]).center());
        QCOMPARE(Child<QLineEdit>(&dlg, "FE")->text(), QStringLiteral("SN_m_tot_V2.0_1950-2005.csv"));
        QCOMPARE(dlg.filePath(),
                 QDir(kSilso).absoluteFilePath(QStringLiteral("SN_m_tot_V2.0_1950-2005.csv")));
    }

    void linksAndSource() {
        TSIDCDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("SIDC Import Filter"));
        auto *link = Child<QLabel>(&dlg, "Link1");
        QVERIFY(link->text().contains(QLatin1String("https://www.sidc.be/SILSO/")));
        QCOMPARE(link->toolTip(), QStringLiteral("hier clicken und ihr Internet-Browser wird gestartet"));
        QVERIFY(Child<QLabel>(&dlg, "Quelle")
                    ->text()
                    .contains(QLatin1String("WDC-SILSO, Royal Observatory of Belgium, Brussels")));
        QCOMPARE(Child<QLineEdit>(&dlg, "Edit1")->text(), QStringLiteral("1950"));
        QCOMPARE(Child<QLineEdit>(&dlg, "FE")->text(), QStringLiteral("monthssn.dat"));
        TdrTarvoDlg net;
        QCOMPARE(Child<QLineEdit>(&net, "Edit1")->text(), QStringLiteral("1977"));
        QCOMPARE(Child<QLineEdit>(&net, "FE")->text(), QStringLiteral("rtarvo.dat"));
    }
};

QTEST_MAIN(TestImportDlg)
#include "test_import_dlg.moc"

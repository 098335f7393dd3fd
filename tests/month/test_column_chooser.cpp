#include "month/column_chooser.h"
#include "month/tab_dlg.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstring>
#include <functional>
#include <limits>

class TestColumnChooser : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    static QStringList Items(QListWidget *list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static QByteArray LayoutBytes() {
        return QByteArray(reinterpret_cast<const char *>(Storage().ColumnLayout.data()),
                          kColumnLayoutFileSize);
    }
    static void ClickItem(QListWidget *list, int row) {
        list->setCurrentRow(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // Runs `steps` inside the modal chooser, then returns exec()'s result.
    static int RunChooser(TTabDlg &dlg, std::function<void(TTabDlg &)> steps) {
        QTimer::singleShot(0, &dlg, [&dlg, steps] {
            QVERIFY(QApplication::activeModalWidget() == &dlg);
            steps(dlg);
        });
        return dlg.exec();
    }

    const QStringList kSelected = {"Bemerkung", "UT", "R", "S", "Q",  "Gn", "Fn",
                                   "Gs",        "Fs", "G", "F", "Re", "Rb", "A"};
    const QStringList kAvailable = {"p", "s", "SN", "CV", "A*", "Fo", "Fm", "FEF", "FEP", "pfn", "pfs"};

private slots:
    void init() {
        StorageStartUp(dir_.path());
        ResetColumnLayout();
    }

    void opensWithTheDefaultLists() {
        TColumnChooser c;
        c.open(Storage().ColumnLayout);
        QCOMPARE(c.selectedTitles(), kSelected);
        QCOMPARE(c.availableTitles(), kAvailable);
    }

    void addSnBecomesColumn15() {
        TColumnChooser c;
        c.open(Storage().ColumnLayout);
        c.add(2); // SN
        QCOMPARE(c.selectedTitles().size(), 15);
        QCOMPARE(c.selectedTitles().last(), QStringLiteral("SN"));
        QCOMPARE(c.availableTitles(),
                 QStringList({"p", "s", "CV", "A*", "Fo", "Fm", "FEF", "FEP", "pfn", "pfs"}));
        TColumnLayout layout = Storage().ColumnLayout;
        c.apply(layout);
        QCOMPARE(layout[16].Sichtbar, 1);
        QCOMPARE(layout[16].Spalte, 15);
        QCOMPARE(layout[17].Spalte, 2); // CV moved up a place
    }

    void damagedColumnNumberKeepsItsPlace() {
        // The lowest possible number (a damaged AEF.CFG) must not wrap round:
        // the column stays first, where the month table shows it.
        TColumnLayout layout = Storage().ColumnLayout;
        layout[3].Spalte = std::numeric_limits<std::int32_t>::min(); // R
        TColumnChooser c;
        c.open(layout);
        QCOMPARE(c.selectedTitles().first(), QStringLiteral("R"));
    }

    void removeAllThenAddAllKeepsOrder() {
        TColumnChooser c;
        c.open(Storage().ColumnLayout);
        c.removeAll();
        QCOMPARE(c.selectedTitles(), QStringList());
        QCOMPARE(c.availableTitles(), kAvailable + kSelected);
        c.addAll();
        QCOMPARE(c.selectedTitles(), kAvailable + kSelected);
        QCOMPARE(c.availableTitles(), QStringList());
    }

    void moveUpAndDownAtTheEnds() {
        TColumnChooser c;
        c.open(Storage().ColumnLayout);
        QCOMPARE(c.moveUp(0), 0);
        QCOMPARE(c.moveDown(13), 13);
        QCOMPARE(c.selectedTitles(), kSelected);
        QCOMPARE(c.moveDown(0), 1);
        QCOMPARE(c.selectedTitles().mid(0, 3), QStringList({"UT", "Bemerkung", "R"}));
        QCOMPARE(c.moveUp(1), 0);
        QCOMPARE(c.selectedTitles(), kSelected);
    }

    void writesBackToItsOwnEntry() {
        // A damaged Nr must not send the record anywhere else.
        Storage().ColumnLayout[4].Nr = 5000;
        TColumnChooser c;
        c.open(Storage().ColumnLayout);
        c.setWidth(3, 77); // "S"
        TColumnLayout layout = Storage().ColumnLayout;
        c.apply(layout);
        QCOMPARE(layout[4].Nr, 4);
        QCOMPARE(layout[4].Spaltenbreite, 77);
    }

    void dialogMovesAndOk() {
        TTabDlg dlg;
        const int result = RunChooser(dlg, [this](TTabDlg &d) {
            auto *aus = d.findChild<QListWidget *>("LBAus");
            auto *verf = d.findChild<QListWidget *>("LBVerf");
            auto *add = d.findChild<QToolButton *>("SBAdd");
            auto *del = d.findChild<QToolButton *>("SBDel");
            auto *up = d.findChild<QPushButton *>("BtnOben");
            auto *se = d.findChild<QSpinBox *>("SE");
            QCOMPARE(Items(aus), kSelected);
            QCOMPARE(Items(verf), kAvailable);
            QVERIFY(!add->isEnabled() && !del->isEnabled() && !up->isEnabled() && !se->isEnabled());

            ClickItem(verf, 2); // SN
            QVERIFY(add->isEnabled() && !del->isEnabled());
            QTest::mouseClick(add, Qt::LeftButton);
            QCOMPARE(Items(aus).last(), QStringLiteral("SN"));
            QVERIFY(!add->isEnabled());

            ClickItem(aus, 14); // SN
            QVERIFY(del->isEnabled() && up->isEnabled() && se->isEnabled() && !add->isEnabled());
            QCOMPARE(se->value(), 35);
            se->setValue(50);
            QTest::mouseClick(up, Qt::LeftButton);
            QCOMPARE(Items(aus).at(13), QStringLiteral("SN"));
            QCOMPARE(aus->currentRow(), 13);

            ClickItem(aus, 0); // Bemerkung goes
            QTest::mouseClick(del, Qt::LeftButton);
            QCOMPARE(Items(verf).last(), QStringLiteral("Bemerkung"));
            QTest::mouseClick(d.findChild<QPushButton *>("BtnOK"), Qt::LeftButton);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        const TColumnLayout &l = Storage().ColumnLayout;
        QCOMPARE(l[1].Sichtbar, 0);
        QCOMPARE(l[16].Sichtbar, 1);
        QCOMPARE(l[16].Spalte, 13);
        QCOMPARE(l[16].Spaltenbreite, 50);
        QCOMPARE(l[18].Spalte, 14); // A after SN
        QCOMPARE(l[2].Spalte, 1);   // UT is now the first column after the day
    }

    void enterInTheWidthConfirmsAndMovesNothing() {
        TTabDlg dlg;
        const int result = RunChooser(dlg, [](TTabDlg &d) {
            auto *aus = d.findChild<QListWidget *>("LBAus");
            ClickItem(aus, 3); // S
            auto *se = d.findChild<QSpinBox *>("SE");
            se->setFocus();
            // A dialog that Enter did not close is closed as cancelled.
            QTimer::singleShot(100, &d, [&d] { d.reject(); });
            QTest::keyClick(se, Qt::Key_Return);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(Storage().ColumnLayout[4].Spalte, 4); // S stays behind R
        QCOMPARE(Storage().ColumnLayout[3].Spalte, 3);
    }

    void dialogCancelLeavesTheLayout() {
        const QByteArray before = LayoutBytes();
        TTabDlg dlg;
        const int result = RunChooser(dlg, [](TTabDlg &d) {
            QTest::mouseClick(d.findChild<QToolButton *>("SBDelAll"), Qt::LeftButton);
            d.findChild<QListWidget *>("LBVerf")->setCurrentRow(0);
            QTest::mouseClick(d.findChild<QPushButton *>("BtnCancel"), Qt::LeftButton);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(LayoutBytes(), before);
        // The next opening starts again from the layout.
        RunChooser(dlg, [this](TTabDlg &d) {
            QCOMPARE(Items(d.findChild<QListWidget *>("LBAus")), kSelected);
            d.reject();
        });
    }
};

QTEST_MAIN(TestColumnChooser)
#include "test_column_chooser.moc"

// The month table's buttons save the year where they must and open the
// report previews, the export and the mail dialog.
#include "month_gui_helpers.h"

#include "grid/string_align_grid_widget.h"
#include "month/sonmonat_dlg.h"
#include "network/email_dlg.h"
#include "network/export_dlg.h"
#include "reportengine/report_preview_dlg.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>

class TestMonthButtons : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TSonMonatDlg> dlg_;

    // Opens March 2004 with day 1 observed and deletes that day (unsaved).
    void openWithUnsavedChange() {
        TYearBuffer year;
        std::memset(&year, 0, sizeof year);
        TDayRecord &d = year.Day(3, 1);
        std::memset(&d, 0xFF, sizeof d);
        d.Bemerkung.assign(QString());
        d.z_f.assign(QString());
        d.Po.assign(QString());
        d.Zeit.assign(QStringLiteral("10:00"));
        d.Re = 25;
        QVERIFY(WriteYear(2004, year));
        dlg_ = std::make_unique<TSonMonatDlg>();
        dlg_->setProfile(TObserverProfile{});
        dlg_->setOpeningDate(QDate(2004, 3, 1));
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
        auto *grid = dlg_->findChild<TStringAlignGrid *>("SGMonat");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete);
        QVERIFY(dlg_->isModified());
    }
    bool dayOneSavedAsDeleted() {
        TYearBuffer back;
        return ReadYear(2004, back) && !back.Day(3, 1).observed();
    }
    void click(const char *button) { dlg_->findChild<QPushButton *>(button)->click(); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        StorageStartUp(dir_->path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("0001")));
    }
    void cleanup() {
        dlg_.reset();
        dir_.reset();
    }

    void reportButtonsSaveThenOpenThePreview_data() {
        QTest::addColumn<QByteArray>("button");
        QTest::newRow("SOB01") << QByteArray("BtnSOB01");
        QTest::newRow("SOB09") << QByteArray("BtnSOB09");
    }
    void reportButtonsSaveThenOpenThePreview() {
        QFETCH(QByteArray, button);
        openWithUnsavedChange();
        bool previewShown = false;
        bool savedBefore = false;
        OnModal<TReportPreviewDlg>([&](TReportPreviewDlg *preview) {
            previewShown = true;
            savedBefore = dayOneSavedAsDeleted();
            preview->reject();
        });
        click(button.constData());
        QVERIFY(previewShown);
        QVERIFY(savedBefore);
        QVERIFY(!dlg_->isModified());
    }

    void exportButtonSavesThenOpensTheExport() {
        openWithUnsavedChange();
        bool shown = false;
        bool savedBefore = false;
        OnModal<TExportDLG>([&](TExportDLG *dlg) {
            shown = true;
            savedBefore = dayOneSavedAsDeleted();
            dlg->reject();
        });
        QVERIFY(!Storage().DialogSlots[SlotExport]);
        click("BtnExport");
        QVERIFY(shown && savedBefore);
        QVERIFY(Storage().DialogSlots[SlotExport]); // made once, kept for later openings
    }

    void emailButtonHandsTheYearOverAndTakesItBack() {
        openWithUnsavedChange();
        bool shown = false;
        bool savedBefore = true;
        int shownMonth = 0;
        OnModal<TEmailDLG>([&](TEmailDLG *dlg) {
            shown = true;
            savedBefore = dayOneSavedAsDeleted();
            shownMonth = dlg->year().Day(3, 1).observed() ? -1 : 3;
            dlg->close();
        });
        click("BtnEmail");
        QVERIFY(shown);
        QVERIFY(Storage().DialogSlots[SlotEmail]);
        QVERIFY(!savedBefore);      // no save before mailing
        QCOMPARE(shownMonth, 3);    // the dialog got the year as shown
        QVERIFY(dlg_->isModified()); // and the table took it back
    }
};

TARVO_MONTH_GUI_MAIN(TestMonthButtons, "1024x768")
#include "test_month_buttons.moc"

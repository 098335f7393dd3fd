#include "month_gui_helpers.h"
#include "../common/day_records.h"

#include "entry/erfassung_dlg.h"
#include "grid/string_align_grid_widget.h"
#include "month/move_month_dlg.h"
#include "month/sonmonat_dlg.h"
#include "month/tab_dlg.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstring>
#include <memory>

namespace {

TDayRecord Day(const char *zeit, int g, int f, int a) {
    TDayRecord d = ObservedDayRecord(zeit, g, f);
    d.A = static_cast<std::int8_t>(a);
    return d;
}

QByteArray Bytes(const TYearBuffer &y) {
    return QByteArray(reinterpret_cast<const char *>(&y), sizeof y);
}

} // namespace

class TestSonMonatDlg : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TSonMonatDlg> dlg_;
    TYearBuffer fixture_{};

    TStringAlignGrid *grid() { return dlg_->findChild<TStringAlignGrid *>("SGMonat"); }
    QSpinBox *monthEdit() { return dlg_->findChild<QSpinBox *>("SEMonat"); }
    QSpinBox *yearEdit() { return dlg_->findChild<QSpinBox *>("SEJahr"); }
    int column(const QString &title) {
        for (int c = 0; c < grid()->cols(); ++c)
            if (grid()->cellText(0, c) == title)
                return c;
        return -1;
    }
    QString cell(int row, const QString &title) { return grid()->cellText(row, column(title)); }
    QByteArray fileBytes(int year) {
        QFile f(YearFileName(year));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void open(int year, int month, int day) {
        dlg_ = std::make_unique<TSonMonatDlg>();
        TObserverProfile profile{};
        profile.Name1.assign(QStringLiteral("Müller"));
        dlg_->setProfile(profile);
        dlg_->setOpeningDate(QDate(year, month, day));
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        StorageStartUp(dir_->path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("0001")));
        // March 2004: Re 30, 40, 45 on days 1..3, A = 100 each (sum beyond 8 bits);
        // day 5 has a remark only; day 10 is a full day; the month was mailed.
        fixture_ = TYearBuffer{};
        fixture_.Day(3, 1) = Day("08:00", 2, 10, 100);
        fixture_.Day(3, 2) = Day("08:30", 3, 10, 100);
        fixture_.Day(3, 3) = Day(" 9:15", 4, 5, 100);
        fixture_.Day(3, 5).Bemerkung.assign(QStringLiteral("Wolken"));
        fixture_.Day(3, 10) = Day("11:00", 1, 2, -1);
        fixture_.Day(3, 10).Bemerkung.assign(QStringLiteral("gut"));
        fixture_.Day(3, 10).Ruhe = 2;
        fixture_.Months[3].Header().Bemerkung.assign(QStringLiteral("100000000000000"));
        fixture_.Months[0].Days[7].Bemerkung.assign(QStringLiteral("block 0 stays")); // carried along
        QVERIFY(WriteYear(2004, fixture_));
    }

    void cleanup() {
        if (dlg_ && dlg_->isVisible()) {
            dlg_->setOpeningDate({});
            dlg_->close();
        }
        dlg_.reset();
        dir_.reset();
    }

    void opensWithSumsCountsAndMeans() {
        open(2004, 3, 10);
        QCOMPARE(dlg_->windowTitle(), QStringLiteral("TARVO - Monatsdaten"));
        QCOMPARE(dlg_->findChild<QLabel *>("Beob")->text(), QStringLiteral("Müller"));
        QCOMPARE(monthEdit()->value(), 3);
        QCOMPARE(yearEdit()->value(), 2004);
        QCOMPARE(grid()->rows(), 35);
        QCOMPARE(grid()->cols(), 15);
        QCOMPARE(grid()->selectedRow(), 10);
        QCOMPARE(grid()->cellText(1, 0), QStringLiteral("01"));
        QCOMPARE(grid()->cellText(31, 0), QStringLiteral("31"));
        QCOMPARE(cell(3, "UT"), QStringLiteral(" 9:15"));
        QCOMPARE(cell(1, "Re"), QStringLiteral("30"));
        QCOMPARE(cell(1, "R"), QString());
        QCOMPARE(cell(5, "Bemerkung"), QStringLiteral("Wolken"));
        QCOMPARE(cell(5, "UT"), QString());
        QCOMPARE(cell(5, "Re"), QString());
        // Summary rows: labels in column 1, the full-width sums, German means.
        QCOMPARE(grid()->cellText(32, 1), QStringLiteral("Summe"));
        QCOMPARE(grid()->cellText(33, 1), QStringLiteral("Anzahl"));
        QCOMPARE(grid()->cellText(34, 1), QStringLiteral("Mittel"));
        QCOMPARE(cell(32, "Re"), QStringLiteral("127")); // 30 + 40 + 45 + 12
        QCOMPARE(cell(33, "Re"), QStringLiteral("4"));
        QCOMPARE(cell(34, "Re"), QStringLiteral("31,8"));
        QCOMPARE(cell(32, "A"), QStringLiteral("300"));
        QCOMPARE(cell(33, "A"), QStringLiteral("3"));
        QCOMPARE(cell(34, "A"), QStringLiteral("100,0"));
        QCOMPARE(cell(32, "R"), QStringLiteral("2"));
        QCOMPARE(cell(33, "R"), QStringLiteral("1"));
        QCOMPARE(cell(34, "R"), QStringLiteral("2,0"));
        QCOMPARE(cell(32, "Rb"), QString());
        QCOMPARE(dlg_->counts()[9], 4);
        QCOMPARE(dlg_->totals().Sums[15], 300);
        QVERIFY(!dlg_->isModified());
    }

    void missingFileAndShortMonth() {
        open(2005, 2, 14);
        QVERIFY(!QFile::exists(YearFileName(2005)));
        QCOMPARE(grid()->cellText(28, 0), QStringLiteral("28"));
        for (int row = 29; row <= 31; ++row) {
            QCOMPARE(grid()->cellText(row, 0), QString());
            QVERIFY(!grid()->rowSelectable(row));
        }
        QVERIFY(!grid()->rowSelectable(32));
        QCOMPARE(cell(32, "Re"), QString());
        QCOMPARE(cell(34, "Re"), QString());
        QTest::keyClick(grid(), Qt::Key_End);
        QCOMPARE(grid()->selectedRow(), 28);
        QTest::keyClick(grid(), Qt::Key_Down);
        QCOMPARE(grid()->selectedRow(), 1);
        QTest::keyClick(grid(), Qt::Key_Up);
        QCOMPARE(grid()->selectedRow(), 28);
        QTest::keyClick(grid(), Qt::Key_PageUp);
        QCOMPARE(grid()->selectedRow(), 18);
        dlg_->close();
        QVERIFY(!QFile::exists(YearFileName(2005))); // nothing changed, nothing written
    }

    void nextDayLoopDeleteAndFileBytes() {
        open(2004, 3, 10);
        QVERIFY(grid()->setSelectedRow(10));
        bool sawTemplate = false;
        OnModal<TErfassungDlg>([&](TErfassungDlg *entry) {
            QCOMPARE(entry->DayNo, 10);
            QCOMPARE(entry->MonthNo, 3);
            QCOMPARE(entry->YearNo, 2004);
            QCOMPARE(entry->DayData.Re, std::int16_t(12));
            entry->DayData.g = 2;
            entry->DayData.f = 7;
            entry->DayData.Re = 27;
            entry->NextDay = true;
            OnModal<TErfassungDlg>([&](TErfassungDlg *next) {
                QCOMPARE(next->DayNo, 11);
                // Day 11 was empty: it opens with day 10's entries as a template.
                QCOMPARE(next->DayData.Zeit.text(), QStringLiteral("11:00"));
                QCOMPARE(next->DayData.Bemerkung.text(), QStringLiteral("gut"));
                QCOMPARE(next->DayData.Re, std::int16_t(27));
                sawTemplate = true;
                next->reject();
            });
            entry->accept();
        });
        QTest::keyClick(grid(), Qt::Key_Return);
        QVERIFY(sawTemplate);
        QCOMPARE(cell(10, "Re"), QStringLiteral("27"));
        QCOMPARE(cell(11, "UT"), QString()); // the template was taken back
        QCOMPARE(grid()->selectedRow(), 11);
        QCOMPARE(cell(32, "Re"), QStringLiteral("142"));
        QVERIFY(dlg_->isModified());
        QVERIFY(dlg_->yearBuffer().Months[3].Header().Bemerkung.empty());

        QVERIFY(grid()->setSelectedRow(2));
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(cell(2, "Re"), QString());
        QCOMPARE(cell(2, "UT"), QString());
        QCOMPARE(cell(32, "Re"), QStringLiteral("102"));
        QCOMPARE(cell(33, "A"), QStringLiteral("2"));

        QTest::mouseClick(dlg_->findChild<QPushButton *>("BtnClose"), Qt::LeftButton);
        QVERIFY(!dlg_->isVisible());
        QVERIFY(!dlg_->isModified());

        // The file holds exactly the expected records.
        TYearBuffer expected = fixture_;
        expected.Day(3, 10).g = 2;
        expected.Day(3, 10).f = 7;
        expected.Day(3, 10).Re = 27;
        std::memset(&expected.Day(3, 2), 0, sizeof(TDayRecord));
        TDayRecord &h = expected.Months[3].Header();
        const auto status = h.Bemerkung;
        std::memset(&h, 0, sizeof h);
        h.Bemerkung = status;
        h.Bemerkung.len = 0; // stored days clear the dispatch status
        h.Ruhe = 2;
        h.g = 2 + 4 + 2;
        h.f = 10 + 5 + 7;
        h.Re = 30 + 45 + 27;
        h.A = static_cast<std::int8_t>(200 - 256);
        QCOMPARE(fileBytes(2004).size(), 56160);
        QCOMPARE(fileBytes(2004), Bytes(expected));
    }

    void enteringADayThroughTheEntryDialog() {
        open(2004, 3, 10);
        QVERIFY(grid()->setSelectedRow(20));
        OnModal<TErfassungDlg>([](TErfassungDlg *entry) {
            auto type = [entry](const char *name, const char *text) {
                auto *edit = entry->findChild<QLineEdit *>(QLatin1String(name));
                QVERIFY2(edit, name);
                edit->setFocus();
                edit->selectAll();
                QTest::keyClicks(edit, QLatin1String(text));
            };
            type("Zeit", "1030");
            type("g_n", "2");
            type("f_n", "5");
            type("g_s", "1");
            type("f_s", "3");
            entry->findChild<QPushButton *>("BtnOK")->click();
        });
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {},
                           grid()->visualItemRect(grid()->item(19, 1)).center());
        QCOMPARE(cell(20, "UT"), QStringLiteral("10:30"));
        QCOMPARE(cell(20, "G"), QStringLiteral("3"));
        QCOMPARE(cell(20, "F"), QStringLiteral("8"));
        QCOMPARE(cell(20, "Re"), QStringLiteral("38"));
        QCOMPARE(cell(32, "Re"), QStringLiteral("165"));
        QCOMPARE(grid()->selectedRow(), 21);
        QVERIFY(dlg_->isModified());
    }

    void monthAndYearWrapSave() {
        open(2004, 1, 2);
        QVERIFY(grid()->setSelectedRow(2));
        QTest::keyClick(grid(), Qt::Key_Delete);
        QVERIFY(dlg_->isModified());
        monthEdit()->setValue(0); // December of the previous year
        QCOMPARE(yearEdit()->value(), 2003);
        QCOMPARE(monthEdit()->value(), 12);
        QCOMPARE(dlg_->curYear(), 2003);
        QCOMPARE(dlg_->curMonth(), 12);
        QVERIFY(!dlg_->isModified());
        QCOMPARE(fileBytes(2004), Bytes(fixture_)); // January had no data: day 2 was empty

        QTest::keyClick(grid(), Qt::Key_PageUp, Qt::ControlModifier); // 13: January 2004
        QCOMPARE(dlg_->curYear(), 2004);
        QCOMPARE(dlg_->curMonth(), 1);
        QTest::keyClick(grid(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(grid(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(dlg_->curMonth(), 3);
        QCOMPARE(cell(1, "Re"), QStringLiteral("30"));
        QVERIFY(grid()->setSelectedRow(1));
        QTest::keyClick(grid(), Qt::Key_Delete);
        QTest::keyClick(grid(), Qt::Key_Home, Qt::ControlModifier); // next year, saved first
        QCOMPARE(dlg_->curYear(), 2005);
        QCOMPARE(cell(1, "Re"), QString());
        TYearBuffer onDisk;
        QVERIFY(ReadYear(2004, onDisk));
        QVERIFY(!onDisk.Day(3, 1).observed());
        QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(dlg_->curYear(), 2004);
        QCOMPARE(cell(2, "Re"), QStringLiteral("40"));
        QCOMPARE(cell(1, "Re"), QString());
    }

    void failedWriteIsShownAndKept() {
        open(2004, 3, 10);
        QVERIFY(grid()->setSelectedRow(1));
        QTest::keyClick(grid(), Qt::Key_Delete);
        // The observer directory disappears behind the program's back.
        const QString obsDir = dir_->path() + QStringLiteral("/0001");
        QVERIFY(QDir(obsDir).removeRecursively());
        QFile blocker(obsDir);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        QString shown;
        OnModal<QMessageBox>([&](QMessageBox *box) {
            shown = box->text();
            box->accept();
        });
        yearEdit()->setValue(2005);
        QVERIFY2(shown.contains(QStringLiteral("kann nicht geschrieben werden")), qPrintable(shown));
        QVERIFY(dlg_->isModified());
        QCOMPARE(dlg_->curYear(), 2004); // the unsaved year stays in the window
        QCOMPARE(yearEdit()->value(), 2004);
        QCOMPARE(cell(1, "Re"), QString());

        // Closing asks before the changes are dropped; "No" keeps the window open.
        OnModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
        dlg_->close();
        QVERIFY(dlg_->isVisible());
        QVERIFY(blocker.remove());
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("0001")));
        dlg_->close();
        QVERIFY(!dlg_->isVisible());
        TYearBuffer onDisk;
        QVERIFY(ReadYear(2004, onDisk));
        QVERIFY(!onDisk.Day(3, 1).observed());
    }

    // tarvo-cli changes the shown year while the table is open (a list is
    // sent, a day of another month entered): closing the table keeps that.
    void changesOfAnotherProcessStay() {
        open(2004, 3, 10);
        UpdateYear(2004, [](TYearBuffer &other) {
            other.Months[4].Header().Bemerkung.assign(QStringLiteral("110000000000000"));
            other.Day(4, 3) = Day("08:15", 2, 9, -1);
        });
        QVERIFY(grid()->setSelectedRow(1));
        QTest::keyClick(grid(), Qt::Key_Delete);
        QVERIFY(dlg_->isModified());
        dlg_->close();
        QVERIFY(!dlg_->isVisible());
        TYearBuffer onDisk;
        QVERIFY(ReadYear(2004, onDisk));
        QVERIFY(!onDisk.Day(3, 1).observed());
        QCOMPARE(onDisk.Day(4, 3).Zeit.text(), QStringLiteral("08:15"));
        QCOMPARE(onDisk.Months[4].Header().Bemerkung.text(), QStringLiteral("110000000000000"));
        QCOMPARE(Bytes(dlg_->yearBuffer()), Bytes(onDisk));
    }

    void unreadableYearIsNeverSavedOver() {
        QFile bad(YearFileName(2006));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(100, 'x')); // neither a year nor an old-format year
        bad.close();
        QString shown;
        OnModal<QMessageBox>([&](QMessageBox *box) {
            shown = box->text();
            box->accept();
        });
        open(2006, 4, 1);
        QVERIFY2(shown.contains(QStringLiteral("Versuch hinter dem Dateiende zu lesen")), qPrintable(shown));
        QVERIFY(!dlg_->yearReadable());
        QString refused;
        OnModal<QMessageBox>([&](QMessageBox *box) {
            refused = box->text();
            box->accept();
        });
        QTest::keyClick(grid(), Qt::Key_Delete);
        QVERIFY(!refused.isEmpty());
        QVERIFY(!dlg_->isModified());
        dlg_->close();
        QVERIFY(!dlg_->isVisible());
        QFile year(YearFileName(2006));
        QVERIFY(year.open(QIODevice::ReadOnly));
        QCOMPARE(year.readAll(), QByteArray(100, 'x')); // the failed conversion left it as it was
        QFile old(dir_->path() + QStringLiteral("/0001/SO2006.OLD"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray(100, 'x'));
    }

    void enterInTheMonthFieldOpensNothing() {
        open(2004, 3, 10);
        // Whatever window Enter opens is noted and closed again.
        QStringList opened;
        QTimer closer;
        closer.setInterval(5);
        connect(&closer, &QTimer::timeout, this, [&opened] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened << modal->objectName();
                modal->close();
            }
        });
        closer.start();
        for (QSpinBox *edit : {monthEdit(), yearEdit()}) {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QVERIFY(Settled());
        closer.stop();
        QCOMPARE(opened, QStringList());
        QVERIFY(dlg_->isVisible());
    }

    void monthShift() {
        open(2004, 3, 10);
        auto *action = dlg_->findChild<QAction *>("MonatVerschieben");
        QVERIFY(action);
        QString refused;
        OnModal<TMoveMonth>([&](TMoveMonth *move) {
            auto *to = move->findChild<QSpinBox *>("toMonth");
            QCOMPARE(to->value(), 2); // the previous month is proposed
            to->setValue(3);          // onto itself: refused, the dialog stays
            move->findChild<QCheckBox *>("cb1")->setChecked(true);
            OnModal<QMessageBox>([&](QMessageBox *box) {
                refused = box->text();
                OnModal<TMoveMonth>([](TMoveMonth *again) {
                    again->findChild<QSpinBox *>("toMonth")->setValue(4);
                    again->findChild<QPushButton *>("BitBtn1")->click();
                });
                box->accept();
            });
            move->findChild<QPushButton *>("BitBtn1")->click();
        });
        action->trigger();
        QVERIFY(!refused.isEmpty());
        QCOMPARE(dlg_->curMonth(), 3);
        QCOMPARE(cell(1, "Re"), QString());
        QCOMPARE(cell(32, "Re"), QString());
        QVERIFY(dlg_->isModified());
        const TMonthBlock empty{};
        QCOMPARE(std::memcmp(&dlg_->yearBuffer().Months[3], &empty, sizeof empty), 0);
        QCOMPARE(dlg_->yearBuffer().Day(4, 1).Re, std::int16_t(30));
        QCOMPARE(dlg_->yearBuffer().Months[4].Header().Bemerkung.text(), QStringLiteral("100000000000000"));
        monthEdit()->setValue(4);
        QCOMPARE(cell(1, "Re"), QStringLiteral("30"));
        QCOMPARE(cell(32, "Re"), QStringLiteral("127"));
    }

    // The dialog names the month that goes and starts in the target; OK
    // without the tick says why and stays open, and nothing moves.
    void monthShiftWithoutConfirmationMovesNothing() {
        open(2004, 1, 10);
        MessageBoxCatcher boxes;
        QString source;
        QString focused;
        bool stayed = false;
        OnModal<TMoveMonth>([&](TMoveMonth *move) {
            source = move->findChild<QLabel *>("lVonMonat")->text();
            focused = move->focusWidget() ? move->focusWidget()->objectName() : QString();
            QCOMPARE(move->findChild<QSpinBox *>("toMonth")->value(), 0); // January proposes 0
            move->findChild<QPushButton *>("BitBtn1")->click();           // not confirmed
            stayed = move->isVisible();
            move->findChild<QPushButton *>("BitBtn2")->click();
        });
        dlg_->findChild<QAction *>("MonatVerschieben")->trigger();
        QCOMPARE(source, QStringLiteral("1 (Januar)"));
        QCOMPARE(focused, QStringLiteral("toMonth"));
        QVERIFY(stayed);
        QCOMPARE(boxes.texts,
                 QStringList{QStringLiteral("Der Monat wird nur verschoben, wenn Sie „ja, ich bin "
                                            "mir sicher, dass ich den Monat verschieben möchte“ "
                                            "ankreuzen.")});
        QVERIFY(!dlg_->isModified());
    }

    void columnChooserFromTheHeader() {
        open(2004, 3, 10);
        QWidget *header = grid()->horizontalHeader()->viewport();
        bool chooserSeen = false;
        OnModal<TTabDlg>([&](TTabDlg *tab) {
            chooserSeen = true;
            auto *verf = tab->findChild<QListWidget *>("LBVerf");
            verf->setCurrentRow(2); // SN
            QTest::mouseClick(verf->viewport(), Qt::LeftButton, {},
                              verf->visualItemRect(verf->item(2)).center());
            tab->findChild<QToolButton *>("SBAdd")->click();
            tab->findChild<QPushButton *>("BtnOK")->click();
        });
        QTest::mousePress(header, Qt::RightButton, {}, QPoint(30, 5));
        QTest::mouseRelease(header, Qt::RightButton, {}, QPoint(30, 5));
        QTRY_VERIFY(chooserSeen);
        QVERIFY(Storage().DialogSlots[SlotTab]);
        QTRY_COMPARE(grid()->cols(), 16);
        QCOMPARE(grid()->cellText(0, 15), QStringLiteral("SN"));
        QCOMPARE(QFileInfo(dir_->path() + QStringLiteral("/0001/AEF.CFG")).size(), 5656);
        // A right click on a day row opens no chooser.
        QVERIFY(grid()->setSelectedRow(5));
        QTest::mousePress(grid()->viewport(), Qt::RightButton, {}, QPoint(30, 40));
        QTest::mouseRelease(grid()->viewport(), Qt::RightButton, {}, QPoint(30, 40));
        QVERIFY(Settled());
        QVERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == dlg_.get());
    }

    void centredOnALargeScreen() {
        open(2004, 3, 10);
        QVERIFY(!dlg_->isMaximized());
        QCOMPARE(dlg_->screen()->geometry().height(), 768);
    }
};

TARVO_MONTH_GUI_MAIN(TestSonMonatDlg, "1024x768")
#include "test_sonmonat_dlg.moc"

// The pictures of the README and the metadata: the month table, the entry
// dialog, the SOB01 form, the evaluation and the position dialog of the
// example observer, rendered offscreen. scripts/screenshots runs this with
// TARVO_SCREENSHOT_DIR set to docs/screenshots; in the test suite the pictures
// go to a temporary folder, and each window is checked to show the example's
// data before it is taken.
#include "example_observer.h"

#include "entry/erfassung_dlg.h"
#include "evaluation/auswert_dlg.h"
#include "grid/string_align_grid_widget.h"
#include "month/sonmonat_dlg.h"
#include "reportengine/report_preview_dlg.h"
#include "reports/sob01.h"
#include "shell/shell_resources.h"
#include "solar/sonpos_dlg.h"
#include "storage/tarvo_error.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

// The month and day the pictures show: July 2000, near the cycle's maximum.
constexpr int kShownYear = 2000;
constexpr int kShownMonth = 7;
constexpr int kShownDay = 14;

template <class W> W *Named(QWidget *parent, const char *name) {
    W *w = parent->findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

// A picture that shows something: more than a handful of colours.
bool ShowsContent(const QImage &image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return colours.size() > 8;
}

} // namespace

class TestScreenshots : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QTemporaryDir scratch_;
    QString outDir_;
    TObserverProfile profile_{};
    TYearBuffer shownYear_{};

    void save(QWidget *window, const QString &name) {
        QApplication::processEvents();
        const QImage image = window->grab().toImage();
        QVERIFY2(ShowsContent(image), qPrintable(name));
        QVERIFY2(image.save(QDir(outDir_).filePath(name + QStringLiteral(".png"))), qPrintable(name));
    }

    void showAndWait(QWidget *window) {
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        InitShellResources();
        outDir_ = qEnvironmentVariable("TARVO_SCREENSHOT_DIR", scratch_.path());
        QVERIFY(QDir().mkpath(outDir_));
        try {
            profile_ = MakeExampleObserver(home_.path());
        } catch (const TarvoError &e) {
            QFAIL(qPrintable(e.message()));
        }
        QVERIFY(ReadYear(kShownYear, shownYear_));
    }

    void monthTable() {
        TSonMonatDlg dlg;
        dlg.setProfile(profile_);
        dlg.setOpeningDate(QDate(kShownYear, kShownMonth, kShownDay));
        showAndWait(&dlg);
        QCOMPARE(dlg.curMonth(), kShownMonth);
        const TMonthTotals totals =
            ComputeMonthTotals(shownYear_.Months[kShownMonth], kShownMonth, kShownYear);
        QVERIFY(totals.Counts[9] >= 10); // Re on most days of a summer month
        QCOMPARE(dlg.totals().Counts, totals.Counts);
        save(&dlg, QStringLiteral("monatstabelle"));
        dlg.setOpeningDate({});
        dlg.reject();
    }

    void entryDialog() {
        TErfassungDlg dlg;
        int day = kShownDay;
        while (!shownYear_.Day(kShownMonth, day).observed())
            ++day;
        dlg.DayData = shownYear_.Day(kShownMonth, day);
        dlg.Profile = profile_;
        dlg.DayNo = day;
        dlg.MonthNo = kShownMonth;
        dlg.YearNo = kShownYear;
        showAndWait(&dlg);
        QCOMPARE(Named<QLabel>(&dlg, "Re")->text(), QString::number(dlg.DayData.Re));
        QCOMPARE(Named<QLineEdit>(&dlg, "g")->text(), QString::number(dlg.DayData.g));
        save(&dlg, QStringLiteral("tageserfassung"));
        dlg.reject();
    }

    void sob01Form() {
        TSOB01 form;
        form.setMonth(shownYear_, kShownMonth, kShownYear, profile_,
                      ComputeMonthTotals(shownYear_.Months[kShownMonth], kShownMonth, kShownYear));
        TReportPreviewDlg preview(form.report(), QStringLiteral("SOB01_2000-07.pdf"));
        preview.resize(900, 1040);
        showAndWait(&preview);
        auto *pages = preview.findChild<QPrintPreviewWidget *>();
        QVERIFY(pages);
        pages->fitInView();
        QCOMPARE(pages->pageCount(), 1);
        save(&preview, QStringLiteral("sob01"));
        preview.reject();
    }

    void evaluation() {
        TAuswDlg dlg;
        dlg.setProfile(profile_);
        dlg.setToday(QDate(kExampleLastYear, 12, 31));
        dlg.resize(1100, 760);
        showAndWait(&dlg);
        // The observer's own numbers against the international ones.
        for (const char *curve : {"RE", "M13", "SIDC", "SIDC_M"})
            Named<QToolButton>(&dlg, curve)->setChecked(true);
        for (const char *curve : {"REN", "RES"})
            Named<QToolButton>(&dlg, curve)->setChecked(false);
        QCOMPARE(dlg.evalData().firstYear, kExampleLastYear - 14);
        QCOMPARE(Named<QLabel>(&dlg, "Stat")->text(), QStringLiteral("Zeichnen fertig ..."));
        save(&dlg, QStringLiteral("auswertung"));
        dlg.reject();
    }

    void positionDialog() {
        TDlgSonPos dlg;
        dlg.setProfile(profile_);
        dlg.setClock(
            [] { return QDateTime(QDate(kShownYear, kShownMonth, kShownDay), QTime(9, 30), Qt::UTC); });
        showAndWait(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        // A spot typed as the observer does, each field left with Enter.
        for (const auto &[field, value] : {std::pair{"MEX", "42"}, std::pair{"MEY", "-31"}}) {
            auto *edit = Named<QLineEdit>(&dlg, field);
            edit->setFocus();
            edit->setText(QString::fromLatin1(value));
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QTest::keyClick(Named<QPushButton>(&dlg, "BtnRechnen"), Qt::Key_Return);
        QVERIFY(!Named<QLabel>(&dlg, "lB")->text().isEmpty());
        QVERIFY(!Named<QLabel>(&dlg, "lAZM")->text().isEmpty());
        save(&dlg, QStringLiteral("positionsberechnung"));
        dlg.reject();
    }
};

int main(int argc, char *argv[]) {
    // A desktop-sized screen, so that every window takes the size it has on a
    // real one.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TARVO_TEST_DATA "/release/screen_1280x1024.json");
    QApplication app(argc, argv);
    TestScreenshots test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_screenshots.moc"

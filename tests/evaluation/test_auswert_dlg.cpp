// The evaluation dialog over a real archive: showing, curve switching,
// colour choice saved to beob.ini, read-out tooltip, picture export.
#include "../common/modal.h"
#include "auswert_test_helpers.h"
#include "storage/archive.h"
#include "storage/ini_file.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace {

// Twenty years of a made-up cycle: Re, its smoothed mean, Beck, A and SIDC,
// every month observed.
void FillArchive(int first, int last) {
    for (int year = first; year <= last; ++year) {
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(year, s));
        for (int m = 1; m <= 12; ++m) {
            const double t = (year - first) * 12 + m;
            const double cycle = 80 + 70 * std::sin(t / 132.0 * 2 * M_PI);
            s[m - 1].MeanRe = cycle + 25 * std::sin(t * 1.7);
            s[m - 1].R13 = cycle;
            s[m - 1].SIDC = cycle * 0.9 + 15 * std::cos(t * 2.3);
            s[m - 1].SIDCM = cycle * 0.9;
            s[m - 1].MeanBeck = cycle * 12;
            s[m - 1].MeanA = 0.01 * cycle / 10;
            s[m - 1].Counts[9] = s[m - 1].Counts[10] = s[m - 1].Counts[15] = 12;
        }
        QVERIFY(SaveYearSummaries(year, s));
    }
}

QToolButton *CurveButton(QWidget *dlg, const char *name) {
    return Child<QToolButton>(dlg, name);
}

// The pixel path of the series with this legend label.
const TPlotSeriesPath &PathOf(const TAuswDlg &dlg, const QString &label) {
    for (const TPlotSeriesPath &path : dlg.plotLayout().paths)
        if (dlg.plot().series[path.series].label == label)
            return path;
    qFatal("no series %s", qPrintable(label));
}

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// A line drawn through `at` in this colour: the pixel there or one beside it
// has the colour (lines are smoothed over neighbouring pixels).
bool LineAt(const QImage &image, QPointF at, QColor colour, int tolerance) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Near(image.pixelColor(int(std::floor(at.x())) + dx, int(std::floor(at.y())) + dy), colour,
                     tolerance))
                return true;
    return false;
}

} // namespace

class TestAuswertDlg : public QObject {
    Q_OBJECT
    QTemporaryDir home_;
    TObserverProfile profile_{};

private slots:
    void initTestCase() {
        StorageStartUp(home_.path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(home_.path()).mkpath(QStringLiteral("0001")));
        FillArchive(1985, 2005);
        profile_ = EmptyProfile();
        profile_.Aus.set(CatWolf, true);
        const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue, Qt::magenta};
        profile_.Farbe[0] = FarbeFromColour(colours[0]);
        profile_.Farbe[3] = FarbeFromColour(colours[2]);
        profile_.Farbe[13] = FarbeFromColour(colours[1]);
        profile_.Farbe[5] = FarbeFromColour(colours[3]);
    }
    // Each test starts without a remembered view.
    void init() { QFile::remove(home_.path() + QStringLiteral("/0001/beob.ini")); }

    void showsTwentyYears() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, profile_, QDate(2005, 6, 15), QSize(1280, 800)));
        auto *se1 = Child<QSpinBox>(&dlg, "SE1");
        auto *se2 = Child<QSpinBox>(&dlg, "SE2");
        // No year files: the 15 years up to today.
        QCOMPARE(se1->value(), 2006);
        QCOMPARE(se2->value(), 15);
        QVERIFY(CurveButton(&dlg, "RE")->isChecked());
        QVERIFY(!CurveButton(&dlg, "REN")->isChecked());
        se2->setValue(20);
        for (const char *name : {"M13", "SIDC", "Beck"})
            CurveButton(&dlg, name)->setChecked(true);
        CurveButton(&dlg, "SIDC_M")->setChecked(false);
        QCOMPARE(dlg.evalData().firstYear, 1986);
        QCOMPARE(dlg.evalData().pointCount(), 19 * 12 + 6 + 1);
        QCOMPARE(Child<QWidget>(&dlg, "Stat")->property("text").toString(),
                 QStringLiteral("Zeichnen fertig ..."));

        // The legend lists exactly the curves shown; the title names the span.
        QStringList labels;
        for (const TPlotLegendEntry &entry : dlg.plotLayout().legend)
            labels << entry.text.text;
        QCOMPARE(labels, (QStringList{"Re", "R13", "Beck ÷ 10", "SIDC"}));
        QCOMPARE(dlg.plotLayout().title.text, QStringLiteral("Relativzahlen 1986–2005"));
        // Year labels do not collide.
        const QVector<TPlotText> &years = dlg.plotLayout().xLabels;
        QCOMPARE(years.size(), 20);
        for (int i = 1; i < years.size(); ++i)
            QVERIFY(years[i - 1].rect.right() < years[i].rect.left());

        const QByteArray shot = qgetenv("TARVO_SCREENSHOT");
        if (!shot.isEmpty())
            dlg.grab().save(QString::fromLocal8Bit(shot));

        // The read-out follows the mouse: June 1986.
        QWidget *pb1 = Child<QWidget>(&dlg, "PB1");
        const TPlotLayout &layout = dlg.plotLayout();
        MoveMouse(pb1, QPointF(layout.toPixel({dlg.evalData().timeOfPoint(6), 0}).x(),
                               layout.plotRect.center().y()));
        const QStringList lines = pb1->toolTip().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Juni 1986"));
        QCOMPARE(lines.size(), 5); // Re, R13, Beck, SIDC
        QVERIFY(lines[1].startsWith(QLatin1String("Re:")));
        QVERIFY(lines[4].startsWith(QLatin1String("SIDC:")));
        QCOMPARE(dlg.markedPoint(), 6);
        // Outside the plot area: no read-out, no marker.
        MoveMouse(pb1, QPointF(2, 2));
        QCOMPARE(pb1->toolTip(), QString());
        QCOMPARE(dlg.markedPoint(), -1);
        dlg.reject();
    }

    // Releasing a button removes exactly its curve; a curve under it stays.
    void releasingACurveErasesOnlyIt() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, profile_, QDate(2005, 6, 15), QSize(1000, 700)));
        for (const char *name : {"SIDC", "SIDC_M"})
            CurveButton(&dlg, name)->setChecked(false);
        auto *re = CurveButton(&dlg, "RE");
        auto *r13 = CurveButton(&dlg, "M13");
        re->setChecked(true);
        r13->setChecked(true);
        QWidget *pb1 = Child<QWidget>(&dlg, "PB1");
        // A month where Re lies far from R13, both inside the plot.
        int k = 1;
        const TEvalData &d = dlg.evalData();
        auto apart = [&d](int i) {
            return d.values[0][i] > 10 ? std::abs(d.values[0][i] - d.values[3][i]) : 0.0;
        };
        for (int i = 1; i < 60; ++i)
            if (apart(i) > apart(k))
                k = i;
        const QPointF reAt = PathOf(dlg, "Re").lines[0][k];
        const QImage before = pb1->grab().toImage();
        QVERIFY(LineAt(before, PathOf(dlg, "R13").lines[0][k], Qt::blue, 10));
        QVERIFY(LineAt(before, reAt, Qt::red, 60));
        re->setChecked(false);
        // The value axis follows the curves shown, so R13 is looked up again.
        const QImage after = pb1->grab().toImage();
        QVERIFY(LineAt(after, PathOf(dlg, "R13").lines[0][k], Qt::blue, 10));
        QVERIFY(!LineAt(after, reAt, Qt::red, 100));
        int reddish = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                reddish += Near(after.pixelColor(x, y), Qt::red, 100);
        QCOMPARE(reddish, 0);
        dlg.reject();
    }

    void colourChoiceIsSavedOnClose_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("expected");
        QTest::newRow("new colour") << true << 0x00FF00;
        QTest::newRow("cancelled keeps the colour") << false << 0;
    }
    void colourChoiceIsSavedOnClose() {
        QFETCH(bool, accept);
        QFETCH(int, expected);
        const QString ini = home_.path() + QStringLiteral("/0001/beob.ini");
        TObserverProfile p = profile_;
        p.Farbe[16] = 0;
        TAuswDlg dlg;
        dlg.setToday(QDate(2005, 6, 15));
        QTimer::singleShot(0, &dlg, [&] {
            // Legend cell (4, 1) is colour index 16 (A*-Netz).
            auto *sag = Child<QTableWidget>(&dlg, "SAG");
            QTimer::singleShot(0, &dlg, [accept] {
                auto *colour = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                QVERIFY(colour);
                colour->setCurrentColor(QColor(0, 255, 0));
                accept ? colour->accept() : colour->reject();
            });
            QTest::mouseClick(sag->viewport(), Qt::LeftButton, {},
                              sag->visualItemRect(sag->item(1, 4)).center());
            QVERIFY(dlg.coloursChanged());
            dlg.reject(); // saved although not closed with OK: a colour was chosen
        });
        dlg.showFor(p);
        QCOMPARE(p.Farbe[16], expected);
        QVERIFY(QFile::exists(ini));
        IniFile file(ini);
        QCOMPARE(file.readInteger(QStringLiteral("Farbe"), QStringLiteral("16"), -5), expected);
    }

    void savesPngAndPdf() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, profile_, QDate(2005, 6, 15), QSize(900, 600)));
        QTemporaryDir out;
        dlg.SaveImage(out.filePath(QStringLiteral("a.png")));
        dlg.SaveImage(out.filePath(QStringLiteral("b.png")), 2);
        dlg.SaveImage(out.filePath(QStringLiteral("a.pdf")));
        QCOMPARE(QImage(out.filePath(QStringLiteral("a.png"))).size(), dlg.figureSize());
        QCOMPARE(QImage(out.filePath(QStringLiteral("b.png"))).size(), dlg.figureSize() * 2);
        QFile pdf(out.filePath(QStringLiteral("a.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        // A folder that does not exist: an error, not a silent success.
        QVERIFY_THROWS_EXCEPTION(TarvoError, dlg.SaveImage(out.filePath(QStringLiteral("nix/a.png"))));
        dlg.reject();
    }

    // "Bild speichern…": the chosen kind decides format and size; a typed name
    // that gets ".png" added is not replaced unasked.
    void saveButton_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("written");
        QTest::newRow("existing, not replaced") << "kurve.jpg" << 0 << true << false << "kurve.jpg.png";
        QTest::newRow("existing, replaced") << "kurve.jpg" << 0 << true << true << "kurve.jpg.png";
        QTest::newRow("three times the size") << "gross" << 2 << false << false << "gross.png";
        QTest::newRow("PDF") << "bericht" << 3 << false << false << "bericht.pdf";
    }
    void saveButton() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(bool, existing);
        QFETCH(bool, replace);
        QFETCH(QString, written);
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, profile_, QDate(2005, 6, 15), QSize(1000, 700)));
        QTemporaryDir out;
        const QString target = out.filePath(written);
        if (existing) {
            QFile own(target);
            QVERIFY(own.open(QIODevice::WriteOnly));
            own.write("mein eigenes Bild");
        }
        QString question;
        OnModal<QFileDialog>([&](QFileDialog *files) {
            if (existing) // only then is there a question to answer
                OnModal<QMessageBox>([&](QMessageBox *box) {
                    question = box->text();
                    box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
                });
            const QString chosenFilter = files->nameFilters().value(filter);
            files->selectNameFilter(chosenFilter);
            emit files->filterSelected(chosenFilter);
            files->selectFile(out.filePath(typed));
            static_cast<QDialog *>(files)->accept();
        });
        Child<QPushButton>(&dlg, "BtnSave")->click();
        if (existing) {
            QCOMPARE(question,
                     QStringLiteral("%1 ist schon vorhanden.\nSoll die Datei ersetzt werden?").arg(target));
            QCOMPARE(QImage(target).isNull(), !replace);
        } else if (written.endsWith(QLatin1String(".pdf"))) {
            QFile pdf(target);
            QVERIFY(pdf.open(QIODevice::ReadOnly));
            QVERIFY(pdf.readAll().startsWith("%PDF-"));
        } else {
            QCOMPARE(QImage(target).size(), dlg.figureSize() * 3);
        }
        dlg.reject();
    }

    // Without an observer nothing is read and nothing is written.
    void withoutObserver() {
        Storage().CurrentObserverDir.clear();
        {
            TAuswDlg dlg;
            QVERIFY(ShowEvaluation(dlg, profile_, QDate(2005, 6, 15), QSize(900, 600)));
            QCOMPARE(Child<QWidget>(&dlg, "Stat")->property("text").toString(),
                     QStringLiteral("Es ist kein Beobachter eingerichtet"));
            QCOMPARE(dlg.evalData().pointCount(), 0);
            Child<QSpinBox>(&dlg, "SE2")->setValue(3);
            dlg.accept();
        }
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QCOMPARE(QDir(home_.path()).entryList(QDir::Files), QStringList());
    }

    void copyPutsThePictureOnTheClipboard() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, profile_, QDate(2005, 6, 15), QSize(900, 600)));
        QApplication::clipboard()->clear();
        Child<QPushButton>(&dlg, "BtnCopy")->click();
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), dlg.figureSize() * dlg.devicePixelRatioF());
        // The top left holds the background, the plot area holds curves.
        QCOMPARE(copied.pixelColor(1, 1), QColor(Qt::white));
        dlg.reject();
    }
};

QTEST_MAIN(TestAuswertDlg)
#include "test_auswert_dlg.moc"

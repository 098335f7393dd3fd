// The evaluation dialog over a real archive: showing, curve switching,
// colour choice saved to beob.ini, read-out tooltip, picture export.
#include "../common/modal.h"
#include "evaluation/auswert_dlg.h"
#include "storage/archive.h"
#include "storage/ini_file.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QApplication>
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

// Twenty years of a made-up cycle: Re, its smoothed mean and SIDC.
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
            s[m - 1].MeanBeck = cycle * 12;
            s[m - 1].MeanA = 0.01 * cycle / 10;
        }
        QVERIFY(SaveYearSummaries(year, s));
    }
}

QWidget *Child(QWidget *parent, const char *name) {
    QWidget *w = parent->findChild<QWidget *>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
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

    void showsTwentyYears() {
        TAuswDlg dlg;
        dlg.setProfile(profile_);
        dlg.setToday(QDate(2005, 6, 15));
        dlg.resize(1280, 800);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *se1 = static_cast<QSpinBox *>(Child(&dlg, "SE1"));
        auto *se2 = static_cast<QSpinBox *>(Child(&dlg, "SE2"));
        QCOMPARE(se1->value(), 2006);
        QVERIFY(static_cast<QToolButton *>(Child(&dlg, "RE"))->isChecked());
        QVERIFY(!static_cast<QToolButton *>(Child(&dlg, "REN"))->isChecked());
        se2->setValue(20);
        for (const char *name : {"M13", "SIDC", "Beck"})
            static_cast<QToolButton *>(Child(&dlg, name))->setChecked(true);
        QCOMPARE(dlg.geometry().firstYear, 1986);
        QVERIFY(dlg.geometry().monthStep >= 3);
        QCOMPARE(dlg.geometry().pointCount(), 19 * 12 + 6 + 1);
        QCOMPARE(Child(&dlg, "Stat")->property("text").toString(), QStringLiteral("Zeichnen fertig ..."));

        // Year labels must not collide: each starts right of the previous one's end.
        const QFontMetrics fm(dlg.font());
        const auto &texts = dlg.geometry().yearTexts;
        for (int i = 1; i < texts.size(); ++i)
            if (texts[i].text != texts[i - 1].text)
                QVERIFY(texts[i].x > texts[i - 1].x + fm.horizontalAdvance(texts[i - 1].text));

        const QByteArray shot = qgetenv("TARVO_SCREENSHOT");
        if (!shot.isEmpty())
            dlg.grab().save(QString::fromLocal8Bit(shot));

        // The read-out follows the mouse.
        QWidget *pb1 = Child(&dlg, "PB1");
        const int s = dlg.geometry().monthStep;
        QMouseEvent move(QEvent::MouseMove, QPointF(1 + 5 * s, 50), pb1->mapToGlobal(QPointF(1 + 5 * s, 50)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pb1, &move);
        const QStringList lines = pb1->toolTip().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Juni 1986"));
        QCOMPARE(lines.size(), 5); // Re, R13, Beck, SIDC
        QVERIFY(lines[1].startsWith(QLatin1String("Re:")));
        QVERIFY(lines[4].startsWith(QLatin1String("SIDC:")));
        dlg.reject();
    }

    // Releasing a button erases exactly its curve; a curve under it stays.
    void releasingACurveErasesOnlyIt() {
        TObserverProfile p = profile_;
        TAuswDlg dlg;
        dlg.setProfile(p);
        dlg.setToday(QDate(2005, 6, 15));
        dlg.resize(1000, 700);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *re = static_cast<QToolButton *>(Child(&dlg, "RE"));
        auto *r13 = static_cast<QToolButton *>(Child(&dlg, "M13"));
        re->setChecked(true);
        r13->setChecked(true);
        QWidget *pb1 = Child(&dlg, "PB1");
        const QPoint reAt = dlg.geometry().points[0][40];
        const QPoint r13At = dlg.geometry().points[3][40];
        QCOMPARE(pb1->grab().toImage().pixelColor(r13At), QColor(Qt::blue));
        re->setChecked(false);
        const QImage after = pb1->grab().toImage();
        QVERIFY(after.pixelColor(reAt) != QColor(Qt::red));
        QCOMPARE(after.pixelColor(r13At), QColor(Qt::blue));
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
        QFile::remove(ini);
        TObserverProfile p = profile_;
        p.Farbe[16] = 0;
        TAuswDlg dlg;
        dlg.setToday(QDate(2005, 6, 15));
        QTimer::singleShot(0, &dlg, [&] {
            // Legend cell (4, 1) is colour index 16 (A*-Netz).
            auto *sag = static_cast<QTableWidget *>(Child(&dlg, "SAG"));
            QTimer::singleShot(0, &dlg, [accept] {
                auto *colour = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                QVERIFY(colour);
                colour->setCurrentColor(QColor(0, 255, 0));
                accept ? colour->accept() : colour->reject();
            });
            QTest::mouseClick(sag->viewport(), Qt::LeftButton, {},
                              sag->visualItemRect(sag->item(1, 4)).center());
            QVERIFY(dlg.coloursChanged());
            dlg.accept();
        });
        dlg.showFor(p);
        QCOMPARE(p.Farbe[16], expected);
        QVERIFY(QFile::exists(ini));
        IniFile file(ini);
        QCOMPARE(file.readInteger(QStringLiteral("Farbe"), QStringLiteral("16"), -5), expected);
    }

    void savesPngAndPdf() {
        TAuswDlg dlg;
        dlg.setProfile(profile_);
        dlg.setToday(QDate(2005, 6, 15));
        dlg.resize(900, 600);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTemporaryDir out;
        dlg.SaveImage(out.filePath(QStringLiteral("a.png")));
        dlg.SaveImage(out.filePath(QStringLiteral("a.pdf")));
        const QImage png(out.filePath(QStringLiteral("a.png")));
        QCOMPARE(png.size(), dlg.picture().size());
        QFile pdf(out.filePath(QStringLiteral("a.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        // A folder that does not exist: an error, not a silent success.
        QVERIFY_THROWS_EXCEPTION(TarvoError, dlg.SaveImage(out.filePath(QStringLiteral("nix/a.png"))));
        dlg.reject();
    }

    // A typed name that gets ".png" added is not replaced unasked.
    void saveButtonAsksBeforeReplacing_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void saveButtonAsksBeforeReplacing() {
        QFETCH(bool, replace);
        TAuswDlg dlg;
        dlg.setProfile(profile_);
        dlg.setToday(QDate(2005, 6, 15));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTemporaryDir out;
        const QString existing = out.filePath(QStringLiteral("kurve.jpg.png"));
        QFile own(existing);
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("mein eigenes Bild");
        own.close();
        QString question;
        OnModal<QFileDialog>([&](QFileDialog *files) {
            OnModal<QMessageBox>([&](QMessageBox *box) {
                question = box->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            files->selectFile(out.filePath(QStringLiteral("kurve.jpg")));
            static_cast<QDialog *>(files)->accept();
        });
        Child<QPushButton>(&dlg, "BtnSave")->click();
        QCOMPARE(question, QStringLiteral("%1 ist schon vorhanden.\nSoll die Datei ersetzt werden?").arg(existing));
        QCOMPARE(QImage(existing).isNull(), !replace);
        dlg.reject();
    }
};

QTEST_MAIN(TestAuswertDlg)
#include "test_auswert_dlg.moc"

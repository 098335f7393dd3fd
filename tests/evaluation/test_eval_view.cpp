// The evaluation window on an observer's real year files and SILSO import:
// the first view follows the own data, the view is remembered in beob.ini,
// months without data are gaps, and the default colours.
#include "../common/modal.h"
#include "../common/observer_fixture.h"
#include "../common/permission_override.h"
#include "auswert_test_helpers.h"
#include "storage/tarvo_error.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

QString BeobIni(const QTemporaryDir &home) {
    return home.filePath(QStringLiteral("0001/beob.ini"));
}

TObserverProfile LoadedProfile() {
    TObserverProfile profile = EmptyProfile();
    LoadProfile(profile);
    return profile;
}

// 1995..2005 with a break from June to October 2001; SIDC up to 2005.
TObserverFixture ExampleFixture() {
    TObserverFixture fixture;
    for (int month = 6; month <= 10; ++month)
        fixture.breaks << 200100 + month;
    return fixture;
}

} // namespace

class TestEvalView : public QObject {
    Q_OBJECT
    QTemporaryDir home_;

private slots:
    void initTestCase() { QVERIFY(DropPermissionOverride()); }

    void init() {
        home_.remove();
        QVERIFY(QDir().mkpath(home_.path()));
        MakeObserverHome(home_.path(), ExampleFixture());
    }

    void opensOnTheSpanOfTheOwnData() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, LoadedProfile(), QDate(2026, 6, 15), QSize(1280, 1024)));
        QCOMPARE(Child<QSpinBox>(&dlg, "SE1")->value(), 2006);
        QCOMPARE(Child<QSpinBox>(&dlg, "SE2")->value(), 11);
        QCOMPARE(CurveNames(dlg.shownCurves()), (QStringList{"re", "r13", "sidc", "sidcm"}));
        const TPlotLayout &layout = dlg.plotLayout();
        QCOMPARE(layout.title.text, QStringLiteral("Relativzahlen 1995–2005"));
        QCOMPARE(layout.subtitle.text, QStringLiteral("Beobachter: Erika Mustermann"));
        QVERIFY(layout.attribution.text.contains(QLatin1String("WDC-SILSO")));
        QCOMPARE(layout.legend.size(), 4);
        // The value axis ends on a round number just above the largest value shown.
        double largest = 0;
        for (const TPlotSeries &s : dlg.plot().series)
            for (const QPointF &p : s.points)
                if (p.x() > 1995 && std::isfinite(p.y()))
                    largest = std::max(largest, p.y());
        QVERIFY(layout.yMax >= largest);
        QVERIFY(layout.yMax < largest * 1.3);
        QCOMPARE(layout.yLabels.last().text, QString::number(qRound(layout.yMax)));
        // Never chose colours: the default ones, not yet written.
        for (int c = 0; c < kCurveCount; ++c)
            QCOMPARE(dlg.profile().Farbe[c], DefaultCurveColours()[c]);

        const QByteArray shot = qgetenv("TARVO_SCREENSHOT_DIR");
        if (!shot.isEmpty()) {
            const QString dir = QString::fromLocal8Bit(shot);
            dlg.grab().save(dir + QStringLiteral("/auswertung-1280x1024.png"));
            dlg.SaveImage(dir + QStringLiteral("/auswertung.png"));
            dlg.SaveImage(dir + QStringLiteral("/auswertung.pdf"));
            dlg.resize(1024, 768);
            QTRY_COMPARE(dlg.figureSize().width() < 1024, true);
            dlg.grab().save(dir + QStringLiteral("/auswertung-1024x768.png"));
        }
        dlg.reject();
        IniFile ini(BeobIni(home_));
        QVERIFY(!ini.sectionExists(QStringLiteral("Farbe")));
        QVERIFY(!ini.sectionExists(QStringLiteral("Auswertung"))); // nothing changed, nothing written
        // For trying the program by hand: the same observer in a folder that stays.
        if (!shot.isEmpty())
            MakeObserverHome(QString::fromLocal8Bit(shot) + QStringLiteral("/home"), ExampleFixture());
    }

    void monthsWithoutDataAreGaps() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, LoadedProfile(), QDate(2026, 6, 15), QSize(1280, 1024)));
        const TEvalData &d = dlg.evalData();
        const int august2001 = (2001 - 1995) * 12 + 8;
        QCOMPARE(d.yearOfPoint(august2001), 2001);
        QVERIFY(!d.drawn[0][august2001]);
        QVERIFY(d.drawn[13][august2001]);
        // R13 is missing from December 2000 to April 2002 (six months around the break).
        QVERIFY(d.drawn[3][august2001 - 9]);
        QVERIFY(!d.drawn[3][august2001 - 8]);
        QVERIFY(!d.drawn[3][august2001 + 8]);
        QVERIFY(d.drawn[3][august2001 + 9]);
        // The Re line breaks there: two lines.
        for (const TPlotSeriesPath &path : dlg.plotLayout().paths)
            if (dlg.plot().series[path.series].label == QLatin1String("Re"))
                QCOMPARE(path.lines.size(), 2);

        QWidget *pb1 = Child<QWidget>(&dlg, "PB1");
        MoveMouse(pb1, OverMonth(dlg, august2001));
        const QStringList lines = pb1->toolTip().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("August 2001"));
        QCOMPARE(lines.value(1), QStringLiteral("Re:keine Daten"));
        QCOMPARE(lines.value(2), QStringLiteral("R13:keine Daten"));
        QVERIFY(lines.value(3).startsWith(QLatin1String("SIDC:1")));
        QCOMPARE(dlg.markedPoint(), august2001);
        dlg.reject();
    }

    // SIDC imported only up to 2003: its lines end there instead of falling to 0.
    void importedSeriesEndsWhereItsDataEnds() {
        QTemporaryDir home;
        TObserverFixture fixture = ExampleFixture();
        fixture.sidcLastYear = 2003;
        MakeObserverHome(home.path(), fixture);
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, LoadedProfile(), QDate(2026, 6, 15), QSize(1280, 1024)));
        const TEvalData &d = dlg.evalData();
        const int december2003 = (2003 - 1995) * 12 + 12;
        QVERIFY(d.drawn[13][december2003]);
        QVERIFY(!d.drawn[13][december2003 + 1]);
        QCOMPARE(d.values[13][december2003 + 1], 0.0);
        // The smoothed SIDC was formed from the file's later months: it ends with 2003 too.
        QVERIFY(d.drawn[14][december2003]);
        QVERIFY(!d.drawn[14][december2003 + 1]);
        const TPlotLayout &layout = dlg.plotLayout();
        for (const TPlotSeriesPath &path : layout.paths) {
            const QString label = dlg.plot().series[path.series].label;
            if (label == QLatin1String("SIDC") || label == QLatin1String("SIDC-Mittel")) {
                QCOMPARE(path.lines.size(), 1);
                QCOMPARE(path.lines[0].first().x(), layout.toPixel({d.timeOfPoint(0), 0}).x());
                QCOMPARE(path.lines[0].last().x(), layout.toPixel({d.timeOfPoint(december2003), 0}).x());
            }
        }
        dlg.reject();
    }

    void viewIsRememberedAfterReopening() {
        {
            TAuswDlg dlg;
            QVERIFY(ShowEvaluation(dlg, LoadedProfile(), QDate(2026, 6, 15), QSize(1100, 800)));
            Child<QSpinBox>(&dlg, "SE1")->setValue(2004);
            Child<QSpinBox>(&dlg, "SE2")->setValue(6);
            Child<QToolButton>(&dlg, "M17")->setChecked(true);
            Child<QToolButton>(&dlg, "SIDC")->setChecked(false);
            Child<QCheckBox>(&dlg, "GitterCheck")->click();
            QCOMPARE(dlg.evalData().firstYear, 1998);
            dlg.accept();
        }
        IniFile ini(BeobIni(home_));
        QCOMPARE(ini.readInteger(QStringLiteral("Auswertung"), QStringLiteral("Endjahr"), 0), 2004);
        QCOMPARE(ini.readInteger(QStringLiteral("Auswertung"), QStringLiteral("Zyklus"), 0), 6);
        QCOMPARE(ini.readString(QStringLiteral("Auswertung"), QStringLiteral("Kurven"), QString()),
                 QStringLiteral("re,r13,p17,sidcm"));
        QCOMPARE(ini.readBool(QStringLiteral("Auswertung"), QStringLiteral("Gitter"), true), false);
        // Closed with OK: the default colours are written; the rest of the file stays.
        QCOMPARE(ini.readInteger(QStringLiteral("Farbe"), QStringLiteral("13"), 0),
                 DefaultCurveColours()[13]);
        QCOMPARE(ini.readString(QStringLiteral("Beobachter"), QStringLiteral("Name2"), QString()),
                 QStringLiteral("Erika Mustermann"));

        TAuswDlg again;
        QVERIFY(ShowEvaluation(again, LoadedProfile(), QDate(2026, 6, 15), QSize(1100, 800)));
        QCOMPARE(Child<QSpinBox>(&again, "SE1")->value(), 2004);
        QCOMPARE(Child<QSpinBox>(&again, "SE2")->value(), 6);
        QCOMPARE(CurveNames(again.shownCurves()), (QStringList{"re", "r13", "p17", "sidcm"}));
        QVERIFY(!Child<QCheckBox>(&again, "GitterCheck")->isChecked());
        QVERIFY(Child<QTableWidget>(&again, "SAG")->isHidden());
        QCOMPARE(again.plotLayout().title.text, QStringLiteral("Relativzahlen 1998–2003"));
        again.reject();
    }

    void storedViewsReadBack_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("endYear");
        QTest::addColumn<QStringList>("curves");
        QTest::newRow("older file without the section") << QByteArray() << false << 0 << QStringList();
        QTest::newRow("a view") << QByteArray("Endjahr=1990\r\nZyklus=3\r\nKurven=re, sidc\r\nGitter=1\r\n")
                                << true << 1990 << QStringList{"re", "sidc"};
        QTest::newRow("only some keys") << QByteArray("Kurven=re\r\n") << false << 0 << QStringList();
        QTest::newRow("no curves") << QByteArray("Endjahr=2001\r\nZyklus=x\r\nKurven=\r\n") << true << 2001
                                   << QStringList();
    }
    void storedViewsReadBack() {
        QFETCH(QByteArray, section);
        QFETCH(bool, stored);
        QFETCH(int, endYear);
        QFETCH(QStringList, curves);
        QFile file(BeobIni(home_));
        QVERIFY(file.open(QIODevice::Append));
        if (!section.isEmpty())
            file.write("[Auswertung]\r\n" + section);
        file.close();
        const TEvaluationView view = LoadEvaluationView();
        QCOMPARE(view.stored, stored);
        QCOMPARE(view.endYear, endYear);
        QCOMPARE(view.curves, curves);
        if (view.stored) {
            // A broken value is kept in range by the window.
            TAuswDlg dlg;
            QVERIFY(ShowEvaluation(dlg, LoadedProfile(), QDate(2026, 6, 15), QSize(1100, 800)));
            QCOMPARE(Child<QSpinBox>(&dlg, "SE1")->value(), endYear);
            QVERIFY(Child<QSpinBox>(&dlg, "SE2")->value() >= 1);
            dlg.reject();
        }
    }

    void unwritableViewIsReported() {
        TAuswDlg dlg;
        QVERIFY(ShowEvaluation(dlg, LoadedProfile(), QDate(2026, 6, 15), QSize(1100, 800)));
        Child<QSpinBox>(&dlg, "SE2")->setValue(4);
        const QString folder = home_.filePath(QStringLiteral("0001"));
        const QFile::Permissions was = QFile::permissions(folder);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        MessageBoxCatcher catcher;
        dlg.reject();
        QFile::setPermissions(folder, was);
        QTRY_COMPARE(catcher.texts.size(), 1);
        QCOMPARE(catcher.texts.first(),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(BeobIni(home_)));
        QVERIFY(!IniFile(BeobIni(home_)).sectionExists(QStringLiteral("Auswertung")));
    }
};

QTEST_MAIN(TestEvalView)
#include "test_eval_view.moc"

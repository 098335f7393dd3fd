// tarvo-cli export csv|html writes the very bytes the month table's export
// writes, in the form the other programs read.
#include "../common/day_records.h"
#include "../common/file_bytes.h"
#include "../month/month_gui_helpers.h"
#include "../common/cli_run.h"

#include "month/sonmonat_dlg.h"
#include "network/export_dlg.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>

namespace {

TDayRecord Day(const char *zeit, int g, int f) { return ObservedDayRecord(zeit, g, f); }

// March 2004: Re 30, 41, 11 (mean 27.3), a remark with an umlaut and HTML
// special characters on day 31; February 2004 with day 29 observed.
TYearBuffer Fixture() {
    TYearBuffer y{};
    y.Day(3, 1) = Day("08:00", 2, 10);
    y.Day(3, 2) = Day("08:30", 3, 11);
    y.Day(3, 2).Ruhe = 2;
    y.Day(3, 31) = Day("15:45", 1, 1);
    y.Day(3, 31).Bemerkung.assign(QStringLiteral("<ü> & \"Fleck\""));
    y.Day(2, 29) = Day("12:00", 1, 0);
    return y;
}

// Without "Bemerkung"; "Re" centred in the column of the summary labels.
void SaveCustomLayout() {
    ResetColumnLayout();
    TColumnLayout &l = Storage().ColumnLayout;
    l[1].Sichtbar = 0;
    l[12].Spalte = 1;
    l[12].Ausr = 2;
    l[14].Sichtbar = 1; // "p" joins at the end
    l[14].Spalte = 20;
    SaveColumnLayout();
}

} // namespace

class TestCliExport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

    QString home() const { return dir_->path(); }
    QString observerFile(const QString &name) const { return dir_->filePath(QStringLiteral("0001/") + name); }
    CliRun exportFile(const QString &type, int month, const QString &file,
                      const QString &lcAll = QStringLiteral("C.UTF-8")) {
        return RunCli({"--home", home(), "export", type, "2004", QString::number(month), file}, lcAll);
    }

    // The month table's own export: the button, the dialog, OK.
    QByteArray exportFromMonthTable(int type, int month, const QString &name) {
        TSonMonatDlg dlg;
        dlg.setOpeningDate(QDate(2004, month, 1));
        dlg.show();
        if (!QTest::qWaitForWindowExposed(&dlg))
            return {};
        bool shown = false;
        OnModal<TExportDLG>([&](TExportDLG *exp) {
            shown = true;
            exp->findChild<QAbstractButton *>(QStringLiteral("RG%1").arg(type))->click();
            exp->findChild<QLineEdit *>("FN")->setText(name);
            exp->findChild<QPushButton *>("BtnOK")->click();
        });
        dlg.findChild<QPushButton *>("BtnExport")->click();
        dlg.close();
        if (!shown)
            return {};
        return ReadBytes(observerFile(name));
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        WriteBytes(dir_->filePath("tarvo.ini"),
                   "[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=9\r\n[Beobachter]\r\nMuster=0001\\\r\n");
        QVERIFY(QDir(home()).mkpath("0001"));
        StorageStartUp(home());
        Storage().CurrentObserverKey = QStringLiteral("Muster");
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(WriteYear(2004, Fixture()));
    }
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        dir_.reset();
    }

    void cliFileEqualsTheMonthTableExport_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("dialogType");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("lcAll");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("customLayout");
        const QLocale german(QLocale::German, QLocale::Germany);
        for (const char *type : {"csv", "html"}) {
            const int t = QByteArray(type) == "csv" ? 0 : 1;
            QTest::addRow("%s C March", type) << type << t << 3 << "C.UTF-8" << QLocale::c() << false;
            QTest::addRow("%s German March", type) << type << t << 3 << "de_DE.UTF-8" << german << false;
            QTest::addRow("%s German February AEF.CFG", type)
                << type << t << 2 << "de_DE.UTF-8" << german << true;
            QTest::addRow("%s C March AEF.CFG", type) << type << t << 3 << "C.UTF-8" << QLocale::c() << true;
        }
    }
    void cliFileEqualsTheMonthTableExport() {
        QFETCH(QString, type);
        QFETCH(int, dialogType);
        QFETCH(int, month);
        QFETCH(QString, lcAll);
        QFETCH(QLocale, locale);
        QFETCH(bool, customLayout);
        if (customLayout)
            SaveCustomLayout();
        const QString cliFile = dir_->filePath("cli." + type);
        const CliRun r = exportFile(type, month, cliFile, lcAll);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray());

        QLocale::setDefault(locale);
        const QByteArray fromTable = exportFromMonthTable(dialogType, month, "dialog." + type);
        QVERIFY(!fromTable.isEmpty());
        QCOMPARE(ReadBytes(cliFile), fromTable);
        // The means carry the locale's separator, as on screen.
        if (month == 3)
            QVERIFY(fromTable.contains(
                (QStringLiteral("27") + locale.decimalPoint() + QStringLiteral("3")).toLatin1()));
    }

    void csvHasOneLinePerGridRow_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("lastDay");
        QTest::newRow("31 days") << 3 << 31;
        QTest::newRow("29 days") << 2 << 29;
    }
    void csvHasOneLinePerGridRow() {
        QFETCH(int, month);
        QFETCH(int, lastDay);
        const QString file = dir_->filePath("m.csv");
        QCOMPARE(exportFile("csv", month, file).exitCode, 0);
        const QByteArray csv = ReadBytes(file);
        QVERIFY(csv.endsWith(";\r\n"));
        QCOMPARE(csv.count('\n'), 35); // title row, 31 day slots, Summe, Anzahl, Mittel
        QCOMPARE(csv.count("\r\n"), 35);
        QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.size(), 35);
        for (const QByteArray &line : lines) {
            QVERIFY2(line.endsWith(";\r"), line.constData());
            QCOMPARE(line.count(';'), 15); // one after every cell of the default layout
        }
        QVERIFY(lines[0].startsWith("Tag;Bemerkung;UT;R;S;Q;Gn;Fn;Gs;Fs;G;F;Re;Rb;A;"));
        QVERIFY(lines[lastDay].startsWith(QByteArray::number(lastDay) + ";"));
        if (lastDay < 31)
            QVERIFY(lines[lastDay + 1].startsWith(";"));
        QVERIFY(lines[32].startsWith(";Summe;"));
        QVERIFY(lines[33].startsWith(";Anzahl;"));
        QVERIFY(lines[34].startsWith(";Mittel;"));
        if (month == 3) {
            QVERIFY(lines[31].startsWith("31;<\xFC> & \"Fleck\";15:45;")); // Windows-1252, no quoting
            QVERIFY(lines[34].contains(";27.3;"));
        }
    }

    void htmlForm() {
        const QString file = dir_->filePath("m.html");
        QCOMPARE(exportFile("html", 3, file).exitCode, 0);
        const QByteArray html = ReadBytes(file);
        QVERIFY(
            html.startsWith("<table bgcolor=#FFFFFF border=1 caption=\"Tarvo Daten\">\r\n"
                            " <caption><h2>Tarvo Daten</h2></caption>\r\n <tr>\r\n"
                            "  <th align=center>\r\nTag\r\n  </th>\r\n  <th>\r\nBemerkung\r\n  </th>\r\n"));
        QVERIFY(html.endsWith(" </tr>\r\n</table>\r\n"));
        QCOMPARE(html.count(" <tr>\r\n"), 35);
        QCOMPARE(html.count(" </tr>\r\n"), 35);
        QCOMPARE(html.count("  <th"), 15);
        QCOMPARE(html.count("  </th>\r\n"), 15);
        QCOMPARE(html.count("  <td"), 34 * 15);
        QCOMPARE(html.count("  </td>\r\n"), 34 * 15);
        QCOMPARE(html.count('\n'), html.count("\r\n"));
        QVERIFY(html.contains("  <td align=right>\r\nSumme\r\n  </td>\r\n"));
        QVERIFY(html.contains("\r\n&lt;&uuml;&gt; &amp; &quot;Fleck&quot;\r\n"));
        for (char ch : html)
            QVERIFY(static_cast<unsigned char>(ch) < 0x80); // entities only
    }

    void exportingTwiceReplacesTheFile_data() {
        QTest::addColumn<QString>("type");
        QTest::newRow("csv") << "csv";
        QTest::newRow("html") << "html";
    }
    void exportingTwiceReplacesTheFile() {
        QFETCH(QString, type);
        const QString file = dir_->filePath("twice." + type);
        WriteBytes(file, QByteArray(100000, 'x')); // an older, longer file
        QCOMPARE(exportFile(type, 3, file).exitCode, 0);
        const QByteArray first = ReadBytes(file);
        QVERIFY(!first.contains(QByteArray(11, 'x')));
        QCOMPARE(exportFile(type, 3, file).exitCode, 0);
        QCOMPARE(ReadBytes(file), first);
        QCOMPARE(exportFile(type, 2, file).exitCode, 0);
        const QByteArray february = ReadBytes(file);
        QVERIFY(february != first);
        QVERIFY(!february.contains("Fleck"));
        QCOMPARE(QDir(home()).entryList({"twice*"}, QDir::Files), QStringList{"twice." + type});
    }

    void damagedLayoutFallsBackToTheDefault() {
        const QString plain = dir_->filePath("plain.csv");
        QCOMPARE(exportFile("csv", 3, plain).exitCode, 0);
        WriteBytes(observerFile("AEF.CFG"), QByteArray(100, '\0')); // short: two records
        const QString damaged = dir_->filePath("damaged.csv");
        const CliRun r = exportFile("csv", 3, damaged);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.contains("Standard-Spaltenanordnung"));
        QCOMPARE(ReadBytes(damaged), ReadBytes(plain));
    }

    void errors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("mask as name")
            << QStringList{"csv", "2004", "3", "*.csv"} << 1 << QByteArray("Ungültiger Dateiname");
        QTest::newRow("missing directory") << QStringList{"html", "2004", "3", "@/nix/m.html"} << 1
                                           << QByteArray("kann nicht geschrieben werden");
        QTest::newRow("month 13") << QStringList{"csv", "2004", "13", "@/m.csv"} << 2 << QByteArray("MONTH");
        QTest::newRow("unknown type")
            << QStringList{"xls", "2004", "3", "@/m.xls"} << 2 << QByteArray("unbekannter Export-Typ");
        QTest::newRow("too few") << QStringList{"csv", "2004", "3"} << 2 << QByteArray("Aufruf");
    }
    void errors() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        for (QString &a : args)
            a.replace(QLatin1Char('@'), home());
        const CliRun r = RunCli(QStringList{"--home", home(), "export"} + args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), r.err.constData());
        QCOMPARE(QDir(home()).entryList({"*.csv", "*.html", "*.xls"}, QDir::Files), QStringList());
    }
};

TARVO_MONTH_GUI_MAIN(TestCliExport, "1024x768")
#include "test_cli_export.moc"

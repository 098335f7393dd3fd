// The reference-number imports against real SILSO files and small fixtures.
#include "silso_fixtures.h"
#include "network/import_monthly.h"
#include "network/import_netdef.h"
#include "network/import_rules.h"
#include "network/import_sidc.h"
#include "network/line_ends.h"
#include "storage/archive.h"
#include "storage/file_io.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include "../common/folder_snapshot.h"
#include "../common/permission_override.h"
#include "network/import_report.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

const SilsoFixtures kSilsoFolder;
const QString kSilso = kSilsoFolder.path();
constexpr double kSentinel = 777.0;

QByteArray ReadBytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

// The file's numbers as a reader independent of the import sees them:
// whitespace- or semicolon-separated tokens. Key year*12+month-1.
struct FileNumbers {
    std::map<int, double> first;  // monthly mean (or the smoothed value of a smoothed file)
    std::map<int, double> second; // old format: smoothed value when the line has one
};

FileNumbers ParseTokens(const QString &path) {
    FileNumbers n;
    for (QByteArray line : ReadBytes(path).split('\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        QList<QByteArray> t = line.contains(';') ? line.split(';') : line.simplified().split(' ');
        for (QByteArray &x : t)
            x = x.trimmed();
        int year, month, valueIndex;
        if (t[0].size() == 6) { // old format YYYYMM
            year = t[0].left(4).toInt();
            month = t[0].mid(4).toInt();
            valueIndex = 2;
        } else {
            year = t[0].toInt();
            month = t[1].toInt();
            valueIndex = 3;
        }
        const int key = year * 12 + month - 1;
        n.first[key] = t[valueIndex].toDouble();
        if (valueIndex == 2 && t.size() > 3 && t[3] != "*")
            n.second[key] = t[3].toDouble();
    }
    return n;
}

TMonthSummary Summary(int year, int month) {
    TYearSummaries s;
    if (!LoadYearSummaries(year, s))
        qFatal("archive not readable");
    return s[month - 1];
}

// Every SIDC and SIDCM of the years set to the sentinel, so that "unchanged" is visible.
void FillSentinel(int first, int last) {
    UpdateArchiveYears(first, last, [](int, int, TMonthSummary &m) {
        m.SIDC = m.SIDCM = m.NetDef = kSentinel;
        m.MeanRe = 12.5;
    });
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT
    QTemporaryDir home_;

private slots:
    void initTestCase() {
        // As root a read-only folder would not be read-only.
        QVERIFY(DropPermissionOverride());
    }

    void init() {
        QVERIFY(home_.isValid());
        StorageStartUp(home_.path());
        Storage().CurrentObserverDir = QStringLiteral("0001\\");
        QDir home(home_.path());
        for (const QString &f : home.entryList(QDir::Files))
            QVERIFY(home.remove(f));
        QVERIFY(QDir(home_.path() + QStringLiteral("/0001")).removeRecursively());
        QVERIFY(home.mkpath(QStringLiteral("0001")));
    }

    void recognisesFormat_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        const auto add = [](const char *file, TSidcFormat f) { QTest::newRow(file) << file << int(f); };
        add("monthssn_1950-2005.dat", TSidcFormat::OldColumns);
        add("monthssn_crlf_1950.dat", TSidcFormat::OldColumns);
        add("monthssn_head8_tail10.dat", TSidcFormat::OldColumns);
        add("SN_m_tot_V2.0_1950-2005.txt", TSidcFormat::MonthlyText);
        add("SN_m_tot_V2.0_tail8_to2024-03.txt", TSidcFormat::MonthlyText);
        add("SN_m_tot_V2.0_1950-2005.csv", TSidcFormat::MonthlyCsv);
        add("SN_m_hem_V2.0_2015-2016.csv", TSidcFormat::MonthlyCsv);
        add("SN_ms_tot_V2.0_1950-2005.txt", TSidcFormat::SmoothedText);
        add("SN_ms_tot_V2.0_tail14_to2020-03.txt", TSidcFormat::SmoothedText);
        add("SN_ms_tot_V2.0_tail14_to2022-07.txt", TSidcFormat::SmoothedText);
        add("SN_ms_tot_V2.0_excerpt_1990-2005.csv", TSidcFormat::SmoothedCsv);
    }
    void recognisesFormat() {
        QFETCH(QString, file);
        QFETCH(int, format);
        // The content decides, not the name.
        QCOMPARE(int(RecogniseSidcFormat(ReadBytes(kSilso + file), QStringLiteral("data.txt"))), format);
    }

    void shortSmoothedFileFallsBackToName() {
        const QByteArray twoLines =
            "2024 01 2024.042   -1.0  -1.0   783 *\n2024 02 2024.124  124.7  21.8   700 *\n";
        QCOMPARE(RecogniseSidcFormat(twoLines, QStringLiteral("/x/SN_ms_tot_V2.0.txt")),
                 TSidcFormat::SmoothedText);
        QCOMPARE(RecogniseSidcFormat(twoLines, QStringLiteral("/x/SN_m_tot_V2.0.txt")),
                 TSidcFormat::MonthlyText);
    }

    // Every month of the file lands in the archive with the file's number.
    void importsEveryMonth_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("smoothedFile");
        QTest::newRow("old LF") << "monthssn_1950-2005.dat" << 1950 << 2005 << false;
        QTest::newRow("old CR LF") << "monthssn_crlf_1950.dat" << 1950 << 1950 << false;
        QTest::newRow("old CR LF, no final line end")
            << "monthssn_crlf_tail24_to2013-04.dat" << 2011 << 2013 << false;
        QTest::newRow("old short lines, marker") << "monthssn_head8_tail10.dat" << 2014 << 2015 << false;
        QTest::newRow("V2 text") << "SN_m_tot_V2.0_1950-2005.txt" << 1950 << 2005 << false;
        QTest::newRow("V2 csv") << "SN_m_tot_V2.0_1950-2005.csv" << 1950 << 2005 << false;
        QTest::newRow("V2 provisional") << "SN_m_tot_V2.0_tail8_to2024-03.txt" << 2023 << 2024 << false;
        QTest::newRow("V2 smoothed text") << "SN_ms_tot_V2.0_1950-2005.txt" << 1950 << 2005 << true;
        QTest::newRow("V2 smoothed csv") << "SN_ms_tot_V2.0_excerpt_1990-2005.csv" << 1990 << 2005 << true;
        QTest::newRow("V2 smoothed, -1 at the end")
            << "SN_ms_tot_V2.0_tail14_to2020-03.txt" << 2019 << 2020 << true;
    }
    void importsEveryMonth() {
        QFETCH(QString, file);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, smoothedFile);
        const bool oldFormat = file.endsWith(QLatin1String(".dat"));
        FillSentinel(first, last);
        const TSidcImportResult result = ImportSidc(kSilso + file, first, last);
        QCOMPARE(IsOldSidcScale(result.format), oldFormat);

        const FileNumbers numbers = ParseTokens(kSilso + file);
        int inRange = 0;
        for (int year = first; year <= last; ++year)
            for (int month = 1; month <= 12; ++month) {
                const int key = year * 12 + month - 1;
                const TMonthSummary m = Summary(year, month);
                const auto it = numbers.first.find(key);
                if (it == numbers.first.end()) { // not in the file: as it was
                    QCOMPARE(m.SIDCM, kSentinel);
                    QCOMPARE(m.SIDC, kSentinel);
                    continue;
                }
                ++inRange;
                const double value = it->second;
                if (oldFormat) {
                    QCOMPARE(m.SIDC, value);
                    const auto s = numbers.second.find(key);
                    QCOMPARE(m.SIDCM, s == numbers.second.end() ? kSentinel : s->second);
                } else if (smoothedFile) {
                    QCOMPARE(m.SIDC, kSentinel);
                    QCOMPARE(m.SIDCM, value < 0 ? kSentinel : value);
                } else {
                    QCOMPARE(m.SIDC, value < 0 ? kSentinel : value);
                }
            }
        QCOMPARE(result.report.monthsWritten + result.report.withoutNumber, inRange);
        QVERIFY(inRange > 0);
        QVERIFY(QDir(kSilso).entryList({QStringLiteral("*.kon")}).isEmpty());
    }

    // SIDCM computed from the monthly means equals the published smoothed value.
    void computedSmoothedMatchesPublished_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("text") << "SN_m_tot_V2.0_1950-2005.txt";
        QTest::newRow("csv") << "SN_m_tot_V2.0_1950-2005.csv";
    }
    void computedSmoothedMatchesPublished() {
        QFETCH(QString, file);
        FillSentinel(1950, 2005);
        ImportSidc(kSilso + file, 1950, 2005);
        const FileNumbers published = ParseTokens(kSilso + QStringLiteral("SN_ms_tot_V2.0_1950-2005.txt"));
        int compared = 0;
        for (int year = 1950; year <= 2005; ++year)
            for (int month = 1; month <= 12; ++month) {
                const TMonthSummary m = Summary(year, month);
                const int key = year * 12 + month - 1;
                // The file starts in January 1950 and ends in December 2005:
                // six months at each end cannot be smoothed and stay as they were.
                if (key < 1950 * 12 + 6 || key > 2005 * 12 + 5) {
                    QCOMPARE(m.SIDCM, kSentinel);
                    continue;
                }
                QVERIFY2(qAbs(m.SIDCM - published.first.at(key)) <= 0.1 + 1e-9,
                         qPrintable(QStringLiteral("%1-%2: %3 vs %4")
                                        .arg(year)
                                        .arg(month)
                                        .arg(m.SIDCM)
                                        .arg(published.first.at(key))));
                ++compared;
            }
        QCOMPARE(compared, 56 * 12 - 12);
    }

    void silsoSmoothingWeights() {
        double window[13];
        for (int i = 0; i < 13; ++i)
            window[i] = 0;
        window[0] = 24; // half weight: 12 / 12
        QCOMPARE(SilsoSmoothed(window), 1.0);
        window[0] = 0;
        window[6] = 24; // full weight
        QCOMPARE(SilsoSmoothed(window), 2.0);
    }

    void lfAndCrLfGiveTheSameArchive() {
        // A writable copy of the LF file, so that the .kon copy is really made.
        const QString lf = home_.path() + QStringLiteral("/monthssn.dat");
        QVERIFY(QFile::copy(kSilso + QStringLiteral("monthssn_1950-2005.dat"), lf));
        ImportSidc(lf, 1950, 1950);
        TYearSummaries fromLf;
        QVERIFY(LoadYearSummaries(1950, fromLf));
        QVERIFY(!QFile::exists(lf + QStringLiteral(".kon")));

        FillSentinel(1950, 1950);
        ImportSidc(kSilso + QStringLiteral("monthssn_crlf_1950.dat"), 1950, 1950);
        TYearSummaries fromCrLf;
        QVERIFY(LoadYearSummaries(1950, fromCrLf));
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(fromCrLf[i].SIDC, fromLf[i].SIDC);
            QCOMPARE(fromCrLf[i].SIDCM, fromLf[i].SIDCM);
        }
        QCOMPARE(fromLf[0].SIDC, 101.6);
        QCOMPARE(fromLf[11].SIDCM, 72.3);
    }

    void fixtures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<double>("sidc");
        QTest::addColumn<double>("sidcm");
        // A missing month keeps what it had, the months after it are still found.
        QTest::newRow("missing month") << "fixture_missing_month.dat" << 2004 << 12 << kSentinel << kSentinel;
        QTest::newRow("after the missing month") << "fixture_missing_month.dat" << 2005 << 1 << 31.3 << 34.6;
        QTest::newRow("before the file")
            << "fixture_missing_month.dat" << 2004 << 9 << kSentinel << kSentinel;
        // A file that ends in May: June to December stay as they were.
        QTest::newRow("short file, last month") << "fixture_short_to2005-05.dat" << 2005 << 5 << 42.7 << 28.9;
        QTest::newRow("short file, June")
            << "fixture_short_to2005-05.dat" << 2005 << 6 << kSentinel << kSentinel;
        QTest::newRow("short file, December")
            << "fixture_short_to2005-05.dat" << 2005 << 12 << kSentinel << kSentinel;
        QTest::newRow("-1.0 is stored in the old format")
            << "fixture_negative_smoothed.dat" << 2004 << 4 << 39.3 << -1.0;
        QTest::newRow("V2 missing month") << "fixture_v2_gaps.txt" << 2004 << 3 << kSentinel << kSentinel;
        QTest::newRow("V2 -1.0 keeps the value")
            << "fixture_v2_gaps.txt" << 2004 << 11 << kSentinel << kSentinel;
        QTest::newRow("V2 found month") << "fixture_v2_gaps.txt" << 2004 << 10 << 74.2 << kSentinel;
    }
    void fixtures() {
        QFETCH(QString, file);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(double, sidc);
        QFETCH(double, sidcm);
        FillSentinel(2004, 2005);
        ImportSidc(kSilso + file, 2004, 2005);
        const TMonthSummary m = Summary(year, month);
        QCOMPARE(m.SIDC, sidc);
        QCOMPARE(m.SIDCM, sidcm);
        QCOMPARE(m.MeanRe, 12.5); // other fields untouched
        QCOMPARE(m.NetDef, kSentinel);
    }

    void nonIntegerYearEndsTheImport() {
        FillSentinel(1949, 1950);
        try {
            ImportSidc(kSilso + QStringLiteral("fixture_bad_year.dat"), 1949, 1950);
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("'19x0' ist kein gültiger Integerwert"));
        }
        // The whole file is read before anything is written: no year changed.
        QCOMPARE(Summary(1949, 6).SIDC, kSentinel);
        QCOMPARE(Summary(1950, 1).SIDC, kSentinel);
    }

    void nonIntegerYearInV2File() {
        const QString path = home_.path() + QStringLiteral("/bad.txt");
        WriteFileAtomically(
            path, "2004 01 2004.042   60.6   5.2   491  \n20O4 02 2004.124   74.6   6.0   479  \n");
        FillSentinel(2004, 2004);
        QVERIFY_THROWS_EXCEPTION(TarvoError, ImportSidc(path, 2004, 2004));
        QCOMPARE(Summary(2004, 1).SIDC, kSentinel);
    }

    void missingFileIsAnIoError() {
        FillSentinel(2000, 2000);
        const QString missing = home_.path() + QStringLiteral("/nichtda.dat");
        try {
            ImportSidc(missing, 2000, 2000);
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Datei %1 wurde nicht gefunden (E/A-Fehler 2)")
                                      .arg(QDir::toNativeSeparators(missing)));
        }
        QCOMPARE(Summary(2000, 1).SIDC, kSentinel);
    }

    void convertLineEnds_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("read");
        QTest::newRow("LF") << QByteArray("a\nbb\n") << QByteArray("a\r\nbb\r\n");
        QTest::newRow("last line without LF") << QByteArray("a\nbb") << QByteArray("a\r\nbb\r\n");
        QTest::newRow("CR LF kept") << QByteArray("a\r\nbb\r\n") << QByteArray("a\r\nbb\r\n");
        // Only the first 255 bytes are probed for a CR.
        const QByteArray longLine(300, 'x');
        QTest::newRow("CR after the probe")
            << QByteArray(longLine + "\r\n") << QByteArray(longLine + "\r\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void convertLineEnds() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, read);
        QCOMPARE(ConvertLineEnds(input), read);
    }

    // The conversion happens in memory: the folder of the file read sees no
    // file made or removed, and a read-only folder works.
    void neverWritesBesideTheFile_data() {
        QTest::addColumn<bool>("sidc");
        QTest::newRow("sidc") << true;
        QTest::newRow("netdef") << false;
    }
    void neverWritesBesideTheFile() {
        QFETCH(bool, sidc);
        QTemporaryDir source;
        const QString path = source.filePath(QStringLiteral("monthssn.dat"));
        QVERIFY(QFile::copy(kSilso + QStringLiteral("fixture_short_to2005-05.dat"), path));
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(source.path()).constData(),
                                  IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MODIFY) >= 0);
        if (sidc)
            ImportSidc(path, 2005, 2005);
        else
            ImportNetworkDefinitive(path, 2005, 2005);
        char events[4096];
        const ssize_t n = read(watch, events, sizeof events);
        close(watch);
        QCOMPARE(n, ssize_t(-1)); // nothing happened in the folder
        QCOMPARE(Summary(2005, 5).SIDC, sidc ? 42.7 : 0.0);
    }

    void importsFromAReadOnlyFolder() {
        QTemporaryDir source;
        const QString path = source.filePath(QStringLiteral("monthssn.dat"));
        QVERIFY(QFile::copy(kSilso + QStringLiteral("fixture_short_to2005-05.dat"), path));
        QVERIFY(QFile::setPermissions(source.path(), QFile::ReadOwner | QFile::ExeOwner));
        const FolderSnapshot before = SnapshotFolder(source.path());
        FillSentinel(2005, 2005);
        const TSidcImportResult result = ImportSidc(path, 2005, 2005);
        QCOMPARE(result.report.monthsWritten, 5);
        QCOMPARE(Summary(2005, 5).SIDC, 42.7);
        QCOMPARE(SnapshotFolder(source.path()), before);
        QFile::setPermissions(source.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void usersKonFileIsLeftAlone() {
        const QString path = home_.path() + QStringLiteral("/monthssn.dat");
        QVERIFY(QFile::copy(kSilso + QStringLiteral("fixture_short_to2005-05.dat"), path));
        WriteFileAtomically(path + QStringLiteral(".kon"), "meine Notizen");
        ImportSidc(path, 2005, 2005);
        QCOMPARE(ReadBytes(path + QStringLiteral(".kon")), QByteArray("meine Notizen"));
        QCOMPARE(Summary(2005, 5).SIDC, 42.7);
    }

    void networkDefinitive_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("jan");
        QTest::addColumn<double>("feb");
        QTest::addColumn<double>("mar");
        QTest::newRow("values, LF") << QByteArray("Kopf\n200001   123.4\n200002    99.0\n200003   abc\n")
                                    << 123.4 << 99.0 << kSentinel;
        // The first line is skipped unread even when it holds data.
        QTest::newRow("first line skipped")
            << QByteArray("200001   111.1\r\n200002    22.2\r\n") << kSentinel << 22.2 << kSentinel;
        // Month 13 of 1999 is no January 2000, month 00 no December.
        QTest::newRow("months out of range")
            << QByteArray("Kopf\r\n199913     7.0\r\n200000     8.0\r\n200002     9.0\r\n") << kSentinel
            << 9.0 << kSentinel;
    }
    void networkDefinitive() {
        QFETCH(QByteArray, content);
        QFETCH(double, jan);
        QFETCH(double, feb);
        QFETCH(double, mar);
        const QString path = home_.path() + QStringLiteral("/rtarvo.dat");
        WriteFileAtomically(path, content);
        FillSentinel(2000, 2000);
        ImportNetworkDefinitive(path, 2000, 2000);
        QCOMPARE(Summary(2000, 1).NetDef, jan);
        QCOMPARE(Summary(2000, 2).NetDef, feb);
        QCOMPARE(Summary(2000, 3).NetDef, mar);
        QCOMPARE(Summary(2000, 1).SIDC, kSentinel);
        QVERIFY(!QFile::exists(path + QStringLiteral(".kon")));
    }

    // A shorter file imported later with the default years leaves every
    // month it does not hold as the longer file put it.
    void shorterFileKeepsEarlierMonths_data() {
        QTest::addColumn<QString>("full");
        QTest::addColumn<int>("tailLines");
        QTest::newRow("SILSO monthly") << "SN_m_tot_V2.0_1950-2005.txt" << 8;
        QTest::newRow("old columns") << "monthssn_1950-2005.dat" << 10;
    }
    void shorterFileKeepsEarlierMonths() {
        QFETCH(QString, full);
        QFETCH(int, tailLines);
        const int thisYear = QDate::currentDate().year();
        ImportSidc(kSilso + full, 1950, thisYear);
        std::map<int, std::pair<double, double>> before;
        for (int year = 1950; year <= 2005; ++year)
            for (int month = 1; month <= 12; ++month) {
                const TMonthSummary m = Summary(year, month);
                before[year * 12 + month - 1] = {m.SIDC, m.SIDCM};
            }
        QList<QByteArray> lines = ReadBytes(kSilso + full).split('\n');
        if (lines.last().isEmpty())
            lines.removeLast();
        const QString tail = home_.path() + QStringLiteral("/tail.txt");
        WriteFileAtomically(tail, lines.mid(lines.size() - tailLines).join('\n') + '\n');

        const TSidcImportResult result = ImportSidc(tail, 1950, thisYear);
        QCOMPARE(result.report.monthsWritten, tailLines);
        QCOMPARE(result.report.written.last, MonthKey(2005, 12));
        for (const auto &[key, values] : before) {
            const TMonthSummary m = Summary(key / 12, key % 12 + 1);
            if (key >= MonthKey(2005, 12) - tailLines + 1) {
                QCOMPARE(m.SIDC, values.first); // the same numbers again
                continue;
            }
            QCOMPARE(m.SIDC, values.first);
            QCOMPARE(m.SIDCM, values.second);
        }
    }

    void reportNamesWhatWasImportedAndWhatNot() {
        const QString path = kSilso + QStringLiteral("fixture_missing_month.dat");
        FillSentinel(2003, 2006);
        const TSidcImportResult result = ImportSidc(path, 2003, 2006);
        const TImportReport &r = result.report;
        const QByteArray content = ReadBytes(path);
        QCOMPARE(r.monthsWritten, int(content.count('\n')));
        QCOMPARE(MonthText(r.written.first), QStringLiteral("10/2004"));
        QCOMPARE(MonthText(r.written.last), QStringLiteral("03/2005"));
        QCOMPARE(ImportReportText(r),
                 QStringLiteral("Importiert: 10/2004 bis 03/2005, 5 Monate geschrieben.\n"
                                "Nicht in der Datei enthalten, unverändert: 01/2003 bis 09/2004, 12/2004, "
                                "04/2005 bis 12/2006."));
        QCOMPARE(ImportDoneMessage(SidcImportedMessage(), r),
                 SidcImportedMessage() + QStringLiteral("\n\n") + ImportReportText(r));
    }

    // A file that matches no month of the range is an error naming the file,
    // and nothing is written.
    void nothingToImportIsAnError_data() {
        QTest::addColumn<bool>("sidc");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("detail");
        const QByteArray old = "2004 1 2004.042   60.6 *  72.2\n";
        QTest::newRow("sidc: empty file") << true << QByteArray() << 2004 << QString();
        QTest::newRow("sidc: another format")
            << true << QByteArray("<html>\n<body>404</body>\n</html>\n") << 2004 << QString();
        QTest::newRow("sidc: another separated format")
            << true << QByteArray("Jahr;Monat;Wert\nx;y;z\n") << 2004 << QString();
        QTest::newRow("sidc: shifted columns")
            << true << QByteArray(" 200401  2004.042   60.6    72.2\n") << 2004 << QString();
        QTest::newRow("sidc: range after the file")
            << true << ReadBytes(kSilso + QStringLiteral("fixture_short_to2005-05.dat")) << 2006
            << QStringLiteral("ihre Monate reichen von 01/2005 bis 05/2005");
        QTest::newRow("sidc: V2 range before the file")
            << true << ReadBytes(kSilso + QStringLiteral("SN_m_tot_V2.0_tail8_to2024-03.txt")) << 2000
            << QStringLiteral("ihre Monate reichen von 08/2023 bis 03/2024");
        QTest::newRow("netdef: header only") << false << QByteArray("Jahr Mo  Rdef\r\n") << 2004 << QString();
        QTest::newRow("netdef: numbers missing")
            << false << QByteArray("Kopf\r\n200401   abc\r\n") << 2004 << QStringLiteral("mit Zahlen");
    }
    void nothingToImportIsAnError() {
        QFETCH(bool, sidc);
        QFETCH(QByteArray, content);
        QFETCH(int, first);
        QFETCH(QString, detail);
        const QString path = home_.path() + QStringLiteral("/import.dat");
        WriteFileAtomically(path, content);
        QString message;
        try {
            if (sidc)
                ImportSidc(path, first, first + 1);
            else
                ImportNetworkDefinitive(path, first, first + 1);
        } catch (const TarvoError &e) {
            message = e.message();
        }
        QVERIFY2(message.contains(QStringLiteral("„%1“").arg(path)), qPrintable(message));
        QVERIFY2(message.contains(QLatin1String("keine passenden Monatszeilen")), qPrintable(message));
        QVERIFY2(message.contains(detail), qPrintable(message));
        QVERIFY(message.endsWith(QLatin1String("Es wurde nichts importiert.")));
        // No archive was made or touched.
        QVERIFY(QDir(home_.path() + QStringLiteral("/0001")).entryList(QDir::Files).isEmpty());
    }

    // The values of a file, in memory, as the fuzz targets use them.
    void monthValuesInMemory() {
        const QByteArray bytes = ReadBytes(kSilso + QStringLiteral("fixture_missing_month.dat"));
        const TMonthValues values = SidcMonthValues(bytes, RecogniseSidcFormat(bytes), 2004, 2005);
        TYearSummaries year{};
        year[11].SIDC = kSentinel;
        ApplyMonthValues(values, 2004, year);
        QCOMPARE(year[9].SIDC, 48.0);
        QCOMPARE(year[9].SIDCM, 35.9);
        QCOMPARE(year[11].SIDC, kSentinel); // December 2004 is not in the file
        const TMonthValues netdef = NetworkDefinitiveValues("Kopf\n200401   123.4\n", 2004, 2004);
        QCOMPARE(netdef.months.size(), std::size_t(1));
        QCOMPARE(netdef.months.at(MonthKey(2004, 1)).front().value, 123.4);
    }

    void twoDigitYears_data() {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("year");
        QTest::newRow("5") << 5 << 2005;
        QTest::newRow("0") << 0 << 2000;
        QTest::newRow("49") << 49 << 2049;
        QTest::newRow("50") << 50 << 1950;
        QTest::newRow("75") << 75 << 1975;
        QTest::newRow("99") << 99 << 1999;
        QTest::newRow("1950") << 1950 << 1950;
    }
    void twoDigitYears() {
        QFETCH(int, typed);
        QFETCH(int, year);
        QCOMPARE(ExpandTwoDigitYear(typed), year);
    }

    void yearRule_data() {
        QTest::addColumn<int>("minYear");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("valid");
        QTest::newRow("sidc ok") << kSidcFirstYear << 1950 << 2005 << true;
        QTest::newRow("sidc 1749") << kSidcFirstYear << 1749 << 1749 << true;
        QTest::newRow("sidc 1748") << kSidcFirstYear << 1748 << 2005 << false;
        QTest::newRow("last after current") << kSidcFirstYear << 1950 << 2011 << false;
        QTest::newRow("first after last") << kSidcFirstYear << 2005 << 2004 << false;
        QTest::newRow("netdef 1976") << kNetDefFirstYear << 1976 << 2005 << false;
        QTest::newRow("netdef 1977") << kNetDefFirstYear << 1977 << 2010 << true;
    }
    void yearRule() {
        QFETCH(int, minYear);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, valid);
        QCOMPARE(ImportYearsValid(minYear, first, last, 2010), valid);
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"

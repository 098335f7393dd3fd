// SILSO's daily and hemispheric files into the reference store: both daily
// formats read alike, the hemispheric month field in both spellings, a new
// import replaces what the file holds and keeps the rest, and every refused
// file leaves the store as it was.
#include "../common/error_of.h"
#include "../common/file_size_limit.h"
#include "reference/reference_store.h"
#include "reference/silso_files.h"
#include "reference/silso_import.h"
#include "reference_fixture.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

const QString kSilso = QStringLiteral(TARVO_TEST_DATA "/silso/");

QDate Day(const TSilsoDay &d) {
    return QDate::fromJulianDay(d.day);
}

} // namespace

class TestSilsoImport : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> files_;

    QString file(const QString &name, const QByteArray &bytes) {
        const QString path = files_->filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        StorageStartUp(home_->path());
    }

    // The CSV and the text file of 2000 hold the same 366 days.
    void bothDailyFormatsGiveTheSameDays() {
        const QByteArray csv = ReadBytes(kSilso + "SN_d_tot_V2.0_2000.csv");
        const QByteArray text = ReadBytes(kSilso + "SN_d_tot_V2.0_2000.txt");
        QCOMPARE(RecogniseSilsoFile(csv), TSilsoFileKind::DailyCsv);
        QCOMPARE(RecogniseSilsoFile(text), TSilsoFileKind::DailyText);
        const std::vector<TSilsoDay> fromCsv = ParseSilsoDailyFile(csv, "a.csv");
        const std::vector<TSilsoDay> fromText = ParseSilsoDailyFile(text, "a.txt");
        QCOMPARE(fromCsv.size(), std::size_t(366));
        QVERIFY(fromCsv == fromText);
        QCOMPARE(Day(fromCsv.front()), QDate(2000, 1, 1));
        QCOMPARE(fromCsv.front().sn, 71);
        QCOMPARE(fromCsv.front().stdDev, 3.8);
        QCOMPARE(fromCsv.front().observations, 14);
        QVERIFY(!fromCsv.front().provisional);
        QCOMPARE(Day(fromCsv.back()), QDate(2000, 12, 31));
    }

    // The text file's '*' in column 37 marks the provisional days (from April 2025).
    void provisionalDaysOfTheTextFile() {
        const std::vector<TSilsoDay> days =
            ParseSilsoDailyFile(ReadBytes(kSilso + "SN_d_tot_V2.0_2025-01_to_2025-07.txt"), "d.txt");
        QCOMPARE(days.size(), std::size_t(212));
        for (const TSilsoDay &d : days)
            QCOMPARE(d.provisional, Day(d) >= QDate(2025, 4, 1));
        QCOMPARE(days.back().sn, 145);
    }

    // " 1" up to March 2016, "04" from April 2016.
    void hemisphericMonthsInBothSpellings() {
        const std::vector<TSilsoHemMonth> months =
            ParseSilsoHemFile(ReadBytes(kSilso + "SN_m_hem_V2.0_2015-2016.csv"), "h.csv");
        QCOMPARE(months.size(), std::size_t(24));
        QCOMPARE(months.front().month, SilsoMonthKey(2015, 1));
        QCOMPARE(months.front().north, 28.0);
        QCOMPARE(months.front().south, 65.0);
        const TSilsoHemMonth &april = months[15];
        QCOMPARE(april.month, SilsoMonthKey(2016, 4));
        QCOMPARE(april.total, 37.9);
        QCOMPARE(april.north, 28.5);
        QCOMPARE(april.south, 9.4);
        QCOMPARE(april.obsSouth, 1126);
        QCOMPARE(months.back().month, SilsoMonthKey(2016, 12));
    }

    void importTellsWhatItStored() {
        const TSilsoImportSummary daily = ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.csv");
        QCOMPARE(SilsoImportDoneMessage(daily),
                 QStringLiteral("Die SILSO-Tageszahlen sind jetzt gespeichert.\n\n"
                                "Importiert: 01.01.2000 bis 31.12.2000, 366 Tageswerte."));
        const TSilsoImportSummary provisional =
            ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2025-01_to_2025-07.txt");
        QCOMPARE(SilsoImportDoneMessage(provisional),
                 QStringLiteral("Die SILSO-Tageszahlen sind jetzt gespeichert.\n\n"
                                "Importiert: 01.01.2025 bis 31.07.2025, 212 Tageswerte.\n"
                                "Davon vorläufig: 122 Tageswerte."));
        const TSilsoImportSummary hem = ImportSilsoHemispheric(kSilso + "SN_m_hem_V2.0_2015-2016.csv");
        QCOMPARE(SilsoImportDoneMessage(hem),
                 QStringLiteral("Die SILSO-Halbkugelzahlen sind jetzt gespeichert.\n\n"
                                "Importiert: 01/2015 bis 12/2016, 24 Monatswerte."));
        QCOMPARE(LoadSilsoDaily().days.size(), std::size_t(366 + 212));
        QCOMPARE(LoadSilsoHem().months.size(), std::size_t(24));
        QCOMPARE(SilsoDailyValue(LoadSilsoDaily(), QDate(2000, 1, 1)), std::optional<int>(71));
    }

    // A day without a number is counted and stored as none.
    void daysWithoutNumber() {
        const TSilsoImportSummary s = ImportSilsoDaily(file("d.csv", HandSilsoDailyCsv()));
        QCOMPARE(s.values, 6);
        QCOMPARE(s.withoutValue, 1);
        QVERIFY(SilsoImportDoneMessage(s).endsWith(QStringLiteral("\nOhne Zahl in der Datei: 1 Tag.")));
        const TSilsoDailySeries stored = LoadSilsoDaily();
        QCOMPARE(stored.days.size(), std::size_t(7));
        QCOMPARE(SilsoDailyValue(stored, QDate(2000, 3, 7)), std::nullopt);
        QCOMPARE(SilsoDailyValue(stored, QDate(2000, 3, 6)), std::nullopt);
        QCOMPARE(SilsoDailyValue(stored, QDate(2000, 3, 8)), std::optional<int>(16));
    }

    // A new import replaces the days it holds and keeps every other day.
    void newImportReplacesItsDaysAndKeepsTheRest() {
        ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.csv");
        ImportSilsoDaily(file("newer.csv", "2001;01;01;2001.001; 300; 10.0;  30;0\n"
                                           "2000;02;29;2000.163; 999;  9.9;  40;1\n"
                                           "2000;02;28;2000.160;  -1; -1.0;   0;1\n"));
        const TSilsoDailySeries stored = LoadSilsoDaily();
        QCOMPARE(stored.days.size(), std::size_t(367));
        QCOMPARE(SilsoDailyValue(stored, QDate(2000, 2, 29)), std::optional<int>(999));
        QCOMPARE(SilsoDailyValue(stored, QDate(2000, 2, 28)), std::nullopt); // replaced by "no value"
        QCOMPARE(SilsoDailyValue(stored, QDate(2000, 2, 27)), std::optional<int>(220));
        QCOMPARE(SilsoDailyValue(stored, QDate(2001, 1, 1)), std::optional<int>(300));
        QVERIFY(stored.days.back().provisional);
        QVERIFY(std::is_sorted(stored.days.begin(), stored.days.end(),
                               [](const TSilsoDay &a, const TSilsoDay &b) { return a.day < b.day; }));

        ImportSilsoHemispheric(kSilso + "SN_m_hem_V2.0_2015-2016.csv");
        ImportSilsoHemispheric(file("hem.csv",
                                    "2016;04;2016.288;  40.0; 30.0; 10.0; 3.5; 2.8; 0.9; 1; 2; 3;0\n"
                                    "2017;01;2017.042;  20.0; 12.0;  8.0; 2.0; 1.0; 1.0; 1; 2; 3;0\n"));
        const TSilsoHemSeries hem = LoadSilsoHem();
        QCOMPARE(hem.months.size(), std::size_t(25));
        QCOMPARE(FindSilsoHemMonth(hem, 2016, 4)->north, 30.0);
        QVERIFY(FindSilsoHemMonth(hem, 2016, 4)->provisional);
        QCOMPARE(FindSilsoHemMonth(hem, 2016, 5)->north, 34.2);
        QCOMPARE(FindSilsoHemMonth(hem, 2017, 1)->south, 8.0);
    }

    // The store is our own documented text: comments, one line per day, CR LF.
    void storeFileIsTheDocumentedText() {
        ImportSilsoDaily(
            file("d.csv", "2000;03;02;2000.166;  48;  2.9;  11;0\n2000;03;01;2000.163;  60;  3.0;  10;1\n"));
        ImportSilsoHemispheric(file("h.csv", HandSilsoHemCsv()));
        const QString folder = Storage().ProgramDir + QStringLiteral("Referenz/");
        QCOMPARE(SilsoDailyStorePath(), folder + QStringLiteral("silso-daily.txt"));
        const QByteArray daily = ReadBytes(SilsoDailyStorePath());
        QVERIFY(daily.startsWith("# Tarvo-Referenzdaten: SILSO-Tageszahlen"));
        QVERIFY(
            daily.contains("# Quelle: WDC-SILSO, Royal Observatory of Belgium, Brussels (CC BY-NC 4.0)\r\n"));
        QVERIFY(daily.endsWith("\r\n2000-03-01;60;3;10;0\r\n2000-03-02;48;2.9;11;1\r\n"));
        QVERIFY(ReadBytes(SilsoHemStorePath()).endsWith("\r\n2000-03;52.5;30;22.5;4;3;2;500;400;400;0\r\n"));
        // Read back as written.
        const TSilsoDailySeries series = LoadSilsoDaily();
        QCOMPARE(SilsoDailyStoreBytes(series), daily);
    }

    // Files that are refused, each named in the message; nothing is written.
    void refusedFilesWriteNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("daily");
        QTest::addColumn<QString>("message");
        QTest::newRow("hemispheric as daily")
            << "SN_m_hem_V2.0.csv" << HandSilsoHemCsv() << true
            << "enthält keine SILSO-Tageszahlen (SN_d_tot als CSV oder Text); sie enthält die "
               "Halbkugel-Monatszahlen (SN_m_hem).\nEs wurde nichts importiert.";
        QTest::newRow("daily as hemispheric")
            << "SN_d_tot_V2.0.csv" << HandSilsoDailyCsv() << false
            << "enthält keine SILSO-Halbkugelzahlen (SN_m_hem als CSV); sie enthält SILSO-Tageszahlen "
               "(SN_d_tot).";
        QTest::newRow("monthly") << "SN_m_tot_V2.0.csv"
                                 << QByteArray("1749;01;1749.042;  96.7; -1.0;   -1;1\n") << true
                                 << "sie enthält Monatszahlen (für „Datei – Import – SIDC“)";
        QTest::newRow("empty") << "leer.csv" << QByteArray("\n  \n") << true << "; sie ist leer.";
        QTest::newRow("bad date")
            << "falsch.csv"
            << QByteArray("2000;02;28;2000.160;  1; 1.0; 1;1\n\n2000;02;30;2000.163;  2; 1.0; 1;1\n") << true
            << "enthält in Zeile 3 keine gültige SILSO-Tageszeile:\n"
               "2000;02;30;2000.163;  2; 1.0; 1;1\nEs wurde nichts importiert.";
        QTest::newRow("bad number") << "falsch.txt" << QByteArray("2000  1 01 2000.001   7x   3.8   14  \n")
                                    << true << "enthält in Zeile 1 keine gültige SILSO-Tageszeile";
        QTest::newRow("bad hemispheric month")
            << "h.csv" << QByteArray("2000;13;2000.204;  52.5; 30.0; 22.5; 4.0; 3.0; 2.0; 5; 4; 4;1\n")
            << false << "enthält in Zeile 1 keine gültige Halbkugel-Monatszeile";
        QTest::newRow("only -1") << "leer.csv" << QByteArray("1818;01;01;1818.001;  -1; -1.0;   0;1\n")
                                 << true << "enthält keine Tageswerte, nur Zeilen ohne Zahl (-1).";
    }
    void refusedFilesWriteNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, daily);
        QFETCH(QString, message);
        ImportSilsoDaily(file("vorher.csv", HandSilsoDailyCsv()));
        ImportSilsoHemispheric(file("vorher-hem.csv", HandSilsoHemCsv()));
        const QByteArray dailyBefore = ReadBytes(SilsoDailyStorePath());
        const QByteArray hemBefore = ReadBytes(SilsoHemStorePath());
        const QString path = file(name, bytes);
        const QString error = ErrorOf([&] { daily ? ImportSilsoDaily(path) : ImportSilsoHemispheric(path); });
        QVERIFY2(error.startsWith(QStringLiteral("Die Datei „%1“ ").arg(path)), qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(ReadBytes(SilsoDailyStorePath()), dailyBefore);
        QCOMPARE(ReadBytes(SilsoHemStorePath()), hemBefore);
    }

    void missingFileIsNamed() {
        const QString path = files_->filePath(QStringLiteral("gibt-es-nicht.csv"));
        QCOMPARE(ErrorOf([&] { ImportSilsoDaily(path); }),
                 QStringLiteral("Die Datei „%1“ gibt es nicht.\nEs wurde nichts importiert.").arg(path));
        QVERIFY(!QDir(Storage().ProgramDir + QStringLiteral("Referenz")).exists());
    }

    // A damaged store is neither read as empty nor written over.
    void damagedStoreIsKept() {
        QVERIFY(QDir().mkpath(ReferenceFolder()));
        const QByteArray damaged = "# Kopf\r\n2000-03-01;60;3;10;0\r\n2000-03-0x;48;2.9;11;1\r\n";
        WriteBytes(SilsoDailyStorePath(), damaged);
        const QString error = ErrorOf([&] { ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.csv"); });
        QCOMPARE(error, QStringLiteral("Die Referenzdatei „%1“ ist in Zeile 3 beschädigt und wird nicht "
                                       "verändert. Stellen Sie sie aus einer Datensicherung wieder her, oder "
                                       "löschen Sie sie und importieren Sie die SILSO-Dateien neu.")
                            .arg(SilsoDailyStorePath()));
        QCOMPARE(ReadBytes(SilsoDailyStorePath()), damaged);
        QCOMPARE(ErrorOf([] { LoadSilsoDaily(); }), error);
    }

    // A store that cannot be written (the disk is full) stays as it was and says so.
    void unwritableStore() {
        std::signal(SIGXFSZ, SIG_IGN);
        ImportSilsoDaily(file("d.csv", HandSilsoDailyCsv()));
        const QByteArray before = ReadBytes(SilsoDailyStorePath());
        QString error;
        {
            FileSizeLimit limit(before.size() + 100);
            error = ErrorOf([&] { ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.csv"); });
        }
        QCOMPARE(error, QStringLiteral("In %1 kann nicht geschrieben werden").arg(SilsoDailyStorePath()));
        QCOMPARE(ReadBytes(SilsoDailyStorePath()), before);
    }

    // The whole daily file: its first and last day, and the days without value.
    void wholeDailyRange() {
        std::vector<TSilsoDay> days;
        for (int i = 0; i < 3; ++i)
            days.push_back({static_cast<int>(QDate(1818, 1, 1 + i).toJulianDay()), -1, -1, 0, false});
        StoreSilsoDays(days);
        const TSilsoDailySeries stored = LoadSilsoDaily();
        QVERIFY(!FirstSilsoValueDate(stored).isValid());
        QVERIFY(!HasSilsoValuesInYear(stored, 1818));
        ImportSilsoDaily(kSilso + "SN_d_tot_V2.0_2000.txt");
        const TSilsoDailySeries more = LoadSilsoDaily();
        QCOMPARE(FirstSilsoValueDate(more), QDate(2000, 1, 1));
        QCOMPARE(LastSilsoValueDate(more), QDate(2000, 12, 31));
        QVERIFY(HasSilsoValuesInYear(more, 2000));
        QVERIFY(!HasSilsoValuesInYear(more, 1999));
    }
};

QTEST_GUILESS_MAIN(TestSilsoImport)
#include "test_silso_import.moc"

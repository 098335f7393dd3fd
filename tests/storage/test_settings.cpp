#include "../common/day_records.h"
#include "../common/file_size_limit.h"
#include "storage_fixture.h"
#include "storage/archive.h"
#include "storage/cp1252.h"
#include "storage/day_fields.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <QFileInfo>
#include <QtTest>
#include <csignal>
#include <cstring>
#include <memory>

namespace {

QByteArray ReadFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString SettingsPath() { return Storage().ProgramDir + QStringLiteral("tarvo.ini"); }

// An archive 2000..2049 as an older version left it: March 2004 holds
// imported SIDC and network numbers beside own means, counts and a smoothed
// value, and the year 2004 carries the aggregation stamp `stamp`.
QByteArray OlderVersionsArchive(double stamp = 45000.0) {
    TArchiveRecords records;
    CompleteArchive(records, 2000);
    for (int month = 0; month < 12; ++month)
        records[4 * 12 + month].DatStamp = stamp;
    TMonthSummary &march = records[4 * 12 + 2];
    march.SIDC = 123.5;
    march.SIDCM = 120.25;
    march.NetDef = 98.75;
    march.MeanRe = 999.0;
    march.R13 = 77.0;
    march.Counts[0] = 31;
    march.Reserved[7] = 0x5A;
    return ArchiveBytes(records);
}

// March 2004 of an archive file's bytes.
TMonthSummary March2004(const QByteArray &archive) {
    TYearSummaries year;
    std::memset(static_cast<void *>(year.data()), 0, sizeof year);
    ReadYearSummaries(archive, 2004, year);
    return year[2];
}

// tarvo.ini of this program version with the data path `stored` and the
// observer Muster in 0001.
void WriteSettingsWithDataPath(const QString &stored) {
    IniFile ini(SettingsPath());
    ini.writeString("TARVO32", "FileVersion", Storage().ProgramVersion);
    ini.writeString("TARVO32", "Datenpfad", stored);
    ini.writeString("Beobachter", "Muster", "0001\\");
    ini.save();
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void cp1252RoundTripsEveryByte() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        QCOMPARE(ToCp1252(FromCp1252(all)), all);
        QCOMPARE(FromCp1252(QByteArray("\x80\xe4\xdf")), QStringLiteral("€äß"));
        QCOMPARE(ToCp1252(QStringLiteral("Ω")), QByteArray("?"));
    }

    void iniReadsAndWritesItsConventions() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.ini");
        WriteFile(path, "[Leer]\n[A]\nZwei=2\neins = 1 \nHex=0x1F\nBad=12a\nName=M\xfcller\n[a]\nZwei=9\n");
        IniFile ini(path);
        QVERIFY(!ini.sectionExists("Leer"));
        QVERIFY(!ini.sectionExists("Fehlt"));
        QCOMPARE(ini.sectionKeys("A"), QStringList({"Zwei", "eins", "Hex", "Bad", "Name"}));
        QCOMPARE(ini.readInteger("A", "zwei", 0), 2);
        QCOMPARE(ini.readInteger("A", "eins", 0), 1);
        QCOMPARE(ini.readInteger("A", "Hex", 0), 31);
        QCOMPARE(ini.readInteger("A", "Bad", 7), 7);
        QCOMPARE(ini.readInteger("A", "Fehlt", 5), 5);
        QCOMPARE(ini.readBool("A", "Hex", false), true);
        QCOMPARE(ini.readString("A", "Name", ""), QStringLiteral("Müller"));

        ini.writeBool("Neu", "Ja", true);
        ini.writeBool("Neu", "Nein", false);
        ini.writeString("A", "Zeile", "a\r\nb");
        ini.eraseSection("leer");
        ini.save();
        const QByteArray bytes = ReadFile(path);
        QVERIFY(bytes.contains("Name=M\xfcller\r\n"));
        QVERIFY(bytes.contains("[Neu]\r\nJa=1\r\nNein=0\r\n"));
        QVERIFY(bytes.contains("Zeile=a  b\r\n"));
        QVERIFY(!bytes.contains("[Leer]"));
        QVERIFY(!bytes.contains("\n\n"));
        QVERIFY(!QByteArray(bytes).replace("\r\n", "").contains('\n'));
    }

    // Quotes and blanks around a value are taken off when it is read (as
    // Windows does): a value that has quotes or blanks of its own keeps them
    // through any number of saves and loads.
    void quotedValuesSurviveSaving() {
        QTemporaryDir dir;
        const QString path = dir.filePath("q.ini");
        WriteFile(path, "[A]\r\nName=\"Max\"\r\n");
        const QStringList values{"'''", "\"Erika\"", "''", "'a'b'", "\"", "x\"", " Erika ", " \"", "x\u00a0"};
        const auto key = [](int i) { return QStringLiteral("k%1").arg(i); };
        IniFile ini(path);
        QCOMPARE(ini.readString("A", "Name", ""), QStringLiteral("Max"));
        for (int i = 0; i < values.size(); ++i)
            ini.writeString("A", key(i), values[i]);
        for (int round = 0; round < 3; ++round) {
            ini.save();
            ini = IniFile(path);
        }
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(ini.readString("A", key(i), "<fehlt>"), values[i]);
        QCOMPARE(ini.readString("A", "Name", ""), QStringLiteral("Max"));
    }

    void firstStartWritesThreeKeys() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        // The data path is the program directory: kept relative, so that a
        // copy of the folder works on itself.
        const QByteArray expected =
            "[TARVO32]\r\nVersion=1.0\r\nFileVersion=" + Storage().ProgramVersion.toLatin1() +
            "\r\nDatenpfad=./\r\n";
        QCOMPARE(ReadFile(SettingsPath()), expected);
        QVERIFY(!Storage().ObserversPresent);
        QVERIFY(Storage().ObserverKeys.isEmpty());
        QCOMPARE(profile.Bugfix, std::uint8_t(0));
        QCOMPARE(profile.AddrRe.text(), DefaultAddressRe());
        QCOMPARE(profile.AddrPos.text(), QString());
    }

    void storedDataPath_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("taken");
        QTest::newRow("another folder") << "<other>" << true;
        QTest::newRow("written on Windows") << "C:\\Tarvo\\" << false;
        QTest::newRow("characters lost in Windows-1252") << "/tmp/?\u00f3d?/" << false;
        QTest::newRow("a file, not a folder") << "<file>" << false;
    }
    void storedDataPath() {
        QFETCH(QString, stored);
        QFETCH(bool, taken);
        QTemporaryDir dir;
        QTemporaryDir other;
        StorageStartUp(dir.path());
        const QString programDir = Storage().DataPath;
        if (stored == QLatin1String("<other>"))
            stored = other.path() + QLatin1Char('/');
        if (stored == QLatin1String("<file>"))
            stored = SettingsPath();
        WriteSettingsWithDataPath(stored);
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        QCOMPARE(Storage().DataPath, taken ? stored : programDir);
        // Saved again: a folder elsewhere as the absolute path it is, the
        // program directory relative to itself.
        SaveProgramSettings(profile);
        QCOMPARE(IniFile(SettingsPath()).readString("TARVO32", "Datenpfad", QString()),
                 taken ? stored : QStringLiteral("./"));
    }

    // A relative "Datenpfad" is resolved against the program directory, not
    // against the working directory; an absolute one elsewhere is kept.
    void relativeDataPath_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("resolved"); // below the program directory
        QTest::addColumn<QString>("savedAs");
        QTest::newRow("program directory") << "./"
                                           << ""
                                           << "./";
        QTest::newRow("written on Windows") << ".\\"
                                            << ""
                                            << "./";
        QTest::newRow("a folder below") << "./daten/"
                                        << "daten/"
                                        << "./daten/";
        QTest::newRow("below, Windows") << ".\\daten\\"
                                        << "daten/"
                                        << "./daten/";
        QTest::newRow("absolute program directory") << "<program>"
                                                    << ""
                                                    << "./";
        QTest::newRow("absolute folder below") << "<program>daten/"
                                               << "daten/"
                                               << "./daten/";
    }
    void relativeDataPath() {
        QFETCH(QString, stored);
        QFETCH(QString, resolved);
        QFETCH(QString, savedAs);
        QTemporaryDir dir;
        QTemporaryDir elsewhere; // the working directory, with a folder of the same name
        QVERIFY(QDir(dir.path()).mkpath("daten/0001"));
        QVERIFY(QDir(elsewhere.path()).mkpath("daten/0001"));
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        StorageStartUp(dir.path());
        const QString programDir = Storage().ProgramDir;
        stored.replace(QLatin1String("<program>"), programDir);
        WriteSettingsWithDataPath(stored);
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        QCOMPARE(Storage().DataPath, programDir + resolved);
        QVERIFY(ObserverFilePath("beob.ini").startsWith(programDir));
        SaveProgramSettings(profile);
        QDir::setCurrent(cwd);
        QCOMPARE(IniFile(SettingsPath()).readString("TARVO32", "Datenpfad", QString()), savedAs);
    }

    void versionUpgradeIsByteWise_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("upgrade");
        QTest::newRow("10 is older than 8") << "0.9.0.10" << "0.9.0.8" << true;
        QTest::newRow("8 is not older than 10") << "0.9.0.8" << "0.9.0.10" << false;
        QTest::newRow("same") << "1.0.0.0" << "1.0.0.0" << false;
        QTest::newRow("prefix is older") << "1.0" << "1.0.0.0" << true;
        QTest::newRow("missing key") << QString() << "1.0.0.0" << true;
        QTest::newRow("empty program version") << QString() << QString() << false;
    }
    void versionUpgradeIsByteWise() {
        QFETCH(QString, stored);
        QFETCH(QString, program);
        QFETCH(bool, upgrade);
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        Storage().ProgramVersion = program;
        QByteArray ini = "[TARVO32]\r\nBeobachter=Muster\r\n";
        if (!stored.isNull())
            ini += "FileVersion=" + stored.toLatin1() + "\r\n";
        ini += "Datenpfad=" + QFile::encodeName(Storage().DataPath) + "\r\n";
        ini += "[Beobachter]\r\nMuster=0001\\\r\n[email]\r\nRE=re@eigen.example\r\nPos=pos@eigen.example\r\n";
        WriteFile(SettingsPath(), ini);
        QDir(dir.path()).mkpath("0001");
        WriteFile(dir.filePath("0001/20002049.asw"), OlderVersionsArchive());
        WriteFile(dir.filePath("0001/SO2004.DAT"), "keep");

        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        const QByteArray archive = ReadFile(dir.filePath("0001/20002049.asw"));
        if (upgrade) {
            // Aggregated anew on the next refresh; the imported series stay.
            const TMonthSummary march = March2004(archive);
            QCOMPARE(archive.size(), OlderVersionsArchive().size());
            QCOMPARE(march.Jahr, 2004);
            QCOMPARE(int(march.Monat), 3);
            QCOMPARE(double(march.SIDC), 123.5);
            QCOMPARE(double(march.SIDCM), 120.25);
            QCOMPARE(double(march.NetDef), 98.75);
            QCOMPARE(int(march.Reserved[7]), 0x5A);
            QCOMPARE(double(march.MeanRe), 0.0);
            QCOMPARE(double(march.R13), 0.0);
            QCOMPARE(int(march.Counts[0]), 0);
            QCOMPARE(double(march.DatStamp), 0.0);
        } else {
            QCOMPARE(archive, OlderVersionsArchive());
        }
        QVERIFY(QFileInfo::exists(dir.filePath("0001/SO2004.DAT")));
        QCOMPARE(profile.AddrRe.text(), upgrade ? DefaultAddressRe() : QStringLiteral("re@eigen.example"));
        QCOMPARE(profile.AddrPos.text(), upgrade ? QString() : QStringLiteral("pos@eigen.example"));
        IniFile after(SettingsPath());
        QCOMPARE(after.readString("TARVO32", "FileVersion", "none"), upgrade ? program : (stored.isNull() ? "none" : stored));
        QCOMPARE(after.keyExists("email", "Pos"), !upgrade);
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001\\"));

        // A later load in the same run renews nothing.
        WriteFile(dir.filePath("0001/20002049.asw"), OlderVersionsArchive());
        LoadProgramSettings(profile);
        QCOMPARE(ReadFile(dir.filePath("0001/20002049.asw")), OlderVersionsArchive());
    }

    // The archives are renewed only once the new version is on record: a
    // tarvo.ini that cannot be written leaves them as they are.
    void upgradeRenewsArchivesOnlyOnceRecorded() {
        std::signal(SIGXFSZ, SIG_IGN);
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        WriteFile(SettingsPath(), "[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=0.9\r\n"
                                  "[Beobachter]\r\nMuster=0001/\r\n");
        QDir(dir.path()).mkpath("0001");
        WriteFile(dir.filePath("0001/20002049.asw"), OlderVersionsArchive());
        TObserverProfile profile = EmptyProfile();
        {
            FileSizeLimit limit(10);
            QVERIFY_THROWS_EXCEPTION(TarvoError, LoadProgramSettings(profile));
        }
        QCOMPARE(ReadFile(dir.filePath("0001/20002049.asw")), OlderVersionsArchive());
        QCOMPARE(IniFile(SettingsPath()).readString("TARVO32", "FileVersion", QString()), QStringLiteral("0.9"));
        LoadProgramSettings(profile);
        QCOMPARE(double(March2004(ReadFile(dir.filePath("0001/20002049.asw"))).MeanRe), 0.0);
        QCOMPARE(IniFile(SettingsPath()).readString("TARVO32", "FileVersion", QString()),
                 Storage().ProgramVersion);
    }

    // After an upgrade the evaluation shows the year file's means again, beside
    // the imported series; a damaged archive is left as it was.
    void upgradeAggregatesAnewAndKeepsImports() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        WriteFile(SettingsPath(), "[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=0.9\r\n"
                                  "[Beobachter]\r\nMuster=0001/\r\nZweiter=0002/\r\n");
        QDir(dir.path()).mkpath("0001");
        QDir(dir.path()).mkpath("0002");
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        auto year = std::make_unique<TYearBuffer>();
        std::memset(year.get(), 0, sizeof *year);
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 31; ++day)
                std::memset(&year->Day(month, day), 0xFF, sizeof(TDayRecord));
        year->Day(3, 10) = ObservedDayRecord("10:00", 3, 12); // Re 42
        year->Day(3, 11) = ObservedDayRecord("11:00", 2, 8);  // Re 28
        WriteYear(2004, *year);
        // The old archive claims it aggregated this very year file already.
        WriteFile(dir.filePath("0001/20002049.asw"),
                  OlderVersionsArchive(FileStampDays(dir.filePath("0001/SO2004.DAT"))));
        WriteFile(dir.filePath("0002/20002049.asw"), "beschädigt");

        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        TYearSummaries summaries;
        QVERIFY(LoadYearSummaries(2004, summaries));
        QCOMPARE(double(summaries[2].MeanRe), 35.0);
        QCOMPARE(int(summaries[2].Counts[CountedFieldIndex("Re")]), 2);
        QCOMPARE(double(summaries[2].SIDC), 123.5);
        QCOMPARE(double(summaries[2].NetDef), 98.75);
        QCOMPARE(ReadFile(dir.filePath("0002/20002049.asw")), QByteArray("beschädigt"));
    }

    void observersKeepFileOrderAndBugfixDefaults() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        WriteFile(SettingsPath(), "[TARVO32]\r\nBeobachter=Zweiter\r\nFileVersion=" +
                                      Storage().ProgramVersion.toLatin1() +
                                      "\r\n[Beobachter]\r\nZweiter=0002/\r\nErster=0001/\r\n");
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        QCOMPARE(Storage().ObserverKeys, QStringList({"Zweiter", "Erster"}));
        QCOMPARE(Storage().ObserverDirs, QStringList({"0002/", "0001/"}));
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0002/"));
        QCOMPARE(profile.Bugfix, std::uint8_t(1));
        QVERIFY(Storage().ObserversPresent);
    }

    // tarvo.ini as an editor may have saved it: CR LF, LF or CR alone, with
    // or without a UTF-8 byte-order mark. The observers stay, and the file
    // is neither taken for a first start nor rewritten.
    void lineEndsAndByteOrderMarkKeepTheObservers_data() {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<bool>("bom");
        QTest::newRow("CR LF") << QByteArray("\r\n") << false;
        QTest::newRow("LF") << QByteArray("\n") << false;
        QTest::newRow("CR") << QByteArray("\r") << false;
        QTest::newRow("CR LF, BOM") << QByteArray("\r\n") << true;
        QTest::newRow("LF, BOM") << QByteArray("\n") << true;
        QTest::newRow("CR, BOM") << QByteArray("\r") << true;
    }
    void lineEndsAndByteOrderMarkKeepTheObservers() {
        QFETCH(QByteArray, lineEnd);
        QFETCH(bool, bom);
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        const QString umlaut = QStringLiteral("Jörg");
        // With a byte-order mark the text is UTF-8, without it Windows-1252.
        const QByteArray name = bom ? umlaut.toUtf8() : ToCp1252(umlaut);
        const QByteArray text =
            QByteArrayList{
                "[TARVO32]",    "Beobachter=" + name,  "FileVersion=" + Storage().ProgramVersion.toLatin1(),
                "[Beobachter]", "Anna=0002\\",         name + "=0001\\",
                "[email]",      "RE=re@eigen.example", ""}
                .join(lineEnd);
        const QByteArray file = (bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text;
        WriteFile(SettingsPath(), file);
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        QVERIFY(Storage().ObserversPresent);
        QCOMPARE(Storage().ObserverKeys, (QStringList{"Anna", umlaut}));
        QCOMPARE(Storage().CurrentObserverKey, umlaut);
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001\\"));
        QCOMPARE(profile.AddrRe.text(), QStringLiteral("re@eigen.example"));
        QCOMPARE(ReadFile(SettingsPath()), file);

        // Written back in the program's own format, with nothing lost.
        SaveProgramSettings(profile);
        const QByteArray saved = ReadFile(SettingsPath());
        QVERIFY(!saved.startsWith("\xEF\xBB\xBF"));
        QVERIFY(saved.contains("Beobachter=J\xF6rg\r\n"));
        LoadProgramSettings(profile);
        QCOMPARE(Storage().ObserverKeys, (QStringList{"Anna", umlaut}));
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001\\"));
    }

    // A tarvo.ini that is there but not understood stops the load with a
    // message naming the file; it is never rewritten as at a first start.
    void settingsFileNotUnderstoodIsKept_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no [TARVO32] section") << QByteArray("[Beobachter]\r\nMuster=0001\\\r\n");
        QTest::newRow("text of another program") << QByteArray("<?xml version=\"1.0\"?>\n<tarvo/>\n");
        QTest::newRow("cut inside the section name") << QByteArray("[TARV");
    }
    void settingsFileNotUnderstoodIsKept() {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        WriteFile(SettingsPath(), contents);
        TObserverProfile profile = EmptyProfile();
        try {
            LoadProgramSettings(profile);
            QFAIL("not understood, but loaded");
        } catch (const SettingsFileError &e) {
            QCOMPARE(e.message(),
                     QStringLiteral(
                         "Die Einstellungsdatei %1 ist beschädigt: der Abschnitt [TARVO32] fehlt. Tarvo "
                         "ändert sie nicht; bitte prüfen Sie die Datei oder holen Sie sie aus einer "
                         "Datensicherung zurück.")
                         .arg(QDir::toNativeSeparators(SettingsPath())));
        }
        QCOMPARE(ReadFile(SettingsPath()), contents);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"tarvo.ini"});
    }

    void profileRoundTripAndDefaults() {
        ObserverFixture fx;
        TObserverProfile defaults = EmptyProfile();
        defaults.Bugfix = 1;
        defaults.Ein.Switch[1] = 7; // not stored: left alone
        LoadProfile(defaults);
        QCOMPARE(defaults.Radius, 0);
        QVERIFY(defaults.Ein.on(CatWolf) && defaults.Aus.on(CatLB));
        QCOMPARE(defaults.Ein.Switch[1], std::uint8_t(7));
        QCOMPARE(defaults.Bugfix, std::uint8_t(1));

        TObserverProfile p = EmptyProfile();
        p.Name1.assign("ABCDEFGHIJKLMNOPQRST"); // 20 characters, field holds 16
        p.Name2.assign("Jörg Müller");
        p.email.assign(QString(61, 'e'));
        p.Radius = 120;
        p.Ein.set(CatNS, false);
        p.Ein.set(CatWolf, true);
        p.Aus.set(CatBeck, false);
        p.Farbe[3] = 0x00FF8000;
        p.SendRe = 1;
        p.SMTPPass.assign("geheim");
        SaveProfile(p);
        QCOMPARE(QFileInfo(fx.observerFile("beob.ini")).permissions() &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());

        TObserverProfile back = EmptyProfile();
        LoadProfile(back);
        QCOMPARE(back.Name1.text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(back.Name2.text(), QStringLiteral("Jörg Müller"));
        QCOMPARE(back.email.length(), 60);
        QCOMPARE(back.eName.text(), QString()); // written empty, so not defaulted
        QCOMPARE(back.Radius, 120);
        QVERIFY(!back.Ein.on(CatNS) && back.Ein.on(CatWolf));
        QVERIFY(!back.Aus.on(CatBeck));
        QCOMPARE(back.Farbe[3], 0x00FF8000);
        QCOMPARE(back.SendRe, std::uint8_t(1));
        QCOMPARE(back.SMTPPass.text(), QStringLiteral("geheim"));
        QVERIFY(fx.read("beob.ini").contains("Name2=J\xf6rg M\xfcller\r\n"));
    }

    void senderNameDefaultsToObserverName() {
        ObserverFixture fx;
        fx.write("beob.ini", "[Beobachter]\r\nName2=Anna Sonne\r\n");
        TObserverProfile p = EmptyProfile();
        LoadProfile(p);
        QCOMPARE(p.eName.text(), QStringLiteral("Anna Sonne"));
    }

    void emptyAddressesAreNeverWritten() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        WriteFile(SettingsPath(), "[TARVO32]\r\nFileVersion=" + Storage().ProgramVersion.toLatin1() +
                                      "\r\n[email]\r\nRE=alt@eigen.example\r\n");
        TObserverProfile p = EmptyProfile();
        LoadProgramSettings(p);
        p.AddrRe.assign(QString()); // cleared by the user
        p.AddrPos.assign(QString());
        p.AddrA.assign("a@eigen.example");
        SaveProgramSettings(p);
        const QByteArray bytes = ReadFile(SettingsPath());
        QVERIFY(bytes.contains("RE=alt@eigen.example\r\n"));
        QVERIFY(bytes.contains("A=a@eigen.example\r\n"));
        QVERIFY(!bytes.contains("Pos="));
        LoadProgramSettings(p);
        QCOMPARE(p.AddrRe.text(), QStringLiteral("alt@eigen.example"));
    }

    void unwritableSettingsRaiseTheMessage() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        Storage().CurrentObserverDir = QStringLiteral("fehlt/");
        TObserverProfile p = EmptyProfile();
        try {
            SaveProfile(p);
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("In %1 kann nicht geschrieben werden")
                                      .arg(Storage().DataPath + QStringLiteral("fehlt/beob.ini")));
        }
        // The profile of a missing directory reads as defaults.
        LoadProfile(p);
        QVERIFY(p.Ein.on(CatA));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "test_settings.moc"

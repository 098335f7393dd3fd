// Known-observer lists, directory reservation and registering observers.
#include "shell/observer_admin.h"
#include "storage/ini_file.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestObserverAdmin : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    TObserverProfile profileNamed(const QString &name) {
        TObserverProfile p = EmptyProfile();
        p.Name1.assign(name);
        return p;
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        StorageStartUp(dir_.path());
        TObserverProfile p = EmptyProfile();
        LoadProgramSettings(p);
    }

    void listEntry_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("entry");
        QTest::newRow("all columns") << QByteArray("Muster           Refr. 100  1000 ")
                                     << "Muster | Refr. | 100 | 1000";
        QTest::newRow("CR LF line end")
            << QByteArray("Muster           Refr. 100  1000\r") << "Muster | Refr. | 100 | 1000";
        QTest::newRow("short line") << QByteArray("Kurz") << "Kurz |  |  | ";
        QTest::newRow("empty line") << QByteArray("") << "";
        QTest::newRow("blanks only") << QByteArray("      ") << "";
        QTest::newRow("umlaut in CP1252") << QByteArray("M\xfcller           Visu.  50   500")
                                          << QString::fromUtf8("Müller | Visu. | 50 | 500");
        QTest::newRow("text beyond column 32 ignored")
            << QByteArray("Name             Fegl. 80   1200 Rest") << "Name | Fegl. | 80 | 1200";
    }
    void listEntry() {
        QFETCH(QByteArray, line);
        QFETCH(QString, entry);
        QCOMPARE(ObserverListEntry(line), entry);
    }

    void readObserverDat() {
        QVERIFY(!ReadObserverDat(dir_.filePath("observer.dat")).has_value());
        const auto list = ReadObserverDat(QStringLiteral(TARVO_TEST_DATA "/shell/observer.dat"));
        QVERIFY(list.has_value());
        QCOMPARE(*list, (QStringList{"Muster | Refr. | 100 | 1000", "",
                                     QString::fromUtf8("Sonnenkönig | Refl. | 200 | 2000")}));
    }

    void readBeoStm() {
        QVERIFY(!ReadBeoStm(dir_.filePath("beostm.000")).has_value());
        // Record 1 ends at a zero byte, record 2 fills all 61 characters
        // (the 62nd byte is not text), a short third record is ignored.
        QByteArray r1("Muster           Refr. 100  1000");
        r1.append(QByteArray(62 - r1.size(), '\0'));
        QByteArray r2("Lang             Foto. 60   900  ");
        r2.append(QByteArray(61 - r2.size(), 'x'));
        r2.append('Y');
        QFile f(dir_.filePath("beostm.000"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(r1 + r2 + QByteArray("Rest"));
        f.close();
        const auto list = ReadBeoStm(f.fileName());
        QVERIFY(list.has_value());
        QCOMPARE(*list, (QStringList{"Muster | Refr. | 100 | 1000", "Lang | Foto. | 60 | 900"}));
    }

    void split_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("list entry") << "Muster | Refr. | 100 | 1000"
                                    << QStringList{"Muster", "Refr.", "100", "1000"};
        QTest::newRow("empty") << "" << QStringList{"", "", "", ""};
        QTest::newRow("name only") << "  Muster  " << QStringList{"Muster", "", "", ""};
        QTest::newRow("rest is focal length") << "a|b|c|d|e" << QStringList{"a", "b", "c", "d|e"};
    }
    void split() {
        QFETCH(QString, entry);
        QFETCH(QStringList, parts);
        const ObserverEntryParts p = SplitObserverEntry(entry);
        QCOMPARE((QStringList{p.name, p.instrument, p.aperture, p.focalLength}), parts);
    }

    void freeDirectory() {
        QCOMPARE(FindFreeObserverDir(), QStringLiteral("0001/"));
        QDir(dir_.path()).mkdir("0001");
        QCOMPARE(FindFreeObserverDir(), QStringLiteral("0002/"));
        QFile blocker(dir_.filePath("0002")); // a file of that name blocks it too
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(FindFreeObserverDir(), QStringLiteral("0003/"));
        QCOMPARE(ObserverDirName(9999), QStringLiteral("9999/"));
    }

    void addObserver() {
        AddObserver(profileNamed("Muster"), FindFreeObserverDir());
        const StorageState &s = Storage();
        QCOMPARE(s.ObserverKeys, QStringList{"Muster"});
        QCOMPARE(s.ObserverDirs, QStringList{"0001/"});
        QCOMPARE(s.CurrentObserverKey, QStringLiteral("Muster"));
        QVERIFY(QFile::exists(dir_.filePath("0001/beob.ini")));
        const IniFile ini(dir_.filePath("tarvo.ini"));
        QCOMPARE(ini.readString("TARVO32", "Beobachter", ""), QStringLiteral("Muster"));
        QCOMPARE(ini.readString("Beobachter", "Muster", ""), QStringLiteral("0001/"));
        const IniFile beob(dir_.filePath("0001/beob.ini"));
        QCOMPARE(beob.readString("Beobachter", "Name1", ""), QStringLiteral("Muster"));
        QCOMPARE(beob.readString("Ein", "Wolf", ""),
                 QStringLiteral("0")); // a new profile has every switch off
        // ... and the evaluation's default curve colours.
        for (int i : {0, 13, 23})
            QCOMPARE(beob.readInteger("Farbe", QString::number(i), 0), DefaultCurveColours()[i]);
        QCOMPARE(beob.readInteger("Farbe", "24", -1), 0);
    }

    void refusedNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("listed") << "Muster";
        QTest::newRow("listed, other case") << "MUSTER";
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("equals sign") << "a=b";
        QTest::newRow("section bracket") << "[x";
        QTest::newRow("comment") << ";x";
        QTest::newRow("line break") << "X\nB";
        QTest::newRow("tab") << "A\tB";
    }
    void refusedNames() {
        QFETCH(QString, name);
        AddObserver(profileNamed("Muster"), FindFreeObserverDir());
        const QByteArray before = IniFile(dir_.filePath("tarvo.ini")).toBytes();
        QVERIFY_THROWS_EXCEPTION(TarvoError, AddObserver(profileNamed(name), FindFreeObserverDir()));
        QCOMPARE(Storage().ObserverKeys, QStringList{"Muster"});
        QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Muster"));
        QVERIFY(!QFileInfo::exists(dir_.filePath("0002")));
        QCOMPARE(IniFile(dir_.filePath("tarvo.ini")).toBytes(), before);
    }

    void failedSettingsWriteLeavesNothing() {
        // tarvo.ini cannot be replaced while a directory has its name.
        QFile::remove(dir_.filePath("tarvo.ini"));
        QVERIFY(QDir(dir_.path()).mkdir("tarvo.ini"));
        QVERIFY_THROWS_EXCEPTION(TarvoError, AddObserver(profileNamed("Muster"), "0001/"));
        QVERIFY(Storage().ObserverKeys.isEmpty());
        QVERIFY(Storage().CurrentObserverKey.isEmpty());
        QVERIFY(!QFileInfo::exists(dir_.filePath("0001")));
    }

    // The backup name of a removed observer's folder, and the observers
    // whose folder is not theirs alone to rename.
    void removalPlan() {
        AddObserver(profileNamed("Muster"), FindFreeObserverDir());
        AddObserver(profileNamed("Anna"), FindFreeObserverDir());
        const QDate day(2026, 12, 10);
        QVERIFY(QDir(dir_.path()).mkdir("0001.entfernt-2026-12-10"));
        ObserverRemoval plan = PlanObserverRemoval(0, day);
        QCOMPARE(plan.key, QStringLiteral("Muster"));
        QCOMPARE(plan.folder, dir_.filePath("0001"));
        QCOMPARE(plan.backup, dir_.filePath("0001.entfernt-2026-12-10-2"));
        // A folder listed twice, or none of its own, is left where it is.
        Storage().ObserverDirs[1] = "0001\\";
        QVERIFY(PlanObserverRemoval(0, day).folder.isEmpty());
        Storage().ObserverDirs[1] = "";
        QVERIFY(PlanObserverRemoval(1, day).folder.isEmpty());
        Storage().ObserverDirs[1] = "../0001/";
        QVERIFY(PlanObserverRemoval(1, day).folder.isEmpty());
        QVERIFY_THROWS_EXCEPTION(TarvoError, PlanObserverRemoval(2, day));
    }

    // When tarvo.ini cannot be written, the folder keeps its name and the
    // observer stays listed and current.
    void failedRemovalChangesNothing() {
        AddObserver(profileNamed("Muster"), FindFreeObserverDir());
        const ObserverRemoval plan = PlanObserverRemoval(0, QDate(2026, 12, 10));
        QVERIFY(QFile::remove(dir_.filePath("tarvo.ini")));
        QVERIFY(QDir(dir_.path()).mkdir("tarvo.ini")); // cannot be replaced
        QVERIFY_THROWS_EXCEPTION(TarvoError, RemoveObserver(plan, EmptyProfile()));
        QVERIFY(QFileInfo(dir_.filePath("0001/beob.ini")).isFile());
        QVERIFY(!QFileInfo::exists(plan.backup));
        QCOMPARE(Storage().ObserverKeys, QStringList{"Muster"});
        QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Muster"));
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001/"));
    }

    void noFreeDirectory() {
        QVERIFY_THROWS_EXCEPTION(TarvoError, AddObserver(profileNamed("Muster"), QString()));
        QVERIFY(Storage().ObserverKeys.isEmpty());
    }

    void parseInteger_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "120" << true << 120;
        QTest::newRow("blanks around") << " 75 " << true << 75;
        QTest::newRow("negative") << "-5" << true << -5;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("letters") << "12a" << false << 0;
        QTest::newRow("decimal") << "1,5" << false << 0;
        QTest::newRow("too large") << "99999999999" << false << 0;
    }
    void parseInteger() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        if (ok) {
            QCOMPARE(ParseInteger(text), value);
        } else {
            try {
                ParseInteger(text);
                QFAIL("no error");
            } catch (const TarvoError &e) {
                QCOMPARE(e.message(), QString::fromUtf8("'%1' ist kein gültiger Integerwert").arg(text));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestObserverAdmin)
#include "test_observer_admin.moc"

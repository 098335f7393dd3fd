// Choosing the current observer, the one way the main window's list and
// tarvo-cli --observer do it.
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestObserverChoice : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TObserverProfile profile_{};

    QString CurrentInIni() const {
        return IniFile(dir_.filePath(QStringLiteral("tarvo.ini")))
            .readString(QStringLiteral("TARVO32"), QStringLiteral("Beobachter"), QString());
    }

private slots:
    void init() {
        IniFile settings(dir_.filePath(QStringLiteral("tarvo.ini")));
        settings.writeString(QStringLiteral("TARVO32"), QStringLiteral("Beobachter"), QStringLiteral("Anna"));
        settings.writeString(QStringLiteral("TARVO32"), QStringLiteral("FileVersion"), QStringLiteral("99"));
        settings.writeString(QStringLiteral("Beobachter"), QStringLiteral("Anna"), QStringLiteral("0001/"));
        settings.writeString(QStringLiteral("Beobachter"), QStringLiteral("Bert"), QStringLiteral("0002/"));
        settings.writeString(QStringLiteral("Beobachter"), QStringLiteral("Caro"), QStringLiteral("0003/"));
        settings.save();
        for (const char *folder : {"0001", "0002"}) {
            QVERIFY(QDir(dir_.path()).mkpath(QLatin1String(folder)));
            IniFile beob(dir_.filePath(QLatin1String(folder) + QStringLiteral("/beob.ini")));
            beob.writeString(QStringLiteral("Beobachter"), QStringLiteral("Name1"),
                             QLatin1String(folder) == QLatin1String("0001") ? QStringLiteral("Anna")
                                                                              : QStringLiteral("Bert"));
            beob.save();
        }
        // Caro's beob.ini is a folder: her profile cannot be read.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("0003/beob.ini")));
        StorageStartUp(dir_.path());
        profile_ = EmptyProfile();
        LoadProgramSettings(profile_);
        QCOMPARE(profile_.Name1.text(), QStringLiteral("Anna"));
    }

    void forThisRunOnly() {
        ChooseObserver(QStringLiteral("Bert"), profile_, ObserverChoice::ThisRunOnly);
        QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Bert"));
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0002/"));
        QCOMPARE(profile_.Name1.text(), QStringLiteral("Bert"));
        QCOMPARE(CurrentInIni(), QStringLiteral("Anna"));
    }

    void remembered() {
        ChooseObserver(QStringLiteral("Bert"), profile_, ObserverChoice::Remember);
        QCOMPARE(profile_.Name1.text(), QStringLiteral("Bert"));
        QCOMPARE(CurrentInIni(), QStringLiteral("Bert"));
    }

    void failureKeepsThePreviousObserver_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("not listed") << "Dora" << "Beobachter 'Dora' ist nicht vorhanden";
        QTest::newRow("unreadable profile") << "Caro" << "E/A-Fehler 21";
    }
    void failureKeepsThePreviousObserver() {
        QFETCH(QString, key);
        QFETCH(QString, message);
        for (ObserverChoice choice : {ObserverChoice::Remember, ObserverChoice::ThisRunOnly}) {
            try {
                ChooseObserver(key, profile_, choice);
                QFAIL("the observer was taken");
            } catch (const TarvoError &e) {
                QCOMPARE(e.message(), message);
            }
            QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Anna"));
            QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001/"));
            QCOMPARE(profile_.Name1.text(), QStringLiteral("Anna"));
            QCOMPARE(CurrentInIni(), QStringLiteral("Anna"));
        }
    }
};

QTEST_GUILESS_MAIN(TestObserverChoice)
#include "test_observer_choice.moc"

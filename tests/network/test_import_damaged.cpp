// Import files found by fuzzing: damaged lines end in the German message,
// never in undefined behaviour (the sanitizer build checks that).
#include "network/import_sidc.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ImportDamagedTest : public QObject {
    Q_OBJECT
private slots:
    void yearOutOfRange_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("huge year") << QByteArray("2004512015;01;2004.042; 60.6; 5.2; 491;1\n")
                                   << QStringLiteral("'2004512015' ist kein gültiger Integerwert");
        QTest::newRow("negative year") << QByteArray("-5;01;2004.042; 60.6; 5.2; 491;1\n")
                                       << QStringLiteral("'-5' ist kein gültiger Integerwert");
    }
    void yearOutOfRange() {
        QFETCH(QByteArray, line);
        QFETCH(QString, message);
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        Storage().CurrentObserverKey = QStringLiteral("Muster");
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("0001")));
        const QString file = dir.filePath(QStringLiteral("SN_m_tot_V2.0.csv"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("2004;01;2004.042; 60.6; 5.2; 491;1\n") + line);
        f.close();
        QString error;
        try {
            ImportSidc(file, 2004, 2004);
        } catch (const TarvoError &e) {
            error = e.message();
        }
        QCOMPARE(error, message);
    }
};

QTEST_GUILESS_MAIN(ImportDamagedTest)
#include "test_import_damaged.moc"

// tarvo-cli sun and position, run as a separate process.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCliSolar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void run_data();
    void run();

private:
    QString cli_;
    QTemporaryDir home_;
};

void TestCliSolar::initTestCase() {
    cli_ = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli");
    QVERIFY2(QFileInfo(cli_).isExecutable(), qPrintable(cli_ + QStringLiteral(" is not built")));
    QVERIFY(home_.isValid());
}

void TestCliSolar::run_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("sun worked example") << QStringList{"sun", "13.10.1992", "00:00"} << 0
                                        << "P=26.2739\nB0=5.9884\nL0=238.6295\nRotation=1861\n"
                                        << "";
    QTest::newRow("two-digit year is 19xx") << QStringList{"sun", "13.10.0092", "00:00"} << 0
                                            << "P=26.2739\nB0=5.9884\nL0=238.6295\nRotation=1861\n"
                                            << "";
    QTest::newRow("23:60 is midnight of the next day")
        << QStringList{"sun", "12.10.1992", "23:60"} << 0 << "P=26.2739\nB0=5.9884\nL0=238.6295\nRotation=1861\n"
        << "";
    QTest::newRow("sun before rotation 1") << QStringList{"sun", "01.06.1800", "12:00"} << 0 << "Rotation=0\n"
                                           << "";
    QTest::newRow("position east") << QStringList{"position", "13.10.1992", "00:00", "50", "0", "100"} << 0
                                   << "B=18.0877\nL=210.4879\nAZM=-28.1416\nHemisphere=Nord\nSide=Ost\n"
                                   << "";
    QTest::newRow("position west") << QStringList{"position", "13.10.1992", "00:00", "-50", "0", "100"} << 0
                                   << "B=-7.4565\nL=265.5123\nAZM=26.8829\nHemisphere=Süd\nSide=West\n"
                                   << "";
    QTest::newRow("position decimal point")
        << QStringList{"position", "13.10.1992", "00:00", "0.0", "50.0", "100"} << 0
        << "B=32.4285\nL=253.8314\nAZM=15.2019\n"
        << "";
    // A side word that agrees with the distance as shown (0.0000 is West).
    QTest::newRow("position on the central meridian")
        << QStringList{"position", "13.10.1992", "00:00", "0.00008", "0", "100"} << 0 << "AZM=0.0000\nHemisphere=Nord\nSide=West\n"
        << "";
    QTest::newRow("position wraps below 0")
        << QStringList{"position", "31.10.1992", "00:00", "60", "0", "100"} << 0 << "Rotation=Alte\n"
        << "";
    QTest::newRow("invalid time") << QStringList{"sun", "13.10.1992", "24:00"} << 1 << ""
                                  << "Die Zeit ist falsch!";
    QTest::newRow("invalid date") << QStringList{"sun", "29.02.1900", "12:00"} << 1 << ""
                                  << "Das Datum ist falsch!";
    QTest::newRow("short date is not read as defaults") << QStringList{"sun", "1.10.1992", "12:00"} << 1 << ""
                                                        << "Das Datum ist falsch!";
    QTest::newRow("outside the disk")
        << QStringList{"position", "13.10.1992", "00:00", "80", "70", "100"} << 1 << ""
        << "Der Punkt liegt nicht innerhalb des Kreises";
    QTest::newRow("radius not set") << QStringList{"position", "13.10.1992", "00:00", "0", "0", "0"} << 1
                                    << ""
                                    << "Projektionsradius";
    QTest::newRow("x not a number") << QStringList{"position", "13.10.1992", "00:00", "5x", "0", "100"} << 1
                                    << ""
                                    << "'5x' ist kein gültiger Gleitkommawert";
    QTest::newRow("missing argument") << QStringList{"position", "13.10.1992", "00:00", "5", "0"} << 2 << ""
                                      << "";
}

void TestCliSolar::run() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess p;
    p.start(cli_, QStringList{QStringLiteral("--home"), home_.path()} + args);
    QVERIFY(p.waitForFinished(30000));
    const QString stdOut = QString::fromUtf8(p.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == exitCode, qPrintable(stdErr));
    QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
    QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    if (exitCode != 0)
        QVERIFY(stdOut.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliSolar)
#include "test_cli_solar.moc"

#include "form_fixture.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestReportCli : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    QString cli() const {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli");
    }

    int run(const QStringList &args, QString *err = nullptr) {
        QProcess process;
        process.setWorkingDirectory(home_.path());
        process.start(cli(), QStringList{QStringLiteral("--home"), home_.path()} + args);
        if (!process.waitForFinished(60000))
            return -1;
        if (err)
            *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private slots:
    void initTestCase() {
        QVERIFY(QFile::exists(cli()));
        StorageStartUp(home_.path());
        StorageState &s = Storage();
        s.ObserverKeys = {QStringLiteral("HMUS")};
        s.ObserverDirs = {QStringLiteral("0001/")};
        s.CurrentObserverKey = QStringLiteral("HMUS");
        s.CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(home_.path()).mkpath(QStringLiteral("0001")));
        const TObserverProfile profile = FixtureProfile(true);
        SaveProgramSettings(profile);
        SaveProfile(profile);
        QVERIFY(WriteYear(2004, FixtureYear()));
    }

    void writesTheForms_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("formName");
        QTest::addColumn<QString>("row5");
        QTest::newRow("sob01") << "sob01"
                               << "Formblatt: SOB01"
                               << "5 09:15 2 3 1 1 4 2 5 3 9 39 55 2 6 26 12 5 0";
        QTest::newRow("sob09") << "SOB09"
                               << "Formblatt: SOB09"
                               << "5 09:15 2 3 1 5 4 2 1 1 1 Z N";
    }
    void writesTheForms() {
        QFETCH(QString, form);
        QFETCH(QString, formName);
        QFETCH(QString, row5);
        const QString pdf = home_.filePath(QStringLiteral("out.pdf"));
        QString err;
        QCOMPARE(
            run({QStringLiteral("report"), form, QStringLiteral("2004"), QStringLiteral("3"), pdf}, &err), 0);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(formName));
        QVERIFY(text.contains(QStringLiteral("Hans Müller")));
        QCOMPARE(RowTokens(text, 5).join(QLatin1Char(' ')), row5);
        QCOMPARE(RowDays(text).size(), 31);
        QFile::remove(pdf);
    }

    void errors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString pdf = QStringLiteral("x.pdf");
        QTest::newRow("unknown form") << QStringList{"report", "sob02", "2004", "3", pdf} << 2 << "FORM";
        QTest::newRow("bad month") << QStringList{"report", "sob01", "2004", "13", pdf} << 2 << "MONTH";
        QTest::newRow("missing file name") << QStringList{"report", "sob01", "2004", "3"} << 2 << "";
        QTest::newRow("unwritable") << QStringList{"report", "sob01", "2004", "3", "/nonexistent-dir/x.pdf"}
                                    << 1 << "In /nonexistent-dir/x.pdf kann nicht geschrieben werden";
    }
    void errors() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        QString err;
        QCOMPARE(run(args, &err), code);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(!QFile::exists(home_.filePath(QStringLiteral("x.pdf"))));
    }
};

QTEST_MAIN(TestReportCli)
#include "test_report_cli.moc"

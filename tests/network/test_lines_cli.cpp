// tarvo-cli lines, export and send over a prepared observer directory.
#include "../mail/smtp_test_server.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"
#include "test_lines_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

class TestLinesCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void linesAreTheFileLines_data();
    void linesAreTheFileLines();
    void exportAppends();
    void exportOfGridReplacesTheFile();
    void sendMarksTheMonth();
    void sendKeepsWhatWasSavedMeanwhile();
    void sentMailIsReportedWhenItsStatusCannotBeStored();
    void usageErrors_data();
    void usageErrors();

private:
    struct Result {
        int code = -1;
        QByteArray out;
        QByteArray err;
    };
    Result Cli(const QStringList &args);
    void Prepare(const QString &smtpHost);

    QString cli_;
    std::unique_ptr<QTemporaryDir> home_;
    TObserverProfile profile_{};
    std::unique_ptr<TYearBuffer> year_;
};

void TestLinesCli::initTestCase() {
    cli_ = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli");
    if (!QFileInfo::exists(cli_))
        QSKIP("tarvo-cli is not built");
}

void TestLinesCli::init() {
    Prepare(QStringLiteral("localhost:1"));
}

// A home with one observer "Muster" in 0001/ and a year 2004 with two days in March.
void TestLinesCli::Prepare(const QString &smtpHost) {
    home_ = std::make_unique<QTemporaryDir>();
    StorageStartUp(home_->path());
    profile_ = LinesTestProfile();
    profile_.email.assign(QStringLiteral("muster@example.org"));
    profile_.eName.assign(QStringLiteral("Max Müller"));
    profile_.SMTP.assign(smtpHost);
    profile_.AddrRe.assign(QStringLiteral("rezahl@example.net"));
    profile_.AddrA.assign(QStringLiteral("anetz@example.net"));
    profile_.AddrFackel.assign(QStringLiteral("fackel@example.net"));
    profile_.SendRe = profile_.SendA = profile_.SendF = 1;
    StorageState &s = Storage();
    s.ObserverKeys = {QStringLiteral("Muster")};
    s.ObserverDirs = {QStringLiteral("0001/")};
    s.CurrentObserverKey = QStringLiteral("Muster");
    s.CurrentObserverDir = QStringLiteral("0001/");
    QVERIFY(QDir(home_->path()).mkpath(QStringLiteral("0001")));
    SaveProgramSettings(profile_);
    SaveProfile(profile_);
    year_ = ZeroYear();
    year_->Day(3, 5) = FullDay();
    year_->Day(3, 30) = FullDay();
    year_->Day(3, 30).Zeit.assignBytes("14:02");
    QVERIFY(WriteYear(2004, *year_));
}

TestLinesCli::Result TestLinesCli::Cli(const QStringList &args) {
    QProcess p;
    p.start(cli_, QStringList{QStringLiteral("--home"), home_->path()} + args);
    Result r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

namespace {

// The month's lines of the fixture (days 5 and 30 of March 2004), as the
// networks read them.
const QByteArray kHeaderLine = ";Max M\xfcller, Hauptstr. 1, 12345 Ort\r\n";
const QByteArray kRelativeNumberLines =
    "2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200\r\n"
    "2004 330 14.0 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200\r\n";
const QByteArray kFaculaeLines =
    "2004 3 5  9.3 2.0 3.0  1  2  3   5   0E Muster            Refr.  80 1200\r\n"
    "2004 330 14.0 2.0 3.0  1  2  3   5   0E Muster            Refr.  80 1200\r\n";

// The A-number list: the header line, then a line for every day, only the
// date where nothing was observed.
QByteArray ANumberLines() {
    QByteArray lines = kHeaderLine;
    for (int day = 1; day <= 31; ++day) {
        if (day == 5)
            lines += "2004  3  5  9.3 2.0 3.0 E   2  -1 Muster           Refr.\r\n";
        else if (day == 30)
            lines += "2004  3 30 14.0 2.0 3.0 E   2  -1 Muster           Refr.\r\n";
        else
            lines += QStringLiteral("2004  3 %1 \r\n").arg(day, 2).toLatin1();
    }
    return lines;
}

} // namespace

void TestLinesCli::linesAreTheFileLines_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("re") << "re" << kRelativeNumberLines;
    QTest::newRow("a") << "a" << ANumberLines();
    QTest::newRow("f") << "f" << kFaculaeLines;
}

void TestLinesCli::linesAreTheFileLines() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, lines);
    const Result r = Cli({QStringLiteral("lines"), kind, QStringLiteral("2004"), QStringLiteral("3")});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, lines);
}

void TestLinesCli::exportAppends() {
    const QString file = home_->filePath(QStringLiteral("Fzahl.dat"));
    for (int i = 0; i < 2; ++i)
        QCOMPARE(Cli({QStringLiteral("export"), QStringLiteral("f"), QStringLiteral("2004"),
                      QStringLiteral("3"), file})
                     .code,
                 0);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), kFaculaeLines + kFaculaeLines);
}

// The grid exports (compared with the month table in tests/cli) replace the file.
void TestLinesCli::exportOfGridReplacesTheFile() {
    const QString file = home_->filePath(QStringLiteral("a.csv"));
    for (int run = 0; run < 2; ++run) {
        const Result r = Cli({QStringLiteral("export"), QStringLiteral("csv"), QStringLiteral("2004"),
                              QStringLiteral("3"), file});
        QVERIFY2(r.code == 0, r.err.constData());
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray csv = f.readAll();
    QVERIFY(csv.startsWith("Tag;"));
    QCOMPARE(csv.count("\r\n"), 35);
}

void TestLinesCli::sendMarksTheMonth() {
    SmtpTestServer server;
    QVERIFY(server.start());
    Prepare(server.host());
    Result r = Cli({QStringLiteral("send"), QStringLiteral("2004"), QStringLiteral("3")});
    QVERIFY2(r.code == 0, r.err.constData());
    QCOMPARE(r.out, QByteArray("111000000000000\n"));
    QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 3);
    // Each body is the header line and the month's lines of the list.
    const QByteArray bodies[] = {kHeaderLine + kRelativeNumberLines, ANumberLines(),
                                 kHeaderLine + kFaculaeLines};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(QByteArray::fromHex(received[i].value("body_hex").toString().toLatin1()), bodies[i]);
    // The status reached the year file: everything is sent, nothing is preselected any more.
    TYearBuffer stored;
    QVERIFY(ReadYear(2004, stored));
    QCOMPARE(stored.Months[3].Header().Bemerkung.bytes(), QByteArray("111000000000000"));
    r = Cli({QStringLiteral("send"), QStringLiteral("2004"), QStringLiteral("3")});
    QCOMPARE(r.code, 1);
    QVERIFY(QString::fromUtf8(r.err).contains(QStringLiteral("Sie müssen mindestens eine Liste auswählen!")));
    // An explicit list is sent again.
    r = Cli({QStringLiteral("send"), QStringLiteral("2004"), QStringLiteral("3"), QStringLiteral("--lists"),
             QStringLiteral("a")});
    QCOMPARE(r.code, 0);
    received = server.messages();
    QCOMPARE(received.size(), 4);
    QCOMPARE(received[3].value("rcpt_tos").toVariant().toStringList(), QStringList{"anetz@example.net"});
}

void TestLinesCli::sendKeepsWhatWasSavedMeanwhile() {
    SmtpTestServer server;
    // The server holds the mail for a while: the year is saved meanwhile.
    QVERIFY(server.start({QStringLiteral("--data-delay"), QStringLiteral("3")}));
    Prepare(server.host());
    QProcess send;
    send.start(cli_, {QStringLiteral("--home"), home_->path(), QStringLiteral("send"), QStringLiteral("2004"),
                      QStringLiteral("3"), QStringLiteral("--lists"), QStringLiteral("re")});
    QVERIFY(send.waitForStarted());
    // The command has read the year once it names the list it sends.
    QByteArray status;
    QTRY_VERIFY_WITH_TIMEOUT((status += send.readAllStandardError()).contains("Sende Relativzahlen an"), 20000);
    TYearBuffer changed;
    QVERIFY(ReadYear(2004, changed));
    changed.Day(3, 20).Zeit.assign(QStringLiteral("12:00"));
    QVERIFY(WriteYear(2004, changed));
    QVERIFY(send.waitForFinished(30000));
    QVERIFY2(send.exitCode() == 0, send.readAllStandardError().constData());
    TYearBuffer stored;
    QVERIFY(ReadYear(2004, stored));
    QCOMPARE(stored.Day(3, 20).Zeit.text(), QStringLiteral("12:00"));
    QCOMPARE(stored.Months[3].Header().Bemerkung.bytes().left(1), QByteArray("1"));
}

// The mail went out but the year file could not take its status (here: the
// disk is full for it): the message says that it was sent, so that nobody
// sends it a second time, and the year file is as it was.
void TestLinesCli::sentMailIsReportedWhenItsStatusCannotBeStored() {
    SmtpTestServer server;
    QVERIFY(server.start());
    Prepare(server.host());
    QFile yearFile(YearFileName(2004));
    QVERIFY(yearFile.open(QIODevice::ReadOnly));
    const QByteArray before = yearFile.readAll();
    yearFile.close();
    QProcess send;
    send.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 50000; // less than a year file
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    send.start(cli_, {QStringLiteral("--home"), home_->path(), QStringLiteral("send"), QStringLiteral("2004"),
                      QStringLiteral("3"), QStringLiteral("--lists"), QStringLiteral("re")});
    QVERIFY(send.waitForFinished(30000));
    const QString error = QString::fromUtf8(send.readAllStandardError());
    QCOMPARE(send.exitCode(), 1);
    QVERIFY2(error.contains(QStringLiteral("Die E-Mail „REZAHL: ")), qPrintable(error));
    QVERIFY2(
        error.contains(QStringLiteral("an rezahl@example.net ist versandt, aber der Versandstatus konnte "
                                      "nicht gespeichert werden: In ")),
        qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("Die Liste nicht noch einmal senden")), qPrintable(error));
    QCOMPARE(server.messages().size(), 1);
    QVERIFY(yearFile.open(QIODevice::ReadOnly));
    QCOMPARE(yearFile.readAll(), before);
}

void TestLinesCli::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown list") << QStringList{"lines", "x", "2004", "3"};
    QTest::newRow("month 13") << QStringList{"lines", "re", "2004", "13"};
    QTest::newRow("missing file") << QStringList{"export", "re", "2004", "3"};
    QTest::newRow("bad option") << QStringList{"send", "2004", "3", "--list", "re"};
}

void TestLinesCli::usageErrors() {
    QFETCH(QStringList, args);
    QCOMPARE(Cli(args).code, 2);
}

QTEST_GUILESS_MAIN(TestLinesCli)
#include "test_lines_cli.moc"

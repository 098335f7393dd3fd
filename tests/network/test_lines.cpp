// Byte-exact tests of the network data lines.
#include "network/network_lines.h"
#include "storage/tarvo_error.h"
#include "test_lines_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using DayEdit = std::function<void(TDayRecord &, TObserverProfile &)>;
Q_DECLARE_METATYPE(DayEdit)
Q_DECLARE_METATYPE(NetworkLineKind)

class TestLines : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void timeText_data();
    void timeText();
    void headerLine();
    void builderForEveryKind();
    void appendCreatesAndAppends();
    void appendAnumbersWritesHeaderFirst();
    void appendEmptyMonthCreatesEmptyFile();
    void appendToMissingDirectoryThrows();
};

// Every case edits a full observation of 5 March 2004 and names the expected bytes
// (80 columns for relative numbers, 72 for faculae, 56 for A numbers unless a number widens).
void TestLines::lines_data() {
    QTest::addColumn<NetworkLineKind>("kind");
    QTest::addColumn<DayEdit>("edit");
    QTest::addColumn<QByteArray>("expected");
    const auto re = NetworkLineKind::RelativeNumbers;
    const auto a = NetworkLineKind::ANumbers;
    const auto f = NetworkLineKind::Faculae;
    const DayEdit none = [](TDayRecord &, TObserverProfile &) {};

    QTest::newRow("re full")
        << re << none
        << QByteArray("2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200");
    QTest::newRow("re missing values") << re << DayEdit([](TDayRecord &r, TObserverProfile &p) {
        r = EmptyObservedDay("12:45");
        r.g = 0;
        p.Instrument.assign(QString());
        p.Oeffn.assign(QString());
        p.Brenn.assign(QString());
    }) << QByteArray("2004 3 5 12.4 0.0 0.0 -1  -1 -1  -1  0  -1   -1  Muster                   0    0");
    QTest::newRow("re only Beck number") << re << DayEdit([](TDayRecord &r, TObserverProfile &) {
        r = EmptyObservedDay("10:59");
        r.Rs = 7;
    }) << QByteArray("2004 3 5 10.5 0.0 0.0 -1  -1 -1  -1 -1  -1    7  Muster           Refr.  80 1200");
    QTest::newRow("re overflow widens")
        << re << DayEdit([](TDayRecord &r, TObserverProfile &) { r.Rs = 100000; })
        << QByteArray("2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14100000E Muster           Refr.  80 1200");
    QTest::newRow("re no time") << re
                                << DayEdit([](TDayRecord &r, TObserverProfile &) { r.Zeit.assignBytes(""); })
                                << QByteArray();
    QTest::newRow("re no g and no Rs") << re << DayEdit([](TDayRecord &r, TObserverProfile &) {
        r.g = -1;
        r.Rs = -1;
    }) << QByteArray();
    QTest::newRow("re umlaut in short name")
        << re
        << DayEdit([](TDayRecord &, TObserverProfile &p) { p.Name1.assign(QStringLiteral("Jürgen Ößler")); })
        << QByteArray(
               "2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50E J\xfcrgen \xd6\xdfler     Refr.  80 1200");
    QTest::newRow("re 16-character name") << re << DayEdit([](TDayRecord &, TObserverProfile &p) {
        p.Name1.assign(QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    }) << QByteArray("2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50E ABCDEFGHIJKLMNOP Refr.  80 1200");
    QTest::newRow("re odd legacy quality")
        << re << DayEdit([](TDayRecord &r, TObserverProfile &) { r.Qualitaet = 9; })
        << QByteArray("2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50  Muster           Refr.  80 1200");
    QTest::newRow("re quality letters")
        << re << DayEdit([](TDayRecord &r, TObserverProfile &) { r.Qualitaet = 5; })
        << QByteArray("2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50W Muster           Refr.  80 1200");

    QTest::newRow("f full")
        << f << none
        << QByteArray("2004 3 5  9.3 2.0 3.0  1  2  3   5   0E Muster            Refr.  80 1200");
    QTest::newRow("f only FEP, no quality") << f << DayEdit([](TDayRecord &r, TObserverProfile &) {
        r = EmptyObservedDay("09:30");
        r.Ruhe = 2;
        r.Schaerfe = 3;
        r.FEP = 3;
    }) << QByteArray("2004 3 5  9.3 2.0 3.0 -1 -1 -2  -1   3-1Muster            Refr.  80 1200");
    QTest::newRow("f empty instrument") << f << DayEdit([](TDayRecord &r, TObserverProfile &p) {
        r.Qualitaet = 2;
        p.Instrument.assign(QString());
        p.Oeffn.assign(QString());
        p.Brenn.assign(QString());
    }) << QByteArray("2004 3 5  9.3 2.0 3.0  1  2  3   5   0G Muster                    0    0");
    QTest::newRow("f no faculae") << f << DayEdit([](TDayRecord &r, TObserverProfile &) {
        r.Fo = r.Fm = r.FEF = r.FEP = -1;
    }) << QByteArray();
    QTest::newRow("f no time") << f
                               << DayEdit([](TDayRecord &r, TObserverProfile &) { r.Zeit.assignBytes(""); })
                               << QByteArray();
    QTest::newRow("f odd legacy quality")
        << f << DayEdit([](TDayRecord &r, TObserverProfile &) { r.Qualitaet = 0; })
        << QByteArray("2004 3 5  9.3 2.0 3.0  1  2  3   5   0-1Muster            Refr.  80 1200");

    QTest::newRow("a full") << a << none
                            << QByteArray("2004  3  5  9.3 2.0 3.0 E   2  -1 Muster           Refr.");
    QTest::newRow("a not observed") << a << DayEdit([](TDayRecord &r, TObserverProfile &) {
        r.Zeit.assignBytes("");
    }) << QByteArray("2004  3  5 ");
    QTest::newRow("a missing values, empty instrument")
        << a << DayEdit([](TDayRecord &r, TObserverProfile &p) {
               r = EmptyObservedDay("00:05");
               r.Ab = -12;
               p.Instrument.assign(QString());
           })
        << QByteArray("2004  3  5  0.0 0.0 0.0    -1 -12 Muster                ");
    QTest::newRow("a overflowing seeing") << a << DayEdit([](TDayRecord &r, TObserverProfile &) {
        r.Ruhe = 12;
        r.A = 127;
    }) << QByteArray("2004  3  5  9.3 12.0 3.0 E 127  -1 Muster           Refr.");
}

void TestLines::lines() {
    QFETCH(NetworkLineKind, kind);
    QFETCH(DayEdit, edit);
    QFETCH(QByteArray, expected);
    auto year = ZeroYear();
    TObserverProfile profile = LinesTestProfile();
    TDayRecord day = FullDay();
    edit(day, profile);
    year->Day(3, 5) = day;
    QCOMPARE(FormatNetworkLine(kind, profile, *year, 2004, 3, 5), expected);
}

void TestLines::timeText_data() {
    QTest::addColumn<QByteArray>("zeit");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("09:30") << QByteArray("09:30") << QByteArray(" 9.3");
    QTest::newRow("12:45") << QByteArray("12:45") << QByteArray("12.4");
    QTest::newRow("blank nine") << QByteArray(" 9:05") << QByteArray(" 9.0");
    QTest::newRow("00:05") << QByteArray("00:05") << QByteArray(" 0.0");
    QTest::newRow("10:59") << QByteArray("10:59") << QByteArray("10.5");
    QTest::newRow("one-digit hour") << QByteArray("9:30") << QByteArray(" 9.3");
    QTest::newRow("no colon") << QByteArray("1234") << QByteArray(" 123");
    QTest::newRow("short legacy text") << QByteArray("9") << QByteArray(" 9  ");
    QTest::newRow("colon only") << QByteArray(":") << QByteArray(" .  ");
}

void TestLines::timeText() {
    QFETCH(QByteArray, zeit);
    QFETCH(QByteArray, expected);
    QCOMPARE(NetworkTimeText(zeit), expected);
}

void TestLines::headerLine() {
    TObserverProfile profile = LinesTestProfile();
    QCOMPARE(FormatObserverHeaderLine(profile), QByteArray(";Max M\xfcller, Hauptstr. 1, 12345 Ort"));
    QCOMPARE(FormatObserverHeaderLine(EmptyProfile()), QByteArray(";, , "));
}

void TestLines::builderForEveryKind() {
    auto year = ZeroYear();
    const TObserverProfile profile = LinesTestProfile();
    year->Day(3, 5) = FullDay();
    QCOMPARE(FormatNetworkLine(NetworkLineKind::RelativeNumbers, profile, *year, 2004, 3, 5),
             FormatRelativeNumberLine(profile, *year, 2004, 3, 5));
    QCOMPARE(FormatNetworkLine(NetworkLineKind::ANumbers, profile, *year, 2004, 3, 5),
             FormatANumberLine(profile, *year, 2004, 3, 5));
    QCOMPARE(FormatNetworkLine(NetworkLineKind::Faculae, profile, *year, 2004, 3, 5),
             FormatFaculaeLine(profile, *year, 2004, 3, 5));
    QVERIFY_THROWS_EXCEPTION(TarvoError, FormatANumberLine(profile, *year, 2004, 13, 1));
}

void TestLines::appendCreatesAndAppends() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Rezahl.dat"));
    auto year = ZeroYear();
    const TObserverProfile profile = LinesTestProfile();
    year->Day(2, 1) = FullDay();
    year->Day(2, 29) = FullDay();
    year->Day(3, 1) = FullDay(); // another month: not written
    AppendMonthLines(NetworkLineKind::RelativeNumbers, profile, *year, 2004, 2, file);
    const QByteArray once =
        "2004 2 1  9.3 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200\r\n"
        "2004 229  9.3 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200\r\n";
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), once);
    f.close();
    AppendMonthLines(NetworkLineKind::RelativeNumbers, profile, *year, 2004, 2, file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), once + once);
}

void TestLines::appendAnumbersWritesHeaderFirst() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Azahl.dat"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old line without end");
    }
    auto year = ZeroYear();
    const TObserverProfile profile = LinesTestProfile();
    year->Day(2, 3) = FullDay();
    AppendMonthLines(NetworkLineKind::ANumbers, profile, *year, 2003, 2, file);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    // the old text continued by the header, 28 days, and the empty rest after the last CR LF
    QCOMPARE(lines.size(), 1 + 28 + 1);
    QCOMPARE(lines[0], QByteArray("old line without end;Max M\xfcller, Hauptstr. 1, 12345 Ort\r"));
    QCOMPARE(lines[1], QByteArray("2003  2  1 \r"));
    QCOMPARE(lines[3], QByteArray("2003  2  3  9.3 2.0 3.0 E   2  -1 Muster           Refr.\r"));
    QCOMPARE(lines[28], QByteArray("2003  2 28 \r"));
    QCOMPARE(lines[29], QByteArray());
}

void TestLines::appendEmptyMonthCreatesEmptyFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Rezahl.dat"));
    auto year = ZeroYear();
    AppendMonthLines(NetworkLineKind::RelativeNumbers, LinesTestProfile(), *year, 2004, 3, file);
    QVERIFY(QFile::exists(file));
    QCOMPARE(QFileInfo(file).size(), 0);
}

void TestLines::appendToMissingDirectoryThrows() {
    QTemporaryDir dir;
    auto year = ZeroYear();
    const QString file = dir.filePath(QStringLiteral("fehlt/Fzahl.dat"));
    try {
        AppendMonthLines(NetworkLineKind::Faculae, LinesTestProfile(), *year, 2004, 3, file);
        QFAIL("no error");
    } catch (const TarvoError &e) {
        QCOMPARE(e.message(), QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
    }
}

QTEST_GUILESS_MAIN(TestLines)
#include "test_lines.moc"

// Conversions, range checks and derived numbers of the daily entry.

#include "entry/beck_number.h"
#include "entry/entry_checks.h"
#include "entry/entry_number.h"
#include "entry/entry_time.h"
#include "entry_test_support.h"

#include <QTest>

Q_DECLARE_METATYPE(NumberRange)

namespace {
// "name=value;name=value" as the dialog's field texts.
EntryTexts Texts(const QString &pairs) {
    EntryTexts texts;
    for (const QString &pair : pairs.split(u';', Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(u'=');
        texts.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return texts;
}

// An observed day with every number set to 7 and marked texts, so that a
// check that stores nothing is visible.
TDayRecord MarkedDay() {
    TDayRecord d = UnobservedDay();
    d.Zeit.assign(QStringLiteral("11:11"));
    ClearUnobservedDay(d);
    for (auto m : {&TDayRecord::g_n, &TDayRecord::f_n, &TDayRecord::g_s, &TDayRecord::f_s, &TDayRecord::g,
                   &TDayRecord::f, &TDayRecord::Re, &TDayRecord::p, &TDayRecord::s, &TDayRecord::SN})
        d.*m = 7;
    return d;
}
} // namespace

class TestEntryLogic : public QObject {
    Q_OBJECT
private slots:
    void parseNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<NumberRange>("range");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("value");
        QTest::newRow("empty") << "" << kInt16Range << int(NumberInput::Empty) << qint64(-1);
        QTest::newRow("blanks") << "  " << kInt16Range << int(NumberInput::Empty) << qint64(-1);
        QTest::newRow("zero") << "0" << kInt16Range << int(NumberInput::Valid) << qint64(0);
        QTest::newRow("plus sign") << "+12" << kInt16Range << int(NumberInput::Valid) << qint64(12);
        QTest::newRow("blank around") << " 42 " << kInt16Range << int(NumberInput::Valid) << qint64(42);
        QTest::newRow("int16 max") << "32767" << kInt16Range << int(NumberInput::Valid) << qint64(32767);
        QTest::newRow("int16 over") << "32768" << kInt16Range << int(NumberInput::OutOfRange) << qint64(-1);
        QTest::newRow("typed -1") << "-1" << kInt16Range << int(NumberInput::OutOfRange) << qint64(-1);
        QTest::newRow("negative") << "-5" << kInt16Range << int(NumberInput::OutOfRange) << qint64(-1);
        QTest::newRow("int8 max") << "127" << kInt8Range << int(NumberInput::Valid) << qint64(127);
        QTest::newRow("int8 over") << "128" << kInt8Range << int(NumberInput::OutOfRange) << qint64(-1);
        QTest::newRow("int32 max") << "2147483647" << kInt32Range << int(NumberInput::Valid)
                                   << qint64(2147483647);
        QTest::newRow("int32 over") << "2147483648" << kInt32Range << int(NumberInput::OutOfRange)
                                    << qint64(-1);
        QTest::newRow("very long") << "99999999999999999999999" << kInt32Range << int(NumberInput::OutOfRange)
                                   << qint64(-1);
        QTest::newRow("seeing 0") << "0" << kSeeingRange << int(NumberInput::OutOfRange) << qint64(-1);
        QTest::newRow("letters") << "12a" << kInt16Range << int(NumberInput::NotANumber) << qint64(-1);
        QTest::newRow("sign only") << "-" << kInt16Range << int(NumberInput::NotANumber) << qint64(-1);
        QTest::newRow("decimal") << "1,5" << kInt16Range << int(NumberInput::NotANumber) << qint64(-1);
        QTest::newRow("hex") << "$1F" << kInt16Range << int(NumberInput::NotANumber) << qint64(-1);
        QTest::newRow("inner blank") << "1 2" << kInt16Range << int(NumberInput::NotANumber) << qint64(-1);
    }
    void parseNumber() {
        QFETCH(QString, text);
        QFETCH(NumberRange, range);
        QFETCH(int, status);
        QFETCH(qint64, value);
        const NumberInput in = ParseEntryNumber(text, range);
        QCOMPARE(int(in.status), status);
        QCOMPARE(qint64(in.value), value);
    }

    void numberMessages() {
        QCOMPARE(NumberInputMessage(ParseEntryNumber("x", kInt16Range), kInt16Range),
                 QStringLiteral("Das ist keine Zahl"));
        QCOMPARE(NumberInputMessage(ParseEntryNumber("300", kInt8Range), kInt8Range),
                 QStringLiteral("Die Zahl muss zwischen 0 und 127 liegen"));
        QCOMPARE(NumberText(-1), QString());
        QCOMPARE(NumberText(0), QStringLiteral("0"));
    }

    void time_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("status");
        QTest::newRow("untouched") << "__:__"
                                   << "  :  " << int(TimeStatus::Empty);
        QTest::newRow("two-digit hour") << "12:45"
                                        << "12:45" << int(TimeStatus::Valid);
        QTest::newRow("one digit left") << "9_:30"
                                        << " 9:30" << int(TimeStatus::Valid);
        QTest::newRow("one digit right") << "_9:30"
                                         << " 9:30" << int(TimeStatus::Valid);
        QTest::newRow("leading zero") << "09:05"
                                      << "09:05" << int(TimeStatus::Valid);
        QTest::newRow("midnight") << "0_:00"
                                  << " 0:00" << int(TimeStatus::Valid);
        QTest::newRow("last minute") << "23:59"
                                     << "23:59" << int(TimeStatus::Valid);
        QTest::newRow("minute missing") << "12:5_"
                                        << "12:5 " << int(TimeStatus::Incomplete);
        QTest::newRow("hour missing") << "__:30"
                                      << "  :30" << int(TimeStatus::Incomplete);
        QTest::newRow("only hour") << "12:__"
                                   << "12:  " << int(TimeStatus::Incomplete);
        QTest::newRow("hour 24") << "24:00"
                                 << "24:00" << int(TimeStatus::OutOfRange);
        QTest::newRow("minute 60") << "10:60"
                                   << "10:60" << int(TimeStatus::OutOfRange);
        QTest::newRow("99:99") << "99:99"
                               << "99:99" << int(TimeStatus::OutOfRange);
    }
    void time() {
        QFETCH(QString, display);
        QFETCH(QString, stored);
        QFETCH(int, status);
        QCOMPARE(StoredTimeText(display), stored);
        QCOMPARE(int(CheckTimeText(stored)), status);
        QCOMPARE(TimeMessage(TimeStatus(status)).isEmpty(),
                 status == int(TimeStatus::Empty) || status == int(TimeStatus::Valid));
    }

    void wolf_data() {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<bool>("nsOn");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("stored"); // g_n f_n g_s f_s g f Re
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("focus");
        const QString groups =
            QStringLiteral("Die Anzahl der Flecken kann nicht kleiner sein,\nals die Anzahl der "
                           "Gruppen");
        const QString notSo = QStringLiteral("Das geht so nicht!!");
        QTest::newRow("north south") << "g_n=2;f_n=5;g_s=1;f_s=3" << true << true << "2 5 1 3 3 8 38"
                                     << QStringList{} << QStringList{};
        QTest::newRow("groups above spots north")
            << "g_n=2;f_n=1;g_s=1;f_s=3" << true << true << "2 1 1 3 3 4 34" << QStringList{groups}
            << QStringList{"f_n"};
        QTest::newRow("groups above spots both")
            << "g_n=2;f_n=1;g_s=4;f_s=3" << true << true << "2 1 4 3 6 4 64" << QStringList{groups, groups}
            << QStringList{"f_n", "f_s"};
        QTest::newRow("one of four") << "g_n=2" << true << false << "7 7 7 7 7 7 7" << QStringList{notSo}
                                     << QStringList{"g_n"};
        QTest::newRow("three of four") << "g_n=2;f_n=3;g_s=1" << true << false << "7 7 7 7 7 7 7"
                                       << QStringList{notSo} << QStringList{"g_n"};
        // A day counted without the split keeps its totals when N-S is on.
        QTest::newRow("all empty, ns on, totals typed")
            << "g=4;f=9" << true << true << "-1 -1 -1 -1 4 9 49" << QStringList{} << QStringList{};
        QTest::newRow("all empty, ns on, totals empty")
            << "" << true << true << "-1 -1 -1 -1 -1 -1 -1" << QStringList{} << QStringList{};
        QTest::newRow("all empty, ns on, only f")
            << "f=9" << true << false << "7 7 7 7 7 7 7" << QStringList{notSo} << QStringList{"g"};
        QTest::newRow("ns off totals")
            << "g=5;f=2" << false << true << "7 7 7 7 5 2 52" << QStringList{} << QStringList{};
        QTest::newRow("ns off, totals empty")
            << "" << false << true << "7 7 7 7 -1 -1 -1" << QStringList{} << QStringList{};
        QTest::newRow("ns off, only g")
            << "g=5" << false << false << "7 7 7 7 7 7 7" << QStringList{notSo} << QStringList{"f"};
        QTest::newRow("ns off, hidden values") << "g_n=1;f_n=2;g_s=3;f_s=4;g=9;f=9" << false << true
                                               << "1 2 3 4 4 6 46" << QStringList{} << QStringList{};
        QTest::newRow("ns off, hidden incomplete")
            << "g_n=1;g=2;f=3" << false << true << "7 7 7 7 2 3 23" << QStringList{} << QStringList{};
        QTest::newRow("not a number")
            << "g_n=2;f_n=x;g_s=1;f_s=3" << true << false << "7 7 7 7 7 7 7"
            << QStringList{"Flecken Nord: Das ist keine Zahl"} << QStringList{"f_n"};
        QTest::newRow("negative") << "g_n=2;f_n=3;g_s=-1;f_s=3" << true << false << "7 7 7 7 7 7 7"
                                  << QStringList{"Gruppen Süd: Die Zahl muss zwischen 0 und 32767 liegen"}
                                  << QStringList{"g_s"};
        QTest::newRow("Re beyond 16 bits")
            << "g_n=3000;f_n=3000;g_s=1;f_s=3000" << true << false << "7 7 7 7 7 7 7"
            << QStringList{"Die Relativzahl Re = 10 · g + f darf höchstens 32767 sein"} << QStringList{"g_n"};
        QTest::newRow("Re at the limit") << "g=3000;f=2767" << false << true << "7 7 7 7 3000 2767 32767"
                                         << QStringList{} << QStringList{};
    }
    void wolf() {
        QFETCH(QString, texts);
        QFETCH(bool, nsOn);
        QFETCH(bool, complete);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, focus);
        TDayRecord d = MarkedDay();
        const BoxCheck r = CheckWolfBox(Texts(texts), nsOn, d);
        QCOMPARE(r.complete, complete);
        const QString got = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                                .arg(d.g_n)
                                .arg(d.f_n)
                                .arg(d.g_s)
                                .arg(d.f_s)
                                .arg(d.g)
                                .arg(d.f)
                                .arg(d.Re);
        QCOMPARE(got, stored);
        QStringList gotMessages, gotFocus;
        for (const CheckMessage &m : r.messages) {
            gotMessages << m.text;
            gotFocus << m.focus;
        }
        QCOMPARE(gotMessages, messages);
        QCOMPARE(gotFocus, focus);
    }

    void totalsReadOnly_data() {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<bool>("nsOn");
        QTest::addColumn<bool>("derived");
        QTest::newRow("ns on, empty") << "" << true << false;
        QTest::newRow("ns on, one given") << "f_s=1" << true << true;
        QTest::newRow("ns off, one hidden") << "f_s=1" << false << false;
        QTest::newRow("ns off, all hidden") << "g_n=1;f_n=1;g_s=0;f_s=0" << false << true;
    }
    void totalsReadOnly() {
        QFETCH(QString, texts);
        QFETCH(bool, nsOn);
        QFETCH(bool, derived);
        QCOMPARE(TotalsFromNorthSouth(Texts(texts), nsOn), derived);
    }

    void spotFieldMessage() {
        QCOMPARE(SpotFieldMessage(Texts("g_n=2"), "f_n"),
                 QStringLiteral("Wenn Gruppen vorhanden sind, müssen auch Flecken da sein"));
        QVERIFY(SpotFieldMessage(Texts("g_n=2;f_n=0"), "f_n").isEmpty());
        QVERIFY(SpotFieldMessage(Texts("g_n=2"), "f_s").isEmpty());
        QVERIFY(!SpotFieldMessage(Texts("g_s=1"), "f_s").isEmpty());
        QVERIFY(SpotFieldMessage(Texts("g_n=2"), "g_n").isEmpty());
    }

    void pettis_data() {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("stored"); // p s SN
        QTest::addColumn<QString>("focus");
        QTest::newRow("both") << "p=3;s=4" << true << "3 4 34"
                              << "";
        QTest::newRow("both emptied") << "" << true << "-1 -1 -1"
                                      << "";
        QTest::newRow("only p") << "p=3" << false << "7 7 7"
                                << "s";
        QTest::newRow("only s") << "s=3" << false << "7 7 7"
                                << "p";
        QTest::newRow("not a number") << "p=3;s=a" << false << "7 7 7"
                                      << "s";
        QTest::newRow("SN beyond 16 bits") << "p=3277;s=0" << false << "7 7 7"
                                           << "p";
        QTest::newRow("SN at the limit") << "p=3276;s=7" << true << "3276 7 32767"
                                         << "";
    }
    void pettis() {
        QFETCH(QString, texts);
        QFETCH(bool, complete);
        QFETCH(QString, stored);
        QFETCH(QString, focus);
        TDayRecord d = MarkedDay();
        const BoxCheck r = CheckPettisBox(Texts(texts), d);
        QCOMPARE(r.complete, complete);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(d.p).arg(d.s).arg(d.SN), stored);
        QCOMPARE(r.messages.isEmpty() ? QString() : r.messages.first().focus, focus);
    }

    // Texts are stored in Windows-1252: what it cannot hold is refused, not
    // turned into "?"; an umlaut typed as letter and accent is one character.
    void storableTexts_data() {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<bool>("fackel");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("stored");
        QTest::newRow("remark, Polish letters") << "Bemerkung=Łódź;Zeit=10:00" << false << "Bemerkung" << "";
        QTest::newRow("remark, decomposed umlaut")
            << QStringLiteral("Bemerkung=Mu\u0308ller;Zeit=10:00") << false << "" << QStringLiteral("Müller");
        QTest::newRow("remark, umlauts") << "Bemerkung=Größe über;Zeit=10:00" << false << "" << "Größe über";
        QTest::newRow("drawing, Czech letter") << "z_f=č;Po=H" << true << "z_f" << "";
        QTest::newRow("position, symbol") << "z_f=Z;Po=☀" << true << "Po" << "";
    }
    void storableTexts() {
        QFETCH(QString, texts);
        QFETCH(bool, fackel);
        QFETCH(QString, focus);
        QFETCH(QString, stored);
        TDayRecord d = MarkedDay();
        const TDayRecord before = d;
        const BoxCheck r = fackel ? CheckFackelBox(Texts(texts), false, d) : CheckGeneralBox(Texts(texts), d);
        QCOMPARE(r.complete, focus.isEmpty());
        if (!focus.isEmpty()) {
            QCOMPARE(r.messages.size(), 1);
            QCOMPARE(r.messages[0].focus, focus);
            QVERIFY(r.messages[0].text.endsWith(QStringLiteral("enthält Zeichen, die nicht gespeichert werden können.")));
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(&d), sizeof d),
                     QByteArray(reinterpret_cast<const char *>(&before), sizeof before)); // nothing stored
        } else {
            QCOMPARE(d.Bemerkung.text(), stored);
        }
    }

    void general() {
        TDayRecord d = UnobservedDay();
        ClearUnobservedDay(d);
        BoxCheck r = CheckGeneralBox(
            Texts("Bemerkung=eine sehr lange Bemerkung;Zeit= 9:30;Ruhe=1;Schaerfe=;Qualitaet=5"), d);
        QVERIFY(r.complete);
        QCOMPARE(d.Bemerkung.text(), QStringLiteral("eine sehr lange"));
        QCOMPARE(d.Zeit.text(), QStringLiteral(" 9:30"));
        QCOMPARE(d.Ruhe, std::int16_t(1));
        QCOMPARE(d.Schaerfe, std::int16_t(-1));
        QCOMPARE(d.Qualitaet, std::int16_t(5));

        // A refused time stops the box: the remark before it is kept, nothing after it.
        r = CheckGeneralBox(Texts("Bemerkung=neu;Zeit=25:00;Ruhe=3"), d);
        QVERIFY(!r.complete);
        QCOMPARE(r.messages.size(), 1);
        QCOMPARE(r.messages[0].focus, QStringLiteral("Zeit"));
        QCOMPARE(r.messages[0].kind, CheckMessage::Error);
        QCOMPARE(d.Bemerkung.text(), QStringLiteral("neu"));
        QCOMPARE(d.Zeit.text(), QStringLiteral(" 9:30"));
        QCOMPARE(d.Ruhe, std::int16_t(1));

        // Seeing outside 1..5, stored up to the refused field.
        r = CheckGeneralBox(Texts("Zeit=10:00;Ruhe=4;Schaerfe=9;Qualitaet=2"), d);
        QVERIFY(!r.complete);
        QCOMPARE(r.messages[0].text, QStringLiteral("Schärfe: Die Zahl muss zwischen 1 und 5 liegen"));
        QCOMPARE(d.Zeit.text(), QStringLiteral("10:00"));
        QCOMPARE(d.Ruhe, std::int16_t(4));
        QCOMPARE(d.Qualitaet, std::int16_t(5));

        // The untouched time is kept as five characters until OK empties it.
        r = CheckGeneralBox(Texts("Zeit=  :  "), d);
        QVERIFY(r.complete);
        QCOMPARE(d.Zeit.text(), QStringLiteral("  :  "));
        FinishEntry(d);
        QVERIFY(!d.observed());
    }

    void otherBoxes() {
        TDayRecord d = UnobservedDay();
        ClearUnobservedDay(d);
        QVERIFY(CheckBeckBox(Texts("Rs=2147483647"), d).complete);
        QCOMPARE(d.Rs, 2147483647);
        QVERIFY(CheckBeckBox(Texts("Rs="), d).complete);
        QCOMPARE(d.Rs, -1);
        QVERIFY(CheckCvBox(Texts("CV=15"), d).complete);
        QCOMPARE(d.CV, std::int16_t(15));

        // A, then A*: A* out of range leaves A stored and A* unchanged.
        d.Ab = 3;
        BoxCheck r = CheckABox(Texts("A=127;Ab=128"), d);
        QVERIFY(!r.complete);
        QCOMPARE(r.messages[0].focus, QStringLiteral("Ab"));
        QCOMPARE(d.A, std::int8_t(127));
        QCOMPARE(d.Ab, std::int8_t(3));

        r = CheckFackelBox(Texts("Fo=1;Fm=2;FEF=3;FEP=4;pfn=5;pfs=6;z_f=Zeichnung;Po=H"), true, d);
        QVERIFY(r.complete);
        QCOMPARE(d.Fo, std::int16_t(1));
        QCOMPARE(d.pfs, std::int16_t(6));
        QCOMPARE(d.z_f.text(), QStringLiteral("Zeich"));
        QCOMPARE(d.Po.text(), QStringLiteral("H"));
        QCOMPARE(d.Fl, 'X');
        // A refused field keeps the texts and the mark after it as they were.
        r = CheckFackelBox(Texts("Fo=1;Fm=x;z_f=F"), false, d);
        QVERIFY(!r.complete);
        QCOMPARE(r.messages[0].focus, QStringLiteral("Fm"));
        QCOMPARE(d.Fm, std::int16_t(2));
        QCOMPARE(d.z_f.text(), QStringLiteral("Zeich"));
        QCOMPARE(d.Fl, 'X');
        QVERIFY(CheckFackelBox(Texts(""), false, d).complete);
        QCOMPARE(d.Fo, std::int16_t(-1));
        QCOMPARE(d.Fl, char(0));

        QVERIFY(CheckLbBox(Texts("LN=1;LS=0;LGES="), d).complete);
        QCOMPARE(d.LN, std::int16_t(1));
        QCOMPARE(d.LS, std::int16_t(0));
        QCOMPARE(d.LGES, std::int16_t(-1));
    }

    void clearUnobservedDayKeepsRemarkAndReserved() {
        TDayRecord d = UnobservedDay();
        d.Bemerkung.assign(QStringLiteral("Regen"));
        d.Reserved1[2] = 0x5A;
        d.Reserved2[43] = 0xA5;
        d.z_f.assign(QStringLiteral("F"));
        d.Fl = 'X';
        ClearUnobservedDay(d);
        QCOMPARE(d.Bemerkung.text(), QStringLiteral("Regen"));
        QCOMPARE(d.Reserved1[2], std::uint8_t(0x5A));
        QCOMPARE(d.Reserved2[43], std::uint8_t(0xA5));
        QCOMPARE(d.Ruhe, std::int16_t(-1));
        QCOMPARE(d.Rs, -1);
        QCOMPARE(d.A, std::int8_t(-1));
        QCOMPARE(d.LGES, std::int16_t(-1));
        QVERIFY(d.z_f.empty());
        QCOMPARE(d.Fl, char(0));
    }

    void beck_data() {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<qint64>("sum");
        QTest::addColumn<qint64>("beck");
        QTest::addColumn<bool>("fits");
        QTest::newRow("none") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0} << qint64(0) << qint64(0) << true;
        QTest::newRow("A2 C1 H1") << QList<int>{2, 0, 1, 0, 0, 0, 0, 1, 0} << qint64(4) << qint64(60) << true;
        QTest::newRow("one of each") << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1} << qint64(9) << qint64(226)
                                     << true;
        QTest::newRow("exactly 65535")
            << QList<int>{0, 0, 1, 0, 0, 0, 0, 0, 1771} << qint64(1772) << qint64(65535) << true;
        QTest::newRow("G 1310 = 65500")
            << QList<int>{0, 0, 0, 0, 0, 0, 1310, 0, 0} << qint64(1310) << qint64(65500) << true;
        QTest::newRow("G 1311 beyond")
            << QList<int>{0, 0, 0, 0, 0, 0, 1311, 0, 0} << qint64(1311) << qint64(65550) << false;
        QTest::newRow("max counts") << QList<int>{32767, 32767, 0, 0, 0, 0, 0, 0, 0} << qint64(65534)
                                    << qint64(262136) << false;
    }
    void beck() {
        QFETCH(QList<int>, counts);
        QFETCH(qint64, sum);
        QFETCH(qint64, beck);
        QFETCH(bool, fits);
        std::array<std::int16_t, 9> c{};
        for (int i = 0; i < 9; ++i)
            c[i] = static_cast<std::int16_t>(counts[i]);
        const BeckTotals t = ComputeBeck(c);
        QCOMPARE(qint64(t.sum), sum);
        QCOMPARE(qint64(t.beck), beck);
        QCOMPARE(t.fits(), fits);
    }

    void spotsExceedWolf() {
        QVERIFY(SpotsExceedWolf(3, 4));
        QVERIFY(!SpotsExceedWolf(4, 4));
        QVERIFY(!SpotsExceedWolf(kSpotsNotGiven, 60000));
        QVERIFY(SpotsExceedWolf(0, 1));
        QCOMPARE(SpotsExceedWolfMessage(),
                 QStringLiteral("Das sind mehr Flecken,\nals bei der Wolf´schen Relativzahl"));
    }
};

QTEST_GUILESS_MAIN(TestEntryLogic)
#include "test_entry_logic.moc"

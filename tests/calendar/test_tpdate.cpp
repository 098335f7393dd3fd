// Calendar rules and the picture-driven date and time readers.
#include "calendar/tpdate.h"

#include <QTest>

class TestTpDate : public QObject {
    Q_OBJECT
private slots:
    void leapYear_data();
    void leapYear();
    void monthLength_data();
    void monthLength();
    void expandYear_data();
    void expandYear();
    void checkDate_data();
    void checkDate();
    void readDate_data();
    void readDate();
    void readDateWrongLengthGivesDefaults();
    void readTimeSeconds_data();
    void readTimeSeconds();
    void readTimeAmPm_data();
    void readTimeAmPm();
    void pictureField_data();
    void pictureField();
    void secondsOfDay_data();
    void secondsOfDay();
};

void TestTpDate::leapYear_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("leap");
    QTest::newRow("1900 century") << 1900 << false;
    QTest::newRow("2100 century") << 2100 << false;
    QTest::newRow("2000 by 400") << 2000 << true;
    QTest::newRow("1600 by 400") << 1600 << true;
    QTest::newRow("4000 by 4000") << 4000 << false;
    QTest::newRow("8000 by 4000") << 8000 << false;
    QTest::newRow("2024") << 2024 << true;
    QTest::newRow("2023") << 2023 << false;
    QTest::newRow("-4 negative") << -4 << true;
    QTest::newRow("-100 negative century") << -100 << false;
    QTest::newRow("-400 negative by 400") << -400 << true;
}

void TestTpDate::leapYear() {
    QFETCH(int, year);
    QFETCH(bool, leap);
    QCOMPARE(LeapYear(year), leap);
}

void TestTpDate::monthLength_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::newRow("Feb 0 -> 1900") << 2 << 0 << 28;
    QTest::newRow("Feb 2000") << 2 << 2000 << 29;
    QTest::newRow("Feb 1900") << 2 << 1900 << 28;
    QTest::newRow("Feb 24 -> 1924") << 2 << 24 << 29;
    QTest::newRow("month 13") << 13 << 2024 << 0;
    QTest::newRow("month 0") << 0 << 2024 << 0;
    QTest::newRow("April") << 4 << 2024 << 30;
    QTest::newRow("November") << 11 << 2024 << 30;
    QTest::newRow("July") << 7 << 2024 << 31;
    QTest::newRow("December") << 12 << 2024 << 31;
}

void TestTpDate::monthLength() {
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(MonthLength(month, year), days);
}

void TestTpDate::expandYear_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("expanded");
    QTest::newRow("0") << 0 << 1900;
    QTest::newRow("99") << 99 << 1999;
    QTest::newRow("24") << 24 << 1924;
    QTest::newRow("100 stays") << 100 << 100;
    QTest::newRow("negative stays") << -5 << -5;
    QTest::newRow("2024 stays") << 2024 << 2024;
}

void TestTpDate::expandYear() {
    QFETCH(int, year);
    QFETCH(int, expanded);
    QCOMPARE(ExpandYear(year), expanded);
}

void TestTpDate::checkDate_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("valid");
    QTest::newRow("29.2.2000") << 29 << 2 << 2000 << true;
    QTest::newRow("29.2.1900") << 29 << 2 << 1900 << false;
    QTest::newRow("1.1.1599") << 1 << 1 << 1599 << false;
    QTest::newRow("1.1.1600") << 1 << 1 << 1600 << true;
    QTest::newRow("31.12.3999") << 31 << 12 << 3999 << true;
    QTest::newRow("1.1.4000") << 1 << 1 << 4000 << false;
    QTest::newRow("29.2.24 is 1924") << 29 << 2 << 24 << true;
    QTest::newRow("29.2.23 is 1923") << 29 << 2 << 23 << false;
    QTest::newRow("day 0") << 0 << 5 << 2024 << false;
    QTest::newRow("31 April") << 31 << 4 << 2024 << false;
    QTest::newRow("month 13") << 1 << 13 << 2024 << false;
    QTest::newRow("month -1") << 1 << -1 << 2024 << false;
}

void TestTpDate::checkDate() {
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(bool, valid);
    QCOMPARE(CheckDate(day, month, year), valid);
}

void TestTpDate::readDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "05.03.2024" << 5 << 3 << 2024 << true;
    QTest::newRow("blanks for leading zeros") << " 5. 3.2024" << 5 << 3 << 2024 << true;
    QTest::newRow("empty mask") << "  .  .    " << -1 << -1 << -1 << false;
    QTest::newRow("letters in the day") << "xx.03.2024" << -1 << 3 << 2024 << false;
    QTest::newRow("impossible date kept as read") << "31.02.2024" << 31 << 2 << 2024 << false;
    QTest::newRow("year before 1600") << "01.01.1599" << 1 << 1 << 1599 << false;
    QTest::newRow("separators not compared") << "05/03/2024" << 5 << 3 << 2024 << true;
}

void TestTpDate::readDate() {
    QFETCH(QString, text);
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(bool, valid);
    const DateFields f = ReadDate(QStringLiteral("dd.mm.yyyy"), text);
    QCOMPARE(f.day, day);
    QCOMPARE(f.month, month);
    QCOMPARE(f.year, year);
    QCOMPARE(f.valid, valid);
}

void TestTpDate::readDateWrongLengthGivesDefaults() {
    const DateFields f = ReadDate(QStringLiteral("dd.mm.yyyy"), QStringLiteral("5.3.2024"));
    QCOMPARE(f.day, 1);
    QCOMPARE(f.month, StartMonth());
    QCOMPARE(f.year, StartYear());
    QVERIFY(f.valid);
}

void TestTpDate::readTimeSeconds_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds");
    QTest::newRow("23:59") << "23:59" << 86340;
    QTest::newRow("00:00") << "00:00" << 0;
    QTest::newRow("24:00 invalid") << "24:00" << -1;
    QTest::newRow("12:60 carries") << "12:60" << 46800;
    QTest::newRow("12:61 invalid") << "12:61" << -1;
    QTest::newRow("blank hour digit") << " 7:05" << 25500;
    QTest::newRow("empty mask") << "  :  " << -1;
    QTest::newRow("letters") << "ab:cd" << -1;
    QTest::newRow("negative minutes") << "12:-1" << -1;
}

void TestTpDate::readTimeSeconds() {
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(ReadTimeSeconds(QStringLiteral("hh:mm"), text), seconds);
}

void TestTpDate::readTimeAmPm_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hours");
    QTest::addColumn<bool>("valid");
    QTest::newRow("12:00 AM") << "12:00 AM" << 0 << true;
    QTest::newRow("12:00 PM") << "12:00 PM" << 12 << true;
    QTest::newRow("01:00 PM") << "01:00 PM" << 13 << true;
    QTest::newRow("00:00 PM") << "00:00 PM" << 12 << true;
    QTest::newRow("11:00 am lower case") << "11:00 am" << 11 << true;
    QTest::newRow("blank marker as AM") << "12:00  M" << 0 << true;
    QTest::newRow("13:00 PM") << "13:00 PM" << -1 << false;
    QTest::newRow("13:00 AM") << "13:00 AM" << -1 << false;
    QTest::newRow("XM") << "12:00 XM" << -1 << false;
    QTest::newRow("PX") << "12:00 PX" << -1 << false;
}

void TestTpDate::readTimeAmPm() {
    QFETCH(QString, text);
    QFETCH(int, hours);
    QFETCH(bool, valid);
    const TimeFields f = ReadTime(QStringLiteral("hh:mm te"), text);
    QCOMPARE(f.hours, hours);
    QCOMPARE(f.minutes, 0);
    QCOMPARE(f.seconds, 0);
    QCOMPARE(f.valid, valid);
}

void TestTpDate::pictureField_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("value");
    QTest::newRow("upper case picture letter") << "DD.MM.YYYY"
                                               << "07.08.1999"
                                               << "y" << 1999;
    QTest::newRow("missing letter -> default") << "dd.mm"
                                               << "07.08"
                                               << "y" << 42;
    QTest::newRow("length differs -> default") << "dd.mm"
                                               << "07.8"
                                               << "d" << 42;
    QTest::newRow("signed value") << "hhh"
                                  << " -5"
                                  << "h" << -5;
    QTest::newRow("only blanks -> error") << "dd"
                                          << "  "
                                          << "d" << -1;
    QTest::newRow("first run only") << "d.d"
                                    << "3.4"
                                    << "d" << 3;
}

void TestTpDate::pictureField() {
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QFETCH(QString, letter);
    QFETCH(int, value);
    QCOMPARE(PictureField(picture, text, letter.at(0), 42, -1), value);
}

void TestTpDate::secondsOfDay_data() {
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("seconds");
    QTest::newRow("noon") << 12 << 0 << 0 << 43200;
    QTest::newRow("60 s carry") << 0 << 0 << 60 << 60;
    QTest::newRow("23:60:00 wraps") << 23 << 60 << 0 << 0;
    QTest::newRow("23:59:60 wraps") << 23 << 59 << 60 << 0;
}

void TestTpDate::secondsOfDay() {
    QFETCH(int, h);
    QFETCH(int, m);
    QFETCH(int, s);
    QFETCH(int, seconds);
    QCOMPARE(SecondsOfDay(h, m, s), seconds);
}

QTEST_GUILESS_MAIN(TestTpDate)
#include "test_tpdate.moc"

// The field table of the day record: names, places and widths as the record
// has them, typed reads and writes in each width.
#include "storage/day_fields.h"

#include <QtTest>
#include <cstring>

class TestDayFields : public QObject {
    Q_OBJECT
private slots:
    void tableFollowsTheRecord_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("counted"); // position among the counted fields, -1 when not counted
        QTest::newRow("Bemerkung") << "Bemerkung" << 0 << 16 << -1;
        QTest::newRow("Zeit") << "Zeit" << 16 << 6 << -1;
        QTest::newRow("Ruhe") << "Ruhe" << 22 << 2 << 0;
        QTest::newRow("Re") << "Re" << 40 << 2 << 9;
        QTest::newRow("Rs") << "Rs" << 42 << 4 << 10;
        QTest::newRow("A") << "A" << 54 << 1 << 15;
        QTest::newRow("Ab") << "Ab" << 55 << 1 << 16;
        QTest::newRow("Fo") << "Fo" << 60 << 2 << 17;
        QTest::newRow("pfs") << "pfs" << 70 << 2 << 22;
        QTest::newRow("Fl") << "Fl" << 84 << 1 << -1;
        QTest::newRow("LGES") << "LGES" << 89 << 2 << -1;
    }
    void tableFollowsTheRecord() {
        QFETCH(QString, name);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(int, counted);
        const QByteArray latin = name.toLatin1();
        const int index = DayFieldIndex(latin.constData());
        QVERIFY(index >= 0);
        QCOMPARE(int(kDayFields[index].Offset), offset);
        QCOMPARE(int(kDayFields[index].Width), width);
        QCOMPARE(CountedFieldIndex(latin.constData()), counted);
        if (counted >= 0)
            QCOMPARE(QString::fromLatin1(CountedFieldName(counted)), name);
    }

    void everyByteBelongsToOneField() {
        QCOMPARE(kDayFields.size(), std::size_t(31));
        QCOMPARE(kCountedFieldCount, 23);
        int covered = 0;
        for (std::size_t i = 0; i + 1 < kDayFields.size(); ++i) {
            const int end = kDayFields[i].Offset + kDayFields[i].Width;
            const int next = kDayFields[i + 1].Offset;
            // Only the four reserved bytes lie between Ab and Fo.
            QCOMPARE(next - end, QString::fromLatin1(kDayFields[i].Name) == QLatin1String("Ab") ? 4 : 0);
            covered += kDayFields[i].Width;
        }
        covered += kDayFields.back().Width;
        QCOMPARE(covered, 135 - 4 - 44);
        QCOMPARE(DayFieldIndex("Reserved1"), -1);
    }

    void numbersAreReadAndWrittenInTheirWidth() {
        TDayRecord d;
        std::memset(&d, 0, sizeof d);
        SetDayNumber(d, DayFieldIndex("Rs"), 100000);
        SetDayNumber(d, DayFieldIndex("A"), -1);
        SetDayNumber(d, DayFieldIndex("Ab"), 155); // wraps in 8 bits
        SetDayNumber(d, DayFieldIndex("Re"), 40000); // wraps in 16 bits
        SetDayNumber(d, DayFieldIndex("LN"), -1);
        QCOMPARE(d.Rs, 100000);
        QCOMPARE(d.A, std::int8_t(-1));
        QCOMPARE(d.Ab, std::int8_t(-101));
        QCOMPARE(d.Re, std::int16_t(-25536));
        QCOMPARE(d.LN, std::int16_t(-1));
        QCOMPARE(d.Ruhe, std::int16_t(0)); // the neighbours are untouched
        QCOMPARE(d.Schaerfe, std::int16_t(0));
        QCOMPARE(DayNumber(d, DayFieldIndex("Rs")), 100000);
        QCOMPARE(DayNumber(d, DayFieldIndex("A")), -1);
        QCOMPARE(CountedField(d, CountedFieldIndex("Ab")), -101);
        d.Fl = 'X';
        QCOMPARE(DayNumber(d, DayFieldIndex("Fl")), 88); // a mark reads as its byte value
        d.Fl = static_cast<char>(0xE4);
        QCOMPARE(DayNumber(d, DayFieldIndex("Fl")), 228);
    }

    void textsAreCutToTheirLength() {
        TDayRecord d;
        std::memset(&d, 0, sizeof d);
        const TDayField &zf = kDayFields[DayFieldIndex("z_f")];
        SetDayText(d, zf, QStringLiteral("Fächerx"));
        QCOMPARE(d.z_f.text(), QStringLiteral("Fäche"));
        QCOMPARE(DayText(d, zf), QStringLiteral("Fäche"));
        QCOMPARE(d.Po.length(), 0);
        d.Bemerkung.assign(QStringLiteral("Wolken"));
        QCOMPARE(DayText(d, kDayFields[DayFieldIndex("Bemerkung")]), QStringLiteral("Wolken"));
    }

    void countedValuesComeInTheOrderOfTheCounts() {
        TDayRecord d;
        std::memset(&d, 0, sizeof d);
        for (int k = 0; k < kCountedFieldCount; ++k)
            SetDayNumber(d, kCountedFields[k], 100 + k);
        QList<int> seen;
        ForEachCountedValue(d, [&](int k, std::int32_t value) { seen << k * 1000 + value; });
        QCOMPARE(seen.size(), 23);
        QCOMPARE(seen.first(), 100);
        QCOMPARE(seen[10], 10110); // Rs
        QCOMPARE(seen.last(), 22122); // pfs
    }
};

QTEST_GUILESS_MAIN(TestDayFields)
#include "test_day_fields.moc"

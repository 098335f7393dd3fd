#include "storage_fixture.h"
#include "storage/column_layout.h"
#include "storage/tarvo_error.h"

#include <QtTest>

class ColumnLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsAreInPlaceAfterStartUp() {
        ObserverFixture fx;
        const TColumnLayout &l = Storage().ColumnLayout;
        QCOMPARE(Storage().HighestColumnIndex, 25);
        QCOMPARE(l[1].Titel.text(), QStringLiteral("Bemerkung"));
        QCOMPARE(l[1].Spaltenbreite, 100);
        QCOMPARE(int(l[1].Ausr), 3);
        QCOMPARE(l[13].Titel.text(), QStringLiteral("Rb"));
        QCOMPARE(l[13].Spaltenbreite, 40);
        QCOMPARE(l[18].Spalte, 14);
        QCOMPARE(int(l[19].Sichtbar), 0);
        QCOMPARE(l[19].Titel.text(), QStringLiteral("A*"));
        QCOMPARE(l[25].Spalte, 10);
        for (int i = 0; i <= 25; ++i)
            QCOMPARE(l[i].Nr, i);
        QCOMPARE(l[26].Titel.length(), 0);
    }

    void saveAndLoadRoundTrip() {
        ObserverFixture fx;
        Storage().ColumnLayout[3].Sichtbar = 0;
        Storage().ColumnLayout[3].Reserved[0] = 0x42; // carried along
        SaveColumnLayout();
        const QByteArray bytes = fx.read("AEF.CFG");
        QCOMPARE(bytes.size(), 5656);
        QCOMPARE(bytes.mid(56 * 1, 4), QByteArray("\x01\x00\x00\x00", 4));
        QCOMPARE(bytes.mid(56 * 1 + 4, 10), QByteArray("\x09" "Bemerkung"));
        ResetColumnLayout();
        QCOMPARE(int(Storage().ColumnLayout[3].Sichtbar), 1);
        LoadColumnLayout();
        QCOMPARE(int(Storage().ColumnLayout[3].Sichtbar), 0);
        QCOMPARE(Storage().ColumnLayout[3].Reserved[0], std::uint8_t(0x42));
    }

    void missingOrShortFileIsAnError() {
        ObserverFixture fx;
        QVERIFY_THROWS_EXCEPTION(TarvoError, LoadColumnLayout());
        QByteArray shortFile(56 * 2, '\0');
        shortFile[56] = 1;
        shortFile[60] = 1;
        shortFile[61] = 'Z';
        fx.write("AEF.CFG", shortFile);
        try {
            LoadColumnLayout();
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
        }
        QCOMPARE(Storage().ColumnLayout[1].Titel.text(), QStringLiteral("Z")); // read before the failure
        QCOMPARE(Storage().ColumnLayout[2].Titel.text(), QStringLiteral("UT"));

        // The month table's way: the defaults instead of a half-read layout,
        // and the reason; a missing file is no problem.
        QCOMPARE(LoadColumnLayoutOrDefaults(), QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
        QCOMPARE(Storage().ColumnLayout[1].Titel.text(), QStringLiteral("Bemerkung"));
        QVERIFY(QFile::remove(fx.observerFile("AEF.CFG")));
        Storage().ColumnLayout[1].Sichtbar = 0;
        QCOMPARE(LoadColumnLayoutOrDefaults(), QString());
        QCOMPARE(int(Storage().ColumnLayout[1].Sichtbar), 1);
    }
};

QTEST_GUILESS_MAIN(ColumnLayoutTest)
#include "test_column_layout.moc"

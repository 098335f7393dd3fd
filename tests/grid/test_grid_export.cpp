#include "grid/grid_export.h"

#include <QTest>

class TestGridExport : public QObject {
    Q_OBJECT

    static TGridTable Sample() {
        TGridTable t(3, 2);
        t.FixedRows = 1;
        t.cell(0, 0).Text = QStringLiteral("Tag");
        t.cell(0, 1).Text = QStringLiteral("Bemerkung");
        t.cell(1, 0).Text = QStringLiteral("01");
        t.cell(1, 1).Text = QStringLiteral("a;b \"x\"");
        t.cell(2, 0).Text = QStringLiteral("02");
        return t;
    }

private slots:
    void separatedText_data() {
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("firstCol");
        QTest::addColumn<int>("lastCol");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole grid") << 0 << 2 << 0 << 1
                                    << QStringLiteral("Tag;Bemerkung;\r\n01;a;b \"x\";\r\n02;;\r\n");
        QTest::newRow("one cell") << 1 << 1 << 0 << 0 << QStringLiteral("01;\r\n");
        QTest::newRow("clamped range")
            << -5 << 99 << 1 << 99 << QStringLiteral("Bemerkung;\r\na;b \"x\";\r\n;\r\n");
        QTest::newRow("empty range") << 2 << 1 << 0 << 1 << QString();
    }
    void separatedText() {
        QFETCH(int, firstRow);
        QFETCH(int, lastRow);
        QFETCH(int, firstCol);
        QFETCH(int, lastCol);
        QFETCH(QString, expected);
        QCOMPARE(ExportSeparatedText(Sample(), QLatin1Char(';'), firstRow, lastRow, firstCol, lastCol),
                 expected);
    }

    void separatedTextHasOneLinePerRow() {
        TGridTable t(35, 15);
        const QString text = ExportSeparatedText(t, QLatin1Char(';'));
        QCOMPARE(text.count(QStringLiteral("\r\n")), 35);
        QVERIFY(text.startsWith(QString(15, QLatin1Char(';')) + QStringLiteral("\r\n")));
    }

    void entities_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Re 12"
                               << "Re 12";
        QTest::newRow("markup") << "<b>&\""
                                << "&lt;b&gt;&amp;&quot;";
        QTest::newRow("umlauts") << QStringLiteral("Schärfe Süd ß") << "Sch&auml;rfe S&uuml;d &szlig;";
        QTest::newRow("degree and unnamed") << QStringLiteral("50° \u0142") << "50&deg; &#322;";
        QTest::newRow("outside BMP") << QStringLiteral("\U0001F31E") << "&#127774;";
    }
    void entities() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(HtmlEntities(text), expected);
    }

    void htmlTable() {
        TGridTable t = Sample();
        t.cell(0, 1).Align = TMyAlign::alLeft;
        t.cell(1, 0).Align = TMyAlign::alCenter;
        t.cell(1, 1).Align = TMyAlign::alRight;
        t.cell(2, 0).Color = 0xFFFFFF; // same as the grid: no attribute
        t.cell(2, 1).Color = 0x12AB0F;
        const QString expected = QStringLiteral("<table bgcolor=#FFFFFF caption=\"Tarvo Daten\">\r\n"
                                                " <caption><h2>Tarvo Daten</h2></caption>\r\n"
                                                " <tr>\r\n"
                                                "  <th>\r\nTag\r\n  </th>\r\n"
                                                "  <th align=left>\r\nBemerkung\r\n  </th>\r\n"
                                                " </tr>\r\n"
                                                " <tr>\r\n"
                                                "  <td align=center>\r\n01\r\n  </td>\r\n"
                                                "  <td align=right>\r\na;b &quot;x&quot;\r\n  </td>\r\n"
                                                " </tr>\r\n"
                                                " <tr>\r\n"
                                                "  <td>\r\n02\r\n  </td>\r\n"
                                                "  <td bgcolor=#12AB0F>\r\n\r\n  </td>\r\n"
                                                " </tr>\r\n"
                                                "</table>\r\n");
        QCOMPARE(ExportHtmlTable(t, QStringLiteral("Tarvo Daten")), expected);
    }

    void htmlBorderFixedColumnAndFont() {
        TGridTable t(1, 2);
        t.FixedCols = 1;
        t.GridColor = 0xC0C0C0;
        t.Border = 2;
        t.cell(0, 0).Text = QStringLiteral("A");
        t.cell(0, 1).Text = QStringLiteral("x<y");
        TExportFont f;
        f.Face = QStringLiteral("Arial");
        f.PointSize = 12;
        f.Color = 0xFF0000;
        f.Bold = true;
        f.Underline = true;
        t.cell(0, 1).Font = f;
        const QString html = ExportHtmlTable(t, QString());
        QVERIFY(html.startsWith(QStringLiteral("<table bgcolor=#C0C0C0 border=2>\r\n")));
        QVERIFY(html.contains(QStringLiteral("  <th>\r\nA\r\n  </th>\r\n")));
        QVERIFY(html.contains(QStringLiteral(
            "  <td>\r\n<font face=\"Arial\" size=3 color=#FF0000><b><u>x&lt;y</u></b></font>\r\n")));
    }

    void colors() {
        QCOMPARE(HtmlColor(0x0A0B0C), QStringLiteral("0A0B0C"));
        QCOMPARE(HtmlColor(0xFF123456), QStringLiteral("123456"));
    }

    void alignFromByte() {
        QCOMPARE(AlignFromByte(0), TMyAlign::alRight);
        QCOMPARE(AlignFromByte(2), TMyAlign::alCenter);
        QCOMPARE(AlignFromByte(200), TMyAlign::alDefault);
    }
};

QTEST_GUILESS_MAIN(TestGridExport)
#include "test_grid_export.moc"

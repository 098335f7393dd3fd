// The month table as a table of cells, and the month window's grid filled
// from it: what the grid exports must be exactly that table.
#include "../common/day_records.h"
#include "month_gui_helpers.h"

#include "grid/string_align_grid_widget.h"
#include "month/month_grid_table.h"
#include "month/sonmonat_dlg.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDir>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>

namespace {

TDayRecord Day(const char *zeit, int g, int f) { return ObservedDayRecord(zeit, g, f); }

// 2004: March with three observed days, a remark-only day and a remark that
// needs HTML entities; February (29 days) with a stray record in slot 30.
TYearBuffer Fixture() {
    TYearBuffer y{};
    y.Day(3, 1) = Day("08:00", 2, 10);
    y.Day(3, 2) = Day("08:30", 3, 11);
    y.Day(3, 2).Ruhe = 2;
    y.Day(3, 2).A = -3;
    y.Day(3, 31) = Day("15:45", 1, 1);
    y.Day(3, 31).Bemerkung.assign(QStringLiteral("<ü> & \"Fleck\""));
    y.Day(3, 5).Bemerkung.assign(QStringLiteral("Wolken"));
    y.Day(2, 29) = Day("12:00", 1, 0);
    y.Day(2, 30) = Day("12:00", 9, 9); // beyond the month: neither shown nor summed
    return y;
}

// Default layout, but without "Bemerkung": "Re" (centred, a title with
// special characters) stands in the column of the summary labels, and "UT"
// is right-aligned.
void UseCustomLayout() {
    ResetColumnLayout();
    TColumnLayout &l = Storage().ColumnLayout;
    l[1].Sichtbar = 0;
    l[12].Spalte = 1;
    l[12].Ausr = 2;
    l[12].Titel.assign(QStringLiteral("Re<ü>"));
    l[2].Ausr = 0;
}

TColumnLayout DefaultLayout() {
    ResetColumnLayout();
    return Storage().ColumnLayout;
}

// Rows of a month table's text export that hold more than the day number.
using Rows = QMap<int, QString>;

// The text export of a month table: the title row, the day rows (the day
// number for the days of the month, else nothing) and the three summary
// rows; a row not given holds no value.
QString TableText(const QString &title, int cols, int days, const Rows &rows) {
    QString text = title + QStringLiteral("\r\n");
    for (int row = 1; row <= 34; ++row) {
        const QString day = row <= days ? QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')) : QString();
        text += rows.value(row, day + QString(cols, QLatin1Char(';'))) + QStringLiteral("\r\n");
    }
    return text;
}

int Column(const TGridTable &t, const QString &title) {
    for (int c = 0; c < t.Cols; ++c)
        if (t.cell(0, c).Text == title)
            return c;
    return -1;
}

} // namespace

class TestMonthGridTable : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        StorageStartUp(dir_->path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("0001")));
    }
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        dir_.reset();
    }

    void defaultLayoutCells_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("reMean");
        QTest::addColumn<QString>("aMean");
        QTest::newRow("C") << QLocale::c() << QStringLiteral("27.3") << QStringLiteral("-3.0");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << QStringLiteral("27,3")
                                << QStringLiteral("-3,0");
    }
    void defaultLayoutCells() {
        QFETCH(QLocale, locale);
        QFETCH(QString, reMean);
        QFETCH(QString, aMean);
        const TGridTable t = MonthGridTable(Fixture(), 3, 2004, DefaultLayout(), locale);
        QCOMPARE(t.Rows, 35);
        QCOMPARE(t.Cols, 15);
        QCOMPARE(t.FixedRows, 1);
        QCOMPARE(t.FixedCols, 0);
        QCOMPARE(t.GridColor, 0xFFFFFFu);
        QCOMPARE(t.cell(0, 0).Text, QStringLiteral("Tag"));
        QCOMPARE(t.cell(0, 1).Text, QStringLiteral("Bemerkung"));
        const int re = Column(t, "Re"), ut = Column(t, "UT"), r = Column(t, "R"), a = Column(t, "A");
        QVERIFY(re > 0 && ut > 0 && r > 0 && a > 0);
        // Column alignments from the layout, the title row included.
        QCOMPARE(t.cell(0, 0).Align, TMyAlign::alCenter);
        QCOMPARE(t.cell(7, 1).Align, TMyAlign::alDefault);
        QCOMPARE(t.cell(0, re).Align, TMyAlign::alRight);
        QCOMPARE(t.cell(34, re).Align, TMyAlign::alRight);
        // Days: every day number, remarks always, numbers only for observed days.
        QCOMPARE(t.cell(1, 0).Text, QStringLiteral("01"));
        QCOMPARE(t.cell(31, 0).Text, QStringLiteral("31"));
        QCOMPARE(t.cell(1, ut).Text, QStringLiteral("08:00"));
        QCOMPARE(t.cell(2, re).Text, QStringLiteral("41"));
        QCOMPARE(t.cell(1, r).Text, QString()); // -1
        QCOMPARE(t.cell(2, a).Text, QStringLiteral("-3"));
        QCOMPARE(t.cell(5, 1).Text, QStringLiteral("Wolken"));
        QCOMPARE(t.cell(5, ut).Text, QString());
        QCOMPARE(t.cell(31, 1).Text, QStringLiteral("<ü> & \"Fleck\""));
        // Summary rows: the labels right-aligned in column 1, sums, counts, means.
        QCOMPARE(t.cell(32, 1).Text, QStringLiteral("Summe"));
        QCOMPARE(t.cell(33, 1).Text, QStringLiteral("Anzahl"));
        QCOMPARE(t.cell(34, 1).Text, QStringLiteral("Mittel"));
        for (int row = 32; row <= 34; ++row)
            QCOMPARE(t.cell(row, 1).Align, TMyAlign::alRight);
        QCOMPARE(t.cell(32, 0).Text, QString());
        QCOMPARE(t.cell(32, re).Text, QStringLiteral("82"));
        QCOMPARE(t.cell(33, re).Text, QStringLiteral("3"));
        QCOMPARE(t.cell(34, re).Text, reMean);
        QCOMPARE(t.cell(32, a).Text, QStringLiteral("-3"));
        QCOMPARE(t.cell(34, a).Text, aMean);
        QCOMPARE(t.cell(32, r).Text, QStringLiteral("2"));
        QCOMPARE(t.cell(33, Column(t, "S")).Text, QString()); // no value at all
        for (const TExportCell &cell : t.Cells) {
            QVERIFY(!cell.Color);
            QVERIFY(!cell.Font);
        }
    }

    void monthLengthDecidesTheRows_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("days");
        QTest::newRow("February leap year") << 2 << 2004 << 29;
        QTest::newRow("February") << 2 << 2003 << 28;
        QTest::newRow("April") << 4 << 2004 << 30;
        QTest::newRow("December") << 12 << 2004 << 31;
    }
    void monthLengthDecidesTheRows() {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, days);
        TYearBuffer buffer = Fixture();
        for (int d = 1; d <= 31; ++d)
            buffer.Day(month, d) = Day("10:00", 1, 1);
        const TGridTable t = MonthGridTable(buffer, month, year, DefaultLayout(), QLocale::c());
        const int re = Column(t, "Re");
        QCOMPARE(t.cell(days, 0).Text, QStringLiteral("%1").arg(days));
        QCOMPARE(t.cell(days, re).Text, QStringLiteral("11"));
        for (int row = days + 1; row <= 31; ++row) {
            QCOMPARE(t.cell(row, 0).Text, QString());
            QCOMPARE(t.cell(row, re).Text, QString());
        }
        QCOMPARE(t.cell(33, re).Text, QString::number(days));
        QCOMPARE(t.cell(32, re).Text, QString::number(11 * days));
    }

    void summaryKindInTheLabelColumnOverwritesTheLabels() {
        UseCustomLayout();
        const TColumnLayout layout = Storage().ColumnLayout;
        const TGridTable withData = MonthGridTable(Fixture(), 3, 2004, layout, QLocale::c());
        QCOMPARE(withData.cell(0, 1).Text, QStringLiteral("Re<ü>"));
        QCOMPARE(withData.cell(32, 1).Text, QStringLiteral("82"));
        QCOMPARE(withData.cell(34, 1).Text, QStringLiteral("27.3"));
        QCOMPARE(withData.cell(34, 1).Align, TMyAlign::alRight);
        QCOMPARE(withData.cell(1, 1).Align, TMyAlign::alCenter);
        const TGridTable empty = MonthGridTable(Fixture(), 6, 2004, layout, QLocale::c());
        for (int row = 32; row <= 34; ++row)
            QCOMPARE(empty.cell(row, 1).Text, QString());
    }

    void exportsAreWindows1252() {
        const TGridTable t = MonthGridTable(Fixture(), 3, 2004, DefaultLayout(), QLocale::c());
        const QByteArray csv = MonthTableCsv(t);
        QVERIFY(csv.contains("31;<\xFC> & \"Fleck\";15:45;"));
        const QByteArray html = MonthTableHtml(t);
        QVERIFY(html.startsWith("<table bgcolor=#FFFFFF border=1 caption=\"Tarvo Daten\">\r\n"
                                " <caption><h2>Tarvo Daten</h2></caption>\r\n <tr>\r\n  <th align=center>\r\n"
                                "Tag\r\n  </th>\r\n  <th>\r\nBemerkung\r\n  </th>\r\n"));
        QVERIFY(html.contains("&lt;&uuml;&gt; &amp; &quot;Fleck&quot;"));
        QVERIFY(html.endsWith(" </tr>\r\n</table>\r\n"));
    }

    // The window's grid shows exactly the table: after opening, after a month
    // change, after a deleted day, with the default and a custom layout; its
    // text export is the table's.
    void windowGridEqualsTheTable_data() {
        QTest::addColumn<bool>("customLayout");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("title");
        QTest::addColumn<Rows>("march");
        QTest::addColumn<Rows>("february");
        QTest::addColumn<Rows>("februaryEmptied");
        QTest::newRow("default layout")
            << false << QLocale(QLocale::German, QLocale::Germany)
            << "Tag;Bemerkung;UT;R;S;Q;Gn;Fn;Gs;Fs;G;F;Re;Rb;A;"
            << Rows{{1, "01;;08:00;;;;;;;;2;10;30;;;"},
                    {2, "02;;08:30;2;;;;;;;3;11;41;;-3;"},
                    {5, "05;Wolken;;;;;;;;;;;;;;"},
                    {31, "31;<ü> & \"Fleck\";15:45;;;;;;;;1;1;11;;;"},
                    {32, ";Summe;;2;;;;;;;6;22;82;;-3;"},
                    {33, ";Anzahl;;1;;;;;;;3;3;3;;1;"},
                    {34, ";Mittel;;2,0;;;;;;;2,0;7,3;27,3;;-3,0;"}}
            << Rows{{29, "29;;12:00;;;;;;;;1;0;10;;;"},
                    {32, ";Summe;;;;;;;;;1;0;10;;;"},
                    {33, ";Anzahl;;;;;;;;;1;1;1;;;"},
                    {34, ";Mittel;;;;;;;;;1,0;0,0;10,0;;;"}}
            << Rows{{32, ";Summe;;;;;;;;;;;;;;"}, {33, ";Anzahl;;;;;;;;;;;;;;"}, {34, ";Mittel;;;;;;;;;;;;;;"}};
        QTest::newRow("custom layout")
            << true << QLocale::c() << "Tag;Re<ü>;UT;R;S;Q;Gn;Fn;Gs;Fs;G;F;Rb;A;"
            << Rows{{1, "01;30;08:00;;;;;;;;2;10;;;"},
                    {2, "02;41;08:30;2;;;;;;;3;11;;-3;"},
                    {31, "31;11;15:45;;;;;;;;1;1;;;"},
                    {32, ";82;;2;;;;;;;6;22;;-3;"},
                    {33, ";3;;1;;;;;;;3;3;;1;"},
                    {34, ";27.3;;2.0;;;;;;;2.0;7.3;;-3.0;"}}
            << Rows{{29, "29;10;12:00;;;;;;;;1;0;;;"},
                    {32, ";10;;;;;;;;;1;0;;;"},
                    {33, ";1;;;;;;;;;1;1;;;"},
                    {34, ";10.0;;;;;;;;;1.0;0.0;;;"}}
            << Rows{};
    }
    void windowGridEqualsTheTable() {
        QFETCH(bool, customLayout);
        QFETCH(QLocale, locale);
        QFETCH(QString, title);
        QFETCH(Rows, march);
        QFETCH(Rows, february);
        QFETCH(Rows, februaryEmptied);
        QLocale::setDefault(locale);
        TYearBuffer year = Fixture();
        QVERIFY(WriteYear(2004, year));
        if (customLayout) {
            UseCustomLayout();
            SaveColumnLayout();
        }
        TSonMonatDlg dlg;
        dlg.setOpeningDate(QDate(2004, 3, 2));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *grid = dlg.findChild<TStringAlignGrid *>("SGMonat");
        const int cols = static_cast<int>(title.count(QLatin1Char(';')));
        QCOMPARE(grid->cols(), cols);
        QCOMPARE(grid->rows(), 35);

        QCOMPARE(grid->exportText(QChar(kMonthExportSeparator)), TableText(title, cols, 31, march));
        // Column alignments from the layout, the title row included; the
        // summary labels (or the sums that stand in their column) right-aligned.
        QCOMPARE(grid->cellAlignment(0, 0), TMyAlign::alCenter);
        QCOMPARE(grid->cellAlignment(34, 1), TMyAlign::alRight);
        QCOMPARE(grid->cellAlignment(5, 1), customLayout ? TMyAlign::alCenter : TMyAlign::alDefault);
        QCOMPARE(grid->cellAlignment(1, 2), customLayout ? TMyAlign::alRight : TMyAlign::alCenter);
        dlg.findChild<QSpinBox *>("SEMonat")->setValue(2);
        QCOMPARE(grid->exportText(QChar(kMonthExportSeparator)), TableText(title, cols, 29, february));
        QVERIFY(grid->setSelectedRow(29));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete);
        QVERIFY(!dlg.yearBuffer().Day(2, 29).observed());
        QCOMPARE(grid->exportText(QChar(kMonthExportSeparator)), TableText(title, cols, 29, februaryEmptied));
        dlg.close();
    }
};

TARVO_MONTH_GUI_MAIN(TestMonthGridTable, "1024x768")
#include "test_month_grid_table.moc"

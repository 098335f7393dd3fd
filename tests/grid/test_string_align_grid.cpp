#include "grid/string_align_grid_widget.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

class TestStringAlignGrid : public QObject {
    Q_OBJECT

    // A grid of 1 title row and 6 body rows, 3 columns, shown.
    struct Fixture {
        TStringAlignGrid grid;
        Fixture() {
            grid.setFixedRows(1);
            grid.setRows(7);
            grid.setCols(3);
            grid.setDefaultRowHeight(15);
            grid.resize(300, 200);
            grid.show();
            QVERIFY2(QTest::qWaitForWindowExposed(&grid), "grid not shown");
        }
        QPoint cellCentre(int row, int col) const {
            return grid.visualItemRect(grid.item(row - grid.fixedRows(), col)).center();
        }
    };

private slots:
    void rowsCountTheFixedRow() {
        TStringAlignGrid grid;
        grid.setFixedRows(1);
        grid.setRows(35);
        grid.setCols(4);
        QCOMPARE(grid.rows(), 35);
        QCOMPARE(grid.rowCount(), 34);
        grid.setCellText(0, 2, QStringLiteral("Re"));
        grid.setCellText(34, 3, QStringLiteral("38,3"));
        QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("Re"));
        QCOMPARE(grid.cellText(34, 3), QStringLiteral("38,3"));
        QCOMPARE(grid.cellText(35, 3), QString()); // outside: no crash, nothing
        grid.setCellText(99, 0, QStringLiteral("x"));
    }

    void alignmentCellBeforeColumnBeforeDefault() {
        TStringAlignGrid grid;
        grid.setRows(3);
        grid.setCols(2);
        QCOMPARE(grid.cellAlignment(1, 0), TMyAlign::alDefault);
        grid.setColumnAlignment(0, TMyAlign::alRight);
        QCOMPARE(grid.cellAlignment(1, 0), TMyAlign::alRight);
        QCOMPARE(grid.cellAlignment(0, 0), TMyAlign::alRight);
        QVERIFY(grid.item(0, 0)->textAlignment() & Qt::AlignRight);
        grid.setCellAlignment(2, 0, TMyAlign::alCenter);
        grid.setColumnAlignment(0, TMyAlign::alLeft); // the cell keeps its own
        QCOMPARE(grid.cellAlignment(2, 0), TMyAlign::alCenter);
        QVERIFY(grid.item(1, 0)->textAlignment() & Qt::AlignHCenter);
        QCOMPARE(grid.cellAlignment(1, 0), TMyAlign::alLeft);
        grid.clearCellAlignment(2, 0);
        QCOMPARE(grid.cellAlignment(2, 0), TMyAlign::alLeft);
    }

    void coloursAndFonts() {
        TStringAlignGrid grid;
        grid.setRows(3);
        grid.setCols(2);
        grid.setColor(Qt::white);
        grid.setColumnColor(1, QColor(0x10, 0x20, 0x30));
        grid.setCellColor(2, 1, Qt::red);
        QCOMPARE(grid.cellColor(1, 0), QColor(Qt::white));
        QCOMPARE(grid.cellColor(1, 1), QColor(0x10, 0x20, 0x30));
        QCOMPARE(grid.cellColor(2, 1), QColor(Qt::red));
        QFont bold(QStringLiteral("Arial"), 10);
        bold.setBold(true);
        grid.setCellFont(1, 0, bold);
        QVERIFY(grid.cellFont(1, 0).bold());
        QVERIFY(!grid.cellFont(2, 0).bold());

        const TGridTable t = grid.exportTable();
        QVERIFY(!t.cell(1, 0).Color);
        QCOMPARE(*t.cell(1, 1).Color, 0x102030u);
        QCOMPARE(*t.cell(2, 1).Color, 0xFF0000u);
        QVERIFY(t.cell(1, 0).Font && t.cell(1, 0).Font->Bold);
        QVERIFY(!t.cell(2, 0).Font);
    }

    void refusedRowsCannotBeClicked() {
        Fixture f;
        f.grid.setSelectableRows(1, 4);
        QVERIFY(f.grid.setSelectedRow(2));
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.cellCentre(5, 1));
        QCOMPARE(f.grid.selectedRow(), 2);
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.cellCentre(3, 1));
        QCOMPARE(f.grid.selectedRow(), 3);
        QVERIFY(!f.grid.setSelectedRow(6));
        QCOMPARE(f.grid.selectedRow(), 3);
    }

    void refusedRowsCannotBeReachedByKeys() {
        Fixture f;
        f.grid.setSelectableRows(1, 4);
        f.grid.setFocus();
        QVERIFY(f.grid.setSelectedRow(3));
        QTest::keyClick(&f.grid, Qt::Key_Down);
        QCOMPARE(f.grid.selectedRow(), 4);
        QTest::keyClick(&f.grid, Qt::Key_Down);
        QCOMPARE(f.grid.selectedRow(), 4);
        QTest::keyClick(&f.grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(f.grid.selectedRow(), 4);
        QTest::keyClick(&f.grid, Qt::Key_Up);
        QCOMPARE(f.grid.selectedRow(), 3);
    }

    void refusingTheSelectedRowClearsIt() {
        Fixture f;
        QVERIFY(f.grid.setSelectedRow(5));
        f.grid.setRowSelectable(5, false);
        QCOMPARE(f.grid.selectedRow(), -1);
        QVERIFY(!(f.grid.item(4, 0)->flags() & Qt::ItemIsSelectable));
    }

    void doubleClickReportsOnlySelectableRows() {
        Fixture f;
        f.grid.setSelectableRows(1, 4);
        QSignalSpy spy(&f.grid, &TStringAlignGrid::rowDoubleClicked);
        QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.cellCentre(6, 0));
        QCOMPARE(spy.count(), 0);
        QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.cellCentre(2, 0));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
    }

    void mouseDownReportsGridPositions() {
        Fixture f;
        QSignalSpy spy(&f.grid, &TStringAlignGrid::mouseDown);
        QWidget *header = f.grid.horizontalHeader()->viewport();
        QTest::mousePress(header, Qt::RightButton, {}, QPoint(10, 5));
        QTest::mouseRelease(header, Qt::RightButton, {}, QPoint(10, 5));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        const QPoint inHeader = spy.at(0).at(1).toPoint();
        QVERIFY2(inHeader.y() <= 15, qPrintable(QString::number(inHeader.y())));
        QTest::mousePress(f.grid.viewport(), Qt::LeftButton, {}, f.cellCentre(3, 0));
        QCOMPARE(spy.count(), 2);
        QVERIFY(spy.at(1).at(1).toPoint().y() > 15 + 15);
    }

    void notEditableUnlessAsked() {
        Fixture f;
        f.grid.setCellText(1, 0, QStringLiteral("x"));
        QVERIFY(!(f.grid.item(0, 0)->flags() & Qt::ItemIsEditable));
        f.grid.setEditable(true);
        QVERIFY(f.grid.item(0, 0)->flags() & Qt::ItemIsEditable);
    }

    void exportsTheWidgetCells() {
        TStringAlignGrid grid;
        grid.setFixedRows(1);
        grid.setRows(3);
        grid.setCols(2);
        grid.setCellText(0, 0, QStringLiteral("Tag"));
        grid.setCellText(0, 1, QStringLiteral("Qualität"));
        grid.setCellText(1, 0, QStringLiteral("01"));
        grid.setCellText(2, 1, QStringLiteral("5"));
        grid.setColumnAlignment(1, TMyAlign::alRight);
        QCOMPARE(grid.exportText(QLatin1Char(';')), QStringLiteral("Tag;Qualität;\r\n01;;\r\n;5;\r\n"));
        QCOMPARE(grid.exportText(QLatin1Char(';'), 1, 2, 1, 1), QStringLiteral(";\r\n5;\r\n"));
        const QString html = grid.exportHtml(QStringLiteral("Tarvo Daten"));
        QVERIFY(html.startsWith(QStringLiteral("<table bgcolor=#FFFFFF caption=\"Tarvo Daten\">\r\n")));
        QVERIFY(html.contains(QStringLiteral("  <th align=right>\r\nQualit&auml;t\r\n  </th>\r\n")));
        QVERIFY(html.contains(QStringLiteral("  <td align=right>\r\n5\r\n  </td>\r\n")));
        QCOMPARE(html.count(QStringLiteral("<th")), 2);
        QCOMPARE(html.count(QStringLiteral("<td")), 4);
    }
};

QTEST_MAIN(TestStringAlignGrid)
#include "test_string_align_grid.moc"

#pragma once

#include "grid_export.h"

#include <QColor>
#include <QFont>
#include <QTableWidget>
#include <optional>
#include <vector>

// A string grid with per-column and per-cell alignment, colours and fonts,
// whole-row selection that refuses chosen rows, and export of its cells as
// separated text and as an HTML table.
//
// Rows are counted as the grid shows them: the first fixedRows() rows (0 or 1)
// are the fixed title row, drawn by the horizontal header so that it stays in
// place; rows from fixedRows() on are the body. All row arguments use this
// numbering, all coordinates are (row, col).
class TStringAlignGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringAlignGrid(QWidget *parent = nullptr);

    void setRows(int rows);
    int rows() const { return fixedRows_ + rowCount(); }
    void setCols(int cols);
    int cols() const { return columnCount(); }
    void setFixedRows(int fixedRows); // 0 or 1
    int fixedRows() const { return fixedRows_; }

    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString &text);
    // Empties every body cell (the fixed row keeps its titles).
    void clearBodyTexts();

    void setDefaultRowHeight(int height);
    int defaultRowHeight() const { return rowHeight_; }
    void setDefaultColWidth(int width);
    void setColWidth(int col, int width) { setColumnWidth(col, width); }
    int colWidth(int col) const { return columnWidth(col); }

    // Alignment: a cell's own, else its column's, else the grid default (left).
    void setColumnAlignment(int col, TMyAlign align);
    TMyAlign columnAlignment(int col) const;
    void setCellAlignment(int row, int col, TMyAlign align);
    void clearCellAlignment(int row, int col);
    TMyAlign cellAlignment(int row, int col) const; // effective

    // Colours: the grid colour is the background of every cell without a colour of its own.
    void setColor(const QColor &color);
    QColor color() const { return color_; }
    void setColumnColor(int col, const QColor &color);
    void setCellColor(int row, int col, const QColor &color);
    QColor cellColor(int row, int col) const; // effective

    // Fonts: the grid's font unless a column or cell has one of its own.
    void setColumnFont(int col, const QFont &font);
    void setCellFont(int row, int col, const QFont &font);
    QFont cellFont(int row, int col) const; // effective
    // Font size of the fixed (title) row in points.
    void setFixedFontSize(int pointSize);

    void setEditable(bool editable);

    // Row selection. Refused rows can be neither clicked nor reached by keys.
    void setRowSelectable(int row, bool selectable);
    bool rowSelectable(int row) const;
    // Only the body rows first..last can be selected.
    void setSelectableRows(int first, int last);
    int selectedRow() const; // -1 when none
    // Selects the whole row; false (and no change) when the row is refused.
    bool setSelectedRow(int row);

    // Exports.
    void setHtmlBorder(int border) { htmlBorder_ = border; }
    TGridTable exportTable() const;
    QString exportText(QChar separator, int firstRow, int lastRow, int firstCol, int lastCol) const;
    QString exportText(QChar separator) const;
    QString exportHtml(const QString &caption) const;

signals:
    // A mouse button went down; the position is relative to the grid's top left.
    void mouseDown(Qt::MouseButton button, QPoint pos);
    // Double click on a selectable body row.
    void rowDoubleClicked(int row);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyboardSearch(const QString &) override {}

private:
    struct ColumnLook {
        TMyAlign align = TMyAlign::alDefault;
        std::optional<QColor> color;
        std::optional<QFont> font;
    };

    QTableWidgetItem *itemAt(int row, int col) const;
    QTableWidgetItem *ensureItem(int row, int col);
    void ensureItems();
    void applyLook(int row, int col);
    void applyColumnLook(int col);
    bool bodyRowAllowed(int qtRow) const;

    int fixedRows_ = 1;
    int rowHeight_ = 15;
    bool editable_ = false;
    QColor color_ = Qt::white;
    int htmlBorder_ = -1;
    std::vector<ColumnLook> columns_;
    std::vector<bool> refused_; // by body row (Qt row)
};

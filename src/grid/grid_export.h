#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Cell alignment of the string grid; the numbers are those stored in AEF.CFG.
enum class TMyAlign : std::uint8_t { alRight = 0, alLeft = 1, alCenter = 2, alDefault = 3 };

// Maps a stored alignment byte to TMyAlign; unknown values become alDefault.
TMyAlign AlignFromByte(std::uint8_t value);

// A font of a cell's own, as the HTML export writes it.
struct TExportFont {
    QString Face;
    int PointSize = 8;
    std::uint32_t Color = 0x000000; // 0xRRGGBB
    bool Bold = false;
    bool Italic = false;
    bool StrikeOut = false;
    bool Underline = false;
};

struct TExportCell {
    QString Text;
    TMyAlign Align = TMyAlign::alDefault;
    std::optional<std::uint32_t> Color; // 0xRRGGBB, only when the cell has a colour of its own
    std::optional<TExportFont> Font;    // only when the cell has a font of its own
};

// The texts and looks of a grid, independent of any window.
struct TGridTable {
    int Rows = 0;
    int Cols = 0;
    int FixedRows = 0;
    int FixedCols = 0;
    std::uint32_t GridColor = 0xFFFFFF; // 0xRRGGBB
    int Border = -1;                    // HTML border attribute; below 0: none
    std::vector<TExportCell> Cells;     // row by row

    TGridTable() = default;
    TGridTable(int rows, int cols) : Rows(rows), Cols(cols), Cells(static_cast<size_t>(rows * cols)) {}
    TExportCell &cell(int row, int col) { return Cells[static_cast<size_t>(row * Cols + col)]; }
    const TExportCell &cell(int row, int col) const { return Cells[static_cast<size_t>(row * Cols + col)]; }
};

// Separated text of the cell range (inclusive; out-of-range bounds are
// clamped): every cell's text followed by the separator, also after the last
// cell of a row, then CR LF. No quoting.
QString ExportSeparatedText(const TGridTable &table, QChar separator, int firstRow, int lastRow, int firstCol,
                            int lastCol);
// The whole table.
QString ExportSeparatedText(const TGridTable &table, QChar separator);

// The whole table as an HTML table with the caption (omitted when empty), as
// the table's caption attribute and as a caption element with the title as
// a heading.
QString ExportHtmlTable(const TGridTable &table, const QString &caption);

// Text with HTML special characters (and every character outside ASCII)
// written as entities, so the file reads the same in any encoding.
QString HtmlEntities(const QString &text);

// "RRGGBB" in upper-case hexadecimal.
QString HtmlColor(std::uint32_t rgb);

#pragma once

#include "storage/month_summary.h"

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

constexpr int kCurveCount = 24;

// One of the 24 curves of the graphic evaluation. Index = Tag - 1 = colour
// index in the profile's Farbe.
struct TCurveInfo {
    int tag;
    const char *button;     // objectName of the tool button
    const char *caption;    // button caption (UTF-8)
    const char *legendText; // text of its legend cell (UTF-8)
    const char *readOutLabel;
    double TMonthSummary::*field;
    double scale; // plotted value = field * scale
};

const std::array<TCurveInfo, kCurveCount> &Curves();

// Legend cell of a colour index: column index % 12, row index / 12.
inline int LegendColumn(int index) {
    return index % 12;
}
inline int LegendRow(int index) {
    return index / 12;
}
inline int LegendIndex(int column, int row) {
    return column + 12 * row;
}

// Curve indexes (Tag - 1) in the order of the two tool-bar rows and of the read-out.
const std::array<int, 13> &ToolBarRow1();
const std::array<int, 11> &ToolBarRow2();
const std::array<int, kCurveCount> &ReadOutOrder();

// Colours are stored as 0x00BBGGRR (red in the lowest byte).
QColor ColourFromFarbe(std::int32_t farbe);
std::int32_t FarbeFromColour(const QColor &colour);

using TCurveSwitches = std::array<bool, kCurveCount>;

#pragma once

#include "storage/month_summary.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

constexpr int kCurveCount = 24;

// Where a curve's values come from, which decides the months it is drawn for.
enum class TCurveKind {
    OwnMean,  // a monthly mean of the observer: drawn where the month has values
    Smoothed, // a smoothed Re: drawn where every month of its window has Re values
    Imported, // a reference series: drawn from its first to its last non-zero month
};

// One of the 24 curves of the graphic evaluation. Index = Tag - 1 = colour
// index in the profile's Farbe.
struct TCurveInfo {
    int tag;
    const char *button;     // objectName of the tool button
    const char *caption;    // button caption (UTF-8)
    const char *legendText; // text of its legend cell (UTF-8)
    const char *readOutLabel;
    double TMonthSummary::*field;
    double scale;     // plotted value = field * scale
    const char *name; // name on the command line and in beob.ini
    TCurveKind kind;
    int countIndex;      // OwnMean: the day count in TMonthSummary::Counts
    int halfWindow;      // Smoothed: months on each side of the centre
    bool relativeNumber; // a sunspot relative number (the plot's title says so)
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
using TCurveColours = std::array<QColor, kCurveCount>;

// The curve of a name ("re", "r13", "sidcm", …; any case; the button caption
// in lower case without blanks is understood too).
std::optional<int> CurveByName(const QString &name);
// Switches from a list of names; the unknown names go to `unknown`.
TCurveSwitches CurvesFromNames(const QStringList &names, QStringList *unknown = nullptr);
// Names of the switched-on curves in Tag order.
QStringList CurveNames(const TCurveSwitches &shown);
// The curves shown when nothing else is asked for: Re, R13, SIDC, SIDC M.
TCurveSwitches DefaultCurves();

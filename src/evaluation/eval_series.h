#pragma once

#include "curve_table.h"
#include "storage/archive.h"

#include <QList>
#include <QString>
#include <QVector>
#include <array>
#include <functional>

// The monthly values of the graphic evaluation over a span of years and the
// months each curve is drawn for. No pixels: the picture is made from this by
// EvaluationPlot (eval_plot.h).

// Reads the 12 summaries of a year; throws TarvoError when it cannot.
using TYearReader = std::function<TYearSummaries(int year)>;
// The reader over the evaluation archive.
TYearSummaries ReadArchiveYear(int year);

struct TEvalRange {
    int endYear = 0;   // E: the span ends before January of E
    int years = 15;    // N
    int todayYear = 0; // the curves end with this month
    int todayMonth = 0;
};

// Point k: 0 is December before the span, 1 January of its first year, and so
// on up to December before E or today's month, whichever comes first.
struct TEvalData {
    int firstYear = 0; // E - N
    int endYear = 0;
    int years = 0;
    std::array<QVector<double>, kCurveCount> values; // stored values, not scaled
    std::array<QVector<bool>, kCurveCount> drawn;    // whether the point is drawn

    int pointCount() const { return values[0].size(); }
    int yearOfPoint(int k) const { return firstYear + (k + 11) / 12 - 1; }
    int monthOfPoint(int k) const { return (k + 11) % 12 + 1; }
    // The middle of point k's month in decimal years.
    double timeOfPoint(int k) const { return firstYear + (k - 0.5) / 12.0; }
    // The point whose month holds the time t (decimal years); may lie outside the points.
    int pointAtTime(double t) const;
    // The last year with a point in the span.
    int lastYearShown() const;
    // Whether the curve has a drawn point within the span (point 0 lies before it).
    bool drawnInSpan(int curve) const;
};

// Reads the years E - N - 1 .. E (never past today) and decides for every
// curve which months are drawn: an own monthly mean where the month's count
// of that field is not 0; a smoothed Re (R13, P17, P9) where every month of
// its window has Re values; an imported series from its first to its last
// non-zero month among the months read.
TEvalData ComputeEvalData(const TEvalRange &range, const TYearReader &read);

struct TReadOutLine {
    int curve;
    QString label; // "Re:"
    QString value; // "123,4" or "keine Daten"
    bool hasData;
};

struct TReadOut {
    QString heading; // "Juni 1999"; empty outside the span
    QVector<TReadOutLine> lines;
    // Heading and lines, one per line ("Re:123,4").
    QString text() const;
};

// What the mouse read-out shows for point k: one line per shown curve in the
// read-out order; a month after today gets the single answer that the future
// is unknown.
TReadOut ReadOutAt(const TEvalData &data, int k, const TCurveSwitches &shown, int todayYear, int todayMonth);

// German month name, 1 = "Januar".
QString GermanMonthName(int month);

struct TEvalSpan {
    int endYear;
    int years;
};
// The span an observer sees first: the last 15 years with own data, or all of
// them when there are fewer; without own data the 15 years up to today.
TEvalSpan DefaultEvalSpan(const QList<int> &yearsWithData, int todayYear);
// The years of the current observer's year files that hold an observed value.
QList<int> YearsWithOwnData(const TYearReader &read);

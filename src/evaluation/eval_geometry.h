#pragma once

#include "curve_table.h"
#include "storage/archive.h"

#include <QPoint>
#include <QString>
#include <QVector>
#include <array>
#include <functional>

// What a full drawing pass needs to know.
struct TEvalParams {
    int endYear = 0;         // E: the span ends before January of E
    int years = 15;          // N
    int factor = 1;          // F: pixels per value unit
    int timeAxisWidth = 0;   // width of the time axis box
    int valueAxisWidth = 30; // width of the value axis box
    int curveHeight = 0;     // H: height of the curve box
    int todayYear = 0;       // the curves end with this month
    int todayMonth = 0;
};

struct TEvalLine {
    int x1, y1, x2, y2;
    bool operator==(const TEvalLine &) const = default;
};

// A text with its left edge at x and its top at y.
struct TEvalText {
    int x, y;
    QString text;
    bool operator==(const TEvalText &) const = default;
};

// The result of a full drawing pass: pixel points of every curve (curve box
// coordinates), the stored monthly values behind them, the time axis.
struct TEvalGeometry {
    int firstYear = 0; // Y0 = E - N
    int monthStep = 0; // s, pixels per month
    int years = 0;
    int endYear = 0;
    std::array<QVector<QPoint>, kCurveCount> points;
    std::array<QVector<double>, kCurveCount> values; // field values, not scaled
    QVector<TEvalLine> ticks;                        // time axis box coordinates
    QVector<TEvalText> yearTexts;

    int pointCount() const { return points[0].size(); }
    // Year and month of point k (point 0 is December of the year before the span).
    int yearOfPoint(int k) const { return k == 0 ? firstYear - 1 : firstYear + (k - 1) / 12; }
    int monthOfPoint(int k) const { return k == 0 ? 12 : (k - 1) % 12 + 1; }
};

// Reads the 12 summaries of a year; throws TarvoError when it cannot.
using TYearReader = std::function<TYearSummaries(int year)>;
// The reader over the evaluation archive.
TYearSummaries ReadArchiveYear(int year);

// nint: rounded to the nearest integer, halves to even.
int RoundHalfEven(double value);

// Month step s = (time axis width - value axis width - 1) / (N * 12), never negative.
int MonthStep(int timeAxisWidth, int valueAxisWidth, int years);

// Whether the year text of `year` is written at month step s.
bool YearTextShown(int year, int monthStep);

// The full drawing pass: reads years Y0 - 1 .. E - 1 and computes the points,
// ticks and year texts; the curves end with today's month when the span
// reaches it.
TEvalGeometry ComputeEvaluation(const TEvalParams &params, const TYearReader &read);

// Value axis (a box `width` x `height`): ticks every 10 units and the texts
// 100 .. 400 centred on their ticks for a font of `fontHeight` pixels.
QVector<TEvalLine> ValueAxisTicks(int width, int height, int factor);
QVector<TEvalText> ValueAxisTexts(int width, int height, int factor, int fontHeight);

// The tooltip for the mouse at x in the curve box: the month under the mouse
// and the stored value of every shown curve (one decimal, decimal comma).
// Lines are separated by '\n'. Empty when the month step is 0.
QString ReadOutText(const TEvalGeometry &geometry, int mouseX, int todayYear, int todayMonth,
                    const TCurveSwitches &shown);

// German month name, 1 = "Januar".
QString GermanMonthName(int month);

#pragma once

#include <QString>
#include <QVector>

// Tick arithmetic of a plot axis, in data units; no pixels.

// The smallest step of 1, 2, 2.5 or 5 times a power of ten that is at least
// `rough` (a positive number).
double NiceStep(double rough);

// The value axis top: the largest value rounded up to a multiple of the nice
// step that splits 0..value into at most `maxIntervals` parts.
double NiceCeiling(double value, int maxIntervals);

struct TAxisTicks {
    double step = 1;
    int decimals = 0; // decimals the labels need for this step
    QVector<double> values;
};

// Multiples of a nice step within [min, max], at most maxIntervals + 1 of them.
TAxisTicks NumericTicks(double min, double max, int maxIntervals);

// A tick label with the German decimal comma, e.g. "2,5".
QString TickLabel(double value, int decimals);

// Short German month names for a time axis, 1 = "Jan"; and their first letters.
QString MonthAbbreviation(int month);
QString MonthLetter(int month);

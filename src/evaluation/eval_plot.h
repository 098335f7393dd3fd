#pragma once

#include "eval_series.h"
#include "plot/plot.h"
#include "storage/profile.h"

// The graphic evaluation as a plot: title with the observer and the span,
// the shown curves in their colours (monthly means thin, smoothed ones
// thick), value and time axes, and the SILSO attribution when a SIDC series
// is drawn.

struct TEvalFigure {
    TCurveSwitches shown{};
    TCurveColours colours{};
    QString observerName; // the subtitle names the observer
    int factor = 1;       // zoom of the value axis
};

TPlot EvaluationPlot(const TEvalData &data, const TEvalFigure &figure);

// "Relativzahlen 1995–2005" (or "Monatsmittel …" when no relative number is shown).
QString EvaluationTitle(const TEvalData &data, const TCurveSwitches &shown);
// The observer as named in pictures: Name2, else the short name.
QString ObserverDisplayName(const TObserverProfile &profile);
// The curve colours of a profile.
TCurveColours CurveColours(const TObserverProfile &profile);
// The line under every picture that shows SILSO's numbers.
QString SilsoPlotAttribution();

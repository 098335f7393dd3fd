#pragma once

// Shared steps of the evaluation window's tests.

#include "evaluation/auswert_dlg.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

// Shows the window for the profile with the curves ending in `today`'s month.
inline bool ShowEvaluation(TAuswDlg &dlg, const TObserverProfile &profile, QDate today, QSize size) {
    dlg.setProfile(profile);
    dlg.setToday(today);
    dlg.resize(size);
    dlg.show();
    return QTest::qWaitForWindowExposed(&dlg);
}

inline void MoveMouse(QWidget *widget, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The point in the figure box over the month k, halfway up the plot.
inline QPointF OverMonth(const TAuswDlg &dlg, int k) {
    const TPlotLayout &layout = dlg.plotLayout();
    return {layout.toPixel({dlg.evalData().timeOfPoint(k), 0}).x(), layout.plotRect.center().y()};
}

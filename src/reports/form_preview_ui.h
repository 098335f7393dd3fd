#pragma once

#include "storage/month_totals.h"
#include "storage/day_record.h"
#include "storage/profile.h"

class QWidget;

// Entry points of the month table: hand over the shown month and open the
// form's print preview. They return when the preview is closed. The year
// should be saved before, so that the paper matches the file.
void ShowSob01Preview(QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals);
void ShowSob09Preview(QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals);

#pragma once

#include "storage/day_record.h"
#include "storage/month_totals.h"
#include "storage/profile.h"

class DialogSlotTable;
class QWidget;

// Entry points of the month table: hand over the shown month and open the
// form's print preview. They return when the preview is closed. The year
// should be saved before, so that the paper matches the file. The form is
// kept in its slot (SlotSOB01, SlotSOB09) of `slotTable` for later previews. A
// month outside 1..12 is shown as an error message.
void ShowSob01Preview(DialogSlotTable &slotTable, QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals);
void ShowSob09Preview(DialogSlotTable &slotTable, QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals);

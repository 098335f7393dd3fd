#pragma once

#include "storage/day_record.h"

// Changes of the year buffer made by the month table.

// Sets the day's record to 135 zero bytes.
void ClearDay(TYearBuffer &year, int month, int day);

// Empties the month's dispatch status string: the month counts as not yet
// sent to any network.
void ClearDispatchStatus(TYearBuffer &year, int month);

// Prepares day `day` for the next-day loop: when the day has no observation
// yet, the previous day's record (time and remark included) is copied into
// it as a template. Returns the day's former record for undo.
TDayRecord ApplyNextDayTemplate(TYearBuffer &year, int month, int day);

// Throws TarvoError with the German message when a month cannot be moved to
// `target`: outside 1..12, or the month itself.
void CheckShiftTarget(int source, int target);

// Moves the whole block of `source` (header included) to `target` and leaves
// `source` as zero bytes. The target's former contents are overwritten.
// Throws (and moves nothing) when CheckShiftTarget refuses.
void ShiftMonth(TYearBuffer &year, int source, int target);

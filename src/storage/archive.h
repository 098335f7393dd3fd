#pragma once

#include "day_record.h"
#include "month_summary.h"

#include <QString>
#include <array>

using TYearSummaries = std::array<TMonthSummary, 12>;

// First year of the 50-year archive that holds `year`.
int ArchiveFirstYear(int year);
// Current observer directory + archive file name, e.g. "0001/20002049.asw".
QString ArchiveFileName(int year);
bool ArchiveExists(int year);
// Creates the archive `name` (relative to DataPath) with 600 empty records.
void CreateArchive(const QString &name);

// Aggregates one month of the year buffer into the summary: means and counts
// only; stamps, smoothed values and imported series stay as they are. A month
// outside 1..12 (a damaged record) leaves the summary unchanged.
void AggregateMonth(int month, int year, TYearBuffer &buffer, TMonthSummary &summary);

// Brings the archive `name` up to date: re-aggregates every year whose year
// data file changed since its last aggregation and recomputes the smoothed
// values. Throws TarvoError when the archive cannot be read or written.
void RefreshArchive(const QString &name);

// Archive name for the year, refreshed when it differs from the cache.
QString ArchiveNameFor(int year);

// The 12 summaries of the year (after a refresh); false when the archive
// cannot be read or the year is negative.
bool LoadYearSummaries(int year, TYearSummaries &summaries);
// Replaces the 12 summaries of the year; false when the archive cannot be
// read or written (the file is then unchanged).
bool SaveYearSummaries(int year, const TYearSummaries &summaries);

// The smoothing weight w(i, n) = (1 - (|i|/n)^2)^3, each step rounded to double.
double SmoothingWeight(int i, int n);

#pragma once

#include "import_report.h"
#include "import_values.h"
#include "storage/archive.h"

#include <QString>
#include <functional>

// Stores the numbers of `year` into its 12 summaries. Months the file does
// not hold, and fields it gives no number for, keep what they had.
void ApplyMonthValues(const TMonthValues &values, int year, TYearSummaries &summaries);

// Reads the 12 archive summaries of every year from `firstYear` to
// `lastYear`, lets `update` change each month and writes the year back.
// Throws TarvoError when an archive cannot be read or written; years written
// before stay written.
void UpdateArchiveYears(int firstYear, int lastYear,
                        const std::function<void(int year, int month, TMonthSummary &summary)> &update);

// Writes the numbers into the current observer's archive, only the years
// that get one. Throws TarvoError with NothingToImportMessage before anything
// is written when there is nothing to import, and when an archive cannot be
// read or written (years written before stay written).
TImportReport WriteMonthValues(const QString &fileName, const TMonthValues &values);

#pragma once

#include "import_values.h"

#include <QString>
#include <vector>

// A run of months, as MonthKey.
struct TMonthSpan {
    int first;
    int last;
};

// What an import does to the archive, for the user.
struct TImportReport {
    int monthsWritten = 0;
    TMonthSpan written{-1, -1}; // first and last month written
    // Runs of months of the range that the file has no line for (left unchanged).
    std::vector<TMonthSpan> notInFile;
    // Months the file has a line for but no number (left unchanged).
    int withoutNumber = 0;
};
TImportReport MakeImportReport(const TMonthValues &values);

// "06/2005".
QString MonthText(int key);

// The report's lines: the months imported, the months left unchanged.
QString ImportReportText(const TImportReport &report);

// Why the file gives nothing to import (naming it), or empty when it does.
QString NothingToImportMessage(const QString &fileName, const TMonthValues &values);

// The import's closing message: `done` ("Die SIDC Daten sind jetzt
// importiert"), then the report's lines.
QString ImportDoneMessage(const QString &done, const TImportReport &report);

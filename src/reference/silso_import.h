#pragma once

#include <QDate>
#include <QString>

// The import of SILSO's daily and hemispheric files into the reference store,
// as the import dialog and tarvo-cli run it.

enum class TSilsoSeries { Daily, Hemispheric };

// What an import put into the store, for the user.
struct TSilsoImportSummary {
    TSilsoSeries series = TSilsoSeries::Daily;
    QDate first; // first and last day the file holds (of a month: its first day)
    QDate last;
    int values = 0;       // days (months) with a number
    int withoutValue = 0; // days (months) the file gives no number for (stored as none)
    int provisional = 0;  // of the values, those SILSO marks provisional
};

// Reads the file and puts its days (months) into the store, replacing the
// ones stored for the same days (months) and keeping all others. Throws
// TarvoError, naming the file and writing nothing, when the file cannot be
// read, is of another kind, holds a line that is not one of the series, or
// holds no number at all; and when the store cannot be read or written.
TSilsoImportSummary ImportSilsoDaily(const QString &fileName);
TSilsoImportSummary ImportSilsoHemispheric(const QString &fileName);

// "Die SILSO-Tageszahlen sind jetzt gespeichert", then the first and last
// date imported and the number of values (and what had no number).
QString SilsoImportDoneMessage(const TSilsoImportSummary &summary);

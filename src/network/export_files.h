#pragma once

#include "month/month_document.h"
#include "storage/profile.h"

#include <QByteArray>
#include <QString>

// The five export types, numbered as the export dialog's radio group.
enum ExportType : int {
    ExportCsv = 0,    // the month table's cells, ';'-separated (replaces the file)
    ExportHtml = 1,   // the month table as an HTML table (replaces the file)
    ExportRezahl = 2, // relative-number lines (appended)
    ExportAzahl = 3,  // header line + A-number lines (appended)
    ExportFzahl = 4,  // faculae lines (appended)
};
constexpr int kExportTypeCount = 5;

// "Rezahl.dat", "Azahl.dat", "Fzahl.dat"; empty for the grid exports.
QString ProposedExportName(int type);
// The file mask of the type's filter: "*.csv", "*.html" or "*.dat".
QString ExportMask(int type);

// What an export writes: the month as its document holds it, and the
// observer. The month table and tarvo-cli both export through here.
struct TExportSource {
    const TObserverProfile *profile = nullptr;
    const TMonthDocument *month = nullptr;
};

// The bytes of an export of `type`: the month table (in the column layout of
// the storage state, means with the default locale's decimal separator) as
// ';'-separated text or HTML, or the month's network lines of one kind.
// Throws TarvoError for an unknown type or a source without a month.
QByteArray ExportBytes(int type, const TExportSource &source);

// Writes the export of `type` to `fileName`: the grid exports replace the
// file, the line exports append to it. Throws TarvoError with the German
// message (ExportTargetProblem: a name that is still a mask, a folder, one of
// the program's own files; a missing directory, a failed write) and then
// writes nothing; a failed write leaves the file as it was.
void WriteExportFile(int type, const QString &fileName, const TExportSource &source);

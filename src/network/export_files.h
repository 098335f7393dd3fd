#pragma once

#include "storage/day_record.h"
#include "storage/profile.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The five export types, numbered as the export dialog's radio group.
enum ExportType : int {
    ExportCsv = 0,    // the month table's cells, ';'-separated (replaces the file)
    ExportHtml = 1,   // the month table as an HTML table (replaces the file)
    ExportRezahl = 2, // relative-number lines (appended)
    ExportAzahl = 3,  // header line + A-number lines (appended)
    ExportFzahl = 4,  // faculae lines (appended)
};
constexpr int kExportTypeCount = 5;

// Produces the bytes of a grid export (the month table connects its grid).
using TExportProducer = std::function<QByteArray()>;

// "Rezahl.dat", "Azahl.dat", "Fzahl.dat"; empty for the grid exports.
QString ProposedExportName(int type);
// The file mask of the type's filter: "*.csv", "*.html" or "*.dat".
QString ExportMask(int type);

// Everything an export needs from the month table.
struct TExportSource {
    const TObserverProfile *profile = nullptr;
    const TYearBuffer *year = nullptr;
    int yearNumber = 0;
    int month = 1;
    TExportProducer csv;
    TExportProducer html;
};

// Writes the export of `type` to `fileName`: the grid exports replace the
// file, the line exports append to it. Throws TarvoError with the German
// message (ExportTargetProblem: a name that is still a mask, a folder, one of
// the program's own files; a missing directory, a failed write) and then
// writes nothing; a failed write leaves the file as it was.
void WriteExportFile(int type, const QString &fileName, const TExportSource &source);

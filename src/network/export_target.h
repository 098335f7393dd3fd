#pragma once

#include <QString>

// Whether a file name is one of the program's own data or settings files: a
// year file SO<year>.DAT or .OLD, an archive *.asw, beob.ini, AEF.CFG,
// tarvo.ini or a reference series silso-daily.txt / silso-hem.txt (without
// regard to case).
bool IsProgramFileName(const QString &name);

// The file a write to `fileName` would change: links followed, "." and ".."
// and doubled separators resolved; for a file that does not exist yet, its
// folder resolved and the name kept.
QString ResolvedTargetPath(const QString &fileName);

// Why `fileName` cannot take an export, or empty when it can: a name that is
// still a mask, a folder, or one of the program's own files (compared by the
// resolved path, so a link or another spelling of it is caught as well).
QString ExportTargetProblem(const QString &fileName);

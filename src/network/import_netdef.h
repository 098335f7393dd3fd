#pragma once

#include "import_report.h"

#include <QString>

// Imports the network's definitive relative numbers (first line a header,
// year 1-4, month 5-6, value 9-15) into NetDef of the archive for the years
// firstYear..lastYear (ImportMonthlySeries: months the file does not hold
// keep what they had; throws TarvoError when there is nothing to import).
TImportReport ImportNetworkDefinitive(const QString &fileName, int firstYear, int lastYear);

// The numbers the file gives NetDef, in memory.
TMonthValues NetworkDefinitiveValues(const QByteArray &bytes, int firstYear, int lastYear);

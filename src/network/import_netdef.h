#pragma once

#include <QString>

// Imports the network's definitive relative numbers (first line a header,
// year 1-4, month 5-6, value 9-15) into NetDef of the archive for the years
// firstYear..lastYear. Returns the number of months found in the file.
int ImportNetworkDefinitive(const QString &fileName, int firstYear, int lastYear);

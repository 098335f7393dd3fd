#include "import_netdef.h"

#include "import_monthly.h"

int ImportNetworkDefinitive(const QString &fileName, int firstYear, int lastYear) {
    return ImportMonthlySeries(fileName, firstYear, lastYear, 1, {{9, 15, &TMonthSummary::NetDef}});
}

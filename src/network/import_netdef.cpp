#include "import_netdef.h"

#include "import_monthly.h"

namespace {
const QList<TImportTarget> kNetDefTargets = {{9, 15, &TMonthSummary::NetDef}};
constexpr int kNetDefHeaderLines = 1;
} // namespace

TImportReport ImportNetworkDefinitive(const QString &fileName, int firstYear, int lastYear) {
    return ImportMonthlySeries(fileName, firstYear, lastYear, kNetDefHeaderLines, kNetDefTargets);
}

TMonthValues NetworkDefinitiveValues(const QByteArray &bytes, int firstYear, int lastYear) {
    return MatchMonthlySeries(bytes, firstYear, lastYear, kNetDefHeaderLines, kNetDefTargets);
}

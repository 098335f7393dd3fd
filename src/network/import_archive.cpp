#include "import_archive.h"

#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <cstring>

namespace {

bool YearHasNumbers(const TMonthValues &values, int year) {
    const auto end = values.months.upper_bound(MonthKey(year, 12));
    for (auto it = values.months.lower_bound(MonthKey(year, 1)); it != end; ++it)
        if (!it->second.empty())
            return true;
    return false;
}

} // namespace

void ApplyMonthValues(const TMonthValues &values, int year, TYearSummaries &summaries) {
    const auto end = values.months.upper_bound(MonthKey(year, 12));
    for (auto it = values.months.lower_bound(MonthKey(year, 1)); it != end; ++it) {
        TMonthSummary &summary = summaries[it->first % 12];
        // The records are packed: a member pointer's field may be misaligned,
        // so it is copied bytewise.
        for (const TFieldValue &v : it->second)
            std::memcpy(&(summary.*v.field), &v.value, sizeof v.value);
    }
}

void UpdateArchiveYears(int firstYear, int lastYear,
                        const std::function<void(int year, int month, TMonthSummary &summary)> &update) {
    // Each year is read, changed and written under the observer's lock, so
    // that an import running at the same time in another process loses
    // nothing of this one and this one nothing of it.
    for (int year = firstYear; year <= lastYear; ++year)
        UpdateYearSummaries(year, [&](TYearSummaries &summaries) {
            for (int month = 1; month <= 12; ++month)
                update(year, month, summaries[month - 1]);
        });
}

TImportReport WriteMonthValues(const QString &fileName, const TMonthValues &values) {
    if (const QString nothing = NothingToImportMessage(fileName, values); !nothing.isEmpty())
        throw TarvoError(nothing);
    for (int year = values.firstYear; year <= values.lastYear; ++year)
        if (YearHasNumbers(values, year))
            UpdateYearSummaries(year,
                              [&](TYearSummaries &summaries) { ApplyMonthValues(values, year, summaries); });
    return MakeImportReport(values);
}

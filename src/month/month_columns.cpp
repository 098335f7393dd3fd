#include "month_columns.h"

#include <algorithm>

std::vector<TShownColumn> ShownColumns(const TColumnLayout &layout) {
    struct Entry {
        int kind;
        std::int32_t spalte;
    };
    std::vector<Entry> shown;
    for (int kind = 1; kind <= kHighestColumnIndex; ++kind)
        if (layout[kind].Sichtbar != 0)
            shown.push_back({kind, layout[kind].Spalte});
    std::stable_sort(shown.begin(), shown.end(),
                     [](const Entry &a, const Entry &b) { return a.spalte < b.spalte; });

    std::vector<TShownColumn> columns;
    columns.reserve(shown.size() + 1);
    auto describe = [&layout](int kind) {
        const TColumnSetting &s = layout[kind];
        TShownColumn c;
        c.Kind = kind;
        c.Title = s.Titel.text();
        const std::int32_t width = s.Spaltenbreite; // a copy: the packed field may be misaligned
        c.Width = width > 0 ? std::min(width, 2000) : 40;
        c.Ausr = s.Ausr;
        return c;
    };
    columns.push_back(describe(0)); // the day column is always first
    for (const Entry &e : shown)
        columns.push_back(describe(e.kind));
    return columns;
}

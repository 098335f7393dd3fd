#pragma once

#include "day_record.h"

#include <QString>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

// The one list of the day record's fields. tarvo-cli's year CSV, the month
// totals, the archive aggregation, the month table, the two forms and the
// entry dialog all go through it, so a field is named, placed and counted in
// exactly one place.

enum class TDayFieldKind : std::uint8_t {
    Text,   // string[N]: Bemerkung, Zeit, z_f, Po
    Mark,   // one byte shown as its value: Fl
    Number, // signed integer of Width bytes; -1 = not given
};

struct TDayField {
    const char *Name; // as in tarvo-cli's CSV header and the entry dialog's control
    std::uint8_t Offset;
    std::uint8_t Width; // bytes
    TDayFieldKind Kind;
    bool Counted; // summed and counted over the observed days of a month
};

// Every named field in record order (the reserved bytes left out).
inline constexpr std::array<TDayField, 31> kDayFields{{
    {"Bemerkung", 0, 16, TDayFieldKind::Text, false},
    {"Zeit", 16, 6, TDayFieldKind::Text, false},
    {"Ruhe", 22, 2, TDayFieldKind::Number, true},
    {"Schaerfe", 24, 2, TDayFieldKind::Number, true},
    {"Qualitaet", 26, 2, TDayFieldKind::Number, true},
    {"g_n", 28, 2, TDayFieldKind::Number, true},
    {"f_n", 30, 2, TDayFieldKind::Number, true},
    {"g_s", 32, 2, TDayFieldKind::Number, true},
    {"f_s", 34, 2, TDayFieldKind::Number, true},
    {"g", 36, 2, TDayFieldKind::Number, true},
    {"f", 38, 2, TDayFieldKind::Number, true},
    {"Re", 40, 2, TDayFieldKind::Number, true},
    {"Rs", 42, 4, TDayFieldKind::Number, true},
    {"p", 46, 2, TDayFieldKind::Number, true},
    {"s", 48, 2, TDayFieldKind::Number, true},
    {"SN", 50, 2, TDayFieldKind::Number, true},
    {"CV", 52, 2, TDayFieldKind::Number, true},
    {"A", 54, 1, TDayFieldKind::Number, true},
    {"Ab", 55, 1, TDayFieldKind::Number, true},
    {"Fo", 60, 2, TDayFieldKind::Number, true},
    {"Fm", 62, 2, TDayFieldKind::Number, true},
    {"FEF", 64, 2, TDayFieldKind::Number, true},
    {"FEP", 66, 2, TDayFieldKind::Number, true},
    {"pfn", 68, 2, TDayFieldKind::Number, true},
    {"pfs", 70, 2, TDayFieldKind::Number, true},
    {"z_f", 72, 6, TDayFieldKind::Text, false},
    {"Po", 78, 6, TDayFieldKind::Text, false},
    {"Fl", 84, 1, TDayFieldKind::Mark, false},
    {"LN", 85, 2, TDayFieldKind::Number, false},
    {"LS", 87, 2, TDayFieldKind::Number, false},
    {"LGES", 89, 2, TDayFieldKind::Number, false},
}};

// Index of a field in kDayFields; -1 for a name the record does not have.
constexpr int DayFieldIndex(std::string_view name) {
    for (std::size_t i = 0; i < kDayFields.size(); ++i)
        if (name == kDayFields[i].Name)
            return static_cast<int>(i);
    return -1;
}

// The counted fields, in the order of TMonthSummary::Counts and of the month
// totals: counted field k is kDayFields[kCountedFields[k]].
inline constexpr int kCountedFieldCount = 23;
inline constexpr std::array<int, kCountedFieldCount> kCountedFields = [] {
    std::array<int, kCountedFieldCount> counted{};
    std::size_t k = 0;
    for (std::size_t i = 0; i < kDayFields.size(); ++i)
        if (kDayFields[i].Counted)
            counted[k++] = static_cast<int>(i);
    return counted;
}();

// Position of a field among the counted ones; -1 when it is not counted.
constexpr int CountedFieldIndex(std::string_view name) {
    const int field = DayFieldIndex(name);
    for (int k = 0; k < kCountedFieldCount; ++k)
        if (kCountedFields[static_cast<std::size_t>(k)] == field)
            return k;
    return -1;
}

// The table agrees with the record's layout.
static_assert(kDayFields[DayFieldIndex("Ruhe")].Offset == offsetof(TDayRecord, Ruhe));
static_assert(kDayFields[DayFieldIndex("Rs")].Offset == offsetof(TDayRecord, Rs));
static_assert(kDayFields[DayFieldIndex("A")].Offset == offsetof(TDayRecord, A));
static_assert(kDayFields[DayFieldIndex("Fo")].Offset == offsetof(TDayRecord, Fo));
static_assert(kDayFields[DayFieldIndex("z_f")].Offset == offsetof(TDayRecord, z_f));
static_assert(kDayFields[DayFieldIndex("Fl")].Offset == offsetof(TDayRecord, Fl));
static_assert(kDayFields[DayFieldIndex("LGES")].Offset == offsetof(TDayRecord, LGES));
static_assert(kDayFields.back().Offset + kDayFields.back().Width == offsetof(TDayRecord, Reserved2));
static_assert(CountedFieldIndex("Re") == 9 && CountedFieldIndex("pfs") == 22 && CountedFieldIndex("LN") == -1);

// The value of a number field (or the Fl byte), sign-extended from its width.
// Inline: the month totals read 23 fields of every day of 50 years.
inline std::int32_t DayNumber(const TDayRecord &day, const TDayField &field) {
    const auto *at = reinterpret_cast<const unsigned char *>(&day) + field.Offset;
    switch (field.Width) {
    case 1:
        return field.Kind == TDayFieldKind::Mark ? static_cast<std::int32_t>(at[0])
                                                 : static_cast<std::int8_t>(at[0]);
    case 2: {
        std::int16_t v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    default: {
        std::int32_t v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    }
}
inline std::int32_t DayNumber(const TDayRecord &day, int field) {
    return DayNumber(day, kDayFields[static_cast<std::size_t>(field)]);
}

// Stores a number in the field's own width: a value beyond it wraps, as the
// record can hold nothing else.
inline void SetDayNumber(TDayRecord &day, const TDayField &field, std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value); // little-endian: the low bytes first
    std::memcpy(reinterpret_cast<unsigned char *>(&day) + field.Offset, &bits, field.Width);
}
inline void SetDayNumber(TDayRecord &day, int field, std::int64_t value) {
    SetDayNumber(day, kDayFields[static_cast<std::size_t>(field)], value);
}

// The text of a string field.
QString DayText(const TDayRecord &day, const TDayField &field);
void SetDayText(TDayRecord &day, const TDayField &field, const QString &text);

// Counted field k (0 = Ruhe ... 22 = pfs).
inline std::int32_t CountedField(const TDayRecord &day, int k) {
    return DayNumber(day, kCountedFields[static_cast<std::size_t>(k)]);
}
inline const char *CountedFieldName(int k) {
    return k >= 0 && k < kCountedFieldCount ? kDayFields[static_cast<std::size_t>(kCountedFields[k])].Name : "";
}

// Calls `f(k, value)` for every counted field k of the day, unrolled at
// compile time so that every read is a plain load.
template <class F> inline void ForEachCountedValue(const TDayRecord &day, F &&f) {
    [&]<std::size_t... K>(std::index_sequence<K...>) {
        (f(static_cast<int>(K), DayNumber(day, kDayFields[kCountedFields[K]])), ...);
    }(std::make_index_sequence<kCountedFieldCount>{});
}

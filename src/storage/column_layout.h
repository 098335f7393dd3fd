#pragma once

#include "pstring.h"

#include <array>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// One column of the month table, as stored in AEF.CFG.
struct TColumnSetting {
    std::int32_t Nr;            // the record's own index
    PString<20> Titel;          // column title
    std::uint8_t Sichtbar;      // 1 = shown in the month table
    std::int32_t Spalte;        // grid column when shown, list position when not
    std::int32_t Spaltenbreite; // width in pixels
    std::uint8_t Ausr;          // 0 right, 1 left, 2 centre, 3 grid default
    std::uint8_t Reserved[21];
};
#pragma pack(pop)

static_assert(sizeof(TColumnSetting) == 56);
static_assert(offsetof(TColumnSetting, Titel) == 4);
static_assert(offsetof(TColumnSetting, Sichtbar) == 25);
static_assert(offsetof(TColumnSetting, Spalte) == 26);
static_assert(offsetof(TColumnSetting, Spaltenbreite) == 30);
static_assert(offsetof(TColumnSetting, Ausr) == 34);
static_assert(offsetof(TColumnSetting, Reserved) == 35);

constexpr int kColumnSettingCount = 101;
constexpr int kHighestColumnIndex = 25;
constexpr int kColumnLayoutFileSize = kColumnSettingCount * static_cast<int>(sizeof(TColumnSetting)); // 5656
static_assert(kColumnLayoutFileSize == 5656);

using TColumnLayout = std::array<TColumnSetting, kColumnSettingCount>;

// Fills records 0..25 of the module's column layout with the defaults.
void ResetColumnLayout();
// Reads AEF.CFG of the current observer; throws TarvoError when it is missing
// or short (records read before the failure stay replaced).
void LoadColumnLayout();
// The layout the month table works with: AEF.CFG of the current observer, or
// the defaults when there is none or it cannot be read (never a half-read
// layout). Returns why it could not be read; empty when it was read or absent.
QString LoadColumnLayoutOrDefaults();
// Writes AEF.CFG of the current observer; throws TarvoError when that fails.
void SaveColumnLayout();

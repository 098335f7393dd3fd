#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The Beck relative number: each of the nine spot classes A..I weighted.
constexpr std::array<int, 9> kBeckWeights{4, 4, 8, 18, 25, 36, 50, 44, 37};
// The sum and the Beck number are handed on as unsigned 16-bit numbers.
constexpr std::int64_t kBeckMax = 65535;
// A spot total of 0xFFFF is the day's -1: not given.
constexpr std::uint16_t kSpotsNotGiven = 0xFFFF;

struct BeckTotals {
    std::int64_t sum = 0;  // number of spots of all classes
    std::int64_t beck = 0; // weighted total

    bool fits() const { return sum <= kBeckMax && beck <= kBeckMax; }
};

BeckTotals ComputeBeck(const std::array<std::int16_t, 9> &counts);

// True when the Wolf spot total is given and smaller than the class sum.
bool SpotsExceedWolf(std::uint16_t wolfSpots, std::int64_t sum);

// "Das sind mehr Flecken,\nals bei der Wolf´schen Relativzahl"
QString SpotsExceedWolfMessage();
// The refusal of counts whose sum or Beck number would exceed 65535.
QString BeckTooLargeMessage();

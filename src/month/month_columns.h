#pragma once

#include "storage/column_layout.h"

#include <QString>
#include <cstdint>
#include <vector>

// One column of the month table's grid.
struct TShownColumn {
    int Kind = 0; // layout index 0..25
    QString Title;
    int Width = 40; // pixels
    std::uint8_t Ausr = 3;
};

// The grid columns of a column layout, in grid order: the day column first,
// then the shown kinds 1..25 by their Spalte. A layout with gaps or repeated
// Spalte values (a damaged AEF.CFG) still gives one column per shown kind.
std::vector<TShownColumn> ShownColumns(const TColumnLayout &layout);

#pragma once

// Row the month table selects for a navigation key pressed without Ctrl on
// row `row` (1..daysInMonth): PageUp/PageDown jump ten days, Home/End go to
// the first/last day, Up on the first day wraps to the last and Down on the
// last day wraps to the first. Returns 0 for keys the table leaves to the
// grid (other keys, Up and Down elsewhere).
int NavigateRow(int key, int row, int daysInMonth);

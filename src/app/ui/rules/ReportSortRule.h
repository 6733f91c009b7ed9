#pragma once
// How the report list orders its rows and which way a header click sorts.

#include <string_view>

namespace ombrel {

// Cells that both hold a whole decimal number (optionally signed, surrounded by blanks) compare as numbers; all
// others compare as text, ASCII letters without regard to case, then byte by byte so the order is total.
// Returns <0, 0 or >0.
int CompareReportCells(std::string_view a, std::string_view b);

struct SortState {
    int column = -1;
    bool ascending = true;
};

// A click on `column`: ascending, unless the same column was sorted ascending the last time.
SortState NextSortState(const SortState& last, int column);

} // namespace ombrel

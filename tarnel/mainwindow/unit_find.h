#pragma once

#include <string>
#include <string_view>

#include "model/unit_grid_table.h"

namespace tarnel {

enum class FindDirection { Next, Previous };

// Windows-1252 text folded for a case-blind comparison: upper-case letters,
// accented ones included, become lower-case.
std::string foldCase1252(std::string_view text);

// The unit row after `from` (before it, for Previous) whose designation, name
// or leader cell holds `text`, ignoring case. The search wraps around the
// unit rows and ends at `from` itself, so a single match is found again.
// 0 when the text is empty or no unit row holds it. `from` may be 0 (no
// row): Next then starts at the first unit row, Previous at the last.
int findUnitRow(const UnitGridTable& grid, std::string_view text, int from, FindDirection direction);

}  // namespace tarnel

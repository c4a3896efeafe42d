#pragma once

#include <array>
#include <string>
#include <vector>

namespace tarnel {

class Session;

inline constexpr int kSummaryColumns = 5;
inline constexpr int kSummaryDefaultColWidth = 80;
extern const std::array<const char*, kSummaryColumns> kSummaryHeadings;
// Column 0 is twice the default width, the others the default.
int summaryColumnWidth(int col);

// One row of SummarySG: name, type number, "Form.", "Units", "Men".
using SummaryRow = std::array<std::string, kSummaryColumns>;

// What the "Battle Summary" window shows for one side. Names are the file's
// bytes (Windows-1252).
struct BattleSummary {
  std::string turnLine;     // TurnLbl
  std::string dateLine;     // DateLbl
  std::string countryLine;  // CountryLbl
  std::vector<SummaryRow> rows;  // the heading row, then one row per unit type
  std::string menLine;          // MenLbl
  std::string menKilledLine;    // MenKilledLbl
  std::string totalUnitsLine;   // TotalUnitsLbl
  std::string unitsKilledLine;  // UnitsKilledLbl
};

// The summary of side `side` (the side selector's index) from the model, the
// unit grid's rows and the side selector's item texts: that side's units
// grouped by unit type number, with units and men left out of those at start.
// VN2 files take the men at start from the side's MOB men table, which has
// no entry (0 men) for type numbers 250 to 255; when the side's MOB file could
// not be read at the last load, men at start and the men totals read "?".
BattleSummary summarizeBattle(const Session& session, int side);

}  // namespace tarnel

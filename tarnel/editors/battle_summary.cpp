#include "editors/battle_summary.h"

#include <algorithm>

#include "model/session.h"

namespace tarnel {

namespace {

constexpr int kUnitTypes = 256;

struct Group {
  std::string name;
  int count = 0;
  int alive = 0;
  int menNow = 0;
  int menStart = 0;
  int unitsStart = 0;
  int unitsLeft = 0;
};

std::string ratio(int left, int of) { return std::to_string(left) + "/" + std::to_string(of); }

}  // namespace

const std::array<const char*, kSummaryColumns> kSummaryHeadings = {"Unit Name", "Type #", "Form.",
                                                                   "Units", "Men"};

int summaryColumnWidth(int col) { return col == 0 ? 2 * kSummaryDefaultColWidth : kSummaryDefaultColWidth; }

BattleSummary summarizeBattle(const Session& session, int side) {
  const GameModel& m = session.model;
  const GenerationLayout& L = *m.layout;
  // Only VN3 records carry their own start and left counts.
  const bool vn3 = L.vn3Extra[0] != kNoUnitField;
  const UnitOffset unitsLeftField = L.vn3Extra[0];
  const UnitOffset unitsStartField = L.vn3Extra[1];
  const UnitOffset menStartField = L.vn3Extra[2];

  // A VN2 side whose MOB file could not be read has no men at start: its
  // rows and the men totals show "?" rather than losses that come out negative.
  const bool menStartKnown = vn3 || (side >= 0 && side <= 1 && session.mob.available[static_cast<std::size_t>(side)]);
  auto menStartText = [&](int men) { return menStartKnown ? std::to_string(men) : std::string("?"); };

  BattleSummary s;
  const std::int64_t g = m.gameDataOffset();
  s.dateLine = "Date: " + ratio(m.byteAt(g + gamedata::kMonth), m.byteAt(g + gamedata::kYear));
  s.turnLine = "Turns: " + ratio(m.byteAt(g + gamedata::kTurn), m.byteAt(g + gamedata::kMaxTurns));

  // The units of the grid's rows; before the first load the grid's empty
  // rows stand for no unit.
  const int units = std::clamp(std::min(session.grid.rowCount() - 1, m.unitCount), 0, kUnitCapacity);
  std::array<Group, kUnitTypes> groups;
  for (int i = 0; i < units; ++i) {
    if (m.unitByte(i, L.side) != side) continue;
    const int type = m.unitByte(i, L.unitType);
    Group& group = groups[static_cast<std::size_t>(type)];
    if (group.count == 0) group.name = m.unitName(i);
    ++group.count;
    const int men = m.unitByte(i, L.men);
    if (vn3) {
      group.unitsStart += m.unitByte(i, unitsStartField);
      group.unitsLeft += m.unitByte(i, unitsLeftField);
      group.menStart += m.unitByte(i, menStartField);
    } else {
      group.menStart += session.mob.menOf(side, type);
    }
    group.menNow += men;
    if (men != 0) ++group.alive;
  }

  int unitsStart = 0, unitsLeft = 0, menStart = 0, menNow = 0;
  s.rows.push_back({kSummaryHeadings[0], kSummaryHeadings[1], kSummaryHeadings[2], kSummaryHeadings[3],
                    kSummaryHeadings[4]});
  for (int u = 0; u < kUnitTypes; ++u) {
    Group& group = groups[static_cast<std::size_t>(u)];
    if (group.count == 0) continue;
    if (!vn3) {
      group.unitsStart = group.count;
      group.unitsLeft = group.alive;
    }
    s.rows.push_back({group.name, std::to_string(u), ratio(group.alive, group.count),
                      ratio(group.unitsLeft, group.unitsStart),
                      std::to_string(group.menNow) + "/" + menStartText(group.menStart)});
    unitsStart += group.unitsStart;
    unitsLeft += group.unitsLeft;
    menStart += group.menStart;
    menNow += group.menNow;
  }

  // Without a unit of the side the totals are 0 whatever the MOB file.
  const bool anyUnit = s.rows.size() > 1;
  s.menLine = "Men  " + (anyUnit ? menStartText(menStart) : "0");
  s.menKilledLine = "Men Killed  " + (anyUnit ? menStartText(menStart - menNow) : "0");
  s.totalUnitsLine = "Total Units  " + std::to_string(unitsStart);
  s.unitsKilledLine = "Units Killed  " + std::to_string(unitsStart - unitsLeft);
  s.countryLine = session.sideItems[0] + " vs. " + session.sideItems[1];
  return s;
}

}  // namespace tarnel

#include "editors/battle_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_sample.h"
#include "mainwindow/unit_grid.h"
#include "model/session.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

using Rows = std::vector<SummaryRow>;
using Lines = std::vector<std::string>;
const SummaryRow kHeadings = {"Unit Name", "Type #", "Form.", "Units", "Men"};

// A unit as the summary reads it; left and start bytes exist in VN3 records only.
struct Unit {
  const char* name;
  int side, type, men, unitsLeft = 0, unitsStart = 0, menStart = 0;
};

class BattleSummaryTest : public ::testing::Test {
 protected:
  testing::ScriptedPrompts prompts;
  Session session{prompts};

  // A sample game of `kind` holding `units` only.
  void load(GameFileKind kind, const std::vector<Unit>& units) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 3;
    GameModel& m = session.model = samplegen::makeGameModel(o);
    const GenerationLayout& L = *m.layout;
    for (int i = 0; i < 6; ++i) m.setUnitByte(i, L.name, 0);
    for (int i = 0; i < static_cast<int>(units.size()); ++i) {
      const Unit& u = units[static_cast<std::size_t>(i)];
      const std::string name = std::string(u.name) + '\0';
      for (std::size_t k = 0; k < name.size(); ++k) m.setUnitByte(i, L.name + static_cast<int>(k), name[k]);
      const std::pair<UnitOffset, int> fields[] = {{L.side, u.side},         {L.unitType, u.type},
                                                   {L.men, u.men},           {L.nation, 82 - u.side},
                                                   {UnitOffset{216}, u.unitsLeft}, {UnitOffset{218}, u.unitsStart},
                                                   {UnitOffset{219}, u.menStart}};
      for (auto [field, v] : fields)
        if (offsetOf(field) < 216 || kind == GameFileKind::Vn3) m.setUnitByte(i, field, v);
    }
    fillGrid(session);
  }
  static Lines totals(const BattleSummary& s) {
    return {s.menLine, s.menKilledLine, s.totalUnitsLine, s.unitsKilledLine};
  }
};

const std::vector<Unit> kVn2Units = {{"Rifle A", 0, 5, 4}, {"Tank B", 1, 9, 3}, {"Rifle C", 0, 5, 0},
                                     {"Big D", 0, 250, 7}, {"Mortar E", 0, 2, 6}};

TEST_F(BattleSummaryTest, Vn2TakesMenAtStartFromTheMenTable) {
  load(GameFileKind::V11, kVn2Units);
  session.mob.men[0][2] = 8;
  session.mob.men[0][5] = 10;
  session.mob.men[0][249] = 99;  // the table's last entry; type 250 has none
  session.mob.available[0] = true;
  const BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ((Lines{s.turnLine, s.dateLine, s.countryLine}),
            (Lines{"Turns: 1/30", "Date: 6/84", "US Army vs. Soviet Union"}));
  // By type number, named after the group's first unit; "Units" equals "Form.".
  EXPECT_EQ(s.rows, (Rows{kHeadings,
                          {"Mortar E", "2", "1/1", "1/1", "6/8"},
                          {"Rifle A", "5", "1/2", "1/2", "4/20"},
                          {"Big D", "250", "1/1", "1/1", "7/0"}}));
  EXPECT_EQ(totals(s), (Lines{"Men  28", "Men Killed  11", "Total Units  4", "Units Killed  1"}));
  // The other side, whose MOB file could not be read, knows no men at start:
  // "?" where they and the losses would show, the unit counts as ever.
  const BattleSummary other = summarizeBattle(session, 1);
  EXPECT_EQ(other.rows, (Rows{kHeadings, {"Tank B", "9", "1/1", "1/1", "3/?"}}));
  EXPECT_EQ(totals(other), (Lines{"Men  ?", "Men Killed  ?", "Total Units  1", "Units Killed  0"}));
}

TEST_F(BattleSummaryTest, Vn3TakesStartAndLeftFromTheRecords) {
  load(GameFileKind::Vn3, {{"Rifle A", 0, 5, 4, 3, 4, 40},
                           {"Other name", 0, 5, 0, 0, 4, 40},
                           {"Tank B", 1, 9, 3, 1, 1, 4},
                           {"Gun C", 0, 0, 2, 2, 3, 12}});
  session.mob.men[0][5] = 200;  // not used by VN3 games
  const BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ(s.rows, (Rows{kHeadings, {"Gun C", "0", "1/1", "2/3", "2/12"}, {"Rifle A", "5", "1/2", "3/8", "4/80"}}));
  EXPECT_EQ(totals(s), (Lines{"Men  92", "Men Killed  86", "Total Units  11", "Units Killed  6"}));
}

TEST_F(BattleSummaryTest, BeforeAnyLoadOnlyTheHeadingAndZeros) {
  // The grid's empty rows before the first load are no units.
  const BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ(s.rows, Rows{kHeadings});
  EXPECT_EQ(totals(s), (Lines{"Men  0", "Men Killed  0", "Total Units  0", "Units Killed  0"}));
  EXPECT_EQ(s.countryLine, "Side 0 vs. Side 1");
}

}  // namespace
}  // namespace tarnel

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

using testing::ScriptedPrompts;
using Rows = std::vector<SummaryRow>;

const SummaryRow kHeadings = {"Unit Name", "Type #", "Form.", "Units", "Men"};

// A unit as the summary reads it; start and left matter to VN3 records only.
struct Unit {
  const char* name;
  int side, type, men;
  int unitsLeft = 0, unitsStart = 0, menStart = 0;
};

class BattleSummaryTest : public ::testing::Test {
 protected:
  ScriptedPrompts prompts;
  Session session{prompts};

  // A sample game of `kind` whose units are replaced by `units`.
  void load(GameFileKind kind, const std::vector<Unit>& units) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 5;
    GameModel& m = session.model = samplegen::makeGameModel(o);
    const GenerationLayout& L = *m.layout;
    for (int i = 0; i < 10; ++i)
      for (int k = 0; k < L.unitStride; ++k) m.setUnitByte(i, k, 0);
    for (std::size_t i = 0; i < units.size(); ++i) {
      const Unit& u = units[i];
      const int r = static_cast<int>(i);
      const std::string name = u.name;
      for (std::size_t k = 0; k < name.size(); ++k)
        m.setUnitByte(r, static_cast<int>(k), static_cast<unsigned char>(name[k]));
      m.setUnitByte(r, L.side, u.side);
      m.setUnitByte(r, L.unitType, u.type);
      m.setUnitByte(r, L.men, u.men);
      m.setUnitByte(r, L.nation, u.side == 0 ? 82 : 81);
      if (kind == GameFileKind::Vn3) {
        m.setUnitByte(r, 216, u.unitsLeft);
        m.setUnitByte(r, 218, u.unitsStart);
        m.setUnitByte(r, 219, u.menStart);
      }
    }
    fillGrid(session);
  }

  static std::vector<std::string> totals(const BattleSummary& s) {
    return {s.menLine, s.menKilledLine, s.totalUnitsLine, s.unitsKilledLine};
  }
};

const std::vector<Unit> kVn2Units = {
    {"Rifle A", 0, 5, 4}, {"Tank B", 1, 9, 3},   {"Rifle C", 0, 5, 0},
    {"Big D", 0, 250, 7}, {"Mortar E", 0, 2, 6}, {"Tank F", 1, 9, 0},
};

TEST_F(BattleSummaryTest, Vn2GroupsTakeMenAtStartFromTheMenTable) {
  load(GameFileKind::V11, kVn2Units);
  session.mob.men[0][2] = 8;
  session.mob.men[0][5] = 10;
  session.mob.men[0][249] = 99;  // the table's last entry; type 250 has none
  session.mob.men[1][9] = 5;

  const BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ(s.turnLine, "Turns: 1/30");
  EXPECT_EQ(s.dateLine, "Date: 6/84");
  EXPECT_EQ(s.countryLine, "US Army vs. Soviet Union");
  // By type number, named after the group's first unit; "Units" equals "Form.".
  EXPECT_EQ(s.rows, (Rows{kHeadings,
                          {"Mortar E", "2", "1/1", "1/1", "6/8"},
                          {"Rifle A", "5", "1/2", "1/2", "4/20"},
                          {"Big D", "250", "1/1", "1/1", "7/0"}}));
  EXPECT_EQ(totals(s), (std::vector<std::string>{"Men  28", "Men Killed  11", "Total Units  4",
                                                  "Units Killed  1"}));

  const BattleSummary other = summarizeBattle(session, 1);
  EXPECT_EQ(other.rows, (Rows{kHeadings, {"Tank B", "9", "1/2", "1/2", "3/10"}}));
  EXPECT_EQ(totals(other), (std::vector<std::string>{"Men  10", "Men Killed  7", "Total Units  2",
                                                      "Units Killed  1"}));
}

TEST_F(BattleSummaryTest, Vn2WithoutMobFilesCountsNoMenAtStart) {
  load(GameFileKind::V10, kVn2Units);
  const BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ(s.rows[2], (SummaryRow{"Rifle A", "5", "1/2", "1/2", "4/0"}));
  EXPECT_EQ(totals(s), (std::vector<std::string>{"Men  0", "Men Killed  -17", "Total Units  4",
                                                  "Units Killed  1"}));
}

TEST_F(BattleSummaryTest, Vn3TakesStartAndLeftFromTheRecords) {
  load(GameFileKind::Vn3, {{"Rifle A", 0, 5, 4, 3, 4, 40},
                           {"Other name", 0, 5, 0, 0, 4, 40},
                           {"Tank B", 1, 9, 3, 1, 1, 4},
                           {"Gun C", 0, 0, 2, 2, 3, 12}});
  session.mob.men[0][5] = 200;  // not used by VN3 games

  const BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ(s.rows, (Rows{kHeadings,
                          {"Gun C", "0", "1/1", "2/3", "2/12"},
                          {"Rifle A", "5", "1/2", "3/8", "4/80"}}));
  EXPECT_EQ(totals(s), (std::vector<std::string>{"Men  92", "Men Killed  86", "Total Units  11",
                                                  "Units Killed  6"}));
}

TEST_F(BattleSummaryTest, NoUnitsGiveOnlyTheHeadingAndZeros) {
  // Before any load the grid has rows but the file has no units.
  BattleSummary s = summarizeBattle(session, 0);
  EXPECT_EQ(s.rows, Rows{kHeadings});
  EXPECT_EQ(totals(s), (std::vector<std::string>{"Men  0", "Men Killed  0", "Total Units  0",
                                                  "Units Killed  0"}));
  EXPECT_EQ(s.countryLine, "Side 0 vs. Side 1");
  EXPECT_EQ(s.dateLine, "Date: 0/0");

  load(GameFileKind::V11, {{"Lonely", 0, 3, 1}});
  s = summarizeBattle(session, 1);
  EXPECT_EQ(s.rows, Rows{kHeadings});
  EXPECT_EQ(s.countryLine, "US Army vs. ");
  EXPECT_EQ(s.unitsKilledLine, "Units Killed  0");
}

}  // namespace
}  // namespace tarnel

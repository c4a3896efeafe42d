#include "editors/position_editor.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "game_sample.h"
#include "mainwindow/unit_grid.h"
#include "model/session.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

// Units 0 to 3 of side 0 (the fourth numbered 10 in its formation: " A10"),
// 4 to 7 of side 1; unit i at cell (10 + 5i, 20 + i).
class PositionEditorTest : public ::testing::Test {
 protected:
  testing::ScriptedPrompts prompts;
  Session session{prompts};
  PositionEditor editor{session};

  void SetUp() override {
    samplegen::SampleOptions o;
    o.unitsPerSide = 4;
    GameModel& m = session.model = samplegen::makeGameModel(o);
    m.setUnitByte(3, m.layout->formationIndex, 10);
    for (int i = 0; i < 8; ++i) {
      m.setWordAt(m.positionOffset(i) + offsetOf(PositionField::kX), 10 + 5 * i);
      m.setWordAt(m.positionOffset(i) + offsetOf(PositionField::kY), 20 + i);
    }
    fillGrid(session);
    editor.activate();
  }
  const std::string& cell(int col, int row) { return editor.grid.cell(col, row); }
  std::string marked() {
    std::string rows;
    for (int r = 1; r <= 8; ++r) rows += isMarked(cell(kPosUnit, r)) ? std::to_string(r) : "";
    return rows;
  }
};

TEST_F(PositionEditorTest, SelectTakesTheBandsBoundsWhicheverWayItWasDragged) {
  // Cells (10,19) to (26,24): unit 0 lies on the band's edge, unit 3 just inside.
  const MapPoint corners[4][2] = {{{40, 57}, {105, 74}}, {{105, 74}, {40, 57}},
                                  {{105, 57}, {40, 74}}, {{40, 74}, {105, 57}}};
  for (const auto& c : corners) {
    editor.activate();
    editor.mouseDown(c[0]);
    editor.mouseMove(c[1]);
    editor.select();
    editor.select();  // a marked unit is marked once
    EXPECT_EQ(marked(), "234");
    EXPECT_EQ(cell(kPosUnit, 4), " A10*");
  }
  editor.activate();
  editor.mouseDown({40, 57});
  editor.mouseMove({44, 60});  // edge cells adjacent: nothing inside
  editor.select();
  editor.selectCell(kPosUnit, 2);
  editor.selectCell(kPosUnit, 2);  // toggled twice: as it was
  EXPECT_EQ(marked(), "");
}

TEST_F(PositionEditorTest, DropMovesTheStarredUnitsOnlyAndTakesTheirStar) {
  editor.selectCell(kPosUnit, 2);
  editor.xDrop = "50";
  editor.yDrop = "40";
  editor.drop();  // ranges 1, density 0: onto the drop point
  EXPECT_EQ(cell(kPosX, 2) + "," + cell(kPosY, 2), "50,40");
  EXPECT_EQ(cell(kPosUnit, 4) + "," + cell(kPosX, 4), " A10,25");  // four characters, not marked
  editor.selectCell(kPosUnit, 4);
  editor.drop();
  EXPECT_EQ(cell(kPosUnit, 4) + "," + cell(kPosX, 4), " A10,50");
  EXPECT_EQ(marked(), "");
}

TEST_F(PositionEditorTest, DropWithDensityKeepsTheNearestCandidateAndTheEarlierOfATie) {
  editor.xDrop = "50";
  editor.yDrop = "40";
  editor.xRange = "-4";  // a negative range acts as its absolute value
  editor.yRange = "3";
  editor.density = 2;
  bool sawTie = false, sawNearer = false;
  for (std::uint32_t seed = 1; seed < 200; ++seed) {
    // The oracle: per candidate draws sx, sy, rx, ry; three candidates.
    DiceSource d;
    d.seed(seed);
    int x[3], y[3], dist[3], best = 0;
    for (int k = 0; k < 3; ++k) {
      const int sx = d.next() % 2, sy = d.next() % 2, rx = d.next() % 4, ry = d.next() % 3;
      x[k] = sx ? 50 + rx : 50 - rx;
      y[k] = sy ? 40 + ry : 40 - ry;
      dist[k] = rx * rx + ry * ry;
      if (dist[k] < dist[best]) best = k;
    }
    for (int k = best + 1; k < 3; ++k) sawTie = sawTie || (dist[k] == dist[best] && x[k] != x[best]);
    sawNearer = sawNearer || best > 0;
    editor.selectCell(kPosUnit, 5);
    session.dice.seed(seed);
    editor.drop();
    EXPECT_EQ(cell(kPosX, 5) + "," + cell(kPosY, 5), std::to_string(x[best]) + "," + std::to_string(y[best]));
    EXPECT_EQ(session.dice.next(), d.next());  // twelve draws, no more
  }
  EXPECT_TRUE(sawTie && sawNearer);
}

TEST_F(PositionEditorTest, DropNearTheLimitsStaysWithinThirtyTwoBits) {
  editor.xDrop = "2147483647";
  editor.yDrop = "-2147483648";
  editor.xRange = editor.yRange = "2147483647";
  editor.density = 3;
  for (std::uint32_t seed = 1; seed < 20; ++seed) {
    session.dice.seed(seed);
    editor.selectCell(kPosUnit, 1);
    ASSERT_NO_THROW(editor.drop());  // the redraw reads every cell back
    const long long x = std::stoll(cell(kPosX, 1)), y = std::stoll(cell(kPosY, 1));
    EXPECT_TRUE(x >= 0 && x <= 2147483647) << x;
    EXPECT_TRUE(y >= -2147483648LL && y <= 0) << y;
  }
}

TEST_F(PositionEditorTest, AGameCutShortListsTheUnitsTheSummaryCounts) {
  session.model.loaded = GameFileKind::None;  // what "Too much data" leaves
  editor.activate();
  EXPECT_EQ(editor.unitRows(), 8);
  EXPECT_EQ(editor.grid.rowCount(), 9);
  EXPECT_EQ(cell(kPosX, 8) + "," + cell(kPosY, 8), "45,27");
}

TEST_F(PositionEditorTest, RetainStoresLowWordsAndAFlagUpToABadCell) {
  const GameModel before = session.model;
  for (auto [col, row, text] : {std::tuple{kPosX, 1, "-1"}, {kPosY, 1, "70000"}, {kPosHidden, 1, "2"},
                                {kPosHidden, 2, "0"}, {kPosX, 3, "33"}, {kPosY, 3, "far"}})
    editor.grid.setCell(col, row, text);
  EXPECT_THROW(editor.retain(), ConversionError);
  EXPECT_TRUE(session.modified());
  const GameModel& m = session.model;
  const std::int64_t at = m.positionOffset(0);
  EXPECT_EQ(m.byteAt(at), 0xFF);
  EXPECT_EQ(m.byteAt(at + 1), 0xFF);
  EXPECT_EQ(m.wordAt(at + offsetOf(PositionField::kY)), 70000 - 65536);
  EXPECT_EQ(m.byteAt(at + offsetOf(PositionField::kHidden)), 1);
  EXPECT_EQ(m.byteAt(m.positionOffset(1) + offsetOf(PositionField::kHidden)), 0);
  EXPECT_EQ(m.wordAt(m.positionOffset(2) + offsetOf(PositionField::kX)), 33);  // stored before the bad Y
  EXPECT_EQ(m.wordAt(m.positionOffset(2) + offsetOf(PositionField::kY)), 22);
  for (std::int64_t k = at + 4; k < at + offsetOf(PositionField::kHidden); ++k) EXPECT_EQ(m.byteAt(k), before.byteAt(k));
  editor.reset();  // X and Y back as signed numbers, nothing else
  EXPECT_EQ(cell(kPosX, 1) + "," + cell(kPosY, 1) + "," + cell(kPosY, 3) + "," + cell(kPosHidden, 1), "-1,4464,22,2");
}

}  // namespace
}  // namespace tarnel

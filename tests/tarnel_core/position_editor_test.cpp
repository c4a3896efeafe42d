#include "editors/position_editor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "game_sample.h"
#include "mainwindow/unit_grid.h"
#include "model/session.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

constexpr int kUnits = 8;  // 4 per side, one formation each

class PositionEditorTest : public ::testing::Test {
 protected:
  testing::ScriptedPrompts prompts;
  Session session{prompts};
  PositionEditor editor{session};

  void SetUp() override {
    samplegen::SampleOptions o;
    o.unitsPerSide = kUnits / 2;
    session.model = samplegen::makeGameModel(o);
    session.model.setUnitByte(3, session.model.layout->formationIndex, 10);  // " A10"
    for (int i = 0; i < kUnits; ++i) place(i, 10 + 5 * i, 20 + i);
    fillGrid(session);
    session.model.redrawNeeded = true;
    editor.activate();
  }
  void place(int unit, int x, int y) {
    session.model.setWordAt(session.model.positionOffset(unit) + kPositionX, x);
    session.model.setWordAt(session.model.positionOffset(unit) + kPositionY, y);
  }
  const std::string& cell(int col, int row) { return editor.grid.cell(col, row); }
  void drag(MapPoint from, MapPoint to) {
    editor.mouseDown(from);
    editor.mouseMove(to);
    editor.mouseUp(to);
  }
  std::vector<int> marked() {
    std::vector<int> rows;
    for (int r = 1; r <= kUnits; ++r)
      if (isMarked(cell(kPosUnit, r))) rows.push_back(r);
    return rows;
  }
};

TEST_F(PositionEditorTest, ActivationCopiesTheMainGridAndTheSignedPositions) {
  session.model.setWordAt(session.model.positionOffset(1) + kPositionX, 0xFFFF);
  session.model.setByteAt(session.model.positionOffset(1) + kPositionHidden, 200);
  editor.selectCell(kPosUnit, 1);
  editor.activate();
  ASSERT_EQ(editor.grid.rowCount(), kUnits + 1);
  EXPECT_EQ(cell(kPosY, 0), " Y");
  EXPECT_EQ(editor.grid.colWidth(kPosName), 130);
  EXPECT_EQ(cell(kPosUnit, 1), session.grid.cell(kColUnit, 1));  // the mark is gone
  EXPECT_EQ(cell(kPosUnit, 4), " A10");
  EXPECT_EQ(cell(kPosName, 6), session.grid.cell(kColName, 6));
  EXPECT_EQ(cell(kPosSide, 6), "1");
  EXPECT_EQ(cell(kPosX, 2), "-1");
  EXPECT_EQ(cell(kPosY, 3), "22");
  EXPECT_EQ(cell(kPosHidden, 2), "200");
}

TEST_F(PositionEditorTest, RedrawShowsTheGridsPositionsBySideAndOnlyWhenAsked) {
  EXPECT_FALSE(session.model.redrawNeeded);
  EXPECT_EQ(editor.map.pixel(4 * 10, 3 * 20), kMapSide0);
  EXPECT_EQ(editor.map.pixel(4 * 10 + 3, 3 * 20 + 2), kMapSide0);
  EXPECT_EQ(editor.map.pixel(4 * 10 + 4, 3 * 20), kMapBackground);
  EXPECT_EQ(editor.map.pixel(4 * 35, 3 * 25), kMapOtherSide);
  place(0, 60, 70);
  editor.activate();  // not asked for: the map keeps the old place
  EXPECT_EQ(editor.map.pixel(4 * 10, 3 * 20), kMapSide0);
  editor.selectCell(kPosY, 5);
  editor.activate();
  EXPECT_EQ(editor.map.pixel(4 * 10, 3 * 20), kMapBackground);
  EXPECT_EQ(editor.map.pixel(4 * 60, 3 * 70), kMapSide0);
  editor.grid.setCell(kPosX, 1, "0");
  editor.grid.setCell(kPosY, 2, "-3");
  editor.grid.setCell(kPosX, 3, "5000");  // off the map: listed, not drawn
  editor.redraw();
  EXPECT_EQ(editor.map.pixel(4 * 60, 3 * 70), kMapBackground);
  EXPECT_EQ(editor.map.pixel(4 * 15, 3 * 21), kMapBackground);
}

TEST_F(PositionEditorTest, TheBandIsExclusiveOrAndDrawingItAgainRestoresThePixels) {
  const PositionMap before = editor.map;
  editor.mouseDown({30, 50});
  editor.mouseMove({80, 61});
  for (MapPoint p : {MapPoint{30, 50}, {80, 50}, {80, 61}, {30, 61}, {55, 50}, {30, 55}})
    EXPECT_EQ(editor.map.pixel(p.x, p.y), kMapBackground ^ kBandPen) << p.x << "," << p.y;
  EXPECT_EQ(editor.map.pixel(41, 61), kMapSide0 ^ kBandPen);  // over a unit
  EXPECT_EQ(editor.map.pixel(50, 55), kMapBackground);        // inside stays
  EXPECT_EQ(editor.xyLabel, "20,20");
  editor.mouseMove({10, 20});  // backwards over the press point
  editor.mouseMove({-5, 300});  // beyond the bitmap
  editor.mouseUp({-5, 300});
  EXPECT_TRUE(editor.bandShown);
  editor.mouseDown({60, 60});  // a new press wipes the band
  EXPECT_TRUE(std::equal(before.pixels(), before.pixels() + kMapWidth * kMapHeight, editor.map.pixels()));
}

TEST_F(PositionEditorTest, ReleaseProposesDropPointAndScatter) {
  struct Case {
    MapPoint from, to;
    const char *xDrop, *yDrop, *xRange, *yRange;
  } cases[] = {
      {{40, 30}, {81, 61}, "15", "15", "5", "5"},  // cells (10,10) to (20,20)
      {{81, 61}, {40, 30}, "15", "15", "5", "5"},  // the other way round
      {{40, 30}, {43, 41}, "10", "11", "0", "1"},  // one cell apart across: range 0
      {{40, 30}, {42, 31}, "1", "1", "1", "1"},    // one cell: nothing changes
  };
  for (const Case& c : cases) {
    editor.xDrop = editor.yDrop = editor.xRange = editor.yRange = "1";
    drag(c.from, c.to);
    EXPECT_EQ(editor.xDrop + " " + editor.yDrop + " " + editor.xRange + " " + editor.yRange,
              std::string(c.xDrop) + " " + c.yDrop + " " + c.xRange + " " + c.yRange);
    EXPECT_FALSE(editor.dragging);
  }
}

TEST_F(PositionEditorTest, SelectTakesTheBandsBoundsWhicheverWayItWasDragged) {
  // Units at cells (10,20) (15,21) (20,22) (25,23) ...; the band runs from
  // cell (10,19) to (26,24): the first lies on its edge, 25 just inside.
  const MapPoint corners[4][2] = {{{40, 57}, {105, 74}}, {{105, 74}, {40, 57}},
                                  {{105, 57}, {40, 74}}, {{40, 74}, {105, 57}}};
  for (const auto& c : corners) {
    editor.activate();
    drag(c[0], c[1]);
    editor.select();
    EXPECT_EQ(marked(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(cell(kPosUnit, 4), " A10*");
    editor.select();  // marked units stay marked once
    EXPECT_EQ(cell(kPosUnit, 4), " A10*");
  }
  drag({40, 57}, {44, 60});  // edge cells adjacent: nothing inside
  editor.activate();
  editor.select();
  EXPECT_TRUE(marked().empty());
}

TEST_F(PositionEditorTest, MarksAreTheTrailingStarNotTheLength) {
  EXPECT_FALSE(isMarked(cell(kPosUnit, 4)));
  editor.selectCell(kPosUnit, 2);
  editor.selectCell(kPosUnit, 2);
  EXPECT_EQ(cell(kPosUnit, 2), session.grid.cell(kColUnit, 2));
  editor.selectCell(kPosUnit, 2);
  editor.selectCell(kPosUnit, 4);
  EXPECT_EQ(cell(kPosUnit, 4), " A10*");
  editor.xDrop = "50";
  editor.yDrop = "40";
  editor.drop();
  EXPECT_EQ(cell(kPosUnit, 4), " A10");
  EXPECT_TRUE(marked().empty());
  for (int r : {2, 4}) EXPECT_EQ(cell(kPosX, r) + "," + cell(kPosY, r), "50,40");
  EXPECT_EQ(cell(kPosX, 3), "20");  // unmarked: not moved
  EXPECT_FALSE(editor.bandShown);
}

// Draws of a dice source as the test's own oracle: sx, sy, rx, ry per candidate.
struct Candidate {
  int x, y;
  long long d;
};
std::vector<Candidate> candidates(std::uint32_t seed, int cx, int cy, int rangeX, int rangeY, int count) {
  DiceSource dice;
  dice.seed(seed);
  std::vector<Candidate> out;
  for (int k = 0; k < count; ++k) {
    const bool plusX = dice.next() % 2, plusY = dice.next() % 2;
    const int rx = dice.next() % rangeX, ry = dice.next() % rangeY;
    out.push_back({plusX ? cx + rx : cx - rx, plusY ? cy + ry : cy - ry, 1LL * rx * rx + ry * ry});
  }
  return out;
}

TEST_F(PositionEditorTest, DropWithDensityKeepsTheNearestCandidateAndTheEarlierOfATie) {
  editor.xDrop = "50";
  editor.yDrop = "40";
  editor.xRange = "-4";  // a negative range acts as its absolute value
  editor.yRange = "3";
  editor.density = 2;
  bool sawTie = false, sawNearer = false;
  for (std::uint32_t seed = 1; seed < 200 && !(sawTie && sawNearer); ++seed) {
    const std::vector<Candidate> c = candidates(seed, 50, 40, 4, 3, 3);
    std::size_t best = 0;
    for (std::size_t k = 1; k < c.size(); ++k)
      if (c[k].d < c[best].d) best = k;
    for (std::size_t k = best + 1; k < c.size(); ++k)
      sawTie = sawTie || (c[k].d == c[best].d && (c[k].x != c[best].x || c[k].y != c[best].y));
    sawNearer = sawNearer || best > 0;
    editor.activate();
    editor.selectCell(kPosUnit, 5);
    session.dice.seed(seed);
    editor.drop();
    EXPECT_EQ(cell(kPosX, 5) + "," + cell(kPosY, 5), std::to_string(c[best].x) + "," + std::to_string(c[best].y));
    DiceSource twelve;  // three candidates of four draws, no more
    twelve.seed(seed);
    for (int k = 0; k < 12; ++k) twelve.next();
    EXPECT_EQ(session.dice.next(), twelve.next());
  }
  EXPECT_TRUE(sawTie);
  EXPECT_TRUE(sawNearer);
}

TEST_F(PositionEditorTest, RangeZeroDrawsNothingForItsOffset) {
  DiceSource expected;
  expected.seed(7);
  session.dice.seed(7);
  editor.xRange = "0";
  editor.yRange = "0";
  editor.selectCell(kPosUnit, 1);
  editor.drop();
  expected.next();
  expected.next();
  EXPECT_EQ(session.dice.next(), expected.next());
  EXPECT_EQ(cell(kPosX, 1) + "," + cell(kPosY, 1), "1,1");
}

TEST_F(PositionEditorTest, RetainStoresLowWordsAndAFlagAndResetReadsThemBack) {
  const GameModel before = session.model;
  editor.grid.setCell(kPosX, 1, "-1");
  editor.grid.setCell(kPosY, 1, "70000");
  editor.grid.setCell(kPosHidden, 1, "2");
  editor.grid.setCell(kPosHidden, 2, "0");
  editor.grid.setCell(kPosX, 3, "33");
  editor.grid.setCell(kPosY, 3, "far");
  EXPECT_THROW(editor.retain(), ConversionError);
  EXPECT_TRUE(session.modified());
  const GameModel& m = session.model;
  const std::int64_t at = m.positionOffset(0);
  EXPECT_EQ(m.byteAt(at), 0xFF);
  EXPECT_EQ(m.byteAt(at + 1), 0xFF);
  EXPECT_EQ(m.wordAt(at + kPositionY), 70000 - 65536);
  EXPECT_EQ(m.byteAt(at + kPositionHidden), 1);
  EXPECT_EQ(m.byteAt(m.positionOffset(1) + kPositionHidden), 0);
  EXPECT_EQ(m.wordAt(m.positionOffset(2) + kPositionX), 33);  // stored before the bad Y
  EXPECT_EQ(m.wordAt(m.positionOffset(2) + kPositionY), before.wordAt(m.positionOffset(2) + kPositionY));
  for (std::int64_t k = at + 4; k < at + kPositionHidden; ++k) EXPECT_EQ(m.byteAt(k), before.byteAt(k));

  editor.grid.setCell(kPosHidden, 4, "9");
  editor.selectCell(kPosUnit, 4);
  editor.reset();
  EXPECT_EQ(cell(kPosX, 1), "-1");
  EXPECT_EQ(cell(kPosY, 1), "4464");
  EXPECT_EQ(cell(kPosX, 3) + "," + cell(kPosY, 3), "33,22");
  EXPECT_EQ(cell(kPosHidden, 4), "9");
  EXPECT_EQ(cell(kPosUnit, 4), " A10*");
}

TEST(PositionEditorEmpty, BeforeAnyLoadEveryCommandDoesNothing) {
  testing::ScriptedPrompts prompts;
  Session session{prompts};
  PositionEditor editor{session};
  editor.activate();
  EXPECT_EQ(editor.grid.rowCount(), 1);
  editor.select();
  editor.drop();
  editor.retain();
  editor.reset();
  EXPECT_FALSE(session.modified());
  EXPECT_EQ(editor.map.pixel(0, 0), kMapBackground);
}

}  // namespace
}  // namespace tarnel

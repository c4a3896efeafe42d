#include "mainwindow/rating_rolls.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "model/session.h"
#include "common/int_convert.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

// A session whose grid holds `sides.size()` unit rows, every rating 50, and
// a skill class per row.
class RollTest : public ::testing::Test {
 protected:
  testing::ScriptedPrompts prompts;
  Session session{prompts};

  void makeRows(const std::vector<int>& sides, char skillClass = 'T') {
    session.grid.setRowCount(static_cast<int>(sides.size()) + 1);
    for (std::size_t k = 0; k < sides.size(); ++k) {
      const int row = static_cast<int>(k) + 1;
      session.grid.setCell(GridColumn::kSide, row, std::to_string(sides[k]));
      for (int c = indexOf(GridColumn::kExp); c <= indexOf(GridColumn::kArm); ++c) session.grid.setCell(c, row, "50");
      session.PrimarySkillClass[k] = skillClass;
    }
    session.dice.seed(12345);
  }

  int cell(GridColumn col, int row) const { return toInt(session.grid.cell(col, row)); }

  std::vector<std::string> snapshot() const {
    std::vector<std::string> all;
    for (int r = 0; r < session.grid.rowCount(); ++r)
      for (int c = 0; c < kGridColumns; ++c) all.push_back(session.grid.cell(c, r));
    return all;
  }

  static RollFields fields(const char* base, const char* d, const char* s, const char* d1, const char* s1,
                           const char* min = "0", const char* max = "100") {
    return {base, d, s, d1, s1, min, max};
  }
};

TEST_F(RollTest, InitialFieldsRollWithinTheirMinAndMax) {
  EXPECT_EQ(initialRollFields(RollRow::Exp).base, "60");
  EXPECT_EQ(initialRollFields(RollRow::Sk2).d, "3");
  makeRows(std::vector<int>(300, 0), 'I');
  rollRating(session, RollRow::Exp, initialRollFields(RollRow::Exp), 0);
  rollRating(session, RollRow::Sk2, initialRollFields(RollRow::Sk2), 0);
  std::set<int> seen;
  for (int r = 1; r <= 300; ++r) {
    const int exp = cell(GridColumn::kExp, r);
    EXPECT_GE(exp, 52);
    EXPECT_LE(exp, 82);
    seen.insert(exp);
    // Class 'I': Sk2 re-rolls Art and Arm, in 11..36.
    for (GridColumn c : {GridColumn::kArt, GridColumn::kArm}) {
      EXPECT_GE(cell(c, r), 11);
      EXPECT_LE(cell(c, r), 36);
    }
    EXPECT_EQ(cell(GridColumn::kInf, r), 50);
  }
  EXPECT_GT(seen.size(), 15u);  // the dice really vary
}

TEST_F(RollTest, DrawsComeInTheOrderOfRowsPlusDiceMinusDice) {
  makeRows({0, 1, 0});
  rollRating(session, RollRow::Mor, fields("10", "2", "6", "1", "4", "-1000", "1000"), 0);
  // The same source drawn in the documented order: rows of the side only,
  // the d dice of s sides, then the d1 dice of s1 sides.
  DiceSource reference;
  reference.seed(12345);
  for (int row : {1, 3}) {
    const std::int64_t v = 10 + reference.die(6) + reference.die(6) - reference.die(4);
    EXPECT_EQ(cell(GridColumn::kMor, row), v) << row;
  }
  EXPECT_EQ(cell(GridColumn::kMor, 2), 50);
}

TEST_F(RollTest, Sk2AlternatesItsTwoValuesAndUsesTheClassColumns) {
  makeRows({0});
  rollRating(session, RollRow::Sk2, fields("0", "2", "100", "1", "10", "-1000", "1000"), 0);
  DiceSource reference;
  reference.seed(12345);
  std::int64_t a = 0, b = 0;
  a += reference.die(100);
  b += reference.die(100);
  a += reference.die(100);
  b += reference.die(100);
  a -= reference.die(10);
  b -= reference.die(10);
  // Class 'T': first value to Inf, second to Art, Arm untouched.
  EXPECT_EQ(cell(GridColumn::kInf, 1), a);
  EXPECT_EQ(cell(GridColumn::kArt, 1), b);
  EXPECT_EQ(cell(GridColumn::kArm, 1), 50);
}

TEST_F(RollTest, ClampsMaxFirstSoMinWins) {
  makeRows({0, 0, 0, 0, 0, 0, 0, 0});
  rollRating(session, RollRow::Exp, fields("95", "4", "6", "0", "6"), 0);
  for (int r = 1; r <= 8; ++r) {
    EXPECT_GE(cell(GridColumn::kExp, r), 99);
    EXPECT_LE(cell(GridColumn::kExp, r), 100);
  }
  rollRating(session, RollRow::Mor, fields("45", "4", "6", "2", "6", "50", "40"), 0);
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(cell(GridColumn::kMor, r), 50);
}

TEST_F(RollTest, ZeroSidesCountOneAndDrawNothing) {
  makeRows({0, 0});
  rollRating(session, RollRow::Ral, fields("7", "3", "0", "2", "0"), 0);
  EXPECT_EQ(cell(GridColumn::kRal, 1), 8);  // 7 + 3 - 2
  EXPECT_EQ(cell(GridColumn::kRal, 2), 8);
  DiceSource untouched;
  untouched.seed(12345);
  EXPECT_EQ(session.dice.next(), untouched.next());
}

TEST_F(RollTest, NoDiceForCountsOfZeroOrLessAndNegativeSidesActAsPositive) {
  makeRows({0, 0, 0, 0, 0, 0});
  rollRating(session, RollRow::Exp, fields("33", "0", "6", "-4", "6"), 0);
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(cell(GridColumn::kExp, r), 33);
  rollRating(session, RollRow::Mor, fields("0", "1", "-6", "0", "6"), 0);
  for (int r = 1; r <= 6; ++r) {
    EXPECT_GE(cell(GridColumn::kMor, r), 1);
    EXPECT_LE(cell(GridColumn::kMor, r), 6);
  }
}

TEST_F(RollTest, ExtremeValuesClampWithoutOverflow) {
  makeRows({0});
  rollRating(session, RollRow::Exp, fields("2147483647", "4", "6", "0", "6", "0", "2147483647"), 0);
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 1), "2147483647");
  rollRating(session, RollRow::Mor, fields("-2147483648", "0", "6", "3", "6", "-2147483648", "0"), 0);
  EXPECT_EQ(session.grid.cell(GridColumn::kMor, 1), "-2147483648");
}

TEST_F(RollTest, SkillClassesBreakTiesToArmour) {
  EXPECT_EQ(primarySkillClassOf(60, 40, 10), 'I');
  EXPECT_EQ(primarySkillClassOf(10, 60, 40), 'A');
  EXPECT_EQ(primarySkillClassOf(10, 40, 60), 'T');
  EXPECT_EQ(primarySkillClassOf(40, 40, 10), 'T');
  EXPECT_EQ(primarySkillClassOf(10, 40, 40), 'T');
  EXPECT_EQ(primarySkillClassOf(40, 10, 40), 'T');
  EXPECT_EQ(primarySkillClassOf(5, 5, 5), 'T');
  EXPECT_EQ(sk1Column('I'), GridColumn::kInf);
  EXPECT_EQ(sk1Column('A'), GridColumn::kArt);
  EXPECT_EQ(sk1Column('T'), GridColumn::kArm);
  EXPECT_EQ(sk1Column('\0'), GridColumn::kArm);
  EXPECT_EQ(sk2Columns('I'), (std::array<GridColumn, 2>{GridColumn::kArt, GridColumn::kArm}));
  EXPECT_EQ(sk2Columns('A'), (std::array<GridColumn, 2>{GridColumn::kInf, GridColumn::kArm}));
  EXPECT_EQ(sk2Columns('T'), (std::array<GridColumn, 2>{GridColumn::kInf, GridColumn::kArt}));
}

TEST_F(RollTest, Sk1FollowsTheClassOfTheLoadNotTheCurrentCells) {
  makeRows({0});
  session.PrimarySkillClass[0] = 'I';
  session.grid.setCell(GridColumn::kInf, 1, "1");  // lowered by hand after the load
  session.grid.setCell(GridColumn::kArt, 1, "90");
  rollRating(session, RollRow::Sk1, fields("70", "0", "6", "0", "6"), 0);
  EXPECT_EQ(session.grid.cell(GridColumn::kInf, 1), "70");
  EXPECT_EQ(session.grid.cell(GridColumn::kArt, 1), "90");
}

TEST_F(RollTest, OnlyTheChosenSideChanges) {
  makeRows({0, 1, 1, 0});
  const auto before = snapshot();
  for (RollRow row : kRollRows) rollRating(session, row, fields("7", "0", "6", "0", "6"), 1);
  for (int r : {1, 4})
    for (int c = 0; c < kGridColumns; ++c)
      EXPECT_EQ(session.grid.cell(c, r), before[static_cast<std::size_t>(r * kGridColumns + c)]);
  // Class 'T': Sk1 wrote Arm, Sk2 wrote Inf and Art; all five ratings are 7.
  for (int r : {2, 3})
    for (int c = indexOf(GridColumn::kExp); c <= indexOf(GridColumn::kArm); ++c) EXPECT_EQ(session.grid.cell(c, r), "7") << c;
  // A side without units: nothing changes, nothing is reported.
  const auto after = snapshot();
  rollRating(session, RollRow::Exp, fields("9", "0", "6", "0", "6"), 5);
  EXPECT_EQ(snapshot(), after);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RollTest, BadDiceFieldsAndBaseChangeNothing) {
  makeRows({0, 0, 0});
  const auto before = snapshot();
  for (int f = 0; f < 6; ++f) {
    RollFields bad = fields("60", "4", "6", "2", "6");
    std::string* slots[6] = {&bad.d, &bad.s, &bad.d1, &bad.s1, &bad.min, &bad.max};
    *slots[f] = "4a";
    try {
      rollRating(session, RollRow::Exp, bad, 0);
      ADD_FAILURE() << "field " << f << " converted";
    } catch (const ConversionError& e) {
      EXPECT_STREQ(e.what(), "'4a' is not a valid integer value");
    }
  }
  EXPECT_THROW(rollRating(session, RollRow::Sk2, fields("", "4", "6", "2", "6"), 0), ConversionError);
  EXPECT_EQ(snapshot(), before);
  // A bad Base with no unit of the side is never read.
  EXPECT_NO_THROW(rollRating(session, RollRow::Exp, fields("x", "4", "6", "2", "6"), 1));
}

TEST_F(RollTest, BadSideCellStopsAtItsRowKeepingEarlierRows) {
  makeRows({0, 0, 0, 0});
  session.grid.setCell(GridColumn::kSide, 3, "zero");
  try {
    rollRating(session, RollRow::Exp, fields("7", "0", "6", "0", "6"), 0);
    FAIL() << "the side cell converted";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'zero' is not a valid integer value");
  }
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 1), "7");
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 2), "7");
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 3), "50");
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 4), "50");
}

TEST_F(RollTest, BeforeAnyLoadTheEmptySideCellFails) {
  const auto before = snapshot();  // the initial five empty rows
  try {
    rollRating(session, RollRow::Exp, initialRollFields(RollRow::Exp), 0);
    FAIL() << "an empty side cell converted";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_EQ(snapshot(), before);
}

// ---- Rolls limited to the chosen rows ------------------------------------

ChosenRows choose(std::initializer_list<int> rows, int rowCount) {
  ChosenRows chosen(static_cast<std::size_t>(rowCount), false);
  for (int r : rows) chosen[static_cast<std::size_t>(r)] = true;
  return chosen;
}

TEST_F(RollTest, ChosenRowsOfTheSideAloneRollAndDrawInRowOrder) {
  makeRows({0, 1, 0, 0, 1, 0});
  const auto before = snapshot();
  const ChosenRows chosen = choose({2, 4, 6, 5}, 7);  // row 2 and 5 are side 1
  ASSERT_TRUE(rollRating(session, RollRow::Mor, fields("10", "2", "6", "1", "4", "-1000", "1000"), 0, &chosen));
  DiceSource reference;
  reference.seed(12345);
  for (int r = 1; r <= 6; ++r) {
    if (r == 4 || r == 6) {
      const std::int64_t v = 10 + reference.die(6) + reference.die(6) - reference.die(4);
      EXPECT_EQ(cell(GridColumn::kMor, r), v) << r;
    } else {
      EXPECT_EQ(session.grid.cell(GridColumn::kMor, r), before[static_cast<std::size_t>(r * kGridColumns + indexOf(GridColumn::kMor))]) << r;
    }
  }
  // Exactly the chosen units' dice were drawn.
  EXPECT_EQ(session.dice.next(), reference.next());
}

TEST_F(RollTest, RowsOutsideTheChoiceAreNotRead) {
  makeRows({0, 0, 0});
  session.grid.setCell(GridColumn::kSide, 1, "zero");
  const ChosenRows chosen = choose({3}, 4);
  ASSERT_TRUE(rollRating(session, RollRow::Exp, fields("7", "0", "6", "0", "6"), 0, &chosen));
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 3), "7");
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 2), "50");
  // Inside the choice a bad Side cell stops the roll as it always does.
  const ChosenRows withBad = choose({1, 3}, 4);
  EXPECT_THROW(rollRating(session, RollRow::Exp, fields("8", "0", "6", "0", "6"), 0, &withBad), ConversionError);
}

TEST_F(RollTest, NoChosenUnitOfTheSideRollsNothingAndSaysSo) {
  makeRows({0, 1, 1});
  const auto before = snapshot();
  for (const ChosenRows& chosen : {ChosenRows{}, choose({}, 4), choose({2, 3}, 4)}) {
    EXPECT_FALSE(rollRating(session, RollRow::Exp, fields("7", "1", "6", "0", "6"), 0, &chosen));
    EXPECT_FALSE(rollAllRatings(session, {fields("7", "1", "6", "0", "6"), fields("7", "1", "6", "0", "6"),
                                          fields("7", "1", "6", "0", "6"), fields("7", "1", "6", "0", "6"),
                                          fields("7", "1", "6", "0", "6")},
                                0, &chosen));
  }
  EXPECT_EQ(snapshot(), before);
  ASSERT_EQ(prompts.messages.size(), 6u);
  EXPECT_EQ(prompts.lastText(), "Select the units to roll first.");
  EXPECT_EQ(prompts.lastTitle(), "Information");
  DiceSource untouched;
  untouched.seed(12345);
  EXPECT_EQ(session.dice.next(), untouched.next());
}

TEST_F(RollTest, RollAllOnChosenRowsRerollsEveryRatingOfThoseRowsOnly) {
  makeRows({1, 1, 1, 0});
  const auto before = snapshot();
  const ChosenRows chosen = choose({2, 4}, 5);
  std::array<RollFields, kRollRowCount> all;
  all.fill(fields("7", "0", "6", "0", "6"));
  ASSERT_TRUE(rollAllRatings(session, all, 1, &chosen));
  for (int r = 1; r <= 4; ++r)
    for (int c = indexOf(GridColumn::kExp); c <= indexOf(GridColumn::kArm); ++c)
      EXPECT_EQ(session.grid.cell(c, r), r == 2 ? "7" : before[static_cast<std::size_t>(r * kGridColumns + c)]);
}

// ---- Dice counts ----------------------------------------------------------

struct CountCase {
  RollRow row;
  const char* d;
  const char* d1;
  const char* text;  // empty: accepted
};

class DiceCountTest : public RollTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(DiceCountTest, CountsAboveTenThousandAreRefusedBeforeAnyDie) {
  const CountCase& c = GetParam();
  makeRows({0, 1, 0});
  const auto before = snapshot();
  const RollFields f = fields("0", c.d, "2", c.d1, "2", "-2147483648", "2147483647");
  const bool rolled = rollRating(session, c.row, f, 0);
  DiceSource reference;
  reference.seed(12345);
  if (*c.text) {
    EXPECT_FALSE(rolled);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(prompts.lastText(), c.text);
    EXPECT_EQ(prompts.lastTitle(), "Error");
    EXPECT_EQ(session.dice.next(), reference.next());  // nothing drawn
    return;
  }
  // Accepted: every die drawn in the roll's order, unit by unit.
  EXPECT_TRUE(rolled);
  EXPECT_TRUE(prompts.messages.empty());
  const int d = std::max(0, toInt(c.d)), d1 = std::max(0, toInt(c.d1));
  for (int r : {1, 3}) {
    std::int64_t a = 0, b = 0;
    if (c.row == RollRow::Sk2) {
      for (int k = 0; k < d; ++k) a += reference.die(2), b += reference.die(2);
      for (int k = 0; k < d1; ++k) a -= reference.die(2), b -= reference.die(2);
      EXPECT_EQ(cell(GridColumn::kInf, r), a);
      EXPECT_EQ(cell(GridColumn::kArt, r), b);
    } else {
      for (int k = 0; k < d; ++k) a += reference.die(2);
      for (int k = 0; k < d1; ++k) a -= reference.die(2);
      EXPECT_EQ(cell(GridColumn::kExp, r), a);
    }
  }
  EXPECT_EQ(session.dice.next(), reference.next());
}

INSTANTIATE_TEST_SUITE_P(
    Limits, DiceCountTest,
    ::testing::Values(
        CountCase{RollRow::Exp, "10000", "10000", ""}, CountCase{RollRow::Sk2, "10000", "3", ""},
        CountCase{RollRow::Exp, "-2147483648", "0", ""},
        CountCase{RollRow::Exp, "10001", "0", "Too many dice in the Exp row: 10001 (at most 10000 of each kind)."},
        CountCase{RollRow::Ral, "2", "100000000",
                  "Too many dice in the Ral row: 100000000 (at most 10000 of each kind)."},
        CountCase{RollRow::Sk2, "2147483647", "2",
                  "Too many dice in the Sk2 row: 2147483647 (at most 10000 of each kind)."}));

TEST_F(RollTest, RollAllRefusesAnOversizedCountBeforeItsFirstRow) {
  makeRows({0, 0});
  const auto before = snapshot();
  std::array<RollFields, kRollRowCount> all;
  all.fill(fields("7", "1", "6", "0", "6"));
  all[4].d1 = "$FFFFFF";
  EXPECT_FALSE(rollAllRatings(session, all, 0));
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(prompts.lastText(), "Too many dice in the Sk2 row: 16777215 (at most 10000 of each kind).");
  // A count that does not convert is left to its row: the rows before it roll.
  all[4].d1 = "0";
  all[2].d = "lots";
  EXPECT_THROW(rollAllRatings(session, all, 0), ConversionError);
  EXPECT_NE(session.grid.cell(GridColumn::kMor, 1), "50");
  EXPECT_EQ(session.grid.cell(GridColumn::kRal, 1), "50");
}

}  // namespace
}  // namespace tarnel

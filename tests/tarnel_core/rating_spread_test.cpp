#include "mainwindow/rating_spread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "model/session.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

// Every outcome of every die, each as likely as the others, through the
// roll's own arithmetic: the chance of each written value.
std::map<std::int64_t, double> enumerate(const RollFormula& f) {
  std::vector<int> faces;  // the sides of each die, plus dice first
  auto sides = [](int s) { return s == 0 ? 1 : std::abs(s); };
  for (int k = 0; k < f.d; ++k) faces.push_back(sides(f.s));
  const std::size_t plus = faces.size();
  for (int k = 0; k < f.d1; ++k) faces.push_back(sides(f.s1));
  double outcomes = 1;
  for (int m : faces) outcomes *= m;
  std::map<std::int64_t, double> chance;
  std::vector<int> roll(faces.size(), 1);
  while (true) {
    std::int64_t v = f.base;
    for (std::size_t k = 0; k < roll.size(); ++k) v += k < plus ? roll[k] : -roll[k];
    if (v > f.max) v = f.max;
    if (v < f.min) v = f.min;
    chance[v] += 1 / outcomes;
    std::size_t k = 0;
    while (k < roll.size() && roll[k] == faces[k]) roll[k++] = 1;
    if (k == roll.size()) break;
    ++roll[k];
  }
  return chance;
}

// Die-by-die convolution of the sums, for formulas too large to enumerate.
std::vector<double> sumOfDice(int count, int sides, std::vector<double> p = {1.0}) {
  for (int k = 0; k < count; ++k) {
    std::vector<double> q(p.size() + static_cast<std::size_t>(sides), 0.0);
    for (std::size_t n = 0; n < p.size(); ++n)
      for (int j = 1; j <= sides; ++j) q[n + static_cast<std::size_t>(j)] += p[n] / sides;
    p.swap(q);
  }
  return p;  // p[v]: chance of the sum v
}

struct EnumerationCase {
  const char* name;
  RollFormula formula;
};

class SpreadMatchesEnumeration : public ::testing::TestWithParam<EnumerationCase> {};

TEST_P(SpreadMatchesEnumeration, ValueByValue) {
  const RollFormula& f = GetParam().formula;
  const auto expected = enumerate(f);
  const auto spread = ratingSpread(f);
  ASSERT_TRUE(spread);
  EXPECT_EQ(spread->first, expected.begin()->first);
  EXPECT_EQ(spread->last(), expected.rbegin()->first);
  double mean = 0, best = 0;
  std::int64_t mostLikely = 0;
  for (std::int64_t v = spread->first; v <= spread->last(); ++v) {
    const double p = expected.count(v) ? expected.at(v) : 0.0;
    EXPECT_NEAR(spread->at(v), p, 1e-12) << v;
    mean += p * static_cast<double>(v);
    if (p > best + 1e-12) best = p, mostLikely = v;
  }
  EXPECT_NEAR(spread->mean, mean, 1e-9);
  EXPECT_EQ(spread->mostLikely, mostLikely);
  EXPECT_NEAR(spread->atMin, expected.count(f.min) ? expected.at(f.min) : 0.0, 1e-12);
  EXPECT_NEAR(spread->atMax, expected.count(f.max) ? expected.at(f.max) : 0.0, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    SmallFormulas, SpreadMatchesEnumeration,
    ::testing::Values(EnumerationCase{"InitialExp", {60, 4, 6, 2, 6, 0, 100}},
                      EnumerationCase{"InitialSk2", {20, 3, 6, 2, 6, 0, 100}},
                      EnumerationCase{"ClampedAtMax", {95, 4, 6, 0, 6, 0, 100}},
                      EnumerationCase{"ClampedAtBothEnds", {10, 2, 6, 1, 4, 9, 14}},
                      EnumerationCase{"MinAboveMaxWins", {45, 4, 6, 2, 6, 50, 40}},
                      EnumerationCase{"ZeroSidesCountOne", {7, 3, 0, 2, 0, 0, 100}},
                      EnumerationCase{"NegativeSidesAsPositive", {0, 2, -5, 1, -3, -100, 100}},
                      EnumerationCase{"NoDiceForCountsBelowOne", {33, 0, 6, -4, 6, 0, 100}},
                      EnumerationCase{"OneSidedDice", {5, 3, 1, 2, -1, 0, 100}},
                      EnumerationCase{"UnevenDice", {0, 1, 20, 2, 3, -10, 30}},
                      EnumerationCase{"EveryValueOutsideTheRange", {500, 2, 6, 0, 6, 0, 100}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RatingSpread, LargeFormulasMatchTheConvolutionOfTheirDice) {
  // Large enough to go through the transform, small enough to convolve here;
  // odd counts of dice make the dice's characteristic function negative.
  for (const RollFormula f : {RollFormula{0, 100, 30, 50, 12, -100000, 100000},
                              RollFormula{1000, 400, 7, 0, 6, 2500, 2800},
                              RollFormula{-50, 2, 2000, 1, 1500, -5000, 5000},
                              RollFormula{0, 21, 100, 0, 6, 0, 3000},
                              RollFormula{10, 3, 1000, 1, 7, -5000, 5000}}) {
    const auto plus = sumOfDice(f.d, f.s);
    const auto minus = sumOfDice(f.d1, f.s1);
    std::map<std::int64_t, double> expected;
    for (std::size_t a = 0; a < plus.size(); ++a)
      for (std::size_t b = 0; b < minus.size(); ++b) {
        if (plus[a] == 0 || minus[b] == 0) continue;
        std::int64_t v = f.base + static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b);
        v = std::clamp<std::int64_t>(v, f.min, f.max);
        expected[v] += plus[a] * minus[b];
      }
    const auto spread = ratingSpread(f);
    ASSERT_TRUE(spread);
    double worst = 0;
    int noise = 0;
    for (const auto& [v, p] : expected) {
      worst = std::max(worst, std::abs(spread->at(v) - p));
      // A far-tail chance is either shown as none or near its true size,
      // never as the transform's rounding noise.
      if (spread->at(v) != 0 && std::abs(spread->at(v) - p) > p * 0.01) ++noise;
    }
    EXPECT_EQ(noise, 0) << f.d << "d" << f.s;
    EXPECT_LT(worst, 1e-13) << f.d << "d" << f.s;
    EXPECT_NEAR(spread->atMin, expected[f.min], 1e-13);
    EXPECT_NEAR(spread->atMax, expected[f.max], 1e-13);
  }
}

TEST(RatingSpread, TenThousandDiceOfAHundredSidesHaveTheirMeanAndVariance) {
  const RollFormula f{0, 10000, 100, 10000, 100, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
  const auto spread = ratingSpread(f);
  ASSERT_TRUE(spread);
  double total = 0, variance = 0;
  for (std::int64_t v = spread->first; v <= spread->last(); ++v) {
    total += spread->at(v);
    variance += spread->at(v) * static_cast<double>(v) * static_cast<double>(v);
  }
  EXPECT_NEAR(total, 1, 1e-12);
  EXPECT_NEAR(spread->mean, 0, 1e-6);
  EXPECT_EQ(spread->mostLikely, 0);
  // Each die of s sides has variance (s^2 - 1) / 12.
  const double expected = 2 * 10000 * (100.0 * 100 - 1) / 12;
  EXPECT_NEAR(variance, expected, expected * 1e-9);
  EXPECT_NEAR(spread->at(-3000), spread->at(3000), 1e-15);
}

TEST(RatingSpread, FollowsTheRollsOwnFrequencies) {
  // The rolls themselves, with a fixed seed, against the computed chances.
  testing::ScriptedPrompts prompts;
  Session session(prompts);
  constexpr int kUnits = 40000;
  session.grid.setRowCount(kUnits + 1);
  for (int r = 1; r <= kUnits; ++r) session.grid.setCell(GridColumn::kSide, r, "0");
  session.dice.seed(2024);
  const RollFields fields{"90", "4", "6", "2", "6", "0", "100"};
  ASSERT_TRUE(rollRating(session, RollRow::Exp, fields, 0));
  std::map<std::int64_t, int> seen;
  for (int r = 1; r <= kUnits; ++r) ++seen[toInt(session.grid.cell(GridColumn::kExp, r))];

  const auto spread = rowSpread(RollRow::Exp, fields).spread;
  ASSERT_TRUE(spread);
  double chiSquare = 0;
  for (std::int64_t v = spread->first; v <= spread->last(); ++v) {
    const double expected = spread->at(v) * kUnits;
    const double diff = (seen.count(v) ? seen.at(v) : 0) - expected;
    chiSquare += diff * diff / expected;
    seen.erase(v);
  }
  EXPECT_TRUE(seen.empty()) << "a rolled value the spread calls impossible";
  // Values 82 to 100, 18 degrees of freedom: the 99.9th percentile is 42.3.
  EXPECT_EQ(spread->first, 82);
  EXPECT_LT(chiSquare, 42.3);
}

TEST(RatingSpread, RowsThatCannotBeChartedSayWhy) {
  struct Case {
    RollFields fields;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{"x", "4", "6", "2", "6", "0", "100"}, "'x' is not a valid integer value"},
      {{"x", "4", "6", "2", "6", "0", "1OO"}, "'1OO' is not a valid integer value"},  // Base is read last
      {{"60", "4", "", "2", "6", "0", "100"}, "'' is not a valid integer value"},
      {{"60", "10001", "6", "2", "6", "0", "100"}, "Too many dice in the Sk1 row: 10001 (at most 10000 of each kind)."},
      {{"60", "4", "6", "100000000", "6", "0", "100"},
       "Too many dice in the Sk1 row: 100000000 (at most 10000 of each kind)."},
      {{"0", "1", "-2147483648", "0", "6", "0", "100"}, "Too wide to chart: more than 2097152 values."},
  };
  for (const Case& c : cases) {
    const RowSpread row = rowSpread(RollRow::Sk1, c.fields);
    EXPECT_FALSE(row.spread) << c.text;
    EXPECT_EQ(row.text, c.text);
  }
  const RowSpread ok = rowSpread(RollRow::Sk1, {"60", "10000", "100", "10000", "100", "0", "100"});
  ASSERT_TRUE(ok.spread);
  EXPECT_TRUE(ok.text.empty());
  EXPECT_EQ(ok.spread->first, 0);
  EXPECT_EQ(ok.spread->last(), 100);
  // Nearly flat between the ends, at the normal curve's height.
  const double sigma = std::sqrt(2 * 10000 * (100.0 * 100 - 1) / 12);
  EXPECT_NEAR(ok.spread->at(60), 1 / (std::sqrt(2 * std::numbers::pi) * sigma), 1e-8);
  EXPECT_GT(ok.spread->atMin, 0.49);
  EXPECT_GT(ok.spread->atMax, 0.49);
}

}  // namespace
}  // namespace tarnel

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/rating_rolls.h"

namespace tarnel {

// A roll row's formula as numbers: Base + d x s - d1 x s1, clamped to Min..Max.
struct RollFormula {
  int base = 0, d = 0, s = 0, d1 = 0, s1 = 0, min = 0, max = 0;
};

// The distribution of the value a roll writes (for Sk2, of each of its two
// values, which are drawn alike and independently).
struct RatingSpread {
  std::int64_t first = 0;            // the value probability[0] belongs to
  std::vector<double> probability;   // of first, first + 1, ..., summing to 1
  double mean = 0;
  std::int64_t mostLikely = 0;       // the lowest of the most likely values
  double atMin = 0;                  // chance of writing exactly Min
  double atMax = 0;                  // chance of writing exactly Max

  std::int64_t last() const { return first + static_cast<std::int64_t>(probability.size()) - 1; }
  double at(std::int64_t value) const;  // 0 outside first..last
};

// The widest spread computed: more values than this (before clamping) and
// ratingSpread gives nothing.
inline constexpr std::int64_t kMaxSpreadValues = std::int64_t{1} << 21;

// The exact distribution of the formula under the rolls' die rules: counts
// of zero or less throw no dice, a negative s counts as its absolute value,
// s = 0 always gives 1. Small formulas are convolved die by die; large ones
// through the dice's characteristic function and one inverse FFT, over a
// window outside which less than 1e-18 of the chance lies. Counts above
// kMaxDiceCount are the caller's to refuse; a formula spreading over more
// than kMaxSpreadValues values gives nothing.
std::optional<RatingSpread> ratingSpread(const RollFormula& formula);

// What the spread window shows for a roll row: the spread, or a one-line
// text saying why there is none (a field that does not convert, too many
// dice, too wide a spread).
struct RowSpread {
  std::optional<RatingSpread> spread;
  std::string text;
};
RowSpread rowSpread(RollRow row, const RollFields& fields);

}  // namespace tarnel

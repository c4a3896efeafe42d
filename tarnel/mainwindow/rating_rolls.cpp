#include "mainwindow/rating_rolls.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "model/session.h"
#include "common/int_convert.h"

namespace tarnel {

namespace {

std::size_t index(RollRow row) { return static_cast<std::size_t>(row); }

// The class of a unit row; rows past the table (never filled by a load) read
// as 'T'.
char classOfRow(const Session& session, int row) {
  const int k = row - 1;
  if (k < 0 || k >= kUnitCapacity) return 'T';
  return session.PrimarySkillClass[static_cast<std::size_t>(k)];
}

// Max first, then Min, so Min wins when Min > Max. The result always fits
// an int, since it is one of the bounds or lies between them.
int clamp(std::int64_t v, int min, int max) {
  if (v > max) v = max;
  if (v < min) v = min;
  return static_cast<int>(v);
}

// Whether a roll limited to `chosen` has a unit of the side to roll. A chosen
// row whose Side cell does not convert counts, so that the roll reaches it
// and reports the conversion as an unlimited roll does.
bool hasChosenUnit(const UnitGridTable& grid, int side, const ChosenRows& chosen) {
  const int rows = std::min(grid.rowCount(), static_cast<int>(chosen.size()));
  for (int r = 1; r < rows; ++r) {
    if (!chosen[static_cast<std::size_t>(r)]) continue;
    int value = 0;
    if (!tryToInt(grid.cell(GridColumn::kSide, r), value) || value == side) return true;
  }
  return false;
}

bool isChosen(const ChosenRows* chosen, int row) {
  return !chosen || (static_cast<std::size_t>(row) < chosen->size() && (*chosen)[static_cast<std::size_t>(row)]);
}

// The refusals that come before any die: too many dice, no unit chosen.
bool refuse(Session& session, const std::string& tooMany) {
  session.prompts.message(tooMany, "Error", MessageIcon::Error);
  return false;
}

bool refuseUnchosen(Session& session) {
  session.prompts.message(kSelectUnitsText, "Information", MessageIcon::Information);
  return false;
}

}  // namespace

RollDice convertRollDice(const RollFields& f) {
  RollDice x{};
  x.d = toInt(f.d);
  x.s = toInt(f.s);
  x.d1 = toInt(f.d1);
  x.s1 = toInt(f.s1);
  x.min = toInt(f.min);
  x.max = toInt(f.max);
  return x;
}

std::string tooManyDiceText(RollRow row, int d, int d1) {
  const int count = d > kMaxDiceCount ? d : d1;
  if (count <= kMaxDiceCount) return {};
  return std::string("Too many dice in the ") + rollRowLabel(row) + " row: " + std::to_string(count) +
         " (at most " + std::to_string(kMaxDiceCount) + " of each kind).";
}

RollFields initialRollFields(RollRow row) {
  switch (row) {
    case RollRow::Exp: return {"60", "4", "6", "2", "6", "0", "100"};
    case RollRow::Mor: return {"50", "4", "6", "2", "6", "0", "100"};
    case RollRow::Ral: return {"40", "4", "6", "2", "6", "0", "100"};
    case RollRow::Sk1: return {"60", "4", "6", "2", "6", "0", "100"};
    case RollRow::Sk2: return {"20", "3", "6", "2", "6", "0", "100"};
  }
  return {};
}

const char* rollRowLabel(RollRow row) {
  static constexpr std::array<const char*, kRollRowCount> labels = {"Exp", "Mor", "Ral", "Sk1", "Sk2"};
  return labels[index(row)];
}

const char* rollButtonCaption(RollRow row) {
  static constexpr std::array<const char*, kRollRowCount> captions = {"Exp Roll", "Mor Roll", "Rally Roll",
                                                                      "Sk1 Roll", "Sk2 Roll"};
  return captions[index(row)];
}

char primarySkillClassOf(int inf, int art, int arm) {
  if (inf > art && inf > arm) return 'I';
  if (art > inf && art > arm) return 'A';
  return 'T';
}

GridColumn sk1Column(char skillClass) {
  switch (skillClass) {
    case 'I': return GridColumn::kInf;
    case 'A': return GridColumn::kArt;
    default: return GridColumn::kArm;
  }
}

std::array<GridColumn, 2> sk2Columns(char skillClass) {
  switch (skillClass) {
    case 'I': return {GridColumn::kArt, GridColumn::kArm};
    case 'A': return {GridColumn::kInf, GridColumn::kArm};
    default: return {GridColumn::kInf, GridColumn::kArt};
  }
}

bool rollRating(Session& session, RollRow row, const RollFields& fields, int side, const ChosenRows* chosen) {
  const RollDice x = convertRollDice(fields);
  if (const std::string tooMany = tooManyDiceText(row, x.d, x.d1); !tooMany.empty())
    return refuse(session, tooMany);
  UnitGridTable& grid = session.grid;
  if (chosen && !hasChosenUnit(grid, side, *chosen)) return refuseUnchosen(session);
  DiceSource& dice = session.dice;

  for (int r = 1; r < grid.rowCount(); ++r) {
    if (!isChosen(chosen, r)) continue;
    if (toInt(grid.cell(GridColumn::kSide, r)) != side) continue;
    // Base is read again for every unit rolled, so a bad Base stops the roll
    // at the first unit of the side, before any cell changes.
    const std::int64_t base = toInt(fields.base);

    if (row != RollRow::Sk2) {
      std::int64_t v = base;
      for (int k = 0; k < x.d; ++k) v += dice.die(x.s);
      for (int k = 0; k < x.d1; ++k) v -= dice.die(x.s1);
      GridColumn column = GridColumn::kExp;
      if (row == RollRow::Mor) column = GridColumn::kMor;
      if (row == RollRow::Ral) column = GridColumn::kRal;
      if (row == RollRow::Sk1) column = sk1Column(classOfRow(session, r));
      grid.setCell(column, r, std::to_string(clamp(v, x.min, x.max)));
      session.markModified();
      continue;
    }

    // Sk2: two values from the same formula, their draws alternating.
    std::int64_t a = base;
    std::int64_t b = base;
    for (int k = 0; k < x.d; ++k) {
      a += dice.die(x.s);
      b += dice.die(x.s);
    }
    for (int k = 0; k < x.d1; ++k) {
      a -= dice.die(x.s1);
      b -= dice.die(x.s1);
    }
    const auto columns = sk2Columns(classOfRow(session, r));
    grid.setCell(columns[0], r, std::to_string(clamp(a, x.min, x.max)));
    grid.setCell(columns[1], r, std::to_string(clamp(b, x.min, x.max)));
    session.markModified();
  }
  return true;
}

bool rollAllRatings(Session& session, const std::array<RollFields, kRollRowCount>& fields, int side,
                    const ChosenRows* chosen) {
  // Counts are looked at before anything rolls; one that does not convert is
  // left to its row, which stops there as a single roll would.
  for (RollRow row : kRollRows) {
    const RollFields& f = fields[index(row)];
    int d = 0, d1 = 0;
    if (!tryToInt(f.d, d)) d = 0;
    if (!tryToInt(f.d1, d1)) d1 = 0;
    if (const std::string tooMany = tooManyDiceText(row, d, d1); !tooMany.empty()) return refuse(session, tooMany);
  }
  if (chosen && !hasChosenUnit(session.grid, side, *chosen)) return refuseUnchosen(session);
  for (RollRow row : kRollRows)
    if (!rollRating(session, row, fields[index(row)], side, chosen)) return false;
  return true;
}

}  // namespace tarnel

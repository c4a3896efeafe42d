#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/unit_grid_table.h"

namespace tarnel {

class Session;

// The five roll rows of the main window, from the top.
enum class RollRow { Exp, Mor, Ral, Sk1, Sk2 };
inline constexpr int kRollRowCount = 5;
inline constexpr std::array<RollRow, kRollRowCount> kRollRows = {RollRow::Exp, RollRow::Mor, RollRow::Ral,
                                                                 RollRow::Sk1, RollRow::Sk2};

// The texts of one roll row: Base + d x s - d1 x s1, clamped to Min..Max.
// They stay texts until a roll converts them.
struct RollFields {
  std::string base, d, s, d1, s1, min, max;
};

// The numbers a roll converts before it touches any row, in the order it
// converts them; the first text that does not convert throws
// ConversionError. Base is not among them: a roll converts it per unit.
struct RollDice {
  int d = 0, s = 0, d1 = 0, s1 = 0, min = 0, max = 0;
};
RollDice convertRollDice(const RollFields& fields);

// What the fields hold when the main window is created.
RollFields initialRollFields(RollRow row);

// Captions of the roll panel.
const char* rollRowLabel(RollRow row);      // "Exp", "Mor", "Ral", "Sk1", "Sk2"
const char* rollButtonCaption(RollRow row);  // "Exp Roll", ..., "Rally Roll", ...
inline constexpr std::array<const char*, 7> kRollFieldLabels = {"Base", "d", "s", "d1", "s1", "Min", "Max"};
// The widest text of each field that a roll takes: any 32-bit integer, the
// dice counts d and d1 within kMaxDiceCount (with a sign: below 1, no dice).
inline constexpr std::array<const char*, 7> kRollFieldWidest = {"-2147483648", "-10000",      "-2147483648",
                                                                "-10000",      "-2147483648", "-2147483648",
                                                                "-2147483648"};
inline constexpr const char* kRollAllCaption = "Roll All";

// The main skill of a unit from its Inf, Art and Arm values: 'I' or 'A' when
// that skill is strictly the largest, 'T' otherwise (ties included).
char primarySkillClassOf(int inf, int art, int arm);

// The grid column Sk1 writes for a class, and the two columns Sk2 writes
// (first value, second value). Any class but 'I' and 'A' counts as 'T'.
GridColumn sk1Column(char skillClass);
std::array<GridColumn, 2> sk2Columns(char skillClass);

// A roll throws no more dice of one kind than this: a count above it is
// refused before any die is drawn, so a mistyped count cannot hang the window.
inline constexpr int kMaxDiceCount = 10000;
// The refusal of a row's d or d1 above kMaxDiceCount, titled "Error"; empty
// when both counts are within it.
std::string tooManyDiceText(RollRow row, int d, int d1);
inline constexpr const char* kSelectUnitsText = "Select the units to roll first.";

// The grid rows a roll is limited to: chosen[r] for grid row r; rows past
// the end are not chosen. A null pointer stands for every row.
using ChosenRows = std::vector<bool>;

// Re-rolls the row's rating in the grid for every unit row whose Side cell
// equals `side` (and, with `chosen`, that is chosen; the other rows draw no
// dice and their Side cells are not read). d, s, d1, s1, Min and Max are
// converted first, Base at each unit row rolled; a text that does not
// convert throws ConversionError and leaves the rows already rolled as they
// are. Returns false when the roll was refused with a message before any
// row changed: too many dice, or no chosen unit of the side.
bool rollRating(Session& session, RollRow row, const RollFields& fields, int side,
                const ChosenRows* chosen = nullptr);

// "Roll All": the five rows from Exp to Sk2, as if each button were pressed
// in turn. A count above the limit in any row (one that converts) is refused
// before the first row rolls; a conversion error stops the rows after it.
bool rollAllRatings(Session& session, const std::array<RollFields, kRollRowCount>& fields, int side,
                    const ChosenRows* chosen = nullptr);

}  // namespace tarnel

#pragma once

#include <array>
#include <string>

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

// What the fields hold when the main window is created.
RollFields initialRollFields(RollRow row);

// Captions of the roll panel.
const char* rollRowLabel(RollRow row);      // "Exp", "Mor", "Ral", "Sk1", "Sk2"
const char* rollButtonCaption(RollRow row);  // "Exp Roll", ..., "Rally Roll", ...
inline constexpr std::array<const char*, 7> kRollFieldLabels = {"Base", "d", "s", "d1", "s1", "Min", "Max"};
inline constexpr const char* kRollAllCaption = "Roll All";

// The main skill of a unit from its Inf, Art and Arm values: 'I' or 'A' when
// that skill is strictly the largest, 'T' otherwise (ties included).
char primarySkillClassOf(int inf, int art, int arm);

// The grid column Sk1 writes for a class, and the two columns Sk2 writes
// (first value, second value). Any class but 'I' and 'A' counts as 'T'.
int sk1Column(char skillClass);
std::array<int, 2> sk2Columns(char skillClass);

// Re-rolls the row's rating in the grid for every unit row whose Side cell
// equals `side`. d, s, d1, s1, Min and Max are converted first, Base at each
// unit row rolled; a text that does not convert throws ConversionError and
// leaves the rows already rolled as they are.
void rollRating(Session& session, RollRow row, const RollFields& fields, int side);

}  // namespace tarnel

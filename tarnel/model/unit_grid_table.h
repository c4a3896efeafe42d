#pragma once

#include <array>
#include <string>

#include "model/game_model.h"
#include "model/text_table.h"

namespace tarnel {

// The unit grid's columns. Scoped, so that a column index never stands for a
// record offset (UnitOffset, LeaderField) or the other way round.
enum class GridColumn : int { kSide, kUnit, kName, kLeader, kExp, kMor, kRal, kInf, kArt, kArm };
inline constexpr int kGridColumns = 10;
constexpr int indexOf(GridColumn col) { return static_cast<int>(col); }

// The unit grid as a text table: row r belongs to unit r - 1. Its cells are
// reached by GridColumn; the index overloads serve code that walks every
// column.
class UnitGridTable : public TextTable {
 public:
  explicit UnitGridTable(int rows = 5, int defaultWidth = 32) : TextTable(kGridColumns, rows, defaultWidth) {}

  using TextTable::cell;
  using TextTable::setCell;
  using TextTable::colWidth;
  using TextTable::setColWidth;
  const std::string& cell(GridColumn col, int row) const { return cell(indexOf(col), row); }
  void setCell(GridColumn col, int row, std::string text) { setCell(indexOf(col), row, std::move(text)); }
  int colWidth(GridColumn col) const { return colWidth(indexOf(col)); }
  void setColWidth(GridColumn col, int width) { setColWidth(indexOf(col), width); }
};

// The six rating columns and the byte each shows: experience and morale of
// unit i, and rally and the three skills of its leader record i.
struct RatingColumn {
  GridColumn column;
  UnitOffset GenerationLayout::*unitField;  // null for a leader record field
  LeaderField leaderField;
};
inline constexpr std::array<RatingColumn, 6> kRatingColumns{{
    {GridColumn::kExp, &GenerationLayout::experience, {}},
    {GridColumn::kMor, &GenerationLayout::morale, {}},
    {GridColumn::kRal, nullptr, LeaderField::kRally},
    {GridColumn::kInf, nullptr, LeaderField::kInfantry},
    {GridColumn::kArt, nullptr, LeaderField::kArtillery},
    {GridColumn::kArm, nullptr, LeaderField::kArmour},
}};

int ratingByte(const GameDocument& doc, int unit, const RatingColumn& rating);
void setRatingByte(GameDocument& doc, int unit, const RatingColumn& rating, int value);

// Reading the typed ratings back into the document, for every grid row.
// Strict converts each cell with the toolkit's conversion and stops at the
// first cell that is no integer (ConversionError), keeping what it stored
// before; in which order the unit and the leader columns are taken decides
// what that is. Lenient skips such a cell, leaving the document's byte.
enum class CellReading { kStrict, kLenient };
enum class RatingOrder { kUnitsFirst, kLeadersFirst };
void readRatingsBack(const UnitGridTable& grid, GameDocument& doc, CellReading reading,
                     RatingOrder order = RatingOrder::kLeadersFirst);

}  // namespace tarnel

#include "model/unit_grid_table.h"

#include "common/int_convert.h"

namespace tarnel {

int ratingByte(const GameDocument& doc, int unit, const RatingColumn& rating) {
  return rating.unitField ? doc.unitByte(unit, doc.layout->*rating.unitField)
                          : doc.leaderByte(unit, rating.leaderField);
}

void setRatingByte(GameDocument& doc, int unit, const RatingColumn& rating, int value) {
  if (rating.unitField)
    doc.setUnitByte(unit, doc.layout->*rating.unitField, value);
  else
    doc.setLeaderByte(unit, rating.leaderField, value);
}

void readRatingsBack(const UnitGridTable& grid, GameDocument& doc, CellReading reading, RatingOrder order) {
  const bool unitsFirst = order == RatingOrder::kUnitsFirst;
  for (const bool unitPass : {unitsFirst, !unitsFirst}) {
    for (int r = 1; r < grid.rowCount(); ++r) {
      for (const RatingColumn& rating : kRatingColumns) {
        if ((rating.unitField != nullptr) != unitPass) continue;
        const std::string& text = grid.cell(rating.column, r);
        int value = 0;
        if (reading == CellReading::kStrict)
          value = common::toInt(text);
        else if (!common::tryToInt(text, value))
          continue;
        setRatingByte(doc, r - 1, rating, value);
      }
    }
  }
}

}  // namespace tarnel

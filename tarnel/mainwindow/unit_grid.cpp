#include "mainwindow/unit_grid.h"

#include <algorithm>

#include "mainwindow/rating_rolls.h"
#include "model/field_catalogue.h"
#include "model/nations.h"

namespace tarnel {

std::string leaderText(const GameModel& m, int leader) { return leaderNameText(m, m.leaderOffset(leader)); }

namespace {

// The unit count the grid shows, after the capacity message when there are
// more units than the grid holds.
int gridUnits(Session& session) {
  GameModel& model = session.model;
  int n = model.countUnits();
  if (n > kUnitCapacity) {
    session.prompts.message("You have exceed the unit capacity of Tarnel.\nPlease EXIT.", "Error",
                    MessageIcon::Error);
    n = kUnitCapacity;  // every per-unit table holds 800 entries
  }
  model.unitCount = n;
  return n;
}

// Rows 1 to n of `grid` from the model, and the side names from the first
// unit of each side.
void writeUnitRows(GameModel& model, UnitGridTable& grid, int n) {
  const GenerationLayout& L = *model.layout;
  std::array<bool, 256> marked{};
  int counters[2] = {0, 0};
  std::array<bool, 2> found{};
  for (int i = 0; i < n; ++i) {
    const int row = i + 1;
    const int formation = model.unitByte(i, L.formation);
    const int side = model.unitByte(i, L.side);
    const int which = side == 0 ? 0 : 1;
    const char base = side == 0 ? 'A' : 'a';
    if (!marked[static_cast<std::size_t>(formation)]) {
      ++counters[which];
      marked[static_cast<std::size_t>(formation)] = true;
    }
    const int c = counters[which];
    std::string designation;
    designation += c <= 26 ? ' ' : static_cast<char>(base + (c - 1) / 26 - 1);
    designation += static_cast<char>(base + (c - 1) % 26);
    designation += std::to_string(model.unitByte(i, L.formationIndex));
    grid.setCell(GridColumn::kUnit, row, std::move(designation));
    grid.setCell(GridColumn::kSide, row, std::to_string(side));

    if (side <= 1 && !found[static_cast<std::size_t>(side)]) {
      const auto s = static_cast<std::size_t>(side);
      found[s] = true;
      model.sideNation[s] = model.unitByte(i, L.nation);
      model.sideNames[s] = nationName(model.sideNation[s]);
      model.sideMob[s] = model.unitByte(i, L.mobNumbers);
    }
    grid.setCell(GridColumn::kName, row, model.unitName(i));
    // Unit i shows leader record i, the record the saves and editors write.
    grid.setCell(GridColumn::kLeader, row, leaderText(model, i));
    for (const RatingColumn& rating : kRatingColumns)
      grid.setCell(rating.column, row, std::to_string(ratingByte(model, i, rating)));
  }
}

void showSideNames(Session& session) {
  session.sideItems = session.model.sideNames;
  session.view->sideItemsChanged();
}

}  // namespace

void fillGrid(Session& session) {
  GameModel& model = session.model;
  UnitGridTable& grid = session.grid;
  const int n = gridUnits(session);
  grid.beginUpdate();
  grid.setRowCount(n + 1);
  writeUnitRows(model, grid, n);
  grid.endUpdate();
  // The selection outlives a load; its weapon copies must be this file's, or
  // the unit data editor would store the previous file's weapons.
  if (model.selectedRow >= 1 && model.selectedRow <= n) {
    for (int k = 0; k < 4; ++k)
      model.selectedWeapons[static_cast<std::size_t>(k)] =
          static_cast<std::uint16_t>(model.unitByte(model.selectedRow - 1, model.layout->weapons + k));
  }
  showSideNames(session);
}

void refillGridAfterSave(Session& session) {
  GameModel& model = session.model;
  UnitGridTable& grid = session.grid;
  const int n = std::min(model.countUnits(), kUnitCapacity);
  if (grid.rowCount() != n + 1) {
    fillGrid(session);
    return;
  }
  UnitGridTable saved(n + 1, 0);
  writeUnitRows(model, saved, n);
  // Cell by cell, so that the view keeps its place and selection.
  for (int r = 1; r <= n; ++r)
    for (int c = 0; c < kGridColumns; ++c)
      if (grid.cell(c, r) != saved.cell(c, r)) grid.setCell(c, r, saved.cell(c, r));
  showSideNames(session);
}

void classifyUnits(Session& session) {
  const GameModel& model = session.model;
  const UnitGridTable& grid = session.grid;
  const int n = std::min(model.unitCount, kUnitCapacity);
  for (int k = 0; k < n; ++k) {
    const int inf = toInt(grid.cell(GridColumn::kInf, k + 1));
    const int art = toInt(grid.cell(GridColumn::kArt, k + 1));
    const int arm = toInt(grid.cell(GridColumn::kArm, k + 1));
    session.PrimarySkillClass[static_cast<std::size_t>(k)] = primarySkillClassOf(inf, art, arm);
  }
}

void selectCell(Session& session, int col, int row) {
  GameModel& model = session.model;
  model.selectedCol = col;
  model.selectedRow = row;
  const int unit = row - 1;
  for (int k = 0; k < 4; ++k)
    model.selectedWeapons[static_cast<std::size_t>(k)] =
        static_cast<std::uint16_t>(model.unitByte(unit, model.layout->weapons + k));
  session.view->unitSelected();
}

}  // namespace tarnel

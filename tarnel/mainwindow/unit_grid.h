#pragma once

#include <string>

#include "model/session.h"

namespace tarnel {

// The leader text of the grid: name bytes 0..14, bytes below 32 or above 123
// read as 0, the first 0 shown as "/", ending at the next 0.
std::string leaderText(const GameModel& model, int leader);

// Fills the unit grid from the model after a load: designations, names,
// leaders and ratings, the side names and the side selector's items.
void fillGrid(Session& session);
// After a save: the grid shows what the file now holds (a rating typed as 300
// holds 44, a name typed into the grid was never saved). Only the cells that
// differ change, so the view keeps its place; the selected unit's weapon
// copies stay as the unit data editor left them.
void refillGridAfterSave(Session& session);
// The primary skill class of every unit row from its Inf, Art and Arm cells.
void classifyUnits(Session& session);
// Records the selected cell and copies the unit's four weapon numbers.
void selectCell(Session& session, int col, int row);

}  // namespace tarnel

#pragma once

// The main window's commands on named fields: "Export JSON File", "Import
// JSON File" and "Compare With File". Each has a dialog of its own, which the
// window keeps between commands.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/game_json.h"
#include "model/session.h"

namespace tarnel {

// A copy of the open game with the grid's rating columns as a save would
// take them; a cell that is no number keeps the image's value.
GameModel modelAsTyped(const Session& session);

// The two JSON commands' dialogs and the JSON file last written or read,
// whose folder both dialogs start in (the open game's folder before any).
struct JsonDialogs {
  FileDialogState save;
  FileDialogState open;
  std::string lastFile;
};

// The open game as a save would write it (the grid's typed ratings read
// back) into a JSON file. Throws ConversionError on a bad rating cell.
void exportJsonFile(Session& session, JsonDialogs& dialogs);

// A JSON file applied to the open game: a refused document is reported and
// changes nothing; one exported from a game of another generation or unit
// count is applied only when the user says so; an applied one refills the
// grid, and the side's weapon names when a side's MOB number changed.
// Returns whether any field changed.
bool importJsonFile(Session& session, JsonDialogs& dialogs);

// The differences of the open game (A, ratings as typed) against a chosen
// game file (B); nullopt when nothing was compared.
struct Comparison {
  std::string otherPath;
  std::vector<GameDifference> lines;
  std::shared_ptr<const GameModel> other;  // game B
};
std::optional<Comparison> compareWithFile(Session& session, FileDialogState& dialog);

// The comparison made again against the same game B, after a change.
Comparison compareAgain(const Session& session, const Comparison& comparison);

// A line as the compare window shows it: a unit's field line names the unit
// beside its index ("units[20] MG Team 20: mor 81 -> 11").
std::string comparisonLineText(const Session& session, const GameDifference& line);

// Whether a line can be taken from game B: only lines of named fields can.
inline bool canTake(const GameDifference& line) { return line.field != nullptr; }

// "Take From File": the fields of the chosen lines stored as game B holds
// them, as one command. Returns the number of fields taken.
int takeFromFile(Session& session, const Comparison& comparison, const std::vector<std::size_t>& lines);

// Named fields stored into the open game as an import stores them: the
// grid's typed ratings reach the image first, `store` writes the fields, then
// the grid is refilled, the side's weapon names reread when a side's MOB
// number changed, and the open windows show the game anew.
void storeNamedFields(Session& session, const std::function<void(GameModel&)>& store);

}  // namespace tarnel

#pragma once

// The main window's commands on JSON files: "Export JSON File" and "Import
// JSON File". Each has a dialog of its own, which the window keeps between
// commands.

#include <functional>

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

// The open game as a save would write it, over a copy: the grid's rating
// cells read back, a cell that is no number keeping the image's value.
GameModel modelAsTyped(const Session& session);

// Named fields stored into the open game as an import stores them: the
// grid's typed ratings reach the image first, `store` writes the fields, then
// the grid is refilled, the side's weapon names reread when a side's MOB
// number changed, and the open windows show the game anew.
void storeNamedFields(Session& session, const std::function<void(GameModel&)>& store);

}  // namespace tarnel

#pragma once

// The main window's commands on JSON files: "Export JSON File" and "Import
// JSON File". Each has a dialog of its own, which the window keeps between
// commands.

#include "model/session.h"

namespace tarnel {

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

}  // namespace tarnel

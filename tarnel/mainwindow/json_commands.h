#pragma once

// The main window's commands on JSON files: "Export JSON File" and "Import
// JSON File". Each has a dialog of its own, which the window keeps between
// commands.

#include "model/session.h"

namespace tarnel {

// The open game as a save would write it (the grid's typed ratings read
// back) into a JSON file. Throws ConversionError on a bad rating cell.
void exportJsonFile(Session& session, FileDialogState& dialog);

// A JSON file applied to the open game: a refused document is reported and
// changes nothing; an applied one refills the grid, and the side's weapon
// names when a side's MOB number changed. Returns whether any field changed.
bool importJsonFile(Session& session, FileDialogState& dialog);

}  // namespace tarnel

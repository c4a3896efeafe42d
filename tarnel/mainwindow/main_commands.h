#pragma once

#include <string>

#include "model/session.h"

namespace tarnel {

// The main window's game-file commands, shared by the menu and tarnel-cli.
// A load that brought a file in is followed by the grid fill, the two sides'
// MOB files and the units' skill classes.
void loadGame(Session& session, GameFileKind kind);
void saveGame(Session& session, GameFileKind kind);
// The start-up load of a version 1.1 or VN3 file named on the command line;
// other files are ignored. Returns whether a load ran.
bool startupLoad(Session& session, const std::string& path);
// What follows every load: grid fill, MOB files, skill classes.
void afterLoad(Session& session);
// Before the program ends: true when nothing unsaved would be lost, or the
// user chose to save (and the save succeeded) or to discard.
bool mayDropChanges(Session& session);

}  // namespace tarnel

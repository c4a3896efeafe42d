#pragma once

#include <optional>
#include <string>

#include "gamefiles/game_decoders.h"

#include "model/session.h"

namespace tarnel {

class DumpWindow;

// The main window's game-file commands, shared by the menu and tarnel-cli.
// A load that brought a file in is followed by the grid fill, the two sides'
// MOB files and the units' skill classes. True when the file was brought in;
// a refused or cancelled load leaves the loaded game as it was.
bool loadGame(Session& session, GameFileKind kind);
// A save that wrote its file refills the grid from the model, so the grid
// shows what the file holds. With a path it writes there without a dialog.
// True when the file was written.
bool saveGame(Session& session, GameFileKind kind, const std::string* path = nullptr);
// Why a file of generation `kind` (as gameFileKindOf found it) cannot be
// opened: a folder, a file that cannot be read, or one of no generation.
// nullopt for a game file.
std::optional<LoadMessage> refusalOf(const std::string& path, GameFileKind kind);
// Loads `path` by the load of the generation its bytes show, without the
// chooser and without asking about unsaved changes; a file of no generation
// is refused with a message. True when the file was brought in.
bool loadGameFile(Session& session, const std::string& path);
// The start-up load of the file named on the command line, of any
// generation; one that cannot be loaded says why. True when it was loaded.
bool startupLoad(Session& session, const std::string& path);
// What follows every load: grid fill, MOB files, skill classes. A warning
// of the load (a file cut short) is shown once the grid shows the new game.
void afterLoad(Session& session, const std::string& warning = {});
// Before the program ends: true when nothing unsaved would be lost, or the
// user chose to save (and the save succeeded) or to discard.
bool mayDropChanges(Session& session);

// "Paste CSV Unit File": the grid's typed ratings go into the model first (as
// a save takes them), then the file's units over the unit section, then the
// grid is refilled from the model, so that it shows what a save will write.
void pasteCsvUnitFile(Session& session);
// The dump window's "Load": the dump into the image, then the grid refilled.
void loadDumpFile(Session& session, DumpWindow& window);

}  // namespace tarnel

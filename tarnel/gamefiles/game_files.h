#pragma once

#include <string>

#include "model/comment.h"
#include "model/session.h"

namespace tarnel {

// The load and save commands of the three game-file generations. A load
// returns true when the image now holds the chosen file; the caller then fills
// the grid and reads the MOB files. A refused or cancelled load changes nothing.
// With a path the chooser is skipped and that file is read.
bool loadV10(Session& session, const std::string* path = nullptr);
// Version 1.1 or VN3; with a path the chooser is skipped. The warning for a
// file cut short goes to `cutShort` when given, for the caller to show once
// the game is on view; else it is shown here.
bool loadSectioned(Session& session, GameFileKind kind, const std::string* path = nullptr,
                   std::string* cutShort = nullptr);

struct DecodedGame;
// Takes a decoded file's image, directory, layout and generation into the
// model; a version 1.0 file's bytes go over the image as they always did.
void adoptDecoded(GameModel& model, const DecodedGame& decoded);

// Each save checks the loaded generation, reads the grid's rating columns
// back into the image (throwing ConversionError on a bad cell), asks for a
// name (unless a path is given) and writes the file. A file about to be
// replaced is offered to the session's file events first, which may stop the
// save. True when the file was written.
bool saveV10(Session& session, const std::string* path = nullptr);
bool saveSectioned(Session& session, GameFileKind kind, const std::string* path = nullptr);

}  // namespace tarnel

#pragma once

#include <string>

#include "model/comment.h"
#include "model/session.h"

namespace tarnel {

// The load and save commands of the three game-file generations. A load
// returns true when the image now holds the chosen file; the caller then fills
// the grid and reads the MOB files. A refused or cancelled load changes nothing.
bool loadV10(Session& session);
// Version 1.1 or VN3; with commandLinePath the chooser is skipped. The
// warning for a file cut short goes to `cutShort` when given, for the caller
// to show once the game is on view; else it is shown here.
bool loadSectioned(Session& session, GameFileKind kind, const std::string* commandLinePath = nullptr,
                   std::string* cutShort = nullptr);

struct DecodedGame;
// Takes a decoded file's image, directory, layout and generation into the
// model; a version 1.0 file's bytes go over the image as they always did.
void adoptDecoded(GameModel& model, const DecodedGame& decoded);

// Each save checks the loaded generation, reads the grid's rating columns
// back into the image (throwing ConversionError on a bad cell), asks for a
// name and writes the file. True when the file was written.
bool saveV10(Session& session);
bool saveSectioned(Session& session, GameFileKind kind);

}  // namespace tarnel

#pragma once

#include <string>

#include "model/side_tables.h"

namespace tarnel {

class Session;

// "%sMOB%02d" or, for VN3 games, "%sKOB%02d".
std::string mobFileName(const std::string& mobDir, bool vn3, int mobNumber);

// Reads both sides' files, side 0 first, warning once per side that cannot be
// opened. A file the MOB directory lacks is read from the loaded game's
// directory when that holds it; the warning names the MOB directory's file.
// Bytes beyond the end of a short file read as zero.
void readMobFiles(Session& session);

// "Locate MOB Files": the MOB directory becomes the chosen file's directory.
// False when the dialog was cancelled.
bool locateMobFiles(Session& session);

// True when `dir` holds a file the reader could open under some MOB number:
// "MOB" or "KOB" followed by two or more digits.
bool holdsMobFiles(const std::string& dir);

// The MOB directory at start-up. It stays at the program directory when that
// holds MOB or KOB files; otherwise (an installed program) it starts at
// `remembered`, the directory "Locate MOB Files" chose in an earlier run,
// when that still exists.
void startMobDir(Session& session, const std::string& remembered);

}  // namespace tarnel

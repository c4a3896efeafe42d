#pragma once

#include <string>

#include "model/side_tables.h"

namespace tarnel {

class Session;

// "%sMOB%02d" or, for VN3 games, "%sKOB%02d".
std::string mobFileName(const std::string& mobDir, bool vn3, int mobNumber);

// Reads both sides' files, side 0 first, warning once per side that cannot be
// opened. Bytes beyond the end of a short file read as zero.
void readMobFiles(Session& session);

// "Locate MOB Files": the MOB directory becomes the chosen file's directory.
void locateMobFiles(Session& session);

}  // namespace tarnel

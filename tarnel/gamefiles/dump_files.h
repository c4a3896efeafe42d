#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/game_model.h"

namespace tarnel {

// Decoded bytes of directory entry j (0 = the 20-byte file header).
std::vector<std::uint8_t> sectionBytes(const GameModel& model, int entry);

// Every directory entry's decoded bytes, back to back.
std::vector<std::uint8_t> allSectionsBytes(const GameModel& model);

// "%d bytes in %s", the heading, then "%3d  %7d   %6X" per non-empty entry,
// CR LF line ends.
std::string statisticsText(const GameModel& model, const std::string& path);

// Number of directory entries of length above 0, the header included.
int sectionCount(const GameModel& model);

}  // namespace tarnel

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/game_model.h"

namespace samplegen {

struct SampleOptions {
  tarnel::GameFileKind kind = tarnel::GameFileKind::Vn3;
  int unitsPerSide = 40;
  int nation0 = 82;  // "US Army"
  int nation1 = 81;  // "Soviet Union"
  int mob0 = 3;
  int mob1 = 7;
  std::uint32_t seed = 1;
  bool password = false;
};

// A realistic game image with two sides, formations, named units and leaders,
// positions, game data, prestige and filler sections of mixed content.
tarnel::GameModel makeGameModel(const SampleOptions& options);

// The file bytes of such a game in its generation.
std::vector<std::uint8_t> makeGameFile(const SampleOptions& options);

// A MOB file: 250 weapon names of 15 bytes and the men table.
std::vector<std::uint8_t> makeMobFile(int mobNumber);

}  // namespace samplegen

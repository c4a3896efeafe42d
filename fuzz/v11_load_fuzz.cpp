// Any bytes as a version 1.1 game file through the load command and a save.
#include "support/game_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::runGameLoad(tarnel::GameFileKind::V11, data, size);
}

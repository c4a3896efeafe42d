// Any bytes as a VN3 game file through the load command and a save.
#include "support/game_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::runGameLoad(tarnel::GameFileKind::Vn3, data, size);
}

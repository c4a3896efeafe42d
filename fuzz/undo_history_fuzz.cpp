// Any bytes as a sequence of commands with undo and redo in between, on a
// small sample game: the history always holds the document it says, undoing
// all gives the game as loaded, redoing all the state after the last command.
#include <cstdio>

#include "support/fuzz_check.h"
#include "support/undo_property.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string fault = tarnel::testing::checkUndoProperty(std::span(data, size), fuzz::scratchFile("units.csv"));
  if (!fault.empty()) std::fprintf(stderr, "%s\n", fault.c_str());
  FUZZ_CHECK(fault.empty());
  return 0;
}

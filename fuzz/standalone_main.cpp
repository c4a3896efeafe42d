// Runs a fuzz target over the files named on the command line, so the targets
// also serve as regression tests in builds without libFuzzer.
#include <cstdint>
#include <cstdio>

#include "common/file_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    auto bytes = common::readFileBytes(argv[i]);
    if (!bytes) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    LLVMFuzzerTestOneInput(bytes->data(), bytes->size());
  }
  std::printf("%d inputs ran\n", argc - 1);
  return 0;
}

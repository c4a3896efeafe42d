// Runs a fuzz target over the files named on the command line, and over every
// file of a named directory, so the targets also serve as regression tests in
// builds without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/file_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    if (std::filesystem::is_directory(argv[i], ec)) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
        if (entry.is_regular_file()) inputs.push_back(entry.path().string());
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  for (const auto& input : inputs) {
    auto bytes = common::readFileBytes(input);
    if (!bytes) {
      std::fprintf(stderr, "cannot read %s\n", input.c_str());
      return 1;
    }
    std::fprintf(stderr, "running %s\n", input.c_str());
    LLVMFuzzerTestOneInput(bytes->data(), bytes->size());
  }
  std::printf("%zu inputs ran\n", inputs.size());
  return 0;
}

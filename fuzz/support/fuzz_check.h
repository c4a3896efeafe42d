// What every fuzz target shares: invariant checks that stop the run with the
// broken condition, and a scratch directory for the files a target writes.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include "common/file_io.h"

namespace fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", what, file, line);
  std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::fuzz::fail(#condition, __FILE__, __LINE__))

// A directory of this process, in memory (/dev/shm) where the system has
// one, so the many small files of a run cost no disk traffic; removed at exit.
inline const std::string& scratchDir() {
  // Never destroyed, so the exit handler below can still read it.
  static const std::string& dir = *new std::string([] {
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                      : std::filesystem::temp_directory_path();
    std::string name = (base / "tarnel_fuzz_XXXXXX").string();
    if (!::mkdtemp(name.data())) fail("scratch directory", __FILE__, __LINE__);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratchDir(), ignored);
    });
    return name;
  }());
  return dir;
}

inline std::string scratchFile(const std::string& name) { return scratchDir() + "/" + name; }

inline void putFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  FUZZ_CHECK(common::writeFileSafely(path, bytes));
}

}  // namespace fuzz

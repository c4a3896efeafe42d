#include "exe_sample.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

namespace samplegen {

namespace {

constexpr std::size_t kExeSize = 1741824;      // a VN3-sized executable
constexpr std::size_t kTableAddress = 1710080;  // 31,744 bytes before the end
constexpr int kEntries = 750;

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, int word) {
  const auto w = static_cast<std::uint16_t>(word);
  bytes[at] = static_cast<std::uint8_t>(w & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(w >> 8);
}

}  // namespace

void writeExeSample(const std::string& dir) {
  std::mt19937 random(0x0721);  // the engine's output is fixed by the standard
  std::vector<std::uint8_t> bytes(kExeSize);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random() >> 24);
  bytes[0] = 'M';
  bytes[1] = 'Z';

  // The list begins with file 0's icons in steps of three (body 0, turret 3,
  // body 6, turret 9, ...), which is what the VN3 search text matches; later
  // graphics use twenty icons a file, a third of them without a turret.
  for (int i = 0; i < kEntries; ++i) {
    const std::size_t at = kTableAddress + static_cast<std::size_t>(i) * 4;
    int body = 0;
    int turret = 0;
    if (i < 16) {
      body = 6 * i;
      turret = 6 * i + 3;
    } else {
      body = (i / 20) * 100 + (i % 20) * 3;
      turret = random() % 3 == 0 ? -1 : body + 1;
    }
    putWord(bytes, at, body);
    putWord(bytes, at + 2, turret);
  }

  const std::string path = dir + "/varno_stand_in.exe";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::fprintf(stderr, "samplegen: cannot write %s\n", path.c_str());
}

}  // namespace samplegen

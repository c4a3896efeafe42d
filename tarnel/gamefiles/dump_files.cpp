#include "gamefiles/dump_files.h"

#include <algorithm>
#include <cstdio>

namespace tarnel {

std::vector<std::uint8_t> sectionBytes(const GameModel& m, int entry) {
  if (entry < 0 || entry >= kDirectorySize || m.sectionLength[entry] <= 0) return {};
  const std::int64_t size = static_cast<std::int64_t>(m.image.size());
  const std::int64_t from = std::clamp<std::int64_t>(m.sectionOffset[entry], 0, size);
  const std::int64_t to = std::min<std::int64_t>(from + m.sectionLength[entry], size);
  return {m.image.begin() + from, m.image.begin() + to};
}

std::vector<std::uint8_t> allSectionsBytes(const GameModel& m) {
  std::vector<std::uint8_t> out;
  for (int j = 0; j < kDirectorySize; ++j) {
    auto part = sectionBytes(m, j);
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

std::string statisticsText(const GameModel& m, const std::string& path) {
  long long total = 0;
  for (int j = 0; j < kDirectorySize; ++j) total += m.sectionLength[j];
  std::string text = std::to_string(total) + " bytes in " + path + "\r\n";
  text += "Sect  Size(d)  Address(h)\r\n";
  char line[64];
  for (int j = 0; j < kDirectorySize; ++j) {
    if (m.sectionLength[j] <= 0) continue;
    std::snprintf(line, sizeof line, "%3d  %7d   %6X\r\n", m.sectionId[j], m.sectionLength[j],
                  static_cast<unsigned>(m.sectionOffset[j]));
    text += line;
  }
  return text;
}

int sectionCount(const GameModel& m) {
  return static_cast<int>(std::count_if(m.sectionLength.begin(), m.sectionLength.end(),
                                        [](std::int32_t l) { return l > 0; }));
}

}  // namespace tarnel

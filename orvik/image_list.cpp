#include "image_list.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace orvik {

namespace {

int digitValue(char c) {
  const int code = static_cast<signed char>(c);
  return code > 64 ? code - 55 : code - 48;
}

// Blocks of the file read per step of the scan.
constexpr std::size_t kScanBlock = 1 << 20;

template <typename... Args>
std::string format(const char* fmt, Args... args) {
  char buffer[32];
  const int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, int{sizeof buffer} - 1)));
}

}  // namespace

Pattern patternFromText(std::string_view text) {
  Pattern pattern{};
  for (std::size_t k = 0; k < kPatternLength; ++k) {
    const char high = 2 * k < text.size() ? text[2 * k] : '\0';
    const char low = 2 * k + 1 < text.size() ? text[2 * k + 1] : '\0';
    pattern[k] = static_cast<std::uint8_t>(16 * digitValue(high) + digitValue(low));
  }
  return pattern;
}

Edition editionForAddress(std::int64_t address) {
  if (address < 1250000) return {"VN1", 255};
  if (address < 1600000) return {"VN2", 500};
  return {"VN3", 750};
}

std::string addressText(std::int64_t address) {
  return format("%06llX", static_cast<unsigned long long>(address));
}

bool ExeFile::open(const std::string& path) {
  if (!file_.open(path)) return false;
  length_ = static_cast<std::int64_t>(file_.size());
  return true;
}

std::int64_t ExeFile::scan(std::int64_t start, const Pattern& pattern) {
  std::int64_t base = std::max<std::int64_t>(start, 0);
  if (base >= length_) return base + 1;

  const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
  std::vector<std::uint8_t> buffer;
  auto next = static_cast<std::uint64_t>(base);
  for (;;) {
    const std::size_t kept = buffer.size();
    buffer.resize(kept + kScanBlock);
    const std::size_t got = file_.readAt(next, buffer.data() + kept, kScanBlock);
    next += got;
    buffer.resize(kept + got);
    const auto hit = std::search(buffer.begin(), buffer.end(), searcher);
    if (hit != buffer.end()) return base + (hit - buffer.begin());
    if (got < kScanBlock) break;
    // A match may straddle two blocks: keep the bytes it could start in.
    const std::size_t keep = std::min(buffer.size(), kPatternLength - 1);
    base += static_cast<std::int64_t>(buffer.size() - keep);
    buffer.erase(buffer.begin(), buffer.end() - static_cast<std::ptrdiff_t>(keep));
  }

  // No full match: the first attempt whose bytes up to the end of the file all
  // match the start of the pattern is the one that reads the end of the file.
  const std::size_t size = buffer.size();
  for (std::size_t q = size > kPatternLength - 1 ? size - (kPatternLength - 1) : 0; q < size; ++q) {
    if (std::equal(buffer.begin() + static_cast<std::ptrdiff_t>(q), buffer.end(), pattern.begin()))
      return base + static_cast<std::int64_t>(q) + 1;
  }
  return base + static_cast<std::int64_t>(size) + 1;
}

std::vector<int> ExeFile::readBytes(std::int64_t pos, std::size_t count) {
  std::vector<int> bytes(count, -1);
  const std::int64_t first = std::max<std::int64_t>(pos, 0);
  const std::int64_t last = std::min<std::int64_t>(pos + static_cast<std::int64_t>(count), length_);
  if (first >= last) return bytes;

  std::vector<std::uint8_t> raw(static_cast<std::size_t>(last - first));
  const std::size_t got = file_.readAt(static_cast<std::uint64_t>(first), raw.data(), raw.size());
  std::transform(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(got),
                 bytes.begin() + (first - pos), [](std::uint8_t b) { return int{b}; });
  return bytes;
}

void decodeEntries(const std::vector<int>& bytes, EntryTable& table) {
  const std::size_t n = std::min(bytes.size() / kEntryBytes, table.size());
  const auto word = [&](std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[at + 1] * 256 + bytes[at]));
  };
  for (std::size_t i = 0; i < n; ++i) {
    table[i].body = word(i * kEntryBytes);
    table[i].turret = word(i * kEntryBytes + 2);
  }
}

std::string entryCellText(int index, const ImageEntry& entry, int column) {
  const auto body = static_cast<std::uint16_t>(entry.body);
  const auto turret = static_cast<std::uint16_t>(entry.turret);
  const bool noTurret = entry.turret < 0;
  switch (column) {
    case 0: return format("  %3d", index);
    case 1: return format(" %.3d", pictureFile(entry.body));
    case 2: return format(" %3d", pictureIcon(entry.body));
    case 3: return noTurret ? "None" : format(" %.3d", pictureFile(entry.turret));
    case 4: return noTurret ? "None" : format(" %3d", pictureIcon(entry.turret));
    case 5: return format("  %02X", body & 0xFFu);
    case 6: return format("  %02X", body >> 8);
    case 7: return format("  %02X", turret & 0xFFu);
    case 8: return format("  %02X", turret >> 8);
    default: return {};
  }
}

}  // namespace orvik

// Any bytes as the game's executable, and any search text, through Orvik's
// Search, Search Again and Load. The block-wise scan finds what the
// byte-by-byte scan of the search rules finds, and Load decodes exactly the
// file's bytes (-1 past its end) into a table that it never overruns.
//
// The input is the executable followed by the search text and one byte that
// gives the text's length (0 to 20), so a plain executable is a seed too.
#include <algorithm>

#include "extractor.h"
#include "icon_list.h"
#include "support/fuzz_check.h"

namespace {

using orvik::Pattern;

// The scan as the search rules state it: attempts one byte at a time from
// start; an attempt that meets the end of the file ends the scan one past
// where it began.
std::int64_t referenceScan(std::span<const std::uint8_t> exe, std::int64_t start, const Pattern& pattern) {
  const auto size = static_cast<std::int64_t>(exe.size());
  for (std::int64_t p = std::max<std::int64_t>(start, 0);; ++p) {
    std::size_t j = 0;
    while (j < pattern.size() && p + static_cast<std::int64_t>(j) < size &&
           exe[static_cast<std::size_t>(p) + j] == pattern[j])
      ++j;
    if (j == pattern.size()) return p;
    if (p + static_cast<std::int64_t>(j) >= size) return p + 1;
  }
}

int byteOf(std::span<const std::uint8_t> exe, std::int64_t at) {
  return at >= 0 && at < static_cast<std::int64_t>(exe.size()) ? exe[static_cast<std::size_t>(at)] : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t textLength = std::min<std::size_t>(data[size - 1] % 21, size - 1);
  const std::span exe(data, size - 1 - textLength);
  const std::string text(reinterpret_cast<const char*>(data) + exe.size(), textLength);
  static const std::string path = fuzz::scratchFile("game.exe");
  fuzz::putFile(path, exe);

  orvik::Extractor ex;
  FUZZ_CHECK(ex.search(path, text));
  const Pattern pattern = orvik::patternFromText(text);
  const auto length = static_cast<std::int64_t>(exe.size());
  const std::int64_t found = referenceScan(exe, orvik::searchStart(length), pattern);
  FUZZ_CHECK(ex.address() == found);
  FUZZ_CHECK(ex.found() == (found + static_cast<std::int64_t>(pattern.size()) <= length));
  FUZZ_CHECK(ex.entryCount() == orvik::editionForAddress(found).entries);

  const std::string address = orvik::addressText(found);
  FUZZ_CHECK(orvik::Extractor::addressFromField(address) == found);
  const auto next = ex.searchAgain(path, text, address);
  FUZZ_CHECK(next && *next == referenceScan(exe, found + 1, pattern));

  FUZZ_CHECK(ex.load(path, address, std::to_string(ex.entryCount())));
  for (int i = 0; i < orvik::kTableEntries; ++i) {
    const orvik::ImageEntry& e = ex.table()[static_cast<std::size_t>(i)];
    if (i < ex.entryCount()) {
      const std::int64_t at = found + std::int64_t{i} * orvik::kEntryBytes;
      const auto word = [&](std::int64_t w) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(byteOf(exe, w + 1) * 256 + byteOf(exe, w)));
      };
      FUZZ_CHECK(e.body == word(at) && e.turret == word(at + 2));
    } else {
      FUZZ_CHECK(e.body == 0 && e.turret == 0);
    }
    for (int c = 0; c < orvik::kGridColumns; ++c)
      FUZZ_CHECK(ex.cell(i + orvik::kHeadingRows, c) == orvik::entryCellText(i, e, c));
  }
  const std::string list = orvik::iconListText(ex.edition(), ex.table(), ex.entryCount());
  FUZZ_CHECK(std::count(list.begin(), list.end(), '\n') == 4 + ex.entryCount());
  return 0;
}

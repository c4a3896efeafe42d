#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_io.h"

namespace orvik {

// The image list inside the game's executable: entries of two signed 16-bit
// little-endian words (body, turret) one after another. A word w names picture
// file w / 100 and icon w % 100 + 1 (C division); a negative turret word means
// the graphic has no turret.
inline constexpr int kTableEntries = 750;
inline constexpr int kEntryBytes = 4;
inline constexpr std::int64_t kSearchedTail = 40000;
inline constexpr std::size_t kPatternLength = 7;

struct ImageEntry {
  std::int16_t body = 0;
  std::int16_t turret = 0;
};
using EntryTable = std::array<ImageEntry, kTableEntries>;

inline int pictureFile(int word) { return word / 100; }
inline int pictureIcon(int word) { return word % 100 + 1; }

using Pattern = std::array<std::uint8_t, kPatternLength>;

// The 7 pattern bytes from the first 14 characters of a search text, read as
// two hexadecimal digits each. Missing characters count as code 0; codes are
// signed 8-bit, and anything but 0-9 and A-F gives a digit value outside 0-15
// that still enters the byte, so a lower-case text gives other bytes.
Pattern patternFromText(std::string_view text);

struct Edition {
  std::string name;
  int entries = 0;
};
// The game edition the table's address belongs to.
Edition editionForAddress(std::int64_t address);

// The address as the address field shows it: upper-case hexadecimal, at least
// six digits.
std::string addressText(std::int64_t address);

// The game's executable, opened for reading raw bytes.
class ExeFile {
 public:
  // False when the path does not name a readable regular file; a named pipe
  // or a device is refused without waiting on it.
  bool open(const std::string& path);
  std::int64_t length() const { return length_; }

  // Start of the first full match of the pattern at or after start (a negative
  // start counts as 0). Without a further match, the scan ends at the first
  // attempt that runs into the end of the file and gives one past where that
  // attempt began: the length plus one, or less when the file ends with the
  // first bytes of the pattern. The bytes from start on are read in large
  // blocks, never one at a time.
  std::int64_t scan(std::int64_t start, const Pattern& pattern);

  // count bytes from pos; each byte outside the file is -1.
  std::vector<int> readBytes(std::int64_t pos, std::size_t count);

 private:
  common::RegularFile file_;
  std::int64_t length_ = 0;
};

// Start position of Search: the last 40,000 bytes, or the whole of a shorter file.
inline std::int64_t searchStart(std::int64_t fileLength) {
  return fileLength > kSearchedTail ? fileLength - kSearchedTail : 0;
}

// Decodes entries from raw bytes (-1 for a missing byte): each word is
// high * 256 + low taken modulo 65536, so an entry wholly past the end of the
// file reads as two words -257.
void decodeEntries(const std::vector<int>& bytes, EntryTable& table);

// Cell texts of the nine columns for entry index.
std::string entryCellText(int index, const ImageEntry& entry, int column);

}  // namespace orvik

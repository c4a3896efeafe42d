#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image_list.h"

namespace orvik {

inline constexpr int kGridColumns = 9;
inline constexpr int kHeadingRows = 2;
inline constexpr int kGridRows = kHeadingRows + kTableEntries;

// What the main window knows between commands: the pattern, edition, entry
// count and entry table, and the texts of the data grid. The commands take
// the typed texts as they stand and convert them when they use them; a text
// that does not convert throws ConversionError before anything changes.
class Extractor {
 public:
  Extractor();

  // Search: scans the last 40,000 bytes of the executable (all of a shorter
  // one) and decides the edition from the address found. Returns false, with
  // nothing changed, when the executable cannot be opened.
  bool search(const std::string& exePath, std::string_view searchText);

  // Search Again: scans on from the address shown plus one; the edition stays.
  // Returns the address found, or nothing when the executable cannot be opened.
  std::optional<std::int64_t> searchAgain(const std::string& exePath, std::string_view searchText,
                                          std::string_view addressField);

  // Load: reads the entries from the address shown into the table and fills
  // every entry row of the grid; after a Search or Search Again that found
  // nothing, the rows past the entries read are left empty. An entry count
  // above 750 reads 750, a negative one none. Returns false, with nothing
  // changed, when the executable cannot be opened.
  bool load(const std::string& exePath, std::string_view addressField, std::string_view entriesField);

  const Pattern& pattern() const { return pattern_; }
  const std::string& edition() const { return edition_; }
  int entryCount() const { return entryCount_; }
  std::int64_t address() const { return address_; }
  // True when the last scan found a full match.
  bool found() const { return found_; }
  // True when a scan ran and found nothing, until a later scan finds a match.
  bool searchFailed() const { return searchFailed_; }
  // The save name proposed after a Search, such as "VN2IL.CSV"; empty before.
  std::string saveName() const { return edition_.empty() ? std::string() : edition_ + "IL.CSV"; }
  const EntryTable& table() const { return table_; }
  EntryTable& table() { return table_; }

  // Text of a data grid cell, rows 0 and 1 being the headings.
  const std::string& cell(int row, int column) const;

  // The address field read as hexadecimal.
  static std::int64_t addressFromField(std::string_view addressField);

 private:
  std::int64_t scan(ExeFile& file, std::int64_t start, std::string_view searchText);
  void fillGrid();

  Pattern pattern_{};
  std::string edition_;
  int entryCount_ = 0;
  std::int64_t address_ = 0;
  bool found_ = false;
  bool searchFailed_ = false;
  EntryTable table_{};
  std::array<std::array<std::string, kGridColumns>, kGridRows> cells_;
};

}  // namespace orvik

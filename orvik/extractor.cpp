#include "extractor.h"

#include <algorithm>

#include "common/int_convert.h"

namespace orvik {

using common::toInt;

namespace {
constexpr std::array<const char*, kGridColumns> kHeading0 = {
    "Graphic", "  Body", "  Body", " Turret", " Turret", " Byte", " Byte", " Byte", " Byte"};
constexpr std::array<const char*, kGridColumns> kHeading1 = {
    "    #", "   File", "   Icon", "   File", "   Icon", "    0", "    1", "    2", "    3"};
}  // namespace

Extractor::Extractor() {
  for (int c = 0; c < kGridColumns; ++c) {
    cells_[0][static_cast<std::size_t>(c)] = kHeading0[static_cast<std::size_t>(c)];
    cells_[1][static_cast<std::size_t>(c)] = kHeading1[static_cast<std::size_t>(c)];
  }
}

std::int64_t Extractor::addressFromField(std::string_view addressField) {
  std::string hex = "$";
  hex.append(addressField);
  return toInt(hex);
}

std::int64_t Extractor::scan(ExeFile& file, std::int64_t start, std::string_view searchText) {
  pattern_ = patternFromText(searchText);
  address_ = file.scan(start, pattern_);
  found_ = address_ + static_cast<std::int64_t>(kPatternLength) <= file.length();
  searchFailed_ = !found_;
  return address_;
}

bool Extractor::search(const std::string& exePath, std::string_view searchText) {
  ExeFile file;
  if (!file.open(exePath)) return false;
  const Edition edition = editionForAddress(scan(file, searchStart(file.length()), searchText));
  edition_ = edition.name;
  entryCount_ = edition.entries;
  return true;
}

std::optional<std::int64_t> Extractor::searchAgain(const std::string& exePath, std::string_view searchText,
                                                   std::string_view addressField) {
  ExeFile file;
  if (!file.open(exePath)) return std::nullopt;
  const std::int64_t from = addressFromField(addressField) + 1;
  return scan(file, from, searchText);
}

bool Extractor::load(const std::string& exePath, std::string_view addressField, std::string_view entriesField) {
  const std::int64_t at = addressFromField(addressField);
  ExeFile file;
  if (!file.open(exePath)) return false;
  const int count = std::clamp(toInt(entriesField), 0, kTableEntries);
  decodeEntries(file.readBytes(at, static_cast<std::size_t>(count) * kEntryBytes), table_);
  fillGrid();
  // Read from where no table was found, the rows past those entries would
  // show an earlier table as if it followed them.
  if (searchFailed_)
    for (int row = kHeadingRows + count; row < kGridRows; ++row) cells_[static_cast<std::size_t>(row)].fill({});
  return true;
}

void Extractor::fillGrid() {
  for (int i = 0; i < kTableEntries; ++i) {
    auto& row = cells_[static_cast<std::size_t>(i + kHeadingRows)];
    for (int c = 0; c < kGridColumns; ++c)
      row[static_cast<std::size_t>(c)] = entryCellText(i, table_[static_cast<std::size_t>(i)], c);
  }
}

const std::string& Extractor::cell(int row, int column) const {
  static const std::string kNone;
  if (row < 0 || row >= kGridRows || column < 0 || column >= kGridColumns) return kNone;
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

}  // namespace orvik

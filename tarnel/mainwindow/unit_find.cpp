#include "mainwindow/unit_find.h"

#include <algorithm>
#include <array>

#include "model/session.h"

namespace tarnel {

namespace {

// Windows-1252's upper-case letters and their lower-case partners: A-Z,
// the Latin-1 letters from 0xC0 (but the sign 0xD7), and three of the
// 0x80 row (S, OE and Z with caron), Y with diaeresis at 0x9F.
constexpr std::array<unsigned char, 256> makeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
  table[0x8A] = 0x9A;
  table[0x8C] = 0x9C;
  table[0x8E] = 0x9E;
  table[0x9F] = 0xFF;
  return table;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

constexpr std::array<GridColumn, 3> kSearchedColumns = {GridColumn::kUnit, GridColumn::kName, GridColumn::kLeader};

bool rowHolds(const UnitGridTable& grid, int row, const std::string& folded) {
  return std::any_of(kSearchedColumns.begin(), kSearchedColumns.end(), [&](GridColumn col) {
    const std::string& cell = grid.cell(col, row);
    return std::search(cell.begin(), cell.end(), folded.begin(), folded.end(), [](char a, char b) {
             return kFold[static_cast<unsigned char>(a)] == static_cast<unsigned char>(b);
           }) != cell.end();
  });
}

}  // namespace

std::string foldCase1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
  return out;
}

int findUnitRow(const UnitGridTable& grid, std::string_view text, int from, FindDirection direction) {
  const int units = grid.rowCount() - 1;
  if (text.empty() || units < 1) return 0;
  const std::string folded = foldCase1252(text);
  if (from < 1 || from > units) from = direction == FindDirection::Next ? 0 : units + 1;
  const int step = direction == FindDirection::Next ? 1 : -1;
  // Rows 1..units taken as a ring, starting after `from`.
  for (int k = 1; k <= units; ++k) {
    const int row = ((from - 1 + step * k) % units + units) % units + 1;
    if (rowHolds(grid, row, folded)) return row;
  }
  return 0;
}

}  // namespace tarnel

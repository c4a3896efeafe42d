// The CSV unit file: what "Save CSV Unit File" writes and how "Paste CSV
// Unit File" reads cells and lines back.
#include <gtest/gtest.h>

#include <cstring>

#include "game_sample.h"
#include "sidefiles/csv_units.h"

using namespace tarnel;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::vector<std::string> split(const std::string& text, const std::string& by) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

// A sample whose name bytes after each name's end are zero, as a paste
// writes them.
GameModel sample(GameFileKind kind, int unitsPerSide = 6) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.unitsPerSide = unitsPerSide;
  GameModel m = samplegen::makeGameModel(o);
  for (int u = 0; u < m.unitCount; ++u)
    for (int k = static_cast<int>(m.unitName(u).size()); k < kUnitNameBytes; ++k) m.setUnitByte(u, k, 0);
  return m;
}

Bytes unitSection(const GameModel& m) {
  const auto begin = m.image().begin() + m.sectionOffset[kUnitSection];
  return Bytes(begin, begin + m.layout->unitCapacityBytes);
}

// Pastes `csv` (after a heading line) over a copy of `m`.
GameModel pasted(const GameModel& m, const std::string& csv, bool heading = true) {
  GameModel copy = m;
  const std::string text = (heading ? "'00-0F,'10,\r\n" : "") + csv;
  pasteCsvUnits(Bytes(text.begin(), text.end()), copy);
  return copy;
}

}  // namespace

TEST(CsvUnits, ExportOfThreeVn2Units) {
  GameModel m = sample(GameFileKind::V11, 2);
  m.setUnitByte(3, 0, 0);
  m.unitCount = m.countUnits();
  const std::string text = csvUnitText(m);
  const auto lines = split(text, "\r\n");
  ASSERT_EQ(lines.size(), 5u);  // four lines, each ending in CR LF
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  const auto heading = split(lines[0], ",");
  ASSERT_EQ(heading.size(), 206u);  // 205 cells and a trailing comma
  EXPECT_EQ(heading[0] + heading[1] + heading[204] + heading[205], "'00-0F'10'DB");
  for (std::size_t k = 1; k <= 3; ++k) {
    const auto cells = split(lines[k], ",");
    ASSERT_EQ(cells.size(), 205u);
    EXPECT_EQ(cells[0], m.unitName(static_cast<int>(k) - 1));
    EXPECT_EQ(cells[204], std::to_string(m.unitByte(static_cast<int>(k) - 1, 219)));
  }
  EXPECT_TRUE(split(csvUnitText(sample(GameFileKind::Vn3, 1)), "\r\n")[0].ends_with(",'F2,"));
}

TEST(CsvUnits, SaveThenPasteLeavesTheUnitsAsTheyWere) {
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3}) {
    GameModel m = sample(kind);
    const std::string csv = csvUnitText(m);
    GameModel scrambled = m;
    for (int u = 0; u < m.unitCount; ++u)
      for (int k = 0; k < m.layout->unitStride; ++k) scrambled.setUnitByte(u, k, k * 7 + u);
    EXPECT_EQ(unitSection(pasted(scrambled, csv, false)), unitSection(m)) << static_cast<int>(kind);
  }
  // Names holding line breaks, quotes and commas (a damaged or hostile game
  // file) come back too: they are quoted, and a quoted name may span lines.
  GameModel m = sample(GameFileKind::Vn3, 3);
  const char* names[] = {"\rTank", "A\nB", "C\r\nD\r", "\"Q\",x\n"};
  for (int u = 0; u < 4; ++u)
    for (int k = 0; k < kUnitNameBytes; ++k)
      m.setUnitByte(u, k, k < static_cast<int>(std::strlen(names[u])) ? names[u][k] : 0);
  GameModel scrambled = m;
  for (int u = 0; u < m.unitCount; ++u) scrambled.setUnitByte(u, 0, 'z');
  EXPECT_EQ(unitSection(pasted(scrambled, csvUnitText(m), false)), unitSection(m));
}

TEST(CsvUnits, NumberCells) {
  const GameModel m = sample(GameFileKind::V11, 1);
  const std::vector<std::pair<std::string, int>> cases = {
      {" 12", 12}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"-1", 255}, {"256", 0}, {"\"34\"", 34}};
  for (const auto& [cell, stored] : cases) {
    const GameModel p = pasted(m, "Tank," + cell + ",77\r\n");
    EXPECT_EQ(p.unitByte(0, 16), stored) << cell;
    EXPECT_EQ(p.unitByte(0, 17), 77) << cell;
  }
}

TEST(CsvUnits, TheWritePositionRunsOnFromLineToLine) {
  const GameModel m = sample(GameFileKind::V11);
  const int r = m.layout->unitStride;
  std::string first = "First";
  for (int k = 16; k < r; ++k) first += ",1";
  // A comma before the line break stores one more byte; the 20-character
  // name then keeps 16 characters and no zero after them.
  const GameModel p = pasted(m, first + ",\r\n\r\nno comma\r\nABCDEFGHIJKLMNOPQRST,5\r\n");
  EXPECT_EQ(p.unitName(0), "First");
  EXPECT_EQ(p.unitByte(0, r - 1), 1);
  EXPECT_EQ(p.unitByte(1, 0), 0);
  EXPECT_EQ(p.textAt(p.unitOffset(1) + 1, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(p.unitByte(1, 17), 5);
  EXPECT_EQ(p.unitByte(1, 18), m.unitByte(1, 18));
  EXPECT_EQ(p.unitName(2), m.unitName(2));
}

TEST(CsvUnits, HeadingOnlyAndExcessLines) {
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::Vn3}) {
    const GameModel m = sample(kind);
    EXPECT_EQ(pasted(m, "").image(), m.image());
    // 900 lines of more cells than a record: nothing past the unit section.
    std::string line = "Unit";
    for (int k = 0; k < m.layout->unitStride + 20; ++k) line += ",200";
    std::string csv;
    for (int k = 0; k < 900; ++k) csv += line + "\r\n";
    const GameModel p = pasted(m, csv);
    const std::int64_t end = m.sectionOffset[kUnitSection] + m.layout->unitCapacityBytes;
    EXPECT_EQ(p.byteAt(end - 1), 200);
    EXPECT_TRUE(std::equal(p.image().begin() + end, p.image().end(), m.image().begin() + end));
  }
}

TEST(CsvUnits, WhatASpreadsheetWritesBackPastesToTheSameBytes) {
  GameModel m = sample(GameFileKind::V11, 2);
  const std::vector<std::pair<int, std::string>> names = {{0, "A,B"}, {1, "\"Big\" Cat"}, {2, "\xC4"}};
  for (const auto& [unit, name] : names)
    for (int k = 0; k < kUnitNameBytes; ++k)
      m.setUnitByte(unit, k, k < static_cast<int>(name.size()) ? static_cast<unsigned char>(name[static_cast<std::size_t>(k)]) : 0);
  const auto lines = split(csvUnitText(m), "\r\n");
  EXPECT_EQ(lines[1].substr(0, 6), "\"A,B\",");
  EXPECT_EQ(lines[2].substr(0, 14), "\"\"\"Big\"\" Cat\",");
  // Line feeds or lone CRs; every text cell quoted and the heading's empty
  // last cell dropped; UTF-8 with its mark.
  std::string lf, cr, quoted, utf8 = "\xEF\xBB\xBF";
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    lf += lines[k] + "\n";
    cr += lines[k] + "\r";
    const std::size_t comma = lines[k].find(',');
    quoted += k == 0 ? lines[k].substr(0, lines[k].size() - 1)
                     : lines[k][0] == '"' ? lines[k] : "\"" + lines[k].substr(0, comma) + "\"" + lines[k].substr(comma);
    quoted += "\r\n";
    utf8 += (k == 3 ? "\xC3\x84" + lines[k].substr(1) : lines[k]) + "\r\n";
  }
  GameModel blank = m;
  for (int u = 0; u < m.unitCount; ++u)
    for (int k = 0; k < m.layout->unitStride; ++k) blank.setUnitByte(u, k, 3);
  for (const std::string& written : {lf, cr, quoted, utf8, lf.substr(0, lf.size() - 1)})
    EXPECT_EQ(unitSection(pasted(blank, written, false)), unitSection(m));
}

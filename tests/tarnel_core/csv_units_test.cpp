// The CSV unit file: what "Save CSV Unit File" writes and how "Paste CSV
// Unit File" reads cells and lines back.
#include <gtest/gtest.h>

#include <cstring>

#include "common/file_io.h"
#include "game_sample.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/unit_grid.h"
#include "sidefiles/csv_units.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

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
    for (int k = static_cast<int>(m.unitName(u).size()); k < kUnitNameBytes; ++k) m.setUnitByte(u, UnitOffset{k}, 0);
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
  m.setUnitByte(3, UnitOffset{0}, 0);
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
    EXPECT_EQ(cells[204], std::to_string(m.unitByte(static_cast<int>(k) - 1, UnitOffset{219})));
  }
  EXPECT_TRUE(split(csvUnitText(sample(GameFileKind::Vn3, 1)), "\r\n")[0].ends_with(",'F2,"));
}

TEST(CsvUnits, SaveThenPasteLeavesTheUnitsAsTheyWere) {
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3}) {
    GameModel m = sample(kind);
    const std::string csv = csvUnitText(m);
    GameModel scrambled = m;
    for (int u = 0; u < m.unitCount; ++u)
      for (int k = 0; k < m.layout->unitStride; ++k) scrambled.setUnitByte(u, UnitOffset{k}, k * 7 + u);
    EXPECT_EQ(unitSection(pasted(scrambled, csv, false)), unitSection(m)) << static_cast<int>(kind);
  }
  // Names holding line breaks, quotes and commas (a damaged or hostile game
  // file) come back too: they are quoted, and a quoted name may span lines.
  GameModel m = sample(GameFileKind::Vn3, 3);
  const char* names[] = {"\rTank", "A\nB", "C\r\nD\r", "\"Q\",x\n"};
  for (int u = 0; u < 4; ++u)
    for (int k = 0; k < kUnitNameBytes; ++k)
      m.setUnitByte(u, UnitOffset{k}, k < static_cast<int>(std::strlen(names[u])) ? names[u][k] : 0);
  GameModel scrambled = m;
  for (int u = 0; u < m.unitCount; ++u) scrambled.setUnitByte(u, UnitOffset{0}, 'z');
  EXPECT_EQ(unitSection(pasted(scrambled, csvUnitText(m), false)), unitSection(m));
}

TEST(CsvUnits, NumberCells) {
  const GameModel m = sample(GameFileKind::V11, 1);
  const std::vector<std::pair<std::string, int>> cases = {
      {" 12", 12}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"-1", 255}, {"256", 0}, {"\"34\"", 34}};
  for (const auto& [cell, stored] : cases) {
    const GameModel p = pasted(m, "Tank," + cell + ",77\r\n");
    EXPECT_EQ(p.unitByte(0, UnitOffset{16}), stored) << cell;
    EXPECT_EQ(p.unitByte(0, UnitOffset{17}), 77) << cell;
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
  EXPECT_EQ(p.unitByte(0, UnitOffset{r - 1}), 1);
  EXPECT_EQ(p.unitByte(1, UnitOffset{0}), 0);
  EXPECT_EQ(p.textAt(p.unitOffset(1) + 1, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(p.unitByte(1, UnitOffset{17}), 5);
  EXPECT_EQ(p.unitByte(1, UnitOffset{18}), m.unitByte(1, UnitOffset{18}));
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
      m.setUnitByte(unit, UnitOffset{k}, k < static_cast<int>(name.size()) ? static_cast<unsigned char>(name[static_cast<std::size_t>(k)]) : 0);
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
    for (int k = 0; k < m.layout->unitStride; ++k) blank.setUnitByte(u, UnitOffset{k}, 3);
  for (const std::string& written : {lf, cr, quoted, utf8, lf.substr(0, lf.size() - 1)})
    EXPECT_EQ(unitSection(pasted(blank, written, false)), unitSection(m));
}

TEST(CsvUnits, AQuotedNameEndsOnlyAtAQuoteBeforeACommaOrTheLineEnd) {
  const GameModel m = sample(GameFileKind::V11, 2);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\"A,B\"", "A,B"},
      {"\"Tiger\" II", "\"Tiger\" II"},
      // Cut inside its quotes: read as it stands, and the units after it
      // are pasted as well.
      {"\"Grossdeutschlan", "\"Grossdeutschlan"},
  };
  for (const auto& [cell, name] : cases) {
    const GameModel p = pasted(m, cell + ",7\r\n\"Second\",8\r\n");
    EXPECT_EQ(p.textAt(p.unitOffset(0), 16), name) << cell;
    EXPECT_EQ(p.unitByte(0, UnitOffset{16}), 7) << cell;
    EXPECT_EQ(p.textAt(p.unitOffset(0) + 17, 16), "Second") << cell;
    EXPECT_EQ(p.byteAt(p.unitOffset(0) + 33), 8) << cell;
  }
}

TEST(CsvUnits, LinesThatWouldMoveTheUnitsAfterThemAreNamed) {
  const GameModel m = sample(GameFileKind::V11, 4);
  const auto lines = split(csvUnitText(m), "\r\n");
  const auto warning = [&](const std::vector<std::string>& edited) {
    std::string text;
    for (std::size_t k = 0; k + 1 < edited.size(); ++k) text += edited[k] + "\r\n";
    return csvShiftWarning(Bytes(text.begin(), text.end()), m).value_or("none");
  };
  EXPECT_EQ(warning(lines), "none");
  auto edited = lines;
  edited[6] = edited[6].substr(0, edited[6].rfind(','));
  EXPECT_EQ(warning(edited), "Line 7 has 204 cells where a unit has 205: every unit after it would move.");
  edited = lines;
  edited[2] += ",";
  edited.insert(edited.begin() + 1, "");  // an empty line counts as a line, not as a unit
  EXPECT_EQ(warning(edited), "Line 4 has 206 cells where a unit has 205: every unit after it would move.");
  // A name holding a line break starts its unit on the line of its quote.
  edited = lines;
  edited[3] = "\"Two\r\nlines\"" + edited[3].substr(edited[3].find(',')) + ",1";
  EXPECT_EQ(warning(edited), "Line 4 has 206 cells where a unit has 205: every unit after it would move.");
  // Lines past the end of the unit section are never pasted: not named.
  const GameModel v10 = sample(GameFileKind::V10, 1);
  std::string full = split(csvUnitText(v10), "\r\n")[1] + "\r\n", text = "'00-0F\r\n";
  for (int k = 0; k < kV10Units; ++k) text += full;
  text += "Short,1\r\n";
  EXPECT_EQ(csvShiftWarning(Bytes(text.begin(), text.end()), v10), std::nullopt);
}

TEST(CsvUnitCommands, DialogsProposeCsvNamesAndTheSaveAsksBeforeReplacing) {
  tarnel::testing::TestDir dir("csv_dialogs");
  tarnel::testing::ScriptedPrompts prompts;
  Session s(prompts);
  s.model = sample(GameFileKind::Vn3, 2);
  fillGrid(s);
  const std::string game = (dir.path() / "game.dat").string();
  s.model.currentPath = game;
  s.SaveDialog1.fileName = game;  // as the game's save left it
  s.OpenDialog1.fileName = (dir.path() / "countries.txt").string();

  // The first save of the run: the game's name as CSV, and the overwrite
  // question, as the dialog has for every command.
  const std::string units = (dir.path() / "units.csv").string();
  prompts.saveAnswers = {units, std::nullopt};
  saveCsvUnitFile(s);
  saveCsvUnitFile(s);
  ASSERT_EQ(prompts.saveSeen.size(), 2u);
  const FileDialogState& save = prompts.saveSeen[0];
  EXPECT_EQ(save.title, "Save CSV (Spreadsheet File of Units");
  EXPECT_EQ(save.filter, "CSV files (*.csv)|*.csv||All Files *.*|*.*");
  EXPECT_EQ(save.defaultExt, "csv");
  EXPECT_TRUE(save.overwritePrompt);
  EXPECT_EQ(save.fileName, (dir.path() / "game.csv").string());
  EXPECT_EQ(prompts.saveSeen[1].fileName, units);  // a CSV name stays

  // The paste proposes the CSV saved or pasted last, and sets no default
  // extension: the open dialog keeps the one the commands before it left.
  const std::string other = (dir.path() / "other.csv").string();
  ASSERT_TRUE(std::filesystem::copy_file(units, other));
  s.OpenDialog1.defaultExt = "";
  prompts.openAnswers = {other, std::nullopt};
  pasteCsvUnitFile(s);
  pasteCsvUnitFile(s);
  ASSERT_EQ(prompts.openSeen.size(), 2u);
  const FileDialogState& open = prompts.openSeen[0];
  EXPECT_EQ(open.title, "Load CSV (Spreadsheet File of Units");
  EXPECT_EQ(open.filter, save.filter);
  EXPECT_EQ(open.defaultExt + prompts.openSeen[1].defaultExt, "");
  EXPECT_EQ(open.fileName, units);
  EXPECT_EQ(prompts.openSeen[1].fileName, other);

  // With no CSV saved or pasted yet, the game's name as CSV.
  Session fresh(prompts);
  fresh.model.currentPath = game;
  (void)openCsvUnitFile(fresh);
  EXPECT_EQ(prompts.openSeen.back().fileName, (dir.path() / "game.csv").string());
}

TEST(CsvUnitCommands, APasteThatWouldMoveUnitsAsksFirst) {
  tarnel::testing::TestDir dir("csv_ask");
  tarnel::testing::ScriptedPrompts prompts;
  Session s(prompts);
  s.model = sample(GameFileKind::V11, 2);
  fillGrid(s);
  std::string text = csvUnitText(s.model);
  text.replace(text.find("\r\n") + 2, 0, "Renamed,1\r\n");
  const std::string file = (dir.path() / "short.csv").string();
  ASSERT_TRUE(common::writeFileSafely(file, text));
  const GameModel before = s.model;
  prompts.openAnswers = {file, file};
  prompts.yesNoAnswers = {false, true};
  pasteCsvUnitFile(s);
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0].text,
            "Line 2 has 2 cells where a unit has 205: every unit after it would move. Paste anyway?");
  EXPECT_EQ(prompts.questions[0].title, "Warning");
  EXPECT_EQ(s.model.image(), before.image());  // No pastes nothing
  EXPECT_FALSE(s.modified());
  pasteCsvUnitFile(s);
  EXPECT_EQ(s.model.unitName(0), "Renamed");
  EXPECT_TRUE(s.modified());
}

// The CSV unit file: what "Save CSV Unit File" writes, how "Paste CSV Unit
// File" reads cells and lines back, and the main window's command around it.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/game_files.h"
#include "mainwindow/main_commands.h"
#include "sidefiles/csv_units.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

using namespace tarnel;
using tarnel::testing::ScriptedPrompts;
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

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

GameModel sampleModel(GameFileKind kind, int unitsPerSide = 6) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.unitsPerSide = unitsPerSide;
  return samplegen::makeGameModel(o);
}

// The unit section's bytes.
Bytes unitSection(const GameModel& m) {
  const auto begin = m.image.begin() + m.sectionOffset[kUnitSection];
  return Bytes(begin, begin + m.layout->unitCapacityBytes);
}

// A unit line of the given cells after the name.
std::string unitLine(const std::string& name, const std::vector<std::string>& cells) {
  std::string line = name;
  for (const std::string& c : cells) line += "," + c;
  return line + "\r\n";
}

constexpr const char* kHeading = "'00-0F,'10,\r\n";  // never looked at

}  // namespace

TEST(CsvExport, ThreeUnitsOfAVn2File) {
  GameModel m = sampleModel(GameFileKind::V11, 2);
  m.setUnitByte(3, 0, 0);
  m.unitCount = m.countUnits();
  ASSERT_EQ(m.unitCount, 3);
  const std::string text = csvUnitText(m);
  auto lines = split(text, "\r\n");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[4], "");  // the last line ends with CR LF too
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);

  const auto heading = split(lines[0], ",");
  ASSERT_EQ(heading.size(), 206u);  // 205 cells and the trailing comma
  EXPECT_EQ(heading[0], "'00-0F");
  EXPECT_EQ(heading[1], "'10");
  EXPECT_EQ(heading[204], "'DB");
  EXPECT_EQ(heading[205], "");
  for (int k = 1; k <= 3; ++k) {
    const auto cells = split(lines[static_cast<std::size_t>(k)], ",");
    ASSERT_EQ(cells.size(), 205u);
    EXPECT_EQ(cells[0], m.unitName(k - 1));
    for (int n = 16; n < 220; ++n)
      ASSERT_EQ(cells[static_cast<std::size_t>(n - 15)], std::to_string(m.unitByte(k - 1, n))) << n;
  }

  const GameModel vn3 = sampleModel(GameFileKind::Vn3, 1);
  const auto vn3Lines = split(csvUnitText(vn3), "\r\n");
  EXPECT_TRUE(vn3Lines[0].ends_with(",'F2,"));
  EXPECT_EQ(split(vn3Lines[1], ",").size(), 228u);
}

TEST(CsvPaste, SaveThenPasteLeavesTheUnitsAsTheyWere) {
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3}) {
    GameModel m = sampleModel(kind);
    // Name bytes after the first zero are the one thing a paste does not
    // carry: it writes zeros there.
    for (int u = 0; u < m.unitCount; ++u)
      for (int k = static_cast<int>(m.unitName(u).size()); k < kUnitNameBytes; ++k) m.setUnitByte(u, k, 0);
    const Bytes before = unitSection(m);
    const std::string csv = csvUnitText(m);
    // Scramble the units, then paste them back.
    for (int u = 0; u < m.unitCount; ++u)
      for (int k = 0; k < m.layout->unitStride; ++k) m.setUnitByte(u, k, k * 7 + u);
    pasteCsvUnits(bytesOf(csv), m);
    EXPECT_EQ(unitSection(m), before) << static_cast<int>(kind);
  }
}

TEST(CsvPaste, NumberCells) {
  struct Case {
    std::string cell;
    int stored;
  };
  const std::vector<Case> cases = {
      {"12", 12}, {" 12", 12}, {"12abc", 12}, {"abc", 0}, {"", 0},   {"-1", 255}, {"256", 0},
      {"+7", 7},  {"1 2", 1},  {"\"34\"", 34}, {"  -", 0}, {"99999999999", 99999999999 % 256},
  };
  for (const Case& c : cases) {
    GameModel m = sampleModel(GameFileKind::V11, 1);
    pasteCsvUnits(bytesOf(kHeading + unitLine("Tank", {c.cell, "77"})), m);
    EXPECT_EQ(m.unitByte(0, 16), c.stored) << "'" << c.cell << "'";
    EXPECT_EQ(m.unitByte(0, 17), 77) << "'" << c.cell << "'";
  }
}

TEST(CsvPaste, TheWritePositionRunsOnFromLineToLine) {
  GameModel m = sampleModel(GameFileKind::V11);
  const int r = m.layout->unitStride;
  const GameModel original = m;
  std::vector<std::string> full(static_cast<std::size_t>(r - 16), "1");
  std::vector<std::string> withComma = full;
  withComma.push_back("");  // a comma before the line break
  const std::string twenty = "ABCDEFGHIJKLMNOPQRST";
  pasteCsvUnits(bytesOf(kHeading + unitLine("First", withComma) + unitLine(twenty, {"5", "6"})), m);
  EXPECT_EQ(m.unitName(0), "First");
  EXPECT_EQ(m.unitByte(0, r - 1), 1);
  EXPECT_EQ(m.unitByte(1, 0), 0);  // the extra byte of the trailing comma
  // The 20-character name: its first 16 characters, no zero after them.
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m.unitByte(1, 1 + k), twenty[static_cast<std::size_t>(k)]);
  EXPECT_EQ(m.unitByte(1, 17), 5);
  EXPECT_EQ(m.unitByte(1, 18), 6);
  // The rest of unit 1 and the units after it keep their bytes.
  for (int k = 19; k < r; ++k) ASSERT_EQ(m.unitByte(1, k), original.unitByte(1, k)) << k;
  EXPECT_EQ(m.unitName(2), original.unitName(2));
}

TEST(CsvPaste, LinesThatHoldNoUnit) {
  GameModel m = sampleModel(GameFileKind::Vn3);
  const Bytes before = unitSection(m);
  // A heading only, with or without its line break, changes nothing.
  for (const std::string csv : {"'00-0F,'10,\r\n", "'00-0F,'10,", ""}) {
    pasteCsvUnits(bytesOf(csv), m);
    EXPECT_EQ(unitSection(m), before);
  }
  // Lines without a comma are skipped; the next unit line fills unit 0.
  pasteCsvUnits(bytesOf(std::string(kHeading) + "\r\n\r\nno comma here\r\n" + unitLine("Next", {"9"}) + "\r\n"), m);
  EXPECT_EQ(m.unitName(0), "Next");
  EXPECT_EQ(m.unitByte(0, 16), 9);
  EXPECT_EQ(m.unitByte(0, 17), before[17]);
}

TEST(CsvPaste, NothingIsWrittenPastTheUnitSection) {
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::Vn3}) {
    GameModel m = sampleModel(kind);
    const std::int64_t end = m.sectionOffset[kUnitSection] + m.layout->unitCapacityBytes;
    const Bytes after(m.image.begin() + end, m.image.begin() + end + 5000);
    // More lines than the section has records, each longer than a record.
    std::string csv = kHeading;
    const std::vector<std::string> cells(static_cast<std::size_t>(m.layout->unitStride + 20), "200");
    for (int k = 0; k < 900; ++k) csv += unitLine("Unit" + std::to_string(k), cells);
    pasteCsvUnits(bytesOf(csv), m);
    EXPECT_EQ(Bytes(m.image.begin() + end, m.image.begin() + end + 5000), after);
    EXPECT_EQ(m.byteAt(end - 1), 200);
  }
}

TEST(CsvPaste, ALineOfMoreThan4999CharactersComesInPieces) {
  GameModel m = sampleModel(GameFileKind::Vn3);
  // "Long" and cells "1" up to 4,999 characters, the last one cut after its
  // comma: the rest of the line is a piece of its own, starting with a name.
  std::string line = "Long";
  while (line.size() < 4999) line += ",1";
  line.resize(4999);
  const std::string rest = "Tail,7";
  pasteCsvUnits(bytesOf(std::string(kHeading) + line + rest + "\r\n"), m);
  const int cells = static_cast<int>(std::count(line.begin(), line.end(), ','));
  const std::int64_t tail = m.unitOffset(0) + 16 + cells;
  EXPECT_EQ(m.textAt(tail, 16), "Tail");
  EXPECT_EQ(m.byteAt(tail + 16), 7);
}

TEST(CsvPaste, WhatASpreadsheetWritesBackPastesToTheSameBytes) {
  GameModel m = sampleModel(GameFileKind::V11, 2);
  m.setUnitByte(0, 0, 'A');  // "A,B" and a name starting with a quote
  m.setUnitByte(0, 1, ',');
  m.setUnitByte(0, 2, 'B');
  m.setUnitByte(0, 3, 0);
  const char quoted[] = "\"Big\" Cat";
  for (int k = 0; k < 10; ++k) m.setUnitByte(1, k, static_cast<unsigned char>(quoted[k]));
  m.setUnitByte(2, 0, 0xC4);  // a Windows-1252 letter
  m.setUnitByte(2, 1, 0);
  for (int u = 0; u < m.unitCount; ++u)
    for (int k = static_cast<int>(m.unitName(u).size()); k < kUnitNameBytes; ++k) m.setUnitByte(u, k, 0);
  const Bytes before = unitSection(m);
  const std::string csv = csvUnitText(m);
  auto lines = split(csv, "\r\n");
  EXPECT_EQ(lines[1].substr(0, 6), "\"A,B\",");
  EXPECT_EQ(lines[2].substr(0, 14), "\"\"\"Big\"\" Cat\",");

  auto pastes = [&](const std::string& written) {
    GameModel copy = m;
    for (int u = 0; u < copy.unitCount; ++u)
      for (int k = 0; k < copy.layout->unitStride; ++k) copy.setUnitByte(u, k, 3);
    pasteCsvUnits(bytesOf(written), copy);
    return unitSection(copy) == before;
  };
  std::string lf, cr, quotedCells, utf8 = "\xEF\xBB\xBF";
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    lf += lines[k] + "\n";
    cr += lines[k] + "\r";
    // Every text cell quoted, the heading without its empty last cell.
    std::string line = k == 0 ? lines[k].substr(0, lines[k].size() - 1) : lines[k];
    if (k > 0 && line.front() != '"') line = "\"" + line.substr(0, line.find(',')) + "\"" + line.substr(line.find(','));
    quotedCells += line + "\r\n";
    utf8 += (k == 3 ? "\xC3\x84" + lines[k].substr(1) : lines[k]) + "\r\n";
  }
  EXPECT_TRUE(pastes(csv));
  EXPECT_TRUE(pastes(lf));
  EXPECT_TRUE(pastes(cr));
  EXPECT_TRUE(pastes(quotedCells));
  EXPECT_TRUE(pastes(utf8));
  EXPECT_TRUE(pastes(lf.substr(0, lf.size() - 1)));  // no line break at the end
}

// ---- The menu commands ---------------------------------------------------

namespace {

class CsvCommands : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_csv"};
  ScriptedPrompts prompts;
  Session session{prompts};
  std::string game;

  void SetUp() override {
    session.setProgramDir(tmp.path().string());
    samplegen::SampleOptions o;
    o.kind = GameFileKind::Vn3;
    o.unitsPerSide = 3;
    game = path("game.dat");
    ASSERT_TRUE(common::writeFileSafely(game, samplegen::makeGameFile(o)));
    prompts.chooserAnswers.push_back(game);
    loadGame(session, GameFileKind::Vn3);
    ASSERT_EQ(session.model.unitCount, 6);
    prompts.messages.clear();
  }
  std::string path(const std::string& name) const { return (tmp.path() / name).string(); }
  std::string read(const std::string& p) const {
    const Bytes b = common::readFileBytes(p).value_or(Bytes{});
    return std::string(b.begin(), b.end());
  }
  void paste(const std::string& p) {
    prompts.openAnswers.push_back(p);
    pasteCsvUnitFile(session);
  }
};

}  // namespace

TEST_F(CsvCommands, SaveAndPasteDialogsAndMessages) {
  prompts.saveAnswers.push_back(path("units.csv"));
  saveCsvUnitFile(session);
  EXPECT_EQ(read(path("units.csv")), csvUnitText(session.model));
  ASSERT_EQ(prompts.saveSeen.size(), 1u);
  EXPECT_EQ(prompts.saveSeen[0].title, "Save CSV (Spreadsheet File of Units");
  EXPECT_EQ(prompts.saveSeen[0].filter, "CSV files (*.csv)|*.csv||All Files *.*|*.*");
  EXPECT_EQ(prompts.saveSeen[0].defaultExt, "csv");

  prompts.saveAnswers.push_back(path("missing/units.csv"));
  saveCsvUnitFile(session);
  EXPECT_EQ(prompts.lastText(), "Couldn't open csv file. Aborting.");
  EXPECT_EQ(prompts.lastTitle(), "Error");

  const Bytes image = session.model.image;
  paste(path("missing.csv"));
  EXPECT_EQ(prompts.lastText(), "Couldn't load csv file. Aborting.");
  EXPECT_EQ(prompts.lastTitle(), "Error");
  EXPECT_EQ(prompts.openSeen.back().title, "Load CSV (Spreadsheet File of Units");
  EXPECT_EQ(prompts.openSeen.back().filter, "CSV files (*.csv)|*.csv||All Files *.*|*.*");
  pasteCsvUnitFile(session);  // cancelled
  EXPECT_EQ(session.model.image, image);
  EXPECT_FALSE(session.modified());
}

TEST_F(CsvCommands, APasteShowsInTheGridAndReachesTheSavedFile) {
  const GenerationLayout& L = *session.model.layout;
  // A rating typed into the grid before the paste is kept; the pasted Exp
  // replaces the one the grid showed.
  session.grid.setCell(kColInf, 2, "99");
  session.grid.setCell(kColExp, 1, "11");
  std::vector<std::string> cells(static_cast<std::size_t>(L.unitStride - 16));
  for (int n = 16; n < L.unitStride; ++n) cells[static_cast<std::size_t>(n - 16)] = std::to_string(session.model.unitByte(0, n));
  cells[static_cast<std::size_t>(L.experience - 16)] = "42";
  ASSERT_TRUE(common::writeFileSafely(path("in.csv"), std::string(kHeading) + unitLine("Pasted", cells)));
  paste(path("in.csv"));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(session.modified());
  EXPECT_EQ(session.grid.cell(kColName, 1), "Pasted");
  EXPECT_EQ(session.grid.cell(kColExp, 1), "42");
  EXPECT_EQ(session.grid.cell(kColInf, 2), "99");

  prompts.saveAnswers.push_back(path("out.dat"));
  saveGame(session, GameFileKind::Vn3);
  Session reloaded{prompts};
  prompts.chooserAnswers.push_back(path("out.dat"));
  loadGame(reloaded, GameFileKind::Vn3);
  EXPECT_EQ(reloaded.model.unitName(0), "Pasted");
  EXPECT_EQ(reloaded.model.unitByte(0, L.experience), 42);
  EXPECT_EQ(reloaded.model.leaderByte(1, kLeaderInfantry), 99);
}

TEST_F(CsvCommands, APasteThatEmptiesAUnitNameShortensTheGrid) {
  // "First" and one byte, then an empty name and empty cells up to the end of
  // unit 0 (n commas make n cells), then an empty name for unit 1.
  const auto rest = static_cast<std::size_t>(session.model.layout->unitStride - 17 - 16);
  ASSERT_TRUE(common::writeFileSafely(path("in.csv"), std::string(kHeading) + "First,1\r\n" +
                                                          std::string(rest, ',') + "\r\n,\r\n"));
  paste(path("in.csv"));
  EXPECT_EQ(session.model.unitCount, 1);
  EXPECT_EQ(session.grid.rowCount(), 2);
  EXPECT_EQ(session.grid.cell(kColName, 1), "First");
}

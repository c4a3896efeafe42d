#include <gtest/gtest.h>

#include "game_sample.h"
#include "model/session.h"
#include "common/int_convert.h"
#include "model/nations.h"
#include "common/text1252.h"
#include "support/scripted_prompts.h"
#include "mainwindow/unit_grid.h"

using namespace tarnel;
using common::cp1252ToUtf8;
using common::utf8ToCp1252;

TEST(IntConvert, DecimalAndHexadecimalForms) {
  EXPECT_EQ(toInt("42"), 42);
  EXPECT_EQ(toInt("  -7"), -7);
  EXPECT_EQ(toInt("+3"), 3);
  EXPECT_EQ(toInt("$1F"), 31);
  EXPECT_EQ(toInt("0x10"), 16);
  EXPECT_EQ(toInt("x10"), 16);
  EXPECT_EQ(toInt("-$10"), -16);
  EXPECT_EQ(toInt("2147483647"), 2147483647);
  EXPECT_EQ(toInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(toInt("$FFFFFFFF"), -1);
  for (const char* bad : {"", " ", "12a", "1 ", "$", "0x", "--1", "2147483648", "$100000000", "1.5"}) {
    EXPECT_THROW(toInt(bad), ConversionError) << bad;
  }
  try {
    toInt("abc");
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
}

TEST(Nations, BothListsAndTheGapsBetween) {
  EXPECT_EQ(nationName(0), "West Germany");
  EXPECT_EQ(nationName(43), "Red");
  EXPECT_EQ(nationName(70), "Germany");
  EXPECT_EQ(nationName(72), "Italy");
  EXPECT_EQ(nationName(34), "Italy");
  EXPECT_EQ(nationName(91), "Free France");
  EXPECT_EQ(nationName(44), "");
  EXPECT_EQ(nationName(69), "");
  EXPECT_EQ(nationName(92), "");
  EXPECT_EQ(nationName(255), "");
}

TEST(Text1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
  EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(cp1252ToUtf8("M\xFCller"), "M\xC3\xBCller");
  EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");  // no such character
  EXPECT_EQ(utf8ToCp1252("\xC3"), "?");          // cut short
}

TEST(GameModelAccess, FieldsStoreTheirLowBitsAndStayInsideTheImage) {
  GameModel m;
  m.selectLayout(GameFileKind::Vn3);
  m.sectionOffset[kUnitSection] = 20;
  m.setUnitByte(1, kVn3Layout.side, 257);
  EXPECT_EQ(m.image()[20 + 243 + 181], 1);
  m.setUnitWord(0, kVn3Layout.imageNo, 0x12345);
  EXPECT_EQ(m.image()[20 + 18], 0x45);
  EXPECT_EQ(m.image()[20 + 19], 0x23);
  EXPECT_EQ(m.unitWord(0, kVn3Layout.imageNo), 0x2345);
  m.setByteAt(kImageSize, 9);
  m.setByteAt(-1, 9);
  EXPECT_EQ(m.byteAt(kImageSize), 0);
  m.setWordAt(kImageSize - 1, 0xFFFF);
  EXPECT_EQ(m.image()[kImageSize - 1], 0xFF);
  m.selectLayout(GameFileKind::V11);
  EXPECT_EQ(offsetOf(m.layout->side), 178);
}

TEST(GameModelAccess, UnitCountStopsAtTheFirstEmptyNameAndTheSectionEnd) {
  GameModel m;
  m.selectLayout(GameFileKind::V11);
  m.loaded = GameFileKind::V11;
  m.sectionOffset[kUnitSection] = 20;
  m.sectionLength[kUnitSection] = 3 * 220;
  EXPECT_EQ(m.countUnits(), 0);
  for (int i = 0; i < 5; ++i) m.setUnitByte(i, UnitOffset{0}, 'A');
  EXPECT_EQ(m.countUnits(), 3);
  m.sectionLength[kUnitSection] = 10 * 220;
  m.setUnitByte(1, UnitOffset{0}, 0);
  EXPECT_EQ(m.countUnits(), 1);
}

namespace {

struct GridFill : ::testing::Test {
  tarnel::testing::ScriptedPrompts prompts;
  Session s{prompts};
  void SetUp() override {
    s.model.selectLayout(GameFileKind::Vn3);
    s.model.loaded = GameFileKind::Vn3;
    s.model.sectionOffset[kUnitSection] = 20;
    s.model.sectionLength[kUnitSection] = 1000 * 243;
    s.model.sectionOffset[kLeaderSection] = 300000;
  }
  void unit(int i, int side, int formation, int number) {
    s.model.setUnitByte(i, UnitOffset{0}, 'U');
    s.model.setUnitByte(i, kVn3Layout.side, side);
    s.model.setUnitByte(i, kVn3Layout.formation, formation);
    s.model.setUnitByte(i, kVn3Layout.formationIndex, number);
  }
};
}  // namespace

TEST_F(GridFill, DesignationsCountFormationsPerSide) {
  for (int f = 0; f < 53; ++f) unit(f, 0, f, 1);
  unit(53, 1, 200, 2);
  unit(54, 1, 3, 4);  // formation 3 is already marked by side 0
  unit(55, 0, 0, 9);
  resetGrid(s);
  fillGrid(s);
  EXPECT_EQ(s.grid.rowCount(), 57);
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 1), " A1");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 26), " Z1");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 27), "AA1");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 52), "AZ1");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 53), "BA1");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 54), " a2");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 55), " a4");
  EXPECT_EQ(s.grid.cell(GridColumn::kUnit, 56), "BA9");
  EXPECT_EQ(s.grid.cell(GridColumn::kSide, 54), "1");
  EXPECT_EQ(s.grid.cell(0, 0), "Side");
  EXPECT_EQ(s.grid.cell(GridColumn::kName, 0), " Unit Name");
  EXPECT_EQ(s.grid.colWidth(GridColumn::kLeader), 130);
}

TEST_F(GridFill, SideNamesComeFromTheFirstUnitOfEachSide) {
  unit(0, 1, 1, 1);
  s.model.setUnitByte(0, kVn3Layout.nation, 81);
  s.model.setUnitByte(0, kVn3Layout.mobNumbers, 12);
  unit(1, 0, 2, 1);
  s.model.setUnitByte(1, kVn3Layout.nation, 72);
  unit(2, 0, 2, 2);
  s.model.setUnitByte(2, kVn3Layout.nation, 70);
  resetGrid(s);
  fillGrid(s);
  EXPECT_EQ(s.sideItems[0], "Italy");
  EXPECT_EQ(s.sideItems[1], "Soviet Union");
  EXPECT_EQ(s.model.sideMob[1], 12);
  EXPECT_EQ(s.model.sideNation[0], 72);

  // An empty first record: only the heading row, both names empty.
  s.model.setUnitByte(0, UnitOffset{0}, 0);
  resetGrid(s);
  fillGrid(s);
  EXPECT_EQ(s.grid.rowCount(), 1);
  EXPECT_EQ(s.sideItems[0], "");
  EXPECT_EQ(s.sideItems[1], "");
}

TEST_F(GridFill, LeaderTextAndRatingsComeFromLeaderRecordOfTheSameIndex) {
  unit(0, 0, 0, 1);
  unit(1, 0, 0, 2);
  s.model.setUnitByte(0, kVn3Layout.leaderNumber, 1);  // never followed
  const std::string smith("Smith\0John", 10);
  for (std::size_t k = 0; k < smith.size(); ++k) s.model.setByteAt(s.model.leaderOffset(0) + static_cast<int>(k), smith[k]);
  for (int k = 0; k < 15; ++k) s.model.setByteAt(s.model.leaderOffset(1) + k, k == 3 ? 0x7E : 'a' + k);  // '~' reads as 0
  s.model.setLeaderByte(0, LeaderField::kRally, 55);
  s.model.setLeaderByte(0, LeaderField::kArmour, 66);
  resetGrid(s);
  fillGrid(s);
  EXPECT_EQ(s.grid.cell(GridColumn::kLeader, 1), "Smith/John");
  EXPECT_EQ(s.grid.cell(GridColumn::kRal, 1), "55");
  EXPECT_EQ(s.grid.cell(GridColumn::kArm, 1), "66");
  EXPECT_EQ(s.grid.cell(GridColumn::kLeader, 2), "abc/efghijklmno");

  for (int k = 0; k < 16; ++k) s.model.setByteAt(s.model.leaderOffset(1) + k, 'q');
  EXPECT_EQ(leaderText(s.model, 1), "qqqqqqqqqqqqqqq/");
}

TEST_F(GridFill, MoreThan800UnitsWarnAndShow800) {
  for (int i = 0; i < 850; ++i) unit(i, 0, i % 200, 1);
  resetGrid(s);
  fillGrid(s);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "You have exceed the unit capacity of Tarnel.\nPlease EXIT.");
  EXPECT_EQ(s.grid.rowCount(), 801);
  classifyUnits(s);  // stays within the 800-entry table
  EXPECT_EQ(s.PrimarySkillClass[799], 'T');
}

TEST_F(GridFill, ClassificationUsesStrictComparisons) {
  for (int i = 0; i < 4; ++i) unit(i, 0, 0, i);
  const int skills[4][3] = {{50, 40, 40}, {40, 50, 10}, {40, 40, 10}, {1, 2, 3}};
  for (int i = 0; i < 4; ++i)
    for (int k = 0; k < 3; ++k) s.model.setByteAt(s.model.fieldOffset(i, LeaderField::kInfantry) + k, skills[i][k]);
  resetGrid(s);
  fillGrid(s);
  classifyUnits(s);
  EXPECT_EQ(std::string(s.PrimarySkillClass.data(), 4), "IATT");
}

TEST_F(GridFill, ALoadRefreshesTheSelectedUnitsWeaponCopies) {
  unit(0, 0, 0, 1);
  unit(1, 0, 0, 2);
  s.model.setUnitByte(1, kVn3Layout.weapons + 2, 17);
  resetGrid(s);
  fillGrid(s);
  selectCell(s, indexOf(GridColumn::kName), 2);
  EXPECT_EQ(s.model.selectedWeapons[2], 17);
  s.model.setUnitByte(1, kVn3Layout.weapons + 2, 99);  // the next file's unit 2
  resetGrid(s);
  fillGrid(s);
  EXPECT_EQ(s.model.selectedRow, 2);
  EXPECT_EQ(s.model.selectedWeapons[2], 99);
}

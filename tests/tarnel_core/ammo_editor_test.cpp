#include "editors/ammo_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_sample.h"
#include "model/session.h"
#include "common/int_convert.h"
#include "support/scripted_prompts.h"
#include "mainwindow/unit_grid.h"

namespace tarnel {
namespace {

using testing::ScriptedPrompts;

std::string nameOf(int side, int weapon) {
  return "S" + std::to_string(side) + " gun " + std::to_string(weapon);
}

class UnitDataEditorTest : public ::testing::TestWithParam<GameFileKind> {
 protected:
  ScriptedPrompts prompts;
  Session session{prompts};
  UnitDataEditor editor{session};

  void SetUp() override {
    samplegen::SampleOptions o;
    o.kind = GetParam();
    o.unitsPerSide = 6;
    session.model = samplegen::makeGameModel(o);
    fillGrid(session);
    for (std::size_t s = 0; s < 2; ++s) {
      for (int w = 0; w < kWeaponNames; ++w) {
        const std::string n = nameOf(static_cast<int>(s), w);
        std::copy(n.begin(), n.end(), session.mob.names[s][static_cast<std::size_t>(w)].begin());
      }
      session.mob.available[s] = true;
    }
  }

  const GenerationLayout& L() const { return *session.model.layout; }
  int unitByte(int unit, UnitOffset field) const { return session.model.unitByte(unit, field); }
  int leaderByte(int unit, LeaderField field) const { return session.model.leaderByte(unit, field); }

  // Selects grid row `row` as the main window does, then activates the editor.
  void select(int row) {
    selectCell(session, 1, row);
    editor.fill();
  }
  std::string& ammo(int kind, int slot) {
    return editor.texts.weapons[static_cast<std::size_t>(kind)][static_cast<std::size_t>(slot)];
  }
  std::string& armour(int col, int row) {
    return editor.texts.armour[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
  }
  std::string& number(UnitField f) { return editor.texts.numbers[static_cast<std::size_t>(f)]; }
  std::vector<std::uint8_t> record(int unit) const {
    const auto at = session.model.image().begin() + session.model.unitOffset(unit);
    return {at, at + L().unitStride};
  }
  std::vector<std::uint8_t> leader(int unit) const {
    const auto at = session.model.image().begin() + session.model.leaderOffset(unit);
    return {at, at + kLeaderStride};
  }
};

INSTANTIATE_TEST_SUITE_P(Layouts, UnitDataEditorTest,
                         ::testing::Values(GameFileKind::V11, GameFileKind::Vn3),
                         [](const auto& kind) {
                           return kind.param == GameFileKind::Vn3 ? std::string("Vn3")
                                                                  : std::string("Vn2");
                         });

TEST_P(UnitDataEditorTest, FillShowsEveryFieldFromItsOffset) {
  GameModel& m = session.model;
  const int unit = 3;
  // Distinct values everywhere, so a field read from a wrong offset shows.
  for (int f = 0; f < kKills; ++f) {
    const UnitFieldInfo& info = unitFieldInfo(static_cast<UnitField>(f));
    if (info.word)
      m.setUnitWord(unit, L().*info.offset, 40000 + f);
    else
      m.setUnitByte(unit, L().*info.offset, 100 + f);
  }
  for (int k = 0; k < 16; ++k) m.setUnitByte(unit, L().ammunition + k, 60 + k);
  for (int k = 0; k < 36; ++k) m.setUnitByte(unit, L().armour + k, 150 + k);
  m.setLeaderWord(unit, LeaderField::kKills, 1234);
  m.setLeaderByte(unit, LeaderField::kRank, 10);

  select(unit + 1);

  for (int f = 0; f < kKills; ++f) {
    const UnitFieldInfo& info = unitFieldInfo(static_cast<UnitField>(f));
    EXPECT_EQ(number(static_cast<UnitField>(f)), std::to_string(info.word ? 40000 + f : 100 + f))
        << info.control;
  }
  EXPECT_EQ(number(kKills), "1234");
  EXPECT_EQ(editor.texts.rankIndex, 9);
  // Kind c of slot s shows byte 45 + 4(s-1) + (c-1).
  EXPECT_EQ(ammo(1, 1), "60");
  EXPECT_EQ(ammo(2, 1), "61");
  EXPECT_EQ(ammo(4, 1), "63");
  EXPECT_EQ(ammo(1, 2), "64");
  EXPECT_EQ(ammo(4, 4), "75");
  for (const ArmourCell& a : kArmourCells)
    EXPECT_EQ(armour(a.col, a.row), std::to_string(150 + a.shownByte)) << a.col << "," << a.row;
  EXPECT_EQ(armour(4, 1), "");  // "Top" of the hull has no byte
  EXPECT_EQ(armour(4, 2), "");
  EXPECT_EQ(editor.texts.name, session.grid.cell(GridColumn::kName, unit + 1));
  EXPECT_EQ(editor.texts.leaders, session.grid.cell(GridColumn::kLeader, unit + 1));
  EXPECT_EQ(editor.currentSide, 0);
  EXPECT_EQ(editor.texts.weapons[0][1], nameOf(0, unitByte(unit, L().weapons)));
}

TEST_P(UnitDataEditorTest, FillTakesSideWeaponsAndRank) {
  const int unit = 8;  // a side 1 unit
  session.model.setLeaderByte(unit, LeaderField::kRank, 0);
  select(unit + 1);
  EXPECT_EQ(editor.currentSide, 1);
  EXPECT_EQ(editor.texts.rankIndex, -1);
  // Names come from the selection's weapons, not from the record.
  session.model.selectedWeapons = {7, 0, 249, 300};
  editor.fill();
  EXPECT_EQ(editor.texts.weapons[0][1], nameOf(1, 7));
  EXPECT_EQ(editor.texts.weapons[0][2], nameOf(1, 0));
  EXPECT_EQ(editor.texts.weapons[0][3], nameOf(1, 249));
  EXPECT_EQ(editor.texts.weapons[0][4], "");  // beyond the table: no name
  session.model.setLeaderByte(unit, LeaderField::kRank, 11);
  editor.fill();
  EXPECT_EQ(editor.texts.rankIndex, -1);

  session.mob.available[1] = false;
  editor.fill();
  for (int s = 1; s <= 4; ++s)
    EXPECT_EQ(editor.texts.weapons[0][static_cast<std::size_t>(s)], "Weapon #" + std::to_string(s));
  EXPECT_FALSE(editor.selectWeaponCell(0, 2));
  session.mob.available[0] = false;  // a side byte 2 has no flag and no names
  session.model.setUnitByte(unit, L().side, 2);
  editor.fill();
  EXPECT_EQ(editor.texts.weapons[0][1], "");
  EXPECT_FALSE(editor.selectWeaponCell(0, 1));
}

TEST_P(UnitDataEditorTest, NothingHappensWithoutASelectedUnit) {
  const auto before = session.model.image();
  EXPECT_FALSE(editor.fill());
  EXPECT_EQ(editor.texts.name, "Unit Name");
  EXPECT_EQ(editor.texts.leaders, "Leader1/Leader2");
  EXPECT_EQ(number(kSpeed), "0");
  editor.texts.leaders = "bad";
  editor.retain();
  EXPECT_EQ(session.model.image(), before);
  EXPECT_TRUE(prompts.messages.empty());

  // A row left over from a file with more units selects nothing here.
  session.model.selectedRow = session.model.unitCount + 1;
  EXPECT_FALSE(editor.fill());
  editor.retain();
  EXPECT_EQ(session.model.image(), before);
}

TEST_P(UnitDataEditorTest, RetainStoresEveryFieldAndNothingElse) {
  const int unit = 2;
  select(unit + 1);
  EXPECT_FALSE(session.modified());  // showing a unit changes nothing
  auto rec = record(unit);
  auto lead = leader(unit);
  for (int f = 0; f < kKills; ++f) number(static_cast<UnitField>(f)) = std::to_string(10 + f);
  number(kImageNumber) = "513";
  number(kKills) = "300";
  editor.texts.rankIndex = 4;
  for (int k = 0; k < 16; ++k) ammo(k % 4 + 1, k / 4 + 1) = std::to_string(200 + k);
  for (const ArmourCell& a : kArmourCells) armour(a.col, a.row) = std::to_string(50 + a.shownByte);
  armour(4, 1) = "not a number";  // the hull "Top" cells are never read
  armour(4, 2) = "";
  editor.texts.name = "Tiger";
  editor.texts.leaders = "Smith/Jones";

  editor.retain();

  for (int f = 0; f < kKills; ++f) {
    const UnitFieldInfo& info = unitFieldInfo(static_cast<UnitField>(f));
    if (f != kImageNumber) rec[static_cast<std::size_t>(L().*info.offset)] = static_cast<std::uint8_t>(10 + f);
  }
  rec[static_cast<std::size_t>(L().imageNo)] = 1;
  rec[static_cast<std::size_t>(L().imageNo + 1)] = 2;
  for (int k = 0; k < 16; ++k) rec[static_cast<std::size_t>(L().ammunition + k)] = static_cast<std::uint8_t>(200 + k);
  // Groups from offset 61: bytes 0..2 normal, 3 heat; side groups doubled.
  const int normals[9] = {0, 4, 4, 12, 16, 20, 20, 28, 32};
  const int heats[9] = {3, 7, 7, 15, 19, 23, 23, 31, 35};
  for (int g = 0; g < 9; ++g) {
    for (int k = 0; k < 3; ++k)
      rec[static_cast<std::size_t>(L().armour + 4 * g + k)] = static_cast<std::uint8_t>(50 + normals[g]);
    rec[static_cast<std::size_t>(L().armour + 4 * g + 3)] = static_cast<std::uint8_t>(50 + heats[g]);
  }
  for (int k = 0; k < 16; ++k) rec[static_cast<std::size_t>(k)] = k < 5 ? static_cast<std::uint8_t>("Tiger"[k]) : 0;
  // Weapon slots: the selection's numbers; slots 2..4 with a weapon take the side's MOB.
  for (int s = 0; s < 4; ++s) {
    const auto w = session.model.selectedWeapons[static_cast<std::size_t>(s)];
    rec[static_cast<std::size_t>(L().weapons + s)] = static_cast<std::uint8_t>(w);
    if (s > 0 && w != 0) rec[static_cast<std::size_t>(L().mobNumbers + s)] = static_cast<std::uint8_t>(session.model.sideMob[0]);
  }
  EXPECT_EQ(record(unit), rec);

  const std::string smithJones("Smith\0Jones\0\0\0\0\0", 16);
  for (int k = 0; k < 16; ++k) lead[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(smithJones[static_cast<std::size_t>(k)]);
  lead[offsetOf(LeaderField::kRank)] = 5;
  lead[offsetOf(LeaderField::kKills)] = 44;
  lead[offsetOf(LeaderField::kKills) + 1] = 1;
  EXPECT_EQ(leader(unit), lead);
  EXPECT_EQ(session.grid.cell(GridColumn::kName, unit + 1), "Tiger");
  EXPECT_EQ(session.grid.cell(GridColumn::kLeader, unit + 1), "Smith/Jones");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(session.modified());
}

TEST_P(UnitDataEditorTest, NumbersKeepTheirLowBits) {
  const int unit = 0;
  select(1);
  number(kKills) = "-1";
  ammo(2, 3) = "300";
  number(kSpeed) = "-1";
  number(kImageNumber) = "70000";
  number(kCost) = "$1F";
  editor.retain();
  EXPECT_EQ(leaderByte(unit, LeaderField::kKills), 255);
  EXPECT_EQ(session.model.byteAt(session.model.fieldOffset(unit, LeaderField::kKills) + 1), 0);
  EXPECT_EQ(unitByte(unit, L().ammunition + 9), 44);
  EXPECT_EQ(unitByte(unit, L().speed), 255);
  EXPECT_EQ(session.model.unitWord(unit, L().imageNo), 70000 % 65536);
  EXPECT_EQ(unitByte(unit, L().cost), 31);
  editor.fill();
  EXPECT_EQ(number(kKills), "255");
  EXPECT_EQ(ammo(2, 3), "44");
}

TEST_P(UnitDataEditorTest, SidesArmourFillsBothSideGroups) {
  const int unit = 5;
  select(unit + 1);
  armour(2, 1) = "77";
  armour(2, 2) = "9";
  armour(2, 3) = "66";
  armour(2, 4) = "8";
  editor.retain();
  for (int group : {4, 8}) {
    for (int k = 0; k < 3; ++k) EXPECT_EQ(unitByte(unit, L().armour + group + k), 77);
    EXPECT_EQ(unitByte(unit, L().armour + group + 3), 9);
  }
  for (int group : {20, 24}) {
    for (int k = 0; k < 3; ++k) EXPECT_EQ(unitByte(unit, L().armour + group + k), 66);
    EXPECT_EQ(unitByte(unit, L().armour + group + 3), 8);
  }
}

TEST_P(UnitDataEditorTest, RetainWritesOnlyTheArmourGroupsWhoseCellsChanged) {
  GameModel& m = session.model;
  for (int u = 0; u < m.unitCount; ++u) {
    const auto before = m.image();
    select(u + 1);
    editor.retain();
    EXPECT_EQ(m.image(), before) << "Retain without an edit, unit " << u;
  }

  // The sample's one unit whose group bytes differ, as a hand-edited file's
  // may: only the groups fed by an edited cell take the cell's value.
  const int unit = samplegen::kUnevenArmourUnit;
  const int a = offsetOf(L().armour);
  ASSERT_NE(unitByte(unit, L().armour + 1), unitByte(unit, L().armour));
  select(unit + 1);
  auto expected = record(unit);
  const auto at = [&](int k) -> std::uint8_t& { return expected[static_cast<std::size_t>(a + k)]; };
  armour(2, 2) = "99";  // "Sides" / "Hull Heat" feeds both hull side groups
  editor.retain();
  const std::uint8_t sides = at(4), heat = at(7);
  for (int group : {4, 8}) {
    for (int k = 0; k < 3; ++k) at(group + k) = sides;
    at(group + 3) = 99;
  }
  EXPECT_EQ(record(unit), expected);
  // The cells now compare with what Retain stored: typing the filled value
  // back stores it again.
  armour(2, 2) = std::to_string(heat);
  editor.retain();
  at(7) = at(11) = heat;
  EXPECT_EQ(record(unit), expected);

  // A Paste counts as a change of every cell, even when its values are the
  // ones shown.
  editor.copy();
  editor.paste();
  editor.retain();
  // Every group then holds its normal value three times, the second side
  // groups those of the first.
  const int sameAs[36] = {0, 0, 0, 3, 4, 4, 4, 7, 4, 4, 4, 7, 12, 12, 12, 15, 16, 16,
                          16, 19, 20, 20, 20, 23, 20, 20, 20, 23, 28, 28, 28, 31, 32, 32, 32, 35};
  for (int k = 0; k < 36; ++k) EXPECT_EQ(unitByte(unit, L().armour + k), unitByte(unit, L().armour + sameAs[k])) << k;
}

struct LeaderCase {
  const char* text;
  bool accepted;
  std::string bytes;  // the 16 name bytes stored when accepted
};

TEST_P(UnitDataEditorTest, LeaderTextsAcceptedOrRefused) {
  const std::vector<LeaderCase> cases = {
      {"Smith/Jones", true, std::string("Smith\0Jones\0\0\0\0\0", 16)},
      {"Smith/", true, std::string("Smith\0\0\0\0\0\0\0\0\0\0\0", 16)},
      {"A/B/C", true, std::string("A\0B\0C\0\0\0\0\0\0\0\0\0\0\0", 16)},
      {"Abcdefg/Hijklmn", true, std::string("Abcdefg\0Hijklmn\0", 16)},
      {"/Jones", false, {}},
      {"SmithJones", false, {}},
      {"Abcdefg/Hijklmno", false, {}},
      {"", false, {}},
  };
  const int unit = 4;
  for (const LeaderCase& c : cases) {
    SCOPED_TRACE(c.text);
    select(unit + 1);
    const auto before = leader(unit);
    const std::string gridBefore = session.grid.cell(GridColumn::kLeader, unit + 1);
    prompts.messages.clear();
    editor.texts.leaders = c.text;
    number(kKills) = "4660";  // stored in either case, before the names
    editor.texts.name = std::string("Unit ") + c.text;
    editor.retain();
    EXPECT_EQ(session.model.leaderWord(unit, LeaderField::kKills), 4660);
    EXPECT_EQ(session.model.unitName(unit), (std::string("Unit ") + c.text).substr(0, 15));
    auto after = leader(unit);
    if (c.accepted) {
      EXPECT_TRUE(prompts.messages.empty());
      EXPECT_EQ(std::string(after.begin(), after.begin() + 16), c.bytes);
      EXPECT_EQ(session.grid.cell(GridColumn::kLeader, unit + 1), c.text);
    } else {
      ASSERT_EQ(prompts.messages.size(), 1u);
      EXPECT_EQ(prompts.lastTitle(), "Error");
      EXPECT_EQ(prompts.lastText(),
                "The names must be of the form xxx/yyyyy where\nthe total of x's and y's cannot "
                "exceed 14. \nDon't forget the /.\nLeaders names not saved!");
      EXPECT_EQ(std::vector<std::uint8_t>(after.begin(), after.begin() + 16),
                std::vector<std::uint8_t>(before.begin(), before.begin() + 16));
      EXPECT_EQ(session.grid.cell(GridColumn::kLeader, unit + 1), gridBefore);
    }
    // The rest of the leader record is never touched by the names.
    EXPECT_EQ(after[16], before[16]);
    EXPECT_EQ(after[17], before[17]);
  }
}

TEST_P(UnitDataEditorTest, NameIsCutToFifteenAndAnEmptyNameEndsRetain) {
  const int unit = 1;
  select(unit + 1);
  editor.texts.name = "ABCDEFGHIJKLMNOPQRST";
  editor.retain();
  EXPECT_EQ(editor.texts.name, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(session.grid.cell(GridColumn::kName, unit + 1), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(session.model.unitName(unit), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(unitByte(unit, L().name + 15), 0);

  editor.texts.name = "";
  editor.retain();
  EXPECT_EQ(unitByte(unit, L().name), 0);
  EXPECT_EQ(session.grid.cell(GridColumn::kName, unit + 1), "");
  const auto before = session.model.image();
  editor.texts.name = "Back again";
  number(kSpeed) = "99";
  editor.retain();
  EXPECT_EQ(session.model.image(), before);
}

TEST_P(UnitDataEditorTest, ConversionErrorStopsRetainWhereItIs) {
  const int unit = 3;
  select(unit + 1);
  const std::string oldName = session.model.unitName(unit);
  const auto oldLeader = leader(unit);
  // Order after the rank: Damage, Men, Supression, Smoke, FC, Speed, RoF, ...
  for (UnitField f : {kDamage, kMen, kSupression, kSmoke, kFireControl, kRateOfFire})
    number(f) = "201";
  number(kSpeed) = "fast";
  editor.texts.rankIndex = 1;
  editor.texts.name = "Renamed";
  editor.texts.leaders = "New/Leader";
  try {
    editor.retain();
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'fast' is not a valid integer value");
  }
  for (UnitField f : {kDamage, kMen, kSupression, kSmoke, kFireControl})
    EXPECT_EQ(unitByte(unit, L().*unitFieldInfo(f).offset), 201) << unitFieldInfo(f).control;
  EXPECT_NE(unitByte(unit, L().rateOfFire), 201);
  EXPECT_EQ(leaderByte(unit, LeaderField::kRank), 2);
  EXPECT_EQ(session.model.unitName(unit), oldName);
  EXPECT_EQ(editor.texts.name, "Renamed");
  EXPECT_EQ(leader(unit)[0], oldLeader[0]);

  // An ammunition cell: the cells before it are stored, none after.
  select(unit + 1);
  for (int k = 0; k < 16; ++k) ammo(k % 4 + 1, k / 4 + 1) = "7";
  ammo(2, 2) = "";  // byte 5
  const int weaponBefore = unitByte(unit, L().weapons);
  session.model.selectedWeapons[0] = static_cast<std::uint16_t>(weaponBefore + 1);
  EXPECT_THROW(editor.retain(), ConversionError);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(unitByte(unit, L().ammunition + k), 7);
  EXPECT_NE(unitByte(unit, L().ammunition + 6), 7);
  EXPECT_EQ(unitByte(unit, L().weapons), weaponBefore);
}

TEST_P(UnitDataEditorTest, WeaponSlotsAndTheirMobNumbers) {
  const int unit = 7;  // side 1
  select(unit + 1);
  const int mob = session.model.sideMob[1];
  for (int s = 1; s < 4; ++s) session.model.setUnitByte(unit, L().mobNumbers + s, 99);
  session.model.selectedWeapons = {12, 0, 250, 256};
  number(kMobNumber) = "42";
  editor.retain();
  EXPECT_EQ(unitByte(unit, L().weapons + 0), 12);
  EXPECT_EQ(unitByte(unit, L().weapons + 1), 0);
  EXPECT_EQ(unitByte(unit, L().weapons + 2), 250);
  EXPECT_EQ(unitByte(unit, L().weapons + 3), 0);  // 256 keeps its low byte
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 0), 42);   // the "Mob#" edit
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 1), 99);   // no weapon: kept
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 2), mob);
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 3), 99);

  // A side byte without a side: its MOB bytes are left alone.
  session.model.setUnitByte(unit, L().side, 5);
  select(unit + 1);
  session.model.selectedWeapons = {1, 2, 3, 4};
  editor.retain();
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 1), 99);
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 3), 99);
  EXPECT_EQ(unitByte(unit, L().weapons + 3), 4);
}

TEST_P(UnitDataEditorTest, WeaponChoiceLivesUntilRetain) {
  const int unit = 2;
  select(unit + 1);
  ASSERT_TRUE(editor.selectWeaponCell(0, 2));
  EXPECT_FALSE(editor.selectWeaponCell(1, 3));  // not a name cell
  EXPECT_EQ(editor.weaponSlot, 1);
  const std::string oldAmmo = ammo(1, 1);
  ammo(1, 1) = "39";  // typed, not retained
  EXPECT_TRUE(editor.chooseWeapon(5));
  EXPECT_TRUE(editor.chooseWeapon(17));  // only the second choice counts
  EXPECT_FALSE(editor.chooseWeapon(-1));
  EXPECT_FALSE(editor.chooseWeapon(250));
  EXPECT_EQ(session.model.selectedWeapons[1], 17);
  EXPECT_EQ(editor.texts.weapons[0][2], nameOf(0, 17));
  EXPECT_EQ(unitByte(unit, L().weapons + 1), session.model.unitByte(unit, L().weapons + 1));

  editor.fill();  // back to the window without Retain
  EXPECT_EQ(ammo(1, 1), oldAmmo);
  EXPECT_EQ(editor.texts.weapons[0][2], nameOf(0, 17));
  editor.retain();
  EXPECT_EQ(unitByte(unit, L().weapons + 1), 17);
  EXPECT_EQ(unitByte(unit, L().mobNumbers + 1), session.model.sideMob[0]);
}

TEST_P(UnitDataEditorTest, CopyPasteCarriesTypeDataAndKeepsTheTargetsOwn) {
  const int from = 1, to = 4;
  GameModel& m = session.model;
  m.setUnitWord(from, L().imageNo, 40000);  // above the signed 16-bit range
  m.setUnitByte(from, L().weapons + 2, 33);
  select(from + 1);
  number(kSpeed) = "300";  // an edit not yet retained is copied too
  editor.copy();
  EXPECT_TRUE(editor.pasteEnabled);

  const auto targetLeader = leader(to);
  const int damage = unitByte(to, L().damage), supression = unitByte(to, L().suppression);
  select(to + 1);
  editor.paste();
  editor.retain();

  for (int k = 0; k < 16; ++k) EXPECT_EQ(unitByte(to, L().name + k), unitByte(from, L().name + k));
  for (int k = 0; k < 16; ++k) EXPECT_EQ(unitByte(to, L().ammunition + k), unitByte(from, L().ammunition + k));
  for (const ArmourCell& a : kArmourCells)
    EXPECT_EQ(unitByte(to, L().armour + a.shownByte), unitByte(from, L().armour + a.shownByte));
  for (int s = 0; s < 4; ++s) EXPECT_EQ(unitByte(to, L().weapons + s), unitByte(from, L().weapons + s));
  for (UnitField f : kClipboardFields) {
    const UnitFieldInfo& info = unitFieldInfo(f);
    if (f == kSpeed) continue;
    EXPECT_EQ(m.unitWord(to, L().*info.offset) & (info.word ? 0xFFFF : 0xFF),
              m.unitWord(from, L().*info.offset) & (info.word ? 0xFFFF : 0xFF))
        << info.control;
  }
  EXPECT_EQ(unitByte(to, L().speed), 44);
  EXPECT_EQ(m.unitWord(to, L().imageNo), 40000);
  EXPECT_EQ(unitByte(to, L().damage), damage);
  EXPECT_EQ(unitByte(to, L().suppression), supression);
  EXPECT_EQ(leader(to), targetLeader);  // names, rank and kills
}

TEST_P(UnitDataEditorTest, PasteOntoTheOtherSide) {
  select(2);  // side 0
  session.model.selectedWeapons = {3, 4, 0, 300};
  editor.copy();
  session.mob.available[0] = false;  // names still come from side 0's table
  const int to = 9;  // side 1
  select(to + 1);
  editor.paste();
  EXPECT_EQ(editor.texts.weapons[0][1], nameOf(0, 3));
  EXPECT_EQ(editor.texts.weapons[0][2], nameOf(0, 4));
  EXPECT_EQ(editor.texts.weapons[0][4], "");  // 300 has no entry
  EXPECT_EQ(session.model.selectedWeapons[1], 4);
  editor.retain();
  // Side 0's weapon numbers under side 1's MOB file.
  EXPECT_EQ(unitByte(to, L().weapons + 1), 4);
  EXPECT_EQ(unitByte(to, L().mobNumbers + 1), session.model.sideMob[1]);
}

TEST_P(UnitDataEditorTest, FailedCopyLeavesPasteDisabled) {
  select(2);
  number(kLiftCost) = "x";  // the last field read
  editor.texts.name = "Half copied";
  EXPECT_THROW(editor.copy(), ConversionError);
  EXPECT_FALSE(editor.pasteEnabled);
  EXPECT_EQ(editor.clipboard.name, "Half copied");
  const auto texts = editor.texts.numbers;
  editor.paste();  // nothing to paste yet
  EXPECT_EQ(editor.texts.numbers, texts);

  number(kLiftCost) = "3";
  editor.copy();
  ASSERT_TRUE(editor.pasteEnabled);
  number(kSwim) = "x";  // a later failed copy keeps Paste as it was
  editor.texts.name = "Second";
  EXPECT_THROW(editor.copy(), ConversionError);
  EXPECT_TRUE(editor.pasteEnabled);
  EXPECT_EQ(editor.clipboard.name, "Second");
}

TEST(WeaponList, LinesOfASide) {
  MobTables mob;
  const std::string full = "ABCDEFGHIJKLMNO";
  std::copy(full.begin(), full.end(), mob.names[1][0].begin());
  std::copy(full.begin(), full.begin() + 3, mob.names[1][249].begin());
  const auto lines = weaponListLines(mob, 1);
  ASSERT_EQ(lines.size(), 250u);
  EXPECT_EQ(lines[0], "0) ABCDEFGHIJKLMNO");
  EXPECT_EQ(lines[17], "17) ");
  EXPECT_EQ(lines[249], "249) ABC");
  EXPECT_EQ(weaponListLines(mob, 2)[0], "0) ");  // no such side
}

}  // namespace
}  // namespace tarnel

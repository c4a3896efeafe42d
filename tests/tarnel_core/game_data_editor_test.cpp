#include "editors/game_data_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/int_convert.h"
#include "game_sample.h"
#include "mainwindow/main_commands.h"
#include "model/session.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

class GameDataEditorTest : public ::testing::TestWithParam<GameFileKind> {
 protected:
  testing::ScriptedPrompts prompts;
  Session session{prompts};
  GameDataEditor editor{session};

  void SetUp() override {
    samplegen::SampleOptions o;
    o.kind = GetParam();
    o.unitsPerSide = 4;
    session.model = samplegen::makeGameModel(o);
    editor.fill();
  }
  GameModel& m() { return session.model; }
  int gameByte(int offset) { return m().byteAt(m().gameDataOffset() + offset); }
  void setGameByte(int offset, int v) { m().setByteAt(m().gameDataOffset() + offset, v); }
  std::string& hex(int col, int slot) {
    return editor.texts.victory[static_cast<std::size_t>(col)][static_cast<std::size_t>(slot)];
  }
};

TEST_P(GameDataEditorTest, TerrainAndLowBytesWhereTheGenerationPutsThem) {
  const int terrain = GetParam() == GameFileKind::Vn3 ? 364 : 344;
  const int notTerrain = terrain == 364 ? 344 : 364;
  setGameByte(terrain, 9);
  setGameByte(notTerrain, 4);
  editor.fill();
  EXPECT_EQ(editor.texts.numbers[kTerrainField], "9");
  editor.texts.numbers[kTerrainField] = "300";
  editor.texts.numbers[kCountry4Field] = "-2";
  hex(2, 7) = "$1FF";
  editor.retain();
  EXPECT_EQ(gameByte(terrain), 44);
  EXPECT_EQ(gameByte(notTerrain), 4);
  EXPECT_EQ(gameByte(252), 254);
  EXPECT_EQ(gameByte(57 + 7), 255);  // amount of slot 7
  EXPECT_TRUE(session.modified());
}

TEST_P(GameDataEditorTest, EveryFieldSitsAtItsOwnOffset) {
  // The offsets of the game data section as the game writes them.
  const int terrain = GetParam() == GameFileKind::Vn3 ? 364 : 344;
  const std::vector<std::pair<GameDataField, int>> offsets = {
      {kMonthField, 3},          {kYearField, 4},           {kMaxTurnsField, 14},     {kTurnField, 15},
      {kVisibilityField, 102},   {kBattlesField, 113},      {kMinorVictoriesField, 114},
      {kMajorVictoriesField, 115}, {kMaxBattlesField, 232}, {kStartMonthField, 234},  {kStartYearField, 236},
      {kEndMonthField, 238},     {kEndYearField, 240},      {kCountry1Field, 246},    {kCountry2Field, 248},
      {kCountry3Field, 250},     {kCountry4Field, 252},     {kTerrainField, terrain}};
  ASSERT_EQ(offsets.size(), static_cast<std::size_t>(kGameDataFieldCount));
  // A value of its own at each offset shows in its field only...
  for (std::size_t k = 0; k < offsets.size(); ++k) setGameByte(offsets[k].second, static_cast<int>(100 + k));
  for (int k = 0; k < 4; ++k) setGameByte(16 + 21 * k, 200 + k);  // hex slot 1: X, Y, amount, side
  editor.fill();
  for (std::size_t k = 0; k < offsets.size(); ++k)
    EXPECT_EQ(editor.texts.numbers[offsets[k].first], std::to_string(100 + k)) << offsets[k].second;
  for (int k = 0; k < 4; ++k) EXPECT_EQ(hex(k, 1), std::to_string(200 + k)) << k;
  // ...and goes back there alone.
  for (std::size_t k = 0; k < offsets.size(); ++k) editor.texts.numbers[offsets[k].first] = std::to_string(10 + k);
  for (int k = 0; k < 4; ++k) hex(k, 1) = std::to_string(20 + k);
  editor.retain();
  for (std::size_t k = 0; k < offsets.size(); ++k)
    EXPECT_EQ(gameByte(offsets[k].second), static_cast<int>(10 + k)) << offsets[k].second;
  for (int k = 0; k < 4; ++k) EXPECT_EQ(gameByte(16 + 21 * k), 20 + k) << k;
}

TEST(GameDataEditorWithoutGame, SetIsNoUnsavedEdit) {
  testing::ScriptedPrompts prompts;
  Session session{prompts};
  GameDataEditor editor{session};
  editor.fill();
  editor.retain();
  EXPECT_FALSE(session.modified());
  session.setModified(true);  // however it came about, it is not asked about
  EXPECT_TRUE(mayDropChanges(session));
  EXPECT_TRUE(prompts.questions.empty());
}

TEST_P(GameDataEditorTest, DescriptionIsCutToThirtyOneBytes) {
  setGameByte(147, 'Z');  // never written: a full field reads on into it
  const std::string forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
  for (const auto& [typed, shown] : {std::pair<std::string, std::string>{"Ridge", "Ridge"},
                                     {forty, forty.substr(0, 31) + "Z"}}) {
    editor.texts.description = typed;
    editor.retain();
    for (std::size_t k = 0; k < 31; ++k)
      EXPECT_EQ(gameByte(116 + static_cast<int>(k)), k < typed.size() ? typed[k] : 0) << typed << k;
    editor.fill();
    EXPECT_EQ(editor.texts.description, shown);
  }
}

TEST_P(GameDataEditorTest, BadCellStopsRetainWhereItStandsAndSlot21IsKept) {
  for (int offset : {36, 57, 78, 99}) setGameByte(offset, 0xA5);
  const int y3 = gameByte(36 + 3);
  for (int k = 1; k <= 20; ++k) hex(0, k) = hex(1, k) = "7";
  hex(1, 3) = "7q";
  editor.texts.description = "Held";
  try {
    editor.retain();
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'7q' is not a valid integer value");
  }
  EXPECT_EQ(gameByte(116), 'H');
  EXPECT_EQ(gameByte(35), 7);  // the whole X column, then Y of slots 1 and 2
  EXPECT_EQ(gameByte(38), 7);
  EXPECT_EQ(gameByte(39), y3);
  hex(1, 3) = "7";
  editor.retain();
  for (int offset : {36, 57, 78, 99}) EXPECT_EQ(gameByte(offset), 0xA5) << offset;
}

TEST_P(GameDataEditorTest, PrestigeIsSixteenBitsInSection26AndAbsentInVersion10) {
  const bool v10 = GetParam() == GameFileKind::V10;
  // A sectioned file loaded before a version 1.0 file leaves directory entry
  // 26 behind, here pointing into the unit records.
  if (v10) {
    m().sectionOffset[kPrestigeSection] = 500;
    m().sectionLength[kPrestigeSection] = 4;
  }
  const std::int64_t p = m().prestigeOffset();
  const int before[2] = {m().byteAt(p), m().byteAt(p + 1)};
  for (const auto& [typed, low, high, shown] :
       {std::tuple{"1000", 232, 3, "1000"}, {"-1", 255, 0, "255"}, {"0", 0, 0, "0"}}) {
    editor.texts.prestige = typed;
    editor.retain();
    EXPECT_EQ(m().byteAt(p), v10 ? before[0] : low) << typed;
    EXPECT_EQ(m().byteAt(p + 1), v10 ? before[1] : high) << typed;
    editor.fill();
    EXPECT_EQ(editor.texts.prestige, v10 ? "" : shown);
    EXPECT_EQ(editor.texts.prestigeEnabled, !v10);
  }
}

std::string kindName(const ::testing::TestParamInfo<GameFileKind>& p) {
  return p.param == GameFileKind::V10 ? "V10" : p.param == GameFileKind::V11 ? "V11" : "Vn3";
}
INSTANTIATE_TEST_SUITE_P(Generations, GameDataEditorTest,
                         ::testing::Values(GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3), kindName);

}  // namespace
}  // namespace tarnel

#include "editors/game_data_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/int_convert.h"
#include "game_sample.h"
#include "model/session.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

using testing::ScriptedPrompts;

class GameDataEditorTest : public ::testing::TestWithParam<GameFileKind> {
 protected:
  ScriptedPrompts prompts;
  Session session{prompts};
  GameDataEditor editor{session};

  void SetUp() override {
    samplegen::SampleOptions o;
    o.kind = GetParam();
    o.unitsPerSide = 4;
    session.model = samplegen::makeGameModel(o);
    editor.create();
    editor.fill();
  }

  GameModel& m() { return session.model; }
  std::int64_t g() { return m().gameDataOffset(); }
  int gameByte(int offset) { return m().byteAt(g() + offset); }
  std::string& number(GameDataField f) { return editor.texts.numbers[static_cast<std::size_t>(f)]; }
  std::string& hex(int col, int slot) {
    return editor.texts.victory[static_cast<std::size_t>(col)][static_cast<std::size_t>(slot)];
  }
  std::vector<std::uint8_t> gameData() {
    const auto begin = m().image.begin() + g();
    return {begin, begin + 400};
  }
  bool hasPrestige() const { return GetParam() != GameFileKind::V10; }
};

TEST_P(GameDataEditorTest, FillShowsTheSectionBytes) {
  EXPECT_EQ(number(kTurnField), "1");
  EXPECT_EQ(number(kMaxTurnsField), "30");
  EXPECT_EQ(number(kVisibilityField), "25");
  EXPECT_EQ(number(kTerrainField), "2");
  EXPECT_EQ(number(kMaxBattlesField), "5");
  EXPECT_EQ(number(kMonthField), "6");
  EXPECT_EQ(number(kYearField), "84");
  EXPECT_EQ(number(kCountry1Field), "82");
  EXPECT_EQ(number(kCountry2Field), "81");
  EXPECT_EQ(number(kCountry3Field), "0");
  // The sample's description has 32 characters: shown up to its zero byte.
  EXPECT_EQ(editor.texts.description, "Synthetic river crossing at dawn");
  EXPECT_EQ(editor.texts.prestigeEnabled, hasPrestige());
  EXPECT_EQ(editor.texts.prestige, hasPrestige() ? "1250" : "");
  EXPECT_EQ(hex(0, 0), " X");
  EXPECT_EQ(hex(3, 0), " Side");

  m().setByteAt(g() + 16, 11);   // X of slot 1
  m().setByteAt(g() + 56, 200);  // Y of slot 20
  m().setByteAt(g() + 98, 1);    // side of slot 20
  editor.fill();
  EXPECT_EQ(hex(0, 1), "11");
  EXPECT_EQ(hex(1, 20), "200");
  EXPECT_EQ(hex(3, 20), "1");
}

TEST_P(GameDataEditorTest, RetainStoresEveryControlAsItsLowByte) {
  for (int f = 0; f < kGameDataFieldCount; ++f) number(static_cast<GameDataField>(f)) = std::to_string(300 + f);
  for (int c = 0; c < 4; ++c)
    for (int k = 1; k <= 20; ++k) hex(c, k) = std::to_string(c * 20 + k);
  hex(2, 7) = "$1FF";
  editor.retain();

  for (int f = 0; f < kGameDataFieldCount; ++f) {
    const int offset = gameDataFieldInfo(static_cast<GameDataField>(f)).offset;
    EXPECT_EQ(gameByte(offset < 0 ? m().layout->terrain : offset), (300 + f) % 256) << f;
  }
  EXPECT_EQ(gameByte(16), 1);       // X of slot 1
  EXPECT_EQ(gameByte(36 + 20), 40);  // Y of slot 20
  EXPECT_EQ(gameByte(57 + 7), 255);  // amount of slot 7, "$1FF"
  EXPECT_EQ(gameByte(78 + 20), 80);  // side of slot 20
  EXPECT_TRUE(session.modified());
}

TEST_P(GameDataEditorTest, TerrainLiesWhereTheGenerationPutsIt) {
  const int own = GetParam() == GameFileKind::Vn3 ? 364 : 344;
  const int other = own == 364 ? 344 : 364;
  m().setByteAt(g() + own, 9);
  m().setByteAt(g() + other, 4);
  editor.fill();
  EXPECT_EQ(number(kTerrainField), "9");
  number(kTerrainField) = "77";
  editor.retain();
  EXPECT_EQ(gameByte(own), 77);
  EXPECT_EQ(gameByte(other), 4);
}

TEST_P(GameDataEditorTest, DescriptionIsCutToThirtyOneBytes) {
  struct Case {
    std::string typed;
    std::string shown;  // after the next fill
  };
  // Byte 147 follows the field: it is never written, so a full field reads
  // on into it.
  m().setByteAt(g() + 147, 'Z');
  const std::string forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
  for (const Case& c : {Case{"Ridge", "Ridge"}, Case{forty, forty.substr(0, 31) + "Z"}}) {
    editor.texts.description = c.typed;
    editor.retain();
    for (int k = 0; k < 31; ++k)
      EXPECT_EQ(gameByte(116 + k), k < static_cast<int>(c.typed.size()) ? c.typed[static_cast<std::size_t>(k)] : 0)
          << c.typed << " byte " << k;
    EXPECT_EQ(gameByte(147), 'Z');
    editor.fill();
    EXPECT_EQ(editor.texts.description, c.shown);
  }
}

// Files with sections; a version 1.0 file has no prestige (below).
class SectionedGameDataTest : public GameDataEditorTest {};

TEST_P(SectionedGameDataTest, PrestigeIsSixteenBitsInItsOwnSection) {
  struct Case {
    const char* typed;
    int low, high;
    const char* shown;
  };
  const std::int64_t p = m().prestigeOffset();
  for (const Case& c : {Case{"1000", 232, 3, "1000"}, Case{"-1", 255, 0, "255"}, Case{"0", 0, 0, "0"},
                        Case{"65535", 255, 255, "65535"}}) {
    editor.texts.prestige = c.typed;
    editor.retain();
    EXPECT_EQ(m().byteAt(p), c.low) << c.typed;
    EXPECT_EQ(m().byteAt(p + 1), c.high) << c.typed;
    editor.fill();
    EXPECT_EQ(editor.texts.prestige, c.shown);
  }
}

TEST_P(GameDataEditorTest, BadTextStopsRetainWhereItStands) {
  const std::vector<std::uint8_t> before = gameData();
  for (int k = 1; k <= 20; ++k) {
    hex(0, k) = "7";
    hex(1, k) = k == 3 ? "7q" : "8";
    hex(2, k) = "9";
  }
  editor.texts.description = "Held";
  editor.texts.prestige = "4";
  try {
    editor.retain();
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'7q' is not a valid integer value");
  }
  EXPECT_EQ(gameByte(116), 'H');
  EXPECT_EQ(gameByte(16 + 19), 7);  // the whole X column
  EXPECT_EQ(gameByte(37), 8);       // Y of slots 1 and 2
  EXPECT_EQ(gameByte(38), 8);
  for (int k = 3; k <= 20; ++k) EXPECT_EQ(gameByte(36 + k), before[static_cast<std::size_t>(36 + k)]) << k;
  EXPECT_EQ(gameByte(58), before[58]);
  if (hasPrestige()) {
    EXPECT_EQ(m().wordAt(m().prestigeOffset()), 4);
  }
  EXPECT_TRUE(session.modified());

  // A bad field among the bytes stops before the prestige and the rest.
  session.setModified(false);
  editor.fill();
  number(kMaxTurnsField) = "12";
  number(kVisibilityField) = "";
  number(kYearField) = "50";
  editor.texts.prestige = "9";
  EXPECT_THROW(editor.retain(), ConversionError);
  EXPECT_EQ(gameByte(14), 12);
  EXPECT_EQ(gameByte(4), 84);
  if (hasPrestige()) {
    EXPECT_EQ(m().wordAt(m().prestigeOffset()), 4);
  }
  EXPECT_TRUE(session.modified());
}

TEST_P(GameDataEditorTest, SlotTwentyOneIsNeverWritten) {
  for (int offset : {36, 57, 78, 99}) m().setByteAt(g() + offset, 0xA5);
  for (int round = 0; round < 3; ++round) {
    for (int c = 0; c < 4; ++c)
      for (int k = 1; k <= 20; ++k) hex(c, k) = std::to_string(round);
    editor.retain();
    editor.fill();
  }
  for (int offset : {36, 57, 78, 99}) EXPECT_EQ(gameByte(offset), 0xA5) << offset;
  EXPECT_EQ(gameByte(35), 2);
}

std::string kindName(const ::testing::TestParamInfo<GameFileKind>& p) {
  return p.param == GameFileKind::V10 ? "V10" : p.param == GameFileKind::V11 ? "V11" : "Vn3";
}

INSTANTIATE_TEST_SUITE_P(Generations, GameDataEditorTest,
                         ::testing::Values(GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3), kindName);
INSTANTIATE_TEST_SUITE_P(Generations, SectionedGameDataTest,
                         ::testing::Values(GameFileKind::V11, GameFileKind::Vn3), kindName);

TEST(GameDataEditor, VersionOneFileHasNoPrestige) {
  ScriptedPrompts prompts;
  Session session{prompts};
  samplegen::SampleOptions o;
  o.kind = GameFileKind::V10;
  session.model = samplegen::makeGameModel(o);
  // A sectioned file loaded before leaves its directory entry 26 behind,
  // pointing into the middle of this file's unit records.
  session.model.sectionOffset[kPrestigeSection] = 500;
  session.model.sectionLength[kPrestigeSection] = 4;
  const std::vector<std::uint8_t> before = session.model.image;

  GameDataEditor editor{session};
  editor.fill();
  EXPECT_FALSE(editor.texts.prestigeEnabled);
  EXPECT_EQ(editor.texts.prestige, "");
  editor.texts.prestige = "1000";
  editor.retain();
  // Every other control stored what it showed: not one byte changed.
  EXPECT_TRUE(session.model.image == before);
}

TEST(GameDataEditor, NothingLoadedShowsZeros) {
  ScriptedPrompts prompts;
  Session session{prompts};
  GameDataEditor editor{session};
  EXPECT_EQ(editor.texts.numbers[kTurnField], "??");
  EXPECT_EQ(editor.texts.description, "Description");
  editor.create();
  editor.fill();
  for (const std::string& n : editor.texts.numbers) EXPECT_EQ(n, "0");
  for (int c = 0; c < 4; ++c)
    for (int k = 1; k <= 20; ++k) EXPECT_EQ(editor.texts.victory[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)], "0");
  EXPECT_EQ(editor.texts.description, "");
  EXPECT_FALSE(editor.texts.prestigeEnabled);
}

}  // namespace
}  // namespace tarnel

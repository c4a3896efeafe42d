#include "editors/game_data_editor.h"

#include <algorithm>

#include "common/int_convert.h"
#include "model/session.h"

namespace tarnel {

namespace {

constexpr std::array<GameDataFieldInfo, kGameDataFieldCount> kFields = {{
    {"TurnEdit", gamedata::kTurn},
    {"MaxTurnsEdit", gamedata::kMaxTurns},
    {"VisibilityEdit", gamedata::kVisibility},
    {"TerrainEdit", -1},
    {"StartMonthEdit", gamedata::kStartMonth},
    {"EndMonthEdit", gamedata::kEndMonth},
    {"StartYearEdit", gamedata::kStartYear},
    {"EndYearEdit", gamedata::kEndYear},
    {"Country1Edit", gamedata::kCountries[0]},
    {"Country2Edit", gamedata::kCountries[1]},
    {"Country3Edit", gamedata::kCountries[2]},
    {"Country4Edit", gamedata::kCountries[3]},
    {"MajorVictoriesEdit", gamedata::kMajorVictories},
    {"MinorVictoriesEdit", gamedata::kMinorVictories},
    {"BattlesEdit", gamedata::kBattles},
    {"MaxBattlesEdit", gamedata::kMaxBattles},
    {"MonthEdit", gamedata::kMonth},
    {"YearEdit", gamedata::kYear},
}};

std::size_t at(int index) { return static_cast<std::size_t>(index); }

int fieldOffset(const GameModel& m, int f) {
  const int offset = kFields[at(f)].offset;
  return offset < 0 ? m.layout->terrain : offset;
}

// Image offset of hex slot k's byte in victory array `col`.
std::int64_t victoryOffset(const GameModel& m, int col, int slot) {
  return m.gameDataOffset() + gamedata::kVictoryHexArrays[col] + slot - 1;
}

// The description runs to its first zero byte, which may lie past its 31
// bytes, but never past the game data section.
int descriptionLimit(const GameModel& m) {
  const std::int64_t start = m.gameDataOffset() + gamedata::kDescription;
  std::int64_t end = kImageSize;
  if (m.loaded == GameFileKind::V10)
    end = m.v10Length;
  else if (m.sectionLength[kGameDataSection] > 0)
    end = m.gameDataOffset() + m.sectionLength[kGameDataSection];
  return static_cast<int>(std::clamp<std::int64_t>(end - start, 0, kImageSize));
}

}  // namespace

const std::array<const char*, kVictoryColumns> kVictoryHeadings = {" X", " Y", " Amt", " Side"};

const GameDataFieldInfo& gameDataFieldInfo(GameDataField field) { return kFields[at(field)]; }

GameDataTexts::GameDataTexts() { numbers.fill("??"); }

long long prestigePlace(const GameModel& m) {
  // A version 1.0 image has no sections at all; its directory entry 26 may
  // still point into the previous file's layout.
  if (m.loaded == GameFileKind::V10 || m.loaded == GameFileKind::None) return -1;
  if (m.sectionLength[kPrestigeSection] < 2) return -1;
  return m.prestigeOffset() + kPrestige;
}

GameDataEditor::GameDataEditor(Session& session) : session_(session) {}

void GameDataEditor::create() {
  for (int c = 0; c < kVictoryColumns; ++c) texts.victory[at(c)][0] = kVictoryHeadings[at(c)];
}

void GameDataEditor::fill() {
  const GameModel& m = session_.model;
  const std::int64_t g = m.gameDataOffset();
  for (int f = 0; f < kGameDataFieldCount; ++f)
    texts.numbers[at(f)] = std::to_string(m.byteAt(g + fieldOffset(m, f)));

  const long long prestige = prestigePlace(m);
  texts.prestigeEnabled = prestige >= 0;
  texts.prestige = prestige >= 0 ? std::to_string(m.wordAt(prestige)) : std::string();

  texts.description = m.textAt(g + gamedata::kDescription, descriptionLimit(m));

  for (int c = 0; c < kVictoryColumns; ++c)
    for (int k = 1; k <= gamedata::kVictoryHexEntries; ++k)
      texts.victory[at(c)][at(k)] = std::to_string(m.byteAt(victoryOffset(m, c, k)));
}

void GameDataEditor::retain() {
  GameModel& m = session_.model;
  // Whatever is stored before a bad text stays stored, and counts as an edit.
  auto store = [&](std::int64_t offset, int value) {
    m.setByteAt(offset, value);
    session_.markModified();
  };
  const std::int64_t g = m.gameDataOffset();

  for (int f = 0; f < kGameDataFieldCount; ++f) store(g + fieldOffset(m, f), toInt(texts.numbers[at(f)]));

  const long long prestige = prestigePlace(m);
  if (prestige >= 0) {
    // Remainder and quotient of 256, truncated toward zero, each to 8 bits.
    const int v = toInt(texts.prestige);
    store(prestige, v % 256);
    store(prestige + 1, v / 256);
  }

  for (int k = 0; k < kDescriptionChars; ++k)
    store(g + gamedata::kDescription + k,
          at(k) < texts.description.size() ? static_cast<unsigned char>(texts.description[at(k)]) : 0);

  for (int c = 0; c < kVictoryColumns; ++c)
    for (int k = 1; k <= gamedata::kVictoryHexEntries; ++k)
      store(victoryOffset(m, c, k), toInt(texts.victory[at(c)][at(k)]));
}

}  // namespace tarnel

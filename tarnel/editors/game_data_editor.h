#pragma once

#include <array>
#include <string>

namespace tarnel {

class Session;
struct GameModel;

// The one-byte fields of the game data editor, in the order the window fills
// and stores them.
enum GameDataField {
  kTurnField,
  kMaxTurnsField,
  kVisibilityField,
  kTerrainField,
  kStartMonthField,
  kEndMonthField,
  kStartYearField,
  kEndYearField,
  kCountry1Field,
  kCountry2Field,
  kCountry3Field,
  kCountry4Field,
  kMajorVictoriesField,
  kMinorVictoriesField,
  kBattlesField,
  kMaxBattlesField,
  kMonthField,
  kYearField,
  kGameDataFieldCount
};

struct GameDataFieldInfo {
  const char* control;  // object name of the edit
  int offset;           // in the game data section; -1: the layout's terrain byte
};

const GameDataFieldInfo& gameDataFieldInfo(GameDataField field);

inline constexpr int kDescriptionChars = 31;
inline constexpr int kVictoryColumns = 4;
inline constexpr int kVictoryRows = 21;  // heading row and hex slots 1 to 20
extern const std::array<const char*, kVictoryColumns> kVictoryHeadings;

// What the game data window's controls show. Texts are Windows-1252 bytes,
// exactly as typed; they are converted only when Retain stores them.
struct GameDataTexts {
  GameDataTexts();
  std::array<std::string, kGameDataFieldCount> numbers;
  std::string prestige = "??";
  // A file without a prestige section (a version 1.0 file, or none loaded)
  // has no prestige: the field is then empty and disabled.
  bool prestigeEnabled = true;
  std::string description = "Description";
  // VictoryGrid as [column][row]; row 0 holds the headings.
  std::array<std::array<std::string, kVictoryRows>, kVictoryColumns> victory;
};

// Image offset of the two prestige bytes, or -1 when the loaded file has no
// section 26 that holds them.
long long prestigePlace(const GameModel& model);

// The pure logic of the "Game Data" window: the values of the game data
// section and the prestige, filled into texts and stored back by Retain.
class GameDataEditor {
 public:
  explicit GameDataEditor(Session& session);

  GameDataTexts texts;

  // The headings of VictoryGrid, written once when the window is created.
  void create();
  // Every control from the model.
  void fill();
  // Every control back into the model, in the window's order. Throws
  // ConversionError at the first text that is not an integer; what was stored
  // before it stays stored. A description is cut to 31 characters.
  void retain();

 private:
  Session& session_;
};

}  // namespace tarnel

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/layout.h"

namespace tarnel {

class Session;
struct MobTables;

// The numeric edits of the unit data editor, in the order Retain stores them
// after the rank. Kills lives in the leader record and comes last.
enum UnitField {
  kDamage,
  kMen,
  kSupression,
  kSmoke,
  kFireControl,
  kSpeed,
  kRateOfFire,
  kSize,
  kCost,
  kVision,
  kLift,
  kCountry,
  kSurvival,
  kStabiliser,
  kRangeFinder,
  kRadio,
  kUnitNumber,
  kImageNumber,
  kClass,
  kSwim,
  kSmokeDispenser,
  kMobNumber,
  kLiftCost,
  kKills,
  kUnitFieldCount
};

struct UnitFieldInfo {
  const char* control;  // object name of the edit
  const char* caption;  // its label
  UnitOffset GenerationLayout::*offset;  // nullptr for Kills (leader record)
  bool word;  // two bytes, little-endian
};

const UnitFieldInfo& unitFieldInfo(UnitField field);

inline constexpr int kEditorGridSize = 5;  // both grids: 5 columns by 5 rows
inline constexpr int kWeaponSlots = 4;
inline constexpr int kRankCount = 10;
extern const std::array<const char*, kRankCount> kRankItems;
inline constexpr std::array<int, kEditorGridSize> kWeaponsGridWidths = {170, 35, 35, 35, 35};
inline constexpr std::array<int, kEditorGridSize> kArmorGridWidths = {122, 47, 47, 47, 47};

// Cells of a 5 x 5 grid addressed as [column][row]; row 0 is the heading row.
using EditorCells = std::array<std::array<std::string, kEditorGridSize>, kEditorGridSize>;

// What the editor's controls show. Texts are Windows-1252 bytes, exactly as
// typed; they are converted only when a command uses them.
struct UnitDataTexts {
  UnitDataTexts();
  std::string name = "Unit Name";
  std::string leaders = "Leader1/Leader2";
  int rankIndex = -1;  // -1: no item selected
  std::array<std::string, kUnitFieldCount> numbers;
  EditorCells weapons;  // WeaponsGrid: names in column 0, rounds in 1..4
  EditorCells armour;   // ArmorGrid: headings in row 0 and column 0
};

// One armour cell of the grid and the groups of the armour block it feeds.
struct ArmourCell {
  int col;
  int row;
  int shownByte;  // offset from the start of the armour block
};

// The 14 armour cells in the clipboard's order.
extern const std::array<ArmourCell, 14> kArmourCells;

// The unit clipboard: values taken from the controls at the last Copy, each
// number as a signed 16-bit integer. It lives for the whole run.
struct UnitClipboard {
  std::string name;
  std::array<std::int16_t, 14> armour{};      // kArmourCells order
  std::array<std::int16_t, 16> ammunition{};  // kind by kind, slot by slot
  std::array<std::int16_t, kWeaponSlots> weapons{};
  std::array<std::int16_t, kUnitFieldCount> numbers{};  // damage, supression, kills unused
  int side = 0;
};

// The fields Copy reads and Paste writes, in their order.
extern const std::array<UnitField, 21> kClipboardFields;

// The pure logic of the unit data editor and of the weapons window it opens:
// fill the texts from the model, store them back (Retain), Copy and Paste
// through the unit clipboard, and the weapon choice.
class UnitDataEditor {
 public:
  explicit UnitDataEditor(Session& session);

  UnitDataTexts texts;
  UnitClipboard clipboard;
  bool pasteEnabled = false;
  int currentSide = 0;  // side byte of the unit last shown
  int weaponSlot = 0;   // slot 0..3 the weapons window sets

  // Fixed texts of both grids, set each time the window is shown.
  void show();
  // Refills every text from the model and the unit grid; false (texts kept)
  // when no unit of the loaded file is selected.
  bool fill();
  // Stores the texts into the unit and leader records and the unit grid.
  // An armour group is written only when a cell feeding it changed since the
  // fill (or a Paste filled the cells), so bytes 1 and 2 of a group that
  // differ from byte 0 survive a Retain that did not touch it.
  // Throws ConversionError at the first text that is not an integer; what was
  // stored before it stays stored.
  void retain();
  // Throws ConversionError like retain(); Paste is enabled only after a
  // complete copy.
  void copy();
  void paste();

  // Whether selecting the weapon name cell of this slot row (1..4) opens the
  // weapons window; if so it becomes the slot being set.
  bool selectWeaponCell(int col, int row);
  // The weapons window's Set: line 0..249 becomes the weapon of the slot being
  // set and its name shows in the grid. Returns false, changing nothing, for a
  // line outside the list (no selection).
  bool chooseWeapon(int line);

  // Row of the selected unit when it is a unit of the loaded file, else 0.
  int selectedUnitRow() const;
  // The name cell text of a slot: the weapon's name, or "Weapon #s" when the
  // side's names are not available.
  std::string weaponCellText(int slot, int weapon) const;

 private:
  // Which of the nine armour groups the texts would change.
  std::array<bool, 9> changedArmourGroups() const;

  Session& session_;
  // The armour cells as the last fill (or Retain) left them, for the row
  // filled; a Paste counts as a change of every cell.
  EditorCells armourAtFill_;
  int filledRow_ = 0;
  bool armourPasted_ = false;
};

// The weapons window's 250 lines for a side: "i) name".
std::vector<std::string> weaponListLines(const MobTables& mob, int side);

// The refusal shown when the leader text is not of the form xxx/yyy.
extern const char* const kLeaderNamesRefused;

}  // namespace tarnel

#include "editors/ammo_editor.h"

#include <algorithm>

#include "model/session.h"
#include "common/int_convert.h"

namespace tarnel {

namespace {

constexpr std::array<UnitFieldInfo, kUnitFieldCount> kFields = {{
    {"DamageEdit", "Damage", &GenerationLayout::damage, false},
    {"MenEdit", "Men", &GenerationLayout::men, false},
    {"SupressEdit", "Supression", &GenerationLayout::suppression, false},
    {"SmokeEdit", "Smoke", &GenerationLayout::smoke, false},
    {"FCEdit", "FC", &GenerationLayout::fireControl, false},
    {"SpeedEdit", "Speed", &GenerationLayout::speed, false},
    {"RoFEdit", "RoF", &GenerationLayout::rateOfFire, false},
    {"SizeEdit", "Size", &GenerationLayout::size, false},
    {"CostEdit", "Cost", &GenerationLayout::cost, false},
    {"VisionEdit", "Vision", &GenerationLayout::vision, false},
    {"LiftEdit", "Lift", &GenerationLayout::lift, false},
    {"CountryNumberEdit", "Ctry#", &GenerationLayout::nation, false},
    {"SurvEdit", "Surv.", &GenerationLayout::survival, false},
    {"StabEdit", "Stab.", &GenerationLayout::stabiliser, false},
    {"RngfEdit", "RngF", &GenerationLayout::rangeFinder, false},
    {"RadioEdit", "Radio", &GenerationLayout::radio, false},
    {"UnitNumberEdit", "Unit#", &GenerationLayout::unitType, false},
    {"ImageNumberEdit", "Img#", &GenerationLayout::imageNo, true},
    {"UnitTypeEdit", "Class", &GenerationLayout::classNo, false},
    {"SwimEdit", "Swim", &GenerationLayout::swim, false},
    {"SmkdEdit", "SmkD", &GenerationLayout::smokeDispenser, false},
    {"MOBEdit", "Mob#", &GenerationLayout::mobNumbers, false},
    {"LiftCostEdit", "LCost", &GenerationLayout::liftCost, false},
    {"KillsEdit", "Kills", nullptr, true},
}};

// Each armour group: the cell of its normal value; the heat value is the cell
// below it. The side groups at 8 and 24 have no cells of their own and take
// the values of the side groups before them.
struct ArmourGroup {
  int col;
  int normalRow;
};
constexpr std::array<ArmourGroup, 9> kArmourGroups = {{
    {1, 1}, {2, 1}, {2, 1}, {3, 1}, {1, 3}, {2, 3}, {2, 3}, {3, 3}, {4, 3},
}};

constexpr std::array<const char*, kEditorGridSize> kWeaponsHeadings = {"Weapon", "HE", "AP", "S1",
                                                                       "S2"};
constexpr std::array<const char*, kEditorGridSize> kArmourHeadings = {"Area", "Front", "Sides",
                                                                      "Rear", "Top"};
constexpr std::array<const char*, 4> kArmourRows = {"Hull Normal", "Hull Heat", "Turret Normal",
                                                    "Turret Heat"};

constexpr int kNameChars = kUnitNameBytes - 1;
constexpr int kLeaderTextMax = 15;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

std::int16_t toInt16(const std::string& text) { return static_cast<std::int16_t>(toInt(text)); }

// The rule of the two-byte fields: remainder and quotient of 256, truncated
// toward zero, each kept to 8 bits.
void storeWordBytes(GameModel& m, std::int64_t offset, int v) {
  m.setByteAt(offset, v % 256);
  m.setByteAt(offset + 1, v / 256);
}

}  // namespace

const std::array<const char*, kRankCount> kRankItems = {
    "1-Pvt", "2-Cpl", "3-Sgt", "4-2Lt", "5-1Lt", "6-Cpt", "7-Maj", "8-LtC", "9-Col", "10-Gen"};

const std::array<ArmourCell, 14> kArmourCells = {{
    {1, 1, 0}, {2, 1, 4}, {3, 1, 12},               // hull normal
    {1, 2, 3}, {2, 2, 7}, {3, 2, 15},               // hull heat
    {1, 3, 16}, {2, 3, 20}, {3, 3, 28}, {4, 3, 32},  // turret normal
    {1, 4, 19}, {2, 4, 23}, {3, 4, 31}, {4, 4, 35},  // turret heat
}};

const std::array<UnitField, 21> kClipboardFields = {
    kFireControl, kRateOfFire, kSpeed,      kSmoke,      kSize,        kVision, kCost,
    kLift,        kMen,        kCountry,    kSurvival,   kStabiliser,  kRangeFinder, kRadio,
    kUnitNumber,  kImageNumber, kClass,     kSwim,       kSmokeDispenser, kMobNumber, kLiftCost};

const char* const kLeaderNamesRefused =
    "The names must be of the form xxx/yyyyy where\nthe total of x's and y's cannot exceed 14. "
    "\nDon't forget the /.\nLeaders names not saved!";

const UnitFieldInfo& unitFieldInfo(UnitField field) { return kFields[at(field)]; }

UnitDataTexts::UnitDataTexts() { numbers.fill("0"); }

UnitDataEditor::UnitDataEditor(Session& session) : session_(session) {}

void UnitDataEditor::show() {
  for (int c = 0; c < kEditorGridSize; ++c) {
    texts.weapons[at(c)][0] = kWeaponsHeadings[at(c)];
    texts.armour[at(c)][0] = kArmourHeadings[at(c)];
  }
  for (int s = 1; s <= kWeaponSlots; ++s) {
    texts.weapons[0][at(s)] = " " + std::to_string(s);
    texts.armour[0][at(s)] = kArmourRows[at(s - 1)];
  }
}

int UnitDataEditor::selectedUnitRow() const {
  // A row left over from an earlier file may lie beyond this file's units,
  // where the records belong to other sections or to no unit at all.
  const int r = session_.model.selectedRow;
  return r >= 1 && r <= session_.model.unitCount ? r : 0;
}

std::string UnitDataEditor::weaponCellText(int slot, int weapon) const {
  const MobTables& mob = session_.mob;
  if ((currentSide == 0 || currentSide == 1) && !mob.available[at(currentSide)])
    return "Weapon #" + std::to_string(slot);
  return mob.weaponName(currentSide, weapon);
}

bool UnitDataEditor::fill() {
  const int r = selectedUnitRow();
  if (r < 1) return false;
  const GameModel& m = session_.model;
  const GenerationLayout& L = *m.layout;
  const int unit = r - 1;

  currentSide = m.unitByte(unit, L.side);
  for (int s = 1; s <= kWeaponSlots; ++s)
    texts.weapons[0][at(s)] = weaponCellText(s, m.selectedWeapons[at(s - 1)]);
  texts.name = session_.grid.cell(GridColumn::kName, r);
  for (int i = 0; i < 16; ++i)
    texts.weapons[at(i % 4 + 1)][at(i / 4 + 1)] = std::to_string(m.unitByte(unit, L.ammunition + i));
  for (const ArmourCell& a : kArmourCells)
    texts.armour[at(a.col)][at(a.row)] = std::to_string(m.unitByte(unit, L.armour + a.shownByte));
  const int rank = m.leaderByte(unit, LeaderField::kRank);
  texts.rankIndex = rank >= 1 && rank <= kRankCount ? rank - 1 : -1;
  texts.leaders = session_.grid.cell(GridColumn::kLeader, r);
  armourAtFill_ = texts.armour;
  filledRow_ = r;
  armourPasted_ = false;
  for (int f = 0; f < kUnitFieldCount; ++f) {
    const UnitFieldInfo& info = kFields[at(f)];
    int v;
    if (!info.offset)
      v = m.leaderWord(unit, LeaderField::kKills);
    else
      v = info.word ? m.unitWord(unit, L.*info.offset) : m.unitByte(unit, L.*info.offset);
    texts.numbers[at(f)] = std::to_string(v);
  }
  return true;
}

void UnitDataEditor::retain() {
  const int r = selectedUnitRow();
  if (r < 1) return;
  GameModel& m = session_.model;
  const GenerationLayout& L = *m.layout;
  const int unit = r - 1;
  if (m.unitByte(unit, L.name) == 0) return;
  // What is stored before a text that does not convert stays stored: an edit.
  session_.markModified();

  for (int i = 0; i < 16; ++i)
    m.setUnitByte(unit, L.ammunition + i, toInt(texts.weapons[at(i % 4 + 1)][at(i / 4 + 1)]));

  for (int s = 0; s < kWeaponSlots; ++s) m.setUnitByte(unit, L.weapons + s, m.selectedWeapons[at(s)]);

  // Slots 2 to 4 that hold a weapon take the side's MOB file. A side byte
  // other than 0 or 1 has no MOB number, so those bytes stay as they are.
  if (currentSide == 0 || currentSide == 1) {
    for (int s = 1; s < kWeaponSlots; ++s)
      if (m.unitByte(unit, L.weapons + s) != 0)
        m.setUnitByte(unit, L.mobNumbers + s, m.sideMob[at(currentSide)]);
  }

  const std::int64_t armour = m.fieldOffset(unit, L.armour);
  const std::array<bool, 9> changed = changedArmourGroups();
  for (std::size_t g = 0; g < kArmourGroups.size(); ++g) {
    if (!changed[g]) continue;
    const ArmourGroup& a = kArmourGroups[g];
    const std::int64_t group = armour + static_cast<std::int64_t>(4 * g);
    const int normal = toInt(texts.armour[at(a.col)][at(a.normalRow)]);
    for (int k = 0; k < 3; ++k) m.setByteAt(group + k, normal);
    m.setByteAt(group + 3, toInt(texts.armour[at(a.col)][at(a.normalRow + 1)]));
  }
  // The groups now hold what the cells show: a later Retain writes a group
  // again only when its cells change anew.
  armourAtFill_ = texts.armour;
  armourPasted_ = false;

  storeWordBytes(m, m.fieldOffset(unit, LeaderField::kKills), toInt(texts.numbers[kKills]));
  m.setLeaderByte(unit, LeaderField::kRank, texts.rankIndex + 1);
  for (int f = 0; f < kKills; ++f) {
    const UnitFieldInfo& info = kFields[at(f)];
    const int v = toInt(texts.numbers[at(f)]);
    const std::int64_t offset = m.fieldOffset(unit, L.*info.offset);
    if (info.word)
      storeWordBytes(m, offset, v);
    else
      m.setByteAt(offset, v);
  }

  texts.name.resize(std::min<std::size_t>(texts.name.size(), kNameChars));
  for (int k = 0; k < kUnitNameBytes; ++k)
    m.setUnitByte(unit, L.name + k, at(k) < texts.name.size() ? texts.name[at(k)] : 0);
  session_.grid.setCell(GridColumn::kName, r, texts.name);

  const std::string& t = texts.leaders;
  const std::size_t slash = t.find('/');
  if (t.size() > kLeaderTextMax || slash == std::string::npos || slash == 0) {
    session_.prompts.message(kLeaderNamesRefused, "Error", MessageIcon::Stop);
    return;
  }
  for (int i = 0; i < kLeaderNameBytes; ++i) {
    const bool text = at(i) < t.size() && t[at(i)] != '/';
    m.setByteAt(m.fieldOffset(unit, LeaderField::kName) + i, text ? t[at(i)] : 0);
  }
  session_.grid.setCell(GridColumn::kLeader, r, t);
}

std::array<bool, 9> UnitDataEditor::changedArmourGroups() const {
  std::array<bool, 9> changed{};
  // Texts not filled for this unit compare with nothing: every group counts.
  const bool all = armourPasted_ || filledRow_ != selectedUnitRow();
  for (std::size_t g = 0; g < kArmourGroups.size(); ++g) {
    const int column = kArmourGroups[g].col;
    const int row = kArmourGroups[g].normalRow;
    changed[g] = all || texts.armour[at(column)][at(row)] != armourAtFill_[at(column)][at(row)] ||
                 texts.armour[at(column)][at(row + 1)] != armourAtFill_[at(column)][at(row + 1)];
  }
  return changed;
}

void UnitDataEditor::copy() {
  clipboard.name = texts.name;
  for (std::size_t k = 0; k < kArmourCells.size(); ++k)
    clipboard.armour[k] = toInt16(texts.armour[at(kArmourCells[k].col)][at(kArmourCells[k].row)]);
  for (int c = 1; c <= 4; ++c)
    for (int s = 1; s <= kWeaponSlots; ++s)
      clipboard.ammunition[at((c - 1) * 4 + s - 1)] = toInt16(texts.weapons[at(c)][at(s)]);
  for (int s = 0; s < kWeaponSlots; ++s)
    clipboard.weapons[at(s)] = static_cast<std::int16_t>(session_.model.selectedWeapons[at(s)]);
  for (UnitField f : kClipboardFields) clipboard.numbers[at(f)] = toInt16(texts.numbers[at(f)]);
  clipboard.side = currentSide;
  pasteEnabled = true;
}

void UnitDataEditor::paste() {
  if (!pasteEnabled) return;
  texts.name = clipboard.name;
  armourPasted_ = true;
  for (std::size_t k = 0; k < kArmourCells.size(); ++k)
    texts.armour[at(kArmourCells[k].col)][at(kArmourCells[k].row)] = std::to_string(clipboard.armour[k]);
  for (int s = 0; s < kWeaponSlots; ++s) {
    const std::int16_t w = clipboard.weapons[at(s)];
    session_.model.selectedWeapons[at(s)] = static_cast<std::uint16_t>(w);
    // The copied side's names, whether or not that side's file was read.
    texts.weapons[0][at(s + 1)] = session_.mob.weaponName(clipboard.side, w);
  }
  for (int c = 1; c <= 4; ++c)
    for (int s = 1; s <= kWeaponSlots; ++s)
      texts.weapons[at(c)][at(s)] = std::to_string(clipboard.ammunition[at((c - 1) * 4 + s - 1)]);
  for (UnitField f : kClipboardFields) texts.numbers[at(f)] = std::to_string(clipboard.numbers[at(f)]);
  // Img# is an unsigned 16-bit field: shown as such, a copied number from
  // 32768 up is stored back unchanged instead of by the negative-number rule.
  texts.numbers[kImageNumber] =
      std::to_string(static_cast<std::uint16_t>(clipboard.numbers[kImageNumber]));
}

bool UnitDataEditor::selectWeaponCell(int col, int row) {
  if (col != 0 || row < 1 || row > kWeaponSlots) return false;
  if (currentSide != 0 && currentSide != 1) return false;
  if (!session_.mob.available[at(currentSide)]) return false;
  weaponSlot = row - 1;
  return true;
}

bool UnitDataEditor::chooseWeapon(int line) {
  if (line < 0 || line >= kWeaponNames) return false;
  session_.model.selectedWeapons[at(weaponSlot)] = static_cast<std::uint16_t>(line);
  texts.weapons[0][at(weaponSlot + 1)] = session_.mob.weaponName(currentSide, line);
  return true;
}

std::vector<std::string> weaponListLines(const MobTables& mob, int side) {
  std::vector<std::string> lines;
  lines.reserve(kWeaponNames);
  for (int w = 0; w < kWeaponNames; ++w) lines.push_back(std::to_string(w) + ") " + mob.weaponName(side, w));
  return lines;
}

}  // namespace tarnel

#pragma once

// Record sizes and field offsets of the two record layouts. VN2 versions 1.0
// and 1.1 share one layout; VN3 records are 23 bytes longer and shift the
// fields after offset 121.

namespace tarnel {

// A FileSection is addressed by its position in the file, 1 to 99, never by
// its identifier. The positions the editor interprets:
using FileSection = int;
inline constexpr FileSection kUnitSection = 1;
inline constexpr FileSection kPositionSection = 17;
inline constexpr FileSection kPrestigeSection = 26;
inline constexpr FileSection kPasswordSection = 33;
inline constexpr FileSection kLeaderSection = 34;
inline constexpr FileSection kGameDataSection = 37;

// Offset of a field in a UnitRecord. Scoped, like the leader and position
// fields below, so that neither a plain number nor a grid column index stands
// for one; `+` steps to the next byte of a multi-byte field.
enum class UnitOffset : int {};
constexpr int offsetOf(UnitOffset f) { return static_cast<int>(f); }
constexpr UnitOffset operator+(UnitOffset f, int bytes) { return UnitOffset{offsetOf(f) + bytes}; }
// A VN3-only field in the VN2 layout.
inline constexpr UnitOffset kNoUnitField{-1};

struct GenerationLayout {
  int unitStride;
  int unitCapacityBytes;
  int leaderCapacityBytes;
  // Image offsets of sections 1, 17, 34 and 37 in a flat version 1.0 file.
  int v10UnitOffset;
  int v10PositionOffset;
  int v10LeaderOffset;
  int v10GameDataOffset;
  int terrain;  // in section 37

  // UnitRecord field offsets.
  UnitOffset name;
  UnitOffset classNo;
  UnitOffset imageNo;  // 16 bit
  UnitOffset formation;
  UnitOffset formationIndex;
  UnitOffset size;
  UnitOffset ammunition;  // 16 bytes: 4 slots x HE, AP, S1, S2
  UnitOffset armour;      // 36 bytes
  UnitOffset men;
  UnitOffset speed;
  UnitOffset suppression;
  UnitOffset experience;
  UnitOffset morale;
  UnitOffset damage;
  UnitOffset vision;
  UnitOffset radio;
  UnitOffset fireControl;
  UnitOffset cost;
  UnitOffset leaderNumber;
  UnitOffset smoke;
  UnitOffset nation;
  UnitOffset unitType;
  UnitOffset side;
  UnitOffset rateOfFire;
  UnitOffset stabiliser;
  UnitOffset rangeFinder;
  UnitOffset lift;
  UnitOffset liftCost;
  UnitOffset swim;
  UnitOffset survival;
  UnitOffset mobNumbers;  // 4 bytes, one per weapon slot
  UnitOffset weapons;     // 4 bytes, one per weapon slot
  UnitOffset smokeDispenser;
  UnitOffset vn3Extra[3];  // kNoUnitField where the generation has no such byte
};

inline constexpr int kUnitNameBytes = 16;

// Field offsets of a LeaderRecord (section 34): one per unit, in unit order,
// 30 bytes in every generation. Scoped, so that no grid column index can
// stand for one.
enum class LeaderField : int {
  kName = 0,
  kRank = 19,
  kRally = 20,
  kInfantry = 21,
  kArtillery = 22,
  kArmour = 23,
  kKills = 27,  // 16 bit
};
inline constexpr int kLeaderStride = 30;
inline constexpr int kLeaderNameBytes = 16;

// Field offsets of a unit position entry (section 17).
inline constexpr int kPositionStride = 19;
enum class PositionField : int {
  kX = 0,  // signed 16 bit
  kY = 2,  // signed 16 bit
  kHidden = 14,
};

constexpr int offsetOf(LeaderField f) { return static_cast<int>(f); }
constexpr int offsetOf(PositionField f) { return static_cast<int>(f); }

// Game data (section 37) offsets; terrain differs per layout.
namespace gamedata {
inline constexpr int kMonth = 3;
inline constexpr int kYear = 4;
inline constexpr int kMaxTurns = 14;
inline constexpr int kTurn = 15;
inline constexpr int kVictoryHexArrays[4] = {16, 37, 58, 79};
inline constexpr int kVictoryHexArrayBytes = 21;
inline constexpr int kVictoryHexEntries = 20;
inline constexpr int kVisibility = 102;
inline constexpr int kBattles = 113;
inline constexpr int kMinorVictories = 114;
inline constexpr int kMajorVictories = 115;
inline constexpr int kDescription = 116;
inline constexpr int kMaxBattles = 232;
inline constexpr int kStartMonth = 234;
inline constexpr int kStartYear = 236;
inline constexpr int kEndMonth = 238;
inline constexpr int kEndYear = 240;
inline constexpr int kCountries[4] = {246, 248, 250, 252};
}  // namespace gamedata

inline constexpr int kPrestige = 0;  // 16 bit, in section 26

inline constexpr GenerationLayout kVn2Layout{
    .unitStride = 220, .unitCapacityBytes = 88000, .leaderCapacityBytes = 12000, .v10UnitOffset = 0,
    .v10PositionOffset = 464009, .v10LeaderOffset = 687058, .v10GameDataOffset = 703998, .terrain = 344,
    .name = UnitOffset{0}, .classNo = UnitOffset{16}, .imageNo = UnitOffset{18}, .formation = UnitOffset{20},
    .formationIndex = UnitOffset{21}, .size = UnitOffset{24}, .ammunition = UnitOffset{45},
    .armour = UnitOffset{61}, .men = UnitOffset{115}, .speed = UnitOffset{116}, .suppression = UnitOffset{117},
    .experience = UnitOffset{118}, .morale = UnitOffset{119}, .damage = UnitOffset{121},
    .vision = UnitOffset{126}, .radio = UnitOffset{130}, .fireControl = UnitOffset{131},
    .cost = UnitOffset{132}, .leaderNumber = UnitOffset{133}, .smoke = UnitOffset{141},
    .nation = UnitOffset{159}, .unitType = UnitOffset{160}, .side = UnitOffset{178},
    .rateOfFire = UnitOffset{179}, .stabiliser = UnitOffset{180}, .rangeFinder = UnitOffset{181},
    .lift = UnitOffset{183}, .liftCost = UnitOffset{185}, .swim = UnitOffset{188}, .survival = UnitOffset{191},
    .mobNumbers = UnitOffset{200}, .weapons = UnitOffset{204}, .smokeDispenser = UnitOffset{208},
    .vn3Extra = {kNoUnitField, kNoUnitField, kNoUnitField}};

inline constexpr GenerationLayout kVn3Layout{
    .unitStride = 243, .unitCapacityBytes = 194400, .leaderCapacityBytes = 24000, .v10UnitOffset = -1,
    .v10PositionOffset = -1, .v10LeaderOffset = -1, .v10GameDataOffset = -1, .terrain = 364,
    .name = UnitOffset{0}, .classNo = UnitOffset{16}, .imageNo = UnitOffset{18}, .formation = UnitOffset{20},
    .formationIndex = UnitOffset{21}, .size = UnitOffset{24}, .ammunition = UnitOffset{45},
    .armour = UnitOffset{61}, .men = UnitOffset{115}, .speed = UnitOffset{116}, .suppression = UnitOffset{117},
    .experience = UnitOffset{118}, .morale = UnitOffset{119}, .damage = UnitOffset{121},
    .vision = UnitOffset{127}, .radio = UnitOffset{131}, .fireControl = UnitOffset{132},
    .cost = UnitOffset{133}, .leaderNumber = UnitOffset{135}, .smoke = UnitOffset{143},
    .nation = UnitOffset{161}, .unitType = UnitOffset{162}, .side = UnitOffset{181},
    .rateOfFire = UnitOffset{182}, .stabiliser = UnitOffset{183}, .rangeFinder = UnitOffset{184},
    .lift = UnitOffset{186}, .liftCost = UnitOffset{188}, .swim = UnitOffset{191}, .survival = UnitOffset{194},
    .mobNumbers = UnitOffset{203}, .weapons = UnitOffset{207}, .smokeDispenser = UnitOffset{211},
    .vn3Extra = {UnitOffset{216}, UnitOffset{218}, UnitOffset{219}}};

}  // namespace tarnel

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
  int name;
  int classNo;
  int imageNo;  // 16 bit
  int formation;
  int formationIndex;
  int size;
  int ammunition;  // 16 bytes: 4 slots x HE, AP, S1, S2
  int armour;      // 36 bytes
  int men;
  int speed;
  int suppression;
  int experience;
  int morale;
  int damage;
  int vision;
  int radio;
  int fireControl;
  int cost;
  int leaderNumber;
  int smoke;
  int nation;
  int unitType;
  int side;
  int rateOfFire;
  int stabiliser;
  int rangeFinder;
  int lift;
  int liftCost;
  int swim;
  int survival;
  int mobNumbers;  // 4 bytes, one per weapon slot
  int weapons;     // 4 bytes, one per weapon slot
  int smokeDispenser;
  int vn3Extra[3];  // -1 where the generation has no such byte
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
    220, 88000, 12000, 0, 464009, 687058, 703998, 344,
    0, 16, 18, 20, 21, 24, 45, 61, 115, 116, 117, 118, 119, 121,
    126, 130, 131, 132, 133, 141, 159, 160, 178, 179, 180, 181, 183, 185, 188, 191,
    200, 204, 208, {-1, -1, -1}};

inline constexpr GenerationLayout kVn3Layout{
    243, 194400, 24000, -1, -1, -1, -1, 364,
    0, 16, 18, 20, 21, 24, 45, 61, 115, 116, 117, 118, 119, 121,
    127, 131, 132, 133, 135, 143, 161, 162, 181, 182, 183, 184, 186, 188, 191, 194,
    203, 207, 211, {216, 218, 219}};

}  // namespace tarnel

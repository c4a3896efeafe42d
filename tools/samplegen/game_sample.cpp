#include "game_sample.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>

#include "gamefiles/game_encoders.h"

namespace samplegen {

using namespace tarnel;

namespace {

constexpr std::array<const char*, 12> kUnitNames = {
    "Rifle Squad", "MG Team",     "Mortar Sec",  "Scout Car",  "Light Tank",  "Medium Tank",
    "AT Gun",      "Howitzer",    "Engineer Sq", "HQ Section", "APC Carrier", "Recon Team"};
constexpr std::array<const char*, 10> kSurnames = {"Smith", "Jones", "Brand",  "Keller", "Varga",
                                                   "Novak", "Moreau", "Lind", "Okafor", "Petrov"};
constexpr std::array<const char*, 8> kGiven = {"John", "Anna", "Piet", "Ivo", "Mara", "Olek", "Rui", "Ada"};

// The men of unit type t in every sample MOB file.
int mobMen(int t) { return 1 + (t * 7) % 12; }

void putText(GameModel& m, std::int64_t at, const std::string& text) {
  for (std::size_t k = 0; k < text.size(); ++k) m.setByteAt(at + static_cast<std::int64_t>(k), static_cast<unsigned char>(text[k]));
}

struct SectionPlan {
  int position;
  int length;
  int kind;  // 0 zeros, 1 random (stays stored), 2 patterned (codes well)
};

}  // namespace

GameModel makeGameModel(const SampleOptions& o) {
  GameModel m;
  std::mt19937 rng(o.seed);
  auto roll = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const bool vn3 = o.kind == GameFileKind::Vn3;
  m.selectLayout(o.kind);
  const GenerationLayout& L = *m.layout;
  const int capacity = L.unitCapacityBytes / L.unitStride;
  const int units = std::min(2 * o.unitsPerSide, capacity);

  if (o.kind == GameFileKind::V10) {
    m.sectionOffset[kUnitSection] = L.v10UnitOffset;
    m.sectionOffset[kPositionSection] = L.v10PositionOffset;
    m.sectionOffset[kLeaderSection] = L.v10LeaderOffset;
    m.sectionOffset[kGameDataSection] = L.v10GameDataOffset;
    m.loaded = GameFileKind::V10;
    m.v10Length = 705200;
    // Filler in the parts no editor interprets.
    for (int k = 88000; k < 464009; k += 7) m.setByteAt(k, (k / 7) % 251);
  } else {
    std::vector<SectionPlan> plan;
    for (int j = 1; j <= 40; ++j) {
      int length = 64 + (j * 977) % 3000;
      int kind = j % 3;
      if (j == kUnitSection) length = L.unitCapacityBytes, kind = 0;
      if (j == kPositionSection) length = capacity * kPositionStride, kind = 0;
      if (j == kPrestigeSection) length = 4, kind = 0;
      if (j == kPasswordSection) length = 16, kind = 0;
      if (j == kLeaderSection) length = L.leaderCapacityBytes, kind = 0;
      if (j == kGameDataSection) length = 400, kind = 0;
      plan.push_back({j, length, kind});
    }
    std::int32_t r = kHeaderSize;
    putText(m, 0, std::string(magicOf(o.kind)));
    m.sectionLength[0] = kHeaderSize;
    for (const auto& p : plan) {
      m.sectionOffset[p.position] = r;
      m.sectionLength[p.position] = p.length;
      m.sectionId[p.position] = 1000 + p.position * 3;
      for (int k = 0; k < p.length; ++k) {
        int v = 0;
        if (p.kind == 1) v = roll(0, 255);
        if (p.kind == 2) v = (k / 9) % 5 == 0 ? roll(0, 255) : (k / 40) % 7;
        m.setByteAt(r + k, v);
      }
      r += p.length;
    }
    m.loaded = o.kind;
  }

  // Units: side 0 first, then side 1, each in formations of four.
  for (int i = 0; i < units; ++i) {
    const int side = i < units / 2 ? 0 : 1;
    const int inSide = side == 0 ? i : i - units / 2;
    const int formation = (side == 0 ? 0 : 100) + inSide / 4;
    std::string name = std::string(kUnitNames[static_cast<std::size_t>(roll(0, 11))]);
    name = name.substr(0, 12) + " " + std::to_string(inSide % 100);
    putText(m, m.fieldOffset(i, L.name), name.substr(0, 15));
    m.setUnitByte(i, L.classNo, roll(1, 30));
    m.setUnitWord(i, L.imageNo, roll(100, 900));
    m.setUnitByte(i, L.formation, formation);
    m.setUnitByte(i, L.formationIndex, inSide % 4 + 1);
    m.setUnitByte(i, L.size, roll(1, 12));
    for (int k = 0; k < 16; ++k) m.setUnitByte(i, L.ammunition + k, roll(0, 40));
    for (int k = 0; k < 36; ++k) m.setUnitByte(i, L.armour + k, roll(0, 30));
    if (i != kUnevenArmourUnit)
      for (int g = 0; g < 36; g += 4)
        for (int k = 1; k < 3; ++k) m.setUnitByte(i, L.armour + g + k, m.unitByte(i, L.armour + g));
    const int lossRoll = roll(2, 12);
    m.setUnitByte(i, L.speed, roll(5, 40));
    m.setUnitByte(i, L.experience, roll(40, 90));
    m.setUnitByte(i, L.morale, roll(40, 90));
    m.setUnitByte(i, L.vision, roll(10, 40));
    m.setUnitByte(i, L.cost, roll(10, 200));
    m.setUnitByte(i, L.leaderNumber, i);
    m.setUnitByte(i, L.nation, side == 0 ? o.nation0 : o.nation1);
    // The men at start are what the sides' MOB files give the unit type;
    // a few units have lost some of them.
    const int unitType = roll(1, 249);
    m.setUnitByte(i, L.unitType, unitType);
    const int menAtStart = mobMen(unitType);
    const int men = std::max(0, menAtStart - std::max(0, lossRoll - 9));
    m.setUnitByte(i, L.men, men);
    m.setUnitByte(i, L.side, side);
    m.setUnitByte(i, L.rateOfFire, roll(1, 6));
    for (int k = 0; k < 4; ++k) {
      m.setUnitByte(i, L.mobNumbers + k, side == 0 ? o.mob0 : o.mob1);
      m.setUnitByte(i, L.weapons + k, k < 2 ? roll(1, 249) : 0);
    }
    if (vn3) {
      // Units left and at start, men at start: a unit of several vehicles or
      // squads that lost men lost one of them.
      const int start = roll(1, 4);
      m.setUnitByte(i, L.vn3Extra[0], men < menAtStart && start > 1 ? start - 1 : start);
      m.setUnitByte(i, L.vn3Extra[1], start);
      m.setUnitByte(i, L.vn3Extra[2], menAtStart);
    }

    const std::int64_t leader = m.leaderOffset(i);
    const std::string surname = kSurnames[static_cast<std::size_t>(roll(0, 9))];
    const std::string given = kGiven[static_cast<std::size_t>(roll(0, 7))];
    putText(m, leader, surname);
    putText(m, leader + static_cast<std::int64_t>(surname.size()) + 1, given);
    m.setLeaderByte(i, LeaderField::kRank, roll(1, 8));
    m.setLeaderByte(i, LeaderField::kRally, roll(30, 80));
    m.setLeaderByte(i, LeaderField::kInfantry, roll(20, 90));
    m.setLeaderByte(i, LeaderField::kArtillery, roll(20, 90));
    m.setLeaderByte(i, LeaderField::kArmour, roll(20, 90));
    m.setLeaderWord(i, LeaderField::kKills, roll(0, 40));

    // On the 100 x 80 cell map: the sides face each other, side 0 in the
    // west and side 1 in the east, each formation's units close together.
    const std::int64_t pos = m.positionOffset(i);
    const int f = inSide / 4;
    m.setWordAt(pos + offsetOf(PositionField::kX), (side == 0 ? 10 : 62) + (f % 3) * 9 + roll(0, 5));
    m.setWordAt(pos + offsetOf(PositionField::kY), 4 + (f * 17) % 66 + roll(0, 5));
    m.setByteAt(pos + offsetOf(PositionField::kHidden), roll(0, 1));
  }

  const std::int64_t g = m.gameDataOffset();
  m.setByteAt(g + gamedata::kMonth, 6);
  m.setByteAt(g + gamedata::kYear, 84);
  m.setByteAt(g + gamedata::kMaxTurns, 30);
  m.setByteAt(g + gamedata::kTurn, 1);
  m.setByteAt(g + gamedata::kVisibility, 25);
  m.setByteAt(g + gamedata::kMaxBattles, 5);
  putText(m, g + gamedata::kDescription, o.description);
  m.setByteAt(g + gamedata::kStartMonth, 6);
  m.setByteAt(g + gamedata::kStartYear, 84);
  m.setByteAt(g + gamedata::kEndMonth, 7);
  m.setByteAt(g + gamedata::kEndYear, 84);
  // Victory hexes: X, Y, amount and the side holding each, in the middle of
  // the map between the two sides.
  constexpr std::array<std::array<int, 4>, 4> kVictoryHexes = {{{50, 40, 20, 0}, {47, 22, 10, 0}, {53, 58, 10, 1}, {56, 31, 5, 1}}};
  for (std::size_t k = 0; k < kVictoryHexes.size(); ++k)
    for (std::size_t c = 0; c < 4; ++c)
      m.setByteAt(g + gamedata::kVictoryHexArrays[c] + static_cast<int>(k), kVictoryHexes[k][c]);
  m.setByteAt(g + gamedata::kCountries[0], o.nation0);
  m.setByteAt(g + gamedata::kCountries[1], o.nation1);
  m.setByteAt(g + L.terrain, 2);
  if (o.kind != GameFileKind::V10) {
    m.setWordAt(m.prestigeOffset(), 1250);
    if (o.password) m.setByteAt(m.sectionOffset[kPasswordSection] + 5, 0x5A);
  }
  m.unitCount = units;
  return m;
}

std::vector<std::uint8_t> makeGameFile(const SampleOptions& o) {
  return encodeGame(makeGameModel(o), o.kind);
}

std::vector<std::uint8_t> makeMobFile(int mobNumber) {
  std::vector<std::uint8_t> bytes(14000, 0);
  constexpr std::array<const char*, 8> kKinds = {"Rifle", "MG", "Mortar", "AT Gun", "Cannon", "Howitzer", "Rocket", "Flamer"};
  for (int w = 1; w < 250; ++w) {
    std::string name = std::string(kKinds[static_cast<std::size_t>(w % 8)]) + " M" + std::to_string(mobNumber) + "-" + std::to_string(w);
    name = name.substr(0, 15);
    std::memcpy(bytes.data() + w * 15, name.data(), name.size());
  }
  for (int t = 1; t < 250; ++t) bytes[static_cast<std::size_t>(13750 + t)] = static_cast<std::uint8_t>(mobMen(t));
  return bytes;
}

}  // namespace samplegen

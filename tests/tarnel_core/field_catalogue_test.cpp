// The named-field catalogue against the record layouts as numbers, and the
// stores of each kind of field.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "model/field_catalogue.h"

using namespace tarnel;

namespace {

const NamedField& find(std::span<const NamedField> fields, const std::string& path) {
  for (const NamedField& f : fields)
    if (f.path() == path) return f;
  ADD_FAILURE() << "no field " << path;
  static const NamedField none{};
  return none;
}

// Offsets written out as numbers, so a swapped or shifted offset in the
// layouts or the catalogue fails here.
struct Literal {
  const char* path;
  int vn2, vn3, width;
};

TEST(FieldCatalogue, UnitOffsetsAreTheRecordLayouts) {
  const Literal unit[] = {
      {"name", 0, 0, 16},        {"class", 16, 16, 1},        {"imageNumber", 18, 18, 2},
      {"formation", 20, 20, 1},  {"number", 21, 21, 1},       {"size", 24, 24, 1},
      {"men", 115, 115, 1},      {"speed", 116, 116, 1},      {"suppression", 117, 117, 1},
      {"exp", 118, 118, 1},      {"mor", 119, 119, 1},        {"damage", 121, 121, 1},
      {"vision", 126, 127, 1},   {"radio", 130, 131, 1},      {"fireControl", 131, 132, 1},
      {"cost", 132, 133, 1},     {"leaderNumber", 133, 135, 1}, {"smoke", 141, 143, 1},
      {"nation", 159, 161, 1},   {"unitType", 160, 162, 1},   {"side", 178, 181, 1},
      {"rateOfFire", 179, 182, 1}, {"stabiliser", 180, 183, 1}, {"rangeFinder", 181, 184, 1},
      {"lift", 183, 186, 1},     {"liftCost", 185, 188, 1},   {"swim", 188, 191, 1},
      {"survival", 191, 194, 1}, {"smokeDispenser", 208, 211, 1},
      {"unitsLeft", -1, 216, 1}, {"unitsAtStart", -1, 218, 1}, {"menAtStart", -1, 219, 1},
      {"weapons[0].mob", 200, 203, 1}, {"weapons[3].mob", 203, 206, 1},
      {"weapons[0].weapon", 204, 207, 1}, {"weapons[3].weapon", 207, 210, 1},
      {"weapons[0].he", 45, 45, 1}, {"weapons[1].ap", 50, 50, 1}, {"weapons[3].s2", 60, 60, 1},
      {"armour.hullFront", 61, 61, 1}, {"armour.hullSides", 65, 65, 1}, {"armour.hullRear", 73, 73, 1},
      {"armour.turretFront", 77, 77, 1}, {"armour.turretSides", 81, 81, 1},
      {"armour.turretRear", 89, 89, 1}, {"armour.top", 93, 93, 1}, {"armour.hullFrontHeat", 64, 64, 1},
      {"armour.hullSidesHeat", 68, 68, 1}, {"armour.topHeat", 96, 96, 1},
      {"leader.name", 0, 0, 16}, {"leader.rank", 19, 19, 1}, {"leader.rally", 20, 20, 1},
      {"leader.inf", 21, 21, 1}, {"leader.art", 22, 22, 1}, {"leader.arm", 23, 23, 1},
      {"leader.kills", 27, 27, 2}, {"position.x", 0, 0, 2}, {"position.y", 2, 2, 2},
      {"position.hidden", 14, 14, 1}};
  for (const Literal& l : unit) {
    const NamedField& f = find(unitFields(), l.path);
    EXPECT_EQ(f.offsetVn2, l.vn2) << l.path;
    EXPECT_EQ(f.offsetVn3, l.vn3) << l.path;
    EXPECT_EQ(f.width, l.width) << l.path;
  }
  const Literal game[] = {{"month", 3, 3, 1},         {"year", 4, 4, 1},
                          {"maxTurns", 14, 14, 1},    {"turn", 15, 15, 1},
                          {"visibility", 102, 102, 1}, {"battles", 113, 113, 1},
                          {"minorVictories", 114, 114, 1}, {"majorVictories", 115, 115, 1},
                          {"description", 116, 116, 31}, {"maxBattles", 232, 232, 1},
                          {"startMonth", 234, 234, 1}, {"startYear", 236, 236, 1},
                          {"endMonth", 238, 238, 1},  {"endYear", 240, 240, 1},
                          {"countries[0]", 246, 246, 1}, {"countries[3]", 252, 252, 1},
                          {"terrain", 344, 364, 1},   {"prestige", 0, 0, 2},
                          {"victoryHexes[0].x", 16, 16, 1}, {"victoryHexes[0].y", 37, 37, 1},
                          {"victoryHexes[0].amount", 58, 58, 1}, {"victoryHexes[19].side", 98, 98, 1}};
  for (const Literal& l : game) {
    const NamedField& f = find(gameFields(), l.path);
    EXPECT_EQ(f.offsetVn2, l.vn2) << l.path;
    EXPECT_EQ(f.offsetVn3, l.vn3) << l.path;
    EXPECT_EQ(f.width, l.width) << l.path;
  }
}

// No two fields share a path or a byte, so one JSON key stands for one
// place and a store never changes another field.
TEST(FieldCatalogue, PathsAndBytesAreDistinct) {
  for (auto fields : {unitFields(), gameFields()}) {
    std::set<std::string> paths;
    std::map<std::pair<int, int>, std::string> bytes;  // (section, offset) per generation
    for (bool vn3 : {false, true})
      for (const NamedField& f : fields) {
        if (vn3) {
          EXPECT_TRUE(paths.insert(f.path()).second) << f.path();
        }
        const int at = vn3 ? f.offsetVn3 : f.offsetVn2;
        if (at < 0) continue;
        for (int k = 0; k < f.width; ++k) {
          const auto key = std::make_pair(static_cast<int>(f.section) * 1000 + (vn3 ? 500 : 0), at + k);
          const auto [it, fresh] = bytes.emplace(key, f.path());
          EXPECT_TRUE(fresh) << f.path() << " overlaps " << it->second;
        }
      }
  }
}

GameModel modelOf(GameFileKind kind) {
  GameModel m;
  m.selectLayout(kind);
  m.loaded = kind;
  // Sections 1, 17, 26, 34 and 37 in a row, big enough for two units.
  const int starts[][2] = {{kUnitSection, 20}, {kPositionSection, 1000}, {kPrestigeSection, 1100},
                           {kLeaderSection, 1200}, {kGameDataSection, 1300}};
  for (auto [j, at] : starts) {
    m.sectionOffset[static_cast<std::size_t>(j)] = at;
    m.sectionLength[static_cast<std::size_t>(j)] = j == kUnitSection ? 2 * m.layout->unitStride : j == kGameDataSection ? 400 : 60;
  }
  return m;
}

TEST(FieldCatalogue, StoresAsTheEditorsDo) {
  GameModel m = modelOf(GameFileKind::Vn3);
  auto write = [&](const char* path, FieldValue v, int unit = 1) {
    const auto fields = std::string(path).starts_with("game.") ? gameFields() : unitFields();
    const NamedField& f = find(fields, std::string(path).starts_with("game.") ? path + 5 : path);
    EXPECT_EQ(checkFieldValue(f, v), "") << path;
    writeField(m, f, unit, v);
    return readField(m, f, unit).value();
  };
  const std::int64_t unit1 = 20 + 243;
  // A name is zero-filled to the end of its 16 bytes.
  for (int k = 0; k < 16; ++k) m.setByteAt(unit1 + k, 'Z');
  EXPECT_EQ(write("name", {0, "Rifles"}).text, "Rifles");
  EXPECT_EQ(m.byteAt(unit1 + 6), 0);
  EXPECT_EQ(m.byteAt(unit1 + 15), 0);
  // The leader's "/" is the separating zero byte.
  EXPECT_EQ(write("leader.name", {0, "Smith/Jones"}).text, "Smith/Jones");
  EXPECT_EQ(m.byteAt(1200 + 30 + 5), 0);
  EXPECT_EQ(m.byteAt(1200 + 30 + 6), 'J');
  // A normal armour value fills its group's three normal bytes, the sides
  // both side groups; the heat byte stays.
  m.setByteAt(unit1 + 61 + 4 + 3, 9);
  write("armour.hullSides", {40, ""});
  for (int k : {4, 5, 6, 8, 9, 10}) EXPECT_EQ(m.byteAt(unit1 + 61 + k), 40) << k;
  EXPECT_EQ(m.byteAt(unit1 + 61 + 7), 9);
  EXPECT_EQ(write("position.x", {-2, ""}).number, -2);
  EXPECT_EQ(m.byteAt(1000 + 19), 0xFE);
  EXPECT_EQ(m.byteAt(1000 + 20), 0xFF);
  EXPECT_EQ(write("leader.kills", {300, ""}).number, 300);
  EXPECT_EQ(write("game.prestige", {1000, ""}, 0).number, 1000);
  EXPECT_EQ(m.byteAt(1100), 232);
  // The description takes 31 bytes, zero-filled.
  for (int k = 0; k < 40; ++k) m.setByteAt(1300 + 116 + k, 'x');
  EXPECT_EQ(write("game.description", {0, "Dawn"}, 0).text, "Dawn");
  EXPECT_EQ(m.byteAt(1300 + 146), 0);
  EXPECT_EQ(m.byteAt(1300 + 147), 'x');
}

TEST(FieldCatalogue, FieldsAFileDoesNotHave) {
  GameModel v11 = modelOf(GameFileKind::V11);
  EXPECT_FALSE(readField(v11, find(unitFields(), "menAtStart"), 0));
  EXPECT_TRUE(readField(v11, find(unitFields(), "side"), 1));
  // The third unit lies past the end of section 1.
  EXPECT_FALSE(readField(v11, find(unitFields(), "side"), 2));
  GameModel v10 = modelOf(GameFileKind::V10);
  v10.v10Length = 705076;
  EXPECT_FALSE(readField(v10, find(gameFields(), "prestige"), 0));
}

TEST(FieldCatalogue, RefusedValues) {
  const struct {
    const char* path;
    FieldValue value;
    const char* why;
  } cases[] = {
      {"exp", {256, ""}, "256 is out of range 0..255"},
      {"imageNumber", {65536, ""}, "65536 is out of range 0..65535"},
      {"position.y", {-32769, ""}, "-32769 is out of range -32768..32767"},
      {"position.hidden", {2, ""}, "2 is out of range 0..1"},
      {"name", {0, "Sixteen chars..."}, "\"Sixteen chars...\" is longer than 15 characters"},
      {"name", {0, ""}, "an empty name would end the list of units"},
      {"leader.name", {0, "/Jones"}, "\"/Jones\" breaks the leader rule: First/Second, at most 14 characters besides the \"/\""},
      {"leader.name", {0, "SmithJones"}, "\"SmithJones\" breaks the leader rule: First/Second, at most 14 characters besides the \"/\""},
      {"leader.name", {0, "A/B/C"}, "\"A/B/C\" breaks the leader rule: First/Second, at most 14 characters besides the \"/\""},
      {"leader.name", {0, "Abcdefgh/Jklmnop"}, "\"Abcdefgh/Jklmnop\" breaks the leader rule: First/Second, at most 14 characters besides the \"/\""},
  };
  for (const auto& c : cases) EXPECT_EQ(checkFieldValue(find(unitFields(), c.path), c.value), c.why) << c.path;
  EXPECT_EQ(checkFieldValue(find(unitFields(), "leader.name"), {0, "Smith/"}), "");
  EXPECT_EQ(checkFieldValue(find(gameFields(), "description"), {0, std::string(32, 'd')}),
            "\"" + std::string(32, 'd') + "\" is longer than 31 characters");
}

}  // namespace

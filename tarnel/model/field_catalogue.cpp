#include "model/field_catalogue.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/text1252.h"

namespace tarnel {

namespace {

using K = FieldKind;
using G = FieldGroup;
using S = FieldSection;

constexpr int kAmmunition = 45;
constexpr int kArmour = 61;

NamedField unitByte(std::string_view key, UnitOffset vn2, UnitOffset vn3) {
  return {key, G::None, -1, S::Unit, offsetOf(vn2), offsetOf(vn3), 1, K::Byte};
}

std::vector<NamedField> makeUnitFields() {
  const GenerationLayout& a = kVn2Layout;
  const GenerationLayout& b = kVn3Layout;
  std::vector<NamedField> f = {
      {"name", G::None, -1, S::Unit, offsetOf(a.name), offsetOf(b.name), kUnitNameBytes, K::UnitName},
      unitByte("side", a.side, b.side),
      unitByte("formation", a.formation, b.formation),
      unitByte("number", a.formationIndex, b.formationIndex),
      unitByte("exp", a.experience, b.experience),
      unitByte("mor", a.morale, b.morale),
      unitByte("men", a.men, b.men),
      unitByte("nation", a.nation, b.nation),
      unitByte("unitType", a.unitType, b.unitType),
      unitByte("speed", a.speed, b.speed),
      unitByte("vision", a.vision, b.vision),
      unitByte("cost", a.cost, b.cost),
      unitByte("class", a.classNo, b.classNo),
      {"imageNumber", G::None, -1, S::Unit, offsetOf(a.imageNo), offsetOf(b.imageNo), 2, K::Word},
      unitByte("size", a.size, b.size),
      unitByte("suppression", a.suppression, b.suppression),
      unitByte("damage", a.damage, b.damage),
      unitByte("radio", a.radio, b.radio),
      unitByte("fireControl", a.fireControl, b.fireControl),
      unitByte("leaderNumber", a.leaderNumber, b.leaderNumber),
      unitByte("smoke", a.smoke, b.smoke),
      unitByte("rateOfFire", a.rateOfFire, b.rateOfFire),
      unitByte("stabiliser", a.stabiliser, b.stabiliser),
      unitByte("rangeFinder", a.rangeFinder, b.rangeFinder),
      unitByte("lift", a.lift, b.lift),
      unitByte("liftCost", a.liftCost, b.liftCost),
      unitByte("swim", a.swim, b.swim),
      unitByte("survival", a.survival, b.survival),
      unitByte("smokeDispenser", a.smokeDispenser, b.smokeDispenser),
      unitByte("unitsLeft", a.vn3Extra[0], b.vn3Extra[0]),
      unitByte("unitsAtStart", a.vn3Extra[1], b.vn3Extra[1]),
      unitByte("menAtStart", a.vn3Extra[2], b.vn3Extra[2]),
  };
  // Slot s: its MOB number, weapon number and four ammunition kinds. The
  // first slot's MOB number is the unit's "Mob#".
  for (int s = 0; s < 4; ++s) {
    f.push_back({"mob", G::Weapons, s, S::Unit, offsetOf(a.mobNumbers) + s, offsetOf(b.mobNumbers) + s, 1, K::Byte});
    f.push_back({"weapon", G::Weapons, s, S::Unit, offsetOf(a.weapons) + s, offsetOf(b.weapons) + s, 1, K::Byte});
    static constexpr std::array<std::string_view, 4> kAmmo = {"he", "ap", "s1", "s2"};
    for (int c = 0; c < 4; ++c) {
      const int at = kAmmunition + 4 * s + c;
      f.push_back({kAmmo[static_cast<std::size_t>(c)], G::Weapons, s, S::Unit, at, at, 1, K::Byte});
    }
  }
  // The fourteen armour bytes the unit data editor shows: byte 0 (normal) and
  // byte 3 (heat) of seven of the nine groups; the sides cover two groups.
  struct Area {
    std::string_view normal, heat;
    int group;
  };
  static constexpr std::array<Area, 7> kAreas = {{{"hullFront", "hullFrontHeat", 0},
                                                  {"hullSides", "hullSidesHeat", 4},
                                                  {"hullRear", "hullRearHeat", 12},
                                                  {"turretFront", "turretFrontHeat", 16},
                                                  {"turretSides", "turretSidesHeat", 20},
                                                  {"turretRear", "turretRearHeat", 28},
                                                  {"top", "topHeat", 32}}};
  for (const Area& area : kAreas) {
    const int at = kArmour + area.group;
    const int mirror = area.group == 4 || area.group == 20 ? 4 : 0;
    f.push_back({area.normal, G::Armour, -1, S::Unit, at, at, 1, K::ArmourNormal, mirror});
  }
  for (const Area& area : kAreas) {
    const int at = kArmour + area.group + 3;
    const int mirror = area.group == 4 || area.group == 20 ? 4 : 0;
    f.push_back({area.heat, G::Armour, -1, S::Unit, at, at, 1, K::Byte, mirror});
  }
  using L = LeaderField;
  const int name = offsetOf(L::kName);
  f.push_back({"name", G::Leader, -1, S::Leader, name, name, kLeaderNameBytes, K::LeaderName});
  for (auto [key, field] : {std::pair<std::string_view, L>{"rank", L::kRank}, {"rally", L::kRally},
                            {"inf", L::kInfantry}, {"art", L::kArtillery}, {"arm", L::kArmour}})
    f.push_back({key, G::Leader, -1, S::Leader, offsetOf(field), offsetOf(field), 1, K::Byte});
  const int kills = offsetOf(L::kKills);
  f.push_back({"kills", G::Leader, -1, S::Leader, kills, kills, 2, K::Word});
  using P = PositionField;
  f.push_back({"x", G::Position, -1, S::Position, offsetOf(P::kX), offsetOf(P::kX), 2, K::SignedWord});
  f.push_back({"y", G::Position, -1, S::Position, offsetOf(P::kY), offsetOf(P::kY), 2, K::SignedWord});
  f.push_back({"hidden", G::Position, -1, S::Position, offsetOf(P::kHidden), offsetOf(P::kHidden), 1, K::Flag});
  return f;
}

NamedField gameByte(std::string_view key, int at) { return {key, G::None, -1, S::GameData, at, at, 1, K::Byte}; }

std::vector<NamedField> makeGameFields() {
  namespace d = gamedata;
  std::vector<NamedField> f = {
      gameByte("turn", d::kTurn),
      gameByte("maxTurns", d::kMaxTurns),
      gameByte("month", d::kMonth),
      gameByte("year", d::kYear),
      gameByte("startMonth", d::kStartMonth),
      gameByte("startYear", d::kStartYear),
      gameByte("endMonth", d::kEndMonth),
      gameByte("endYear", d::kEndYear),
      gameByte("visibility", d::kVisibility),
      {"terrain", G::None, -1, S::GameData, kVn2Layout.terrain, kVn3Layout.terrain, 1, K::Byte},
      gameByte("battles", d::kBattles),
      gameByte("maxBattles", d::kMaxBattles),
      gameByte("minorVictories", d::kMinorVictories),
      gameByte("majorVictories", d::kMajorVictories),
  };
  for (int c = 0; c < 4; ++c)
    f.push_back({"", G::Countries, c, S::GameData, d::kCountries[c], d::kCountries[c], 1, K::Byte});
  f.push_back({"prestige", G::None, -1, S::Prestige, kPrestige, kPrestige, 2, K::Word});
  f.push_back({"description", G::None, -1, S::GameData, d::kDescription, d::kDescription, 31, K::Description});
  static constexpr std::array<std::string_view, 4> kHex = {"x", "y", "amount", "side"};
  for (int k = 0; k < d::kVictoryHexEntries; ++k)
    for (int c = 0; c < 4; ++c) {
      const int at = d::kVictoryHexArrays[c] + k;
      f.push_back({kHex[static_cast<std::size_t>(c)], G::VictoryHexes, k, S::GameData, at, at, 1, K::Byte});
    }
  return f;
}

// The section holding a field and where its records or bytes start.
FileSection sectionOf(FieldSection s) {
  switch (s) {
    case S::Unit: return kUnitSection;
    case S::Leader: return kLeaderSection;
    case S::Position: return kPositionSection;
    case S::GameData: return kGameDataSection;
    case S::Prestige: return kPrestigeSection;
  }
  return kUnitSection;
}

std::int64_t recordStart(const GameModel& m, FieldSection s, int unit) {
  switch (s) {
    case S::Unit: return m.unitOffset(unit);
    case S::Leader: return m.leaderOffset(unit);
    case S::Position: return m.positionOffset(unit);
    case S::GameData: return m.gameDataOffset();
    case S::Prestige: return m.prestigeOffset();
  }
  return 0;
}

// End of the bytes a field may read: the end of its section, or of the
// file for a version 1.0 image.
std::int64_t sectionEnd(const GameModel& m, FileSection j) {
  if (m.loaded == GameFileKind::V10) return m.v10Length;
  return std::int64_t{m.sectionOffset[static_cast<std::size_t>(j)]} + m.sectionLength[static_cast<std::size_t>(j)];
}

// A text in JSON quotes, as the document writes it; a long one cut to its
// first 40 characters, so that a message stays one short line.
std::string quoted(const std::string& bytes) {
  constexpr std::size_t kShown = 40;
  std::string out = "\"";
  for (const char c : common::cp1252ToUtf8(bytes.substr(0, kShown))) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<std::uint8_t>(c) < 32) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xf];
      out += kHex[c & 0xf];
    } else {
      out += c;
    }
  }
  return out + (bytes.size() > kShown ? "\xe2\x80\xa6\"" : "\"");
}

}  // namespace

std::string NamedField::path() const {
  std::string p;
  switch (group) {
    case G::None: break;
    case G::Weapons: p = "weapons[" + std::to_string(item) + "]."; break;
    case G::Armour: p = "armour."; break;
    case G::Leader: p = "leader."; break;
    case G::Position: p = "position."; break;
    case G::Countries: return "countries[" + std::to_string(item) + "]";
    case G::VictoryHexes: p = "victoryHexes[" + std::to_string(item) + "]."; break;
  }
  return p + std::string(key);
}

int NamedField::minimum() const { return kind == K::SignedWord ? -32768 : 0; }

int NamedField::maximum() const {
  switch (kind) {
    case K::Word: return 65535;
    case K::SignedWord: return 32767;
    case K::Flag: return 1;
    default: return 255;
  }
}

std::span<const NamedField> unitFields() {
  static const std::vector<NamedField> fields = makeUnitFields();
  return fields;
}

std::span<const NamedField> gameFields() {
  static const std::vector<NamedField> fields = makeGameFields();
  return fields;
}

std::optional<std::int64_t> fieldOffset(const GameModel& m, const NamedField& field, int unit) {
  const int rel = m.layout == &kVn3Layout ? field.offsetVn3 : field.offsetVn2;
  if (rel < 0) return std::nullopt;
  // A version 1.0 image places only sections 1, 17, 34 and 37.
  if (field.section == S::Prestige && (m.loaded == GameFileKind::V10 || m.loaded == GameFileKind::None))
    return std::nullopt;
  const FileSection j = sectionOf(field.section);
  const std::int64_t start = m.loaded == GameFileKind::V10 ? 0 : m.sectionOffset[static_cast<std::size_t>(j)];
  const std::int64_t at = recordStart(m, field.section, unit) + rel;
  const std::int64_t end = std::min<std::int64_t>(sectionEnd(m, j), kImageSize);
  if (at < start || at + field.width + field.mirror > end) return std::nullopt;
  return at;
}

namespace {

// The two leader names as the grid shows them, First/Second. In the document
// a "/" or "\\" byte inside a name is written with a "\\" before it, so that
// the one unescaped "/" always stands for the separating zero byte.
std::string leaderName(const GameModel& m, std::int64_t at, bool escaped) {
  std::string text;
  bool separated = false;
  for (int k = 0; k < 15; ++k) {
    int b = m.byteAt(at + k);
    if (b < 32 || b > 123) b = 0;
    if (b == 0) {
      if (separated) return text;
      text += '/';
      separated = true;
    } else {
      if (escaped && (b == '/' || b == '\\')) text += '\\';
      text += static_cast<char>(b);
    }
  }
  if (!separated) text += '/';
  return text;
}

// The bytes a document's leader name stands for, the separator as a zero
// byte; nullopt when the text breaks the leader rule.
std::optional<std::string> leaderNameBytes(const std::string& t) {
  std::string bytes;
  bool separated = false;
  for (std::size_t k = 0; k < t.size(); ++k) {
    const auto c = static_cast<std::uint8_t>(t[k]);
    if (c == '\\') {
      if (k + 1 == t.size() || (t[k + 1] != '/' && t[k + 1] != '\\')) return std::nullopt;
      bytes += t[++k];
    } else if (c == '/') {
      if (separated || bytes.empty()) return std::nullopt;
      bytes += '\0';
      separated = true;
    } else if (c < 32 || c > 123) {
      return std::nullopt;
    } else {
      bytes += static_cast<char>(c);
    }
  }
  if (!separated || bytes.size() > 15) return std::nullopt;
  return bytes;
}

}  // namespace

std::string leaderNameText(const GameModel& m, std::int64_t at) { return leaderName(m, at, false); }

std::optional<FieldValue> readField(const GameModel& m, const NamedField& field, int unit) {
  const auto at = fieldOffset(m, field, unit);
  if (!at) return std::nullopt;
  FieldValue v;
  switch (field.kind) {
    case K::Byte:
    case K::Flag:
    case K::ArmourNormal: v.number = m.byteAt(*at); break;
    case K::Word: v.number = m.wordAt(*at); break;
    case K::SignedWord: v.number = static_cast<std::int16_t>(m.wordAt(*at)); break;
    case K::UnitName: v.text = m.textAt(*at, kUnitNameBytes); break;
    case K::LeaderName: v.text = leaderName(m, *at, true); break;
    case K::Description: {
      // Shown up to its first zero byte, which may lie past its 31 bytes but
      // never past the section.
      const auto limit = sectionEnd(m, kGameDataSection) - *at;
      v.text = m.textAt(*at, static_cast<int>(std::clamp<std::int64_t>(limit, 0, kImageSize)));
      break;
    }
  }
  return v;
}

void writeField(GameModel& m, const NamedField& field, int unit, const FieldValue& value) {
  const auto at = fieldOffset(m, field, unit);
  if (!at) return;
  auto store = [&](std::int64_t offset) {
    switch (field.kind) {
      case K::Byte: m.setByteAt(offset, value.number); break;
      case K::Flag: m.setByteAt(offset, value.number != 0 ? 1 : 0); break;
      case K::ArmourNormal:
        for (int k = 0; k < 3; ++k) m.setByteAt(offset + k, value.number);
        break;
      case K::Word:
      case K::SignedWord: m.setWordAt(offset, value.number); break;
      case K::UnitName:
      case K::Description: {
        const int bytes = field.kind == K::UnitName ? kUnitNameBytes : field.width;
        for (int k = 0; k < bytes; ++k)
          m.setByteAt(offset + k, k < static_cast<int>(value.text.size()) ? static_cast<std::uint8_t>(value.text[static_cast<std::size_t>(k)]) : 0);
        break;
      }
      case K::LeaderName: {
        const std::string bytes = leaderNameBytes(value.text).value_or(std::string());
        for (int k = 0; k < kLeaderNameBytes; ++k)
          m.setByteAt(offset + k, k < static_cast<int>(bytes.size()) ? static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(k)]) : 0);
        break;
      }
    }
  };
  store(*at);
  if (field.mirror) store(*at + field.mirror);
}

std::string checkFieldValue(const NamedField& field, const FieldValue& value) {
  const std::string& t = value.text;
  switch (field.kind) {
    case K::UnitName:
      if (t.empty()) return "an empty name would end the list of units";
      if (t.size() > 15) return quoted(t) + " is longer than 15 characters";
      if (t.find('\0') != std::string::npos) return quoted(t) + " holds a zero character";
      return {};
    case K::Description:
      if (t.size() > 31) return quoted(t) + " is longer than 31 characters";
      if (t.find('\0') != std::string::npos) return quoted(t) + " holds a zero character";
      return {};
    case K::LeaderName:
      // The leader rule: First/Second, at most 15 bytes with the separator, a
      // first name of at least one character, characters 32 to 123 (the ones
      // the grid shows).
      if (!leaderNameBytes(t))
        return quoted(t) + " breaks the leader rule: First/Second, at most 14 characters besides the \"/\"";
      return {};
    default:
      if (value.number < field.minimum() || value.number > field.maximum())
        return std::to_string(value.number) + " is out of range " + std::to_string(field.minimum()) + ".." +
               std::to_string(field.maximum());
      return {};
  }
}

}  // namespace tarnel

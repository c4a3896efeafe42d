#include "gamefiles/game_json.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include <nlohmann/json.hpp>

#include "common/text1252.h"
#include "model/field_catalogue.h"

namespace tarnel {

using Json = nlohmann::ordered_json;
using common::cp1252ToUtf8;
using common::utf8ToCp1252;

const char* generationName(GameFileKind kind) {
  switch (kind) {
    case GameFileKind::V10: return "1.0";
    case GameFileKind::V11: return "1.1";
    case GameFileKind::Vn3: return "VN3";
    default: return "none";
  }
}

namespace {

int unitsOf(const GameModel& m) { return std::min(m.countUnits(), kUnitCapacity); }

Json valueJson(const NamedField& f, const FieldValue& v) {
  if (f.isText()) return cp1252ToUtf8(v.text);
  return v.number;
}

// The object or array element of `parent` a field of `group` goes into.
Json& placeOf(Json& parent, const NamedField& f) {
  switch (f.group) {
    case FieldGroup::None: return parent[std::string(f.key)];
    case FieldGroup::Weapons: return parent["weapons"][static_cast<std::size_t>(f.item)][std::string(f.key)];
    case FieldGroup::Armour: return parent["armour"][std::string(f.key)];
    case FieldGroup::Leader: return parent["leader"][std::string(f.key)];
    case FieldGroup::Position: return parent["position"][std::string(f.key)];
    case FieldGroup::Countries: return parent["countries"][static_cast<std::size_t>(f.item)];
    case FieldGroup::VictoryHexes:
      return parent["victoryHexes"][static_cast<std::size_t>(f.item)][std::string(f.key)];
  }
  return parent;
}

void putFields(Json& parent, const GameModel& m, std::span<const NamedField> fields, int unit) {
  for (const NamedField& f : fields)
    if (const auto v = readField(m, f, unit)) placeOf(parent, f) = valueJson(f, *v);
}

}  // namespace

std::string exportGameJson(const GameModel& m) {
  Json doc;
  doc["format"] = "tarnel-game";
  doc["formatVersion"] = 1;
  doc["generation"] = generationName(m.loaded);
  Json& game = doc["game"];
  game = Json::object();
  putFields(game, m, gameFields(), 0);
  Json& units = doc["units"];
  units = Json::array();
  const int n = unitsOf(m);
  for (int i = 0; i < n; ++i) {
    Json unit;
    unit["index"] = i;
    putFields(unit, m, unitFields(), i);
    units.push_back(std::move(unit));
  }
  return doc.dump(2) + "\n";
}

// ---------------------------------------------------------------------------
// Import: the document is walked once, every value checked and collected;
// only a document without a fault is applied.

namespace {

struct Edit {
  const NamedField* field;
  int unit;
  FieldValue value;
};

class Refusal {
 public:
  explicit Refusal(std::string why) : text(std::move(why)) {}
  std::string text;
};

using FieldKey = std::tuple<FieldGroup, int, std::string_view>;

std::map<FieldKey, const NamedField*> indexFields(std::span<const NamedField> fields) {
  std::map<FieldKey, const NamedField*> map;
  for (const NamedField& f : fields) map[{f.group, f.item, f.key}] = &f;
  return map;
}

const std::map<FieldKey, const NamedField*>& unitIndex() {
  static const auto map = indexFields(unitFields());
  return map;
}
const std::map<FieldKey, const NamedField*>& gameIndex() {
  static const auto map = indexFields(gameFields());
  return map;
}

std::string shown(const Json& v) { return v.dump(); }

class Importer {
 public:
  explicit Importer(const GameModel& m) : m_(m), units_(unitsOf(m)) {}

  std::vector<Edit> edits;

  void document(const Json& doc) {
    if (!doc.is_object()) throw Refusal("the document is not a JSON object");
    for (const auto& [key, value] : doc.items()) {
      if (key == "format") {
        if (value != "tarnel-game") throw Refusal("format: " + shown(value) + " is not \"tarnel-game\"");
      } else if (key == "formatVersion") {
        if (value != 1) throw Refusal("formatVersion: " + shown(value) + " is not 1");
      } else if (key == "generation") {
        if (value != "1.0" && value != "1.1" && value != "VN3")
          throw Refusal("generation: " + shown(value) + " is not one of \"1.0\", \"1.1\", \"VN3\"");
      } else if (key == "game") {
        object(value, "game", gameIndex(), FieldGroup::None, -1, 0);
      } else if (key == "units") {
        unitList(value);
      } else {
        throw Refusal(key + ": unknown key");
      }
    }
  }

 private:
  const GameModel& m_;
  int units_;
  std::set<int> seenUnits_;

  static void expectObject(const Json& v, const std::string& path) {
    if (!v.is_object()) throw Refusal(path + ": " + shown(v) + " is not an object");
  }
  static void expectArray(const Json& v, const std::string& path, std::size_t most) {
    if (!v.is_array()) throw Refusal(path + ": " + shown(v) + " is not an array");
    if (v.size() > most)
      throw Refusal(path + ": " + std::to_string(v.size()) + " entries where there are " + std::to_string(most));
  }

  // The keys of one object of the document, fields of `group` (item `item`).
  void object(const Json& obj, const std::string& path, const std::map<FieldKey, const NamedField*>& index,
              FieldGroup group, int item, int unit) {
    expectObject(obj, path);
    const bool top = group == FieldGroup::None;
    for (const auto& [key, value] : obj.items()) {
      // The path is spelled out only where it is needed: for nested groups
      // and in a refusal.
      auto at = [&path, &key = key] { return path + "." + key; };
      if (top && unit >= 0 && &index == &unitIndex()) {
        if (key == "index") continue;
        if (key == "weapons") {
          array(value, at(), 4, [&](const Json& v, const std::string& p, int s) {
            object(v, p, index, FieldGroup::Weapons, s, unit);
          });
          continue;
        }
        if (key == "armour" || key == "leader" || key == "position") {
          const FieldGroup g = key == "armour" ? FieldGroup::Armour
                               : key == "leader" ? FieldGroup::Leader
                                                 : FieldGroup::Position;
          object(value, at(), index, g, -1, unit);
          continue;
        }
      }
      if (top && &index == &gameIndex()) {
        if (key == "countries") {
          array(value, at(), 4, [&](const Json& v, const std::string& p, int c) {
            field(*index.at({FieldGroup::Countries, c, ""}), v, [&p] { return p; }, 0);
          });
          continue;
        }
        if (key == "victoryHexes") {
          array(value, at(), gamedata::kVictoryHexEntries, [&](const Json& v, const std::string& p, int k) {
            object(v, p, index, FieldGroup::VictoryHexes, k, 0);
          });
          continue;
        }
      }
      const auto found = index.find({group, item, std::string_view(key)});
      if (found == index.end()) throw Refusal(at() + ": unknown key");
      field(*found->second, value, at, unit);
    }
  }

  // Elements of an array, each at its position; null elements are skipped.
  template <typename Each>
  void array(const Json& arr, const std::string& path, std::size_t most, Each each) {
    expectArray(arr, path, most);
    for (std::size_t k = 0; k < arr.size(); ++k)
      if (!arr[k].is_null()) each(arr[k], path + "[" + std::to_string(k) + "]", static_cast<int>(k));
  }

  void unitList(const Json& list) {
    if (!list.is_array()) throw Refusal("units: " + shown(list) + " is not an array");
    for (std::size_t k = 0; k < list.size(); ++k) {
      const Json& u = list[k];
      const std::string at = "units[" + std::to_string(k) + "]";
      expectObject(u, at);
      const auto index = u.find("index");
      if (index == u.end()) throw Refusal(at + ": no \"index\" names its unit");
      if (!index->is_number_integer()) throw Refusal(at + ".index: " + shown(*index) + " is not a whole number");
      const long long i = index->get<long long>();
      if (i < 0 || i >= units_)
        throw Refusal(at + ".index: " + shown(*index) + " names no unit of the game (it has " +
                      std::to_string(units_) + ")");
      // From here on the unit is named by its index, as export and diff do.
      const std::string path = "units[" + std::to_string(i) + "]";
      if (!seenUnits_.insert(static_cast<int>(i)).second) throw Refusal(path + ": named twice");
      object(u, path, unitIndex(), FieldGroup::None, -1, static_cast<int>(i));
    }
  }

  template <typename Path>
  void field(const NamedField& f, const Json& v, Path pathOf, int unit) {
    const auto current = readField(m_, f, unit);
    auto refuse = [&](const std::string& why) { return Refusal(pathOf() + ": " + why); };
    if (!current) throw refuse("this game file has no such field");
    FieldValue value;
    if (f.isText()) {
      if (!v.is_string()) throw refuse(shown(v) + " is not a text");
      const std::string& utf8 = v.get_ref<const std::string&>();
      value.text = utf8ToCp1252(utf8);
      if (cp1252ToUtf8(value.text) != utf8)
        throw refuse(shown(v) + " has a character Windows-1252 cannot hold");
      if (value == *current) return;
    } else {
      if (!v.is_number_integer()) throw refuse(shown(v) + " is not a whole number");
      const long long n = v.get<long long>();
      if (v.is_number_unsigned() && v.get<unsigned long long>() > static_cast<unsigned long long>(INT32_MAX))
        throw refuse(shown(v) + " is out of range " + std::to_string(f.minimum()) + ".." + std::to_string(f.maximum()));
      if (n < f.minimum() || n > f.maximum())
        throw refuse(shown(v) + " is out of range " + std::to_string(f.minimum()) + ".." + std::to_string(f.maximum()));
      value.number = static_cast<int>(n);
      if (value == *current) return;
    }
    const std::string why = checkFieldValue(f, value);
    if (!why.empty()) throw refuse(why);
    edits.push_back({&f, unit, std::move(value)});
  }
};

}  // namespace

ImportOutcome importGameJson(GameModel& m, std::string_view text) {
  ImportOutcome out;
  Json doc;
  try {
    doc = Json::parse(text.begin(), text.end());
  } catch (const Json::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 1, ...": the part
    // after the library's tag. A number too large for a double is refused
    // here as well (out_of_range.406).
    std::string what = e.what();
    const auto tag = what.find("] ");
    out.error = "not a JSON text: " + (tag == std::string::npos ? what : what.substr(tag + 2));
    return out;
  }
  Importer importer(m);
  try {
    importer.document(doc);
  } catch (const Refusal& r) {
    out.error = r.text;
    return out;
  }
  for (const Edit& e : importer.edits) writeField(m, *e.field, e.unit, e.value);
  out.changedFields = static_cast<int>(importer.edits.size());
  return out;
}

// ---------------------------------------------------------------------------
// Comparison.

namespace {

std::string valueText(const NamedField& f, const FieldValue& v) {
  if (f.isText()) return Json(cp1252ToUtf8(v.text)).dump();
  return std::to_string(v.number);
}

// Byte ranges [begin, end) of the image of game A that a reported line
// accounts for.
struct Explained {
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
  void add(std::int64_t at, std::int64_t width) { spans.emplace_back(at, at + width); }
  void seal() { std::sort(spans.begin(), spans.end()); }
  bool covers(std::int64_t at) const {
    auto it = std::upper_bound(spans.begin(), spans.end(), std::make_pair(at, INT64_MAX));
    while (it != spans.begin()) {
      --it;
      if (it->first <= at && at < it->second) return true;
      // Spans are short (at most 36 bytes): look back no further than that.
      if (at - it->first > 64) break;
    }
    return false;
  }
};

int differingBytes(const std::uint8_t* a, const std::uint8_t* b, std::int64_t n, std::int64_t aStart,
                   const Explained& explained) {
  if (std::equal(a, a + n, b)) return 0;
  int count = 0;
  for (std::int64_t k = 0; k < n; ++k)
    if (a[k] != b[k] && !explained.covers(aStart + k)) ++count;
  return count;
}

void compareFields(const GameModel& a, const GameModel& b, std::span<const NamedField> fields, int unit,
                   const std::string& prefix, std::vector<GameDifference>& out, Explained& explained) {
  for (const NamedField& f : fields) {
    const auto va = readField(a, f, unit);
    const auto vb = readField(b, f, unit);
    if (!va || !vb || *va == *vb) continue;
    out.push_back({prefix + f.path() + ": " + valueText(f, *va) + " -> " + valueText(f, *vb), unit < 0 ? -1 : unit, &f});
    std::int64_t width = f.width;
    if (f.isText()) width = std::min<std::int64_t>(width, std::max(va->text.size(), vb->text.size()) + 1);
    if (f.kind == FieldKind::Description) width = std::max<std::int64_t>(width, f.width);
    explained.add(*fieldOffset(a, f, std::max(unit, 0)), width);
  }
}

void explainUnit(const GameModel& m, int unit, Explained& explained) {
  explained.add(m.unitOffset(unit), m.layout->unitStride);
  explained.add(m.leaderOffset(unit), kLeaderStride);
  explained.add(m.positionOffset(unit), kPositionStride);
}

}  // namespace

std::vector<GameDifference> diffGames(const GameModel& a, const GameModel& b) {
  std::vector<GameDifference> out;
  Explained explained;
  if (a.loaded != b.loaded)
    out.push_back({std::string("generation: \"") + generationName(a.loaded) + "\" -> \"" + generationName(b.loaded) + "\""});
  compareFields(a, b, gameFields(), -1, "game.", out, explained);
  const int na = unitsOf(a);
  const int nb = unitsOf(b);
  for (int i = 0; i < std::min(na, nb); ++i)
    compareFields(a, b, unitFields(), i, "units[" + std::to_string(i) + "].", out, explained);
  for (int i = std::min(na, nb); i < std::max(na, nb); ++i) {
    const GameModel& has = i < na ? a : b;
    out.push_back({"units[" + std::to_string(i) + "]: only in " + (i < na ? "A" : "B") + " (" +
                       Json(cp1252ToUtf8(has.unitName(i))).dump() + ")",
                   i});
    explainUnit(a, i, explained);
  }
  if (a.loaded != b.loaded) return out;

  // The same generation: every byte outside the reported fields as well.
  explained.seal();
  if (a.loaded == GameFileKind::V10) {
    if (a.v10Length != b.v10Length)
      out.push_back({"file: length " + std::to_string(a.v10Length) + " -> " + std::to_string(b.v10Length)});
    const std::int64_t n = std::min(a.v10Length, b.v10Length);
    if (const int d = differingBytes(a.image().data(), b.image().data(), n, 0, explained))
      out.push_back({"file: " + std::to_string(d) + " bytes differ"});
    return out;
  }
  if (a.negativeLength != b.negativeLength)
    out.push_back({std::string("section lengths: ") + (a.negativeLength ? "negative" : "positive") + " -> " +
                   (b.negativeLength ? "negative" : "positive")});
  for (std::size_t j = 1; j < kDirectorySize; ++j) {
    const std::string name = "section " + std::to_string(j) + ": ";
    if (a.sectionId[j] != b.sectionId[j] && (a.sectionLength[j] > 0 || b.sectionLength[j] > 0))
      out.push_back({name + "identifier " + std::to_string(a.sectionId[j]) + " -> " + std::to_string(b.sectionId[j])});
    if (a.sectionLength[j] != b.sectionLength[j])
      out.push_back({name + "length " + std::to_string(a.sectionLength[j]) + " -> " + std::to_string(b.sectionLength[j])});
    const std::int64_t n = std::min(a.sectionLength[j], b.sectionLength[j]);
    if (n <= 0) continue;
    const std::int64_t oa = a.sectionOffset[j];
    const std::int64_t ob = b.sectionOffset[j];
    if (oa < 0 || ob < 0 || oa + n > kImageSize || ob + n > kImageSize) continue;
    if (const int d = differingBytes(a.image().data() + oa, b.image().data() + ob, n, oa, explained))
      out.push_back({name + std::to_string(d) + (d == 1 ? " byte differs" : " bytes differ")});
  }
  return out;
}

}  // namespace tarnel

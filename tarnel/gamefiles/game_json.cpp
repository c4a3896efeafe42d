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
  doc["unitCount"] = unitsOf(m);
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
// Import: the text is parsed with the checks the JSON library does not make
// (nesting, repeated keys), then the document is walked once, every value
// checked and collected; only a document without a fault is applied.

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

// A game document nests at most this deep: the document, "units", a unit,
// "weapons", a slot.
constexpr std::size_t kMaxNesting = 5;
// Values and keys quoted in a message are cut to this many bytes.
constexpr std::size_t kQuoted = 40;

// A UTF-8 text cut to at most `most` bytes at a character boundary, with an
// ellipsis when anything was cut.
std::string cut(std::string_view text, std::size_t most = kQuoted) {
  if (text.size() <= most) return std::string(text);
  std::size_t end = most;
  while (end > 0 && (static_cast<std::uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end)) + "\xe2\x80\xa6";
}

std::string shown(const Json& v) { return cut(v.dump(-1, ' ', false, Json::error_handler_t::replace)); }

// A key as a path shows it: plain when it is a name, else in JSON quotes.
std::string keyText(const std::string& key) {
  const bool plain = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
  return plain ? cut(key) : shown(Json(key));
}

// Follows the parser's events: the open objects and arrays, the keys seen
// in each object and the element each array is at, so that a fault found
// while parsing names its path. Refuses what no game document holds before
// anything recursive (the library's dump and comparisons) meets it.
class ParseWatch {
 public:
  bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed) {
    using E = Json::parse_event_t;
    switch (event) {
      case E::object_start:
      case E::array_start:
        element();
        if (frames_.size() >= kMaxNesting) throw Refusal(path() + ": nested too deeply for a game document");
        frames_.emplace_back().object = event == E::object_start;
        break;
      case E::key: {
        Frame& f = frames_.back();
        f.key = parsed.get<std::string>();
        if (!f.keys.insert(f.key).second) throw Refusal(path() + ": repeated key");
        break;
      }
      case E::value: element(); break;
      case E::object_end:
      case E::array_end: frames_.pop_back(); break;
    }
    return true;
  }

  // "units[3].exp": array elements by their position. `pending`: the path of
  // a value whose event has not come yet (the parser stopped inside it).
  std::string path(bool pending = false) const {
    std::string p;
    for (std::size_t k = 0; k < frames_.size(); ++k) {
      const Frame& f = frames_[k];
      if (f.object)
        p += (p.empty() ? "" : ".") + keyText(f.key);
      else
        p += "[" + std::to_string(pending && k + 1 == frames_.size() ? f.elements : f.elements - 1) + "]";
    }
    return p;
  }
  // The object or array the text ended in, "" when none is open.
  const char* innermost() const {
    if (frames_.empty()) return "";
    return frames_.back().object ? "an object" : "an array";
  }

 private:
  struct Frame {
    bool object = false;
    std::string key;
    std::set<std::string> keys;
    std::size_t elements = 0;
  };
  std::vector<Frame> frames_;

  void element() {
    if (!frames_.empty() && !frames_.back().object) ++frames_.back().elements;
  }
};

// Where the parser stopped: line and column of byte `at` (1-based count of
// bytes read).
std::string lineOf(std::string_view text, std::size_t at) {
  const std::size_t end = std::min(at, text.size());
  const auto lines = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
  return std::to_string(lines + 1);
}
std::string lineAndColumn(std::string_view text, std::size_t at) {
  const std::size_t end = std::min(at == 0 ? 0 : at - 1, text.size());
  const auto newline = text.substr(0, end).rfind('\n');
  const std::size_t column = end - (newline == std::string_view::npos ? 0 : newline + 1) + 1;
  return "line " + lineOf(text, end) + ", column " + std::to_string(column);
}

// The library's refusal of a text said plainly, starting with the file's
// name ("game.json is not a complete JSON text: it ends inside an object at
// line 288.").
std::string parseRefusal(std::string_view name, std::string_view text, const Json::parse_error& e,
                         const ParseWatch& watch) {
  const std::string file(name);
  const std::string what = e.what();
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return file + " is empty: it holds no JSON text.";
  if (e.byte > text.size()) {
    const bool inText = what.find("missing closing quote") != std::string::npos;
    const char* inside = inText ? "a text" : watch.innermost();
    if (*inside)
      return file + " is not a complete JSON text: it ends inside " + inside + " at line " + lineOf(text, text.size()) + ".";
  }
  const std::string where = lineAndColumn(text, e.byte);
  if (what.find("invalid string") != std::string::npos)
    return file + " is not a JSON text: the text at " + where +
           " holds a control character, a byte that is not UTF-8 or an escape JSON does not know.";
  // What stands on the line up to the byte the parser stopped at.
  const std::size_t stop = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size() - 1);
  const auto lineStart = text.substr(0, stop).rfind('\n');
  std::size_t from = std::max(lineStart == std::string_view::npos ? 0 : lineStart + 1, stop < 29 ? 0 : stop - 29);
  while (from < stop && ((static_cast<std::uint8_t>(text[from]) & 0xC0) == 0x80 || text[from] == ' ' || text[from] == '\t'))
    ++from;
  std::string excerpt(text.substr(from, stop + 1 - from));
  for (char& c : excerpt)
    if (static_cast<std::uint8_t>(c) < 32) c = ' ';
  return file + " is not a JSON text: JSON does not allow what stands at " + where + " (" + excerpt + ").";
}

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

std::string rangeText(long long low, long long high) { return " is out of range " + std::to_string(low) + ".." + std::to_string(high); }

class Importer {
 public:
  explicit Importer(const GameModel& m) : m_(m), units_(unitsOf(m)) {}

  std::vector<Edit> edits;
  // What the document says of the game it was exported from.
  std::optional<std::string> generation;
  std::optional<int> unitCount;

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
        generation = value.get<std::string>();
      } else if (key == "unitCount") {
        if (!value.is_number_integer()) throw Refusal("unitCount: " + shown(value) + " is not a whole number");
        if (value.is_number_unsigned() ? value.get<unsigned long long>() > kUnitCapacity : value.get<long long>() < 0)
          throw Refusal("unitCount: " + shown(value) + rangeText(0, kUnitCapacity));
        unitCount = value.get<int>();
      } else if (key == "game") {
        object(value, "game", gameIndex(), FieldGroup::None, -1, 0);
      } else if (key == "units") {
        unitList(value);
      } else {
        throw Refusal(keyText(key) + ": unknown key");
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
      auto at = [&path, &key = key] { return path + "." + keyText(key); };
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
      const bool tooLarge = index->is_number_unsigned() && index->get<unsigned long long>() > kUnitCapacity;
      const long long i = tooLarge ? kUnitCapacity : index->get<long long>();
      if (i < 0 || i >= units_)
        throw Refusal(at + ".index: " + shown(*index) + " names no unit of the game (it has " +
                      std::to_string(units_) + ")");
      // From here on the unit is named by its index, as export and diff do.
      const std::string path = "units[" + std::to_string(i) + "]";
      if (!seenUnits_.insert(static_cast<int>(i)).second) throw Refusal(path + ": named twice");
      object(u, path, unitIndex(), FieldGroup::None, -1, static_cast<int>(i));
    }
  }

  // A field's value is checked only when it differs from the game's: an
  // export imported back onto its own file is accepted whatever it holds.
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
    } else {
      if (!v.is_number_integer()) throw refuse(shown(v) + " is not a whole number");
      if (v.is_number_unsigned() ? v.get<unsigned long long>() > 65535 : v.get<long long>() < -32768)
        throw refuse(shown(v) + rangeText(f.minimum(), f.maximum()));
      value.number = v.get<int>();
    }
    if (value == *current) return;
    const std::string why = checkFieldValue(f, value);
    if (!why.empty()) throw refuse(why);
    edits.push_back({&f, unit, std::move(value)});
  }
};

std::string generationText(std::string_view generation) {
  if (generation == "1.0") return "VN2 version 1.0";
  if (generation == "1.1") return "VN2 version 1.1";
  return std::string(generation);
}

// "This document was exported from a VN2 version 1.1 game of 60 units; the
// open game is a VN3 game of 96 units.", or "" when what the document says
// of its game matches the open one.
std::string otherGameWarning(const Importer& d, const GameModel& m) {
  const std::string game = generationName(m.loaded);
  const int units = unitsOf(m);
  if ((!d.generation || *d.generation == game) && (!d.unitCount || *d.unitCount == units)) return {};
  std::string from = "This document was exported from a ";
  if (d.generation) from += generationText(*d.generation) + " ";
  from += "game";
  if (d.unitCount) from += " of " + std::to_string(*d.unitCount) + (*d.unitCount == 1 ? " unit" : " units");
  return from + "; the open game is a " + generationText(game) + " game of " + std::to_string(units) +
         (units == 1 ? " unit." : " units.");
}

}  // namespace

ImportOutcome importGameJson(GameModel& m, std::string_view text, std::string_view fileName) {
  ImportOutcome out;
  const std::string name(fileName);
  ParseWatch watch;
  Json doc;
  try {
    doc = Json::parse(text.begin(), text.end(), std::ref(watch));
  } catch (const Refusal& r) {
    out.error = name + ": " + r.text;
    return out;
  } catch (const Json::parse_error& e) {
    out.error = parseRefusal(name, text, e, watch);
    return out;
  } catch (const Json::exception& e) {
    // A number too large for a double (out_of_range.406: "number overflow
    // parsing '66e3633'"), at the value the parser was reading.
    const std::string what = e.what();
    const auto from = what.find('\'');
    const std::string number = from == std::string::npos ? "a number" : what.substr(from + 1, what.rfind('\'') - from - 1);
    const std::string path = watch.path(true);
    out.error = name + ": " + (path.empty() ? "" : path + ": ") + cut(number) + " is not a whole number";
    return out;
  }
  Importer importer(m);
  try {
    importer.document(doc);
  } catch (const Refusal& r) {
    out.error = name + ": " + r.text;
    return out;
  }
  out.otherGame = otherGameWarning(importer, m);
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
class Explained {
 public:
  void add(std::int64_t at, std::int64_t width) {
    if (width > 0) spans_.emplace_back(at, at + width);
  }
  // Only the part of [at, at + width) inside [low, high).
  void addWithin(std::int64_t at, std::int64_t width, std::int64_t low, std::int64_t high) {
    add(std::max(at, low), std::min(at + width, high) - std::max(at, low));
  }
  // Sorted and overlapping spans joined, so that one look answers covers().
  void seal() {
    std::sort(spans_.begin(), spans_.end());
    std::vector<std::pair<std::int64_t, std::int64_t>> joined;
    for (const auto& span : spans_) {
      if (!joined.empty() && span.first <= joined.back().second)
        joined.back().second = std::max(joined.back().second, span.second);
      else
        joined.push_back(span);
    }
    spans_ = std::move(joined);
  }
  bool covers(std::int64_t at) const {
    auto it = std::upper_bound(spans_.begin(), spans_.end(), std::make_pair(at, INT64_MAX));
    return it != spans_.begin() && at < std::prev(it)->second;
  }

 private:
  std::vector<std::pair<std::int64_t, std::int64_t>> spans_;
};

int differingBytes(const std::uint8_t* a, const std::uint8_t* b, std::int64_t n, std::int64_t aStart,
                   const Explained& explained) {
  if (std::equal(a, a + n, b)) return 0;
  int count = 0;
  for (std::int64_t k = 0; k < n; ++k)
    if (a[k] != b[k] && !explained.covers(aStart + k)) ++count;
  return count;
}

std::string bytesDiffer(int count) { return std::to_string(count) + (count == 1 ? " byte differs" : " bytes differ"); }

// The bytes a leader name is read from: up to the zero that ends its second
// part, at most 15.
std::int64_t leaderNameSpan(const GameModel& m, std::int64_t at) {
  bool separated = false;
  for (int k = 0; k < 15; ++k) {
    const int b = m.byteAt(at + k);
    if (b >= 32 && b <= 123) continue;
    if (separated) return k + 1;
    separated = true;
  }
  return 15;
}

// The bytes of game A a differing field accounts for: those its value is
// read from in either game and those a store of it writes.
std::int64_t fieldSpan(const GameModel& a, const GameModel& b, const NamedField& f, int unit, const FieldValue& va,
                       const FieldValue& vb) {
  const std::int64_t longer = static_cast<std::int64_t>(std::max(va.text.size(), vb.text.size())) + 1;
  switch (f.kind) {
    case FieldKind::UnitName: return std::min<std::int64_t>(f.width, longer);
    case FieldKind::Description: return std::max<std::int64_t>(f.width, longer);
    case FieldKind::LeaderName:
      return std::max(leaderNameSpan(a, *fieldOffset(a, f, unit)), leaderNameSpan(b, *fieldOffset(b, f, unit)));
    case FieldKind::ArmourNormal: return 3;
    default: return f.width;
  }
}

void compareFields(const GameModel& a, const GameModel& b, std::span<const NamedField> fields, int unit,
                   const std::string& prefix, std::vector<GameDifference>& out, Explained& explained) {
  for (const NamedField& f : fields) {
    const auto va = readField(a, f, unit);
    const auto vb = readField(b, f, unit);
    if (!va || !vb || *va == *vb) continue;
    out.push_back({prefix + f.path() + ": " + valueText(f, *va) + " -> " + valueText(f, *vb), unit < 0 ? -1 : unit});
    const std::int64_t at = *fieldOffset(a, f, std::max(unit, 0));
    const std::int64_t width = fieldSpan(a, b, f, std::max(unit, 0), *va, *vb);
    explained.add(at, width);
    if (f.mirror) explained.add(at + f.mirror, width);
  }
}

// The records of a unit that only one of the games has, where game A's image
// holds them within the bytes compared: a shorter section of A ends before
// them, and what follows belongs to the next section.
void explainUnit(const GameModel& a, const GameModel& b, int unit, Explained& explained) {
  const std::pair<FileSection, std::pair<std::int64_t, std::int64_t>> records[] = {
      {kUnitSection, {a.unitOffset(unit), a.layout->unitStride}},
      {kLeaderSection, {a.leaderOffset(unit), kLeaderStride}},
      {kPositionSection, {a.positionOffset(unit), kPositionStride}}};
  for (const auto& [j, record] : records) {
    std::int64_t low = 0;
    std::int64_t high = std::min(a.v10Length, b.v10Length);
    if (a.loaded != GameFileKind::V10) {
      const auto k = static_cast<std::size_t>(j);
      low = a.sectionOffset[k];
      high = low + std::min(a.sectionLength[k], b.sectionLength[k]);
    }
    explained.addWithin(record.first, record.second, low, high);
  }
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
    if (a.loaded == b.loaded) explainUnit(a, b, i, explained);
  }
  if (a.loaded != b.loaded) return out;

  // The same generation: every byte outside the reported fields as well.
  explained.seal();
  if (a.loaded == GameFileKind::V10) {
    if (a.v10Length != b.v10Length)
      out.push_back({"file: length " + std::to_string(a.v10Length) + " -> " + std::to_string(b.v10Length)});
    const std::int64_t n = std::min(a.v10Length, b.v10Length);
    if (const int d = differingBytes(a.image().data(), b.image().data(), n, 0, explained))
      out.push_back({"file: " + bytesDiffer(d)});
    return out;
  }
  // The header's magic is the generation's; its other four bytes are kept.
  if (const int d = differingBytes(a.image().data(), b.image().data(), kHeaderSize, 0, explained))
    out.push_back({"header: " + bytesDiffer(d)});
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
      out.push_back({name + bytesDiffer(d)});
  }
  return out;
}

}  // namespace tarnel

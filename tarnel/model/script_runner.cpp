#include "model/script_runner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include <lua.hpp>

#include "common/text1252.h"

namespace tarnel {

namespace {

using Clock = std::chrono::steady_clock;

// Each group of fields a script object shows: its keys and, per element of
// the group's array (one element when it is no array), the catalogue index
// of the field under each key.
struct FieldGroupTable {
  std::vector<std::string_view> keys;
  std::vector<std::vector<int>> fieldOf;  // [item][key number]
};

enum class Kind : std::uint8_t {
  Game, Units, Unit, Weapons, Slot, Armour, Leader, Position, Countries, Hexes, Hex
};

// Keys of the unit and game objects that are no field of their own.
enum Special : int { kIndex = -1, kWeapons = -2, kArmour = -3, kLeader = -4, kPosition = -5,
                     kUnits = -6, kCountries = -7, kHexes = -8, kGeneration = -9 };

struct Tables {
  FieldGroupTable unit, weapons, armour, leader, position, game, countries, hexes;
};

FieldGroupTable groupOf(std::span<const NamedField> fields, FieldGroup group) {
  FieldGroupTable t;
  for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
    const NamedField& f = fields[static_cast<std::size_t>(i)];
    if (f.group != group) continue;
    const auto item = static_cast<std::size_t>(std::max(f.item, 0));
    if (t.fieldOf.size() <= item) t.fieldOf.resize(item + 1);
    auto at = std::find(t.keys.begin(), t.keys.end(), f.key);
    if (at == t.keys.end()) at = t.keys.insert(t.keys.end(), f.key);
    const auto k = static_cast<std::size_t>(at - t.keys.begin());
    if (t.fieldOf[item].size() <= k) t.fieldOf[item].resize(k + 1, -1);
    t.fieldOf[item][k] = i;
  }
  return t;
}

const Tables& tables() {
  static const Tables t = [] {
    Tables s;
    s.unit = groupOf(unitFields(), FieldGroup::None);
    s.weapons = groupOf(unitFields(), FieldGroup::Weapons);
    s.armour = groupOf(unitFields(), FieldGroup::Armour);
    s.leader = groupOf(unitFields(), FieldGroup::Leader);
    s.position = groupOf(unitFields(), FieldGroup::Position);
    s.game = groupOf(gameFields(), FieldGroup::None);
    s.countries = groupOf(gameFields(), FieldGroup::Countries);
    s.hexes = groupOf(gameFields(), FieldGroup::VictoryHexes);
    return s;
  }();
  return t;
}

// The state of one run, reached from Lua through the state's extra space.
struct Run {
  const GameModel& original;
  GameModel trial;
  DiceSource dice;
  ScriptLimits limits;
  Clock::time_point deadline;
  int units = 0;
  std::size_t luaBytes = 0;   // what Lua holds
  std::size_t hostBytes = 0;  // output and findings
  bool timedOut = false;
  bool outOfMemory = false;
  bool closing = false;
  std::string output;
  std::vector<ScriptFinding> findings;
  // Which fields a script stored: game fields, then each unit's.
  std::vector<char> touched;

  Run(const GameModel& m, const DiceSource& d, const ScriptLimits& l)
      : original(m), trial(m), dice(d), limits(l), units(std::min(m.countUnits(), kUnitCapacity)) {
    touched.assign(gameFields().size() + static_cast<std::size_t>(units) * unitFields().size(), 0);
  }
  bool stopped() const { return timedOut || outOfMemory; }
  void touch(const NamedField& f, int unit, bool game) {
    const std::size_t i = game ? static_cast<std::size_t>(&f - gameFields().data())
                               : gameFields().size() + static_cast<std::size_t>(unit) * unitFields().size() +
                                     static_cast<std::size_t>(&f - unitFields().data());
    touched[i] = 1;
  }
  // Output and findings count against the memory limit as Lua's own bytes do.
  bool hold(std::size_t bytes) {
    hostBytes += bytes;
    if (luaBytes + hostBytes > limits.memory) outOfMemory = true;
    return !outOfMemory;
  }
};

Run& runOf(lua_State* L) { return **static_cast<Run**>(lua_getextraspace(L)); }

void* allocate(void* ud, void* ptr, std::size_t osize, std::size_t nsize) {
  Run& r = *static_cast<Run*>(ud);
  const std::size_t old = ptr ? osize : 0;
  if (nsize == 0) {
    r.luaBytes -= old;
    std::free(ptr);
    return nullptr;
  }
  // Lua counts on a shrinking block never failing.
  if (nsize > old && r.luaBytes - old + nsize > r.limits.memory - std::min(r.limits.memory, r.hostBytes)) {
    r.outOfMemory = true;
    return nullptr;
  }
  void* block = std::realloc(ptr, nsize);
  if (block) r.luaBytes = r.luaBytes - old + nsize;
  return block;
}

void stopAtDeadline(lua_State* L, lua_Debug*) {
  Run& r = runOf(L);
  if (r.closing || r.timedOut || Clock::now() >= r.deadline) {
    r.timedOut = true;
    luaL_error(L, "the time limit is reached");
  }
}

// ---------------------------------------------------------------------------
// Values between Lua and the catalogue.

// A Lua value as a refusal shows it: numbers as Lua prints them, texts in
// JSON quotes, anything else by its kind.
std::string shown(lua_State* L, int at) {
  switch (lua_type(L, at)) {
    case LUA_TNUMBER: {
      // A float with a whole value as the whole number, as JSON shows it.
      if (!lua_isinteger(L, at)) {
        const lua_Number d = lua_tonumber(L, at);
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
          return std::to_string(static_cast<long long>(d));
      }
      // On a copy: lua_tolstring turns a number into a text in place.
      lua_pushvalue(L, at);
      std::size_t n = 0;
      const char* s = lua_tolstring(L, -1, &n);
      std::string text(s, n);
      lua_pop(L, 1);
      return text;
    }
    case LUA_TSTRING: {
      std::size_t n = 0;
      const char* s = lua_tolstring(L, at, &n);
      std::string q = "\"";
      for (std::size_t k = 0; k < n; ++k) {
        const char c = s[k];
        if (c == '"' || c == '\\') {
          q += '\\';
          q += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
          static const char* hex = "0123456789abcdef";
          q += "\\u00";
          q += hex[(c >> 4) & 0xF];
          q += hex[c & 0xF];
        } else {
          q += c;
        }
      }
      return q + "\"";
    }
    case LUA_TBOOLEAN: return lua_toboolean(L, at) ? "true" : "false";
    case LUA_TNIL: return "nil";
    default: return std::string("a ") + luaL_typename(L, at);
  }
}

[[noreturn]] void refuse(lua_State* L, const std::string& path, const std::string& why) {
  luaL_error(L, "%s: %s", path.c_str(), why.c_str());
  std::abort();  // luaL_error does not return
}

std::string unitPrefix(int unit) { return "units[" + std::to_string(unit) + "]"; }

std::string fieldPath(const NamedField& f, int unit, bool game) {
  return (game ? std::string("game") : unitPrefix(unit)) + "." + f.path();
}

void pushField(lua_State* L, Run& r, const NamedField& f, int unit) {
  const auto v = readField(r.trial, f, unit);
  if (!v) {
    lua_pushnil(L);
  } else if (f.isText()) {
    const std::string utf8 = common::cp1252ToUtf8(v->text);
    lua_pushlstring(L, utf8.data(), utf8.size());
  } else {
    lua_pushinteger(L, v->number);
  }
}

// The value at `at` stored into the field, checked as an import checks a
// document's value.
void storeField(lua_State* L, Run& r, const NamedField& f, int unit, bool game, int at) {
  const auto current = readField(r.trial, f, unit);
  if (!current) refuse(L, fieldPath(f, unit, game), "this game file has no such field");
  FieldValue value;
  if (f.isText()) {
    if (lua_type(L, at) != LUA_TSTRING) refuse(L, fieldPath(f, unit, game), shown(L, at) + " is not a text");
    std::size_t n = 0;
    const char* s = lua_tolstring(L, at, &n);
    const std::string_view utf8(s, n);
    value.text = common::utf8ToCp1252(utf8);
    if (common::cp1252ToUtf8(value.text) != utf8)
      refuse(L, fieldPath(f, unit, game), shown(L, at) + " has a character Windows-1252 cannot hold");
  } else {
    auto range = [&] {
      return shown(L, at) + " is out of range " + std::to_string(f.minimum()) + ".." + std::to_string(f.maximum());
    };
    if (lua_type(L, at) != LUA_TNUMBER) refuse(L, fieldPath(f, unit, game), shown(L, at) + " is not a whole number");
    lua_Integer n = 0;
    if (lua_isinteger(L, at)) {
      n = lua_tointeger(L, at);
    } else {
      // A float with a whole value (10.0, as division gives) counts as that number.
      const lua_Number d = lua_tonumber(L, at);
      if (!std::isfinite(d) || d != std::floor(d))
        refuse(L, fieldPath(f, unit, game), shown(L, at) + " is not a whole number");
      if (d < -2147483648.0 || d > 2147483647.0) refuse(L, fieldPath(f, unit, game), range());
      n = static_cast<lua_Integer>(d);
    }
    if (n < f.minimum() || n > f.maximum()) refuse(L, fieldPath(f, unit, game), range());
    value.number = static_cast<int>(n);
  }
  if (value == *current) return;
  const std::string why = checkFieldValue(f, value);
  if (!why.empty()) refuse(L, fieldPath(f, unit, game), why);
  writeField(r.trial, f, unit, value);
  r.touch(f, unit, game);
}

// ---------------------------------------------------------------------------
// The objects a script sees: full userdata of one small struct, with one user
// value caching the objects below it, so `u.leader` and `game.units[1]` are
// made once and compare equal.

struct Proxy {
  Kind kind;
  int unit;  // the unit it belongs to; 0 for the game's
  int item;  // the weapon slot or victory hex, 0-based
};

constexpr std::array<const char*, 11> kMetaNames = {
    "tarnel.game",   "tarnel.units",  "tarnel.unit",      "tarnel.weapons",   "tarnel.slot", "tarnel.armour",
    "tarnel.leader", "tarnel.position", "tarnel.countries", "tarnel.victoryHexes", "tarnel.victoryHex"};

const char* metaName(Kind k) { return kMetaNames[static_cast<std::size_t>(k)]; }

Proxy& proxyAt(lua_State* L, int at) { return *static_cast<Proxy*>(lua_touserdata(L, at)); }

void pushProxy(lua_State* L, Kind kind, int unit, int item) {
  auto* p = static_cast<Proxy*>(lua_newuserdatauv(L, sizeof(Proxy), 1));
  *p = {kind, unit, item};
  luaL_setmetatable(L, metaName(kind));
}

// The object below the proxy at `at` under cache slot `slot`, made the first
// time it is asked for.
void pushChild(lua_State* L, int at, lua_Integer slot, Kind kind, int unit, int item) {
  if (lua_getiuservalue(L, at, 1) != LUA_TTABLE) {
    lua_pop(L, 1);
    lua_createtable(L, 0, 0);
    lua_pushvalue(L, -1);
    lua_setiuservalue(L, at, 1);
  }
  if (lua_rawgeti(L, -1, slot) == LUA_TNIL) {
    lua_pop(L, 1);
    pushProxy(L, kind, unit, item);
    lua_pushvalue(L, -1);
    lua_rawseti(L, -3, slot);
  }
  lua_remove(L, -2);
}

// The path of the object itself: "units[3].weapons[0]", "game.victoryHexes".
std::string objectPath(const Proxy& p) {
  const std::string u = unitPrefix(p.unit);
  switch (p.kind) {
    case Kind::Game: return "game";
    case Kind::Units: return "units";
    case Kind::Unit: return u;
    case Kind::Weapons: return u + ".weapons";
    case Kind::Slot: return u + ".weapons[" + std::to_string(p.item) + "]";
    case Kind::Armour: return u + ".armour";
    case Kind::Leader: return u + ".leader";
    case Kind::Position: return u + ".position";
    case Kind::Countries: return "game.countries";
    case Kind::Hexes: return "game.victoryHexes";
    case Kind::Hex: return "game.victoryHexes[" + std::to_string(p.item) + "]";
  }
  return {};
}

bool isGameKind(Kind k) { return k == Kind::Game || k == Kind::Countries || k == Kind::Hexes || k == Kind::Hex; }

const FieldGroupTable* groupTable(Kind k) {
  const Tables& t = tables();
  switch (k) {
    case Kind::Game: return &t.game;
    case Kind::Unit: return &t.unit;
    case Kind::Slot: return &t.weapons;
    case Kind::Armour: return &t.armour;
    case Kind::Leader: return &t.leader;
    case Kind::Position: return &t.position;
    case Kind::Hex: return &t.hexes;
    default: return nullptr;
  }
}

[[noreturn]] void unknownKey(lua_State* L, const Proxy& p) {
  if (lua_type(L, 2) == LUA_TSTRING) refuse(L, objectPath(p) + "." + lua_tostring(L, 2), "unknown key");
  refuse(L, objectPath(p), shown(L, 2) + " is no field");
}

// The key's number in the object's key table (an upvalue): > 0 a field, < 0
// one of Special; 0 when unknown.
lua_Integer keyCode(lua_State* L) {
  lua_pushvalue(L, 2);
  lua_rawget(L, lua_upvalueindex(1));
  const lua_Integer code = lua_tointeger(L, -1);
  lua_pop(L, 1);
  return code;
}

const NamedField& fieldOfCode(const Proxy& p, lua_Integer code) {
  const FieldGroupTable& t = *groupTable(p.kind);
  const int i = t.fieldOf[static_cast<std::size_t>(p.item)][static_cast<std::size_t>(code - 1)];
  return (isGameKind(p.kind) ? gameFields() : unitFields())[static_cast<std::size_t>(i)];
}

int objectIndex(lua_State* L) {
  const Proxy p = proxyAt(L, 1);
  const lua_Integer code = keyCode(L);
  if (code > 0) {
    pushField(L, runOf(L), fieldOfCode(p, code), p.unit);
    return 1;
  }
  switch (code) {
    case kIndex: lua_pushinteger(L, p.unit); return 1;
    case kWeapons: pushChild(L, 1, -kWeapons, Kind::Weapons, p.unit, 0); return 1;
    case kArmour: pushChild(L, 1, -kArmour, Kind::Armour, p.unit, 0); return 1;
    case kLeader: pushChild(L, 1, -kLeader, Kind::Leader, p.unit, 0); return 1;
    case kPosition: pushChild(L, 1, -kPosition, Kind::Position, p.unit, 0); return 1;
    case kUnits: pushChild(L, 1, -kUnits, Kind::Units, 0, 0); return 1;
    case kCountries: pushChild(L, 1, -kCountries, Kind::Countries, 0, 0); return 1;
    case kHexes: pushChild(L, 1, -kHexes, Kind::Hexes, 0, 0); return 1;
    case kGeneration: {
      static constexpr std::array<const char*, 4> kNames = {"none", "1.0", "1.1", "VN3"};
      lua_pushstring(L, kNames[static_cast<std::size_t>(runOf(L).original.loaded)]);
      return 1;
    }
    default: unknownKey(L, p);
  }
}

int objectNewIndex(lua_State* L) {
  const Proxy p = proxyAt(L, 1);
  const lua_Integer code = keyCode(L);
  if (code > 0) {
    storeField(L, runOf(L), fieldOfCode(p, code), p.unit, isGameKind(p.kind), 3);
    return 0;
  }
  if (code == 0) unknownKey(L, p);
  const std::string path = objectPath(p) + "." + lua_tostring(L, 2);
  if (code == kIndex) refuse(L, path, "a unit's index cannot be changed");
  if (code == kGeneration) refuse(L, path, "the generation cannot be changed");
  refuse(L, path, "a group of fields cannot be replaced; set its fields one by one");
}

// Arrays: units, a unit's weapon slots, the countries, the victory hexes.
int arrayLength(const Run& r, Kind k) {
  switch (k) {
    case Kind::Units: return r.units;
    case Kind::Weapons: return static_cast<int>(tables().weapons.fieldOf.size());
    case Kind::Countries: return static_cast<int>(tables().countries.fieldOf.size());
    case Kind::Hexes: return static_cast<int>(tables().hexes.fieldOf.size());
    default: return 0;
  }
}

// The 0-based element a key names, or -1.
int elementOf(lua_State* L, const Proxy& p) {
  if (!lua_isinteger(L, 2)) return -1;
  const lua_Integer k = lua_tointeger(L, 2);
  return k >= 1 && k <= arrayLength(runOf(L), p.kind) ? static_cast<int>(k - 1) : -1;
}

int arrayIndex(lua_State* L) {
  const Proxy p = proxyAt(L, 1);
  const int e = elementOf(L, p);
  if (e < 0) {
    lua_pushnil(L);
    return 1;
  }
  switch (p.kind) {
    case Kind::Units: pushChild(L, 1, e + 1, Kind::Unit, e, 0); break;
    case Kind::Weapons: pushChild(L, 1, e + 1, Kind::Slot, p.unit, e); break;
    case Kind::Hexes: pushChild(L, 1, e + 1, Kind::Hex, 0, e); break;
    case Kind::Countries: {
      const int i = tables().countries.fieldOf[static_cast<std::size_t>(e)][0];
      pushField(L, runOf(L), gameFields()[static_cast<std::size_t>(i)], 0);
      break;
    }
    default: lua_pushnil(L);
  }
  return 1;
}

int arrayNewIndex(lua_State* L) {
  const Proxy p = proxyAt(L, 1);
  const int e = elementOf(L, p);
  if (e < 0)
    refuse(L, objectPath(p), shown(L, 2) + " is no element (1 to " + std::to_string(arrayLength(runOf(L), p.kind)) + ")");
  if (p.kind == Kind::Countries) {
    const int i = tables().countries.fieldOf[static_cast<std::size_t>(e)][0];
    storeField(L, runOf(L), gameFields()[static_cast<std::size_t>(i)], 0, true, 3);
    return 0;
  }
  const std::string path = objectPath(p) + "[" + std::to_string(e) + "]";
  refuse(L, path, p.kind == Kind::Units ? "a unit cannot be replaced; set its fields one by one"
                                        : "a group of fields cannot be replaced; set its fields one by one");
}

int arrayLen(lua_State* L) {
  lua_pushinteger(L, arrayLength(runOf(L), proxyAt(L, 1).kind));
  return 1;
}

int proxyToString(lua_State* L) {
  const std::string path = objectPath(proxyAt(L, 1));
  lua_pushlstring(L, path.data(), path.size());
  return 1;
}

// The key table of a group: key -> its number (from 1), plus the special keys.
void pushKeyTable(lua_State* L, const FieldGroupTable* t, std::initializer_list<std::pair<const char*, int>> special) {
  lua_createtable(L, 0, 0);
  if (t)
    for (std::size_t k = 0; k < t->keys.size(); ++k) {
      lua_pushlstring(L, t->keys[k].data(), t->keys[k].size());
      lua_pushinteger(L, static_cast<lua_Integer>(k + 1));
      lua_rawset(L, -3);
    }
  for (const auto& [key, code] : special) {
    lua_pushinteger(L, code);
    lua_setfield(L, -2, key);
  }
}

void makeMetatable(lua_State* L, Kind kind, std::initializer_list<std::pair<const char*, int>> special = {}) {
  luaL_newmetatable(L, metaName(kind));
  const bool array = kind == Kind::Units || kind == Kind::Weapons || kind == Kind::Countries || kind == Kind::Hexes;
  if (array) {
    lua_pushcfunction(L, arrayIndex);
    lua_setfield(L, -2, "__index");
    lua_pushcfunction(L, arrayNewIndex);
    lua_setfield(L, -2, "__newindex");
    lua_pushcfunction(L, arrayLen);
    lua_setfield(L, -2, "__len");
  } else {
    pushKeyTable(L, groupTable(kind), special);
    lua_pushvalue(L, -1);
    lua_pushcclosure(L, objectIndex, 1);
    lua_setfield(L, -3, "__index");
    lua_pushcclosure(L, objectNewIndex, 1);
    lua_setfield(L, -2, "__newindex");
  }
  lua_pushcfunction(L, proxyToString);
  lua_setfield(L, -2, "__tostring");
  // getmetatable() sees this instead of the table, which stays out of reach.
  lua_pushliteral(L, "locked");
  lua_setfield(L, -2, "__metatable");
  lua_pop(L, 1);
}

// ---------------------------------------------------------------------------
// The functions a script has beside Lua's own.

int scriptPrint(lua_State* L) {
  Run& r = runOf(L);
  const int n = lua_gettop(L);
  std::string line;
  for (int i = 1; i <= n; ++i) {
    std::size_t len = 0;
    const char* s = luaL_tolstring(L, i, &len);
    if (i > 1) line += '\t';
    line.append(s, len);
    lua_pop(L, 1);
  }
  line += '\n';
  if (!r.hold(line.size())) return luaL_error(L, "not enough memory");
  r.output += line;
  return 0;
}

int scriptWarn(lua_State* L) {
  Run& r = runOf(L);
  const int n = lua_gettop(L);
  int unit = -1;
  int textAt = 1;
  if (n >= 2) {
    auto* p = static_cast<Proxy*>(luaL_testudata(L, 1, metaName(Kind::Unit)));
    if (!p) return luaL_error(L, "warn: %s is no unit (warn(u, text) or warn(text))", shown(L, 1).c_str());
    unit = p->unit;
    textAt = 2;
  } else if (n == 0 || luaL_testudata(L, 1, metaName(Kind::Unit))) {
    return luaL_error(L, "warn: no text (warn(u, text) or warn(text))");
  }
  std::size_t len = 0;
  const char* s = luaL_tolstring(L, textAt, &len);
  if (!r.hold(len + sizeof(ScriptFinding))) return luaL_error(L, "not enough memory");
  r.findings.push_back({unit, std::string(s, len)});
  return 0;
}

int scriptDice(lua_State* L) {
  const lua_Integer n = luaL_checkinteger(L, 1);
  const lua_Integer s = luaL_checkinteger(L, 2);
  constexpr lua_Integer kMostDice = 1000000;
  if (n < 0 || n > kMostDice) return luaL_error(L, "dice: %I dice; a roll has 0 to %I", n, kMostDice);
  if (s < 1 || s > std::numeric_limits<std::int32_t>::max())
    return luaL_error(L, "dice: %I sides; a die has 1 to 2147483647", s);
  Run& r = runOf(L);
  lua_Integer sum = 0;
  for (lua_Integer k = 0; k < n; ++k) sum += r.dice.die(static_cast<int>(s));
  lua_pushinteger(L, sum);
  return 1;
}

// pcall and xpcall as Lua's, except that a script stopped by a limit stays
// stopped: the stop passes through them.
int scriptPcall(lua_State* L) {
  luaL_checkany(L, 1);
  const int status = lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0);
  if (status != LUA_OK && runOf(L).stopped()) return lua_error(L);
  lua_pushboolean(L, status == LUA_OK);
  lua_insert(L, 1);
  return lua_gettop(L);
}

// The handler runs after the failed call has unwound rather than inside the
// error, where the interpreter's hooks are off: there a handler that never
// returned could not be stopped.
int scriptXpcall(lua_State* L) {
  const int n = lua_gettop(L);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_pushvalue(L, 1);
  lua_rotate(L, 3, 1);
  if (lua_pcall(L, n - 2, LUA_MULTRET, 0) == LUA_OK) {
    lua_pushboolean(L, 1);
    lua_insert(L, 3);
    return lua_gettop(L) - 2;
  }
  if (runOf(L).stopped()) return lua_error(L);
  lua_pushvalue(L, 2);
  lua_insert(L, -2);
  if (lua_pcall(L, 1, 1, 0) != LUA_OK && runOf(L).stopped()) return lua_error(L);
  lua_pushboolean(L, 0);
  lua_insert(L, -2);
  return 2;
}

// setmetatable without finalizers: the interpreter runs them with its hooks
// off, so a finalizer that never returned could not be stopped.
int scriptSetmetatable(lua_State* L) {
  if (lua_type(L, 2) == LUA_TTABLE) {
    lua_pushliteral(L, "__gc");
    const bool finalizer = lua_rawget(L, 2) != LUA_TNIL;
    lua_pop(L, 1);
    if (finalizer) return luaL_error(L, "setmetatable: finalizers (__gc) are not available to scripts");
  }
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, lua_gettop(L) - 1, 1);
  return 1;
}

// load for texts only: a binary chunk could break the interpreter.
int scriptLoad(lua_State* L) {
  // An environment given, even nil, is passed on; none given is none.
  const bool environment = lua_gettop(L) >= 4;
  lua_settop(L, 4);
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_pushvalue(L, 1);
  lua_pushvalue(L, 2);
  lua_pushliteral(L, "t");
  if (environment) lua_pushvalue(L, 4);
  lua_call(L, environment ? 4 : 3, LUA_MULTRET);
  return lua_gettop(L) - 4;
}

// string.rep of an empty text gives the empty text at once (Lua would loop
// the count through).
int scriptRep(lua_State* L) {
  std::size_t len = 0;
  std::size_t sepLen = 0;
  luaL_checklstring(L, 1, &len);
  luaL_checkinteger(L, 2);
  luaL_optlstring(L, 3, "", &sepLen);
  if (len + sepLen == 0) {
    lua_pushliteral(L, "");
    return 1;
  }
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, lua_gettop(L) - 1, 1);
  return 1;
}

// Lua's matcher backtracks without end on some patterns over long texts, out
// of reach of the time limit. A match is refused when its worst case, the
// text's length to the power of one more than the pattern's repetitions,
// passes about a thousand million steps.
bool patternTooSlow(std::string_view pattern, std::size_t subject) {
  int repeats = 0;
  for (std::size_t k = 0; k < pattern.size(); ++k) {
    const char c = pattern[k];
    if (c == '%' && k + 1 < pattern.size()) {
      const char next = pattern[k + 1];
      if (next == 'b') {
        ++repeats;
        k += 3;
      } else if (next >= '0' && next <= '9') {
        ++repeats;
        ++k;
      } else {
        ++k;
      }
    } else if (c == '[') {
      ++k;
      if (k < pattern.size() && pattern[k] == '^') ++k;
      if (k < pattern.size()) ++k;  // a leading ']' is a member
      while (k < pattern.size() && pattern[k] != ']') k += pattern[k] == '%' ? 2 : 1;
    } else if (c == '*' || c == '+' || c == '-') {
      ++repeats;
    }
  }
  if (repeats == 0) return false;
  return (repeats + 1) * std::log10(static_cast<double>(subject) + 1.0) > 9.0;
}

int scriptMatcher(lua_State* L) {
  // Upvalues: Lua's function, its name, whether its fourth argument asks for
  // a plain search.
  const bool plain = lua_toboolean(L, lua_upvalueindex(3)) && lua_toboolean(L, 4);
  std::size_t len = 0;
  std::size_t patLen = 0;
  if (!plain && lua_type(L, 1) == LUA_TSTRING && lua_type(L, 2) == LUA_TSTRING) {
    lua_tolstring(L, 1, &len);
    const char* pat = lua_tolstring(L, 2, &patLen);
    if (patternTooSlow({pat, patLen}, len))
      return luaL_error(L, "%s: this pattern could take too long on a text of %I bytes", lua_tostring(L, lua_upvalueindex(2)),
                        static_cast<lua_Integer>(len));
  }
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
  return lua_gettop(L);
}

// table.move over a vast range of absent elements loops without allocating,
// out of reach of both limits.
int scriptMove(lua_State* L) {
  const lua_Integer f = luaL_checkinteger(L, 2);
  const lua_Integer e = luaL_checkinteger(L, 3);
  constexpr lua_Integer kMost = lua_Integer{1} << 24;
  // (Lua itself refuses a range whose length does not fit its integers.)
  const bool fits = f > 0 || e < std::numeric_limits<lua_Integer>::max() + f;
  if (e >= f && fits && e - f >= kMost) return luaL_error(L, "table.move: more than %I elements", kMost);
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, lua_gettop(L) - 1, 1);
  return 1;
}

void wrap(lua_State* L, const char* library, const char* name, lua_CFunction wrapper) {
  lua_getglobal(L, library);
  lua_getfield(L, -1, name);
  lua_pushcclosure(L, wrapper, 1);
  lua_setfield(L, -2, name);
  lua_pop(L, 1);
}

void wrapMatcher(lua_State* L, const char* name, bool hasPlain) {
  lua_getglobal(L, "string");
  lua_getfield(L, -1, name);
  lua_pushfstring(L, "string.%s", name);
  lua_pushboolean(L, hasPlain);
  lua_pushcclosure(L, scriptMatcher, 3);
  lua_setfield(L, -2, name);
  lua_pop(L, 1);
}

// Lua's safe libraries, the game and the functions above: nothing that
// reaches files, the system or the interpreter's internals.
int setUp(lua_State* L) {
  static const luaL_Reg kLibraries[] = {{LUA_GNAME, luaopen_base},       {LUA_STRLIBNAME, luaopen_string},
                                        {LUA_TABLIBNAME, luaopen_table}, {LUA_MATHLIBNAME, luaopen_math},
                                        {LUA_UTF8LIBNAME, luaopen_utf8}};
  for (const luaL_Reg& lib : kLibraries) {
    luaL_requiref(L, lib.name, lib.func, 1);
    lua_pop(L, 1);
  }
  for (const char* name : {"dofile", "loadfile", "require"}) {
    lua_pushnil(L);
    lua_setglobal(L, name);
  }
  lua_getglobal(L, "string");
  lua_pushnil(L);
  lua_setfield(L, -2, "dump");
  lua_pop(L, 1);
  lua_getglobal(L, "load");
  lua_pushcclosure(L, scriptLoad, 1);
  lua_setglobal(L, "load");
  lua_getglobal(L, "setmetatable");
  lua_pushcclosure(L, scriptSetmetatable, 1);
  lua_setglobal(L, "setmetatable");
  lua_register(L, "pcall", scriptPcall);
  lua_register(L, "xpcall", scriptXpcall);
  lua_register(L, "print", scriptPrint);
  lua_register(L, "warn", scriptWarn);
  lua_register(L, "dice", scriptDice);
  wrap(L, "string", "rep", scriptRep);
  wrap(L, "table", "move", scriptMove);
  wrapMatcher(L, "find", true);
  wrapMatcher(L, "match", false);
  wrapMatcher(L, "gmatch", false);
  wrapMatcher(L, "gsub", false);

  makeMetatable(L, Kind::Game, {{"units", kUnits}, {"countries", kCountries}, {"victoryHexes", kHexes},
                                {"generation", kGeneration}});
  makeMetatable(L, Kind::Units);
  makeMetatable(L, Kind::Unit, {{"index", kIndex}, {"weapons", kWeapons}, {"armour", kArmour}, {"leader", kLeader},
                                {"position", kPosition}});
  makeMetatable(L, Kind::Weapons);
  makeMetatable(L, Kind::Slot);
  makeMetatable(L, Kind::Armour);
  makeMetatable(L, Kind::Leader);
  makeMetatable(L, Kind::Position);
  makeMetatable(L, Kind::Countries);
  makeMetatable(L, Kind::Hexes);
  makeMetatable(L, Kind::Hex);
  pushProxy(L, Kind::Game, 0, 0);
  lua_setglobal(L, "game");
  return 0;
}

// The line of the first byte that is no UTF-8, 0 when the text is UTF-8.
int firstNonUtf8Line(std::string_view s) {
  int line = 1;
  for (std::size_t k = 0; k < s.size();) {
    const auto b = static_cast<unsigned char>(s[k]);
    if (b == '\n') ++line;
    std::size_t more = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (b < 0x80) more = 0;
    else if (b >= 0xC2 && b <= 0xDF) more = 1;
    else if (b >= 0xE0 && b <= 0xEF) {
      more = 2;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return line;
    }
    if (k + more >= s.size()) return line;
    for (std::size_t c = 1; c <= more; ++c) {
      const auto t = static_cast<unsigned char>(s[k + c]);
      const unsigned lo = c == 1 ? low : 0x80;
      const unsigned hi = c == 1 ? high : 0xBF;
      if (t < lo || t > hi) return line;
    }
    k += more + 1;
  }
  return 0;
}

std::string limitText(std::chrono::milliseconds ms) {
  if (ms.count() % 1000 == 0) return std::to_string(ms.count() / 1000) + " s";
  return std::to_string(ms.count()) + " ms";
}

std::string memoryText(std::size_t bytes) {
  if (bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

// The edits: every stored field whose value is no longer the game's.
std::vector<ScriptEdit> editsOf(const Run& r) {
  std::vector<ScriptEdit> edits;
  auto collect = [&](const NamedField& f, int unit, std::size_t slot) {
    if (!r.touched[slot]) return;
    const auto before = readField(r.original, f, unit);
    const auto after = readField(r.trial, f, unit);
    if (after && before != after) edits.push_back({&f, unit, *after});
  };
  std::size_t slot = 0;
  for (const NamedField& f : gameFields()) collect(f, 0, slot++);
  for (int u = 0; u < r.units; ++u)
    for (const NamedField& f : unitFields()) collect(f, u, slot++);
  return edits;
}

}  // namespace

ScriptOutcome runScript(const GameModel& model, DiceSource& dice, std::string_view source, std::string_view chunkName,
                        const ScriptLimits& limits) {
  ScriptOutcome out;
  if (source.starts_with("\xEF\xBB\xBF")) source.remove_prefix(3);
  const std::string name(chunkName);
  if (const int line = firstNonUtf8Line(source)) {
    out.error = name + ":" + std::to_string(line) + ": the script is not UTF-8 text; save it as UTF-8";
    return out;
  }
  Run run(model, dice, limits);
  run.deadline = Clock::now() + limits.time;
  lua_State* L = lua_newstate(allocate, &run);
  if (!L) {
    out.error = "The script used more than " + memoryText(limits.memory) + " of memory and was stopped: nothing was changed.";
    return out;
  }
  *static_cast<Run**>(lua_getextraspace(L)) = &run;
  lua_sethook(L, stopAtDeadline, LUA_MASKCOUNT, 1000);
  lua_pushcfunction(L, setUp);
  int status = lua_pcall(L, 0, 0, 0);
  if (status == LUA_OK) {
    const std::string chunk = "=" + name;
    status = luaL_loadbufferx(L, source.data(), source.size(), chunk.c_str(), "t");
    if (status == LUA_OK) status = lua_pcall(L, 0, 0, 0);
  }
  if (run.timedOut) {
    out.error = "The script ran longer than " + limitText(limits.time) + " and was stopped: nothing was changed.";
  } else if (run.outOfMemory) {
    out.error = "The script used more than " + memoryText(limits.memory) + " of memory and was stopped: nothing was changed.";
  } else if (status != LUA_OK) {
    if (lua_type(L, -1) == LUA_TSTRING || lua_type(L, -1) == LUA_TNUMBER)
      out.error = lua_tostring(L, -1);
    else
      out.error = std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
  }
  // No script can leave a finalizer (setmetatable refuses them); the hook
  // stops anything else the close runs.
  run.closing = true;
  lua_close(L);
  out.output = std::move(run.output);
  out.findings = std::move(run.findings);
  if (out.ok()) {
    out.edits = editsOf(run);
    dice = run.dice;
  }
  return out;
}

void applyScriptEdits(GameModel& model, const ScriptOutcome& outcome) {
  for (const ScriptEdit& e : outcome.edits) writeField(model, *e.field, e.unit, e.value);
}

std::string findingLine(const ScriptFinding& f) {
  return (f.unit < 0 ? std::string("game") : unitPrefix(f.unit)) + ": " + f.text;
}

}  // namespace tarnel

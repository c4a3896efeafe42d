// Lua scripts on the named fields: reads against the export, writes against
// the import of the same change, all or nothing, the sandbox and the limits,
// and the sample scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include <nlohmann/json.hpp>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/game_json.h"
#include "model/script_runner.h"

using namespace tarnel;
using nlohmann::json;

namespace {

GameModel sample(GameFileKind kind, int unitsPerSide = 12) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.unitsPerSide = unitsPerSide;
  return samplegen::makeGameModel(o);
}

ScriptOutcome run(const GameModel& m, const std::string& script, const ScriptLimits& limits = {}) {
  DiceSource dice;
  return runScript(m, dice, script, "test.lua", limits);
}

// "weapons[2].he" as a script names it: every array index one higher.
std::string luaPath(const std::string& path) {
  std::string out;
  std::size_t k = 0;
  while (k < path.size()) {
    if (path[k] == '[') {
      const auto close = path.find(']', k);
      out += "[" + std::to_string(std::stoi(path.substr(k + 1, close - k - 1)) + 1) + "]";
      k = close + 1;
    } else {
      out += path[k++];
    }
  }
  return out;
}

// The export's value at a path below `node` ("weapons[2].he").
const json* at(const json& node, const std::string& path) {
  const json* j = &node;
  std::size_t k = 0;
  while (k < path.size() && j) {
    if (path[k] == '.') ++k;
    if (path[k] == '[') {
      const auto close = path.find(']', k);
      const auto i = static_cast<std::size_t>(std::stoi(path.substr(k + 1, close - k - 1)));
      j = j->is_array() && i < j->size() ? &(*j)[i] : nullptr;
      k = close + 1;
    } else {
      const auto end = path.find_first_of(".[", k);
      const std::string key = path.substr(k, end - k);
      j = j->is_object() && j->contains(key) ? &(*j)[key] : nullptr;
      k = end == std::string::npos ? path.size() : end;
    }
  }
  return j;
}

class ScriptGenerations : public ::testing::TestWithParam<GameFileKind> {};

INSTANTIATE_TEST_SUITE_P(Script, ScriptGenerations,
                         ::testing::Values(GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3),
                         [](const ::testing::TestParamInfo<GameFileKind>& p) {
                           return std::string(p.param == GameFileKind::V10   ? "V10"
                                              : p.param == GameFileKind::V11 ? "V11"
                                                                             : "VN3");
                         });

// Every catalogue field of the game and of three units reads as the export
// writes it; a field the export leaves out reads as nil.
TEST_P(ScriptGenerations, ReadsAreTheExport) {
  const GameModel m = sample(GetParam());
  const json doc = json::parse(exportGameJson(m));
  std::string script = "local function show(v) print((math.type(v) or type(v)) .. '=' .. tostring(v)) end\n";
  std::vector<std::pair<std::string, std::string>> expected;  // Lua path, line
  auto add = [&](const std::string& lua, const json* value) {
    script += "show(" + lua + ")\n";
    std::string line = "nil=nil";
    if (value && value->is_string()) line = "string=" + value->get<std::string>();
    if (value && value->is_number_integer()) line = "integer=" + value->dump();
    expected.emplace_back(lua, line);
  };
  for (const NamedField& f : gameFields()) add("game." + luaPath(f.path()), at(doc["game"], f.path()));
  for (int unit : {0, 1, 23})
    for (const NamedField& f : unitFields())
      add("game.units[" + std::to_string(unit + 1) + "]." + luaPath(f.path()),
          at(doc["units"][static_cast<std::size_t>(unit)], f.path()));
  const ScriptOutcome out = run(m, script);
  ASSERT_TRUE(out.ok()) << out.error;
  std::string want;
  for (const auto& [lua, line] : expected) want += line + "\n";
  EXPECT_EQ(out.output, want);
  EXPECT_TRUE(out.edits.empty());
}

struct WriteRow {
  const char* lua;
  const char* json;
};

// A change written by a script and the same change imported give the same
// bytes, or both are refused, the script naming the field as import does.
const WriteRow kWrites[] = {
    {"game.units[1].exp = 77", R"({"units":[{"index":0,"exp":77}]})"},
    {"game.units[1].exp = 77.0", R"({"units":[{"index":0,"exp":77}]})"},
    {"game.units[2].name = 'Grüne Eins'", R"({"units":[{"index":1,"name":"Grüne Eins"}]})"},
    {"game.units[2].name = 'Kompanie Sieben'", R"({"units":[{"index":1,"name":"Kompanie Sieben"}]})"},
    {"game.units[3].leader.name = 'Karl/Marx'", R"({"units":[{"index":2,"leader":{"name":"Karl/Marx"}}]})"},
    {"game.units[3].leader.kills = 65535", R"({"units":[{"index":2,"leader":{"kills":65535}}]})"},
    {"game.units[1].weapons[4].s2 = 9", R"({"units":[{"index":0,"weapons":[null,null,null,{"s2":9}]}]})"},
    {"game.units[1].weapons[1].mob = 7", R"({"units":[{"index":0,"weapons":[{"mob":7}]}]})"},
    {"game.units[2].armour.hullSides = 33", R"({"units":[{"index":1,"armour":{"hullSides":33}}]})"},
    {"game.units[2].armour.turretSidesHeat = 4", R"({"units":[{"index":1,"armour":{"turretSidesHeat":4}}]})"},
    {"game.units[2].position.x = -5", R"({"units":[{"index":1,"position":{"x":-5}}]})"},
    {"game.units[2].position.hidden = 1", R"({"units":[{"index":1,"position":{"hidden":1}}]})"},
    {"game.units[1].imageNumber = 65535", R"({"units":[{"index":0,"imageNumber":65535}]})"},
    {"game.units[1].unitsLeft = 3", R"({"units":[{"index":0,"unitsLeft":3}]})"},
    {"game.turn = 3", R"({"game":{"turn":3}})"},
    {"game.description = 'Bridgehead at dawn'", R"({"game":{"description":"Bridgehead at dawn"}})"},
    {"game.countries[4] = 12", R"({"game":{"countries":[null,null,null,12]}})"},
    {"game.victoryHexes[20].side = 1", R"({"game":{"victoryHexes":[)" "null,null,null,null,null,null,null,null,null,null,"
                                         "null,null,null,null,null,null,null,null,null," R"({"side":1}]}})"},
    {"game.prestige = 1234", R"({"game":{"prestige":1234}})"},
    // Refused.
    {"game.units[1].exp = 300", R"({"units":[{"index":0,"exp":300}]})"},
    {"game.units[1].exp = -1", R"({"units":[{"index":0,"exp":-1}]})"},
    {"game.units[1].exp = 2^40", R"({"units":[{"index":0,"exp":1099511627776}]})"},
    {"game.units[1].exp = 2.5", R"({"units":[{"index":0,"exp":2.5}]})"},
    {"game.units[1].exp = 'ten'", R"({"units":[{"index":0,"exp":"ten"}]})"},
    {"game.units[1].name = 5", R"({"units":[{"index":0,"name":5}]})"},
    {"game.units[1].name = ''", R"({"units":[{"index":0,"name":""}]})"},
    {"game.units[1].name = 'Sixteen letters!'", R"({"units":[{"index":0,"name":"Sixteen letters!"}]})"},
    {"game.units[1].name = '日本'", R"({"units":[{"index":0,"name":"日本"}]})"},
    {"game.units[1].leader.name = 'NoSlash'", R"({"units":[{"index":0,"leader":{"name":"NoSlash"}}]})"},
    {"game.units[1].position.x = 40000", R"({"units":[{"index":0,"position":{"x":40000}}]})"},
    {"game.units[1].position.hidden = 2", R"({"units":[{"index":0,"position":{"hidden":2}}]})"},
    {"game.description = string.rep('d', 32)", R"({"game":{"description":"dddddddddddddddddddddddddddddddd"}})"},
};

TEST_P(ScriptGenerations, WritesAreTheImportOfTheSameChange) {
  const GameModel original = sample(GetParam());
  for (const WriteRow& row : kWrites) {
    GameModel imported = original;
    const ImportOutcome import = importGameJson(imported, row.json, "edit.json");
    const ScriptOutcome script = run(original, row.lua);
    if (import.ok()) {
      ASSERT_TRUE(script.ok()) << row.lua << ": " << script.error;
      GameModel scripted = original;
      applyScriptEdits(scripted, script);
      EXPECT_EQ(scripted.image(), imported.image()) << row.lua;
      EXPECT_EQ(static_cast<int>(script.edits.size()), import.changedFields) << row.lua;
    } else {
      // The import names its file first; the script error its line.
      EXPECT_EQ("edit.json: " + script.error.substr(std::string("test.lua:1: ").size()), import.error) << row.lua;
      EXPECT_TRUE(script.error.starts_with("test.lua:1: ")) << script.error;
      EXPECT_TRUE(script.edits.empty());
    }
  }
}

// Later writes and reads see earlier writes; a value written back to what
// the game held is no edit.
TEST(Script, ReadsFollowWritesAndNetOut) {
  const GameModel m = sample(GameFileKind::Vn3);
  const ScriptOutcome out = run(m, R"(
    local u = game.units[1]
    local exp = u.exp
    u.exp = 200  u.exp = u.exp + 1
    print(u.exp, u.index, #game.units, tostring(u.leader), game.generation)
    u.mor = u.mor + 1  u.mor = u.mor - 1
    assert(game.units[1] == u and u.weapons[2] == u.weapons[2])
  )");
  ASSERT_TRUE(out.ok()) << out.error;
  EXPECT_EQ(out.output, "201\t0\t24\tunits[0].leader\tVN3\n");
  ASSERT_EQ(out.edits.size(), 1u);
  EXPECT_EQ(out.edits[0].field->path(), "exp");
  EXPECT_EQ(out.edits[0].value.number, 201);
}

// Keys and shapes a script cannot write, each refused with its path.
TEST(Script, RefusedShapesNameThePath) {
  const GameModel m = sample(GameFileKind::V11);
  const std::pair<const char*, const char*> rows[] = {
      {"game.units[1].expp = 1", "test.lua:1: units[0].expp: unknown key"},
      {"local x = game.units[2].leader.age", "test.lua:1: units[1].leader.age: unknown key"},
      {"game.units[1].index = 4", "test.lua:1: units[0].index: a unit's index cannot be changed"},
      {"game.units[1].leader = {}", "test.lua:1: units[0].leader: a group of fields cannot be replaced; set its fields one by one"},
      {"game.units[1] = game.units[2]", "test.lua:1: units[0]: a unit cannot be replaced; set its fields one by one"},
      {"game.units[1].exp = {}", "test.lua:1: units[0].exp: a table is not a whole number"},
      {"game.units[1].name = nil", "test.lua:1: units[0].name: nil is not a text"},
      {"game.countries[5] = 1", "test.lua:1: game.countries: 5 is no element (1 to 4)"},
      {"game.generation = 'VN3'", "test.lua:1: game.generation: the generation cannot be changed"},
      {"game.unitsLeft = 1", "test.lua:1: game.unitsLeft: unknown key"},
      {"game.units[1].unitsLeft = 1", "test.lua:1: units[0].unitsLeft: this game file has no such field"},
      {"game.units[1][1] = 1", "test.lua:1: units[0]: 1 is no field"},
  };
  for (const auto& [lua, error] : rows) EXPECT_EQ(run(m, lua).error, error) << lua;
  EXPECT_TRUE(run(m, "assert(game.units[25] == nil and game.units[0] == nil and game.units.x == nil)").ok());
}

// A script that ends with an error leaves nothing behind: no edit, the dice
// as they were; one that finishes takes its draws.
TEST(Script, AllOrNothing) {
  const GameModel m = sample(GameFileKind::Vn3);
  DiceSource dice;
  dice.seed(42);
  DiceSource reference = dice;
  const ScriptOutcome failed = runScript(m, dice, R"(
    local n = 0
    for i = 1, 100 do
      for _, u in ipairs(game.units) do if n == 500 then break end u.exp = i n = n + 1 end
    end
    print(dice(3, 6))
    error("after " .. n .. " writes")
  )", "bad.lua");
  EXPECT_EQ(failed.error, "bad.lua:7: after 500 writes");
  EXPECT_TRUE(failed.edits.empty());
  EXPECT_EQ(dice.next(), reference.next());

  dice.seed(42);
  reference.seed(42);
  const ScriptOutcome ok = runScript(m, dice, "print(dice(3, 6), dice(0, 6), dice(1, 1))", "dice.lua");
  ASSERT_TRUE(ok.ok()) << ok.error;
  const std::int64_t three = reference.die(6) + reference.die(6) + reference.die(6);
  EXPECT_EQ(ok.output, std::to_string(three) + "\t0\t" + std::to_string(reference.die(1)) + "\n");
  EXPECT_EQ(dice.next(), reference.next());
  EXPECT_NE(run(m, "dice(-1, 6)").error.find("dice: -1 dice"), std::string::npos);
  EXPECT_NE(run(m, "dice(2, 0)").error.find("dice: 0 sides"), std::string::npos);
}

TEST(Script, FindingsNameTheirUnit) {
  const GameModel m = sample(GameFileKind::V11);
  const ScriptOutcome out = run(m, "warn(game.units[4], 'too close') warn('no hexes') warn(game.units[1], 12)");
  ASSERT_TRUE(out.ok()) << out.error;
  const std::vector<ScriptFinding> expected = {{3, "too close"}, {-1, "no hexes"}, {0, "12"}};
  EXPECT_EQ(out.findings, expected);
  EXPECT_EQ(findingLine(out.findings[0]), "units[3]: too close");
  EXPECT_EQ(findingLine(out.findings[1]), "game: no hexes");
  EXPECT_NE(run(m, "warn(game, 'x')").error.find("is no unit"), std::string::npos);
  EXPECT_NE(run(m, "warn()").error.find("warn: no text"), std::string::npos);
}

struct SandboxRow {
  const char* name;
  const char* script;
  const char* error;  // a part of the message; empty when the script finishes
};

// What a script cannot reach, and what cannot hang or break the program.
// Time rows use a short limit; the memory limit is the real one.
const SandboxRow kSandbox[] = {
    {"io", "io.open('x', 'w')", "global 'io'"},
    {"os", "os.execute('true')", "global 'os'"},
    {"debug", "debug.sethook()", "global 'debug'"},
    {"package", "package.loadlib('x', 'y')", "global 'package'"},
    {"require", "require('os')", "global 'require'"},
    {"dofile", "dofile('/etc/passwd')", "global 'dofile'"},
    {"loadfile", "loadfile('/etc/passwd')", "global 'loadfile'"},
    {"coroutine", "coroutine.create(print)", "global 'coroutine'"},
    {"dump", "string.dump(print)", "field 'dump'"},
    {"binaryLoad", "local f, e = load('\\27Lua\\84\\0') error(e, 0)", "attempt to load a binary chunk (mode is 't')"},
    {"binaryLoadMode", "local f, e = load('\\27Lua', 'x', 'b') error(e, 0)", "attempt to load a binary chunk (mode is 't')"},
    {"binaryScript", "\x1bLua\x54\x00", "attempt to load a binary chunk"},
    {"textLoad", "assert(load('return 1 + 1')() == 2)", ""},
    {"metatable", "getmetatable(game).__index = nil", "attempt to index a string value"},
    {"syntax", "x = = 1", "test.lua:1: unexpected symbol near '='"},
    {"runtime", "\n\nlocal t = nil\nprint(t.x)", "test.lua:4: attempt to index a nil value (local 't')"},
    {"errorTable", "error({})", "(error object is a table value)"},
    {"empty", "", ""},
    {"onlyComment", "-- nothing", ""},
    {"byteOrderMark", "\xEF\xBB\xBFprint(1)", ""},
    {"notUtf8", "print('ok')\n-- caf\xE9", "test.lua:2: the script is not UTF-8 text; save it as UTF-8"},
    {"repHuge", "local s = string.rep('x', 2^40)", "resulting string too large"},
    {"repEmptyHuge", "assert(string.rep('', 2^40) == '')", ""},
    {"doubling", "local s = 'x' while true do s = s .. s end",
     "The script used more than 256 MiB of memory and was stopped: nothing was changed."},
    {"tables", "local t = {} while true do t[#t + 1] = {} end", "was stopped: nothing was changed."},
    {"memoryCaught", "local s = 'x' while true do pcall(function() s = s .. s end) end",
     "The script used more than 256 MiB of memory and was stopped: nothing was changed."},
    {"printing", "local s = string.rep('x', 2^20) while true do print(s) end", "was stopped: nothing was changed."},
    {"loop", "while true do end", "The script ran longer than 1500 ms and was stopped: nothing was changed."},
    {"loopCaught", "while true do pcall(function() while true do end end) end",
     "The script ran longer than 1500 ms and was stopped: nothing was changed."},
    {"loopInHandler", "xpcall(error, function() while true do end end)",
     "The script ran longer than 1500 ms and was stopped: nothing was changed."},
    {"recursion", "local function f() return 1 + f() end f()", "stack overflow"},
    {"moveVast", "table.move({}, 1, 1 << 40, 2)", "table.move: more than 16777216 elements"},
    {"moveSmall", "assert(table.move({1, 2}, 1, 2, 2)[3] == 2)", ""},
    {"backtracking", "local s = string.rep('a', 100000) print(s:find('.-.-b'))", "could take too long on a text of 100000 bytes"},
    {"gsubBacktracking", "string.rep('a', 5000):gsub('(a*)*b', '')", "string.gsub: this pattern could take too long"},
    {"plainFind", "assert(string.rep('a', 100000):find('.-.-b', 1, true) == nil)", ""},
    {"smallPattern", "assert(('MG Team 20'):match('^(.-)%s*%d+$') == 'MG Team')", ""},
    {"finalizerLoop", "setmetatable({}, {__gc = function() while true do end end})",
     "test.lua:1: setmetatable: finalizers (__gc) are not available to scripts"},
    {"finalizerLater", "local mt = {} setmetatable({}, mt) mt.__gc = function() while true do end end "
     "setmetatable({}, mt)", "test.lua:1: setmetatable: finalizers (__gc) are not available to scripts"},
    {"handlerFails", "local ok, e = xpcall(error, function(m) error('again') end, 'x') assert(not ok)", ""},
    {"handlerResult", "local ok, e = xpcall(error, function(m) return 'seen ' .. m end, 'x') "
     "assert(not ok and e == 'seen x')", ""},
};

class Sandbox : public ::testing::TestWithParam<SandboxRow> {};

INSTANTIATE_TEST_SUITE_P(Rows, Sandbox, ::testing::ValuesIn(kSandbox),
                         [](const ::testing::TestParamInfo<SandboxRow>& p) { return std::string(p.param.name); });

TEST_P(Sandbox, EndsCleanlyChangingNothing) {
  const GameModel m = sample(GameFileKind::V11);
  ScriptLimits limits;
  limits.time = std::chrono::milliseconds(1500);  // room for the deep recursion on a busy machine
  const auto start = std::chrono::steady_clock::now();
  // A write first, on the first line, which no failing row may leave behind
  // (rows whose first bytes matter go without).
  const std::string script = GetParam().script;
  const bool atStart = script.starts_with("\x1b") || script.starts_with("\xEF");
  const ScriptOutcome out = run(m, (atStart ? "" : "game.units[1].exp = 1 ") + script, limits);
  const auto took = std::chrono::steady_clock::now() - start;
  if (*GetParam().error == '\0') {
    EXPECT_TRUE(out.ok()) << out.error;
  } else {
    EXPECT_NE(out.error.find(GetParam().error), std::string::npos) << out.error;
    EXPECT_TRUE(out.edits.empty());
  }
  // Stopped near the limit, not at the end of some loop inside Lua.
  EXPECT_LT(took, std::chrono::seconds(4));
}

// The real limit and its message.
TEST(Script, StopsAfterFiveSeconds) {
  const GameModel m = sample(GameFileKind::V10);
  const auto start = std::chrono::steady_clock::now();
  const ScriptOutcome out = run(m, "game.turn = 9 while true do end");
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(out.error, "The script ran longer than 5 s and was stopped: nothing was changed.");
  EXPECT_TRUE(out.edits.empty());
  EXPECT_GE(took, std::chrono::milliseconds(4900));
  EXPECT_LT(took, std::chrono::milliseconds(7000));
}

// The shipped scripts on a generated game: each does what its comment says.
TEST(Script, SamplesDoWhatTheySay) {
  const std::filesystem::path dir = std::filesystem::path(TEST_SOURCE_DIR) / "samples/scripts";
  auto source = [&](const char* name) {
    const auto bytes = common::readFileBytes((dir / name).string());
    EXPECT_TRUE(bytes) << name;
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  };
  const GameModel m = sample(GameFileKind::Vn3, 40);
  const json before = json::parse(exportGameJson(m));
  auto after = [&](const char* name, std::string* output = nullptr) {
    const ScriptOutcome out = run(m, source(name));
    EXPECT_TRUE(out.ok()) << name << ": " << out.error;
    if (output) *output = out.output;
    GameModel changed = m;
    applyScriptEdits(changed, out);
    return json::parse(exportGameJson(changed));
  };

  std::string printed;
  json doc = after("core_experience.lua", &printed);
  int raised = 0;
  for (std::size_t i = 0; i < doc["units"].size(); ++i) {
    const int was = before["units"][i]["exp"];
    const int is = doc["units"][i]["exp"];
    if (before["units"][i]["side"] == 0 && was < 100) {
      EXPECT_EQ(is, std::min(was + 10, 100));
      ++raised;
    } else {
      EXPECT_EQ(is, was);
    }
  }
  EXPECT_EQ(printed, std::to_string(raised) + " units of side 0 gained experience\n");

  doc = after("hide_side.lua");
  for (std::size_t i = 0; i < doc["units"].size(); ++i)
    EXPECT_EQ(doc["units"][i]["position"]["hidden"],
              before["units"][i]["side"] == 1 ? json(1) : before["units"][i]["position"]["hidden"]);

  doc = after("shift_formation.lua");
  int moved = 0;
  for (std::size_t i = 0; i < doc["units"].size(); ++i) {
    const json& was = before["units"][i];
    const bool in = was["side"] == 0 && was["formation"] == 1;
    moved += in;
    EXPECT_EQ(doc["units"][i]["position"]["x"], was["position"]["x"].get<int>() + (in ? 5 : 0));
    EXPECT_EQ(doc["units"][i]["position"]["y"], was["position"]["y"].get<int>() + (in ? -3 : 0));
  }
  EXPECT_GT(moved, 0);

  doc = after("renumber_names.lua");
  std::map<std::string, int> seen;
  const std::regex numbered("^(.*?) ([0-9]+)$");
  for (std::size_t i = 0; i < doc["units"].size(); ++i) {
    const std::string name = doc["units"][i]["name"];
    std::smatch parts;
    if (!std::regex_match(name, parts, numbered)) continue;
    const std::string key = doc["units"][i]["side"].dump() + parts[1].str();
    EXPECT_EQ(std::stoi(parts[2].str()), ++seen[key]) << name;
    EXPECT_LE(name.size(), 15u);
  }
  EXPECT_FALSE(seen.empty());

  // The checks against the same rules in C++, on the sample and on a game
  // with two units put on one cell and one unit and one hex off the map.
  GameModel crowded = m;
  ASSERT_TRUE(importGameJson(crowded, R"({"units":[{"index":5,"position":{"x":30,"y":30}},
                                        {"index":9,"position":{"x":30,"y":30}},
                                        {"index":12,"position":{"x":100,"y":3}}],
                            "game":{"victoryHexes":[null,{"x":7,"y":80}]}})", "edit.json").ok());
  for (const GameModel* game : {&m, static_cast<const GameModel*>(&crowded)}) {
    const json d = json::parse(exportGameJson(*game));
    std::vector<std::string> stacking, bounds;
    std::map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < d["units"].size(); ++i) {
      const json& p = d["units"][i]["position"];
      const int x = p["x"], y = p["y"];
      const std::string cell = std::to_string(x) + "," + std::to_string(y);
      const auto [it, fresh] = first.emplace(cell, i);
      if (!fresh)
        stacking.push_back("units[" + std::to_string(i) + "]: stands on cell " + cell + " with units[" +
                           std::to_string(it->second) + "] " + d["units"][it->second]["name"].get<std::string>());
      if (x < 0 || x > 99 || y < 0 || y > 79)
        bounds.push_back("units[" + std::to_string(i) + "]: stands outside the map at " + cell);
    }
    for (std::size_t k = 0; k < d["game"]["victoryHexes"].size(); ++k) {
      const json& h = d["game"]["victoryHexes"][k];
      const int x = h["x"], y = h["y"], amount = h["amount"];
      if ((x || y || amount) && (x > 99 || y > 79))
        bounds.push_back("game: victory hex " + std::to_string(k + 1) + " lies outside the map at " +
                         std::to_string(x) + "," + std::to_string(y));
    }
    for (const auto& [name, want] : {std::pair{"check_stacking.lua", stacking}, std::pair{"check_map_bounds.lua", bounds}}) {
      const ScriptOutcome out = run(*game, source(name));
      ASSERT_TRUE(out.ok()) << name << ": " << out.error;
      EXPECT_TRUE(out.edits.empty()) << name;
      std::vector<std::string> lines;
      for (const ScriptFinding& f : out.findings) lines.push_back(findingLine(f));
      EXPECT_EQ(lines, want) << name;
    }
  }
  EXPECT_EQ(run(crowded, source("check_map_bounds.lua")).findings.size(), 2u);
}

}  // namespace

// A Lua script that reads and writes every named field of all 800 units of
// a VN3 game (every number changed, every text written back), beside the
// JSON import of the same changes and the store of the script's edits.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "gamefiles/game_json.h"
#include "model/script_runner.h"

namespace {

using namespace tarnel;

const GameModel& full() {
  static const GameModel m = [] {
    GameModel g = samplegen::makeGameModel(bench::fullGame());
    g.loaded = GameFileKind::Vn3;
    return g;
  }();
  return m;
}

// The catalogue's keys by group, as Lua tables; numbers flip their lowest
// bit (in range for every kind), texts are stored as read.
std::string everyFieldScript() {
  std::array<std::string, 5> keys;  // unit, weapon slot, armour, leader, position
  for (const NamedField& f : unitFields()) {
    const int g = f.group == FieldGroup::None       ? 0
                  : f.group == FieldGroup::Weapons  ? 1
                  : f.group == FieldGroup::Armour   ? 2
                  : f.group == FieldGroup::Leader   ? 3
                                                    : 4;
    const std::string entry = "'" + std::string(f.key) + "',";
    if (keys[static_cast<std::size_t>(g)].find(entry) == std::string::npos) keys[static_cast<std::size_t>(g)] += entry;
  }
  return "local top, slot, armour, leader, position = {" + keys[0] + "}, {" + keys[1] + "}, {" + keys[2] + "}, {" +
         keys[3] + "}, {" + keys[4] + "}\n" + R"(
local function change(object, list)
  for i = 1, #list do
    local k = list[i]
    local v = object[k]
    if math.type(v) then object[k] = v ~ 1 else object[k] = v end
  end
end
local n = 0
for _, u in ipairs(game.units) do
  change(u, top)
  local w = u.weapons
  for s = 1, 4 do change(w[s], slot) end
  change(u.armour, armour)
  change(u.leader, leader)
  change(u.position, position)
  n = n + 1
end
assert(n == 800)
)";
}

void BM_ScriptEveryField800(benchmark::State& state) {
  const std::string script = everyFieldScript();
  DiceSource dice;
  std::size_t edits = 0;
  for (auto _ : state) {
    const ScriptOutcome out = runScript(full(), dice, script, "every.lua");
    if (!out.ok()) state.SkipWithError(out.error.c_str());
    edits = out.edits.size();
  }
  state.counters["edits"] = static_cast<double>(edits);
}
BENCHMARK(BM_ScriptEveryField800)->Unit(benchmark::kMillisecond);

// The same changes as a JSON document (the export of the changed game),
// imported onto the game.
void BM_JsonImportEveryField800(benchmark::State& state) {
  DiceSource dice;
  const ScriptOutcome out = runScript(full(), dice, everyFieldScript(), "every.lua");
  GameModel changed = full();
  applyScriptEdits(changed, out);
  const std::string text = exportGameJson(changed);
  int fields = 0;
  for (auto _ : state) {
    state.PauseTiming();
    GameModel m = full();
    state.ResumeTiming();
    const ImportOutcome r = importGameJson(m, text, "every.json");
    if (!r.ok()) state.SkipWithError(r.error.c_str());
    fields = r.changedFields;
  }
  state.counters["edits"] = fields;
}
BENCHMARK(BM_JsonImportEveryField800)->Unit(benchmark::kMillisecond);

// Storing a finished script's edits into the game, what Run Script adds.
void BM_ScriptApplyEveryField800(benchmark::State& state) {
  DiceSource dice;
  const ScriptOutcome out = runScript(full(), dice, everyFieldScript(), "every.lua");
  for (auto _ : state) {
    state.PauseTiming();
    GameModel m = full();
    state.ResumeTiming();
    applyScriptEdits(m, out);
    benchmark::DoNotOptimize(m.image().data());
  }
}
BENCHMARK(BM_ScriptApplyEveryField800)->Unit(benchmark::kMillisecond);

}  // namespace

// Export, import and diff of named fields on an 800-unit VN3 game: the
// export to JSON text, the import of that text back onto the game (every
// value equal: parse and check, nothing written) and of a document changing
// every unit's experience, and the comparison of two games that differ in
// every unit.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "gamefiles/game_json.h"

namespace {

using namespace tarnel;

GameModel fullGame() {
  GameModel m = samplegen::makeGameModel(bench::fullGame());
  m.loaded = GameFileKind::Vn3;
  return m;
}

const GameModel& full() {
  static const GameModel m = fullGame();
  return m;
}

void BM_JsonExport800(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = exportGameJson(full());
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["json_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_JsonExport800)->Unit(benchmark::kMillisecond);

void BM_JsonImportWhole800(benchmark::State& state) {
  const std::string text = exportGameJson(full());
  GameModel m = full();
  for (auto _ : state) {
    const ImportOutcome r = importGameJson(m, text, "bench.json");
    if (!r.ok() || r.changedFields != 0) state.SkipWithError("import changed or refused the export");
  }
}
BENCHMARK(BM_JsonImportWhole800)->Unit(benchmark::kMillisecond);

void BM_JsonImportExperience800(benchmark::State& state) {
  std::string text = "{\"units\": [";
  for (int i = 0; i < 800; ++i)
    text += (i ? ", " : "") + std::string("{\"index\": ") + std::to_string(i) + ", \"exp\": " +
            std::to_string((full().unitByte(i, kVn3Layout.experience) + 10) % 256) + "}";
  text += "]}";
  for (auto _ : state) {
    state.PauseTiming();
    GameModel m = full();
    state.ResumeTiming();
    const ImportOutcome r = importGameJson(m, text, "bench.json");
    if (r.changedFields != 800) state.SkipWithError("not every unit changed");
  }
}
BENCHMARK(BM_JsonImportExperience800)->Unit(benchmark::kMillisecond);

void BM_Diff800(benchmark::State& state) {
  GameModel other = full();
  for (int i = 0; i < 800; ++i) other.setUnitByte(i, kVn3Layout.experience, other.unitByte(i, kVn3Layout.experience) + 1);
  std::size_t lines = 0;
  for (auto _ : state) {
    const auto d = diffGames(full(), other);
    lines = d.size();
    benchmark::DoNotOptimize(d.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_Diff800)->Unit(benchmark::kMillisecond);

void BM_DiffEqual800(benchmark::State& state) {
  const GameModel other = full();
  for (auto _ : state) benchmark::DoNotOptimize(diffGames(full(), other).size());
}
BENCHMARK(BM_DiffEqual800)->Unit(benchmark::kMillisecond);

}  // namespace

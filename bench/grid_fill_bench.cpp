// Load of an 800-unit VN3 game and the fill of the unit grid: in the core
// alone, with the grid's Qt model attached, and through the real main window
// (offscreen) up to the grid's repaint.
#include <stdexcept>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "bench_support.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "model/session.h"
#include "common/file_io.h"
#include "mainwindow/main_commands.h"

namespace {

namespace fs = std::filesystem;
using namespace tarnel;
using namespace tarnel::bench;
using common::writeFileSafely;

// The game file and the sides' KOB files in a folder of their own.
struct Fixture {
  fs::path dir;
  std::string game;
  bool ok = true;  // every file written

  Fixture() {
    dir = fs::temp_directory_path() / ("tarnel_grid_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    game = (dir / "full.dat").string();
    ok = writeFileSafely(game, samplegen::makeGameFile(fullGame())) &&
         writeFileSafely((dir / "KOB03").string(), samplegen::makeMobFile(3)) &&
         writeFileSafely((dir / "KOB07").string(), samplegen::makeMobFile(7));
  }
  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

const Fixture& fixture() {
  static const Fixture f;
  if (!f.ok) throw std::runtime_error("cannot write the benchmark's files");
  return f;
}

void checkLoaded(benchmark::State& state, const Session& s, const QuietPrompts& p) {
  if (s.grid.rowCount() != 801 || p.messages != 0) state.SkipWithError("the game did not load cleanly");
}

void BM_LoadAndFillVn3_800(benchmark::State& state) {
  QuietPrompts prompts(fixture().game);
  Session session(prompts);
  session.setProgramDir(fixture().dir.string());
  for (auto _ : state) {
    loadGame(session, GameFileKind::Vn3);
    benchmark::DoNotOptimize(session.grid.cell(GridColumn::kArm, 800).data());
  }
  checkLoaded(state, session, prompts);
}
BENCHMARK(BM_LoadAndFillVn3_800)->Unit(benchmark::kMillisecond);

void BM_LoadAndFillVn3_800_QtModel(benchmark::State& state) {
  QuietPrompts prompts(fixture().game);
  Session session(prompts);
  session.setProgramDir(fixture().dir.string());
  TextTableModel model(session.grid);
  for (auto _ : state) {
    loadGame(session, GameFileKind::Vn3);
    benchmark::DoNotOptimize(model.rowCount());
  }
  checkLoaded(state, session, prompts);
}
BENCHMARK(BM_LoadAndFillVn3_800_QtModel)->Unit(benchmark::kMillisecond);

// The menu command on the shown main window, including the grid's repaint.
void BM_LoadVn3MenuCommand_800_Window(benchmark::State& state) {
  application();
  QuietPrompts prompts(fixture().game);
  auto formApp = createMainWindow(prompts, fixture().dir.string(), {});
  TForm1& form = *formApp->Form1;
  form.show();
  form.OpenImageClick();
  QApplication::processEvents();
  for (auto _ : state) {
    form.LoadVN3Save1->trigger();
    form.InfoStringGrid->viewport()->repaint();
  }
  checkLoaded(state, form.session(), prompts);
}
BENCHMARK(BM_LoadVn3MenuCommand_800_Window)->Unit(benchmark::kMillisecond);

}  // namespace

// Undo history on an 800-unit VN3 game (400 units a side): taking a step
// around a one-cell edit and around Roll All, the memory 100 Roll All steps
// hold, and undo plus redo of Roll All through the offscreen main window with
// the grid's repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "bench_support.h"
#include "common/file_io.h"
#include "gamefiles/section_stream.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/qt_history.h"
#include "ui/qt_text_table.h"
#include "mainwindow/rating_rolls.h"
#include "model/undo.h"

namespace {

using namespace tarnel;
using namespace tarnel::bench;

// The session of a freshly loaded 800-unit game.
void loadFullGame(Session& s) {
  static_cast<GameDocument&>(s.model) = samplegen::makeGameModel(fullGame());
  s.model.loaded = GameFileKind::Vn3;
  s.model.selectLayout(GameFileKind::Vn3);
  resetGrid(s);
  afterLoad(s);
}

// Keeps the last step only, so the benchmark measures the transaction.
class LastStep : public UndoRecorder {
 public:
  UndoStep last;
  void record(UndoStep step) override { last = std::move(step); }
  void amend(UndoStep) override {}
  void clear() override {}
  void markClean() override {}
  bool isClean() const override { return false; }
};

// A freshly loaded 800-unit game whose steps go to a LastStep.
struct RecordedGame {
  QuietPrompts prompts;
  Session s{prompts};
  LastStep recorder;
  RecordedGame() {
    loadFullGame(s);
    s.recorder = &recorder;
  }
};

void rollAll(Session& s, int side) {
  for (RollRow r : kRollRows) rollRating(s, r, initialRollFields(r), side);
}

void BM_StepAroundCellEdit_800(benchmark::State& state) {
  RecordedGame game;
  Session& s = game.s;
  int k = 0;
  for (auto _ : state) {
    const std::string text = std::to_string(40 + k++ % 50);
    runCommand(s, "Edit Cell", [&] { s.grid.setCell(GridColumn::kExp, 400, text); });
  }
  if (!game.recorder.last.singleCell()) state.SkipWithError("no one-cell step");
}
BENCHMARK(BM_StepAroundCellEdit_800)->Unit(benchmark::kMicrosecond);

void BM_StepAroundRollAll_800(benchmark::State& state) {
  RecordedGame game;
  Session& s = game.s;
  int side = 0;
  for (auto _ : state) runCommand(s, kRollAllCaption, [&] { rollAll(s, side ^= 1); });
  if (game.recorder.last.empty()) state.SkipWithError("no step");
}
BENCHMARK(BM_StepAroundRollAll_800)->Unit(benchmark::kMicrosecond);

// 100 Roll All steps on the history the window uses; the bytes it holds are
// the counter history_MiB.
void BM_HistoryOf100RollAll_800(benchmark::State& state) {
  QuietPrompts prompts;
  Session s(prompts);
  loadFullGame(s);
  std::size_t memory = 0;
  for (auto _ : state) {
    GameHistory history(s);
    for (int k = 0; k < 100; ++k) runCommand(s, kRollAllCaption, [&] { rollAll(s, k % 2); });
    memory = history.memory();
  }
  state.counters["history_MiB"] = static_cast<double>(memory) / (1 << 20);
}
BENCHMARK(BM_HistoryOf100RollAll_800)->Unit(benchmark::kMillisecond)->Iterations(3);

// Undo, then redo, of one Roll All through the Edit menu's actions, each
// with the grid's refill, the selection of the unit touched and a repaint;
// one iteration is one of the two.
void BM_UndoRedoRollAll_800_Window(benchmark::State& state) {
  application();
  const std::string dir = (std::filesystem::temp_directory_path() / ("tarnel_undo_bench_" + std::to_string(::getpid()))).string();
  std::filesystem::create_directories(dir);
  QuietPrompts prompts;
  prompts.file = dir + "/full.dat";
  if (!common::writeFileSafely(prompts.file, samplegen::makeGameFile(fullGame())))
    throw std::runtime_error("cannot write the benchmark's game");
  {
    auto formApp = createMainWindow(prompts, dir, {});
    TForm1& form = *formApp->Form1;
    form.show();
    form.OpenImageClick();
    form.LoadVN3Save1->trigger();
    form.RollAllBtn->click();
    QApplication::processEvents();
    bool undo = true;
    for (auto _ : state) {
      (undo ? form.Undo1 : form.Redo1)->trigger();
      form.InfoStringGrid->viewport()->repaint();
      undo = !undo;
    }
    if (form.history()->stack()->count() != 1) state.SkipWithError("Roll All made no step");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_UndoRedoRollAll_800_Window)->Unit(benchmark::kMillisecond);

}  // namespace

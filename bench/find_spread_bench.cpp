// The find step over 800 units and the rating spread of a roll row: in the
// core alone, and through the offscreen main window and "Rating Spread"
// window as a user drives them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>

#include "bench_support.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/qt_roll_panel.h"
#include "mainwindow/qt_find_bar.h"
#include "ui/qt_text_table.h"
#include "mainwindow/rating_spread.h"
#include "mainwindow/spread_form.h"
#include "mainwindow/unit_find.h"
#include "mainwindow/unit_grid.h"
#include "model/session.h"

namespace {

using namespace tarnel;
using namespace tarnel::bench;

// An 800-unit game in the model and the grid, unit 799's name changed so a
// search for it passes every other row.
void fill800(Session& session) {
  session.model = samplegen::makeGameModel(fullGame());
  resetGrid(session);
  fillGrid(session);
  session.grid.setCell(GridColumn::kName, 800, "Zulu Guard");
}

// From the first row to the only match at the last: every row is looked at.
void BM_FindStep_800(benchmark::State& state) {
  QuietPrompts prompts;
  Session session(prompts);
  fill800(session);
  for (auto _ : state) benchmark::DoNotOptimize(findUnitRow(session.grid, "zulu guard", 1, FindDirection::Next));
}
BENCHMARK(BM_FindStep_800);

// "Next" on the main window: the search, the row selected as a click
// selects it, the grid scrolled there.
void BM_FindNextWindow_800(benchmark::State& state) {
  application();
  QuietPrompts prompts;
  auto formApp = createMainWindow(prompts, ".", {});
  TForm1& form = *formApp->Form1;
  form.resize(700, 740);
  form.show();
  fill800(form.session());
  form.Find1Click();
  form.FindBar->FindEdit->setText(QStringLiteral("zulu guard"));
  int toggle = 0;
  for (auto _ : state) {
    // From the first row to the match, every other step from the match to
    // itself around the whole grid.
    state.PauseTiming();
    if (toggle++ % 2) form.InfoStringGrid->setCurrentIndex(form.InfoStringGrid->model()->index(0, 2));
    QApplication::processEvents();
    state.ResumeTiming();
    form.FindNextBtnClick();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_FindNextWindow_800)->Unit(benchmark::kMicrosecond);

void BM_RatingSpread(benchmark::State& state) {
  const auto d = static_cast<int>(state.range(0)), s = static_cast<int>(state.range(1));
  const RollFormula f{60, d, s, d, s, 0, 100};
  for (auto _ : state) benchmark::DoNotOptimize(ratingSpread(f));
}
BENCHMARK(BM_RatingSpread)
    ->Args({4, 6})
    ->Args({100, 20})
    ->Args({1000, 100})
    ->Args({10000, 6})
    ->Args({10000, 100})
    ->Unit(benchmark::kMicrosecond);

// A field of a roll row typed while "Rating Spread" is shown: the row's
// spread computed and its chart repainted.
void BM_SpreadWindowRefresh(benchmark::State& state) {
  application();
  QuietPrompts prompts;
  auto formApp = createMainWindow(prompts, ".", {});
  TForm1& form = *formApp->Form1;
  for (RollRow row : kRollRows) {
    form.Rolls->rollEdits(row)[1]->setText(QStringLiteral("10000"));
    form.Rolls->rollEdits(row)[2]->setText(QStringLiteral("100"));
    form.Rolls->rollEdits(row)[3]->setText(QStringLiteral("10000"));
    form.Rolls->rollEdits(row)[4]->setText(QStringLiteral("100"));
  }
  form.SpreadBtnClick();
  TSpreadForm* spread = form.spreadForm();
  QApplication::processEvents();
  int base = 0;
  for (auto _ : state) {
    form.Rolls->ExpMEdit->setText(QString::number(base++ % 100));
    spread->SpreadCharts[0]->repaint();
  }
}
BENCHMARK(BM_SpreadWindowRefresh)->Unit(benchmark::kMillisecond);

}  // namespace

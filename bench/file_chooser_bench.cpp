// The "Open File" chooser on a folder of 5,000 game files, each with its
// comment file: the list with its preview in the core alone, and through the
// offscreen window up to the list's repaint.
#include <stdexcept>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "bench_support.h"
#include "gamefiles/section_stream.h"
#include "mainwindow/file_chooser.h"
#include "mainwindow/file_form.h"

namespace {

namespace fs = std::filesystem;
using namespace tarnel;

constexpr int kGameFiles = 5000;

// 5,000 SAVEnnnn.DAT files of the three generations, each 4 KiB, and a
// 200-byte comment file beside each one.
struct Folder {
  fs::path dir;
  bool ok = true;  // every file written

  Folder() {
    dir = fs::temp_directory_path() / ("tarnel_chooser_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (int k = 0; k < kGameFiles; ++k) {
      char name[16];
      std::snprintf(name, sizeof name, "SAVE%04d", k);
      std::vector<std::uint8_t> game(4096, 0);
      const std::string_view magic = k % 3 == 0 ? kMagicV11 : kMagicVn3;
      std::copy(magic.begin(), magic.end(), game.begin());
      ok = common::writeFileSafely((dir / (std::string(name) + ".DAT")).string(), game) && ok;
      std::string comment = "Scenario " + std::to_string(k) + ": a crossing at dawn, held until relieved.";
      comment.resize(200, '\0');
      ok = common::writeFileSafely((dir / (std::string(name) + ".cmt")).string(), comment) && ok;
    }
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

const Folder& folder() {
  static const Folder f;
  if (!f.ok) throw std::runtime_error("cannot write the benchmark's files");
  return f;
}

void checkListed(benchmark::State& state, const FileChooser& chooser) {
  if (chooser.items().size() != kGameFiles || chooser.items().back().text.find("*-> Scenario") == std::string::npos)
    state.SkipWithError("the folder was not listed with its preview");
}

void BM_ChooserList_5000(benchmark::State& state) {
  FileChooser chooser(folder().dir.string());
  chooser.mask = "*.dat";
  chooser.generation = GameFileKind::Vn3;
  for (auto _ : state) chooser.FormActivate();
  checkListed(state, chooser);
}
BENCHMARK(BM_ChooserList_5000)->Unit(benchmark::kMillisecond);

void BM_ChooserWindowList_5000(benchmark::State& state) {
  bench::application();
  TFileForm form(folder().dir.string());
  form.chooser().mask = "*.dat";
  form.chooser().generation = GameFileKind::Vn3;
  form.show();
  QApplication::processEvents();
  for (auto _ : state) {
    form.FormActivate();
    form.FileList->viewport()->repaint();
  }
  checkListed(state, form.chooser());
  form.hide();
}
BENCHMARK(BM_ChooserWindowList_5000)->Unit(benchmark::kMillisecond);

}  // namespace

// Throughput of the section codec beside memcpy of the same bytes and beside
// libtiff's PackBits codec, on a realistic game image, random bytes and long
// runs; and load + save of a full-size game file.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "bench_support.h"
#include "gamefiles/dump_files.h"
#include "gamefiles/section_stream.h"
#include "model/session.h"
#include "common/file_io.h"
#include "mainwindow/main_commands.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace tarnel;
using common::writeFileSafely;

// A full-size VN3 image: 800 units and filler sections up to about 1.9 MB.
GameModel fullModel() {
  GameModel m = samplegen::makeGameModel(bench::fullGame());
  std::mt19937 rng(11);
  std::int32_t r = m.sectionOffset[40] + m.sectionLength[40];
  for (int j = 41; j <= 99 && r < 1900000; ++j) {
    const int length = 28000;
    m.sectionOffset[j] = r;
    m.sectionLength[j] = length;
    m.sectionId[j] = 5000 + j;
    for (int k = 0; k < length; ++k) {
      int v = (j % 3 == 0) ? static_cast<int>(rng() & 0xFF) : ((k / 64) % 5 == 0 ? static_cast<int>(rng() & 0xFF) : (k / 300) % 4);
      m.setByteAt(r + k, v);
    }
    r += length;
  }
  return m;
}

const GameModel& full() {
  static const GameModel m = fullModel();
  return m;
}

Bytes input(int kind) {
  if (kind == 0) return allSectionsBytes(full());  // realistic decoded image
  Bytes d(1 << 20);
  std::mt19937 rng(5);
  if (kind == 1) {
    for (auto& b : d) b = static_cast<std::uint8_t>(rng());
  } else {
    for (std::size_t k = 0; k < d.size(); ++k) d[k] = static_cast<std::uint8_t>(k / 500);
  }
  return d;
}

const char* kInputNames[] = {"image", "random", "runs"};

// --- libtiff PackBits through an in-memory TIFF of one strip, one row -----
struct MemTiff {
  Bytes data;
  toff_t pos = 0;
};
tmsize_t memRead(thandle_t h, void* buf, tmsize_t n) {
  auto* m = static_cast<MemTiff*>(h);
  const auto avail = static_cast<tmsize_t>(m->data.size()) - static_cast<tmsize_t>(m->pos);
  if (n > avail) n = avail > 0 ? avail : 0;
  std::memcpy(buf, m->data.data() + m->pos, static_cast<std::size_t>(n));
  m->pos += static_cast<toff_t>(n);
  return n;
}
tmsize_t memWrite(thandle_t h, void* buf, tmsize_t n) {
  auto* m = static_cast<MemTiff*>(h);
  if (m->pos + static_cast<toff_t>(n) > m->data.size()) m->data.resize(m->pos + static_cast<toff_t>(n));
  std::memcpy(m->data.data() + m->pos, buf, static_cast<std::size_t>(n));
  m->pos += static_cast<toff_t>(n);
  return n;
}
toff_t memSeek(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<MemTiff*>(h);
  if (whence == SEEK_SET) m->pos = off;
  else if (whence == SEEK_CUR) m->pos += off;
  else m->pos = m->data.size() + off;
  return m->pos;
}
int memClose(thandle_t) { return 0; }
toff_t memSize(thandle_t h) { return static_cast<MemTiff*>(h)->data.size(); }
int memMap(thandle_t, void**, toff_t*) { return 0; }
void memUnmap(thandle_t, void*, toff_t) {}

TIFF* openMem(MemTiff& m, const char* mode) {
  return TIFFClientOpen("mem", mode, &m, memRead, memWrite, memSeek, memClose, memSize, memMap, memUnmap);
}

void tiffEncode(const Bytes& d, MemTiff& m) {
  m.data.clear();
  m.pos = 0;
  TIFF* t = openMem(m, "w");
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(d.size()));
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, 1u);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 1u);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
  TIFFWriteEncodedStrip(t, 0, const_cast<std::uint8_t*>(d.data()), static_cast<tmsize_t>(d.size()));
  TIFFClose(t);
}

void setRate(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

// --- the benchmarks ---------------------------------------------------------
void BM_Memcpy(benchmark::State& state) {
  const Bytes d = input(static_cast<int>(state.range(0)));
  Bytes out(d.size());
  for (auto _ : state) {
    std::memcpy(out.data(), d.data(), d.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  setRate(state, d.size());
  state.SetLabel(kInputNames[state.range(0)]);
}

void BM_Encode(benchmark::State& state) {
  const Bytes d = input(static_cast<int>(state.range(0)));
  Bytes out(packedBound(d.size()));
  std::size_t size = 0;
  for (auto _ : state) {
    size = packSection(d, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  setRate(state, d.size());
  state.counters["ratio"] = static_cast<double>(size) / static_cast<double>(d.size());
  state.SetLabel(kInputNames[state.range(0)]);
}

void BM_Decode(benchmark::State& state) {
  const Bytes d = input(static_cast<int>(state.range(0)));
  Bytes packed(packedBound(d.size()));
  packed.resize(packSection(d, packed.data()));
  Bytes out(d.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(unpackSection(packed, out.data(), out.size()));
    benchmark::ClobberMemory();
  }
  if (out != d) state.SkipWithError("decode mismatch");
  setRate(state, d.size());
  state.SetLabel(kInputNames[state.range(0)]);
}

void BM_TiffEncode(benchmark::State& state) {
  TIFFSetWarningHandler(nullptr);
  const Bytes d = input(static_cast<int>(state.range(0)));
  MemTiff m;
  m.data.reserve(packedBound(d.size()) + 4096);
  for (auto _ : state) {
    tiffEncode(d, m);
    benchmark::DoNotOptimize(m.data.data());
  }
  setRate(state, d.size());
  state.SetLabel(kInputNames[state.range(0)]);
}

void BM_TiffDecode(benchmark::State& state) {
  TIFFSetWarningHandler(nullptr);
  const Bytes d = input(static_cast<int>(state.range(0)));
  MemTiff m;
  tiffEncode(d, m);
  m.pos = 0;
  TIFF* t = openMem(m, "r");
  Bytes out(d.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(TIFFReadEncodedStrip(t, 0, out.data(), static_cast<tmsize_t>(out.size())));
    benchmark::ClobberMemory();
  }
  TIFFClose(t);
  if (out != d) state.SkipWithError("decode mismatch");
  setRate(state, d.size());
  state.SetLabel(kInputNames[state.range(0)]);
}

// Decoding a whole full-size file into a model and writing it back, in memory.
void BM_StreamReadWrite(benchmark::State& state) {
  const Bytes file = writeSectionStream(full(), kMagicVn3);
  GameModel m;
  for (auto _ : state) {
    benchmark::DoNotOptimize(readSectionStream(file, m));
    Bytes out = writeSectionStream(m, kMagicVn3);
    benchmark::DoNotOptimize(out.data());
  }
  setRate(state, static_cast<std::size_t>(sectionCount(full())) > 0 ? allSectionsBytes(full()).size() : 0);
}

// The load and save commands on a full-size file on disk.
class NoPrompts : public Prompts {
 public:
  std::string path;
  void message(const std::string&, const std::string&, MessageIcon) override {}
  void errorReport(const std::string&) override {}
  bool openDialog(FileDialogState&) override { return false; }
  bool saveDialog(FileDialogState& d) override {
    d.fileName = path + ".out";
    return true;
  }
  bool chooseGameFile(GameFileChoice& c) override {
    c.fileName = path;
    return true;
  }
};

void BM_LoadSaveFile(benchmark::State& state) {
  NoPrompts prompts;
  prompts.path = (std::filesystem::temp_directory_path() / "tarnel_bench_full.dat").string();
  if (!writeFileSafely(prompts.path, writeSectionStream(full(), kMagicVn3))) state.SkipWithError("cannot write");
  Session s(prompts);
  for (auto _ : state) {
    loadGame(s, GameFileKind::Vn3);
    saveGame(s, GameFileKind::Vn3);
  }
  std::filesystem::remove(prompts.path);
  std::filesystem::remove(prompts.path + ".out");
  setRate(state, allSectionsBytes(full()).size());
}

}  // namespace

BENCHMARK(BM_Memcpy)->DenseRange(0, 2);
BENCHMARK(BM_Encode)->DenseRange(0, 2);
BENCHMARK(BM_TiffEncode)->DenseRange(0, 2);
BENCHMARK(BM_Decode)->DenseRange(0, 2);
BENCHMARK(BM_TiffDecode)->DenseRange(0, 2);
BENCHMARK(BM_StreamReadWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSaveFile)->Unit(benchmark::kMillisecond);

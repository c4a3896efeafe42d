// Writes the synthetic sample files: game files of the three generations
// with comment files, the MOB and KOB files of their sides, a country data
// file of roll formulas, and Orvik's executable stand-in.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "game_sample.h"
#include "common/file_io.h"
#include "sidefiles/csv_units.h"
#if __has_include("exe_sample.h")
#include "exe_sample.h"
#define HAVE_EXE_SAMPLE 1
#endif

namespace {
bool put(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (common::writeFileSafely(path, bytes)) return true;
  std::fprintf(stderr, "samplegen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "samples";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  using samplegen::SampleOptions;
  using tarnel::GameFileKind;
  bool ok = true;

  SampleOptions vn3;
  vn3.kind = GameFileKind::Vn3;
  vn3.unitsPerSide = 48;
  ok &= put(dir + "/vn3_crossing.dat", samplegen::makeGameFile(vn3));

  SampleOptions v11;
  v11.kind = GameFileKind::V11;
  v11.unitsPerSide = 30;
  v11.nation0 = 12;  // "USA"
  v11.nation1 = 11;  // "Russia"
  v11.seed = 2;
  v11.description = "Ridge line";
  ok &= put(dir + "/v11_ridge.dat", samplegen::makeGameFile(v11));

  SampleOptions v10 = v11;
  v10.kind = GameFileKind::V10;
  v10.unitsPerSide = 25;
  v10.nation0 = 0;  // "West Germany"
  v10.nation1 = 36; // "East Germany"
  v10.seed = 3;
  v10.description = "Border patrol";
  ok &= put(dir + "/v10_border.dat", samplegen::makeGameFile(v10));

  // The units of the VN3 sample as "Save CSV Unit File" writes them.
  tarnel::GameModel units = samplegen::makeGameModel(vn3);
  units.loaded = GameFileKind::Vn3;
  units.unitCount = units.countUnits();
  ok &= common::writeFileSafely(dir + "/vn3_crossing.csv", tarnel::csvUnitText(units));

  // A partial JSON document for Import JSON File: every side-0 unit of the
  // VN3 sample 10 more experience, as the README's script makes it.
  std::string veterans = "{\n  \"units\": [";
  const char* sep = "\n";
  for (int i = 0; i < units.unitCount; ++i) {
    if (units.unitByte(i, units.layout->side) != 0) continue;
    const int exp = std::min(255, units.unitByte(i, units.layout->experience) + 10);
    veterans += sep + std::string("    {\"index\": ") + std::to_string(i) + ", \"exp\": " + std::to_string(exp) + "}";
    sep = ",\n";
  }
  veterans += "\n  ]\n}\n";
  ok &= common::writeFileSafely(dir + "/vn3_crossing_veterans.json", veterans);

  const std::string comment = "Synthetic sample: a river crossing at dawn.";
  ok &= common::writeFileSafely(dir + "/vn3_crossing.cmt", comment);

  // Two games under the names the game itself gives its files, which the
  // Open File window's preview marks.
  SampleOptions save = vn3;
  save.unitsPerSide = 16;
  save.nation0 = 77;  // "Britain"
  save.nation1 = 70;  // "Germany"
  save.seed = 4;
  save.description = "Holding the bridge";
  ok &= put(dir + "/SAVE01.DAT", samplegen::makeGameFile(save));
  ok &= common::writeFileSafely(dir + "/SAVE01.cmt", std::string("Campaign save, turn 6: the bridge still holds."));

  SampleOptions scen = v11;
  scen.unitsPerSide = 12;
  scen.seed = 5;
  scen.description = "Ridge line, second attempt";
  ok &= put(dir + "/SCEN02.DAT", samplegen::makeGameFile(scen));
  ok &= common::writeFileSafely(dir + "/SCEN02.cmt", std::string("Ridge line, second attempt. Heavy rain."));

  ok &= common::writeFileSafely(dir + "/countries.txt", std::string(samplegen::kCountryData));

  for (int mob : {3, 7}) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d", mob);
    ok &= put(dir + "/MOB" + name, samplegen::makeMobFile(mob));
    ok &= put(dir + "/KOB" + name, samplegen::makeMobFile(mob + 50));
  }
#ifdef HAVE_EXE_SAMPLE
  samplegen::writeExeSample(dir);
#endif
  return ok ? 0 : 1;
}

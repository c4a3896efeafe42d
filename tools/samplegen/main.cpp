// Writes the synthetic sample files: game files of the three generations,
// the MOB and KOB files of their sides, and Orvik's executable stand-in.
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
// A country data file: a comment, the count line, then per data set a
// description and five rows (Exp, Mor, Ral, Sk1, Sk2) of Base, d, s, d1, s1,
// Min and Max.
std::string countryData() {
  std::string text = "; Synthetic country data for the rating rolls\r\n3\r\n";
  const char* descriptions[] = {"US_Army 1944 veterans", "Soviet_Union 1943 guards", "US_Army 1942 recruits"};
  for (int k = 0; k < 3; ++k) {
    text += std::string(descriptions[k]) + "\r\n";
    for (int row = 0; row < 5; ++row) {
      const int base = 30 + 10 * k + 5 * row;
      text += std::to_string(base) + " 2 6 1 6 " + std::to_string(base - 20) + " " + std::to_string(base + 40) + "\r\n";
    }
  }
  return text;
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
  ok &= put(dir + "/v11_ridge.dat", samplegen::makeGameFile(v11));

  SampleOptions v10 = v11;
  v10.kind = GameFileKind::V10;
  v10.unitsPerSide = 25;
  v10.nation0 = 0;  // "West Germany"
  v10.nation1 = 36; // "East Germany"
  v10.seed = 3;
  ok &= put(dir + "/v10_border.dat", samplegen::makeGameFile(v10));

  // The units of the VN3 sample as "Save CSV Unit File" writes them.
  tarnel::GameModel units = samplegen::makeGameModel(vn3);
  units.loaded = GameFileKind::Vn3;
  units.unitCount = units.countUnits();
  ok &= common::writeFileSafely(dir + "/vn3_crossing.csv", tarnel::csvUnitText(units));
  ok &= common::writeFileSafely(dir + "/countries.txt", countryData());

  const std::string comment = "Synthetic sample: a river crossing at dawn.";
  ok &= common::writeFileSafely(dir + "/vn3_crossing.cmt", comment);

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

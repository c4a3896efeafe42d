// Runs the tarnel-cli program on samples and on hostile input.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/test_dir.h"
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "game_sample.h"
#include "gamefiles/dump_files.h"
#include "gamefiles/game_encoders.h"
#include "gamefiles/section_stream.h"
#include "common/file_io.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

using CliRun = tarnel::testing::CliResult;

class Cli : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_cli"};
  fs::path dir = tmp.path();

  CliRun run(const std::string& args) { return tarnel::testing::runCli("tarnel-cli", args, dir); }
  std::string err() {
    auto b = common::readFileBytes((dir / "stderr.txt").string()).value_or(Bytes{});
    return std::string(b.begin(), b.end());
  }
  std::string put(const std::string& name, const Bytes& bytes) {
    const std::string p = (dir / name).string();
    EXPECT_TRUE(common::writeFileSafely(p, bytes));
    return p;
  }
  std::string sample(tarnel::GameFileKind kind) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 12;
    put("MOB03", samplegen::makeMobFile(3));
    put("MOB07", samplegen::makeMobFile(7));
    put("KOB03", samplegen::makeMobFile(3));
    put("KOB07", samplegen::makeMobFile(7));
    return put("game.dat", samplegen::makeGameFile(o));
  }
};

}  // namespace

TEST_F(Cli, InfoOfEachGeneration) {
  const std::string vn3 = sample(tarnel::GameFileKind::Vn3);
  CliRun r = run("info " + vn3);
  EXPECT_EQ(r.status, 0) << err();
  EXPECT_EQ(r.out, "generation: VN3\nsections: 41\nunits: 24\nside0: US Army\nside1: Soviet Union\n");
  EXPECT_EQ(err(), "");

  const std::string v10 = sample(tarnel::GameFileKind::V10);
  r = run("info " + v10);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("generation: 1.0\nsections: 0\nunits: 24\n"), std::string::npos) << r.out;
}

TEST_F(Cli, ResaveDumpAndStats) {
  const std::string v11 = sample(tarnel::GameFileKind::V11);
  const std::string out = (dir / "out.dat").string();
  ASSERT_EQ(run("resave " + v11 + " " + out).status, 0) << err();
  EXPECT_EQ(common::readFileBytes(out), common::readFileBytes(v11));

  ASSERT_EQ(run("dump " + v11 + " " + (dir / "all.all").string()).status, 0);
  tarnel::GameModel m;
  ASSERT_EQ(tarnel::readSectionStream(*common::readFileBytes(v11), m), tarnel::ReadStatus::Ok);
  EXPECT_EQ(common::readFileBytes((dir / "all.all").string()), tarnel::allSectionsBytes(m));

  ASSERT_EQ(run("stats " + v11 + " " + (dir / "s.txt").string()).status, 0);
  auto stats = common::readFileBytes((dir / "s.txt").string()).value();
  const std::string text(stats.begin(), stats.end());
  EXPECT_EQ(text.rfind(std::to_string(tarnel::allSectionsBytes(m).size()) + " bytes in " + v11 + "\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nSect  Size(d)  Address(h)\r\n  0       20        0\r\n"), std::string::npos);
}

TEST_F(Cli, HostileInputFailsCleanlyWithoutOutput) {
  const std::string out = (dir / "never.dat").string();
  const Bytes magic(tarnel::kMagicVn3.begin(), tarnel::kMagicVn3.end());
  Bytes truncated = samplegen::makeGameFile({});
  truncated.resize(truncated.size() / 3);
  Bytes garbage(5000);
  for (std::size_t k = 0; k < garbage.size(); ++k) garbage[k] = static_cast<std::uint8_t>(k * 131 + 7);
  Bytes hostileHeader = magic;
  hostileHeader.resize(20, 0);
  // One coded section of the largest length, whose runs decode past the image.
  hostileHeader.insert(hostileHeader.end(), {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1});
  for (int k = 0; k < 16000; ++k) hostileHeader.insert(hostileHeader.end(), {255, 1});

  struct Case {
    std::string file;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {put("empty.dat", {}), 1, "This isn't a VN2 scenario file"},
      {put("garbage.dat", garbage), 1, "This isn't a VN2 scenario file"},
      {(dir / "missing.dat").string(), 1, "Couldn't open save file"},
      {dir.string(), 1, "Couldn't open save file"},
      {put("runs.dat", hostileHeader), 1, "Too much data"},
  };
  for (const auto& c : cases) {
    CliRun r = run("resave " + c.file + " " + out);
    EXPECT_EQ(r.status, c.status) << c.file;
    EXPECT_NE(err().find(c.message), std::string::npos) << c.file << ": " << err();
    EXPECT_FALSE(fs::exists(out)) << c.file;
  }
  // A truncated file still loads what it holds and saves without a crash.
  CliRun r = run("info " + put("cut.dat", truncated));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(run("nonsense x").status, 2);
}

TEST_F(Cli, SummaryOfASideWithAndWithoutMobFiles) {
  samplegen::SampleOptions o;
  o.kind = tarnel::GameFileKind::V11;
  o.unitsPerSide = 2;
  tarnel::GameModel m = samplegen::makeGameModel(o);
  const tarnel::GenerationLayout& L = *m.layout;
  // Side 1: two units of type 5, one with men; names print in UTF-8.
  for (int i = 2; i < 4; ++i) {
    m.setUnitByte(i, L.unitType, 5);
    m.setUnitByte(i, L.men, i == 2 ? 3 : 0);
  }
  const std::string name = "Caf\xE9 Tank";
  for (std::size_t k = 0; k <= name.size(); ++k) m.setUnitByte(2, tarnel::UnitOffset{static_cast<int>(k)}, k < name.size() ? name[k] : 0);
  const std::string game = put("game.dat", tarnel::encodeGame(m, tarnel::GameFileKind::V11));
  put("MOB07", samplegen::makeMobFile(7));  // 12 men for type 5

  CliRun r = run("summary " + game + " 1");
  ASSERT_EQ(r.status, 0) << err();
  EXPECT_EQ(r.out,
            "Turns: 1/30\nDate: 6/84\nUS Army vs. Soviet Union\nUnit Name\tType #\tForm.\tUnits\tMen\n"
            "Caf\xC3\xA9 Tank\t5\t1/2\t1/2\t3/24\nMen  24\nMen Killed  21\nTotal Units  2\nUnits Killed  1\n");
  fs::remove(dir / "MOB07");
  EXPECT_NE(run("summary " + game + " 1").out.find("\t3/?\nMen  ?\nMen Killed  ?\nTotal Units  2\n"),
            std::string::npos);
  // Only the summary, which counts the MOB file's men, speaks of a missing one.
  EXPECT_NE(err().find("MOB07. Weapons names not available"), std::string::npos) << err();
  EXPECT_EQ(run("info " + game).status, 0);
  EXPECT_EQ(err(), "");

  for (const char* side : {"2", "x", "01"}) {
    r = run("summary " + game + " " + side);
    EXPECT_EQ(r.status, 1) << side;
    EXPECT_NE(err().find("tarnel-cli summary FILE SIDE"), std::string::npos) << err();
  }
}

TEST_F(Cli, CsvExportAndPaste) {
  const std::string vn3 = sample(tarnel::GameFileKind::Vn3);
  const std::string csv = (dir / "units.csv").string(), out = (dir / "out.dat").string();
  ASSERT_EQ(run("csv-export " + vn3 + " " + csv).status, 0) << err();
  // Pasted back unchanged, the game saves as it was.
  ASSERT_EQ(run("csv-paste " + vn3 + " " + csv + " " + out).status, 0) << err();
  EXPECT_EQ(common::readFileBytes(out), common::readFileBytes(vn3));
  fs::remove(out);
  CliRun r = run("csv-paste " + vn3 + " " + (dir / "missing.csv").string() + " " + out);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(err(), "Couldn't load csv file. Aborting.\n");
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(run("csv-paste " + vn3 + " " + csv).status, 2);

  // A line one cell short pastes as the menu does, with the warning alone.
  auto text = common::readFileBytes(csv).value();
  auto line3 = text.begin();  // the end of line 3, the second unit's
  for (int k = 0; k < 3; ++k) line3 = std::find(k ? line3 + 1 : line3, text.end(), '\n');
  text.erase(std::find(std::make_reverse_iterator(line3), text.rend(), ',').base() - 1,
             line3 - 1);  // the second unit's last cell and its comma
  ASSERT_EQ(run("csv-paste " + vn3 + " " + put("short.csv", text) + " " + out).status, 0) << err();
  EXPECT_EQ(err(), "Warning: Line 3 has 227 cells where a unit has 228: every unit after it would move.\n");
  EXPECT_NE(common::readFileBytes(out), common::readFileBytes(vn3));
}

// export, import and diff: the exit codes scripts rely on, nothing written
// on a refusal, and the warning of a file cut short for every command.
TEST_F(Cli, ExportImportAndDiff) {
  const std::string game = sample(tarnel::GameFileKind::V11);
  const std::string json = (dir / "game.json").string();
  const std::string out = (dir / "out.dat").string();
  ASSERT_EQ(run("export " + game + " " + json).status, 0) << err();
  ASSERT_EQ(run("import " + game + " " + json + " " + out).status, 0) << err();
  EXPECT_EQ(common::readFileBytes(out), common::readFileBytes(game));
  EXPECT_EQ(run("diff " + game + " " + out).status, 0);

  ASSERT_TRUE(common::writeFileSafely((dir / "edit.json").string(), std::string_view("{\"units\": [{\"index\": 3, \"exp\": 99}]}")));
  ASSERT_EQ(run("import " + game + " " + (dir / "edit.json").string() + " " + out).status, 0) << err();
  CliRun d = run("diff " + game + " " + out);
  EXPECT_EQ(d.status, 1);
  EXPECT_NE(d.out.find("units[3].exp: "), std::string::npos) << d.out;
  EXPECT_NE(d.out.find(" -> 99\n"), std::string::npos) << d.out;
  EXPECT_EQ(run("diff " + game + " " + (dir / "missing.dat").string()).status, 2);
  EXPECT_EQ(run("diff " + game).status, 2);

  const std::string refused = (dir / "refused.dat").string();
  ASSERT_TRUE(common::writeFileSafely((dir / "bad.json").string(), std::string_view("{\"units\": [{\"index\": 7, \"exp\": 300}]}")));
  CliRun bad = run("import " + game + " " + (dir / "bad.json").string() + " " + refused);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(err(), "bad.json: units[7].exp: 300 is out of range 0..255\n");
  EXPECT_FALSE(fs::exists(refused));
  // Another game's document: a warning, and applied.
  ASSERT_TRUE(common::writeFileSafely((dir / "other.json").string(),
                                      std::string_view(R"({"unitCount": 5, "units": [{"index": 3, "exp": 98}]})")));
  ASSERT_EQ(run("import " + game + " " + (dir / "other.json").string() + " " + out).status, 0);
  EXPECT_EQ(err(), "Warning: This document was exported from a game of 5 units; the open game is a VN2 version 1.1 game of 24 units.\n");
  EXPECT_NE(run("diff " + game + " " + out).out.find(" -> 98\n"), std::string::npos);

  // Cut inside its last section: every command loads it and warns once.
  auto bytes = common::readFileBytes(game).value();
  bytes.pop_back();
  const std::string cut = put("cut.dat", bytes);
  for (const std::string& args : {"info " + cut, "export " + cut + " " + json, "diff " + cut + " " + cut}) {
    const CliRun r = run(args);
    EXPECT_NE(r.status, 2) << args;
    const std::string e = err();
    const auto at = e.find("Warning: This file ends inside section ");
    EXPECT_NE(at, std::string::npos) << args << ": " << e;
    EXPECT_NE(e.find(": the rest of it is missing.\n"), std::string::npos) << e;
    if (args.starts_with("info")) {
      EXPECT_EQ(e.find("Warning: This file ends", at + 1), std::string::npos) << e;
    }
  }
}

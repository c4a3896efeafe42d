#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "game_sample.h"
#include "gamefiles/section_stream.h"
#include "model/session.h"
#include "common/file_io.h"
#include "common/int_convert.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"
#include "mainwindow/main_commands.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_files.h"

using namespace tarnel;
using common::readFileBytes;
using common::writeFileSafely;
using common::lowerCase;
using tarnel::testing::ScriptedPrompts;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

class GameFiles : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_gf"};
  fs::path dir = tmp.path();
  ScriptedPrompts prompts;
  Session session{prompts};

  void SetUp() override {
    session.setProgramDir(dir.string());
    session.clock = [] { return 42u; };
  }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string p = (dir / name).string();
    EXPECT_TRUE(writeFileSafely(p, bytes));
    return p;
  }
  Bytes read(const std::string& p) { return readFileBytes(p).value_or(Bytes{}); }

  Bytes sample(GameFileKind kind, std::uint32_t seed = 1) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.seed = seed;
    o.unitsPerSide = 20;
    return samplegen::makeGameFile(o);
  }

  void load(GameFileKind kind, const std::string& path) {
    prompts.chooserAnswers.push_back(path);
    if (kind == GameFileKind::V10) loadGame(session, GameFileKind::V10);
    else if (kind == GameFileKind::V11) loadGame(session, GameFileKind::V11);
    else loadGame(session, GameFileKind::Vn3);
  }
  void save(GameFileKind kind, const std::string& path) {
    prompts.saveAnswers.push_back(path);
    if (kind == GameFileKind::V10) saveGame(session, GameFileKind::V10);
    else if (kind == GameFileKind::V11) saveGame(session, GameFileKind::V11);
    else saveGame(session, GameFileKind::Vn3);
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& m : prompts.messages)
      if (m.title != "Warning") t.push_back(m.title + ": " + m.text);
    return t;
  }
};

constexpr GameFileKind kKinds[] = {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3};

}  // namespace

TEST_F(GameFiles, LoadThenSaveGivesTheSameBytesInEveryGeneration) {
  for (GameFileKind kind : kKinds) {
    const Bytes original = sample(kind);
    const std::string in = write("in.dat", original);
    load(kind, in);
    ASSERT_EQ(session.model.loaded, kind);
    save(kind, (dir / "out.dat").string());
    EXPECT_EQ(read((dir / "out.dat").string()), original) << static_cast<int>(kind);
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(prompts.busyDepth, 0);
  }
}

TEST_F(GameFiles, TypedRatingsReachTheirBytes) {
  const std::string in = write("in.dat", sample(GameFileKind::Vn3));
  load(GameFileKind::Vn3, in);
  session.grid.setCell(GridColumn::kExp, 3, "300");  // stored as its low byte
  session.grid.setCell(GridColumn::kArm, 3, "$10");
  save(GameFileKind::Vn3, (dir / "out.dat").string());
  load(GameFileKind::Vn3, (dir / "out.dat").string());
  EXPECT_EQ(session.model.unitByte(2, kVn3Layout.experience), 44);
  EXPECT_EQ(session.model.leaderByte(2, LeaderField::kArmour), 16);
  EXPECT_EQ(session.grid.cell(GridColumn::kExp, 3), "44");
}

TEST_F(GameFiles, BadGridCellStopsTheSaveBeforeAnyFileIsWritten) {
  const std::string in = write("in.dat", sample(GameFileKind::V11));
  load(GameFileKind::V11, in);
  session.grid.setCell(GridColumn::kRal, 1, "7");
  session.grid.setCell(GridColumn::kInf, 2, "1x");
  EXPECT_THROW(saveGame(session, GameFileKind::V11), ConversionError);
  EXPECT_TRUE(prompts.saveSeen.empty());
  // Leaders are read back first, row by row: row 1 landed, the bad cell stopped it.
  EXPECT_EQ(session.model.leaderByte(0, LeaderField::kRally), 7);
}

TEST_F(GameFiles, VersionOneSizeLimits) {
  for (std::size_t size : {705075u, 705076u, 705481u, 705482u}) {
    prompts.messages.clear();
    Bytes b = sample(GameFileKind::V10);
    b.resize(size, 0);
    const std::string p = write("v10.dat", b);
    const bool ok = size >= 705076 && size <= 705481;
    GameModel before = session.model;
    load(GameFileKind::V10, p);
    if (ok) {
      EXPECT_EQ(session.model.loaded, GameFileKind::V10) << size;
      EXPECT_EQ(session.model.v10Length, static_cast<int>(size));
      save(GameFileKind::V10, (dir / "o.dat").string());
      EXPECT_EQ(read((dir / "o.dat").string()), b);
    } else {
      EXPECT_EQ(titles(), std::vector<std::string>{"Error: This isn't a VN2 scenario file"}) << size;
      EXPECT_EQ(session.model.loaded, before.loaded);
    }
  }
}

TEST_F(GameFiles, WrongMagicIsRefusedAndTheModelStaysAsItWas) {
  const std::string v11 = write("v11.dat", sample(GameFileKind::V11));
  const std::string vn3 = write("vn3.dat", sample(GameFileKind::Vn3, 5));
  load(GameFileKind::Vn3, vn3);
  const Bytes image = session.model.image();
  const std::string label = session.fileLabel;

  load(GameFileKind::Vn3, v11);
  EXPECT_EQ(prompts.lastText(), "This is not a VN 3 version 1.0 saved game!");
  EXPECT_EQ(prompts.lastTitle(), "Fatal Error");
  load(GameFileKind::V11, vn3);
  EXPECT_EQ(prompts.lastText(), "This is not a VN version 1.1 saved game!");
  load(GameFileKind::V10, vn3);  // wrong size for version 1.0
  EXPECT_EQ(prompts.lastText(), "This isn't a VN2 scenario file");
  load(GameFileKind::V11, (dir / "missing.dat").string());
  EXPECT_EQ(prompts.lastText(), "Couldn't open save file");
  load(GameFileKind::V10, (dir / "missing.dat").string());
  EXPECT_EQ(prompts.lastText(), "Couldn't open V1.0 scenario file");

  EXPECT_EQ(session.model.loaded, GameFileKind::Vn3);
  EXPECT_EQ(session.model.layout, &kVn3Layout);
  EXPECT_EQ(session.model.image(), image);
  EXPECT_EQ(session.fileLabel, label);
  // Still saved as what it is.
  save(GameFileKind::Vn3, (dir / "again.dat").string());
  EXPECT_EQ(read((dir / "again.dat").string()), read(vn3));
}

TEST_F(GameFiles, MagicTestReadsTheFirstLineUpToItsNul) {
  Bytes b(kMagicV11.begin(), kMagicV11.end());
  EXPECT_TRUE(hasMagic(b, kMagicV11));  // a 16-byte file ends the line
  b.push_back(0);
  EXPECT_TRUE(hasMagic(b, kMagicV11));
  b[16] = '\n';
  EXPECT_FALSE(hasMagic(b, kMagicV11));
  b[16] = 'X';
  EXPECT_FALSE(hasMagic(b, kMagicV11));
  EXPECT_FALSE(hasMagic(Bytes{}, kMagicV11));
}

TEST_F(GameFiles, ChooserAndSaveDialogsAreSetUpAsTheCommandsSay) {
  const std::string in = write("in.dat", sample(GameFileKind::Vn3));
  load(GameFileKind::Vn3, in);
  ASSERT_EQ(prompts.chooserSeen.size(), 1u);
  EXPECT_EQ(prompts.chooserSeen[0].caption, "Open Version 1.1 file");
  EXPECT_EQ(prompts.chooserSeen[0].mask, "*.dat");
  EXPECT_EQ(session.fileLabel, "Edit(VN3): " + lowerCase(in));
  EXPECT_EQ(session.model.dataDir, dir.string());

  const std::string first = (dir / "First.dat").string();
  save(GameFileKind::Vn3, first);
  save(GameFileKind::Vn3, (dir / "second.dat").string());
  ASSERT_EQ(prompts.saveSeen.size(), 2u);
  EXPECT_EQ(prompts.saveSeen[0].title, "Save Version 1.1 Scenario");
  EXPECT_EQ(prompts.saveSeen[0].filter, "Scenarios (*.dat)|*.dat|All files (*.*)| *.*");
  EXPECT_EQ(prompts.saveSeen[0].defaultExt, "dat");
  EXPECT_TRUE(prompts.saveSeen[0].overwritePrompt);
  EXPECT_EQ(prompts.saveSeen[1].fileName, first);  // the path of the first save
  EXPECT_EQ(session.fileLabel, lowerCase((dir / "second.dat").string()));

  // Version 1.0 keeps offering the loaded path.
  const std::string v10 = write("v10.dat", sample(GameFileKind::V10));
  load(GameFileKind::V10, v10);
  save(GameFileKind::V10, (dir / "a.dat").string());
  save(GameFileKind::V10, (dir / "b.dat").string());
  EXPECT_EQ(prompts.saveSeen[3].title, "Save Version 1.0 Scenario");
  EXPECT_EQ(prompts.saveSeen[3].fileName, v10);
  EXPECT_EQ(prompts.chooserSeen.back().caption, "Open Version 1.0 file");
}

TEST_F(GameFiles, SaveOfAnotherGenerationIsRefused) {
  save(GameFileKind::Vn3, (dir / "x.dat").string());
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN3 Version 1.0 file. Aborting");
  save(GameFileKind::V11, (dir / "x.dat").string());
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN2 Version 1.1 file. Aborting");
  save(GameFileKind::V10, (dir / "x.dat").string());
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN2 Vesrion 1.0 or 1.01 File. Aborting");
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
}

#ifndef _WIN32
TEST_F(GameFiles, FailedSaveLeavesTheOldFileAsItWas) {
  const std::string in = write("in.dat", sample(GameFileKind::V11));
  load(GameFileKind::V11, in);
  const std::string target = write("target.dat", Bytes{1, 2, 3});
  // A file size limit makes the write fail half-way, whatever our rights.
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &old);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  save(GameFileKind::V11, target);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::sigaction(SIGXFSZ, &old, nullptr);

  EXPECT_EQ(prompts.lastText(), "Could not open New save file!");
  EXPECT_EQ(prompts.lastTitle(), "Aborting Save");
  EXPECT_EQ(read(target), (Bytes{1, 2, 3}));
  EXPECT_EQ(session.model.currentPath, in);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // no temporary left
}
#endif

TEST_F(GameFiles, PasswordProtectedFileEndsTheProgram) {
  samplegen::SampleOptions o;
  o.kind = GameFileKind::V11;
  o.password = true;
  load(GameFileKind::V11, write("pw.dat", samplegen::makeGameFile(o)));
  EXPECT_EQ(titles(), std::vector<std::string>{"Security Violation: Password protected file. Preparing to exit"});
  EXPECT_TRUE(session.passwordRefused);
}

TEST_F(GameFiles, TooMuchDataLoadsWhatFitsButNeverSaves) {
  Bytes f(kMagicVn3.begin(), kMagicVn3.end());
  f.resize(20, 0);
  // Section 1: one unit record, then runs that decode past the image's end.
  Bytes body(243, 0);
  body[0] = 'A';
  const auto addStored = [&](std::int32_t id, const Bytes& b) {
    for (std::int32_t v : {id, static_cast<std::int32_t>(b.size())})
      for (int k = 0; k < 4; ++k) f.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
    f.push_back(0);
    f.insert(f.end(), b.begin(), b.end());
  };
  addStored(1, body);
  Bytes runs;
  for (int k = 0; k < 16000; ++k) runs.insert(runs.end(), {255, 1});
  for (std::int32_t v : {2, static_cast<std::int32_t>(runs.size())})
    for (int k = 0; k < 4; ++k) f.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
  f.push_back(1);
  f.insert(f.end(), runs.begin(), runs.end());

  load(GameFileKind::Vn3, write("big.dat", f));
  EXPECT_EQ(titles(), std::vector<std::string>{"Error: Too much data"});
  EXPECT_EQ(session.model.unitCount, 1);
  EXPECT_EQ(session.model.loaded, GameFileKind::None);
  save(GameFileKind::Vn3, (dir / "out.dat").string());
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN3 Version 1.0 file. Aborting");
  EXPECT_FALSE(fs::exists(dir / "out.dat"));
  // Nor does "save the changes?" before leaving save it: the program stays.
  session.markModified();
  prompts.saveChoices = {SaveChoice::Save};
  prompts.saveAnswers.push_back((dir / "out.dat").string());
  EXPECT_FALSE(mayDropChanges(session));
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN3 Version 1.0 file. Aborting");
  EXPECT_FALSE(fs::exists(dir / "out.dat"));
}

TEST_F(GameFiles, StartupLoadTakesEveryGenerationAndSaysWhyNot) {
  const std::string vn3 = write("s.dat", sample(GameFileKind::Vn3));
  const std::string v10 = write("t.dat", sample(GameFileKind::V10));
  EXPECT_FALSE(startupLoad(session, (dir / "none.dat").string()));
  EXPECT_EQ(prompts.lastText(), "Couldn't open save file");
  EXPECT_EQ(session.model.loaded, GameFileKind::None);
  EXPECT_TRUE(startupLoad(session, v10));
  EXPECT_EQ(session.model.loaded, GameFileKind::V10);
  EXPECT_TRUE(startupLoad(session, vn3));
  EXPECT_EQ(session.model.loaded, GameFileKind::Vn3);
  EXPECT_FALSE(session.model.commandLineLoad);
  EXPECT_TRUE(prompts.chooserSeen.empty());
}

TEST_F(GameFiles, MissingMobFilesWarnOncePerSide) {
  const std::string in = write("in.dat", sample(GameFileKind::Vn3));
  load(GameFileKind::Vn3, in);
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].text, "Could not open " + dir.string() + "/KOB03. Weapons names not available");
  EXPECT_EQ(prompts.messages[1].text, "Could not open " + dir.string() + "/KOB07. Weapons names not available");
  EXPECT_EQ(prompts.messages[0].title, "Warning");
}

TEST_F(GameFiles, SectionsBehindLongRunsOfEmptyPacketsAreRead) {
  // Section 2 declares 80 MiB of control bytes 0, which decode to nothing;
  // section 3 behind them must still arrive.
  constexpr std::int32_t kEmpty = 80 << 20;
  Bytes head(kMagicVn3.begin(), kMagicVn3.end());
  head.resize(20, 0);
  const auto header = [](Bytes& f, std::int32_t id, std::int32_t length, std::uint8_t flag) {
    for (std::int32_t v : {id, length})
      for (int k = 0; k < 4; ++k) f.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
    f.push_back(flag);
  };
  header(head, 1, 243, 0);
  head.resize(head.size() + 243, 'U');
  header(head, 2, kEmpty, 1);
  const std::string path = write("long.dat", head);
  fs::resize_file(path, head.size() + kEmpty);  // a sparse run of zero bytes
  Bytes tail;
  header(tail, 33, 3, 0);
  tail.insert(tail.end(), {'x', 'y', 'z'});
  std::ofstream(path, std::ios::binary | std::ios::app).write(reinterpret_cast<const char*>(tail.data()), 12);

  load(GameFileKind::Vn3, path);
  EXPECT_EQ(session.model.loaded, GameFileKind::Vn3);
  EXPECT_EQ(session.model.sectionLength[2], 0);
  EXPECT_EQ(session.model.sectionId[3], 33);
  EXPECT_EQ(session.model.sectionLength[3], 3);
  EXPECT_EQ(session.model.textAt(session.model.sectionOffset[3], 3), "xyz");
}

TEST_F(GameFiles, LoadsRefuseAPipeOrADeviceWithoutWaiting) {
#ifdef _WIN32
  // Device names: a read from CON or COM1 would wait for input.
  for (const std::string& path : {(dir / "CON").string(), (dir / "com1.dat").string(), std::string("NUL"),
                                  dir.string()}) {
#else
  const std::string fifo = (dir / "pipe.dat").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ::alarm(20);  // a load that waited on the pipe would end the test here
  for (const std::string& path : {fifo, std::string("/dev/zero"), dir.string()}) {
#endif
    prompts.messages.clear();
    load(GameFileKind::Vn3, path);
    EXPECT_EQ(titles(), std::vector<std::string>{"Error: Couldn't open save file"}) << path;
    load(GameFileKind::V10, path);
    EXPECT_EQ(prompts.lastText(), "Couldn't open V1.0 scenario file") << path;
  }
  EXPECT_EQ(session.model.loaded, GameFileKind::None);
#ifndef _WIN32
  ::alarm(0);
#endif
}

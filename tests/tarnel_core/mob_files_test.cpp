#include "sidefiles/mob_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "game_sample.h"
#include "model/session.h"
#include "common/file_io.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"
#include "mainwindow/main_commands.h"

namespace tarnel {
namespace {

using common::writeFileSafely;

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::ScriptedPrompts;

class MobFiles : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_mob"};
  fs::path dir = tmp.path();
  ScriptedPrompts prompts;
  Session session{prompts};

  void SetUp() override {
    session.setProgramDir(dir.string());
  }

  void write(const std::string& name, const Bytes& bytes) {
    ASSERT_TRUE(writeFileSafely((dir / name).string(), bytes));
  }
  // A MOB file whose names and men say which file they came from.
  static Bytes mobBytes(char tag, std::size_t size = 14000) {
    Bytes b(size, 0);
    for (std::size_t w = 0; w < 250; ++w)
      for (std::size_t k = 0; k < 15 && w * 15 + k < size; ++k)
        b[w * 15 + k] = static_cast<std::uint8_t>(k < 4 ? tag : 'a' + (w + k) % 26);
    for (std::size_t i = 13750; i < size; ++i) b[i] = static_cast<std::uint8_t>(tag + i % 7);
    return b;
  }
  void read(GameFileKind kind, int mob0, int mob1) {
    session.model.selectLayout(kind);
    session.model.loaded = kind;
    session.model.sideMob = {mob0, mob1};
    readMobFiles(session);
  }
  // The MOB directory and the file's name joined as the readers join them.
  std::string warning(const std::string& file) const {
    return "Could not open " + dir.string() + "/" + file + ". Weapons names not available";
  }
};

TEST(MobFileName, PrefixAndAtLeastTwoDigits) {
  EXPECT_EQ(mobFileName("C:/GAME/", false, 5), "C:/GAME/MOB05");
  EXPECT_EQ(mobFileName("/g/", true, 12), "/g/KOB12");
  EXPECT_EQ(mobFileName("/g/", false, 12), "/g/MOB12");
  EXPECT_EQ(mobFileName("/g/", false, 100), "/g/MOB100");
  EXPECT_EQ(mobFileName("", false, 0), "MOB00");
}

TEST_F(MobFiles, ReadsNamesAndMenOfBothSides) {
  const Bytes a = mobBytes('A'), b = mobBytes('B');
  write("KOB12", a);
  write("KOB07", b);
  read(GameFileKind::Vn3, 12, 7);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(session.mob.available[0]);
  EXPECT_TRUE(session.mob.available[1]);
  for (int w : {0, 1, 137, 249}) {
    // Every name here fills all 15 bytes and is followed by the zero byte.
    EXPECT_EQ(session.mob.weaponName(0, w),
              std::string(a.begin() + w * 15, a.begin() + w * 15 + 15));
    EXPECT_EQ(session.mob.weaponName(1, w),
              std::string(b.begin() + w * 15, b.begin() + w * 15 + 15));
    EXPECT_EQ(session.mob.names[1][static_cast<std::size_t>(w)][15], '\0');
  }
  // Men of unit number t at 13,750 + t; entry 0 never comes from the file.
  EXPECT_EQ(session.mob.menOf(0, 0), 0);
  EXPECT_EQ(session.mob.menOf(0, 1), a[13751]);
  EXPECT_EQ(session.mob.menOf(1, 249), b[13999]);
  EXPECT_EQ(session.mob.menOf(1, 250), 0);
  EXPECT_EQ(session.mob.weaponName(2, 0), "");
  EXPECT_EQ(session.mob.weaponName(0, 250), "");
  EXPECT_EQ(session.mob.weaponName(0, -1), "");
}

TEST_F(MobFiles, ShortNamesEndAtTheirZero) {
  Bytes a(14000, 0);
  a[15 * 3] = 'M';
  a[15 * 3 + 1] = 'G';
  a[15 * 3 + 3] = 'X';  // after the zero: not part of the name
  write("MOB03", a);
  read(GameFileKind::V11, 3, 3);
  EXPECT_EQ(session.mob.weaponName(0, 3), "MG");
  EXPECT_EQ(session.mob.weaponName(1, 3), "MG");
}

TEST_F(MobFiles, MissingFilesWarnOncePerSideAndKeepTheTables) {
  write("MOB03", mobBytes('A'));
  write("MOB07", mobBytes('B'));
  read(GameFileKind::V11, 3, 7);
  const std::string before0 = session.mob.weaponName(0, 10);
  const int men1 = session.mob.menOf(1, 5);

  read(GameFileKind::Vn3, 3, 7);  // VN3 wants KOB files, which are not there
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].text, warning("KOB03"));
  EXPECT_EQ(prompts.messages[1].text, warning("KOB07"));
  EXPECT_EQ(prompts.messages[0].title, "Warning");
  EXPECT_FALSE(session.mob.available[0]);
  EXPECT_FALSE(session.mob.available[1]);
  EXPECT_EQ(session.mob.weaponName(0, 10), before0);
  EXPECT_EQ(session.mob.menOf(1, 5), men1);

  prompts.messages.clear();
  fs::create_directory(dir / "MOB09");  // a directory is no MOB file
  read(GameFileKind::V10, 9, 7);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastText(), warning("MOB09"));
  EXPECT_FALSE(session.mob.available[0]);
  EXPECT_TRUE(session.mob.available[1]);
}

TEST_F(MobFiles, ShortFileGivesZerosBeyondItsEnd) {
  write("MOB03", mobBytes('A'));
  write("MOB07", mobBytes('B'));
  read(GameFileKind::V11, 3, 7);
  // 100 bytes: six whole names, ten bytes of the seventh, nothing more.
  write("MOB03", mobBytes('C', 100));
  // Ends inside the men table: men up to unit number 9 (byte 13,759).
  write("MOB07", mobBytes('D', 13760));
  read(GameFileKind::V11, 3, 7);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(session.mob.available[0]);
  EXPECT_EQ(session.mob.weaponName(0, 5).size(), 15u);
  EXPECT_EQ(session.mob.weaponName(0, 6).size(), 10u);
  EXPECT_EQ(session.mob.weaponName(0, 7), "");
  EXPECT_EQ(session.mob.weaponName(0, 249), "");
  EXPECT_EQ(session.mob.menOf(0, 1), 0);
  EXPECT_EQ(session.mob.weaponName(1, 249).size(), 15u);
  EXPECT_NE(session.mob.menOf(1, 9), 0);
  EXPECT_EQ(session.mob.menOf(1, 10), 0);
  EXPECT_EQ(session.mob.menOf(1, 249), 0);

  write("MOB03", {});
  read(GameFileKind::V11, 3, 7);
  EXPECT_TRUE(session.mob.available[0]);
  EXPECT_EQ(session.mob.weaponName(0, 0), "");
}

TEST_F(MobFiles, GameThatRanOutOfRoomStillReadsKobFiles) {
  write("KOB03", mobBytes('A'));
  write("KOB07", mobBytes('B'));
  session.model.selectLayout(GameFileKind::Vn3);
  session.model.loaded = GameFileKind::None;  // what a too-large VN3 file leaves
  session.model.sideMob = {3, 7};
  readMobFiles(session);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(session.mob.available[1]);
}

TEST_F(MobFiles, EveryLoadReadsTheSidesFiles) {
  samplegen::SampleOptions o;
  o.kind = GameFileKind::Vn3;
  o.mob0 = 12;
  o.mob1 = 7;
  write("game.dat", samplegen::makeGameFile(o));
  write("KOB12", samplegen::makeMobFile(12));
  prompts.chooserAnswers.push_back((dir / "game.dat").string());
  loadGame(session, GameFileKind::Vn3);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastText(), warning("KOB07"));
  EXPECT_TRUE(session.mob.available[0]);
  EXPECT_EQ(session.mob.weaponName(0, 1), "MG M12-1");

  // A file without side 1 units reads side 1 under the number left from before.
  o.kind = GameFileKind::V11;
  o.unitsPerSide = 0;
  write("empty.dat", samplegen::makeGameFile(o));
  prompts.messages.clear();
  prompts.chooserAnswers.push_back((dir / "empty.dat").string());
  loadGame(session, GameFileKind::V11);
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].text, warning("MOB12"));
  EXPECT_EQ(prompts.messages[1].text, warning("MOB07"));
}

TEST_F(MobFiles, AFileTheMobDirectoryLacksComesFromBesideTheGame) {
  fs::create_directories(dir / "bin");
  fs::create_directories(dir / "game");
  session.setProgramDir((dir / "bin").string());
  ASSERT_TRUE(writeFileSafely((dir / "bin" / "KOB03").string(), mobBytes('P')));
  ASSERT_TRUE(writeFileSafely((dir / "game" / "KOB03").string(), mobBytes('G')));
  ASSERT_TRUE(writeFileSafely((dir / "game" / "KOB07").string(), mobBytes('H')));
  session.model.currentPath = (dir / "game" / "scen.dat").string();
  read(GameFileKind::Vn3, 3, 7);
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
  // The MOB directory's own file comes first.
  EXPECT_EQ(session.mob.weaponName(0, 0).substr(0, 4), "PPPP");
  EXPECT_EQ(session.mob.weaponName(1, 0).substr(0, 4), "HHHH");
  EXPECT_TRUE(session.mob.available[1]);

  // In neither place: the warning names the MOB directory's file.
  read(GameFileKind::Vn3, 3, 9);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastText(), "Could not open " + (dir / "bin").string() + "/KOB09. Weapons names not available");
  EXPECT_FALSE(session.mob.available[1]);
}

TEST_F(MobFiles, LocateKeepsTheChosenDirectoryOnly) {
  write("MOB03", mobBytes('A'));
  write("MOB07", mobBytes('B'));
  read(GameFileKind::V11, 3, 7);
  const std::string name = session.mob.weaponName(0, 4);
  session.OpenDialog1.filter = "Scenarios (*.dat)|*.dat";

  prompts.openAnswers.push_back(std::nullopt);  // cancel
  EXPECT_FALSE(locateMobFiles(session));
  EXPECT_EQ(session.model.mobDir, dir.string() + "/");

  fs::create_directories(dir / "other");
  prompts.openAnswers.push_back((dir / "other" / "MOB44").string());
  EXPECT_TRUE(locateMobFiles(session));
  ASSERT_EQ(prompts.openSeen.size(), 2u);
  EXPECT_EQ(prompts.openSeen[1].title, "Open Any MOB File");
  EXPECT_EQ(prompts.openSeen[1].initialDir, dir.string() + "/");
  EXPECT_EQ(prompts.openSeen[1].filter, "Scenarios (*.dat)|*.dat");  // kept from before
  EXPECT_EQ(prompts.openSeen[1].fileName, "");  // the cancelled first run chose nothing
  locateMobFiles(session);  // cancelled: the shared dialog keeps the last name
  EXPECT_EQ(prompts.openSeen[2].fileName, (dir / "other" / "MOB44").string());
  EXPECT_EQ(session.model.mobDir, (dir / "other").string() + "/");
  // The tables stay until the next load.
  EXPECT_EQ(session.mob.weaponName(0, 4), name);
  EXPECT_TRUE(session.mob.available[0]);

  read(GameFileKind::V11, 3, 7);
  EXPECT_FALSE(session.mob.available[0]);
  EXPECT_EQ(prompts.messages[0].text,
            "Could not open " + (dir / "other").string() + "/MOB03" +
                ". Weapons names not available");
}

TEST_F(MobFiles, ADirectoryHoldsMobFilesByTheReadersNames) {
  struct Case {
    const char* name;
    bool directory;
    bool holds;
  };
  const Case cases[] = {
      {"MOB03", false, true},     {"KOB12", false, true},  {"MOB100", false, true},
      {"MOB1", false, false},     {"mob03", false, false}, {"MOB03.bak", false, false},
      {"MOBXY", false, false},    {"MOB07", true, false},  {"README", false, false},
  };
  for (const Case& c : cases) {
    // Numbered, so that no two cases share a folder where names are case-blind.
    const fs::path d = dir / ("case_" + std::to_string(&c - cases) + (c.directory ? "_dir" : ""));
    fs::create_directories(c.directory ? d / c.name : d);
    if (!c.directory) {
      ASSERT_TRUE(writeFileSafely((d / c.name).string(), Bytes{1}));
    }
    EXPECT_EQ(holdsMobFiles(d.string()), c.holds) << c.name << (c.directory ? " (directory)" : "");
  }
  EXPECT_FALSE(holdsMobFiles((dir / "absent").string()));
}

TEST_F(MobFiles, StartDirectoryFallsBackToTheRememberedOneOnlyWhenTheProgramsHoldsNone) {
  const fs::path program = dir / "bin";
  const fs::path remembered = dir / "game";
  fs::create_directories(program);
  fs::create_directories(remembered);
  struct Case {
    const char* what;
    bool programHoldsFiles;
    std::string remembered;
    fs::path expected;
  };
  const Case cases[] = {
      {"build directory with the files", true, remembered.string(), program},
      {"installed, nothing remembered", false, "", program},
      {"installed, remembered", false, remembered.string(), remembered},
      {"installed, remembered with separator", false, remembered.string() + "/", remembered},
      {"installed, remembered gone", false, (dir / "gone").string(), program},
  };
  for (const Case& c : cases) {
    fs::remove(program / "KOB03");
    if (c.programHoldsFiles) {
      ASSERT_TRUE(writeFileSafely((program / "KOB03").string(), Bytes{1}));
    }
    session.setProgramDir(program.string());
    startMobDir(session, c.remembered);
    EXPECT_EQ(session.model.mobDir, c.expected.string() + "/") << c.what;
    EXPECT_EQ(session.model.programDir, program.string()) << c.what;
  }
}

}  // namespace
}  // namespace tarnel

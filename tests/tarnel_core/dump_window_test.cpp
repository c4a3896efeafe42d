// The dump window's logic: label and grid texts, the output files, and a
// dump read back into the image.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/dump_files.h"
#include "mainwindow/main_commands.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

using namespace tarnel;
using Bytes = std::vector<std::uint8_t>;

namespace {

class DumpWindowTest : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_dump"};
  tarnel::testing::ScriptedPrompts prompts;
  Session session{prompts};
  DumpWindow window{session};

  void SetUp() override {
    samplegen::SampleOptions o;
    o.kind = GameFileKind::V11;
    o.unitsPerSide = 4;
    ASSERT_TRUE(common::writeFileSafely(path("game.dat"), samplegen::makeGameFile(o)));
    prompts.chooserAnswers.push_back(path("game.dat"));
    loadGame(session, GameFileKind::V11);
    session.setProgramDir(tmp.path().string());
    window.formCreate();
    prompts.messages.clear();
  }
  std::string path(const std::string& name) const { return (tmp.path() / name).string(); }
  Bytes read(const std::string& name) const { return common::readFileBytes(path(name)).value_or(Bytes{}); }
};

}  // namespace

TEST_F(DumpWindowTest, LabelAndGridTexts) {
  GameModel& m = session.model;
  m.sectionLength.fill(0);
  m.sectionLength[0] = 20;
  m.sectionId[1] = 7;
  m.sectionLength[1] = 1000;
  m.sectionOffset[1] = 0x1A2B;
  m.sectionLength[3] = 1234567;  // entry 2 is empty
  m.sectionOffset[3] = 0x12345A;
  EXPECT_EQ(sectionCountText(m), "3 Sections");
  EXPECT_EQ(dumpRowTexts(m, 1), (std::array<std::string, 3>{"  7", "   1000", " 001A2B"}));
  EXPECT_EQ(dumpRowTexts(m, 3)[2], " 12345A");
  // The last section keeps its row behind the empty entry.
  ASSERT_TRUE(window.formActivate());
  EXPECT_EQ(window.listed(), (std::vector<int>{0, 1, 3}));
  EXPECT_FALSE(window.selectCell(0, 0));
  EXPECT_EQ(window.selectedEntry(), 0);
  EXPECT_TRUE(window.selectCell(2, 3));
  EXPECT_EQ(window.selectedEntry(), 3);
}

TEST_F(DumpWindowTest, StatsFileDialogsAndAnUnchangedLoad) {
  ASSERT_TRUE(window.formActivate());
  prompts.saveAnswers = {path("game.all"), path("stats.txt"), path("no/dir.s00")};
  window.allBtnClick();
  window.statsBtnClick();
  window.sectionBtnClick();
  EXPECT_EQ(prompts.lastText(), "Could not open output file");
  EXPECT_EQ(prompts.saveSeen[0].filter, "All Sections (*.all)|*.all|All Files(*.*)|*.*");
  EXPECT_EQ(prompts.saveSeen[1].filter, prompts.saveSeen[0].filter);  // Stats sets none
  EXPECT_EQ(prompts.saveSeen[2].filter, "Sections (*.s*)|*.s*|All Files(*.*)|*.*");
  EXPECT_EQ(prompts.saveSeen[0].initialDir, tmp.path().string());
  const Bytes all = read("game.all"), stats = read("stats.txt");
  EXPECT_TRUE(std::string(stats.begin(), stats.end())
                  .starts_with(std::to_string(all.size()) + " bytes in " + path("game.dat") +
                               "\r\nSect  Size(d)  Address(h)\r\n  0       20        0\r\n"));

  // The all-sections file loaded back leaves the image as it was.
  const Bytes image = session.model.image();
  prompts.openAnswers.push_back(path("game.all"));
  loadDumpFile(session, window);
  EXPECT_EQ(session.model.image(), image);
  EXPECT_TRUE(session.modified());
  EXPECT_EQ(prompts.openSeen.back().title, "Load a Dump File");
}

TEST_F(DumpWindowTest, LoadRefusesWhatItCannotTake) {
  ASSERT_TRUE(common::writeFileSafely(path("big.all"), Bytes(kImageSize + 1, 0xEE)));
  const Bytes image = session.model.image();
  for (const std::string& file : {path("big.all"), path("missing.all")}) {
    prompts.openAnswers.push_back(file);
    loadDumpFile(session, window);
    EXPECT_EQ(prompts.lastTitle(), "Error");
    EXPECT_EQ(session.model.image(), image);
    EXPECT_FALSE(session.modified());
  }
  EXPECT_EQ(prompts.messages[0].text, "This dump is larger than the game image of 2000000 bytes. Not loaded.");
  EXPECT_EQ(prompts.messages[1].text, "Could not open file");
}

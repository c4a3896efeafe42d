// The dump window's logic: label and grid texts, the three output files,
// and a dump read back into the image.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/dump_files.h"
#include "mainwindow/main_commands.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

using namespace tarnel;
using tarnel::testing::ScriptedPrompts;
using Bytes = std::vector<std::uint8_t>;

namespace {

class DumpWindowTest : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_dump"};
  ScriptedPrompts prompts;
  Session session{prompts};
  DumpWindow window{session};

  void SetUp() override {
    session.setProgramDir(tmp.path().string());
    window.formCreate();
  }
  std::string path(const std::string& name) const { return (tmp.path() / name).string(); }
  Bytes read(const std::string& p) const { return common::readFileBytes(p).value_or(Bytes{}); }
  void load(GameFileKind kind) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 4;
    ASSERT_TRUE(common::writeFileSafely(path("game.dat"), samplegen::makeGameFile(o)));
    prompts.chooserAnswers.push_back(path("game.dat"));
    loadGame(session, kind);
    prompts.messages.clear();
  }
};

}  // namespace

TEST_F(DumpWindowTest, LabelAndGridTexts) {
  ASSERT_TRUE(window.formActivate());
  EXPECT_EQ(sectionCountText(session.model), "0 Sections");
  EXPECT_TRUE(window.listed().empty());

  GameModel& m = session.model;
  m.sectionLength[0] = 20;
  m.sectionId[1] = 7;
  m.sectionLength[1] = 1000;
  m.sectionOffset[1] = 0x1A2B;
  m.sectionId[3] = -12;
  m.sectionLength[3] = 1234567;
  m.sectionOffset[3] = 0x12345A;
  EXPECT_EQ(sectionCountText(m), "3 Sections");
  EXPECT_EQ(dumpRowTexts(m, 0), (std::array<std::string, 3>{"  0", "     20", " 000000"}));
  EXPECT_EQ(dumpRowTexts(m, 1), (std::array<std::string, 3>{"  7", "   1000", " 001A2B"}));
  EXPECT_EQ(dumpRowTexts(m, 3), (std::array<std::string, 3>{"-12", "1234567", " 12345A"}));
  // The empty entry 2 inside the directory is not listed, so the last
  // section keeps its row.
  ASSERT_TRUE(window.formActivate());
  EXPECT_EQ(window.listed(), (std::vector<int>{0, 1, 3}));
  EXPECT_FALSE(window.selectCell(0, 0));
  EXPECT_TRUE(window.selectCell(2, 3));
  EXPECT_EQ(window.selectedEntry(), 3);
}

TEST_F(DumpWindowTest, OutputFiles) {
  load(GameFileKind::Vn3);
  ASSERT_TRUE(window.formActivate());
  const GameModel& m = session.model;
  EXPECT_EQ(sectionCountText(m), std::to_string(window.listed().size()) + " Sections");

  prompts.saveAnswers = {path("game.all"), path("head.s00"), path("part.s05"), path("stats.txt")};
  window.allBtnClick();
  window.sectionBtnClick();  // no row: the file header
  window.selectCell(0, 6);
  window.sectionBtnClick();
  window.statsBtnClick();
  EXPECT_TRUE(prompts.messages.empty());

  const Bytes all = read(path("game.all"));
  EXPECT_EQ(all, Bytes(m.image.begin(), m.image.begin() + static_cast<long>(all.size())));
  EXPECT_EQ(read(path("head.s00")), Bytes(m.image.begin(), m.image.begin() + 20));
  EXPECT_EQ(read(path("part.s05")), sectionBytes(m, 5));
  const Bytes stats = read(path("stats.txt"));
  const std::string text(stats.begin(), stats.end());
  EXPECT_EQ(text.rfind(std::to_string(all.size()) + " bytes in " + path("game.dat") + "\r\nSect  Size(d)  Address(h)\r\n", 0), 0u);

  // Filters; Stats keeps what Section left; all start in the program directory.
  ASSERT_EQ(prompts.saveSeen.size(), 4u);
  EXPECT_EQ(prompts.saveSeen[0].filter, "All Sections (*.all)|*.all|All Files(*.*)|*.*");
  EXPECT_EQ(prompts.saveSeen[1].filter, "Sections (*.s*)|*.s*|All Files(*.*)|*.*");
  EXPECT_EQ(prompts.saveSeen[3].filter, prompts.saveSeen[2].filter);
  EXPECT_EQ(prompts.saveSeen[0].initialDir, tmp.path().string());

  for (auto click : {&DumpWindow::allBtnClick, &DumpWindow::sectionBtnClick, &DumpWindow::statsBtnClick}) {
    prompts.saveAnswers.push_back(path("no/such/dir"));
    (window.*click)();
    EXPECT_EQ(prompts.lastText(), "Could not open output file");
    EXPECT_EQ(prompts.lastTitle(), "Error");
  }
}

TEST_F(DumpWindowTest, LoadWritesTheImageAndRefillsTheGrid) {
  load(GameFileKind::V11);
  ASSERT_TRUE(common::writeFileSafely(path("game.all"), allSectionsBytes(session.model)));
  const Bytes image = session.model.image;
  prompts.openAnswers.push_back(path("game.all"));
  loadDumpFile(session, window);
  EXPECT_EQ(session.model.image, image);
  EXPECT_EQ(prompts.openSeen.back().title, "Load a Dump File");
  EXPECT_EQ(prompts.openSeen.back().initialDir, tmp.path().string());

  // A dump that renames unit 0 shows in the grid; the directory stays.
  Bytes dump = allSectionsBytes(session.model);
  dump[static_cast<std::size_t>(session.model.sectionOffset[kUnitSection])] = 'Z';
  ASSERT_TRUE(common::writeFileSafely(path("edited.all"), dump));
  const auto directory = session.model.sectionOffset;
  prompts.openAnswers.push_back(path("edited.all"));
  loadDumpFile(session, window);
  EXPECT_EQ(session.grid.cell(kColName, 1).front(), 'Z');
  EXPECT_EQ(session.model.sectionOffset, directory);
  EXPECT_TRUE(session.modified());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DumpWindowTest, LoadRefusals) {
  load(GameFileKind::Vn3);
  const Bytes image = session.model.image;
  struct Case {
    std::string file;
    std::string message;
  };
  ASSERT_TRUE(common::writeFileSafely(path("big.all"), Bytes(kImageSize + 1, 0xEE)));
  const std::vector<Case> cases = {
      {path("big.all"), "This dump is larger than the game image of 2000000 bytes. Not loaded."},
      {path("missing.all"), "Could not open file"},
      {tmp.path().string(), "Could not open file"},
  };
  for (const Case& c : cases) {
    session.setModified(false);
    prompts.openAnswers.push_back(c.file);
    loadDumpFile(session, window);
    EXPECT_EQ(prompts.lastText(), c.message);
    EXPECT_EQ(prompts.lastTitle(), "Error");
    EXPECT_EQ(session.model.image, image) << c.file;
    EXPECT_FALSE(session.modified());
  }
  // A dump of exactly the image's size is taken.
  ASSERT_TRUE(common::writeFileSafely(path("full.all"), Bytes(kImageSize, 0x11)));
  prompts.openAnswers.push_back(path("full.all"));
  loadDumpFile(session, window);
  EXPECT_EQ(session.model.image.back(), 0x11);
}

TEST_F(DumpWindowTest, AVersion10FileShowsOnlyTheMessage) {
  load(GameFileKind::V11);
  ASSERT_TRUE(window.formActivate());
  const auto listed = window.listed();
  load(GameFileKind::V10);
  EXPECT_FALSE(window.formActivate());
  EXPECT_EQ(prompts.lastText(), "Dump feature only applies to compressed format game files.");
  EXPECT_EQ(prompts.lastTitle(), "Information");
  EXPECT_EQ(window.listed(), listed);
}

// Open of any generation, Save to the file in hand, the backup of a replaced
// file and the recent list, on a session without windows.
#include "mainwindow/file_workflow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/game_decoders.h"
#include "mainwindow/main_commands.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using common::readFileBytes;
using common::writeFileSafely;

Bytes sample(GameFileKind kind, std::uint32_t seed = 1) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.seed = seed;
  o.unitsPerSide = 12;
  return samplegen::makeGameFile(o);
}

Bytes withMagic(std::string_view magic, std::size_t size) {
  Bytes b(size, 0);
  std::copy(magic.begin(), magic.end(), b.begin());
  return b;
}

struct StatusView : SessionView {
  std::vector<std::string> lines;
  void statusReport(const std::string& line) override { lines.push_back(line); }
  std::string last() const { return lines.empty() ? std::string() : lines.back(); }
};

class FileWorkflowTest : public ::testing::Test {
 protected:
  testing::TestDir tmp{"tarnel_fw"};
  fs::path dir = tmp.path();
  testing::ScriptedPrompts prompts;
  Session session{prompts};
  StatusView view;
  FileWorkflow files{session};

  void SetUp() override {
    session.setProgramDir(dir.string());
    session.setView(&view);
  }
  void TearDown() override { session.setView(nullptr); }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string p = (dir / name).string();
    EXPECT_TRUE(writeFileSafely(p, bytes));
    return p;
  }
  Bytes read(const std::string& p) { return readFileBytes(p).value_or(Bytes{}); }
  // An edit the next save writes: a rating typed into the grid.
  void typeRating(const std::string& value) {
    session.grid.setCell(GridColumn::kExp, 1, value);
    session.markModified();
  }
};

// The generation comes from the bytes: the magic first, then the version 1.0
// size range; what is none of them is refused with the load's message.
TEST_F(FileWorkflowTest, GenerationOfAFileAndTheRefusalOfOthers) {
  fs::create_directory(dir / "folder.dat");
  struct Case {
    const char* name;
    Bytes bytes;
    GameFileKind kind;
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {"vn3.dat", sample(GameFileKind::Vn3), GameFileKind::Vn3, ""},
      {"v11.dat", sample(GameFileKind::V11), GameFileKind::V11, ""},
      {"v10.dat", sample(GameFileKind::V10), GameFileKind::V10, ""},
      {"smallest.dat", Bytes(705076, 0), GameFileKind::V10, ""},
      {"largest.dat", Bytes(705481, 7), GameFileKind::V10, ""},
      {"short.dat", Bytes(705075, 0), GameFileKind::None, "This isn't a VN2 scenario file"},
      {"long.dat", Bytes(705482, 0), GameFileKind::None, "This isn't a VN2 scenario file"},
      // A magic wins over a version 1.0 size.
      {"vn3sized.dat", withMagic("VARNO3_SAVE_V100", 705076), GameFileKind::Vn3, ""},
      {"nearmagic.dat", withMagic("VARNO3_SAVE_V10", 40), GameFileKind::None, "This isn't a VN2 scenario file"},
      {"empty.dat", {}, GameFileKind::None, "This isn't a VN2 scenario file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write(c.name, c.bytes);
    EXPECT_EQ(gameFileKindOf(path), c.kind);
    const auto refusal = refusalOf(path, gameFileKindOf(path));
    EXPECT_EQ(refusal ? refusal->text : "", c.refusal);
  }
  const std::string folder = (dir / "folder.dat").string();
  EXPECT_EQ(gameFileKindOf(folder), GameFileKind::None);
  EXPECT_EQ(refusalOf(folder, GameFileKind::None)->text, folder + " is a folder, not a game file.");
  EXPECT_EQ(refusalOf((dir / "gone.dat").string(), GameFileKind::None)->text, "Couldn't open save file");
}

TEST_F(FileWorkflowTest, OpenAsksAboutChangesAndRefusesBeforeAsking) {
  const std::string a = write("a.dat", sample(GameFileKind::V11));
  const std::string b = write("b.dat", sample(GameFileKind::V10, 2));
  const std::string text = write("notes.dat", Bytes(100, 'x'));
  prompts.openAnswers.push_back(a);
  ASSERT_TRUE(openGameFileDialog(session, files));
  EXPECT_EQ(prompts.openSeen.back().filter, "Game files (*.dat *.DAT)|*.dat *.DAT|All files (*)|*");
  EXPECT_EQ(view.last(), "Opened a.dat (VN2 version 1.1)");
  typeRating("99");

  // A file that is no game is refused without the question.
  EXPECT_FALSE(openGameFile(session, text));
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(prompts.lastText(), "This isn't a VN2 scenario file");
  // Cancel keeps the game with its edit; Discard opens the other file.
  prompts.saveChoices = {SaveChoice::Cancel, SaveChoice::Discard};
  EXPECT_FALSE(openDroppedFiles(session, {b}));
  EXPECT_EQ(session.model.currentPath, a);
  EXPECT_TRUE(session.modified());
  EXPECT_TRUE(openDroppedFiles(session, {b, a, text}));
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(session.model.loaded, GameFileKind::V10);
  EXPECT_EQ(view.lines[view.lines.size() - 2], "Opened b.dat (VN2 version 1.0)");
  EXPECT_EQ(view.last(), "3 files were dropped: only the first, b.dat, was opened");
}

class SaveRule : public FileWorkflowTest, public ::testing::WithParamInterface<GameFileKind> {};

// The first save of a run that replaces a file keeps it as NAME.bak; later
// saves keep that first backup; a file the run created gets none.
TEST_P(SaveRule, FirstSaveBacksUpSecondKeepsTheBackup) {
  const GameFileKind kind = GetParam();
  const Bytes original = sample(kind);
  const std::string game = write("SAVE01.DAT", original);
  ASSERT_TRUE(openGameFile(session, game));
  EXPECT_TRUE(files.canSave());

  typeRating("77");
  ASSERT_TRUE(saveToTarget(session, files));
  EXPECT_TRUE(prompts.saveSeen.empty());  // no dialog
  EXPECT_FALSE(session.modified());
  EXPECT_EQ(read(game + ".bak"), original);
  const Bytes first = read(game);
  EXPECT_NE(first, original);
  EXPECT_EQ(view.last(), "Saved SAVE01.DAT (the file it replaced is SAVE01.DAT.bak)");

  typeRating("78");
  ASSERT_TRUE(saveToTarget(session, files));
  EXPECT_EQ(read(game + ".bak"), original);
  EXPECT_NE(read(game), first);
  EXPECT_EQ(view.last(), "Saved SAVE01.DAT");

  // Save As to a new file: no backup, and Save writes there from now on, for
  // version 1.0 too, whose save keeps the loaded path.
  const std::string other = (dir / "other.dat").string();
  prompts.saveAnswers.push_back(other);
  ASSERT_TRUE(saveAs(session));
  EXPECT_EQ(prompts.saveSeen.size(), 1u);
  EXPECT_FALSE(fs::exists(other + ".bak"));
  EXPECT_EQ(files.saveTarget(), other);
  typeRating("79");
  ASSERT_TRUE(saveToTarget(session, files));
  EXPECT_FALSE(fs::exists(other + ".bak"));
  EXPECT_EQ(files.recent().paths(), (std::vector<std::string>{other, game}));
}

INSTANTIATE_TEST_SUITE_P(Generations, SaveRule,
                         ::testing::Values(GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3),
                         [](const auto& p) { return std::string(p.param == GameFileKind::V10 ? "V10"
                                                                   : p.param == GameFileKind::V11 ? "V11"
                                                                                                     : "Vn3"); });

// A backup that cannot be written stops the save: the file stays as it was,
// the edits stay unsaved, and the message says why.
TEST_F(FileWorkflowTest, AFailedBackupStopsTheSave) {
  struct Case {
    const char* name;
    std::function<void(const std::string& game)> spoil;
    std::string message;  // {} stands for the game's path
  };
  const std::vector<Case> cases = {
      {"backup name taken by a folder", [](const std::string& g) { fs::create_directory(g + ".bak"); },
       "Could not write the backup {}.bak: {} was not replaced."},
      {"read-only file",
       [](const std::string& g) {
         fs::permissions(g, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
       },
       "{} is read-only: it was not replaced."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes original = sample(GameFileKind::Vn3);
    const std::string game = write(std::string(c.name) + ".dat", original);
    ASSERT_TRUE(openGameFile(session, game));
    typeRating("55");
    c.spoil(game);
    prompts.messages.clear();
    EXPECT_FALSE(saveToTarget(session, files));
    std::string expected = c.message;
    for (auto at = expected.find("{}"); at != std::string::npos; at = expected.find("{}"))
      expected.replace(at, 2, game);
    EXPECT_EQ(prompts.lastText(), expected);
    EXPECT_EQ(prompts.lastTitle(), "Aborting Save");
    EXPECT_EQ(read(game), original);
    EXPECT_TRUE(session.modified());
    EXPECT_FALSE(fs::is_regular_file(game + ".bak"));
    fs::permissions(game, fs::perms::owner_all);
    session.setModified(false);
  }
}

TEST(RecentFilesList, NewestFirstEachOnceEightAtMost) {
  RecentFiles recent;
  for (int k = 1; k <= 10; ++k) recent.add("/g/" + std::to_string(k) + ".dat");
  recent.add("/g/./7.dat");  // the same file moves to the front
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/g/./7.dat", "/g/10.dat", "/g/9.dat", "/g/8.dat",
                                                      "/g/6.dat", "/g/5.dat", "/g/4.dat", "/g/3.dat"}));
  EXPECT_TRUE(recent.remove("/g/10.dat"));
  EXPECT_FALSE(recent.remove("/g/10.dat"));
  // A remembered list keeps its order, without blanks and repeats.
  const RecentFiles remembered({"/a.dat", "", "/b.dat", "/a.dat", "/c.dat"});
  EXPECT_EQ(remembered.paths(), (std::vector<std::string>{"/a.dat", "/b.dat", "/c.dat"}));
  EXPECT_EQ(recentMenuText(0, "/games/Ham & Eggs.dat"), "&1 Ham && Eggs.dat");
  EXPECT_EQ(recentMenuText(7, "C:\\GAME\\SAVE01.DAT"), "&8 SAVE01.DAT");
  EXPECT_EQ(groupedNumber(6412), "6,412");
  EXPECT_EQ(groupedNumber(1234567), "1,234,567");
  EXPECT_EQ(groupedNumber(999), "999");
}

TEST_F(FileWorkflowTest, RecentFilesFollowLoadsAndSavesAndLoseMissingFiles) {
  const std::string a = write("a.dat", sample(GameFileKind::Vn3));
  const std::string b = write("b.dat", sample(GameFileKind::V11));
  ASSERT_TRUE(openGameFile(session, a));
  prompts.chooserAnswers.push_back(b);
  ASSERT_TRUE(loadGame(session, GameFileKind::V11));  // a generation's own load counts too
  EXPECT_EQ(files.recent().paths(), (std::vector<std::string>{b, a}));

  ASSERT_TRUE(openRecentFile(session, files, 1));
  EXPECT_EQ(session.model.currentPath, a);
  EXPECT_EQ(files.recent().paths(), (std::vector<std::string>{a, b}));

  fs::remove(b);
  EXPECT_FALSE(openRecentFile(session, files, 1));
  EXPECT_EQ(prompts.lastTitle(), "Warning");
  EXPECT_EQ(prompts.lastText(), b + " no longer exists: it is taken off the recent files.");
  EXPECT_EQ(files.recent().paths(), (std::vector<std::string>{a}));
  EXPECT_EQ(session.model.currentPath, a);
  EXPECT_FALSE(openRecentFile(session, files, 5));
}

// The command-line tools keep no recent files and make no backups.
TEST(NoFileWorkflow, SavesMakeNoBackup) {
  testing::TestDir tmp("tarnel_fw_none");
  testing::ScriptedPrompts prompts;
  Session session(prompts);
  const std::string game = (tmp.path() / "g.dat").string();
  ASSERT_TRUE(writeFileSafely(game, sample(GameFileKind::V11)));
  ASSERT_TRUE(loadGameFile(session, game));
  ASSERT_TRUE(saveGame(session, GameFileKind::V11, &game));
  EXPECT_FALSE(fs::exists(game + ".bak"));
}

}  // namespace
}  // namespace tarnel

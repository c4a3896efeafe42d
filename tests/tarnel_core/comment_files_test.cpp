// Comment files: the name beside a game file, the 200-byte format, the load
// and save commands, and the comment a game load leaves behind.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstring>
#include <filesystem>

#include "common/file_io.h"
#include "game_sample.h"
#include "mainwindow/main_commands.h"
#include "model/comment.h"
#include "sidefiles/comment_files.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes bytesOf(std::string_view text, std::size_t size = 0) {
  Bytes b(text.begin(), text.end());
  if (size) b.resize(size, 0);
  return b;
}

TEST(CommentFileName, ReplacesTheLastExtensionOfTheFileName) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\G\\V1.1\\game01.dat", "C:\\G\\V1.1\\game01.cmt"},  // the last dot counts
      {"x.data", "xa.cmt"},                                    // four characters from the dot
      {"/games/scen01", "/games/scen01.cmt"},                  // no dot at all
      {"/games.old/scen", "/games.old/scen.cmt"},              // nor one of a directory
      {"a.b", "a.cmt"},
  };
  for (const auto& [game, comment] : cases) EXPECT_EQ(commentFileName(game), comment) << game;
}

class CommentFiles : public ::testing::Test {
 protected:
  testing::TestDir tmp{"tarnel_cmt"};
  testing::ScriptedPrompts prompts;
  Session session{prompts};

  std::string path(const std::string& name) const { return (tmp.path() / name).string(); }
  bool save(const std::string& memo, const std::string& name) {
    prompts.saveAnswers.push_back(path(name));
    return saveCommentFile(session, memo);
  }
  bool load(const std::string& name) {
    prompts.openAnswers.push_back(path(name));
    return loadCommentFile(session);
  }
  Bytes file(const std::string& name) { return common::readFileBytes(path(name)).value_or(Bytes{}); }
};

TEST_F(CommentFiles, SaveWritesTwoHundredBytesAndLoadTakesAtMost199) {
  std::string long250;
  for (int k = 0; k < 250; ++k) long250 += static_cast<char>('a' + k % 26);
  const struct {
    std::string memo;
    Bytes file;
    std::string loaded;
    std::size_t messages;  // characters Windows-1252 cannot hold are told once
  } cases[] = {
      {long250, bytesOf(long250.substr(0, 200)), long250.substr(0, 199), 0},
      {"", Bytes(200, 0), "", 0},
      {"two\nlines caf\xC3\xA9", bytesOf("two\r\nlines caf\xE9", 200), "two\r\nlines caf\xE9", 0},
      {"\xCE\xB1 \xE2\x82\xAC \xE4\xB8\xAD", bytesOf("? \x80 ?", 200), "? \x80 ?", 1},  // alpha, euro, CJK
  };
  for (const auto& c : cases) {
    prompts.messages.clear();
    ASSERT_TRUE(save(c.memo, "c.cmt"));
    EXPECT_EQ(file("c.cmt"), c.file);
    EXPECT_EQ(prompts.messages.size(), c.messages);
    ASSERT_TRUE(load("c.cmt"));
    EXPECT_EQ(session.model.commentText(), c.loaded);
  }
  EXPECT_EQ(prompts.lastTitle(), "Warning");
  ASSERT_TRUE(common::writeFileSafely(path("ten.cmt"), bytesOf("0123456789")));
  ASSERT_TRUE(load("ten.cmt"));
  EXPECT_EQ(session.model.commentText(), "0123456789");
  EXPECT_EQ(commentMemoText("a\r\nb\rc"), "a\nb\nc");
}

TEST_F(CommentFiles, DialogsProposeTheCommentOfTheCurrentGame) {
  session.OpenDialog1.title = "left by another command";
  EXPECT_FALSE(loadCommentFile(session));  // cancelled
  EXPECT_EQ(prompts.openSeen.at(0).fileName, "scen000.cmt");
  EXPECT_EQ(prompts.openSeen[0].filter, "Comment files (*.cmt)|*.cmt|All Files (*.*) |*.*");
  EXPECT_EQ(prompts.openSeen[0].title, "left by another command");
  session.model.currentPath = path("game01.dat");
  EXPECT_FALSE(saveCommentFile(session, "cancelled"));
  const FileDialogState& d = prompts.saveSeen.at(0);
  EXPECT_EQ(d.fileName + d.title + d.defaultExt + d.filter,
            path("game01.cmt") + "Save Comment File.cmt" + prompts.openSeen[0].filter);
}

TEST_F(CommentFiles, FailuresAreReportedAndChangeNothing) {
  std::strcpy(session.model.comment.data(), "kept");
  EXPECT_FALSE(load("missing.cmt"));
#ifdef _WIN32
  EXPECT_FALSE(load("CON.cmt"));  // a device: refused at once, never read
#else
  ASSERT_EQ(::mkfifo(path("pipe.cmt").c_str(), 0600), 0);
  EXPECT_FALSE(load("pipe.cmt"));  // refused at once, never waited on
#endif
  EXPECT_FALSE(save("text", "no/such/dir/c.cmt"));
  std::vector<std::string> shown;
  for (const auto& m : prompts.messages) shown.push_back(m.title + ": " + m.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"Error: Could not open Comment file", "Error: Could not open Comment file",
                                             "Error: Could not open new Comment file"}));
  EXPECT_EQ(session.model.commentText(), "kept");
}

class MemoView : public SessionView {
 public:
  std::vector<std::string> memos;
  void setCommentMemo(const std::string& text) override { memos.push_back(text); }
};

// A game load that found no comment file kept the previous game's comment in
// the buffer, and the version 1.1 and VN3 loads left the comment window's
// text alone, so that "Save Comment File" wrote one game's comment beside
// another. Every load now empties both.
TEST_F(CommentFiles, AGameLoadWithoutCommentFileEmptiesTheBufferAndTheWindow) {
  MemoView view;
  session.setView(&view);
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3}) {
    view.memos.clear();
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 4;
    for (const char* name : {"with.dat", "without.dat"})
      ASSERT_TRUE(common::writeFileSafely(path(name), samplegen::makeGameFile(o)));
    ASSERT_TRUE(common::writeFileSafely(path("with.cmt"), bytesOf("Hello")));
    for (const char* name : {"with.dat", "without.dat"}) {
      prompts.chooserAnswers.push_back(path(name));
      loadGame(session, kind);
    }
    EXPECT_EQ(session.model.commentText(), "") << static_cast<int>(kind);
    EXPECT_EQ(view.memos, (std::vector<std::string>{"Hello", ""}));
  }
  session.setView(nullptr);
}

}  // namespace
}  // namespace tarnel

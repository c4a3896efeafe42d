#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/test_dir.h"

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

// A write through a symbolic link replaces the file the link points to and
// leaves the link a link, whatever shape the link has.
TEST(SafeWrite, ThroughSymbolicLinksTheTargetGetsTheBytes) {
  tarnel::testing::TestDir dir("safe_write_links");
  const fs::path d = dir.path();
  fs::create_directories(d / "real");
  writeText(d / "real/game.dat", "old");
  ::chmod((d / "real/game.dat").c_str(), 0640);
  fs::create_symlink("real/game.dat", d / "relative.dat");
  fs::create_symlink(d / "real/game.dat", d / "absolute.dat");
  fs::create_symlink("relative.dat", d / "chain.dat");
  fs::create_symlink("real/new.dat", d / "dangling.dat");

  struct Case {
    const char* link;
    fs::path target;
  };
  for (const Case& c : {Case{"relative.dat", d / "real/game.dat"}, Case{"absolute.dat", d / "real/game.dat"},
                        Case{"chain.dat", d / "real/game.dat"}, Case{"dangling.dat", d / "real/new.dat"}}) {
    const std::string text = std::string("saved through ") + c.link;
    ASSERT_TRUE(common::writeFileSafely((d / c.link).string(), text)) << c.link;
    EXPECT_TRUE(fs::is_symlink(d / c.link)) << c.link;
    EXPECT_EQ(readText(c.target), text) << c.link;
  }
  EXPECT_EQ(fs::status(d / "real/game.dat").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // Nothing but the two files is left in the target's folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(d / "real"), {}), 2);
}

TEST(SafeWrite, ALinkLoopIsRefusedAndChangesNothing) {
  tarnel::testing::TestDir dir("safe_write_loop");
  const fs::path d = dir.path();
  fs::create_symlink("b", d / "a");
  fs::create_symlink("a", d / "b");
  EXPECT_FALSE(common::writeFileSafely((d / "a").string(), std::string("x")));
  EXPECT_TRUE(fs::is_symlink(d / "a"));
  EXPECT_EQ(std::distance(fs::directory_iterator(d), {}), 2);
}

}  // namespace

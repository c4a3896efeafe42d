#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A named pipe, a device or a directory is refused before a byte is read,
// and the open never waits for a writer at the pipe's other end.
TEST(Readers, OpenOnlyRegularFilesAndNeverWait) {
  tarnel::testing::TestDir dir("readers_regular");
  const fs::path fifo = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ::alarm(20);  // a reader that waited on the pipe would end the test here
  for (const fs::path& p : {fifo, fs::path("/dev/zero"), fs::path("/dev/null"), dir.path()}) {
    common::RegularFile file;
    EXPECT_FALSE(file.open(p.string())) << p;
    EXPECT_FALSE(common::readFileBytes(p.string())) << p;
    EXPECT_FALSE(common::regularFileSize(p.string())) << p;
  }
  ::alarm(0);

  writeText(dir.path() / "data", "0123456789");
  common::RegularFile file;
  ASSERT_TRUE(file.open((dir.path() / "data").string()));
  std::uint8_t buffer[8];
  EXPECT_EQ(file.readAt(7, buffer, 8), 3u);
  EXPECT_EQ(file.read(buffer, 4) + file.read(buffer, 8) + file.read(buffer, 8), 10u);
  EXPECT_EQ(buffer[5], '9');
  EXPECT_EQ(common::readFileBytes((dir.path() / "data").string(), 4)->size(), 4u);
}

}  // namespace

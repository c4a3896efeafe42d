#include "common/file_io.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "support/test_dir.h"

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

#ifndef _WIN32
// Symbolic links, named pipes and devices of a POSIX system; the Windows
// counterparts are in file_io_portable_test.cpp.

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
}
#endif

TEST(Readers, ReadPiecesAtAnyPosition) {
  tarnel::testing::TestDir dir("readers_pieces");
  writeText(dir.path() / "data", "0123456789");
  common::RegularFile file;
  ASSERT_TRUE(file.open((dir.path() / "data").string()));
  std::uint8_t buffer[8];
  EXPECT_EQ(file.readAt(7, buffer, 8), 3u);
  EXPECT_EQ(file.read(buffer, 4) + file.read(buffer, 8) + file.read(buffer, 8), 10u);
  EXPECT_EQ(buffer[5], '9');
  EXPECT_EQ(common::readFileBytes((dir.path() / "data").string(), 4)->size(), 4u);
}

// Ends the test program when a test runs longer than it may: a reader that
// waits for input would otherwise hang the whole run.
class Watchdog {
 public:
  explicit Watchdog(int seconds)
      : thread_([this, seconds] {
          std::unique_lock lock(mutex_);
          if (!done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; })) {
            std::fprintf(stderr, "a file helper waited for input\n");
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

std::size_t entries(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// Names Windows keeps for devices in every folder, in the shapes that reach
// the device there. On Windows each is refused before it is opened (a read
// from CON or COM1 would wait for input); elsewhere they are ordinary names of
// files that do not exist. Either way nothing is read and nothing waits.
TEST(DeviceNames, AreNeverReadAndNeverWaitedOn) {
  tarnel::testing::TestDir dir("device_names");
  Watchdog watchdog(20);
  std::vector<std::string> paths = {"CON", "NUL", "COM1", "conin$", "CON:", "COM1:"};
  for (const char* name : {"CON", "con.dat", "Nul.txt", "NUL", "COM1", "com1.dat", "AUX", "PRN", "LPT1", "CON .cmt",
                           "CONOUT$", "NUL:", "COM1:", "com1:.tmp-00ab12"})
    paths.push_back((dir.path() / name).string());
#ifdef _WIN32
  paths.push_back("\\\\.\\NUL");
  paths.push_back("\\\\.\\COM1");
#endif
  for (const std::string& p : paths) {
    common::RegularFile file;
    EXPECT_FALSE(file.open(p)) << p;
    EXPECT_FALSE(common::readFileBytes(p)) << p;
    EXPECT_FALSE(common::regularFileSize(p)) << p;
#ifdef _WIN32
    // Nor is a device written to: a save there would vanish or wait.
    EXPECT_FALSE(common::writeFileSafely(p, std::string("x"))) << p;
#endif
  }
  EXPECT_EQ(entries(dir.path()), 0u);
}

TEST(DeviceNames, WhatWindowsTakesForADevice) {
  for (const char* device : {"CON", "con", "NUL", "nul.txt", "C:\\games\\Aux.dat", "dir/PRN", "COM1", "com9.dat",
                             "LPT1", "LPT0", "COM\u00B9", "CON .cmt", "CON.tar.gz", "CONIN$", "conout$", "CLOCK$",
                             "\\\\.\\PhysicalDrive0", "//./pipe/x", "\\\\?\\GLOBALROOT\\Device\\Null", "C:NUL",
                             "CON:", "NUL:", "COM1:", "lpt2:", "C:\\games\\COM1:", "C:\\games\\COM1:.tmp-00ab12",
                             "dir/AUX:stream", "CON :", "c:con:", "NUL.dat:x"})
    EXPECT_TRUE(common::isWindowsDeviceName(device)) << device;
  for (const char* file : {"", "CONS", "CON1", "ACON", "COM", "COM10", "LPTX", "NULL.dat", "con_1.dat", "dir.CON/game",
                           "NUL/", "C:\\NUL\\x.dat", "\\\\?\\C:\\game.dat", "\u00DCbung.dat",
                           "game.dat:CON", "C:", "C:game.dat", "COM1x:", "CON:/x.dat", ":", "C:\\COM10:"})
    EXPECT_FALSE(common::isWindowsDeviceName(file)) << file;
}

// A failed save leaves what was there as it was and no temporary file.
TEST(SafeWrite, AFolderInTheWayStays) {
  tarnel::testing::TestDir dir("safe_write_folder");
  const fs::path target = dir.path() / "out.dat";
  fs::create_directories(target);
  writeText(target / "kept.dat", "kept");
  EXPECT_FALSE(common::writeFileSafely(target.string(), std::string("new")));
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(readText(target / "kept.dat"), "kept");
  EXPECT_EQ(entries(dir.path()), 1u);
}

// Windows does not replace a file marked read-only, and nor does a save;
// a POSIX system replaces it when its folder may be written, keeping the
// file's permissions.
TEST(SafeWrite, AReadOnlyFile) {
  tarnel::testing::TestDir dir("safe_write_read_only");
  const fs::path target = dir.path() / "game.dat";
  writeText(target, "old");
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(target, readOnly);
  const bool saved = common::writeFileSafely(target.string(), std::string("new"));
#ifdef _WIN32
  EXPECT_FALSE(saved);
  EXPECT_EQ(readText(target), "old");
#else
  EXPECT_TRUE(saved);
  EXPECT_EQ(readText(target), "new");
#endif
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, readOnly);
  EXPECT_EQ(entries(dir.path()), 1u);
  fs::permissions(target, fs::perms::owner_all);
}

// Paths are UTF-8 texts: a name beyond ASCII is written, read, listed and
// split under the same characters (on Windows through wide-character names).
TEST(Utf8Paths, NamesBeyondAsciiKeepTheirCharacters) {
  tarnel::testing::TestDir dir("utf8_paths");
  const std::string folder = common::utf8FromPath(dir.path());
  for (const std::string name : {"Übung Ærø.dat", "日本語.cmt", "Größe €½.csv"}) {
    const std::string path = folder + "/" + name;
    ASSERT_TRUE(common::writeFileSafely(path, name)) << name;
    const auto bytes = common::readFileBytes(path);
    ASSERT_TRUE(bytes) << name;
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), name);
    EXPECT_EQ(common::directoryOf(path), folder);
    EXPECT_TRUE(fs::is_regular_file(common::pathFromUtf8(path))) << name;
    EXPECT_EQ(common::utf8FromPath(common::pathFromUtf8(path)), path);
  }
  std::vector<std::string> listed;
  for (const auto& e : fs::directory_iterator(dir.path())) listed.push_back(common::utf8FromPath(e.path().filename()));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"Größe €½.csv", "Übung Ærø.dat", "日本語.cmt"}));
}

}  // namespace

// The game-file chooser's logic: which files are listed and how, the mask
// button, OK, and the places of the drive selector.
#include "mainwindow/file_chooser.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "common/file_io.h"
#include "gamefiles/section_stream.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes headOf(std::string_view magic) {
  Bytes b = bytesOf(magic);
  b.resize(40, 0);
  return b;
}

TEST(ChooserNames, MaskAndCandidateTestsIgnoreLetterCase) {
  const struct {
    const char* mask;
    const char* name;
    bool matches, candidate;
  } cases[] = {
      {"*.dat", "SAVE01.DAT", true, true},       {"*.dat", "scen001.dat", true, true},
      {"*.dat", "MYSCEN.DAT", true, false},      {"*.dat", "save01.dat.bak", false, false},
      {"*.dat", "SAVE01.DATA", false, false},    {"*.*", "README", true, false},
      {"*.dat;*.cmt", "a.cmt", true, false},     {"save??.dat", "SAVE1.DAT", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(maskMatches(c.mask, c.name), c.matches) << c.mask << " " << c.name;
    EXPECT_EQ(isGameFileCandidate(c.name), c.candidate) << c.name;
  }
}

TEST(ChooserPreview, SuffixMarksTheFilesOfTheGenerationBeingLoaded) {
  const Bytes v11 = headOf(kMagicV11), vn3 = headOf(kMagicVn3), plain(40, 7);
  const struct {
    GameFileKind generation;
    const Bytes* head;
    const char* suffix;
  } cases[] = {
      {GameFileKind::V10, &plain, " -> *-> "}, {GameFileKind::V10, &v11, " -> "}, {GameFileKind::V10, &vn3, " -> "},
      {GameFileKind::V11, &v11, " -> *-> "},   {GameFileKind::V11, &vn3, " -> "}, {GameFileKind::Vn3, &vn3, " -> *-> "},
      {GameFileKind::Vn3, &v11, " -> "},
  };
  for (const auto& c : cases) EXPECT_EQ(previewSuffix(*c.head, c.generation), c.suffix);
  EXPECT_EQ(commentPreview(bytesOf(std::string_view("Hi\r\nyou\tall\0not", 15))), "Hi you all");
  EXPECT_EQ(commentPreview(Bytes(300, 'x')).size(), 255u);
}

#ifndef _WIN32
// A mount table is a POSIX system's matter; on Windows the drives are the places.
TEST(ChooserPlaces, DriveSelectorOffersRootHomeAndMediaMounts) {
  const char* mounts =
      "/dev/sda2 / ext4 rw 0 0\nproc /proc proc rw 0 0\n/dev/sda1 /boot/efi vfat rw 0 0\n"
      "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n/dev/sr0 /run/media/ann/CD ro 0 0\n"
      "/dev/sdc1 /mnt/data ext4 rw 0 0\n";
  const Texts places = driveChoices(mounts, "/home/ann/");
  EXPECT_EQ(places, (Texts{"/", "/home/ann", "/media/ann/USB STICK", "/mnt/data", "/run/media/ann/CD"}));
  EXPECT_EQ(driveOf(places, "/home/ann/games"), 1u);
  EXPECT_EQ(driveOf(places, "/home/anna"), 0u);  // not inside /home/ann
}
#endif

class Chooser : public ::testing::Test {
 protected:
  testing::TestDir tmp{"tarnel_fc"};
  FileChooser chooser{tmp.path().string()};

  void write(const std::string& name, const Bytes& bytes) {
    ASSERT_TRUE(common::writeFileSafely(at(name), bytes));
  }
  // In the system's own separators, as the chooser gives its directory.
  std::string at(const std::string& name) const { return (tmp.path() / name).make_preferred().string(); }
  Texts open(GameFileKind generation) {
    chooser.mask = "*.dat";
    chooser.generation = generation;
    chooser.FormActivate();
    return texts();
  }
  Texts texts() const {
    Texts t;
    for (const auto& item : chooser.items()) t.push_back(item.text);
    return t;
  }
  std::string ok(const std::string& field, bool select) {
    chooser.fileNameEdit = field;
    for (std::size_t k = 0; select && k < chooser.items().size(); ++k)
      if (chooser.items()[k].text == field) chooser.FileListChange(static_cast<int>(k));
    return chooser.OKBtnClick();
  }
};

TEST_F(Chooser, ListsMatchingFilesWithTheirPreview) {
  write("SAVE01.DAT", headOf(kMagicVn3));
  write("SAVE01.cmt", bytesOf("Hello"));
  write("SAVE02.DAT", headOf(kMagicV11));
  write("SAVE02.CMT", bytesOf("not SAVE02.cmt on this file system"));
  write("MYSCEN.DAT", Bytes(100, 1));
  write("MYSCEN.cmt", bytesOf("Hello"));
  write("scen001.dat", Bytes(100, 1));
  write("notes.txt", bytesOf("x"));
  write(".hidden.dat", bytesOf("x"));
  std::filesystem::create_directory(at("sub.dat"));
  // Where names are case-blind (Windows), SAVE02.CMT is SAVE02.DAT's comment file.
  const std::string save02 =
      std::string("SAVE02.DAT -> ") + (std::filesystem::exists(at("save02.cmt")) ? "not SAVE02.cmt on this file system" : "");
  EXPECT_EQ(open(GameFileKind::Vn3),
            (Texts{"MYSCEN.DATHello", "SAVE01.DAT -> *-> Hello", save02, "scen001.dat -> "}));
  EXPECT_EQ(open(GameFileKind::V10),
            (Texts{"MYSCEN.DATHello", "SAVE01.DAT -> Hello", save02, "scen001.dat -> *-> "}));

  // The mask button: its caption names the list the next press shows.
  const std::pair<const char*, Texts> steps[] = {
      {"*.dat", {"MYSCEN.cmt", "MYSCEN.DAT", "notes.txt", "SAVE01.cmt", "SAVE01.DAT", "SAVE02.CMT", "SAVE02.DAT",
                 "scen001.dat"}},
      {"*.*", {"MYSCEN.DATHello", "SAVE01.DAT -> Hello", save02, "scen001.dat -> *-> "}},
  };
  EXPECT_EQ(chooser.maskBtnCaption(), "All (*.*)");
  for (int round = 0; round < 2; ++round)
    for (const auto& [caption, list] : steps) {
      chooser.MaskBtnClick();
      EXPECT_EQ(chooser.maskBtnCaption(), caption);
      EXPECT_EQ(texts(), list);
    }
}

TEST_F(Chooser, OkTakesTheFileOfTheChosenItem) {
  write("SAVE01.DAT", headOf(kMagicVn3));
  write("SAVE01.cmt", bytesOf("Hello"));
  write("my.file.dat", Bytes(10, 1));
  open(GameFileKind::Vn3);
  EXPECT_EQ(ok("SAVE01.DAT -> *-> Hello", true), at("SAVE01.DAT"));
  EXPECT_EQ(chooser.fileNameEdit, at("SAVE01.DAT"));
  // OK cut the field after its first "." and three characters, so a chosen
  // my.file.dat became my.fil. Now only a name that leads nowhere is cut.
  const struct {
    const char* field;
    bool select;
    const char* file;
  } cases[] = {
      {"my.file.dat", true, "my.file.dat"},      {"my.file.dat", false, "my.file.dat"},
      {"other.file.dat", false, "other.fil"},    {"SAVE09.DAT -> *-> gone", false, "SAVE09.DAT"},
      {"README", false, "README"},
  };
  for (const auto& c : cases) EXPECT_EQ(ok(c.field, c.select), at(c.file)) << c.field;
  EXPECT_EQ(ok(at("my.file.dat"), false), at("my.file.dat"));
}

TEST_F(Chooser, OkOnAFolderOpensIt) {
  std::filesystem::create_directories(at("games/old"));
  write("games/SAVE03.DAT", headOf(kMagicVn3));
  write("SAVE01.DAT", headOf(kMagicVn3));
  open(GameFileKind::Vn3);
  const struct {
    std::string field;
    std::string directory;  // "" : not a folder, OK takes it as a file
  } cases[] = {
      {"games", at("games")},
      {"old", at("games/old")},
      {"..", at("games")},
      {at("games"), at("games")},
      {"SAVE03.DAT -> *-> ", ""},
      {"missing", ""},
  };
  for (const auto& c : cases) {
    chooser.fileNameEdit = c.field;
    const std::string before = chooser.directory();
    EXPECT_EQ(chooser.enterTypedFolder(), !c.directory.empty()) << c.field;
    EXPECT_EQ(chooser.directory(), c.directory.empty() ? before : c.directory) << c.field;
    if (!c.directory.empty()) {
      EXPECT_EQ(chooser.fileNameEdit, "") << c.field;
    }
  }
  EXPECT_EQ(texts(), Texts{"SAVE03.DAT -> *-> "});
}

#ifndef _WIN32
TEST_F(Chooser, NamedPipesAreListedButNeverOpened) {
  ASSERT_EQ(::mkfifo(at("SAVE01.DAT").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(at("SAVE02.cmt").c_str(), 0600), 0);
  write("SAVE02.DAT", headOf(kMagicVn3));
  ::alarm(10);  // a listing that waits on a pipe ends the test program
  EXPECT_EQ(open(GameFileKind::Vn3), (Texts{"SAVE01.DAT", "SAVE02.DAT -> *-> "}));
  ::alarm(0);
}
#endif

}  // namespace
}  // namespace tarnel

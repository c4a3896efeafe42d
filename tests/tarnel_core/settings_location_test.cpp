// Where Tarnel keeps its settings: portable.ini beside the program, when that
// is a file, else the system's store.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "mainwindow/settings_location.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;

enum class Beside { Nothing, File, Folder, OtherName, Link, BrokenLink };

struct LocationCase {
  const char* name;
  const char* programDir;  // below the test's directory
  Beside beside;
  bool trailingSlash;
  bool portable;
};

class SettingsLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocation, PortableOnlyWithAFileNamedPortableIni) {
  const LocationCase& c = GetParam();
  testing::TestDir root("settings_location");
  const std::string dir = common::utf8FromPath(root.path()) + "/" + c.programDir;
  const fs::path folder = common::pathFromUtf8(dir);
  fs::create_directories(folder);
  const fs::path ini = folder / kPortableSettingsName;
  switch (c.beside) {
    case Beside::Nothing: break;
    case Beside::File: ASSERT_TRUE(common::writeFileSafely(dir + "/portable.ini", std::string_view())); break;
    case Beside::Folder: fs::create_directory(ini); break;
    // Explorer hides known extensions: a "portable.ini" made there as a text
    // file is portable.ini.txt, which does not count.
    case Beside::OtherName:
      ASSERT_TRUE(common::writeFileSafely(dir + "/portable.ini.txt", std::string_view()));
      break;
    case Beside::Link:
      ASSERT_TRUE(common::writeFileSafely(dir + "/settings.ini", std::string_view("[General]\n")));
      fs::create_symlink("settings.ini", ini);
      break;
    case Beside::BrokenLink: fs::create_symlink("gone.ini", ini); break;
  }
  const std::string found = portableSettingsFile(c.trailingSlash ? dir + "/" : dir);
  if (c.portable) {
    EXPECT_EQ(found, dir + "/portable.ini");
  } else {
    EXPECT_EQ(found, "");
  }
}

const LocationCase kCases[] = {
    {"NothingBeside", "bin", Beside::Nothing, false, false},
    {"IniFile", "bin", Beside::File, false, true},
    {"IniFileTrailingSlash", "bin", Beside::File, true, true},
    {"IniFileBeyondAscii", "Spiele \xc3\xbc\xc3\xb1", Beside::File, false, true},
    {"FolderNamedIni", "bin", Beside::Folder, false, false},
    {"TextFileWithHiddenExtension", "bin", Beside::OtherName, false, false},
#ifndef _WIN32
    // Links (Wine cannot make them from the program's side).
    {"LinkToAFile", "bin", Beside::Link, false, true},
    {"BrokenLink", "bin", Beside::BrokenLink, false, false},
#endif
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsLocation, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace tarnel

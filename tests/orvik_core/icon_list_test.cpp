#include "icon_list.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "orvik_test_files.h"

namespace {

using namespace orvik;
using orvik_test::readText;
using orvik_test::TempDir;

const std::string kHeaderTail =
    ";Comments start with a semi-colon ;\r\n"
    ";Icon,   Body,,    Turret\r\n"
    "; #, File, Icon#, File, Icon#\r\n";

TEST(IconList, HeaderNamesTheEdition) {
  EXPECT_EQ(iconListHeader("VN2"), ";This is a Orvik file of icons for VN2\r\n" + kHeaderTail);
  EXPECT_EQ(iconListHeader(""), ";This is a Orvik file of icons for \r\n" + kHeaderTail);
}

TEST(IconList, EntryLines) {
  EXPECT_EQ(iconListLine(5, {1203, 1305}), "   5,   12,    4,   13,    6\r\n");
  EXPECT_EQ(iconListLine(6, {1203, -1}), "   6,   12,    4,   -1,   -1\r\n");
  EXPECT_EQ(iconListLine(7, {1203, -300}), "   7,   12,    4,   -1,   -1\r\n");
  EXPECT_EQ(iconListLine(8, {42, 0}), "   8,    0,   43,    0,    1\r\n");
  EXPECT_EQ(iconListLine(749, {-257, 0}), " 749,   -2,  -56,    0,    1\r\n");
}

TEST(IconList, BeforeAnyLoadTheTableIsZero) {
  const EntryTable table{};
  EXPECT_EQ(iconListText("", table, 2), iconListHeader("") +
                                            "   0,    0,    1,    0,    1\r\n"
                                            "   1,    0,    1,    0,    1\r\n");
}

TEST(IconList, CountIsBoundedByTheTable) {
  EntryTable table{};
  table[749] = {100, -1};
  EXPECT_EQ(iconListText("VN1", table, 0), iconListHeader("VN1"));
  EXPECT_EQ(iconListText("VN1", table, -5), iconListHeader("VN1"));
  const std::string all = iconListText("VN3", table, 751);
  EXPECT_EQ(all.size(), iconListHeader("VN3").size() + 750 * 30);
  EXPECT_TRUE(all.ends_with(" 749,    1,    1,   -1,   -1\r\n"));
}

TEST(SaveTextFile, ReplacesTheFileWhole) {
  TempDir dir;
  const std::string path = dir.file("VN1IL.CSV");
  ASSERT_TRUE(saveTextFile(path, std::string(5000, 'x')));
  ASSERT_TRUE(saveTextFile(path, "short\r\n"));
  EXPECT_EQ(readText(path), "short\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")), {}), 1);
}

TEST(SaveTextFile, UnwritablePlaceLeavesTheOldFile) {
  TempDir dir;
  EXPECT_FALSE(saveTextFile(dir.file("no/such/folder/out.csv"), "x"));
  // A folder in the way of the name is not replaced.
  std::filesystem::create_directory(dir.file("taken.csv"));
  EXPECT_FALSE(saveTextFile(dir.file("taken.csv"), "x"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.csv")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("taken.csv.orvik-tmp")));
}

}  // namespace

#include "icon_list.h"

#include "common/file_io.h"

#include "orvik_test_files.h"

namespace {

using namespace orvik;

TEST(OrvikIconList, LinesAndCountBoundedByTheTable) {
  EXPECT_EQ(iconListHeader(""),
            ";This is a Orvik file of icons for \r\n;Comments start with a semi-colon ;\r\n"
            ";Icon,   Body,,    Turret\r\n; #, File, Icon#, File, Icon#\r\n");
  EXPECT_EQ(iconListLine(5, {1203, 1305}), "   5,   12,    4,   13,    6\r\n");
  EXPECT_EQ(iconListLine(6, {1203, -1}), "   6,   12,    4,   -1,   -1\r\n");
  EXPECT_EQ(iconListLine(749, {-257, 0}), " 749,   -2,  -56,    0,    1\r\n");

  EntryTable table{};  // as before any Load
  table[749] = {100, -1};
  EXPECT_EQ(iconListText("VN1", table, 1), iconListHeader("VN1") + "   0,    0,    1,    0,    1\r\n");
  EXPECT_EQ(iconListText("VN1", table, -5), iconListHeader("VN1"));
  const std::string all = iconListText("VN3", table, 751);
  EXPECT_EQ(all.size(), iconListHeader("VN3").size() + 750 * 30);
  EXPECT_TRUE(all.ends_with(" 749,    1,    1,   -1,   -1\r\n"));
}

TEST(OrvikIconList, SaveReplacesWholeOrLeavesTheOldFile) {
  orvik_test::TempDir dir;
  ASSERT_TRUE(common::writeFileSafely(dir.file("a.csv"), std::string(5000, 'x')));
  ASSERT_TRUE(common::writeFileSafely(dir.file("a.csv"), "short\r\n"));
  EXPECT_EQ(dir.read("a.csv"), "short\r\n");
  EXPECT_FALSE(common::writeFileSafely(dir.file("no/folder/out.csv"), "x"));
  std::filesystem::create_directory(dir.file("taken.csv"));
  EXPECT_FALSE(common::writeFileSafely(dir.file("taken.csv"), "x"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2);  // no temporary left
}

}  // namespace

#include "extractor.h"

#include <gtest/gtest.h>

#include "int_convert.h"
#include "orvik_test_files.h"

namespace {

using namespace orvik;
using orvik_test::Bytes;
using orvik_test::exeWith;
using orvik_test::kVn1Bytes;
using orvik_test::TempDir;
using orvik_test::writeBytes;

constexpr const char* kVn1Text = "D400D700DA00DD (VN1)";

class ExtractorTest : public ::testing::Test {
 protected:
  std::string exe(const Bytes& bytes) {
    writeBytes(dir.file("game.exe"), bytes);
    return dir.file("game.exe");
  }
  TempDir dir;
  Extractor ex;
};

TEST_F(ExtractorTest, HeadingsBeforeAnyLoadAndEmptyEntryRows) {
  EXPECT_EQ(ex.cell(0, 0), "Graphic");
  EXPECT_EQ(ex.cell(1, 0), "    #");
  EXPECT_EQ(ex.cell(0, 3), " Turret");
  EXPECT_EQ(ex.cell(1, 4), "   Icon");
  EXPECT_EQ(ex.cell(0, 8), " Byte");
  EXPECT_EQ(ex.cell(1, 8), "    3");
  EXPECT_EQ(ex.cell(2, 0), "");
  EXPECT_EQ(ex.cell(kGridRows - 1, 8), "");
  EXPECT_EQ(ex.edition(), "");
  EXPECT_EQ(ex.saveName(), "");
}

TEST_F(ExtractorTest, SearchesOnlyTheLast40000Bytes) {
  const std::size_t size = 100000;
  EXPECT_TRUE(ex.search(exe(exeWith(size, size - 40000, kVn1Bytes)), kVn1Text));
  EXPECT_EQ(ex.address(), 60000);
  EXPECT_TRUE(ex.found());
  EXPECT_EQ(ex.edition(), "VN1");
  EXPECT_EQ(ex.entryCount(), 255);
  EXPECT_EQ(ex.saveName(), "VN1IL.CSV");

  EXPECT_TRUE(ex.search(exe(exeWith(size, size - 40001, kVn1Bytes)), kVn1Text));
  EXPECT_EQ(ex.address(), static_cast<std::int64_t>(size) + 1);
  EXPECT_FALSE(ex.found());
}

TEST_F(ExtractorTest, ShortExecutableIsSearchedFromItsStart) {
  EXPECT_TRUE(ex.search(exe(exeWith(1000, 0, kVn1Bytes)), kVn1Text));
  EXPECT_EQ(ex.address(), 0);
}

TEST_F(ExtractorTest, LowerCaseTextDoesNotMatch) {
  const std::string path = exe(exeWith(50000, 30000, kVn1Bytes));
  EXPECT_TRUE(ex.search(path, "d400d700da00dd"));
  EXPECT_FALSE(ex.found());
  EXPECT_EQ(ex.address(), 50001);
}

TEST_F(ExtractorTest, EditionFromWhereTheTableWasFound) {
  for (auto [at, name, entries] : {std::tuple{1249999, "VN1", 255}, std::tuple{1250000, "VN2", 500},
                                   std::tuple{1600000, "VN3", 750}}) {
    EXPECT_TRUE(ex.search(exe(exeWith(static_cast<std::size_t>(at) + 30000, static_cast<std::size_t>(at), kVn1Bytes)),
                          kVn1Text));
    EXPECT_EQ(ex.address(), at);
    EXPECT_EQ(ex.edition(), name);
    EXPECT_EQ(ex.entryCount(), entries);
  }
}

TEST_F(ExtractorTest, SearchAgainFindsTheNextMatchAndKeepsTheEdition) {
  Bytes bytes = exeWith(50000, 20000, kVn1Bytes);
  std::copy(kVn1Bytes.begin(), kVn1Bytes.end(), bytes.begin() + 30000);
  const std::string path = exe(bytes);
  ASSERT_TRUE(ex.search(path, kVn1Text));
  EXPECT_EQ(ex.address(), 20000);
  EXPECT_EQ(ex.searchAgain(path, kVn1Text, addressText(ex.address())), 30000);
  // None further: the not-found position of the scan.
  EXPECT_EQ(ex.searchAgain(path, kVn1Text, addressText(30000)), 50001);
  EXPECT_EQ(ex.edition(), "VN1");
  EXPECT_EQ(ex.saveName(), "VN1IL.CSV");
}

TEST_F(ExtractorTest, MissingExecutableChangesNothing) {
  EXPECT_FALSE(ex.search(dir.file("none.exe"), kVn1Text));
  EXPECT_EQ(ex.edition(), "");
  // The file is opened before the address is read: no conversion error.
  EXPECT_EQ(ex.searchAgain(dir.file("none.exe"), kVn1Text, "Address ???"), std::nullopt);
  EXPECT_FALSE(ex.load(dir.file("none.exe"), "000000", "???"));
  EXPECT_EQ(ex.cell(2, 0), "");
}

TEST_F(ExtractorTest, LoadDecodesAndFillsEveryRow) {
  Bytes bytes(4000, 0);
  const Bytes entries = {0xB3, 0x04, 0x19, 0x05,   // 1203, 1305
                         0x00, 0x00, 0xFF, 0xFF};  // 0, -1
  std::copy(entries.begin(), entries.end(), bytes.begin() + 0x100);
  const std::string path = exe(bytes);
  ASSERT_TRUE(ex.load(path, "000100", "2"));
  EXPECT_EQ(ex.table()[0].body, 1203);
  EXPECT_EQ(ex.cell(2, 0), "    0");
  EXPECT_EQ(ex.cell(2, 1), " 012");
  EXPECT_EQ(ex.cell(3, 3), "None");
  EXPECT_EQ(ex.cell(3, 8), "  FF");
  // Rows beyond the count show the table as it was: zero.
  EXPECT_EQ(ex.cell(kGridRows - 1, 0), "  749");
  EXPECT_EQ(ex.cell(kGridRows - 1, 1), " 000");
  EXPECT_EQ(ex.cell(kGridRows - 1, 4), "   1");

  // A later shorter load leaves the earlier entries beyond its count.
  ASSERT_TRUE(ex.load(path, "000102", "1"));
  EXPECT_EQ(ex.cell(2, 1), " 013");  // bytes 19 05: 1305
  EXPECT_EQ(ex.cell(2, 3), " 000");
  EXPECT_EQ(ex.cell(3, 3), "None");
}

TEST_F(ExtractorTest, LoadWithCountZeroStillFillsTheGrid) {
  const std::string path = exe(Bytes(100, 0x22));
  ASSERT_TRUE(ex.load(path, "0", "0"));
  EXPECT_EQ(ex.cell(2, 1), " 000");
  EXPECT_EQ(ex.table()[0].body, 0);
}

TEST_F(ExtractorTest, LoadCountIsBoundedByTheTable) {
  const std::string path = exe(Bytes(10000, 0x01));
  ASSERT_TRUE(ex.load(path, "0", "100000"));
  EXPECT_EQ(ex.table()[kTableEntries - 1].body, 0x0101);
  ASSERT_TRUE(ex.load(exe(Bytes(10000, 0x02)), "0", "-3"));
  EXPECT_EQ(ex.table()[0].body, 0x0101);  // nothing read
}

TEST_F(ExtractorTest, LoadPastTheEndReadsMinusOneBytes) {
  const std::string path = exe({0x10, 0x20, 0x30, 0x40, 0x50});
  ASSERT_TRUE(ex.load(path, "4", "2"));
  EXPECT_EQ(ex.table()[0].body, -256 + 0x50);
  EXPECT_EQ(ex.table()[0].turret, -257);
  EXPECT_EQ(ex.table()[1].body, -257);
  EXPECT_EQ(ex.cell(3, 5), "  FF");
  EXPECT_EQ(ex.cell(3, 6), "  FE");
  EXPECT_EQ(ex.cell(3, 3), "None");
}

TEST_F(ExtractorTest, BadFieldsStopLoadBeforeAnythingChanges) {
  const std::string path = exe(Bytes(100, 0x07));
  try {
    ex.load(path, "Address ???", "10");
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'$Address ???" "' is not a valid integer value");
  }
  try {
    ex.load(path, "000000", "???");
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'???" "' is not a valid integer value");
  }
  EXPECT_EQ(ex.table()[0].body, 0);
  EXPECT_EQ(ex.cell(2, 0), "");
  EXPECT_THROW(ex.searchAgain(path, kVn1Text, "zz"), ConversionError);
}

}  // namespace

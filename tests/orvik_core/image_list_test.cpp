#include "image_list.h"

#include <gtest/gtest.h>

#include "orvik_test_files.h"

namespace {

using namespace orvik;
using orvik_test::Bytes;
using orvik_test::exeWith;
using orvik_test::kVn1Bytes;
using orvik_test::TempDir;
using orvik_test::writeBytes;

Pattern bytesOf(const Bytes& b) {
  Pattern p{};
  std::copy(b.begin(), b.end(), p.begin());
  return p;
}

TEST(SearchPattern, FromTheSearchBoxText) {
  // Text after the 14th character is ignored.
  EXPECT_EQ(patternFromText("D400D700DA00DD (VN1)"), bytesOf(kVn1Bytes));
  EXPECT_EQ(patternFromText("00000300060009 (VN3)"), (Pattern{0x00, 0x00, 0x03, 0x00, 0x06, 0x00, 0x09}));
  // Lower case: the low digits "a" and "d" give values above 15.
  EXPECT_EQ(patternFromText("d400d700da00dd"), (Pattern{0xD4, 0x00, 0xD7, 0x00, 0xFA, 0x00, 0xFD}));
  // Missing characters count as code 0: two of them give D0, one after "D" gives A0.
  EXPECT_EQ(patternFromText("D400D700DA00D"), (Pattern{0xD4, 0x00, 0xD7, 0x00, 0xDA, 0x00, 0xA0}));
  EXPECT_EQ(patternFromText(""), (Pattern{0xD0, 0xD0, 0xD0, 0xD0, 0xD0, 0xD0, 0xD0}));
  // Codes above 127 count as negative: 0xE9 is -23, less 48 gives -71.
  EXPECT_EQ(patternFromText("\xE9" "0")[0], static_cast<std::uint8_t>(16 * -71));
  // The box's initial text is taken as it stands.
  EXPECT_EQ(patternFromText("Search Bytes"), (Pattern{0xEE, 0xDB, 0xF1, 0x0B, 0x5D, 0x1C, 0xD0}));
}

TEST(Edition, ThresholdsOfTheAddress) {
  EXPECT_EQ(editionForAddress(0).name, "VN1");
  EXPECT_EQ(editionForAddress(1249999).name, "VN1");
  EXPECT_EQ(editionForAddress(1249999).entries, 255);
  EXPECT_EQ(editionForAddress(1250000).name, "VN2");
  EXPECT_EQ(editionForAddress(1250000).entries, 500);
  EXPECT_EQ(editionForAddress(1599999).name, "VN2");
  EXPECT_EQ(editionForAddress(1600000).name, "VN3");
  EXPECT_EQ(editionForAddress(1600000).entries, 750);
}

TEST(Edition, AddressText) {
  EXPECT_EQ(addressText(0), "000000");
  EXPECT_EQ(addressText(0x1A1800), "1A1800");
  EXPECT_EQ(addressText(0x12345678), "12345678");
}

class Scan : public ::testing::Test {
 protected:
  std::int64_t scanFile(const Bytes& bytes, std::int64_t start, const Bytes& pattern = kVn1Bytes) {
    writeBytes(dir.file("a.exe"), bytes);
    ExeFile file;
    EXPECT_TRUE(file.open(dir.file("a.exe")));
    return file.scan(start, bytesOf(pattern));
  }
  TempDir dir;
};

TEST_F(Scan, FindsTheFirstMatchAtOrAfterTheStart) {
  Bytes bytes = exeWith(1000, 100, kVn1Bytes);
  std::copy(kVn1Bytes.begin(), kVn1Bytes.end(), bytes.begin() + 500);
  EXPECT_EQ(scanFile(bytes, 0), 100);
  EXPECT_EQ(scanFile(bytes, 100), 100);
  EXPECT_EQ(scanFile(bytes, 101), 500);
  EXPECT_EQ(scanFile(bytes, -20), 100);
}

TEST_F(Scan, NotFoundGivesWhereTheAttemptThatMetTheEndBegan) {
  const Bytes bytes(1000, 0x11);
  EXPECT_EQ(scanFile(bytes, 0), 1001);
  EXPECT_EQ(scanFile(bytes, 5000), 5001);
  // The file ends with the first three pattern bytes: that attempt reads the end.
  EXPECT_EQ(scanFile(exeWith(1000, 997, {0xD4, 0x00, 0xD7}), 0), 998);
  // A file ending with a partial match that breaks off is scanned to the end.
  EXPECT_EQ(scanFile(exeWith(1000, 997, {0xD4, 0x00, 0x11}), 0), 1001);
  // The last full match position still counts as found.
  EXPECT_EQ(scanFile(exeWith(1000, 993, kVn1Bytes), 0), 993);
}

TEST_F(Scan, MatchAcrossReadBlocks) {
  const std::size_t block = 1 << 20;
  for (std::size_t at : {block - 7, block - 6, block - 3, block - 1, block}) {
    EXPECT_EQ(scanFile(exeWith(block + 4096, at, kVn1Bytes), 0), static_cast<std::int64_t>(at)) << at;
  }
  // A pattern that repeats its own start, so a failed attempt overlaps the match.
  const Bytes ab = {0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xCD};
  Bytes run = exeWith(block + 64, block - 10, Bytes(20, 0xAB));
  run[block + 10] = 0xCD;
  EXPECT_EQ(scanFile(run, 0, ab), static_cast<std::int64_t>(block + 4));
}

TEST(ExeFile, OpensOnlyReadableFiles) {
  TempDir dir;
  ExeFile file;
  EXPECT_FALSE(file.open(dir.file("missing.exe")));
  EXPECT_FALSE(file.open(dir.file("")));  // the folder itself
}

TEST(ExeFile, BytesOutsideTheFileAreMinusOne) {
  TempDir dir;
  writeBytes(dir.file("a.exe"), {1, 2, 3, 4, 5});
  ExeFile file;
  ASSERT_TRUE(file.open(dir.file("a.exe")));
  EXPECT_EQ(file.readBytes(3, 4), (std::vector<int>{4, 5, -1, -1}));
  EXPECT_EQ(file.readBytes(-2, 4), (std::vector<int>{-1, -1, 1, 2}));
  EXPECT_EQ(file.readBytes(9, 2), (std::vector<int>{-1, -1}));
}

TEST(Decode, WordsAndTheEndOfFileRule) {
  EntryTable table{};
  table[2] = {111, 222};
  decodeEntries({0xB3, 0x04, 0xFF, 0xFF,  // 1203, -1
                 0x05, -1, -1, -1},       // low byte only; nothing
                table);
  EXPECT_EQ(table[0].body, 1203);
  EXPECT_EQ(table[0].turret, -1);
  EXPECT_EQ(table[1].body, -256 + 5);
  EXPECT_EQ(table[1].turret, -257);  // 0xFEFF
  EXPECT_EQ(table[2].body, 111);     // beyond what was read: kept
  // More bytes than the table holds are not written past it.
  std::vector<int> many((kTableEntries + 5) * kEntryBytes, 0);
  decodeEntries(many, table);
  EXPECT_EQ(table[kTableEntries - 1].body, 0);
}

TEST(Cells, NineColumnTexts) {
  const ImageEntry entry{1203, 1305};
  const char* expected[] = {"    5", " 012", "   4", " 013", "   6", "  B3", "  04", "  19", "  05"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(entryCellText(5, entry, c), expected[c]) << c;
  EXPECT_EQ(entryCellText(749, entry, 0), "  749");
}

TEST(Cells, NoTurretAndZeroBody) {
  const ImageEntry entry{0, -1};
  EXPECT_EQ(entryCellText(0, entry, 1), " 000");
  EXPECT_EQ(entryCellText(0, entry, 2), "   1");
  EXPECT_EQ(entryCellText(0, entry, 3), "None");
  EXPECT_EQ(entryCellText(0, entry, 4), "None");
  EXPECT_EQ(entryCellText(0, entry, 7), "  FF");
  EXPECT_EQ(entryCellText(0, entry, 8), "  FF");
  // Turret 0 is a turret: file 0, icon 1.
  EXPECT_EQ(entryCellText(0, ImageEntry{0, 0}, 3), " 000");
  EXPECT_EQ(entryCellText(0, ImageEntry{0, 0}, 4), "   1");
}

TEST(Cells, NegativeBodyKeepsItsSign) {
  const ImageEntry entry{-257, -257};
  EXPECT_EQ(entryCellText(0, entry, 1), " -002");
  EXPECT_EQ(entryCellText(0, entry, 2), " -56");
  EXPECT_EQ(entryCellText(0, entry, 5), "  FF");
  EXPECT_EQ(entryCellText(0, entry, 6), "  FE");
}

}  // namespace

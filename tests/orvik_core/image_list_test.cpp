#include "image_list.h"

#include "orvik_test_files.h"

namespace {

using namespace orvik;
using namespace orvik_test;
using namespace std::string_literals;

Pattern pattern(const Bytes& b) {
  Pattern p{};
  std::copy(b.begin(), b.end(), p.begin());
  return p;
}

TEST(OrvikImageList, PatternEditionAndAddressText) {
  EXPECT_EQ(patternFromText("D400D700DA00DD (VN1)"), pattern(kVn1Bytes));  // the rest ignored
  // Lower-case low digits give values above 15; missing characters count as
  // code 0 (two give D0, one after "D" gives A0); codes above 127 are negative.
  EXPECT_EQ(patternFromText("d400d700da00dd"), pattern("\xD4\x00\xD7\x00\xFA\x00\xFD"s));
  EXPECT_EQ(patternFromText("D400D700DA00D"), pattern("\xD4\x00\xD7\x00\xDA\x00\xA0"s));
  EXPECT_EQ(patternFromText("\xE9" "0")[1], 0xD0);
  EXPECT_EQ(patternFromText("\xE9" "0")[0], static_cast<std::uint8_t>(16 * (-23 - 48)));

  for (auto [at, name] : {std::pair{1249999, "VN1255"}, {1250000, "VN2500"}, {1599999, "VN2500"}, {1600000, "VN3750"}})
    EXPECT_EQ(editionForAddress(at).name + std::to_string(editionForAddress(at).entries), name) << at;
  EXPECT_EQ(addressText(0x1A18) + addressText(0x12345678), "001A1812345678");
}

TEST(OrvikImageList, ScanFindsTheFirstMatchElseWhereTheEndWasMet) {
  TempDir dir;
  const auto scan = [&](const Bytes& bytes, std::int64_t start, const Bytes& p = kVn1Bytes) {
    ExeFile file;
    EXPECT_TRUE(file.open(dir.write("a.exe", bytes)));
    return file.scan(start, pattern(p));
  };
  const Bytes two = exeWith(1000, 100).replace(500, 7, kVn1Bytes);
  EXPECT_EQ(scan(two, -20), 100);
  EXPECT_EQ(scan(two, 101), 500);
  EXPECT_EQ(scan(two, 501), 1001);  // none: length + 1
  EXPECT_EQ(scan(two, 5000), 5001);
  EXPECT_EQ(scan(exeWith(1000, 993), 0), 993);
  EXPECT_EQ(scan(exeWith(1000, 997, "\xD4\x00\xD7"s), 0), 998);  // the file ends in a part match
  EXPECT_EQ(scan(exeWith(1000, 997, "\xD4\x00\x11"s), 0), 1001);

  const std::size_t block = 1 << 20;  // matches across the scan's read blocks
  for (std::size_t at : {block - 7, block - 6, block - 1, block})
    EXPECT_EQ(scan(exeWith(block + 4096, at), 0), static_cast<std::int64_t>(at));
  const Bytes run = exeWith(block + 64, block - 10, std::string(20, '\xAB') + "\xCD");
  EXPECT_EQ(scan(run, 0, "\xAB\xAB\xAB\xAB\xAB\xAB\xCD"), static_cast<std::int64_t>(block + 4));
}

TEST(OrvikImageList, BytesOutsideTheFileDecodeAsMinusOne) {
  TempDir dir;
  ExeFile file;
  EXPECT_FALSE(file.open(dir.file("missing.exe")));
  EXPECT_FALSE(file.open(dir.file("")));  // a folder
  ASSERT_TRUE(file.open(dir.write("a.exe", "\x01\x02\x03\x05")));
  EXPECT_EQ(file.readBytes(-1, 3), (std::vector<int>{-1, 1, 2}));

  EntryTable table{};
  table[2] = {111, 222};
  decodeEntries(file.readBytes(3, 8), table);
  EXPECT_EQ(table[0].body, -256 + 5);
  EXPECT_EQ(table[0].turret, -257);  // FEFF
  EXPECT_EQ(table[1].body, -257);
  EXPECT_EQ(table[2].body, 111);  // not read: kept
  decodeEntries(std::vector<int>((kTableEntries + 5) * kEntryBytes, 0), table);  // no write past the table
}

TEST(OrvikImageList, CellTexts) {
  const auto row = [](int i, ImageEntry e) {
    std::string s;
    for (int c = 0; c < 9; ++c) s += entryCellText(i, e, c) + "|";
    return s;
  };
  EXPECT_EQ(row(5, {1203, 1305}), "    5| 012|   4| 013|   6|  B3|  04|  19|  05|");
  EXPECT_EQ(row(749, {0, -1}), "  749| 000|   1|None|None|  00|  00|  FF|  FF|");
  EXPECT_EQ(row(0, {-257, 0}), "    0| -002| -56| 000|   1|  FF|  FE|  00|  00|");
}

}  // namespace

#include "extractor.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/int_convert.h"
#include "orvik_test_files.h"

namespace {

using namespace orvik;
using namespace common;
using namespace orvik_test;

constexpr const char* kVn1Text = "D400D700DA00DD (VN1)";

std::string conversionMessage(auto&& command) {
  try {
    command();
  } catch (const ConversionError& e) {
    return e.what();
  }
  return "no error";
}

class OrvikExtractor : public ::testing::Test {
 protected:
  std::string exe(const Bytes& bytes) { return dir.write("game.exe", bytes); }
  TempDir dir;
  Extractor ex;
};

TEST_F(OrvikExtractor, SearchCoversTheLast40000BytesAndSearchAgainGoesOn) {
  EXPECT_EQ(ex.cell(0, 0) + ex.cell(1, 0) + ex.cell(0, 8) + ex.cell(1, 8) + ex.cell(2, 0), "Graphic    # Byte    3");
  const std::string path = exe(exeWith(100000, 60000).replace(70000, 7, kVn1Bytes));
  EXPECT_TRUE(ex.search(path, kVn1Text));
  EXPECT_EQ(ex.address(), 60000);
  EXPECT_EQ(ex.edition() + std::to_string(ex.entryCount()) + ex.saveName(), "VN1255VN1IL.CSV");
  EXPECT_EQ(ex.searchAgain(path, kVn1Text, "00EA60"), 70000);
  EXPECT_EQ(ex.searchAgain(path, kVn1Text, "11170"), 100001);

  EXPECT_TRUE(ex.search(exe(exeWith(100000, 59999)), kVn1Text));
  EXPECT_EQ(ex.address(), 100001);
  // Lower case does not match; a file shorter than 40,000 bytes is searched whole.
  EXPECT_TRUE(ex.search(exe(exeWith(1000, 0)), "d400d700da00dd"));
  EXPECT_EQ(ex.address(), 1001);
  EXPECT_TRUE(ex.search(exe(exeWith(1000, 0)), kVn1Text));
  EXPECT_EQ(ex.address(), 0);
  EXPECT_TRUE(ex.search(exe(exeWith(1630000, 1600000)), kVn1Text));
  EXPECT_EQ(ex.saveName(), "VN3IL.CSV");
}

TEST_F(OrvikExtractor, LoadFillsEveryRowFromTheTable) {
  const std::string path = exe(Bytes(4000, '\0').replace(0x100, 8, "\xB3\x04\x19\x05\x00\x00\xFF\xFF", 8));
  ASSERT_TRUE(ex.load(path, "000100", "2"));  // (1203, 1305), (0, -1)
  EXPECT_EQ(ex.cell(2, 1) + ex.cell(3, 3) + ex.cell(3, 8), " 012None  FF");
  EXPECT_EQ(ex.cell(kGridRows - 1, 0) + ex.cell(kGridRows - 1, 1), "  749 000");  // zero entries beyond
  // A shorter load keeps what an earlier one left; a count of 0 reads nothing.
  ASSERT_TRUE(ex.load(path, "102", "1"));
  EXPECT_EQ(ex.cell(2, 1) + ex.cell(3, 3), " 013None");
  ASSERT_TRUE(ex.load(path, "0", "0"));
  EXPECT_EQ(ex.table()[0].body, 1305);
  // Counts beyond the table are bounded.
  ASSERT_TRUE(ex.load(exe(Bytes(10000, '\x01')), "0", "100000"));
  EXPECT_EQ(ex.table()[kTableEntries - 1].body, 0x0101);
  ASSERT_TRUE(ex.load(exe(Bytes(10000, '\x02')), "0", "-3"));
  EXPECT_EQ(ex.table()[0].body, 0x0101);
}

TEST_F(OrvikExtractor, LoadAfterAFailedSearchShowsOnlyTheEntriesRead) {
  const std::string path = exe(exeWith(100000, 60000));
  ASSERT_TRUE(ex.load(path, "0", "750"));
  ASSERT_TRUE(ex.search(path, "00000100020003"));
  ASSERT_TRUE(ex.searchFailed());
  ASSERT_TRUE(ex.load(path, "0", "2"));
  EXPECT_EQ(ex.cell(3, 0) + "|" + ex.cell(4, 0) + "|" + ex.cell(kGridRows - 1, 8), "    1||");
  EXPECT_EQ(ex.table()[2].body, 0x1111);  // the table keeps them
  // A Search that finds the table again: Load shows every row, as before.
  ASSERT_TRUE(ex.search(path, kVn1Text));
  EXPECT_FALSE(ex.searchFailed());
  ASSERT_TRUE(ex.load(path, "0", "2"));
  EXPECT_EQ(ex.cell(4, 0), "    2");
}

TEST_F(OrvikExtractor, BadFieldsAndMissingFiles) {
  const std::string path = exe(Bytes(100, '\x07'));
  EXPECT_EQ(conversionMessage([&] { ex.load(path, "Address ???", "1"); }),
            "'$Address ?\?\?' is not a valid integer value");
  EXPECT_EQ(conversionMessage([&] { ex.load(path, "0", "???"); }), "'?\?\?' is not a valid integer value");
  EXPECT_EQ(conversionMessage([&] { ex.searchAgain(path, kVn1Text, "-1"); }), "'$-1' is not a valid integer value");
  // The file is opened before the address (Search Again) or the count (Load) is read.
  EXPECT_FALSE(ex.search(dir.file("none.exe"), kVn1Text));
  EXPECT_EQ(ex.searchAgain(dir.file("none.exe"), kVn1Text, "?"), std::nullopt);
  EXPECT_FALSE(ex.load(dir.file("none.exe"), "0", "?"));
  EXPECT_EQ(ex.edition() + ex.cell(2, 0), "");
  // A named pipe is refused as a missing file is, without waiting for a writer.
#ifdef _WIN32
  // A device name likewise (a read from COM1 would wait for the port).
  EXPECT_FALSE(ex.search(dir.file("COM1.exe"), kVn1Text));
  EXPECT_FALSE(ex.load(dir.file("COM1.exe"), "0", "1"));
#else
  ASSERT_EQ(::mkfifo(dir.file("pipe.exe").c_str(), 0600), 0);
  ::alarm(20);
  EXPECT_FALSE(ex.search(dir.file("pipe.exe"), kVn1Text));
  EXPECT_FALSE(ex.load(dir.file("pipe.exe"), "0", "1"));
  ::alarm(0);
#endif

  EXPECT_EQ(toInt(" -5") + toInt("$1f") + toInt("x10") + toInt("0X10"), -5 + 31 + 16 + 16);
  EXPECT_EQ(toInt("$FFFFFFFF"), -1);
  for (const char* bad : {"", "12a", "7 ", "$", "2147483648", "$100000000"}) EXPECT_THROW(toInt(bad), ConversionError);
}

}  // namespace

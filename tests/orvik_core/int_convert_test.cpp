#include "int_convert.h"

#include <gtest/gtest.h>

namespace {

using orvik::toInt;

TEST(IntConvert, DecimalAndHexadecimalPrefixes) {
  EXPECT_EQ(toInt("750"), 750);
  EXPECT_EQ(toInt("-5"), -5);
  EXPECT_EQ(toInt("  12"), 12);
  EXPECT_EQ(toInt("$1A1800"), 0x1A1800);
  EXPECT_EQ(toInt("$ff"), 255);
  EXPECT_EQ(toInt("x1f"), 31);
  EXPECT_EQ(toInt("0x1F"), 31);
  EXPECT_EQ(toInt("$FFFFFFFF"), -1);
  EXPECT_EQ(toInt("2147483647"), 2147483647);
  EXPECT_EQ(toInt("-2147483648"), -2147483647 - 1);
}

TEST(IntConvert, RejectsWithTheTextInTheMessage) {
  for (const char* bad : {"", "???", "12a", "7 ", "$", "$-5", "2147483648", "$100000000", "1.5", "--1"}) {
    try {
      toInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const orvik::ConversionError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
      EXPECT_EQ(e.text(), bad);
    }
  }
}

}  // namespace

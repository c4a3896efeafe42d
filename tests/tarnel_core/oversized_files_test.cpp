// Side files far beyond any real one are refused with a word, never read in
// part: lines behind a cut could hold units or data sets.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "mainwindow/main_commands.h"
#include "sidefiles/country_data.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

using namespace tarnel;

TEST(OversizedSideFiles, AreRefusedWithTheirSize) {
  constexpr std::uintmax_t kLimit = 64ull << 20;
  tarnel::testing::TestDir dir("tarnel_oversized");
  tarnel::testing::ScriptedPrompts prompts;
  Session session(prompts);
  struct Case {
    const char* start;
    std::function<void(Session&)> command;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"1\r\nA b\r\n", loadCountryData, "This country data file is larger than 67108864 bytes. Not loaded."},
      {"'00-0F\r\n", pasteCsvUnitFile, "This CSV file is larger than 67108864 bytes. Not loaded."},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "big.txt";
    ASSERT_TRUE(common::writeFileSafely(path.string(), std::string(c.start)));
    for (std::uintmax_t size : {kLimit, kLimit + 1}) {
      std::filesystem::resize_file(path, size);  // sparse: no disk is used
      prompts.messages.clear();
      prompts.openAnswers.push_back(path.string());
      c.command(session);
      const bool refused = !prompts.messages.empty() && prompts.messages[0].text == c.message;
      EXPECT_EQ(refused, size > kLimit) << c.message << " at " << size;
    }
  }
}

// Country data files: the reader and "Load Country Data".
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "game_sample.h"
#include "sidefiles/country_data.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

using namespace tarnel;

namespace {

// A description line and five rows of numbers from `base` on.
std::string dataSet(const std::string& description, int base) {
  std::string s = description + "\r\n";
  for (int r = 0; r < kCountryRows; ++r)
    for (int c = 0; c < kCountryValues; ++c) s += std::to_string(base + 10 * r + c) + (c < 6 ? " " : "\r\n");
  return s;
}

class CountryData : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_country"};
  tarnel::testing::ScriptedPrompts prompts;
  Session session{prompts};

  void load(const std::string& text) {
    const std::string path = (tmp.path() / "data.txt").string();
    ASSERT_TRUE(common::writeFileSafely(path, text));
    prompts.messages.clear();
    prompts.openAnswers.push_back(path);
    loadCountryData(session);
  }
  const CountryDataSet& entry(int k) const { return session.countries.entries[static_cast<std::size_t>(k)]; }
};

}  // namespace

TEST_F(CountryData, ReadsCommentsNamesNumbersAndStopsAtTheEnd) {
  load("; made by hand\r\n4 sets\r\n" + dataSet("United_States 1944 veterans", 10) + "; between\r\n" +
       "\tRed_Army 1st_Guards\r\n;inside\r\n70 3 6 1 6 10 90\r\n5 6\r\n\r\n70000 -1 x 9\r\n1,2\r\n" +
       dataSet(std::string(140, 'x') + " long", 0) + "Cut short\r\n1 2 3\r\n");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(prompts.openSeen.back().title, "Open CCF");
  EXPECT_EQ(prompts.openSeen.back().filter, "Text/Quendor (*.txt,*.qnd)| *.txt;*.qnd||All Files *.*|*.*");
  // The fourth data set is cut short by the end of the file.
  ASSERT_EQ(session.countries.count, 3);
  EXPECT_EQ(entry(0).name, "United States");
  EXPECT_EQ(entry(0).description, "United States 1944 veterans");
  EXPECT_EQ(entry(0).values[4][6], 56);
  // A tab ends the description; a short line keeps the values it lacks.
  EXPECT_EQ(entry(1).name, "Red Army");
  EXPECT_EQ(entry(1).description, "");
  EXPECT_EQ(entry(1).values[0], (std::array<std::int16_t, 7>{70, 3, 6, 1, 6, 10, 90}));
  EXPECT_EQ(entry(1).values[1], (std::array<std::int16_t, 7>{5, 6, 0, 0, 0, 0, 0}));
  EXPECT_EQ(entry(1).values[3], (std::array<std::int16_t, 7>{4464, -1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(entry(1).values[4][0], 1);
  EXPECT_EQ(entry(2).name, std::string(127, 'x'));
  EXPECT_EQ(entry(3).name, "");  // the incomplete set never reached the table
}

TEST_F(CountryData, CountLines) {
  load("1\r\n" + dataSet("Kept", 5));
  for (const std::string count : {"0", "-3", "letters", "", "; only a comment"}) {
    load(count + "\r\n" + dataSet("Other", 9));
    EXPECT_EQ(prompts.lastText(), "This isn't a Dice Stat file.") << count;
    EXPECT_EQ(prompts.lastTitle(), "Error");
    EXPECT_EQ(entry(0).name, "Kept") << count;
  }
  std::string text = "401\r\n";
  for (int k = 0; k < 401; ++k) text += dataSet("C" + std::to_string(k), k);
  load(text);
  EXPECT_EQ(prompts.lastText(), "File contains 401 entries. Only 400 are allowed.");
  EXPECT_EQ(prompts.lastTitle(), "Warning. Truncating data");
  EXPECT_EQ(session.countries.count, 400);
  EXPECT_EQ(entry(399).name, "C399");
}

// The bundled sample file: every announced data set loads whole.
TEST_F(CountryData, TheSampleFileLoadsEveryDataSet) {
  load(samplegen::kCountryData);
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_EQ(session.countries.count, 6);
  EXPECT_EQ(entry(3).name, "Soviet Union");
  EXPECT_EQ(entry(3).description, "Soviet Union 1941 conscripts");
  EXPECT_EQ(entry(5).values[4], (std::array<std::int16_t, 7>{30, 3, 6, 2, 6, 0, 80}));
}

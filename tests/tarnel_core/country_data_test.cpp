// Country data files: the reader, "Load Country Data" and the country stats
// window's logic.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "sidefiles/country_data.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

using namespace tarnel;
using tarnel::testing::ScriptedPrompts;

namespace {

// A data set of six lines whose numbers start at `base`.
std::string dataSet(const std::string& description, int base) {
  std::string s = description + "\r\n";
  for (int r = 0; r < kCountryRows; ++r) {
    for (int c = 0; c < kCountryValues; ++c) s += std::to_string(base + 10 * r + c) + (c < 6 ? " " : "\r\n");
  }
  return s;
}

std::array<std::int16_t, kCountryValues> rowOf(int base, int r) {
  std::array<std::int16_t, kCountryValues> row{};
  for (int c = 0; c < kCountryValues; ++c) row[static_cast<std::size_t>(c)] = static_cast<std::int16_t>(base + 10 * r + c);
  return row;
}

class CountryData : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_country"};
  ScriptedPrompts prompts;
  Session session{prompts};

  void SetUp() override { session.setProgramDir(tmp.path().string()); }

  // "Load Country Data" on a file holding `text`.
  void load(const std::string& text) {
    const std::string path = (tmp.path() / "data.txt").string();
    ASSERT_TRUE(common::writeFileSafely(path, text));
    prompts.openAnswers.push_back(path);
    loadCountryData(session);
  }
  const CountryDataSet& entry(int k) const { return session.countries.entries[static_cast<std::size_t>(k)]; }
};

}  // namespace

TEST_F(CountryData, CommentLinesAreSkippedWhereverALineIsExpected) {
  load("; country data\r\n;  made by hand\r\n2\r\n" + dataSet("Germany 1940", 10) + "; between sets\r\n" +
       "France 1940\r\n;inside a set\r\n1 2 3 4 5 6 7\r\n" + "11 2 3 4 5 6 7\r\n21 2 3 4 5 6 7\r\n;\r\n" +
       "31 2 3 4 5 6 7\r\n41 2 3 4 5 6 7\r\n");
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_EQ(session.countries.count, 2);
  EXPECT_EQ(entry(0).name, "Germany");
  EXPECT_EQ(entry(0).values[4], rowOf(10, 4));
  EXPECT_EQ(entry(1).name, "France");
  EXPECT_EQ(entry(1).values[3], (std::array<std::int16_t, 7>{31, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(entry(1).values[4], (std::array<std::int16_t, 7>{41, 2, 3, 4, 5, 6, 7}));
  // The dialog: title, filter and the program directory.
  ASSERT_EQ(prompts.openSeen.size(), 1u);
  EXPECT_EQ(prompts.openSeen[0].title, "Open CCF");
  EXPECT_EQ(prompts.openSeen[0].filter, "Text/Quendor (*.txt,*.qnd)| *.txt;*.qnd||All Files *.*|*.*");
  EXPECT_EQ(prompts.openSeen[0].initialDir, tmp.path().string());
}

TEST_F(CountryData, CountLinesThatAreRefused) {
  load("1\r\n" + dataSet("Kept 1", 5));
  for (const std::string count : {"0", "-3", "letters", "", "   ", "; only comments"}) {
    prompts.messages.clear();
    load(count + "\r\n" + dataSet("Other", 9));
    ASSERT_EQ(prompts.messages.size(), 1u) << count;
    EXPECT_EQ(prompts.lastText(), "This isn't a Dice Stat file.") << count;
    EXPECT_EQ(prompts.lastTitle(), "Error");
    EXPECT_EQ(session.countries.count, 1) << count;
    EXPECT_EQ(entry(0).name, "Kept");
  }
  // Blanks before the count and text after it are allowed.
  load("  1 data set\r\n" + dataSet("Other", 9));
  EXPECT_EQ(entry(0).name, "Other");
}

TEST_F(CountryData, MoreThan400DataSetsAreTruncated) {
  std::string text = "401\r\n";
  for (int k = 0; k < 401; ++k) text += dataSet("C" + std::to_string(k), k);
  load(text);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastText(), "File contains 401 entries. Only 400 are allowed.");
  EXPECT_EQ(prompts.lastTitle(), "Warning. Truncating data");
  EXPECT_EQ(session.countries.count, 400);
  EXPECT_EQ(entry(399).name, "C399");
  EXPECT_EQ(entry(399).values[0], rowOf(399, 0));
}

TEST_F(CountryData, NamesAndDescriptions) {
  struct Case {
    std::string line, name, description;
  };
  const std::string longWord(140, 'x');
  const std::vector<Case> cases = {
      {"United_States 1944 veterans", "United States", "United States 1944 veterans"},
      {"  Red_Army 1st_Guards", "Red Army", "  Red Army 1st_Guards"},
      {"Poland\t1939 cavalry", "Poland", "Poland"},
      {"\tItaly 1942", "Italy", ""},
      {"", "", ""},
      {longWord + " long", std::string(127, 'x'), longWord + " long"},
  };
  std::string text = std::to_string(cases.size()) + "\n";
  for (const Case& c : cases) text += dataSet(c.line, 1);
  load(text);
  ASSERT_EQ(session.countries.count, static_cast<int>(cases.size()));
  for (std::size_t k = 0; k < cases.size(); ++k) {
    EXPECT_EQ(entry(static_cast<int>(k)).name, cases[k].name) << cases[k].line;
    EXPECT_EQ(entry(static_cast<int>(k)).description, cases[k].description) << cases[k].line;
  }
}

TEST_F(CountryData, NumberLines) {
  // A first load fills entry 0; a second with short and odd lines keeps the
  // values its lines do not give.
  load("1\r\n" + dataSet("A", 100));
  load("1\r\nA\r\n70 3 6 1 6 10 90\r\n5 6\r\n\r\n70000 -1 +2 x 9\r\n1,2 3\r\n");
  EXPECT_EQ(entry(0).values[0], (std::array<std::int16_t, 7>{70, 3, 6, 1, 6, 10, 90}));
  EXPECT_EQ(entry(0).values[1], (std::array<std::int16_t, 7>{5, 6, 112, 113, 114, 115, 116}));
  EXPECT_EQ(entry(0).values[2], rowOf(100, 2));
  EXPECT_EQ(entry(0).values[3], (std::array<std::int16_t, 7>{4464, -1, 2, 133, 134, 135, 136}));
  EXPECT_EQ(entry(0).values[4], (std::array<std::int16_t, 7>{1, 141, 142, 143, 144, 145, 146}));
}

TEST_F(CountryData, AFileEndingEarlyKeepsItsCompleteDataSets) {
  load("3\r\n" + dataSet("Old", 1) + dataSet("Old", 2) + dataSet("Old", 3));
  load("3\n" + dataSet("New", 7) + "New2\n1 2 3 4 5 6 7\n");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(session.countries.count, 1);
  EXPECT_EQ(entry(0).name, "New");
  // The incomplete data set did not reach the table.
  EXPECT_EQ(entry(1).name, "Old");
  EXPECT_EQ(entry(1).values[0], rowOf(2, 0));
}

TEST_F(CountryData, LongLinesComeInPiecesOf254) {
  // A 300-character comment: its last 46 characters are a line of their own,
  // here the count.
  load(";" + std::string(253, '-') + "2" + std::string(45, ' ') + "\r\n" + dataSet("A", 1) + dataSet("B", 2));
  EXPECT_EQ(session.countries.count, 2);
  // A line of exactly 254 characters is one line.
  load("1\r\n" + dataSet(std::string(254, 'y'), 1));
  EXPECT_EQ(entry(0).description.size(), 254u);
  EXPECT_EQ(entry(0).values[4], rowOf(1, 4));
}

TEST_F(CountryData, FilesThatCannotBeRead) {
  prompts.openAnswers.push_back(tmp.path().string());  // a directory
  loadCountryData(session);
  EXPECT_EQ(prompts.lastText(), "Could not open file");
  EXPECT_EQ(prompts.lastTitle(), "Error");
  prompts.messages.clear();
  loadCountryData(session);  // cancelled
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(CountryData, StatsWindowListsChoosesAndSets) {
  load("4\r\n" + dataSet("germany 1944", 1) + dataSet("Germany 1940", 2) + dataSet("Austria", 3) +
       dataSet("Germany 1941", 4));
  CountryStats stats(session.countries);
  EXPECT_EQ(stats.show(), (std::vector<std::string>{"Austria", "Germany", "germany"}));

  // Before a data set row is chosen, "Set" gives nothing.
  stats.chooseCountry(1);
  CountryStats::RollTexts texts;
  EXPECT_FALSE(stats.set(texts));
  EXPECT_EQ(stats.rows(), (std::vector<std::array<std::string, 2>>{{"1", "Germany 1940"}, {"3", "Germany 1941"}}));

  stats.selectCell(1, 2);
  ASSERT_TRUE(stats.set(texts));
  EXPECT_EQ(texts[0], (std::array<std::string, 7>{"4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_EQ(texts[4][6], "50");

  // Choosing a country again, or showing the window, forgets the row.
  stats.chooseCountry(2);
  EXPECT_EQ(stats.rows().size(), 1u);
  EXPECT_FALSE(stats.set(texts));
  stats.selectCell(0, 1);
  stats.show();
  EXPECT_FALSE(stats.set(texts));
}

#include "mainwindow/unit_find.h"

#include <gtest/gtest.h>

#include <string>

#include "model/session.h"

namespace tarnel {
namespace {

// Designation, name, leader of each unit row.
UnitGridTable findGrid() {
  UnitGridTable grid(1, 32);
  const char* rows[][3] = {
      {" A1", "Recon Team 7", "Smith/John"},   // 1
      {" A2", "Rifle Platoon", "M\xdcLLER/Hans"},  // 2: MÜLLER in Windows-1252
      {" B1", "Recon Team 17", "Vogt/"},      // 3
      {" a1", "Tank Platoon", "\x8aimek/Ivo"},  // 4: Šimek
      {" b7", "HQ", "Recon/Team"},             // 5: only its leader matches "recon"
  };
  grid.setRowCount(6);
  for (int r = 0; r < 5; ++r) {
    grid.setCell(GridColumn::kSide, r + 1, r < 3 ? "0" : "1");
    grid.setCell(GridColumn::kUnit, r + 1, rows[r][0]);
    grid.setCell(GridColumn::kName, r + 1, rows[r][1]);
    grid.setCell(GridColumn::kLeader, r + 1, rows[r][2]);
    grid.setCell(GridColumn::kExp, r + 1, "77");
  }
  return grid;
}

struct FindCase {
  const char* name;
  const char* text;
  int from;
  FindDirection direction;
  int row;
};

class FindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTest, FindsTheNextMatchingRow) {
  const FindCase& c = GetParam();
  EXPECT_EQ(findUnitRow(findGrid(), c.text, c.from, c.direction), c.row);
}

constexpr auto kNext = FindDirection::Next;
constexpr auto kPrev = FindDirection::Previous;

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTest,
    ::testing::Values(FindCase{"FromNoRowStartsAtTheTop", "recon", 0, kNext, 1},
                      FindCase{"NextSkipsRowsWithoutIt", "recon", 1, kNext, 3},
                      FindCase{"LeaderColumnCounts", "recon", 3, kNext, 5},
                      FindCase{"WrapsToTheTop", "recon", 5, kNext, 1},
                      FindCase{"PreviousWrapsToTheBottom", "RECON", 1, kPrev, 5},
                      FindCase{"PreviousFromNoRowStartsAtTheBottom", "platoon", 0, kPrev, 4},
                      FindCase{"NameInTheMiddle", "TEAM 1", 1, kNext, 3},
                      FindCase{"DesignationLowerCaseSide", "A1", 1, kNext, 4},
                      FindCase{"AccentedCapitalsFold", "m\xfcller", 0, kNext, 2},
                      FindCase{"CaronCapitalsFold", "\x9aIMEK", 0, kNext, 4},
                      FindCase{"ASingleMatchIsFoundAgain", "hq", 5, kNext, 5},
                      FindCase{"RatingsAreNotSearched", "77", 0, kNext, 0},
                      FindCase{"SideIsNotSearched", "0", 0, kNext, 0},
                      FindCase{"NoMatch", "Panzer", 2, kNext, 0},
                      FindCase{"EmptyTextFindsNothing", "", 2, kNext, 0},
                      FindCase{"FromPastTheEnd", "rifle", 99, kNext, 2}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(FindCaseFold, FoldsOnlyLetters) {
  EXPECT_EQ(foldCase1252("ABC xyz \xc0\xde\xd7\xdf\x8c\x9f 09[]"), "abc xyz \xe0\xfe\xd7\xdf\x9c\xff 09[]");
}

}  // namespace
}  // namespace tarnel

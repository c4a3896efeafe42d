#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/session.h"

namespace tarnel {

inline constexpr const char* kCountryDialogTitle = "Open CCF";
inline constexpr const char* kCountryFilter = "Text/Quendor (*.txt,*.qnd)| *.txt;*.qnd||All Files *.*|*.*";
inline constexpr std::size_t kCountryLineLength = 254;

// What reading a country data file gave.
struct CountryReadResult {
  bool valid = false;  // the count line began with an integer of at least 1
  int announced = 0;   // the count the file gives
  int loaded = 0;      // complete data sets now in the table
};

// Reads a country data file into the table: the count line, then data sets
// of a description line and five lines of seven numbers, ";" lines skipped
// wherever a line is expected. At most kCountryEntries data sets are read; a
// file that ends inside a data set loads the complete ones before it. An
// invalid count line leaves the table unchanged.
CountryReadResult readCountryData(std::string_view text, CountryTable& table);

// "Load Country Data": the main window's open dialog, the file, the table.
void loadCountryData(Session& session);

// The country stats window's logic: the country list, the data sets of the
// chosen country, and "Set", which gives the 35 texts of the roll fields.
class CountryStats {
 public:
  static constexpr std::array<const char*, 2> kHeadings = {" #", "   Data Set"};
  static constexpr std::array<int, 2> kColumnWidths = {42, 220};

  using RollTexts = std::array<std::array<std::string, kCountryValues>, kCountryRows>;

  explicit CountryStats(const CountryTable& table) : table_(table) {}

  // FormShow: the list's items, each name once, sorted alphabetically
  // (letter case aside); the remembered data set row is cleared.
  const std::vector<std::string>& show();
  const std::vector<std::string>& countries() const { return countries_; }

  // CountryLBClick with list item `item`: the grid's rows below its heading,
  // one per data set whose name equals the item's exactly, as
  // {entry number, description}; the remembered row is cleared.
  const std::vector<std::array<std::string, 2>>& chooseCountry(int item);
  const std::vector<std::array<std::string, 2>>& rows() const { return rows_; }

  // DescriptionGridSelectCell: grid row r (1 = the first data set).
  void selectCell(int col, int row);
  int selectedRow() const { return selectedRow_; }

  // SetBtnClick: the chosen data set's values as decimal texts, rows Exp to
  // Sk2 and columns Base to Max; false (nothing to set) before a data set
  // row is selected.
  bool set(RollTexts& texts) const;

 private:
  const CountryTable& table_;
  std::vector<std::string> countries_;
  std::vector<std::array<std::string, 2>> rows_;
  int selectedRow_ = 0;
  int selectedCol_ = 0;
};

}  // namespace tarnel

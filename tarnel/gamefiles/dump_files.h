#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/game_model.h"
#include "model/session.h"

namespace tarnel {

// Decoded bytes of directory entry j (0 = the 20-byte file header).
std::vector<std::uint8_t> sectionBytes(const GameModel& model, int entry);

// Every directory entry's decoded bytes, back to back.
std::vector<std::uint8_t> allSectionsBytes(const GameModel& model);

// "%d bytes in %s", the heading, then "%3d  %7d   %6X" per non-empty entry,
// CR LF line ends.
std::string statisticsText(const GameModel& model, const std::string& path);

// Number of directory entries of length above 0, the header included.
int sectionCount(const GameModel& model);

// ---- The dump window "Dump" ----------------------------------------------

inline constexpr std::array<const char*, 3> kDumpHeadings = {"Sect", " Size", " Address"};
inline constexpr std::array<int, 3> kDumpColumnWidths = {46, 77, 107};

// The label: the number of sections and " Sections".
std::string sectionCountText(const GameModel& model);
// A grid row of directory entry j: identifier "%3d", length "%7d", and a
// blank before the image offset in upper-case hexadecimal of 6 digits or more.
std::array<std::string, 3> dumpRowTexts(const GameModel& model, int entry);

// The dump window's logic with its own save and open dialogs. The grid lists
// the sections the directory holds (its entries of length above 0, in
// order); grid row r shows listed()[r - 1].
class DumpWindow {
 public:
  explicit DumpWindow(Session& session) : session_(session) {}

  FileDialogState saveDialog;
  FileDialogState openDialog;

  // FormCreate: both dialogs start in the program directory.
  void formCreate();
  // FormActivate: false, after its message, while a version 1.0 file is
  // loaded (label and grid keep what they show); otherwise the listing is
  // taken anew.
  bool formActivate();
  const std::vector<int>& listed() const { return listed_; }

  // DumpGridSelectCell: the heading row is refused, any other row
  // remembered.
  bool selectCell(int col, int row);
  int selectedRow() const { return selectedRow_; }
  // The entry "Section" writes: the remembered row's, or the file header.
  int selectedEntry() const;

  void allBtnClick();
  void sectionBtnClick();
  void statsBtnClick();
  // Copies a dump file into the image from offset 0 on; the directory stays.
  // True when the image took it; the caller then refills the unit grid.
  bool loadBtnClick();

 private:
  Session& session_;
  std::vector<int> listed_;
  int selectedRow_ = 0;

  void writeOutput(const std::string& path, const std::vector<std::uint8_t>& bytes);
};

}  // namespace tarnel

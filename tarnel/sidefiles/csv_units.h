#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/session.h"

namespace tarnel {

inline constexpr const char* kCsvFilter = "CSV files (*.csv)|*.csv||All Files *.*|*.*";
inline constexpr const char* kCsvSaveTitle = "Save CSV (Spreadsheet File of Units";
inline constexpr const char* kCsvLoadTitle = "Load CSV (Spreadsheet File of Units";
inline constexpr std::size_t kCsvLineLength = 4999;

// The CSV unit file of the units the grid shows: a heading line naming the
// record's byte offsets, then one line per unit with its name and every
// further byte of its record in decimal. CR LF line ends.
std::string csvUnitText(const GameModel& model);

// Writes a CSV unit file's unit lines over the unit section, from its start
// on: per line a 16-byte name, then one byte per number cell, running on from
// line to line. Nothing is written past the end of the unit section.
void pasteCsvUnits(std::span<const std::uint8_t> csv, GameModel& model);

// The first unit line the paste would reach that does not hold the R - 15
// cells of a unit record, as the warning "Line 7 has 204 cells where a unit
// has 205: every unit after it would move."; nullopt when every line fits.
std::optional<std::string> csvShiftWarning(std::span<const std::uint8_t> csv, const GameModel& model);

// The name the CSV commands propose for the loaded game: its own name with
// the extension ".csv", in its folder.
std::string gameCsvName(const GameModel& model);

// "Save CSV Unit File" with the main window's save dialog. A name the dialog
// holds that does not end in ".csv" gives way to gameCsvName.
void saveCsvUnitFile(Session& session);

// The first half of "Paste CSV Unit File": the main window's open dialog,
// proposing the CSV file last saved or pasted (else gameCsvName), and the
// file's bytes; nullopt on Cancel or, after its message, when the file
// cannot be read. The main window's command pastes and refills the grid.
std::optional<std::vector<std::uint8_t>> openCsvUnitFile(Session& session);

}  // namespace tarnel

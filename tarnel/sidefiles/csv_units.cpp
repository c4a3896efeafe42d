#include "sidefiles/csv_units.h"

#include <algorithm>
#include <cstdio>

#include "common/file_io.h"
#include "common/text1252.h"
#include "sidefiles/text_lines.h"

namespace tarnel {

namespace {

// A unit section holds at most 194,400 bytes: one byte per cell of four
// characters at most makes well under this. A larger file is refused with a
// word rather than read in part: lines past the cut could hold units.
constexpr std::uint64_t kMaxCsvFileBytes = 64ull << 20;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Image offsets [begin, end) of the unit records: section 1 as the directory
// gives it, or the 400 records of a version 1.0 image.
std::pair<std::int64_t, std::int64_t> unitSection(const GameModel& m) {
  const std::int64_t begin = std::clamp<std::int64_t>(m.sectionOffset[kUnitSection], 0, kImageSize);
  const std::int64_t length = m.loaded == GameFileKind::V10 ? m.layout->unitCapacityBytes
                                                            : std::max(0, m.sectionLength[kUnitSection]);
  return {begin, std::min<std::int64_t>(begin + length, kImageSize)};
}

// A name as its cell: as it is, or between double quotes (inner quotes
// doubled) when a comma, a line break or a leading quote would make a
// spreadsheet or the paste read it as something else.
std::string nameCell(const std::string& name) {
  if (name.find_first_of(",\r\n") == std::string::npos && (name.empty() || name.front() != '"')) return name;
  std::string cell = "\"";
  for (char c : name) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
  return cell + '"';
}

// One cell of a unit line from `pos` on. A cell a spreadsheet has put
// between double quotes is read without them; any other cell ends at the next
// comma, and a number cell also at the first character below 32 or above 127,
// which ends the line.
struct Cell {
  std::string text;
  bool endedAtComma = false;
};

// The part of a cell between double quotes, from the opening quote at pos on;
// "" stands for one quote. Ends after the closing quote or at the end.
std::string quotedPart(std::string_view text, std::size_t& pos) {
  std::string part;
  ++pos;
  while (pos < text.size()) {
    if (text[pos] == '"') {
      if (pos + 1 < text.size() && text[pos + 1] == '"') {
        part += '"';
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    part += text[pos++];
  }
  return part;
}

// The rest of a cell from pos on, added to `cell`: up to the next comma, and
// for a number cell up to the first character below 32 or above 127.
void readRest(std::string_view line, std::size_t& pos, bool number, Cell& cell) {
  auto endsLine = [number](char c) {
    const auto b = static_cast<unsigned char>(c);
    return number && (b < 32 || b > 127);
  };
  while (pos < line.size() && line[pos] != ',' && !endsLine(line[pos])) cell.text += line[pos++];
  cell.endedAtComma = pos < line.size() && line[pos] == ',';
  if (cell.endedAtComma) ++pos;
}

Cell readCell(std::string_view line, std::size_t& pos, bool number) {
  Cell cell;
  if (pos < line.size() && line[pos] == '"') cell.text = quotedPart(line, pos);
  readRest(line, pos, number, cell);
  return cell;
}

// A number cell's value: leading blanks, one optional sign, digits up to the
// first non-digit; none counts 0. Only the low 8 bits are kept.
std::uint8_t cellByte(const std::string& text) {
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  unsigned value = 0;
  for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) value = (value * 10 + unsigned(text[p] - '0')) & 0xFF;
  return static_cast<std::uint8_t>(negative ? 0u - value : value);
}

}  // namespace

std::string csvUnitText(const GameModel& m) {
  const int stride = m.layout->unitStride;
  std::string text = "'00-0F,";
  char cell[16];
  for (int n = kUnitNameBytes; n < stride; ++n) {
    std::snprintf(cell, sizeof cell, "'%02X,", static_cast<unsigned>(n));
    text += cell;
  }
  text += "\r\n";
  for (int k = 0; k < m.unitCount; ++k) {
    const std::int64_t record = m.unitOffset(k);
    text += nameCell(m.textAt(record, kUnitNameBytes));
    for (int n = kUnitNameBytes; n < stride; ++n) {
      text += ',';
      text += std::to_string(m.byteAt(record + n));
    }
    text += "\r\n";
  }
  return text;
}

void pasteCsvUnits(std::span<const std::uint8_t> csv, GameModel& m) {
  std::string_view text(reinterpret_cast<const char*>(csv.data()), csv.size());
  // A spreadsheet that saves "CSV UTF-8" marks it so; its names are turned
  // back into the game's single-byte characters.
  const bool utf8 = text.starts_with(kUtf8Bom);
  TextLines lines(text, kCsvLineLength);
  lines.next();  // the heading line
  const auto [begin, end] = unitSection(m);
  std::int64_t p = begin;
  while (p < end) {
    // A name between double quotes may hold line breaks, as a spreadsheet
    // keeps them inside a cell: it is read from the text itself, and its
    // line goes on after the closing quote.
    Cell name;
    if (const std::size_t at = lines.offset(); at < text.size() && text[at] == '"') {
      std::size_t after = at;
      name.text = quotedPart(text, after);
      lines.seek(after);
    }
    const auto line = lines.next();
    if (!line) break;
    std::size_t pos = 0;
    readRest(*line, pos, false, name);
    // A line without a comma after its name (an empty one among them) holds
    // no unit.
    if (!name.endedAtComma) continue;
    const std::string bytes = utf8 ? common::utf8ToCp1252(name.text) : name.text;
    for (int k = 0; k < kUnitNameBytes; ++k, ++p)
      if (p < end) m.setByteAt(p, k < static_cast<int>(bytes.size()) ? static_cast<unsigned char>(bytes[k]) : 0);
    for (bool more = true; more && p < end; ++p) {
      const Cell cell = readCell(*line, pos, true);
      m.setByteAt(p, cellByte(cell.text));
      more = cell.endedAtComma;
    }
  }
}

void saveCsvUnitFile(Session& s) {
  FileDialogState& d = s.SaveDialog1;
  d.title = kCsvSaveTitle;
  d.filter = kCsvFilter;
  d.defaultExt = "csv";
  if (!s.prompts.saveDialog(d)) return;
  s.prompts.setBusy(true);
  const bool written = common::writeFileSafely(d.fileName, csvUnitText(s.model));
  s.prompts.setBusy(false);
  if (!written) s.prompts.message("Couldn't open csv file. Aborting.", "Error", MessageIcon::Error);
}

std::optional<std::vector<std::uint8_t>> openCsvUnitFile(Session& s) {
  FileDialogState& d = s.OpenDialog1;
  d.title = kCsvLoadTitle;
  d.filter = kCsvFilter;
  d.defaultExt = "csv";
  if (!s.prompts.openDialog(d)) return std::nullopt;
  auto bytes = common::readFileBytes(d.fileName, kMaxCsvFileBytes + 1);
  if (!bytes) {
    s.prompts.message("Couldn't load csv file. Aborting.", "Error", MessageIcon::Error);
  } else if (bytes->size() > kMaxCsvFileBytes) {
    s.prompts.message("This CSV file is larger than " + std::to_string(kMaxCsvFileBytes) + " bytes. Not loaded.",
                      "Error", MessageIcon::Error);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace tarnel

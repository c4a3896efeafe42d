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
// "" stands for one quote. Ends after the closing quote (closed) or at the end.
std::string quotedPart(std::string_view text, std::size_t& pos, bool& closed) {
  std::string part;
  closed = false;
  ++pos;
  while (pos < text.size()) {
    if (text[pos] == '"') {
      if (pos + 1 < text.size() && text[pos + 1] == '"') {
        part += '"';
        pos += 2;
        continue;
      }
      ++pos;
      closed = true;
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
  bool closed = false;
  if (pos < line.size() && line[pos] == '"') cell.text = quotedPart(line, pos, closed);
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

namespace {

// One unit line of a CSV unit file: its name and its number cells' bytes.
struct UnitLine {
  std::size_t start = 0;  // offset of the line in the text
  std::string name;       // Windows-1252 bytes
  std::vector<std::uint8_t> numbers;
};

// The unit lines of a CSV unit file in order, the heading line skipped; a
// line without a comma after its name (an empty one among them) holds no
// unit and is passed over.
class UnitLineReader {
 public:
  explicit UnitLineReader(std::span<const std::uint8_t> csv)
      : text_(reinterpret_cast<const char*>(csv.data()), csv.size()),
        // A spreadsheet that saves "CSV UTF-8" marks it so; its names are
        // turned back into the game's single-byte characters.
        utf8_(text_.starts_with(kUtf8Bom)),
        lines_(text_, kCsvLineLength) {
    lines_.next();
  }

  bool next(UnitLine& unit) {
    for (;;) {
      unit.start = lines_.offset();
      Cell name = quotedName();
      const auto line = lines_.next();
      if (!line) return false;
      std::size_t pos = 0;
      readRest(*line, pos, false, name);
      if (!name.endedAtComma) continue;
      unit.name = utf8_ ? common::utf8ToCp1252(name.text) : name.text;
      unit.numbers.clear();
      for (bool more = true; more;) {
        const Cell cell = readCell(*line, pos, true);
        unit.numbers.push_back(cellByte(cell.text));
        more = cell.endedAtComma;
      }
      return true;
    }
  }

  // The line number (from 1) of a text offset, counting line breaks as the
  // line reader takes them; offsets must not go backwards between calls.
  int lineNumberOf(std::size_t offset) {
    for (; counted_ < offset && counted_ < text_.size(); ++counted_) {
      const char c = text_[counted_];
      if (c == '\n' || (c == '\r' && (counted_ + 1 >= text_.size() || text_[counted_ + 1] != '\n'))) ++line_;
    }
    return line_;
  }

 private:
  // A name between double quotes may hold line breaks, as a spreadsheet
  // keeps them inside a cell: it is read from the text itself and its line
  // goes on after the closing quote. It counts as quoted only when that quote
  // ends the cell (a comma or the end of the line follows); otherwise, a
  // name cut inside its quotes among them, the cell is read as it stands.
  Cell quotedName() {
    Cell name;
    const std::size_t at = lines_.offset();
    if (at >= text_.size() || text_[at] != '"') return name;
    std::size_t after = at;
    bool closed = false;
    std::string part = quotedPart(text_, after, closed);
    const bool endsCell = after == text_.size() || text_[after] == ',' || text_[after] == '\r' || text_[after] == '\n';
    if (!closed || !endsCell) return name;
    name.text = std::move(part);
    lines_.seek(after);
    return name;
  }

  std::string_view text_;
  bool utf8_;
  TextLines lines_;
  std::size_t counted_ = 0;
  int line_ = 1;
};

}  // namespace

void pasteCsvUnits(std::span<const std::uint8_t> csv, GameModel& m) {
  UnitLineReader reader(csv);
  const auto [begin, end] = unitSection(m);
  std::int64_t p = begin;
  UnitLine unit;
  while (p < end && reader.next(unit)) {
    for (int k = 0; k < kUnitNameBytes; ++k, ++p)
      if (p < end) m.setByteAt(p, k < static_cast<int>(unit.name.size()) ? static_cast<unsigned char>(unit.name[static_cast<std::size_t>(k)]) : 0);
    for (std::size_t k = 0; k < unit.numbers.size() && p < end; ++k, ++p) m.setByteAt(p, unit.numbers[k]);
  }
}

std::optional<std::string> csvShiftWarning(std::span<const std::uint8_t> csv, const GameModel& m) {
  UnitLineReader reader(csv);
  const auto [begin, end] = unitSection(m);
  const std::size_t unitCells = static_cast<std::size_t>(m.layout->unitStride - kUnitNameBytes + 1);
  std::int64_t p = begin;
  UnitLine unit;
  while (p < end && reader.next(unit)) {
    const std::size_t cells = 1 + unit.numbers.size();
    if (cells != unitCells)
      return "Line " + std::to_string(reader.lineNumberOf(unit.start)) + " has " + std::to_string(cells) +
             " cells where a unit has " + std::to_string(unitCells) + ": every unit after it would move.";
    p += static_cast<std::int64_t>(cells) + kUnitNameBytes - 1;
  }
  return std::nullopt;
}

std::string gameCsvName(const GameModel& m) {
  const std::string& path = m.currentPath;
  const std::size_t slash = path.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? m.dataDir : path.substr(0, slash + 1);
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  return folder + name + ".csv";
}

namespace {
bool hasCsvExtension(std::string_view path) {
  return path.size() >= 4 && common::lowerCase(std::string(path.substr(path.size() - 4))) == ".csv";
}
}  // namespace

void saveCsvUnitFile(Session& s) {
  FileDialogState& d = s.SaveDialog1;
  d.title = kCsvSaveTitle;
  d.filter = kCsvFilter;
  d.defaultExt = "csv";
  // The shared dialog may hold the game file just saved: confirming that
  // name would turn the game into CSV text.
  if (!hasCsvExtension(d.fileName)) d.fileName = gameCsvName(s.model);
  if (!s.prompts.saveDialog(d)) return;
  s.prompts.setBusy(true);
  const bool written = common::writeFileSafely(d.fileName, csvUnitText(s.model));
  s.prompts.setBusy(false);
  if (!written) {
    s.prompts.message("Couldn't open csv file. Aborting.", "Error", MessageIcon::Error);
    return;
  }
  s.lastCsvFile = d.fileName;
}

std::optional<std::vector<std::uint8_t>> openCsvUnitFile(Session& s) {
  FileDialogState& d = s.OpenDialog1;
  d.title = kCsvLoadTitle;
  d.filter = kCsvFilter;
  // Not whatever file the shared dialog opened last (a countries file reads
  // as units too), and no default extension, which would stay in the dialog
  // for the commands after this one.
  d.fileName = s.lastCsvFile.empty() ? gameCsvName(s.model) : s.lastCsvFile;
  if (!s.prompts.openDialog(d)) return std::nullopt;
  auto bytes = common::readFileBytes(d.fileName, kMaxCsvFileBytes + 1);
  if (!bytes) {
    s.prompts.message("Couldn't load csv file. Aborting.", "Error", MessageIcon::Error);
  } else if (bytes->size() > kMaxCsvFileBytes) {
    s.prompts.message("This CSV file is larger than " + std::to_string(kMaxCsvFileBytes) + " bytes. Not loaded.",
                      "Error", MessageIcon::Error);
    return std::nullopt;
  } else {
    s.lastCsvFile = d.fileName;
  }
  return bytes;
}

}  // namespace tarnel

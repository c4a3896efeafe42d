#include "sidefiles/country_data.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "common/file_io.h"
#include "sidefiles/text_lines.h"

namespace tarnel {

namespace {

// Country data files are a few hundred kilobytes at most. A larger file is
// refused with a word rather than read in part: comment lines can push data
// sets to any depth of a file.
constexpr std::uint64_t kMaxCountryFileBytes = 64ull << 20;

// The blanks that end a word and that number fields may stand between.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The next line that is not a ";" comment; nullopt at the end of the file.
std::optional<std::string_view> nextLine(TextLines& lines) {
  while (auto line = lines.next())
    if (line->empty() || line->front() != ';') return line;
  return std::nullopt;
}

// The count line: blanks, an optional sign and decimal digits; what follows
// is ignored. Values beyond the int range saturate.
std::optional<int> leadingInteger(std::string_view line) {
  std::size_t p = 0;
  while (p < line.size() && isBlank(line[p])) ++p;
  bool negative = false;
  if (p < line.size() && (line[p] == '+' || line[p] == '-')) negative = line[p++] == '-';
  if (p >= line.size() || !isDigit(line[p])) return std::nullopt;
  long long value = 0;
  for (; p < line.size() && isDigit(line[p]); ++p) value = std::min<long long>(value * 10 + (line[p] - '0'), 1ll << 32);
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Up to seven numbers separated by blanks, each kept as a signed 16-bit
// value (the low 16 bits of a larger one). Reading stops at the first text
// that is not a number; the values after it keep what they held.
void readNumbers(std::string_view line, std::array<std::int16_t, kCountryValues>& values) {
  std::size_t p = 0;
  for (std::int16_t& value : values) {
    while (p < line.size() && isBlank(line[p])) ++p;
    bool negative = false;
    if (p < line.size() && (line[p] == '+' || line[p] == '-')) negative = line[p++] == '-';
    if (p >= line.size() || !isDigit(line[p])) return;
    std::uint16_t v = 0;
    for (; p < line.size() && isDigit(line[p]); ++p) v = static_cast<std::uint16_t>(v * 10 + (line[p] - '0'));
    if (negative) v = static_cast<std::uint16_t>(-v);
    value = static_cast<std::int16_t>(v);
  }
}

// The description line: its first word is the country's name, the line up
// to its first control character the description; underscores of the first
// word read as blanks in both.
void readDescription(std::string_view line, CountryDataSet& set) {
  std::size_t wordStart = 0;
  while (wordStart < line.size() && isBlank(line[wordStart])) ++wordStart;
  std::size_t wordEnd = wordStart;
  while (wordEnd < line.size() && !isBlank(line[wordEnd]) && line[wordEnd] != '\0') ++wordEnd;
  std::size_t textEnd = 0;
  while (textEnd < line.size() && static_cast<unsigned char>(line[textEnd]) >= 32) ++textEnd;

  set.name.assign(line.substr(wordStart, std::min<std::size_t>(wordEnd - wordStart, kCountryNameBytes)));
  std::replace(set.name.begin(), set.name.end(), '_', ' ');
  set.description.assign(line.substr(0, textEnd));
  for (std::size_t k = wordStart; k < std::min(wordEnd, textEnd); ++k)
    if (set.description[k] == '_') set.description[k] = ' ';
}

}  // namespace

CountryReadResult readCountryData(std::string_view text, CountryTable& table) {
  CountryReadResult result;
  TextLines lines(text, kCountryLineLength);
  const auto countLine = nextLine(lines);
  const std::optional<int> count = countLine ? leadingInteger(*countLine) : std::nullopt;
  if (!count || *count < 1) return result;
  result.valid = true;
  result.announced = *count;

  const int wanted = std::min(*count, kCountryEntries);
  int k = 0;
  for (; k < wanted; ++k) {
    auto& entry = table.entries[static_cast<std::size_t>(k)];
    // A data set goes in only whole; a short number line keeps the values
    // the entry held before.
    CountryDataSet set = entry;
    const auto description = nextLine(lines);
    if (!description) break;
    readDescription(*description, set);
    bool complete = true;
    for (auto& row : set.values) {
      const auto numbers = nextLine(lines);
      if (!numbers) {
        complete = false;
        break;
      }
      readNumbers(*numbers, row);
    }
    if (!complete) break;
    entry = std::move(set);
  }
  table.count = k;
  result.loaded = k;
  return result;
}

void loadCountryData(Session& s) {
  s.view->dismissTitlePicture();
  FileDialogState& d = s.OpenDialog1;
  d.title = kCountryDialogTitle;
  d.filter = kCountryFilter;
  d.initialDir = s.model.programDir;
  if (!s.prompts.openDialog(d)) return;
  const auto bytes = common::readFileBytes(d.fileName, kMaxCountryFileBytes + 1);
  if (!bytes) {
    s.prompts.message("Could not open file", "Error", MessageIcon::Error);
    return;
  }
  if (bytes->size() > kMaxCountryFileBytes) {
    s.prompts.message("This country data file is larger than " + std::to_string(kMaxCountryFileBytes) +
                          " bytes. Not loaded.",
                      "Error", MessageIcon::Error);
    return;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  const CountryReadResult r = readCountryData(text, s.countries);
  if (!r.valid) {
    s.prompts.message("This isn't a Dice Stat file.", "Error", MessageIcon::Error);
    return;
  }
  if (r.announced > kCountryEntries)
    s.prompts.message("File contains " + std::to_string(r.announced) + " entries. Only " +
                          std::to_string(kCountryEntries) + " are allowed.",
                      "Warning. Truncating data", MessageIcon::Warning);
}

// ---- Country stats window ------------------------------------------------

namespace {
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive order, names that differ only in case by their bytes.
bool alphabetical(const std::string& a, const std::string& b) {
  auto folded = [](char x, char y) {
    return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
  return a < b;
}
}  // namespace

const std::vector<std::string>& CountryStats::show() {
  countries_.clear();
  const int n = std::clamp(table_.count, 0, kCountryEntries);
  for (int k = 0; k < n; ++k) {
    const std::string& name = table_.entries[static_cast<std::size_t>(k)].name;
    if (std::find(countries_.begin(), countries_.end(), name) == countries_.end()) countries_.push_back(name);
  }
  std::sort(countries_.begin(), countries_.end(), alphabetical);
  selectedRow_ = 0;
  return countries_;
}

const std::vector<std::array<std::string, 2>>& CountryStats::chooseCountry(int item) {
  if (item < 0 || item >= static_cast<int>(countries_.size())) return rows_;
  const std::string& name = countries_[static_cast<std::size_t>(item)];
  rows_.clear();
  const int n = std::clamp(table_.count, 0, kCountryEntries);
  for (int k = 0; k < n; ++k) {
    const CountryDataSet& set = table_.entries[static_cast<std::size_t>(k)];
    if (set.name == name) rows_.push_back({std::to_string(k), set.description});
  }
  selectedRow_ = 0;
  return rows_;
}

void CountryStats::selectCell(int col, int row) {
  selectedCol_ = col;
  selectedRow_ = row;
}

bool CountryStats::set(RollTexts& texts) const {
  if (selectedRow_ < 1 || selectedRow_ > static_cast<int>(rows_.size())) return false;
  const int entry = toInt(rows_[static_cast<std::size_t>(selectedRow_ - 1)][0]);
  if (entry < 0 || entry >= kCountryEntries) return false;
  const CountryDataSet& set = table_.entries[static_cast<std::size_t>(entry)];
  for (std::size_t r = 0; r < texts.size(); ++r)
    for (std::size_t c = 0; c < texts[r].size(); ++c) texts[r][c] = std::to_string(set.values[r][c]);
  return true;
}

}  // namespace tarnel

#include "model/undo.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>

namespace tarnel {

namespace {

// Equal bytes between two changes up to which both share one run: a run
// costs more than a few bytes kept twice.
constexpr std::size_t kRunGap = 8;

// The first offset from `i` on where x and y differ, or n.
std::size_t firstDifference(const std::uint8_t* x, const std::uint8_t* y, std::size_t i, std::size_t n) {
  while (i + 4096 <= n && std::memcmp(x + i, y + i, 4096) == 0) i += 4096;
  while (i + 64 <= n && std::memcmp(x + i, y + i, 64) == 0) i += 64;
  while (i < n && x[i] == y[i]) ++i;
  return i;
}

void putCount(std::vector<std::uint8_t>& out, std::size_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(v));
}

std::size_t getCount(const std::vector<std::uint8_t>& in, std::size_t& at) {
  std::size_t v = 0;
  for (int shift = 0; at < in.size(); shift += 7) {
    const std::uint8_t b = in[at++];
    v |= static_cast<std::size_t>(b & 0x7F) << shift;
    if (!(b & 0x80)) break;
  }
  return v;
}

void putText(std::vector<std::uint8_t>& out, const std::string& text) {
  putCount(out, text.size());
  out.insert(out.end(), text.begin(), text.end());
}

std::string getText(const std::vector<std::uint8_t>& in, std::size_t& at) {
  const std::size_t n = std::min(getCount(in, at), in.size() - at);
  std::string text(in.begin() + static_cast<std::ptrdiff_t>(at), in.begin() + static_cast<std::ptrdiff_t>(at + n));
  at += n;
  return text;
}

// The unit whose record, leader record or position entry holds `offset`.
int unitAt(const GameDocument& d, std::int64_t offset) {
  if (d.unitCount <= 0) return -1;
  const std::pair<FileSection, int> tables[] = {
      {kUnitSection, d.layout->unitStride}, {kLeaderSection, kLeaderStride}, {kPositionSection, kPositionStride}};
  for (const auto& [section, stride] : tables) {
    const std::int64_t from = d.sectionOffset[static_cast<std::size_t>(section)];
    if (offset >= from && offset < from + std::int64_t{stride} * d.unitCount)
      return static_cast<int>((offset - from) / stride);
  }
  return -1;
}

void setBeside(Session& s, const BesideImage& b) {
  GameModel& m = s.model;
  m.sectionOffset = b.sectionOffset;
  m.sectionLength = b.sectionLength;
  m.sectionId = b.sectionId;
  m.v10Length = b.v10Length;
  m.layout = b.layout;
  m.loaded = b.loaded;
  m.negativeLength = b.negativeLength;
  m.unitCount = b.unitCount;
  m.sideNames = b.sideNames;
  m.sideNation = b.sideNation;
  m.sideMob = b.sideMob;
  s.sideItems = b.sideItems;
  s.PrimarySkillClass = b.classes;
  s.mob = b.mob;
}

}  // namespace

bool operator==(const MobTables& a, const MobTables& b) {
  return a.names == b.names && a.men == b.men && a.available == b.available;
}

BesideImage besideImage(const Session& s) {
  const GameModel& m = s.model;
  return {m.sectionOffset, m.sectionLength, m.sectionId, m.v10Length, m.layout,   m.loaded,       m.negativeLength,
          m.unitCount,     m.sideNames,     m.sideNation, m.sideMob,  s.sideItems, s.PrimarySkillClass, s.mob};
}

// ---- UndoStep ----------------------------------------------------------------

UndoStep::UndoStep(const UndoStep& o)
    : label_(o.label_),
      runs_(o.runs_),
      bytes_(o.bytes_),
      cells_(o.cells_),
      cellCount_(o.cellCount_),
      rowsBefore_(o.rowsBefore_),
      rowsAfter_(o.rowsAfter_),
      besideBefore_(o.besideBefore_ ? std::make_unique<BesideImage>(*o.besideBefore_) : nullptr),
      besideAfter_(o.besideAfter_ ? std::make_unique<BesideImage>(*o.besideAfter_) : nullptr),
      unit_(o.unit_) {}

UndoStep& UndoStep::operator=(const UndoStep& o) {
  if (this != &o) *this = UndoStep(o);
  return *this;
}

bool UndoStep::empty() const {
  return runs_.empty() && cellCount_ == 0 && rowsBefore_ == rowsAfter_ && !besideBefore_;
}

std::size_t UndoStep::memory() const {
  return sizeof(UndoStep) + label_.capacity() + runs_.capacity() * sizeof(ByteRun) + bytes_.capacity() +
         cells_.capacity() + (besideBefore_ ? 2 * sizeof(BesideImage) : 0);
}

std::optional<std::pair<int, int>> UndoStep::singleCell() const {
  if (cellCount_ != 1 || !runs_.empty() || besideBefore_ || rowsBefore_ != rowsAfter_) return std::nullopt;
  const auto only = cells();
  return std::pair{only[0].col, only[0].row};
}

std::vector<UndoStep::Cell> UndoStep::cells() const {
  std::vector<Cell> out;
  out.reserve(cellCount_);
  std::size_t at = 0;
  int row = 0;
  for (std::size_t k = 0; k < cellCount_; ++k) {
    row += static_cast<int>(getCount(cells_, at));
    const int col = static_cast<int>(getCount(cells_, at));
    std::string before = getText(cells_, at);
    out.push_back({col, row, std::move(before), getText(cells_, at)});
  }
  return out;
}

void UndoStep::setCells(const std::vector<Cell>& cells) {
  cells_.clear();
  cellCount_ = 0;
  int row = 0;
  for (const Cell& c : cells) {
    if (c.before == c.after) continue;
    putCount(cells_, static_cast<std::size_t>(c.row - row));
    row = c.row;
    putCount(cells_, static_cast<std::size_t>(c.col));
    putText(cells_, c.before);
    putText(cells_, c.after);
    ++cellCount_;
  }
  cells_.shrink_to_fit();
}

void UndoStep::setImageDiff(std::uint32_t base, std::span<const std::uint8_t> before,
                            std::span<const std::uint8_t> after) {
  const std::uint8_t* x = before.data();
  const std::uint8_t* y = after.data();
  const std::size_t n = std::min(before.size(), after.size());
  for (std::size_t i = firstDifference(x, y, 0, n); i < n; i = firstDifference(x, y, i, n)) {
    std::size_t last = i;
    for (std::size_t j = i + 1; j < n && j - last <= kRunGap; ++j)
      if (x[j] != y[j]) last = j;
    const std::size_t length = last + 1 - i;
    runs_.push_back({base + static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(length), bytes_.size()});
    bytes_.insert(bytes_.end(), x + i, x + i + length);
    bytes_.insert(bytes_.end(), y + i, y + i + length);
    i = last + 1;
  }
}

void UndoStep::apply(Session& s, bool after) const {
  GameModel& m = s.model;
  for (const ByteRun& r : runs_) {
    const std::uint8_t* from = bytes_.data() + r.at + (after ? r.length : 0);
    for (std::uint32_t k = 0; k < r.length; ++k) m.setByteAt(std::int64_t{r.offset} + k, from[k]);
  }

  // Many cells at once are one reset of the grid's view; a few are told one
  // by one, so the view keeps its place.
  const int rows = after ? rowsAfter_ : rowsBefore_;
  const bool many = rows != s.grid.rowCount() || cellCount_ > 64;
  if (many) s.grid.beginUpdate();
  if (rows != s.grid.rowCount()) s.grid.setRowCount(rows);
  for (const Cell& c : cells()) s.grid.setCell(c.col, c.row, after ? c.after : c.before);
  if (many) s.grid.endUpdate();

  if (besideBefore_) setBeside(s, after ? *besideAfter_ : *besideBefore_);
}

void UndoStep::append(const UndoStep& later) {
  // Image: over the union of both steps' ranges, the old bytes are this
  // step's where it has them, the new bytes the later step's.
  struct Range {
    std::uint32_t from, to;
  };
  std::vector<Range> ranges;
  for (const UndoStep* step : {static_cast<const UndoStep*>(this), &later})
    for (const ByteRun& r : step->runs_) ranges.push_back({r.offset, r.offset + r.length});
  std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.from < b.from; });
  std::vector<Range> merged;
  for (const Range& r : ranges) {
    if (!merged.empty() && r.from <= merged.back().to)
      merged.back().to = std::max(merged.back().to, r.to);
    else
      merged.push_back(r);
  }
  UndoStep image;
  for (const Range& u : merged) {
    std::vector<std::uint8_t> before(u.to - u.from), after(u.to - u.from);
    // Copies the old (or new) bytes of `step`'s runs inside u into `out`.
    auto paint = [&](const UndoStep& step, bool newBytes, std::vector<std::uint8_t>& out) {
      for (const ByteRun& r : step.runs_) {
        const std::uint32_t from = std::max(r.offset, u.from), to = std::min(r.offset + r.length, u.to);
        if (from >= to) continue;
        const std::uint8_t* src = step.bytes_.data() + r.at + (newBytes ? r.length : 0) + (from - r.offset);
        std::copy(src, src + (to - from), out.begin() + (from - u.from));
      }
    };
    paint(later, false, before);
    paint(*this, false, before);
    paint(*this, true, after);
    paint(later, true, after);
    image.setImageDiff(u.from, before, after);
  }
  runs_ = std::move(image.runs_);
  bytes_ = std::move(image.bytes_);

  // Grid: old text from the first step that changed a cell, new text from
  // the last.
  std::map<std::pair<int, int>, Cell> joined;
  for (Cell& c : cells()) joined.emplace(std::pair{c.row, c.col}, std::move(c));
  for (Cell& c : later.cells()) {
    auto [it, added] = joined.emplace(std::pair{c.row, c.col}, c);
    if (!added) it->second.after = std::move(c.after);
  }
  std::vector<Cell> list;
  for (auto& [key, c] : joined) list.push_back(std::move(c));
  setCells(list);
  rowsAfter_ = later.rowsAfter_;

  if (later.besideBefore_) {
    if (!besideBefore_) besideBefore_ = std::make_unique<BesideImage>(*later.besideBefore_);
    besideAfter_ = std::make_unique<BesideImage>(*later.besideAfter_);
  }
  if (besideBefore_ && *besideBefore_ == *besideAfter_) {
    besideBefore_.reset();
    besideAfter_.reset();
  }
  if (unit_ < 0) unit_ = later.unit_;
}

bool UndoStep::setOldByte(std::uint32_t offset, std::uint8_t value) {
  auto it = std::upper_bound(runs_.begin(), runs_.end(), offset,
                             [](std::uint32_t o, const ByteRun& r) { return o < r.offset; });
  if (it == runs_.begin()) return false;
  --it;
  if (offset >= it->offset + it->length) return false;
  bytes_[it->at + (offset - it->offset)] = value;
  return true;
}

void UndoStep::rebase(const UndoStep& change, const std::vector<UndoStep*>& later) {
  for (const ByteRun& r : change.runs_) {
    for (std::uint32_t k = 0; k < r.length; ++k) {
      const std::uint8_t value = change.bytes_[r.at + r.length + k];
      for (UndoStep* step : later)
        if (step->setOldByte(r.offset + k, value)) break;
    }
  }
}

// ---- Transaction -------------------------------------------------------------

Transaction::Transaction(const Session& s, std::vector<std::uint8_t>& shadow)
    : shadow_(shadow), rows_(s.grid.rowCount()), cells_(s.grid.cells()), beside_(besideImage(s)) {
  if (shadow_.size() != s.model.image().size()) shadow_ = s.model.image();
}

namespace {
// The written range of the image, within both it and the shadow.
std::pair<std::size_t, std::size_t> comparedRange(const GameDocument& d, const std::vector<std::uint8_t>& shadow) {
  const auto size = static_cast<std::int64_t>(std::min(d.image().size(), shadow.size()));
  const auto [from, to] = d.writtenRange();
  const std::int64_t a = std::clamp<std::int64_t>(from, 0, size), b = std::clamp<std::int64_t>(to, a, size);
  return {static_cast<std::size_t>(a), static_cast<std::size_t>(b)};
}

// The shadow brought up to the image over the range written since.

void settleShadow(GameDocument& d, std::vector<std::uint8_t>& shadow) {
  const auto [from, to] = comparedRange(d, shadow);
  std::copy(d.image().begin() + static_cast<std::ptrdiff_t>(from), d.image().begin() + static_cast<std::ptrdiff_t>(to),
            shadow.begin() + static_cast<std::ptrdiff_t>(from));
  d.forgetWrites();
}
}  // namespace

void Transaction::settle(GameDocument& d) { settleShadow(d, shadow_); }

UndoStep Transaction::difference(const Session& s, std::string label) const {
  UndoStep step;
  step.label_ = std::move(label);
  const auto [from, to] = comparedRange(s.model, shadow_);
  step.setImageDiff(static_cast<std::uint32_t>(from), std::span(shadow_).subspan(from, to - from),
                    std::span(s.model.image()).subspan(from, to - from));
  step.bytes_.shrink_to_fit();

  const TextTable& grid = s.grid;
  const int cols = grid.colCount();
  step.rowsBefore_ = rows_;
  step.rowsAfter_ = grid.rowCount();
  std::vector<UndoStep::Cell> changed;
  const int rows = std::max(rows_, grid.rowCount());
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      static const std::string kNone;
      const std::size_t at = static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c);
      const std::string& before = r < rows_ ? cells_[at] : kNone;
      const std::string& after = grid.cell(c, r);
      if (before != after) changed.push_back({c, r, before, after});
    }
  }
  step.setCells(changed);

  BesideImage now = besideImage(s);
  if (!(now == beside_)) {
    step.besideBefore_ = std::make_unique<BesideImage>(beside_);
    step.besideAfter_ = std::make_unique<BesideImage>(std::move(now));
  }

  for (const UndoStep::Cell& c : changed) {
    if (c.row >= 1) {
      step.unit_ = c.row - 1;
      break;
    }
  }
  if (step.unit_ < 0 && !step.runs_.empty()) {
    // The first run may start in the gap before the record it changes.
    const UndoStep::ByteRun& r = step.runs_.front();
    const std::uint8_t* x = step.bytes_.data() + r.at;
    std::uint32_t k = 0;
    while (k < r.length && x[k] == x[r.length + k]) ++k;
    step.unit_ = unitAt(s.model, std::int64_t{r.offset} + k);
  }
  return step;
}

// ---- Running commands and restoring steps -------------------------------------

void commitCellEditor(Session& s) {
  // The commit runs a command of its own, which must not commit again.
  if (s.inCommand_ || s.committingEditor_) return;
  s.committingEditor_ = true;
  s.view->commitCellEditor();
  s.committingEditor_ = false;
}

void runCommand(Session& s, const std::string& label, const std::function<void()>& command) {
  if (s.inCommand_) {
    command();
    return;
  }
  // Typing not yet stored would otherwise land inside this command's step.
  commitCellEditor(s);
  std::optional<Transaction> transaction;
  if (s.recorder) transaction.emplace(s, s.undoShadow_);
  s.inCommand_ = true;
  s.loadedInCommand_ = false;
  s.savedInCommand_ = false;
  std::string error;
  bool failed = false;
  try {
    command();
  } catch (const std::exception& e) {
    failed = true;
    error = e.what();
  }
  s.inCommand_ = false;
  // What the command stored before an error is recorded like the rest.
  if (UndoRecorder* recorder = s.recorder) {
    if (s.loadedInCommand_) {
      recorder->clear();
    } else {
      UndoStep step = transaction->difference(s, label);
      if (!step.empty()) {
        if (label.empty())
          recorder->amend(std::move(step));
        else
          recorder->record(std::move(step));
      }
      if (s.savedInCommand_) recorder->markClean();
    }
    transaction->settle(s.model);
    if (recorder->isClean())
      s.setModified(false);
    else
      s.markModified();
  }
  if (failed) s.prompts.errorReport(error);
}

void restoreStep(Session& s, const UndoStep& step, bool after) {
  step.apply(s, after);
  // What the step put back is where the next command starts from.
  if (s.undoShadow_.size() == s.model.image().size()) settleShadow(s.model, s.undoShadow_);
  // The map shows the grid's positions, which may have changed.
  s.model.redrawNeeded = true;
  s.view->sideItemsChanged();
  s.view->documentRestored(step.unit());
}

}  // namespace tarnel

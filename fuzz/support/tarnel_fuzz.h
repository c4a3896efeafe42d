// Tarnel's side of the fuzz targets: a session whose prompts answer every
// dialog with a scratch file, the invariants of a session after any load, and
// the comparison that tells a refused load changed nothing.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "game_sample.h"
#include "gamefiles/section_stream.h"
#include "mainwindow/main_commands.h"
#include "model/session.h"
#include "support/fuzz_check.h"

namespace fuzz {

// Answers the chooser with `input` and the save dialog with `output`, and
// keeps every message as "title: text".
class ScratchPrompts : public tarnel::Prompts {
 public:
  std::string input = scratchFile("game.dat");
  std::string output = scratchFile("saved.dat");
  std::string openAnswer;  // the open dialog's answer; empty: Cancel
  std::vector<std::string> shown;

  void message(const std::string& text, const std::string& title, tarnel::MessageIcon) override {
    shown.push_back(title + ": " + text);
  }
  void errorReport(const std::string& text) override { shown.push_back("error: " + text); }
  bool openDialog(tarnel::FileDialogState& d) override {
    d.fileName = openAnswer;
    return !openAnswer.empty();
  }
  bool saveDialog(tarnel::FileDialogState& d) override {
    d.fileName = output;
    return true;
  }
  bool chooseGameFile(tarnel::GameFileChoice& c) override {
    c.fileName = input;
    return true;
  }
  bool showed(const std::string& title) const {
    return std::any_of(shown.begin(), shown.end(), [&](const std::string& s) { return s.rfind(title + ": ", 0) == 0; });
  }
};

// A session set up as the program starts, with the MOB directory in the
// scratch directory and a clock that does not move.
inline void startSession(tarnel::Session& s) {
  s.setProgramDir(scratchDir());
  s.clock = [] { return 12345u; };
}

// The MOB and KOB files of the samples' sides, once per process.
inline void putSampleMobFiles() {
  static const bool done = [] {
    for (int mob : {3, 7})
      for (const char* kind : {"MOB0", "KOB0"})
        putFile(scratchFile(kind + std::to_string(mob)), samplegen::makeMobFile(mob));
    return true;
  }();
  (void)done;
}

// The directory lies inside the image; a sectioned load lays the sections
// back to back from offset 20, up to where the image ran full.
inline void checkDirectory(const tarnel::GameModel& m, bool sectioned) {
  FUZZ_CHECK(m.image().size() == static_cast<std::size_t>(tarnel::kImageSize));
  for (int j = 0; j < tarnel::kDirectorySize; ++j) {
    FUZZ_CHECK(m.sectionOffset[j] >= 0 && m.sectionLength[j] >= 0);
    FUZZ_CHECK(std::int64_t{m.sectionOffset[j]} + m.sectionLength[j] <= tarnel::kImageSize);
  }
  if (!sectioned) return;
  FUZZ_CHECK(m.sectionOffset[0] == 0 && m.sectionLength[0] == tarnel::kHeaderSize);
  int j = 1;
  while (j < tarnel::kDirectorySize && m.sectionOffset[j] == m.sectionOffset[j - 1] + m.sectionLength[j - 1]) ++j;
  // Past a position that ran out of room nothing is set.
  for (int rest = j + 1; rest < tarnel::kDirectorySize; ++rest)
    FUZZ_CHECK(m.sectionOffset[rest] == 0 && m.sectionLength[rest] == 0);
}

// Every table of the session stays within its bounds after a load.
inline void checkSession(const tarnel::Session& s) {
  const tarnel::GameModel& m = s.model;
  checkDirectory(m, m.loaded != tarnel::GameFileKind::V10);
  FUZZ_CHECK(m.comment[tarnel::kCommentBytes - 1] == '\0');
  FUZZ_CHECK(m.unitCount >= 0 && m.unitCount <= tarnel::kUnitCapacity);
  FUZZ_CHECK(s.grid.rowCount() == m.unitCount + 1 && s.grid.colCount() == tarnel::kGridColumns);
  for (int k = 0; k < m.unitCount; ++k) {
    const char c = s.PrimarySkillClass[static_cast<std::size_t>(k)];
    // A grid refill without a load (a paste, a dump) leaves new rows unclassified.
    FUZZ_CHECK(c == 'I' || c == 'A' || c == 'T' || c == '\0');
  }
  for (const auto& side : s.mob.names)
    for (const auto& name : side) FUZZ_CHECK(name[tarnel::kWeaponNameBytes] == '\0');
  for (const auto& side : s.mob.men) FUZZ_CHECK(side[0] == 0);
}

// The document: what a load may change. (The chooser's generation is set
// before the chooser runs, whatever it answers.)
inline bool sameDocument(const tarnel::Session& a, const tarnel::Session& b) {
  const tarnel::GameModel& x = a.model;
  const tarnel::GameModel& y = b.model;
  bool same = x.image() == y.image() && x.sectionOffset == y.sectionOffset && x.sectionLength == y.sectionLength &&
              x.sectionId == y.sectionId && x.v10Length == y.v10Length && x.layout == y.layout &&
              x.loaded == y.loaded && x.negativeLength == y.negativeLength && x.unitCount == y.unitCount &&
              x.sideNames == y.sideNames && x.sideNation == y.sideNation && x.sideMob == y.sideMob &&
              x.currentPath == y.currentPath && x.dataDir == y.dataDir && x.mobDir == y.mobDir &&
              x.comment == y.comment && a.fileLabel == b.fileLabel && a.sideItems == b.sideItems &&
              a.modified() == b.modified() && a.mob.names == b.mob.names && a.mob.men == b.mob.men &&
              a.mob.available == b.mob.available && a.PrimarySkillClass == b.PrimarySkillClass &&
              a.grid.rowCount() == b.grid.rowCount();
  for (int r = 0; same && r < a.grid.rowCount(); ++r)
    for (int c = 0; same && c < tarnel::kGridColumns; ++c) same = a.grid.cell(c, r) == b.grid.cell(c, r);
  return same;
}

// Copies the document of one session into another.
inline void copyDocument(tarnel::Session& to, const tarnel::Session& from) {
  to.model = from.model;
  to.grid = from.grid;
  to.mob = from.mob;
  to.PrimarySkillClass = from.PrimarySkillClass;
  to.fileLabel = from.fileLabel;
  to.sideItems = from.sideItems;
  to.setModified(from.modified());
}

// Sectioned images that decode to the same thing: the same bytes after the
// file header and the same non-empty sections in order (empty positions drop
// out on writing), and the same negative-length flag where a section carries it.
inline bool sameSections(const tarnel::GameModel& a, const tarnel::GameModel& b) {
  if (!std::equal(a.image().begin() + tarnel::kHeaderSize, a.image().end(), b.image().begin() + tarnel::kHeaderSize))
    return false;
  int jb = 1;
  bool any = false;
  for (int ja = 1; ja <= tarnel::kMaxSections; ++ja) {
    if (a.sectionLength[ja] <= 0) continue;
    any = true;
    if (b.sectionLength[jb] != a.sectionLength[ja] || b.sectionOffset[jb] != a.sectionOffset[ja] ||
        b.sectionId[jb] != a.sectionId[ja])
      return false;
    ++jb;
  }
  for (; jb <= tarnel::kMaxSections; ++jb)
    if (b.sectionLength[jb] != 0) return false;
  return !any || a.negativeLength == b.negativeLength;
}

}  // namespace fuzz

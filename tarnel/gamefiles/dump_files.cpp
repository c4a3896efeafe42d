#include "gamefiles/dump_files.h"

#include <algorithm>
#include <cstdio>

#include "common/file_io.h"

namespace tarnel {

std::vector<std::uint8_t> sectionBytes(const GameModel& m, int entry) {
  if (entry < 0 || entry >= kDirectorySize || m.sectionLength[entry] <= 0) return {};
  const std::int64_t size = static_cast<std::int64_t>(m.image().size());
  const std::int64_t from = std::clamp<std::int64_t>(m.sectionOffset[entry], 0, size);
  const std::int64_t to = std::min<std::int64_t>(from + m.sectionLength[entry], size);
  return {m.image().begin() + from, m.image().begin() + to};
}

std::vector<std::uint8_t> allSectionsBytes(const GameModel& m) {
  std::vector<std::uint8_t> out;
  for (int j = 0; j < kDirectorySize; ++j) {
    auto part = sectionBytes(m, j);
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

std::string statisticsText(const GameModel& m, const std::string& path) {
  long long total = 0;
  for (int j = 0; j < kDirectorySize; ++j) total += m.sectionLength[j];
  std::string text = std::to_string(total) + " bytes in " + path + "\r\n";
  text += "Sect  Size(d)  Address(h)\r\n";
  char line[64];
  for (int j = 0; j < kDirectorySize; ++j) {
    if (m.sectionLength[j] <= 0) continue;
    std::snprintf(line, sizeof line, "%3d  %7d   %6X\r\n", m.sectionId[j], m.sectionLength[j],
                  static_cast<unsigned>(m.sectionOffset[j]));
    text += line;
  }
  return text;
}

int sectionCount(const GameModel& m) {
  return static_cast<int>(std::count_if(m.sectionLength.begin(), m.sectionLength.end(),
                                        [](std::int32_t l) { return l > 0; }));
}

std::string sectionCountText(const GameModel& m) { return std::to_string(sectionCount(m)) + " Sections"; }

std::array<std::string, 3> dumpRowTexts(const GameModel& m, int entry) {
  if (entry < 0 || entry >= kDirectorySize) return {};
  char id[16], size[16], address[16];
  std::snprintf(id, sizeof id, "%3d", m.sectionId[entry]);
  std::snprintf(size, sizeof size, "%7d", m.sectionLength[entry]);
  std::snprintf(address, sizeof address, " %06X", static_cast<unsigned>(m.sectionOffset[entry]));
  return {id, size, address};
}

// ---- The dump window -----------------------------------------------------

void DumpWindow::formCreate() {
  saveDialog.initialDir = session_.model.programDir;
  openDialog.initialDir = session_.model.programDir;
}

bool DumpWindow::formActivate() {
  const GameModel& m = session_.model;
  if (m.loaded == GameFileKind::V10) {
    session_.prompts.message("Dump feature only applies to compressed format game files.", "Information",
                             MessageIcon::Information);
    return false;
  }
  // An empty section inside a file keeps its directory entry: listing the
  // entries of length above 0 keeps every section of the file in the grid.
  listed_.clear();
  for (int j = 0; j < kDirectorySize; ++j)
    if (m.sectionLength[j] > 0) listed_.push_back(j);
  if (selectedRow_ > static_cast<int>(listed_.size())) selectedRow_ = 0;
  return true;
}

bool DumpWindow::selectCell(int /*col*/, int row) {
  if (row < 1) return false;
  selectedRow_ = row;
  return true;
}

int DumpWindow::selectedEntry() const {
  if (selectedRow_ < 1 || selectedRow_ > static_cast<int>(listed_.size())) return 0;
  return listed_[static_cast<std::size_t>(selectedRow_ - 1)];
}

void DumpWindow::writeOutput(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (!common::writeFileSafely(path, bytes))
    session_.prompts.message("Could not open output file", "Error", MessageIcon::Error);
}

void DumpWindow::allBtnClick() {
  saveDialog.filter = "All Sections (*.all)|*.all|All Files(*.*)|*.*";
  if (!session_.prompts.saveDialog(saveDialog)) return;
  writeOutput(saveDialog.fileName, allSectionsBytes(session_.model));
}

void DumpWindow::sectionBtnClick() {
  const int entry = selectedEntry();
  saveDialog.filter = "Sections (*.s*)|*.s*|All Files(*.*)|*.*";
  if (!session_.prompts.saveDialog(saveDialog)) return;
  writeOutput(saveDialog.fileName, sectionBytes(session_.model, entry));
}

void DumpWindow::statsBtnClick() {
  if (!session_.prompts.saveDialog(saveDialog)) return;
  const std::string text = statisticsText(session_.model, session_.model.currentPath);
  writeOutput(saveDialog.fileName, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool DumpWindow::loadBtnClick() {
  openDialog.title = "Load a Dump File";
  if (!session_.prompts.openDialog(openDialog)) return false;
  // One byte more than the image tells a dump that does not fit.
  const auto bytes = common::readFileBytes(openDialog.fileName, kImageSize + 1ull);
  if (!bytes) {
    session_.prompts.message("Could not open file", "Error", MessageIcon::Error);
    return false;
  }
  if (bytes->size() > static_cast<std::size_t>(kImageSize)) {
    session_.prompts.message("This dump is larger than the game image of 2000000 bytes. Not loaded.", "Error",
                             MessageIcon::Error);
    return false;
  }
  std::vector<std::uint8_t> image = session_.model.image();
  std::copy(bytes->begin(), bytes->end(), image.begin());
  session_.model.adoptImage(std::move(image));
  return true;
}

}  // namespace tarnel

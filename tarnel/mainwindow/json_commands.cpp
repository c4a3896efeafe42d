#include "mainwindow/json_commands.h"

#include <nlohmann/json.hpp>

#include "common/file_io.h"
#include "gamefiles/game_json.h"
#include "gamefiles/game_files.h"
#include "mainwindow/unit_grid.h"
#include "sidefiles/mob_files.h"

namespace tarnel {

namespace {

constexpr const char* kJsonFilter = "JSON files (*.json)|*.json|All files (*.*)|*.*";
constexpr std::uint64_t kMaxJsonBytes = 256u << 20;

bool gameLoaded(Session& s) {
  if (s.model.loaded != GameFileKind::None) return true;
  s.prompts.message("Load a game file first.", "Error", MessageIcon::Error);
  return false;
}

// The game's path with its extension replaced.
std::string withExtension(const std::string& path, const std::string& ext) {
  const auto slash = path.find_last_of("/\\");
  const auto dot = path.rfind('.');
  const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasDot ? path.substr(0, dot) : path) + ext;
}

// The named fields an export holds: its values under "game" and "units",
// a unit's "index" not counted.
std::size_t exportedFields(const std::string& text) {
  const auto count = [](const auto& self, const nlohmann::json& v) -> std::size_t {
    if (!v.is_structured()) return 1;
    std::size_t n = 0;
    for (const auto& item : v) n += self(self, item);
    return n;
  };
  const nlohmann::json doc = nlohmann::json::parse(text);
  std::size_t n = doc.contains("game") ? count(count, doc["game"]) : 0;
  if (doc.contains("units"))
    for (const auto& unit : doc["units"]) n += count(count, unit) - (unit.contains("index") ? 1 : 0);
  return n;
}

// 6412 as "6,412".
std::string withThousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (auto k = static_cast<std::ptrdiff_t>(digits.size()) - 3; k > 0; k -= 3) digits.insert(static_cast<std::size_t>(k), ",");
  return digits;
}

// The last part of a path, as messages name a file.
std::string fileNameOf(const std::string& path) { return common::utf8FromPath(common::pathFromUtf8(path).filename()); }

// Where the JSON dialogs start: the folder of the last JSON file written or
// read, else the open game's.
std::string jsonFolder(const Session& s, const JsonDialogs& dialogs) {
  if (!dialogs.lastFile.empty()) return common::directoryOf(dialogs.lastFile);
  const auto slash = s.model.currentPath.find_last_of("/\\");
  return slash == std::string::npos ? s.model.dataDir : common::directoryOf(s.model.currentPath);
}

}  // namespace

void exportJsonFile(Session& s, JsonDialogs& dialogs) {
  if (!gameLoaded(s)) return;
  FileDialogState& d = dialogs.save;
  d.title = "Export JSON File";
  d.filter = kJsonFilter;
  d.defaultExt = "json";
  d.initialDir = jsonFolder(s, dialogs);
  d.fileName = d.initialDir + "/" + fileNameOf(withExtension(s.model.currentPath, ".json"));
  d.overwritePrompt = true;
  // Typed ratings reach the model first, as a save takes them.
  readRatingsBack(s.grid, s.model, CellReading::kStrict);
  if (!s.prompts.saveDialog(d)) return;
  s.prompts.setBusy(true);
  const std::string text = exportGameJson(s.model);
  const bool written = common::writeFileSafely(d.fileName, text);
  s.prompts.setBusy(false);
  if (!written) {
    s.prompts.message("Could not write " + d.fileName, "Error", MessageIcon::Error);
    return;
  }
  dialogs.lastFile = d.fileName;
  s.view->statusReport("Exported " + withThousands(exportedFields(text)) + " fields to " + fileNameOf(d.fileName));
}

bool importJsonFile(Session& s, JsonDialogs& dialogs) {
  if (!gameLoaded(s)) return false;
  FileDialogState& d = dialogs.open;
  d.title = "Import JSON File";
  d.filter = kJsonFilter;
  d.defaultExt = "json";
  d.initialDir = jsonFolder(s, dialogs);
  d.fileName = dialogs.lastFile;
  if (!s.prompts.openDialog(d)) return false;
  const std::string name = fileNameOf(d.fileName);
  const auto bytes = common::readFileBytes(d.fileName, kMaxJsonBytes + 1);
  if (!bytes || bytes->size() > kMaxJsonBytes) {
    s.prompts.message(bytes ? name + " is larger than 256 MiB" : "Could not read " + d.fileName, "Error",
                      MessageIcon::Error);
    return false;
  }
  dialogs.lastFile = d.fileName;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  // Checked on a copy first: a refused document changes nothing at all.
  GameModel trial = s.model;
  const ImportOutcome checked = importGameJson(trial, text, name);
  if (!checked.ok()) {
    s.prompts.message(checked.error, "Error", MessageIcon::Error);
    return false;
  }
  // Another game's export would overwrite units by their numbers: the user
  // decides.
  if (!checked.otherGame.empty() && !s.prompts.warnAndAsk(checked.otherGame, "Apply it anyway?", "Warning"))
    return false;
  // The grid is refilled below: typed ratings reach the model first and the
  // document's values then win where it holds them.
  readRatingsBack(s.grid, s.model, CellReading::kStrict);
  const auto mobBefore = s.model.sideMob;
  const ImportOutcome applied = importGameJson(s.model, text, name);
  fillGrid(s);
  classifyUnits(s);
  if (s.model.sideMob != mobBefore) readMobFiles(s);
  if (applied.changedFields > 0) s.markModified();
  s.prompts.message(std::to_string(applied.changedFields) + (applied.changedFields == 1 ? " field" : " fields") +
                        " changed.",
                    "Information", MessageIcon::Information);
  return applied.changedFields > 0;
}

GameModel modelAsTyped(const Session& s) {
  GameModel m = s.model;
  readRatingsBack(s.grid, m, CellReading::kLenient);
  return m;
}

void storeNamedFields(Session& s, const std::function<void(GameModel&)>& store) {
  readRatingsBack(s.grid, s.model, CellReading::kStrict);
  const auto mobBefore = s.model.sideMob;
  store(s.model);
  fillGrid(s);
  classifyUnits(s);
  if (s.model.sideMob != mobBefore) readMobFiles(s);
  s.model.redrawNeeded = true;
  s.markModified();
  s.view->sideItemsChanged();
  s.view->documentRestored(-1);
}

}  // namespace tarnel

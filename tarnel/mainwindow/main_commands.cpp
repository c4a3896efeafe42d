#include "mainwindow/main_commands.h"

#include <filesystem>

#include "common/file_io.h"
#include "gamefiles/dump_files.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_files.h"
#include "mainwindow/unit_grid.h"
#include "sidefiles/csv_units.h"
#include "sidefiles/mob_files.h"

namespace tarnel {

void afterLoad(Session& session, const std::string& warning) {
  fillGrid(session);
  if (!warning.empty()) session.prompts.message(warning, "Warning", MessageIcon::Warning);
  readMobFiles(session);
  classifyUnits(session);
}

bool loadGame(Session& session, GameFileKind kind) {
  // A load replaces the open game: unsaved edits are saved or given up first.
  if (!mayDropChanges(session)) return false;
  std::string warning;
  const bool loaded = kind == GameFileKind::V10 ? loadV10(session) : loadSectioned(session, kind, nullptr, &warning);
  if (loaded) afterLoad(session, warning);
  return loaded;
}

bool saveGame(Session& session, GameFileKind kind, const std::string* path) {
  bool saved = false;
  switch (kind) {
    case GameFileKind::V10: saved = saveV10(session, path); break;
    case GameFileKind::V11: saved = saveSectioned(session, kind, path); break;
    // With nothing loaded the VN3 save says so and writes nothing.
    default: saved = saveSectioned(session, GameFileKind::Vn3, path); break;
  }
  if (saved) refillGridAfterSave(session);
  return saved;
}

bool mayDropChanges(Session& session) {
  if (!session.modified() || !session.holdsGame()) return true;
  const std::string text = "The changes to " + session.model.currentPath + " are not saved. Save them now?";
  switch (session.prompts.askSaveChanges(text, "Tarnel")) {
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: return false;
    case SaveChoice::Save: break;
  }
  saveGame(session, session.model.loaded);
  return !session.modified();
}

std::optional<LoadMessage> refusalOf(const std::string& path, GameFileKind kind) {
  if (kind != GameFileKind::None) return std::nullopt;
  std::error_code ec;
  if (std::filesystem::is_directory(common::pathFromUtf8(path), ec))
    return LoadMessage{path + " is a folder, not a game file.", "Error", MessageIcon::Error};
  // Unreadable or missing: the sectioned loads' message, as no generation is known.
  if (!common::regularFileSize(path)) return loadErrorMessage(LoadError::CannotOpen, GameFileKind::V11);
  return loadErrorMessage(LoadError::WrongSize, GameFileKind::V10);
}

bool loadGameFile(Session& session, const std::string& path) {
  const GameFileKind kind = gameFileKindOf(path);
  if (const auto refusal = refusalOf(path, kind)) {
    session.prompts.message(refusal->text, refusal->title, refusal->icon);
    return false;
  }
  std::string warning;
  const bool loaded =
      kind == GameFileKind::V10 ? loadV10(session, &path) : loadSectioned(session, kind, &path, &warning);
  if (loaded) afterLoad(session, warning);
  return loaded;
}

bool startupLoad(Session& session, const std::string& path) {
  session.model.commandLineLoad = true;
  const bool loaded = loadGameFile(session, path);
  session.model.commandLineLoad = false;
  return loaded;
}

void pasteCsvUnitFile(Session& session) {
  const auto csv = openCsvUnitFile(session);
  if (!csv) return;
  // Lines of another length shift every unit after them: the user decides.
  if (const auto warning = csvShiftWarning(*csv, session.model);
      warning && !session.prompts.warnAndAsk(*warning, "Paste anyway?", "Warning"))
    return;
  // The refill below replaces every cell: ratings typed or rolled into the
  // grid reach the model first, and the pasted bytes then win where they
  // cover them.
  if (session.grid.rowCount() == session.model.unitCount + 1)
    readRatingsBack(session.grid, session.model, CellReading::kStrict);
  pasteCsvUnits(*csv, session.model);
  fillGrid(session);
  session.markModified();
}

void loadDumpFile(Session& session, DumpWindow& window) {
  if (!window.loadBtnClick()) return;
  fillGrid(session);
  session.markModified();
}

}  // namespace tarnel

#include "mainwindow/compare_command.h"

#include <memory>

#include "common/file_io.h"
#include "gamefiles/game_decoders.h"

namespace tarnel {

namespace {

bool gameLoaded(Session& s) {
  if (s.model.loaded != GameFileKind::None) return true;
  s.prompts.message("Load a game file first.", "Error", MessageIcon::Error);
  return false;
}

// The grid's rating columns over a copy of the image, as a save would take
// them; a cell that is no number keeps the image's value.
GameModel asTyped(const Session& s) {
  GameModel m = s.model;
  readRatingsBack(s.grid, m, CellReading::kLenient);
  return m;
}

}  // namespace

std::optional<Comparison> compareWithFile(Session& s, FileDialogState& d) {
  if (!gameLoaded(s)) return std::nullopt;
  d.title = "Compare With File";
  d.filter = "Scenarios (*.dat)|*.dat|All files (*.*)|*.*";
  d.defaultExt = "dat";
  if (d.initialDir.empty()) d.initialDir = s.model.dataDir;
  if (!s.prompts.openDialog(d)) return std::nullopt;
  const GameFileKind kind = gameFileKindOf(d.fileName);
  if (kind == GameFileKind::None) {
    s.prompts.message(common::regularFileSize(d.fileName) ? "This isn't a VN2 scenario file" : "Couldn't open save file",
                      "Error", MessageIcon::Error);
    return std::nullopt;
  }
  auto other = std::make_unique<DecodedGame>();
  readGameFile(d.fileName, kind, *other);
  if (!other->ok() || other->tooMuchData) {
    const LoadMessage m = other->ok() ? LoadMessage{"Too much data", "Error"} : loadErrorMessage(other->error, kind);
    s.prompts.message(m.text, m.title, m.icon);
    return std::nullopt;
  }
  const std::string cut = cutShortWarning(*other);
  if (!cut.empty()) s.prompts.message(cut, "Warning", MessageIcon::Warning);
  return Comparison{d.fileName, diffGames(asTyped(s), other->model)};
}

}  // namespace tarnel

#include "mainwindow/compare_command.h"

#include <algorithm>
#include <memory>

#include "common/file_io.h"
#include "common/text1252.h"
#include "mainwindow/json_commands.h"
#include "model/field_catalogue.h"
#include "model/undo.h"
#include "gamefiles/game_decoders.h"

namespace tarnel {

namespace {

bool gameLoaded(Session& s) {
  if (s.model.loaded != GameFileKind::None) return true;
  s.prompts.message("Load a game file first.", "Error", MessageIcon::Error);
  return false;
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
  auto b = std::make_shared<const GameModel>(std::move(other->model));
  return Comparison{d.fileName, diffGames(modelAsTyped(s), *b), b};
}

Comparison compareAgain(const Session& s, const Comparison& c) {
  return Comparison{c.otherPath, diffGames(modelAsTyped(s), *c.other), c.other};
}

std::string comparisonLineText(const Session& s, const GameDifference& d) {
  if (!d.field || d.unit < 0) return d.text;
  const std::string prefix = "units[" + std::to_string(d.unit) + "]";
  const std::string path = d.field->path();
  const std::size_t values = prefix.size() + 1 + path.size() + 2;
  if (!d.text.starts_with(prefix + "." + path + ": ")) return d.text;
  return prefix + " " + common::cp1252ToUtf8(s.model.unitName(d.unit)) + ": " + path + " " + d.text.substr(values);
}

int takeFromFile(Session& s, const Comparison& c, const std::vector<std::size_t>& lines) {
  if (!c.other || s.model.loaded == GameFileKind::None) return 0;
  // What B holds, checked as an import checks it: a value game B holds but
  // the open game's field cannot take is left out.
  struct Take {
    const NamedField* field;
    int unit;
    FieldValue value;
  };
  std::vector<Take> takes;
  const int units = std::min(s.model.countUnits(), kUnitCapacity);
  for (std::size_t k : lines) {
    if (k >= c.lines.size() || !canTake(c.lines[k])) continue;
    const GameDifference& d = c.lines[k];
    const int unit = std::max(d.unit, 0);
    if (d.unit >= units) continue;
    const auto value = readField(*c.other, *d.field, unit);
    if (!value || !readField(s.model, *d.field, unit) || !checkFieldValue(*d.field, *value).empty()) continue;
    takes.push_back({d.field, unit, *value});
  }
  if (takes.empty()) return 0;
  runCommand(s, "Take From File", [&] {
    storeNamedFields(s, [&](GameModel& m) {
      for (const Take& t : takes) writeField(m, *t.field, t.unit, t.value);
    });
  });
  return static_cast<int>(takes.size());
}

}  // namespace tarnel

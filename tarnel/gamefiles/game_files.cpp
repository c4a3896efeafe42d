// Load and save commands of the three game-file generations.
#include <algorithm>

#include "gamefiles/game_files.h"

#include "common/file_io.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_encoders.h"

namespace tarnel {

using common::directoryOf;
using common::lowerCase;

namespace {
constexpr const char* kSaveFilter = "Scenarios (*.dat)|*.dat|All files (*.*)| *.*";

// Runs the busy cursor for the lifetime of the object.
class BusyCursor {
 public:
  explicit BusyCursor(Prompts& p) : prompts_(p) { prompts_.setBusy(true); }
  ~BusyCursor() { prompts_.setBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Prompts& prompts_;
};

void setLoadedFile(Session& s, const std::string& path, const char* labelPrefix) {
  GameModel& model = s.model;
  model.currentPath = path;
  model.dataDir = directoryOf(path);
  s.fileLabel = std::string(labelPrefix) + lowerCase(path);
  s.view->fileLabelChanged();
}

// The comment file beside a loaded game file, into the buffer and the
// comment window. A game without one gets an empty comment, so that a later
// "Save Comment File" never writes the previous game's comment beside this
// one.
void readComment(Session& s, const std::string& gamePath) {
  if (!readCommentFile(s.model, commentFileName(gamePath))) s.model.comment.fill('\0');
  s.view->setCommentMemo(s.model.commentText());
}

}  // namespace

void adoptDecoded(GameModel& model, const DecodedGame& decoded) {
  const GameModel& d = decoded.model;
  model.selectLayout(decoded.kind);
  model.loaded = d.loaded;
  if (decoded.kind == GameFileKind::V10) {
    // The image beyond a version 1.0 file's length keeps what it held.
    std::vector<std::uint8_t> image = model.image();
    const auto length = static_cast<std::size_t>(std::clamp(d.v10Length, 0, kImageSize));
    std::copy_n(d.image().begin(), length, image.begin());
    model.adoptImage(std::move(image));
  } else {
    model.adoptImage(d.image());
  }
  model.sectionOffset = d.sectionOffset;
  model.sectionLength = d.sectionLength;
  model.sectionId = d.sectionId;
  model.negativeLength = d.negativeLength;
  model.v10Length = d.v10Length;
}

bool loadV10(Session& s, const std::string* givenPath) {
  GameModel& model = s.model;
  Prompts& prompts = s.prompts;
  s.view->dismissTitlePicture();
  model.chooser = GameFileKind::V10;
  std::string path;
  if (givenPath) {
    path = *givenPath;
  } else {
    GameFileChoice choice;
    choice.caption = "Open Version 1.0 file";
    choice.mask = "*.dat";
    if (model.loaded != GameFileKind::None) choice.initialDir = model.dataDir;
    choice.generation = GameFileKind::V10;
    if (!prompts.chooseGameFile(choice)) return false;
    path = choice.fileName;
  }

  // The file is decoded beside the open game and only then takes its place:
  // a refused file leaves the loaded game, its generation and its layout as
  // they were.
  DecodedGame incoming;
  readGameFile(path, GameFileKind::V10, incoming);
  if (!incoming.ok()) {
    const LoadMessage m = loadErrorMessage(incoming.error, GameFileKind::V10);
    prompts.message(m.text, m.title, m.icon);
    return false;
  }

  setLoadedFile(s, path, "Edit(1.0): ");
  resetGrid(s);
  adoptDecoded(model, incoming);

  readComment(s, path);
  s.documentLoaded();
  if (s.fileEvents) s.fileEvents->gameLoaded(path, incoming.kind);
  return true;
}

bool loadSectioned(Session& s, GameFileKind kind, const std::string* givenPath, std::string* cutShort) {
  GameModel& model = s.model;
  Prompts& prompts = s.prompts;
  model.chooser = kind;
  s.view->dismissTitlePicture();
  std::string path;
  if (givenPath) {
    path = *givenPath;
  } else {
    GameFileChoice choice;
    choice.caption = "Open Version 1.1 file";
    choice.mask = "*.dat";
    choice.initialDir = model.dataDir;
    choice.generation = kind;
    if (!prompts.chooseGameFile(choice)) return false;
    path = choice.fileName;
  }

  // The file is decoded beside the open game and only then takes its place:
  // a refused file leaves the open game, with its unsaved edits, as it was.
  DecodedGame incoming;
  readGameFile(path, kind, incoming);
  if (incoming.error == LoadError::CannotOpen || incoming.error == LoadError::WrongMagic) {
    const LoadMessage m = loadErrorMessage(incoming.error, kind);
    prompts.message(m.text, m.title, m.icon);
    return false;
  }
  if (incoming.tooMuchData) prompts.message("Too much data", "Error", MessageIcon::Error);
  if (incoming.error == LoadError::Password) {
    const LoadMessage m = loadErrorMessage(incoming.error, kind);
    prompts.message(m.text, m.title, m.icon);
    s.passwordRefused = true;
    s.view->closeMainWindow();
    return false;
  }

  // What was decoded of a file with too much data is shown, but a truncated
  // image must never be saved over a file (the decoder leaves it unloaded).
  setLoadedFile(s, path, kind == GameFileKind::V11 ? "Edit(1.1): " : "Edit(VN3): ");
  resetGrid(s);
  adoptDecoded(model, incoming);
  const std::string cut = cutShortWarning(incoming);
  if (cutShort)
    *cutShort = cut;
  else if (!cut.empty())
    prompts.message(cut, "Warning", MessageIcon::Warning);
  readComment(s, path);
  s.documentLoaded();
  if (s.fileEvents) s.fileEvents->gameLoaded(path, incoming.kind);
  return true;
}

namespace {
bool askSaveName(Session& s, const char* title) {
  FileDialogState& d = s.SaveDialog1;
  d.filter = kSaveFilter;
  d.title = title;
  d.defaultExt = "dat";
  d.initialDir = s.model.dataDir;
  d.fileName = s.model.currentPath;
  d.overwritePrompt = true;
  return s.prompts.saveDialog(d);
}

// The file a save writes: the given one, else the one the save dialog
// chose; empty when the dialog was cancelled.
std::string saveTarget(Session& s, const char* title, const std::string* givenPath) {
  if (givenPath) return *givenPath;
  return askSaveName(s, title) ? s.SaveDialog1.fileName : std::string();
}
}  // namespace

bool saveV10(Session& s, const std::string* givenPath) {
  GameModel& model = s.model;
  Prompts& prompts = s.prompts;
  if (model.loaded != GameFileKind::V10) {
    prompts.message("You are not editing a VN2 Vesrion 1.0 or 1.01 File. Aborting", "Error",
                    MessageIcon::Error);
    return false;
  }
  readRatingsBack(s.grid, s.model, CellReading::kStrict, RatingOrder::kUnitsFirst);
  const std::string target = saveTarget(s, "Save Version 1.0 Scenario", givenPath);
  if (target.empty() || (s.fileEvents && !s.fileEvents->beforeReplace(target))) return false;
  BusyCursor busy(prompts);
  if (!writeGameFile(target, model, GameFileKind::V10)) {
    prompts.message("Could not open New save file!", "Aborting Save", MessageIcon::Error);
    return false;
  }
  s.documentSaved();
  if (s.fileEvents) s.fileEvents->gameSaved(target, GameFileKind::V10);
  return true;
}

bool saveSectioned(Session& s, GameFileKind kind, const std::string* givenPath) {
  GameModel& model = s.model;
  Prompts& prompts = s.prompts;
  // Nothing loaded (or a load cut short by "Too much data") is never saved.
  if (model.loaded != kind || kind == GameFileKind::None) {
    prompts.message(kind == GameFileKind::V11 ? "You are not editing a VN2 Version 1.1 file. Aborting"
                                              : "You are not editing a VN3 Version 1.0 file. Aborting",
                    "Error", MessageIcon::Error);
    return false;
  }
  readRatingsBack(s.grid, s.model, CellReading::kStrict, RatingOrder::kLeadersFirst);
  const std::string target = saveTarget(s, "Save Version 1.1 Scenario", givenPath);
  if (target.empty() || (s.fileEvents && !s.fileEvents->beforeReplace(target))) return false;
  BusyCursor busy(prompts);
  if (!writeGameFile(target, model, kind)) {
    prompts.message("Could not open New save file!", "Aborting Save", MessageIcon::Error);
    return false;
  }
  model.currentPath = target;
  s.fileLabel = lowerCase(target);
  s.view->fileLabelChanged();
  s.documentSaved();
  if (s.fileEvents) s.fileEvents->gameSaved(target, kind);
  return true;
}

}  // namespace tarnel

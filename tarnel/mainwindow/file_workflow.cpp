#include "mainwindow/file_workflow.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"
#include "mainwindow/main_commands.h"

namespace tarnel {

namespace fs = std::filesystem;

namespace {

// Game files stay far below this; a larger file at a save's target is no
// game file of this program's making and is not read into memory whole.
constexpr std::uint64_t kMaxBackupBytes = 256u << 20;

// Two spellings of one file compare equal: "a/./b" and "a/b" (and, on
// Windows, any letter case).
std::string pathKey(const std::string& path) {
  std::string key = common::utf8FromPath(common::pathFromUtf8(path).lexically_normal());
#ifdef _WIN32
  key = common::lowerCase(key);
  std::replace(key.begin(), key.end(), '/', '\\');
#endif
  return key;
}

bool samePath(const std::string& a, const std::string& b) { return pathKey(a) == pathKey(b); }

}  // namespace

RecentFiles::RecentFiles(const std::vector<std::string>& paths) {
  // Added oldest first, so the first entry ends up in front.
  for (auto it = paths.rbegin(); it != paths.rend(); ++it)
    if (!it->empty()) add(*it);
}

void RecentFiles::add(const std::string& path) {
  remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kMaxFiles) paths_.resize(kMaxFiles);
}

bool RecentFiles::remove(const std::string& path) {
  const auto it = std::find_if(paths_.begin(), paths_.end(), [&](const std::string& p) { return samePath(p, path); });
  if (it == paths_.end()) return false;
  paths_.erase(it);
  return true;
}

std::string recentMenuText(std::size_t index, const std::string& path) {
  std::string text = "&" + std::to_string(index + 1) + " ";
  for (char c : fileNameOf(path)) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

std::string fileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* generationTitle(GameFileKind kind) {
  switch (kind) {
    case GameFileKind::V10: return "VN2 version 1.0";
    case GameFileKind::V11: return "VN2 version 1.1";
    case GameFileKind::Vn3: return "VN3";
    case GameFileKind::None: break;
  }
  return "no generation";
}

std::string backupPathOf(const std::string& path) { return path + ".bak"; }

std::string groupedNumber(long long value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return value < 0 ? "-" + digits : digits;
}

std::string replaceRefusal(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(common::pathFromUtf8(path), ec);
  if (ec || !fs::is_regular_file(st)) return {};
  constexpr auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((st.permissions() & writable) != fs::perms::none) return {};
  return path + " is read-only: it was not replaced.";
}

BackupOutcome backUpFile(const std::string& path) {
  BackupOutcome out;
  std::error_code ec;
  // Nothing there, or something a save cannot replace anyway (a folder):
  // the save goes on and reports its own failure.
  if (!fs::is_regular_file(common::pathFromUtf8(path), ec)) {
    out.ok = true;
    return out;
  }
  const std::string backup = backupPathOf(path);
  const auto bytes = common::readFileBytes(path, kMaxBackupBytes + 1);
  if (!bytes) {
    out.error = "Could not read " + path + " to keep a backup of it: it was not replaced.";
  } else if (bytes->size() > kMaxBackupBytes) {
    out.error = path + " is larger than 256 MiB, too large to keep a backup of: it was not replaced.";
  } else if (!common::writeFileSafely(backup, *bytes)) {
    out.error = "Could not write the backup " + backup + ": " + path + " was not replaced.";
  } else {
    out.ok = true;
    out.made = true;
    out.backup = backup;
  }
  return out;
}

FileWorkflow::FileWorkflow(Session& session, const std::vector<std::string>& recent)
    : session_(session), recent_(recent) {
  session_.fileEvents = this;
}

FileWorkflow::~FileWorkflow() {
  if (session_.fileEvents == this) session_.fileEvents = nullptr;
}

bool FileWorkflow::beforeReplace(const std::string& path) {
  lastBackup_.clear();
  if (const std::string refusal = replaceRefusal(path); !refusal.empty()) {
    session_.prompts.message(refusal, "Aborting Save", MessageIcon::Error);
    return false;
  }
  // The first backup of a run keeps the file as it was before the run; a
  // file the run itself created has none.
  const std::string key = pathKey(path);
  if (replaced_.contains(key)) return true;
  const BackupOutcome backup = backUpFile(path);
  if (!backup.ok) {
    session_.prompts.message(backup.error, "Aborting Save", MessageIcon::Error);
    return false;
  }
  replaced_.insert(key);
  lastBackup_ = backup.backup;
  return true;
}

void FileWorkflow::gameLoaded(const std::string& path, GameFileKind kind) {
  recent_.add(path);
  target_ = path;
  session_.view->statusReport("Opened " + fileNameOf(path) + " (" + generationTitle(kind) + ")");
  changed();
}

void FileWorkflow::gameSaved(const std::string& path, GameFileKind /*kind*/) {
  recent_.add(path);
  target_ = path;
  std::string line = "Saved " + fileNameOf(path);
  if (!lastBackup_.empty()) line += " (the file it replaced is " + fileNameOf(lastBackup_) + ")";
  lastBackup_.clear();
  session_.view->statusReport(line);
  changed();
}

bool FileWorkflow::canSave() const { return session_.model.loaded != GameFileKind::None && !target_.empty(); }

bool openGameFileDialog(Session& s, FileWorkflow& files) {
  if (!mayDropChanges(s)) return false;
  FileDialogState& d = files.openDialog;
  d.title = "Open";
  d.filter = "Game files (*.dat *.DAT)|*.dat *.DAT|All files (*)|*";
  d.defaultExt.clear();
  d.overwritePrompt = false;
  d.nativeOnWindows = true;
  if (!s.model.dataDir.empty()) d.initialDir = s.model.dataDir;
  d.fileName.clear();
  if (!s.prompts.openDialog(d)) return false;
  return loadGameFile(s, d.fileName);
}

bool openGameFile(Session& s, const std::string& path) {
  // A file that cannot be opened is refused before the question, which would
  // otherwise be asked for nothing.
  if (const auto refusal = refusalOf(path, gameFileKindOf(path))) {
    s.prompts.message(refusal->text, refusal->title, refusal->icon);
    return false;
  }
  if (!mayDropChanges(s)) return false;
  return loadGameFile(s, path);
}

bool openDroppedFiles(Session& s, const std::vector<std::string>& paths) {
  if (paths.empty()) return false;
  const bool opened = openGameFile(s, paths.front());
  if (paths.size() > 1)
    s.view->statusReport(std::to_string(paths.size()) + " files were dropped: only the first, " +
                         fileNameOf(paths.front()) + ", was " + (opened ? "opened" : "tried"));
  return opened;
}

bool openRecentFile(Session& s, FileWorkflow& files, std::size_t index) {
  if (index >= files.recent().paths().size()) return false;
  const std::string path = files.recent().paths()[index];
  std::error_code ec;
  if (!fs::exists(common::pathFromUtf8(path), ec) && !ec) {
    files.recent().remove(path);
    files.changed();
    s.prompts.message(path + " no longer exists: it is taken off the recent files.", "Warning", MessageIcon::Warning);
    return false;
  }
  return openGameFile(s, path);
}

bool saveToTarget(Session& s, FileWorkflow& files) {
  if (!files.canSave()) return false;
  const std::string target = files.saveTarget();
  return saveGame(s, s.model.loaded, &target);
}

bool saveAs(Session& s) { return saveGame(s, s.model.loaded); }

}  // namespace tarnel

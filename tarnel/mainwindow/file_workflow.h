#pragma once

// The everyday file handling around the generations' own loads and saves:
// "Open..." of any generation, dropped files, Recent Files, Save to the file
// in hand, and the backup a save keeps of the file it replaces.

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "model/session.h"

namespace tarnel {

// The last game files opened or saved, newest first, each once.
class RecentFiles {
 public:
  static constexpr std::size_t kMaxFiles = 8;

  RecentFiles() = default;
  // A remembered list: empty entries and repeats go, the first eight stay.
  explicit RecentFiles(const std::vector<std::string>& paths);

  // `path` to the front; a path already listed moves there.
  void add(const std::string& path);
  // False when `path` was not listed.
  bool remove(const std::string& path);
  void clear() { paths_.clear(); }

  [[nodiscard]] const std::vector<std::string>& paths() const { return paths_; }
  [[nodiscard]] bool empty() const { return paths_.empty(); }

  bool operator==(const RecentFiles&) const = default;

 private:
  std::vector<std::string> paths_;
};

// The menu caption of entry `index` (from 0): "&1 SAVE01.DAT", the file's
// name with "&" doubled so that it shows as written.
[[nodiscard]] std::string recentMenuText(std::size_t index, const std::string& path);

// The last part of a path ("SAVE01.DAT").
[[nodiscard]] std::string fileNameOf(const std::string& path);
// "VN2 version 1.0", "VN2 version 1.1", "VN3".
[[nodiscard]] const char* generationTitle(GameFileKind kind);
// The backup a save keeps of the file it replaces: NAME.bak beside it.
[[nodiscard]] std::string backupPathOf(const std::string& path);
// 6412 as "6,412".
[[nodiscard]] std::string groupedNumber(long long value);

// Why a save must not replace `path`, empty when it may: a file marked
// read-only stays as it is (Windows refuses to replace one; elsewhere the
// write bits say the same).
[[nodiscard]] std::string replaceRefusal(const std::string& path);

// The result of copying the file a save is about to replace.
struct BackupOutcome {
  bool ok = false;      // the save may go on
  bool made = false;    // a backup was written
  std::string backup;   // its path, when made
  std::string error;    // the message, when not ok
};
// Copies an existing `path` to NAME.bak through the safe write; nothing to
// do when there is no file at `path`.
BackupOutcome backUpFile(const std::string& path);

// The file handling of one run of the main window: the loads and saves of
// its Session report to it (it attaches itself as the Session's file events).
// It keeps the save target and the recent list, makes the first backup of
// each replaced file in the run, and reports what a load or save did in the
// status line.
class FileWorkflow : public GameFileEvents {
 public:
  explicit FileWorkflow(Session& session, const std::vector<std::string>& recent = {});
  ~FileWorkflow() override;
  FileWorkflow(const FileWorkflow&) = delete;
  FileWorkflow& operator=(const FileWorkflow&) = delete;

  bool beforeReplace(const std::string& path) override;
  void gameLoaded(const std::string& path, GameFileKind kind) override;
  void gameSaved(const std::string& path, GameFileKind kind) override;

  // The file Save writes: the one last loaded or saved.
  [[nodiscard]] const std::string& saveTarget() const { return target_; }
  // Save and Save As have a game to write: one is loaded, not cut short by
  // "Too much data".
  [[nodiscard]] bool canSave() const;

  RecentFiles& recent() { return recent_; }
  // The recent list or the save target changed; the window follows.
  virtual void changed() {}

  // "Open..."'s own dialog, kept between uses.
  FileDialogState openDialog;

 private:
  Session& session_;
  RecentFiles recent_;
  std::string target_;
  // Files this run has replaced or backed up already: later saves keep the
  // first backup.
  std::set<std::string> replaced_;
  std::string lastBackup_;
};

// The file commands. Each asks about unsaved changes first, as Exit does,
// and reports a refused file with the load's message.
// "Open...": the dialog, then the file by the generation its bytes show.
bool openGameFileDialog(Session& session, FileWorkflow& files);
// Opens a named file (a drop, a recent file).
bool openGameFile(Session& session, const std::string& path);
// Files dropped on the window: the first is opened, and the status line says
// when there were more.
bool openDroppedFiles(Session& session, const std::vector<std::string>& paths);
// Entry `index` of the recent list; a file that no longer exists is taken
// off the list with a warning naming it.
bool openRecentFile(Session& session, FileWorkflow& files, std::size_t index);
// "Save": the open game to its save target, in its generation, no dialog.
bool saveToTarget(Session& session, FileWorkflow& files);
// "Save As...": the loaded generation's own save, with its dialog.
bool saveAs(Session& session);

}  // namespace tarnel

#pragma once

#include <string>

namespace common {

enum class MessageIcon { None, Error, Warning, Information, Stop };

// What an open or save dialog shows. A window keeps one open and one save
// dialog object; each command sets what it needs and the rest keeps the
// values the previous command left.
struct FileDialogState {
  std::string title;
  std::string filter;  // pairs of description and pattern, separated by "|"
  std::string defaultExt;
  std::string initialDir;
  std::string fileName;  // proposed on entry, chosen on return
  bool overwritePrompt = false;
  // The system's own dialog on Windows; elsewhere, and by default, Qt's.
  bool nativeOnWindows = false;
};

// Every message box and file dialog goes through this seam: the Qt windows
// implement it with real dialogs, tests and the command-line tools script it.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void message(const std::string& text, const std::string& title,
                       MessageIcon icon = MessageIcon::None) = 0;
  // The toolkit's standard report of an error that escaped a command.
  virtual void errorReport(const std::string& text) = 0;
  // Return true on OK, with the chosen path in fileName; on Cancel the state
  // is kept.
  virtual bool openDialog(FileDialogState& dialog) = 0;
  virtual bool saveDialog(FileDialogState& dialog) = 0;
  // The busy cursor around saves.
  virtual void setBusy(bool /*busy*/) {}
};

}  // namespace common

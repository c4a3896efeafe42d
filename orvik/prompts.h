#pragma once

#include <string>

namespace orvik {

// An open or save dialog as the window keeps it: each command sets what it
// needs, the rest keeps what the previous command left.
struct FileDialogState {
  std::string title;
  std::string filter;  // pairs of description and pattern, separated by "|"
  std::string defaultExt;
  std::string initialDir;
  std::string fileName;  // proposed on entry, chosen on return
  bool overwritePrompt = false;
};

// Every message box and file dialog of the window goes through this seam: the
// program uses real dialogs, tests script them.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // A box with a title and one OK button.
  virtual void message(const std::string& text, const std::string& title) = 0;
  // The standard report of an error that escaped a command.
  virtual void errorReport(const std::string& text) = 0;
  // True on OK, with the chosen path in fileName; on cancel the state is kept.
  virtual bool openDialog(FileDialogState& dialog) = 0;
  virtual bool saveDialog(FileDialogState& dialog) = 0;
};

}  // namespace orvik

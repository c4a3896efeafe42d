#pragma once

#include <QString>
#include <memory>
#include <string>

#include "common/prompts.h"

class QAbstractFileIconProvider;
class QFileDialog;
class QMessageBox;
class QWidget;

namespace common {

// A text of the core for a widget. Texts that are valid UTF-8 (paths, the
// program's own messages) show as they are; anything else is taken as the
// Windows-1252 bytes of game data, such as a cell typed into the grid.
QString uiText(const std::string& text);
// A path from a dialog, in the file system's encoding.
std::string pathFromUi(const QString& path);
QString pathToUi(const std::string& path);

// An icon provider that tells files and folders apart without reading a
// byte of them, for every file view of both programs.
QAbstractFileIconProvider* contentFreeIconProvider();

// A message box of the prompts, as wide as its title bar needs to show the
// title whole (the toolkit sizes a box by its text alone).
std::unique_ptr<QMessageBox> messageBox(const QString& text, const QString& title, MessageIcon icon,
                                        int buttons, QWidget* parent);
// Widens a box or dialog that is set up to the width its title needs.
void widenForTitle(QMessageBox& box);
void widenForTitle(QWidget& dialog);

// Message boxes and file dialogs on the toolkit's own.
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void message(const std::string& text, const std::string& title, MessageIcon icon) override;
  void errorReport(const std::string& text) override;
  bool openDialog(FileDialogState& dialog) override;
  bool saveDialog(FileDialogState& dialog) override;
  void setBusy(bool busy) override;

  // "Scenarios (*.dat)|*.dat|All files (*.*)| *.*" as the dialog's name
  // filters, one per pair. "*.*" means every file, as it does for the game's
  // players, so it becomes "*".
  static QStringList nameFilters(const std::string& filter);

  // The dialog the open and save commands run, set up from the state.
  std::unique_ptr<QFileDialog> makeDialog(const FileDialogState& dialog, bool save) const;

 private:
  bool runDialog(FileDialogState& dialog, bool save);
  // The parent of a box or dialog: the active window, else the given parent.
  QWidget* owner() const;
  QWidget* parent_;
};

}  // namespace common

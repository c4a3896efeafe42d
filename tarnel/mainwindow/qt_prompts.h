#pragma once

#include "common/ui/qt_prompts.h"
#include "model/prompts.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace tarnel {

class TFileForm;

using common::pathFromUi;
using common::pathToUi;
using common::uiText;

// The question before unsaved edits are lost: Save (the default), Discard and
// Cancel.
std::unique_ptr<QMessageBox> saveChangesBox(const std::string& text, const std::string& title, QWidget* parent);

// A warning box asking a question: Yes and No, No the default.
std::unique_ptr<QMessageBox> warningQuestionBox(const std::string& text, const std::string& title, QWidget* parent);

// Tarnel's prompts on the toolkit: the common message boxes and dialogs, and
// the game-file chooser.
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : ui_(parent) {}
  void setParent(QWidget* parent) { ui_.setParent(parent); }

  void message(const std::string& text, const std::string& title, MessageIcon icon) override {
    ui_.message(text, title, icon);
  }
  void errorReport(const std::string& text) override { ui_.errorReport(text); }
  bool openDialog(FileDialogState& dialog) override { return ui_.openDialog(dialog); }
  bool saveDialog(FileDialogState& dialog) override { return ui_.saveDialog(dialog); }
  void setBusy(bool busy) override { ui_.setBusy(busy); }
  // The game-file chooser TFileForm, run modally.
  bool chooseGameFile(GameFileChoice& choice) override;
  void setFileForm(TFileForm* form) { fileForm_ = form; }
  SaveChoice askSaveChanges(const std::string& text, const std::string& title) override;
  bool warnAndAsk(const std::string& warning, const std::string& question, const std::string& title) override;

 private:
  common::QtPrompts ui_;
  TFileForm* fileForm_ = nullptr;
};

}  // namespace tarnel

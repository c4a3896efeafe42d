#pragma once

#include <QString>

#include "prompts.h"

class QWidget;

namespace orvik {

// Message boxes and file dialogs of the toolkit.
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void message(const std::string& text, const std::string& title) override;
  void errorReport(const std::string& text) override;
  bool openDialog(FileDialogState& dialog) override;
  bool saveDialog(FileDialogState& dialog) override;

  // "Programs (*.exe)|*.exe|All files (*.*)|*.*" as the dialog's name filters.
  static QString nameFilters(const std::string& filter);

 private:
  bool runDialog(FileDialogState& dialog, bool save);
  QWidget* parent_;
};

}  // namespace orvik

#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include "model/prompts.h"
#include "model/session.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tarnel {

// A plain-text editor in a fixed-width font with the line numbers in a
// margin at its left.
class TScriptEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TScriptEditor(QWidget* parent = nullptr);
  int lineNumberWidth() const;
  void paintLineNumbers(QPaintEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* numbers_;
};

// "Script": a Lua script over the open game's named fields, with "Open…"
// and "Save…" for .lua files, "Run" (Ctrl+Return) and the run's output: what
// print wrote, the error with its line, and the findings of warn as a list
// in which a double-click asks for the unit to be selected in the grid.
class TScriptForm : public QWidget {
  Q_OBJECT
 public:
  TScriptForm(Session& session, QWidget* parent = nullptr);

  QLabel* FileLbl;
  QPushButton* OpenBtn;
  QPushButton* SaveBtn;
  QPushButton* RunBtn;
  TScriptEditor* ScriptEdit;
  QPlainTextEdit* OutputMemo;
  QListWidget* FindingList;

  void OpenBtnClick();
  void SaveBtnClick();
  void RunBtnClick();
  // The script a file holds, as Open loads it; false when it cannot be read.
  bool loadScript(const std::string& path);

 signals:
  void unitChosen(int unit);

 private:
  Session& session_;
  FileDialogState openDialog_;
  FileDialogState saveDialog_;
  std::string path_;
  void showPath();
};

}  // namespace tarnel

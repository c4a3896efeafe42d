#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "mainwindow/file_chooser.h"
#include "model/prompts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarnel {

// "Open File": the game-file chooser of the three loads, with a drive
// selector, a directory list and a file list whose items show a preview of
// each game file. Created once; it keeps its directory between uses.
class TFileForm : public QDialog {
  Q_OBJECT
 public:
  explicit TFileForm(const std::string& directory, QWidget* parent = nullptr);

  // Runs the window modally for one load: sets the mask, caption, directory
  // (when given) and generation, and on OK puts the chosen path in
  // choice.fileName.
  bool choose(GameFileChoice& choice);
  // The settings of one load without running the window: mask, caption,
  // directory (when given) and generation.
  void prepare(const GameFileChoice& choice);

  FileChooser& chooser() { return chooser_; }

  QListWidget* FileList;
  QListWidget* Directory;
  QLabel* DirectoryLbl;
  QComboBox* DriveLetter;
  QLineEdit* FileNameEdit;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* MaskBtn;

  void FormActivate();
  void MaskBtnClick();
  void DriveLetterChange();
  void DirectoryChange() {}
  void FileListChange();
  void FileListClick() {}
  void OKBtnClick();
  void CancelBtnClick();

  // The directory list moves to a directory; the file list follows.
  void changeDirectory(const std::string& directory);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void showList();
  void showDirectory();
  void fillDrives();

  FileChooser chooser_;
  std::vector<std::string> drives_;
};

}  // namespace tarnel

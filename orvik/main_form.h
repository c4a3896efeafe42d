#pragma once

#include <QWidget>

#include "extractor.h"
#include "common/prompts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace orvik {

using common::FileDialogState;
using common::Prompts;

class DataGridModel;

// Orvik's one window: choose the executable, search it for the image list,
// load the entries into the grid and write them as an icon list file.
class TMainForm : public QWidget {
 public:
  explicit TMainForm(Prompts& prompts, QWidget* parent = nullptr);

  QPushButton* FileBtn;
  QLabel* FileNameLbl;
  QPushButton* HelpBtn;
  QPushButton* LoadBtn;
  QPushButton* SearchBtn;
  QComboBox* SearchBox;
  QLineEdit* AddressEdit;
  QPushButton* AgainBtn;
  QPushButton* AboutBtn;
  QLabel* Label1;
  QLineEdit* EntriesEdit;
  QPushButton* WriteBtn;
  QLabel* SaveLbl;
  QTableView* DataGrid;
  FileDialogState OpenDialog1;
  FileDialogState SaveDialog1;

  // The handlers. A conversion error escapes them; the buttons report it in
  // the standard error box.
  void FormCreate();
  void FileBtnClick();
  void SearchBtnClick();
  void AgainBtnClick();
  void LoadBtnClick();
  void WriteBtnClick();
  void HelpBtnClick();
  void AboutBtnClick();

  const Extractor& extractor() const { return extractor_; }

 private:
  // Says so after a Search or Search Again that found no match.
  void reportNotFound();
  std::string exePath_ = "Varno File ??????";
  std::string proposedSaveName_;  // set by the last Search
  void connectButton(QPushButton* button, void (TMainForm::*handler)());

  Prompts& prompts_;
  Extractor extractor_;
  DataGridModel* gridModel_;
};

}  // namespace orvik

#pragma once

#include <QWidget>

#include "mainwindow/compare_command.h"

class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tarnel {

// "Compare With File": the differences of the open game against another
// game file, one line each. A double-click on a unit's line asks for that
// unit to be selected in the unit grid. Lines of named fields carry a check
// box; "Take Checked" writes the checked fields of game B into the open game
// as one command and compares again.
class TCompareForm : public QWidget {
  Q_OBJECT
 public:
  explicit TCompareForm(Session& session, QWidget* parent = nullptr);

  QLabel* FileLbl;
  QListWidget* DifferenceList;
  QPushButton* TakeBtn;
  QPushButton* CloseBtn;
  QAction* CheckAll1;   // every line of the current line's unit (or of the game)
  QAction* CheckNone1;

  // `note`, when given, leads the summary line (what the last take did).
  void showComparison(const Comparison& comparison, const QString& note = {});
  void TakeBtnClick();
  // The lines of the current line's unit checked or cleared.
  void checkUnitLines(bool checked);

 signals:
  void unitChosen(int unit);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void updateTakeButton();

  Session& session_;
  Comparison comparison_;
};

}  // namespace tarnel

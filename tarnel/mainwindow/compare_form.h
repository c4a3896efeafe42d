#pragma once

#include <QWidget>

#include "mainwindow/compare_command.h"

class QLabel;
class QListWidget;

namespace tarnel {

// "Compare With File": the differences of the open game against another
// game file, one line each. A double-click on a unit's line asks for that
// unit to be selected in the unit grid.
class TCompareForm : public QWidget {
  Q_OBJECT
 public:
  explicit TCompareForm(QWidget* parent = nullptr);

  QLabel* FileLbl;
  QListWidget* DifferenceList;

  void showComparison(const Comparison& comparison);

 signals:
  void unitChosen(int unit);
};

}  // namespace tarnel

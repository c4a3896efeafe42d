#pragma once

#include <QWidget>
#include "common/ui/qt_form_activation.h"
#include <functional>

class QLabel;
class QTableWidget;

namespace tarnel {

class Session;

// "Battle Summary": the units and men left of the side chosen in the main
// window, by unit type, with the date, turn, nations and totals. Read-only;
// it recomputes everything each time it becomes the active window.
class TSummaryForm : public QWidget {
  Q_OBJECT

 public:
  // `side` tells the side selector's current index.
  TSummaryForm(Session& session, std::function<int()> side, QWidget* parent = nullptr);

  void FormActivate();

  QLabel* Label1;
  QLabel* TurnLbl;
  QLabel* DateLbl;
  QLabel* CountryLbl;
  QTableWidget* SummarySG;
  QLabel* MenLbl;
  QLabel* MenKilledLbl;
  QLabel* TotalUnitsLbl;
  QLabel* UnitsKilledLbl;

 protected:
  bool event(QEvent* e) override;

 private:
  // First of the members: the window's event() asks it from the first event
  // on, and building a child of the window already sends one.
  common::FormActivation activation_{this};
  Session& session_;
  std::function<int()> side_;
};

}  // namespace tarnel

#pragma once

#include <QWidget>
#include <array>

#include "sidefiles/country_data.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace tarnel {


// "Country Stats": the countries of the loaded country data, the data sets
// of the chosen one, and "Set", which copies the chosen data set's numbers
// into the main window's roll fields.
class TDiceStatForm : public QWidget {
  Q_OBJECT

 public:
  // The main window's roll fields, rows Exp to Sk2, columns Base to Max.
  using RollEdits = std::array<std::array<QLineEdit*, kCountryValues>, kCountryRows>;

  // "Set" writes the roll panel's fields `rollEdits`.
  TDiceStatForm(Session& session, const RollEdits& rollEdits, QWidget* parent = nullptr);

  CountryStats& stats() { return stats_; }

  void FormShow();
  void CountryLBClick();
  void DescriptionGridSelectCell(int col, int row);
  void SetBtnClick();

  QLabel* CountryLabel;
  QListWidget* CountryLB;
  QLabel* DescriptionLabel;
  QTableWidget* DescriptionGrid;
  QPushButton* SetBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  CountryStats stats_;
  RollEdits rollEdits_;
};

}  // namespace tarnel

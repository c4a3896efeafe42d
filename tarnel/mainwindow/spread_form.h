#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <bitset>
#include <optional>

#include "mainwindow/rating_spread.h"

class QLabel;
class QLineEdit;

namespace tarnel {

class RollPanel;

// A bar chart of one roll row's spread: a bar per value (or per run of
// values when they outnumber the pixels), the clamped ends Min and Max in a
// colour of their own; or, when the row has no spread, the text saying why.
class SpreadChart : public QWidget {
  Q_OBJECT
 public:
  explicit SpreadChart(QWidget* parent = nullptr);
  void setSpread(const RowSpread& spread, int min, int max);
  const RowSpread& spread() const { return spread_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RowSpread spread_;
  int min_ = 0, max_ = 0;
};

// "Rating Spread": for each of the main window's five roll rows, the chance
// of every value its formula writes, following the fields as they are typed.
// Changes are gathered until the event loop next runs, so a burst of them
// (the 35 fields the country window's Set writes, a paste into a field)
// recomputes each row it touched once. A tool window of the main window: it
// stays above it while both are shown.
class TSpreadForm : public QWidget {
  Q_OBJECT
 public:
  // The main window's roll fields, rows Exp to Sk2, fields Base to Max.
  using RollEdits = std::array<std::array<QLineEdit*, 7>, kRollRowCount>;

  // Follows the roll panel's fields.
  explicit TSpreadForm(const RollPanel& rolls, QWidget* parent = nullptr);

  // Recomputes one row from its fields (while the window is shown).
  void refreshRow(RollRow row);

 signals:
  // A row's chart and figures were computed anew.
  void rowRefreshed(tarnel::RollRow row);

 public:

  std::array<SpreadChart*, kRollRowCount> SpreadCharts{};
  // Mean, most likely value and the chances of Min and Max, beside each chart.
  std::array<QLabel*, kRollRowCount> SpreadLabels{};

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void refreshChanged();

  RollEdits rollEdits_;
  std::bitset<kRollRowCount> changed_;
  QTimer refreshTimer_;
};

// The figures written beside a chart.
QString spreadFigures(const RatingSpread& spread, int min, int max);

}  // namespace tarnel

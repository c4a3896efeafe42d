#include "mainwindow/spread_form.h"

#include "mainwindow/qt_roll_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "common/ui/qt_text.h"
#include "model/prompts.h"

namespace tarnel {

namespace {

constexpr int kChartWidth = 440;
constexpr int kChartHeight = 86;
constexpr int kAxisHeight = 16;  // value labels under the bars
// Values at the ends whose chance is below this share of the most likely
// value's are left off the chart (their chance stays in the figures).
constexpr double kVisibleShare = 1e-4;

QString percent(double p) {
  if (p <= 0) return QStringLiteral("0%");
  if (p >= 0.001) return QString::number(p * 100, 'f', 2) + QLatin1Char('%');
  return QString::number(p * 100, 'g', 2) + QLatin1Char('%');
}

RollFields fieldsOf(const std::array<QLineEdit*, 7>& edits) {
  auto text = [](const QLineEdit* e) { return common::toCp1252(e->text()); };
  return {text(edits[0]), text(edits[1]), text(edits[2]), text(edits[3]),
          text(edits[4]), text(edits[5]), text(edits[6])};
}

}  // namespace

QString spreadFigures(const RatingSpread& spread, int min, int max) {
  // A mean just below zero (the rounding of a symmetric spread's) reads 0.00,
  // not -0.00.
  QString mean = QString::number(spread.mean, 'f', 2);
  if (mean.toDouble() == 0) mean = QString::number(0.0, 'f', 2);
  return QStringLiteral("Mean %1\nMost likely %2\nMin %3: %4\nMax %5: %6")
      .arg(mean, QString::number(spread.mostLikely), QString::number(min),
           percent(spread.atMin), QString::number(max), percent(spread.atMax));
}

SpreadChart::SpreadChart(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, kChartHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SpreadChart::sizeHint() const { return {kChartWidth, kChartHeight}; }

void SpreadChart::setSpread(const RowSpread& spread, int min, int max) {
  spread_ = spread;
  min_ = min;
  max_ = max;
  update();
}

void SpreadChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Base));
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (!spread_.spread) {
    p.setPen(QColor(170, 0, 0));
    p.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
               QString::fromStdString(spread_.text));
    return;
  }
  const RatingSpread& s = *spread_.spread;
  const auto& prob = s.probability;
  const double peak = *std::max_element(prob.begin(), prob.end());
  std::size_t lo = 0, hi = prob.size() - 1;
  while (lo < hi && prob[lo] < peak * kVisibleShare) ++lo;
  while (hi > lo && prob[hi] < peak * kVisibleShare) --hi;

  const QRect plot = rect().adjusted(6, 16, -6, -kAxisHeight - 2);
  const std::size_t values = hi - lo + 1;
  // At least two pixels a bar; more values than that share a bar.
  const std::size_t perBar = std::max<std::size_t>(1, (values * 2 + static_cast<std::size_t>(plot.width()) - 1) /
                                                          static_cast<std::size_t>(plot.width()));
  const std::size_t bars = (values + perBar - 1) / perBar;
  std::vector<double> height(bars, 0.0);
  std::vector<bool> clampEnd(bars, false);
  for (std::size_t k = lo; k <= hi; ++k) {
    const std::size_t bar = (k - lo) / perBar;
    height[bar] += prob[k];
    const std::int64_t v = s.first + static_cast<std::int64_t>(k);
    if ((v == min_ || v == max_) && prob[k] > 0) clampEnd[bar] = true;
  }
  const double top = *std::max_element(height.begin(), height.end());
  const double slot = static_cast<double>(plot.width()) / static_cast<double>(bars);
  for (std::size_t b = 0; b < bars; ++b) {
    const double h = top > 0 ? height[b] / top * plot.height() : 0;
    const double x = plot.left() + slot * static_cast<double>(b);
    const double w = std::max(1.0, slot - (slot >= 4 ? 1.0 : 0.0));
    p.fillRect(QRectF(x, plot.bottom() + 1 - h, w, h), clampEnd[b] ? QColor(220, 120, 20) : QColor(50, 100, 170));
  }

  p.setPen(palette().color(QPalette::Text));
  const QFontMetrics fm(font());
  p.drawText(QRect(plot.left(), 1, plot.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
             percent(top) + (perBar > 1 ? QStringLiteral(" (%1 values a bar)").arg(perBar) : QString()));
  const QRect axis(plot.left(), plot.bottom() + 2, plot.width(), kAxisHeight);
  p.drawText(axis, Qt::AlignLeft | Qt::AlignVCenter, QString::number(s.first + static_cast<std::int64_t>(lo)));
  p.drawText(axis, Qt::AlignRight | Qt::AlignVCenter, QString::number(s.first + static_cast<std::int64_t>(hi)));
  if (s.mostLikely > s.first + static_cast<std::int64_t>(lo) && s.mostLikely < s.first + static_cast<std::int64_t>(hi)) {
    const double x = plot.left() + slot * (static_cast<double>(s.mostLikely - s.first - static_cast<std::int64_t>(lo)) /
                                           static_cast<double>(perBar) + 0.5);
    const QString label = QString::number(s.mostLikely);
    const int w = fm.horizontalAdvance(label);
    p.drawText(QRect(static_cast<int>(x) - w / 2, axis.top(), w + 2, kAxisHeight), Qt::AlignCenter, label);
  }
}

TSpreadForm::TSpreadForm(const RollPanel& rolls, QWidget* parent)
    : QWidget(parent, Qt::Tool), rollEdits_(rolls.allRollEdits()) {
  setObjectName(QStringLiteral("SpreadForm"));
  setWindowTitle(QStringLiteral("Rating Spread"));
  auto* layout = new QGridLayout(this);
  layout->setHorizontalSpacing(10);
  for (RollRow row : kRollRows) {
    const auto r = static_cast<std::size_t>(row);
    const int line = static_cast<int>(r);
    layout->addWidget(new QLabel(QString::fromLatin1(rollRowLabel(row)), this), line, 0, Qt::AlignTop);
    SpreadCharts[r] = new SpreadChart(this);
    layout->addWidget(SpreadCharts[r], line, 1);
    SpreadLabels[r] = new QLabel(this);
    SpreadLabels[r]->setMinimumWidth(130);
    SpreadLabels[r]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(SpreadLabels[r], line, 2);
    for (QLineEdit* edit : rollEdits_[r])
      connect(edit, &QLineEdit::textChanged, this, [this, r] {
        if (!isVisible()) return;
        changed_.set(r);
        refreshTimer_.start();
      });
  }
  layout->setColumnStretch(1, 1);
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setInterval(0);
  connect(&refreshTimer_, &QTimer::timeout, this, &TSpreadForm::refreshChanged);
}

void TSpreadForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refreshTimer_.stop();
  changed_.reset();
  for (RollRow row : kRollRows) refreshRow(row);
}

void TSpreadForm::refreshChanged() {
  // Hidden in between: the next showing computes every row.
  if (!isVisible()) return;
  const auto rows = changed_;
  changed_.reset();
  for (RollRow row : kRollRows)
    if (rows.test(static_cast<std::size_t>(row))) refreshRow(row);
}

void TSpreadForm::refreshRow(RollRow row) {
  const auto r = static_cast<std::size_t>(row);
  const RollFields fields = fieldsOf(rollEdits_[r]);
  const RowSpread spread = rowSpread(row, fields);
  int min = 0, max = 0;
  if (spread.spread) {
    min = toInt(fields.min);
    max = toInt(fields.max);
  }
  SpreadCharts[r]->setSpread(spread, min, max);
  SpreadLabels[r]->setText(spread.spread ? spreadFigures(*spread.spread, min, max) : QString());
  emit rowRefreshed(row);
}

}  // namespace tarnel

#include "editors/summary_form.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "common/ui/qt_text.h"
#include "editors/battle_summary.h"
#include "model/session.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;


namespace {


constexpr int kTextPixels = 17;
constexpr int kTitlePixels = 23;

}  // namespace

TSummaryForm::TSummaryForm(Session& session, std::function<int()> side, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), side_(std::move(side)) {
  setObjectName("SummaryForm");
  setWindowTitle("Battle Summary");
  setGeometry(213, 108, 531, 430);

  QFont text(QStringLiteral("Arial"));
  text.setStyleHint(QFont::SansSerif);
  text.setPixelSize(kTextPixels);
  setFont(text);

  // Labels grow with their text from the left, top corner they are placed at.
  auto label = [this](const char* name, const char* caption, int left, int top, int width, int height) {
    auto* l = new QLabel(caption, this);
    l->setObjectName(name);
    l->setGeometry(left, top, width, height);
    l->setMinimumSize(width, height);
    l->adjustSize();
    return l;
  };
  Label1 = label("Label1", "Battle Summary", 160, 0, 183, 29);
  QFont title = text;
  title.setPixelSize(kTitlePixels);
  title.setBold(true);
  Label1->setFont(title);
  QPalette darkRed = Label1->palette();
  darkRed.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
  Label1->setPalette(darkRed);
  Label1->adjustSize();
  TurnLbl = label("TurnLbl", "Turn 00/23", 24, 32, 79, 20);
  DateLbl = label("DateLbl", "00/00", 128, 32, 41, 20);
  CountryLbl = label("CountryLbl", "Country1 vs Country2", 232, 32, 159, 20);
  MenLbl = label("MenLbl", "Men", 136, 352, 32, 20);
  MenKilledLbl = label("MenKilledLbl", "Men Killed", 88, 376, 77, 20);
  TotalUnitsLbl = label("TotalUnitsLbl", "Total Units", 272, 352, 80, 20);
  UnitsKilledLbl = label("UnitsKilledLbl", "Units Killed", 272, 376, 84, 20);

  SummarySG = new QTableWidget(0, kSummaryColumns, this);
  SummarySG->setObjectName("SummarySG");
  SummarySG->setGeometry(8, 64, 505, 281);
  SummarySG->verticalHeader()->hide();
  SummarySG->verticalHeader()->setDefaultSectionSize(24);
  SummarySG->horizontalHeader()->setDefaultSectionSize(kSummaryDefaultColWidth);
  SummarySG->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  SummarySG->horizontalHeader()->setHighlightSections(false);
  SummarySG->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

bool TSummaryForm::event(QEvent* e) {
  if (activation_.refreshesOn(e)) FormActivate();
  return QWidget::event(e);
}

void TSummaryForm::FormActivate() {
  const BattleSummary s = summarizeBattle(session_, side_ ? side_() : 0);

  QStringList headings;
  for (int c = 0; c < kSummaryColumns; ++c) {
    SummarySG->setColumnWidth(c, summaryColumnWidth(c));
    headings << fromCp1252(s.rows[0][static_cast<std::size_t>(c)]);
  }
  SummarySG->setHorizontalHeaderLabels(headings);
  const int groups = static_cast<int>(s.rows.size()) - 1;
  SummarySG->setRowCount(groups);
  for (int r = 0; r < groups; ++r)
    for (int c = 0; c < kSummaryColumns; ++c)
      SummarySG->setItem(r, c,
                         new QTableWidgetItem(fromCp1252(s.rows[static_cast<std::size_t>(r + 1)][static_cast<std::size_t>(c)])));

  const std::pair<QLabel*, const std::string*> lines[] = {
      {TurnLbl, &s.turnLine},         {DateLbl, &s.dateLine},
      {CountryLbl, &s.countryLine},   {MenLbl, &s.menLine},
      {MenKilledLbl, &s.menKilledLine}, {TotalUnitsLbl, &s.totalUnitsLine},
      {UnitsKilledLbl, &s.unitsKilledLine}};
  for (const auto& [label, line] : lines) {
    label->setText(fromCp1252(*line));
    label->adjustSize();
  }
}

}  // namespace tarnel

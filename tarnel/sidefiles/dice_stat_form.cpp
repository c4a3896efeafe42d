#include "sidefiles/dice_stat_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/text1252.h"
#include "common/ui/qt_text.h"

namespace tarnel {

using common::fromCp1252;

TDiceStatForm::TDiceStatForm(Session& session, const RollEdits& rollEdits, QWidget* parent)
    : QWidget(parent, Qt::Window), stats_(session.countries), rollEdits_(rollEdits) {
  setObjectName(QStringLiteral("DiceStatForm"));
  setWindowTitle(QStringLiteral("Country Stats"));

  CountryLabel = new QLabel(QStringLiteral("Country"), this);
  CountryLB = new QListWidget(this);
  CountryLB->setObjectName(QStringLiteral("CountryLB"));
  CountryLB->setFixedWidth(150);
  CountryLabel->setBuddy(CountryLB);

  DescriptionLabel = new QLabel(QStringLiteral("Description"), this);
  DescriptionGrid = new QTableWidget(0, 2, this);
  DescriptionGrid->setObjectName(QStringLiteral("DescriptionGrid"));
  DescriptionGrid->verticalHeader()->hide();
  DescriptionGrid->verticalHeader()->setDefaultSectionSize(22);
  DescriptionGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DescriptionGrid->horizontalHeader()->setHighlightSections(false);
  DescriptionGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  DescriptionGrid->setHorizontalHeaderLabels({QString::fromLatin1(CountryStats::kHeadings[0]),
                                              QString::fromLatin1(CountryStats::kHeadings[1])});
  DescriptionGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DescriptionGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  DescriptionGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  int width = 2 * DescriptionGrid->frameWidth() + 18;  // room for the vertical scroll bar
  for (std::size_t c = 0; c < CountryStats::kColumnWidths.size(); ++c) {
    DescriptionGrid->horizontalHeader()->resizeSection(static_cast<int>(c), CountryStats::kColumnWidths[c]);
    width += CountryStats::kColumnWidths[c];
  }
  DescriptionGrid->setFixedWidth(width);
  DescriptionLabel->setBuddy(DescriptionGrid);

  SetBtn = new QPushButton(QStringLiteral("Set"), this);
  SetBtn->setObjectName(QStringLiteral("SetBtn"));

  auto* left = new QVBoxLayout;
  left->addWidget(CountryLabel);
  left->addWidget(CountryLB);
  auto* right = new QVBoxLayout;
  right->addWidget(DescriptionLabel);
  right->addWidget(DescriptionGrid);
  auto* lists = new QHBoxLayout;
  lists->addLayout(left);
  lists->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(SetBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(buttons);
  resize(sizeHint().width(), 300);

  connect(CountryLB, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) CountryLBClick();
  });
  connect(CountryLB, &QListWidget::itemClicked, this, [this] { CountryLBClick(); });
  connect(DescriptionGrid, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
    if (row >= 0 && col >= 0) DescriptionGridSelectCell(col, row + 1);
  });
  connect(SetBtn, &QPushButton::clicked, this, [this] { SetBtnClick(); });
}

void TDiceStatForm::showEvent(QShowEvent* event) {
  FormShow();
  QWidget::showEvent(event);
}

void TDiceStatForm::FormShow() {
  const QSignalBlocker blocker(CountryLB);
  CountryLB->clear();
  for (const std::string& name : stats_.show()) CountryLB->addItem(fromCp1252(name));
}

void TDiceStatForm::CountryLBClick() {
  const auto& rows = stats_.chooseCountry(CountryLB->currentRow());
  const QSignalBlocker blocker(DescriptionGrid);
  DescriptionGrid->clearContents();
  DescriptionGrid->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < 2; ++c)
      DescriptionGrid->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(fromCp1252(rows[r][c])));
  // No data set is chosen until a row is clicked.
  DescriptionGrid->setCurrentCell(-1, -1);
  DescriptionGrid->clearSelection();
}

void TDiceStatForm::DescriptionGridSelectCell(int col, int row) { stats_.selectCell(col, row); }

void TDiceStatForm::SetBtnClick() {
  CountryStats::RollTexts texts;
  if (!stats_.set(texts)) return;
  for (std::size_t r = 0; r < texts.size(); ++r)
    for (std::size_t c = 0; c < texts[r].size(); ++c)
      if (QLineEdit* edit = rollEdits_[r][c]) edit->setText(QString::fromStdString(texts[r][c]));
}

}  // namespace tarnel

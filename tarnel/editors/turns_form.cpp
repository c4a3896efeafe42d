#include "editors/turns_form.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/ui/qt_text.h"
#include "model/undo.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;

namespace {


constexpr int kEditWidth = 48;
constexpr int kHexColumnWidth = 52;
constexpr int kHexRowHeight = 22;
constexpr int kHexRowsShown = 12;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

}  // namespace

TTurnsForm::TTurnsForm(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), editor_(session) {
  setObjectName("TurnsForm");
  setWindowTitle("Game Data");

  for (int f = 0; f < kGameDataFieldCount; ++f) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(gameDataFieldInfo(static_cast<GameDataField>(f)).control);
    edit->setFixedWidth(kEditWidth);
    numberEdits[at(f)] = edit;
  }
  auto edit = [this](GameDataField f) { return numberEdits[at(f)]; };
  TurnEdit = edit(kTurnField);
  MaxTurnsEdit = edit(kMaxTurnsField);
  VisibilityEdit = edit(kVisibilityField);
  TerrainEdit = edit(kTerrainField);
  StartMonthEdit = edit(kStartMonthField);
  EndMonthEdit = edit(kEndMonthField);
  StartYearEdit = edit(kStartYearField);
  EndYearEdit = edit(kEndYearField);
  Country1Edit = edit(kCountry1Field);
  Country2Edit = edit(kCountry2Field);
  Country3Edit = edit(kCountry3Field);
  Country4Edit = edit(kCountry4Field);
  MajorVictoriesEdit = edit(kMajorVictoriesField);
  MinorVictoriesEdit = edit(kMinorVictoriesField);
  BattlesEdit = edit(kBattlesField);
  MaxBattlesEdit = edit(kMaxBattlesField);
  MonthEdit = edit(kMonthField);
  YearEdit = edit(kYearField);

  PrestigeEdit = new QLineEdit(this);
  PrestigeEdit->setObjectName("PrestigeEdit");
  PrestigeEdit->setFixedWidth(2 * kEditWidth);
  DescriptionEdit = new QLineEdit(this);
  DescriptionEdit->setObjectName("DescriptionEdit");
  // The file keeps 31 characters; the field takes no more.
  DescriptionEdit->setMaxLength(kDescriptionChars);
  DescriptionEdit->setToolTip(QString("At most %1 characters").arg(kDescriptionChars));

  VictoryGrid = new QTableWidget(kVictoryRows - 1, kVictoryColumns, this);
  VictoryGrid->setObjectName("VictoryGrid");
  VictoryGrid->verticalHeader()->hide();
  VictoryGrid->verticalHeader()->setDefaultSectionSize(kHexRowHeight);
  VictoryGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  VictoryGrid->horizontalHeader()->setDefaultSectionSize(kHexColumnWidth);
  VictoryGrid->horizontalHeader()->setHighlightSections(false);
  VictoryGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  VictoryGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  VictoryGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  for (int r = 0; r < kVictoryRows - 1; ++r)
    for (int c = 0; c < kVictoryColumns; ++c) VictoryGrid->setItem(r, c, new QTableWidgetItem);
  VictoryGrid->setFixedSize(
      kVictoryColumns * kHexColumnWidth + VictoryGrid->verticalScrollBar()->sizeHint().width() +
          2 * VictoryGrid->frameWidth(),
      VictoryGrid->horizontalHeader()->sizeHint().height() + kHexRowsShown * kHexRowHeight +
          2 * VictoryGrid->frameWidth());

  RetainButton = new QPushButton("Retain", this);
  RetainButton->setObjectName("RetainButton");

  auto label = [this](const char* caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto slash = [this] { return new QLabel("/", this); };
  // A month and year pair: "caption [month] / [year]".
  auto datePair = [&](QGridLayout* g, int row, const char* caption, QLineEdit* month, QLineEdit* year) {
    g->addWidget(label(caption, month), row, 0, Qt::AlignRight);
    auto* pair = new QHBoxLayout;
    pair->addWidget(month);
    pair->addWidget(slash());
    pair->addWidget(year);
    pair->addStretch();
    g->addLayout(pair, row, 1);
  };

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(6);
  int row = 0;
  fields->addWidget(label("Turn #", TurnEdit), row, 0, Qt::AlignRight);
  fields->addWidget(TurnEdit, row, 1);
  fields->addWidget(label("Max Turns", MaxTurnsEdit), row, 2, Qt::AlignRight);
  fields->addWidget(MaxTurnsEdit, row++, 3);
  fields->addWidget(label("Visibility", VisibilityEdit), row, 0, Qt::AlignRight);
  fields->addWidget(VisibilityEdit, row, 1);
  fields->addWidget(label("Terrain", TerrainEdit), row, 2, Qt::AlignRight);
  fields->addWidget(TerrainEdit, row++, 3);
  fields->addWidget(label("Battles", BattlesEdit), row, 0, Qt::AlignRight);
  fields->addWidget(BattlesEdit, row, 1);
  fields->addWidget(label("Max Battles", MaxBattlesEdit), row, 2, Qt::AlignRight);
  fields->addWidget(MaxBattlesEdit, row++, 3);
  fields->addWidget(new QLabel("Victories", this), row, 0, Qt::AlignRight);
  auto* victories = new QHBoxLayout;
  victories->addWidget(label("Minor", MinorVictoriesEdit));
  victories->addWidget(MinorVictoriesEdit);
  victories->addSpacing(8);
  victories->addWidget(label("Major", MajorVictoriesEdit));
  victories->addWidget(MajorVictoriesEdit);
  victories->addStretch();
  fields->addLayout(victories, row++, 1, 1, 3);
  datePair(fields, row++, "Date", MonthEdit, YearEdit);
  datePair(fields, row++, "Start Date", StartMonthEdit, StartYearEdit);
  datePair(fields, row++, "End Date", EndMonthEdit, EndYearEdit);
  fields->addWidget(label("Countries", Country1Edit), row, 0, Qt::AlignRight);
  auto* countries = new QHBoxLayout;
  for (QLineEdit* e : {Country1Edit, Country2Edit, Country3Edit, Country4Edit}) countries->addWidget(e);
  countries->addStretch();
  fields->addLayout(countries, row++, 1, 1, 3);
  fields->addWidget(label("$$$", PrestigeEdit), row, 0, Qt::AlignRight);
  fields->addWidget(PrestigeEdit, row++, 1, 1, 2, Qt::AlignLeft);
  fields->setRowStretch(row, 1);

  auto* hexes = new QVBoxLayout;
  hexes->addWidget(label("Victory Hexes", VictoryGrid));
  hexes->addWidget(VictoryGrid);

  auto* top = new QHBoxLayout;
  top->addLayout(fields);
  top->addSpacing(16);
  top->addLayout(hexes);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(label("Description", DescriptionEdit));
  bottom->addWidget(DescriptionEdit, 1);
  bottom->addSpacing(16);
  bottom->addWidget(RetainButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  FormCreate();

  connect(RetainButton, &QPushButton::clicked, this,
          [this] { runHandler(&TTurnsForm::RetainButtonClick, "Retain Game Data"); });
}

void TTurnsForm::runHandler(void (TTurnsForm::*handler)(), const char* label) {
  runCommand(session_, label, [this, handler] { (this->*handler)(); });
}

bool TTurnsForm::event(QEvent* e) {
  if (activation_.refreshesOn(e)) FormActivate();
  return QWidget::event(e);
}

void TTurnsForm::FormCreate() {
  editor_.create();
  pushTexts();
}

void TTurnsForm::FormActivate() {
  editor_.fill();
  pushTexts();
}

void TTurnsForm::RetainButtonClick() {
  pullTexts();
  editor_.retain();
}

void TTurnsForm::pullTexts() {
  GameDataTexts& t = editor_.texts;
  for (std::size_t f = 0; f < numberEdits.size(); ++f) t.numbers[f] = toCp1252(numberEdits[f]->text());
  t.prestige = toCp1252(PrestigeEdit->text());
  t.description = toCp1252(DescriptionEdit->text());
  for (int r = 1; r < kVictoryRows; ++r)
    for (int c = 0; c < kVictoryColumns; ++c)
      t.victory[at(c)][at(r)] = toCp1252(VictoryGrid->item(r - 1, c)->text());
}

void TTurnsForm::pushTexts() {
  const GameDataTexts& t = editor_.texts;
  for (std::size_t f = 0; f < numberEdits.size(); ++f) numberEdits[f]->setText(fromCp1252(t.numbers[f]));
  PrestigeEdit->setText(fromCp1252(t.prestige));
  PrestigeEdit->setEnabled(t.prestigeEnabled);
  DescriptionEdit->setText(fromCp1252(t.description));
  QStringList headings;
  for (int c = 0; c < kVictoryColumns; ++c) headings << fromCp1252(t.victory[at(c)][0]);
  VictoryGrid->setHorizontalHeaderLabels(headings);
  for (int r = 1; r < kVictoryRows; ++r)
    for (int c = 0; c < kVictoryColumns; ++c)
      VictoryGrid->item(r - 1, c)->setText(fromCp1252(t.victory[at(c)][at(r)]));
}

}  // namespace tarnel

#include "editors/ammo_form.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "editors/weapons_form.h"
#include "model/undo.h"
#include "common/ui/qt_text.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;

namespace {


constexpr int kRowHeight = 22;

// A 5 x 5 grid whose heading row is the table's header; with a fixed first
// column that column's items are shown like headings and cannot be edited.
QTableWidget* makeGrid(QWidget* parent, const char* name, bool fixedFirstColumn,
                       const std::array<int, kEditorGridSize>& widths) {
  auto* grid = new QTableWidget(kEditorGridSize - 1, kEditorGridSize, parent);
  grid->setObjectName(name);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  for (int r = 0; r < kEditorGridSize - 1; ++r)
    for (int c = 0; c < kEditorGridSize; ++c) {
      auto* item = new QTableWidgetItem;
      if (fixedFirstColumn && c == 0) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(grid->palette().button());
      }
      grid->setItem(r, c, item);
    }
  int width = 2 * grid->frameWidth();
  for (int w : widths) width += w;
  grid->setFixedSize(width, grid->horizontalHeader()->sizeHint().height() +
                                (kEditorGridSize - 1) * kRowHeight + 2 * grid->frameWidth());
  return grid;
}

}  // namespace

TAmmoForm::TAmmoForm(Session& session, TWeaponsForm& weapons, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), weapons_(weapons), editor_(session) {
  setObjectName("AmmoForm");
  setWindowTitle("Unit Data");

  NameEdit = new QLineEdit(this);
  NameEdit->setObjectName("NameEdit");
  LeaderEdit = new QLineEdit(this);
  LeaderEdit->setObjectName("LeaderEdit");
  RankCB = new QComboBox(this);
  RankCB->setObjectName("RankCB");
  for (const char* item : kRankItems) RankCB->addItem(item);
  RankCB->setCurrentIndex(-1);
  for (int f = 0; f < kUnitFieldCount; ++f) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(unitFieldInfo(static_cast<UnitField>(f)).control);
    edit->setFixedWidth(56);
    numberEdits[static_cast<std::size_t>(f)] = edit;
  }
  WeaponsGrid = makeGrid(this, "WeaponsGrid", false, kWeaponsGridWidths);
  ArmorGrid = makeGrid(this, "ArmorGrid", true, kArmorGridWidths);
  RetainBtn = new QPushButton("Retain", this);
  RetainBtn->setObjectName("RetainBtn");
  CopyBtn = new QPushButton("Copy", this);
  CopyBtn->setObjectName("CopyBtn");
  PasteBtn = new QPushButton("Paste", this);
  PasteBtn->setObjectName("PasteBtn");
  PasteBtn->setEnabled(false);

  auto labelled = [this](QGridLayout* grid, int row, int col, const char* caption, QWidget* w) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(w);
    grid->addWidget(label, row, col, Qt::AlignRight);
    grid->addWidget(w, row, col + 1);
  };
  auto edit = [this](UnitField f) { return numberEdits[static_cast<std::size_t>(f)]; };

  auto* top = new QHBoxLayout;
  top->addWidget(NameEdit, 2);
  top->addSpacing(12);
  top->addWidget(new QLabel("Leaders", this));
  top->addWidget(LeaderEdit, 2);
  top->addWidget(new QLabel("Rank", this));
  top->addWidget(RankCB, 1);
  top->addWidget(new QLabel("Kills", this));
  top->addWidget(edit(kKills));

  auto* grids = new QHBoxLayout;
  grids->addWidget(WeaponsGrid);
  grids->addSpacing(12);
  grids->addWidget(ArmorGrid);
  grids->addStretch();

  // Identity, movement, fire and protection in columns.
  constexpr UnitField kColumns[6][4] = {
      {kClass, kUnitNumber, kCountry, kMobNumber},
      {kImageNumber, kSize, kMen, kCost},
      {kSpeed, kLift, kLiftCost, kSwim},
      {kVision, kRadio, kFireControl, kRangeFinder},
      {kRateOfFire, kStabiliser, kSmoke, kSmokeDispenser},
      {kDamage, kSupression, kSurvival, kUnitFieldCount},
  };
  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  for (int c = 0; c < 6; ++c)
    for (int r = 0; r < 4; ++r) {
      const UnitField f = kColumns[c][r];
      if (f == kUnitFieldCount) continue;
      labelled(fields, r, 2 * c, unitFieldInfo(f).caption, edit(f));
    }
  fields->setColumnStretch(12, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(RetainBtn);
  buttons->addWidget(CopyBtn);
  buttons->addWidget(PasteBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(grids);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  pushTexts();
  // A current cell from the start: a grid without one makes its first cell,
  // a weapon name, current as soon as it takes the focus.
  WeaponsGrid->setCurrentCell(0, 1);

  connect(RetainBtn, &QPushButton::clicked, this,
          [this] { runHandler(&TAmmoForm::RetainBtnClick, "Retain Unit Data"); });
  connect(CopyBtn, &QPushButton::clicked, this, [this] { runHandler(&TAmmoForm::CopyBtnClick); });
  connect(PasteBtn, &QPushButton::clicked, this, [this] { runHandler(&TAmmoForm::PasteBtnClick); });
  connect(WeaponsGrid, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
    if (row < 0 || col < 0) return;
    bool canSelect = true;
    WeaponsGridSelectCell(col, row + 1, canSelect);
  });

  weapons_.setEditor(&editor_);
  connect(&weapons_, &TWeaponsForm::weaponSet, this, [this](int slot) { pushWeaponName(slot); });
}

TAmmoForm::~TAmmoForm() { weapons_.setEditor(nullptr); }

void TAmmoForm::runHandler(void (TAmmoForm::*handler)(), const char* label) {
  runCommand(session_, label, [this, handler] { (this->*handler)(); });
}

void TAmmoForm::showEvent(QShowEvent* e) {
  FormShow();
  QWidget::showEvent(e);
}

bool TAmmoForm::event(QEvent* e) {
  if (activation_.refreshesOn(e)) FormActivate();
  return QWidget::event(e);
}

void TAmmoForm::FormShow() {
  withTexts([this] { editor_.show(); });
  for (int c = 0; c < kEditorGridSize; ++c) {
    WeaponsGrid->horizontalHeader()->resizeSection(c, kWeaponsGridWidths[static_cast<std::size_t>(c)]);
    ArmorGrid->horizontalHeader()->resizeSection(c, kArmorGridWidths[static_cast<std::size_t>(c)]);
  }
}

void TAmmoForm::FormActivate() {
  bool filled = false;
  withTexts([&] { filled = editor_.fill(); });
  if (!filled) return;
  // Column 1 becomes current, so that the next click on a name opens the
  // weapons window again.
  WeaponsGrid->setCurrentCell(std::max(WeaponsGrid->currentRow(), 0), 1);
}

void TAmmoForm::RetainBtnClick() {
  withTexts([this] { editor_.retain(); });
}

void TAmmoForm::CopyBtnClick() {
  withTexts([this] { editor_.copy(); });
}

void TAmmoForm::PasteBtnClick() {
  withTexts([this] { editor_.paste(); });
}

void TAmmoForm::WeaponsGridSelectCell(int col, int row, bool& canSelect) {
  canSelect = true;
  if (!editor_.selectWeaponCell(col, row)) return;
  weapons_.show();
  weapons_.raise();
  weapons_.activateWindow();
}

template <typename Command>
void TAmmoForm::withTexts(Command command) {
  pullTexts();
  try {
    command();
  } catch (...) {
    pushTexts();
    throw;
  }
  pushTexts();
}

void TAmmoForm::pullTexts() {
  UnitDataTexts& t = editor_.texts;
  t.name = toCp1252(NameEdit->text());
  t.leaders = toCp1252(LeaderEdit->text());
  t.rankIndex = RankCB->currentIndex();
  for (std::size_t f = 0; f < numberEdits.size(); ++f) t.numbers[f] = toCp1252(numberEdits[f]->text());
  for (int r = 1; r < kEditorGridSize; ++r)
    for (int c = 0; c < kEditorGridSize; ++c) {
      t.weapons[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] =
          toCp1252(WeaponsGrid->item(r - 1, c)->text());
      t.armour[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] =
          toCp1252(ArmorGrid->item(r - 1, c)->text());
    }
}

void TAmmoForm::pushTexts() {
  const UnitDataTexts& t = editor_.texts;
  NameEdit->setText(fromCp1252(t.name));
  LeaderEdit->setText(fromCp1252(t.leaders));
  RankCB->setCurrentIndex(t.rankIndex);
  for (std::size_t f = 0; f < numberEdits.size(); ++f) numberEdits[f]->setText(fromCp1252(t.numbers[f]));
  QStringList weaponHeadings, armourHeadings;
  for (std::size_t c = 0; c < kEditorGridSize; ++c) {
    weaponHeadings << fromCp1252(t.weapons[c][0]);
    armourHeadings << fromCp1252(t.armour[c][0]);
  }
  WeaponsGrid->setHorizontalHeaderLabels(weaponHeadings);
  ArmorGrid->setHorizontalHeaderLabels(armourHeadings);
  for (int r = 1; r < kEditorGridSize; ++r)
    for (int c = 0; c < kEditorGridSize; ++c) {
      WeaponsGrid->item(r - 1, c)->setText(
          fromCp1252(t.weapons[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]));
      ArmorGrid->item(r - 1, c)->setText(
          fromCp1252(t.armour[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]));
    }
  PasteBtn->setEnabled(editor_.pasteEnabled);
}

void TAmmoForm::pushWeaponName(int slot) {
  WeaponsGrid->item(slot, 0)->setText(
      fromCp1252(editor_.texts.weapons[0][static_cast<std::size_t>(slot + 1)]));
}

}  // namespace tarnel

#include "mainwindow/qt_roll_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "common/ui/qt_sizes.h"
#include "common/ui/qt_text.h"

namespace tarnel {

namespace {

// How the controls of a row are named: its seven fields from Base to Max and
// its button.
struct RollRowControls {
  QLineEdit* RollPanel::* edits[7];
  QPushButton* RollPanel::* button;
  const char* buttonName;
};

constexpr std::array<const char*, 7> kFieldSuffixes = {"MEdit",  "PDEdit",  "PSEdit", "MDEdit",
                                                       "MSEdit", "MinEdit", "MaxEdit"};

const std::array<RollRowControls, kRollRowCount> kRollControls = {{
    {{&RollPanel::ExpMEdit, &RollPanel::ExpPDEdit, &RollPanel::ExpPSEdit, &RollPanel::ExpMDEdit,
      &RollPanel::ExpMSEdit, &RollPanel::ExpMinEdit, &RollPanel::ExpMaxEdit},
     &RollPanel::ExpRollBtn, "ExpRollBtn"},
    {{&RollPanel::MorMEdit, &RollPanel::MorPDEdit, &RollPanel::MorPSEdit, &RollPanel::MorMDEdit,
      &RollPanel::MorMSEdit, &RollPanel::MorMinEdit, &RollPanel::MorMaxEdit},
     &RollPanel::MorRollBtn, "MorRollBtn"},
    {{&RollPanel::RalMEdit, &RollPanel::RalPDEdit, &RollPanel::RalPSEdit, &RollPanel::RalMDEdit,
      &RollPanel::RalMSEdit, &RollPanel::RalMinEdit, &RollPanel::RalMaxEdit},
     &RollPanel::RalRollBtn, "RalRollBtn"},
    {{&RollPanel::Sk1MEdit, &RollPanel::Sk1PDEdit, &RollPanel::Sk1PSEdit, &RollPanel::Sk1MDEdit,
      &RollPanel::Sk1MSEdit, &RollPanel::Sk1MinEdit, &RollPanel::Sk1MaxEdit},
     &RollPanel::Sk1RollBtn, "Sk1RollBtn"},
    {{&RollPanel::Sk2MEdit, &RollPanel::Sk2PDEdit, &RollPanel::Sk2PSEdit, &RollPanel::Sk2MDEdit,
      &RollPanel::Sk2MSEdit, &RollPanel::Sk2MinEdit, &RollPanel::Sk2MaxEdit},
     &RollPanel::Sk2RollBtn, "Sk2RollBtn"},
}};

const RollRowControls& controlsOf(RollRow row) { return kRollControls[static_cast<std::size_t>(row)]; }

}  // namespace

RollPanel::RollPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  side_ = new QVBoxLayout;
  SideRG = new QGroupBox(QStringLiteral("Side"), this);
  SideRG->setObjectName(QStringLiteral("SideRG"));
  auto* sideLayout = new QVBoxLayout(SideRG);
  auto* sideGroup = new QButtonGroup(SideRG);
  for (std::size_t k = 0; k < 2; ++k) {
    SideRGItems[k] = new QRadioButton(QStringLiteral("Side %1").arg(k), SideRG);
    sideGroup->addButton(SideRGItems[k], static_cast<int>(k));
    sideLayout->addWidget(SideRGItems[k]);
  }
  SideRGItems[0]->setChecked(true);
  SideRG->setMinimumWidth(140);
  side_->addWidget(SideRG);
  RollAllBtn = new QPushButton(QString::fromLatin1(kRollAllCaption), this);
  RollAllBtn->setObjectName(QStringLiteral("RollAllBtn"));
  connect(RollAllBtn, &QPushButton::clicked, this, &RollPanel::rollAllRequested);
  SpreadBtn = new QPushButton(QStringLiteral("Spread"), this);
  SpreadBtn->setObjectName(QStringLiteral("SpreadBtn"));
  connect(SpreadBtn, &QPushButton::clicked, this, &RollPanel::spreadRequested);
  auto* rollAllRow = new QHBoxLayout;
  rollAllRow->addWidget(RollAllBtn);
  rollAllRow->addWidget(SpreadBtn);
  side_->addLayout(rollAllRow);
  SelectedOnlyCB = new QCheckBox(QStringLiteral("Selected units only"), this);
  SelectedOnlyCB->setObjectName(QStringLiteral("SelectedOnlyCB"));
  side_->addWidget(SelectedOnlyCB);
  side_->addStretch();
  layout->addLayout(side_);
  layout->addWidget(buildRows());
}

void RollPanel::addUnderSideSelector(QWidget* widget) { side_->insertWidget(side_->count() - 1, widget); }

int RollPanel::sideIndex() const { return SideRGItems[1]->isChecked() ? 1 : 0; }

void RollPanel::setSideItems(const QString& side0, const QString& side1) {
  SideRGItems[0]->setText(side0);
  SideRGItems[1]->setText(side1);
}

QWidget* RollPanel::buildRows() {
  auto* rows = new QWidget(this);
  auto* grid = new QGridLayout(rows);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  grid->setContentsMargins(0, 0, 0, 0);
  // Columns: rating label, Base, "+", d, "x", s, "-", d1, "x", s1, Min, Max, button.
  constexpr std::array<int, 7> fieldColumn = {1, 3, 5, 7, 9, 10, 11};
  constexpr std::array<std::pair<int, const char*>, 4> operators = {{{2, "+"}, {4, "x"}, {6, "-"}, {8, "x"}}};
  for (std::size_t f = 0; f < 7; ++f)
    grid->addWidget(new QLabel(QString::fromLatin1(kRollFieldLabels[f]), rows), 0, fieldColumn[f],
                    Qt::AlignHCenter | Qt::AlignBottom);

  for (RollRow row : kRollRows) {
    const int gridRow = static_cast<int>(row) + 1;
    const QString prefix = QString::fromLatin1(rollRowLabel(row));
    grid->addWidget(new QLabel(prefix, rows), gridRow, 0);
    const RollFields initial = initialRollFields(row);
    const std::array<const std::string*, 7> texts = {&initial.base, &initial.d,   &initial.s,  &initial.d1,
                                                     &initial.s1,   &initial.min, &initial.max};
    for (std::size_t f = 0; f < 7; ++f) {
      auto* edit = new QLineEdit(QString::fromStdString(*texts[f]), rows);
      edit->setObjectName(prefix + QLatin1String(kFieldSuffixes[f]));
      edit->setFixedWidth(common::lineEditWidthFor(*edit, QString::fromLatin1(kRollFieldWidest[f])));
      this->*controlsOf(row).edits[f] = edit;
      grid->addWidget(edit, gridRow, fieldColumn[f]);
    }
    for (const auto& [column, text] : operators)
      grid->addWidget(new QLabel(QString::fromLatin1(text), rows), gridRow, column, Qt::AlignCenter);
    auto* button = new QPushButton(QString::fromLatin1(rollButtonCaption(row)), rows);
    button->setObjectName(QString::fromLatin1(controlsOf(row).buttonName));
    this->*controlsOf(row).button = button;
    connect(button, &QPushButton::clicked, this, [this, row] { emit rollRequested(row); });
    grid->addWidget(button, gridRow, 12);
  }
  return rows;
}

std::array<QLineEdit*, 7> RollPanel::rollEdits(RollRow row) const {
  std::array<QLineEdit*, 7> edits{};
  for (std::size_t f = 0; f < 7; ++f) edits[f] = this->*controlsOf(row).edits[f];
  return edits;
}

RollPanel::Edits RollPanel::allRollEdits() const {
  Edits edits{};
  for (RollRow row : kRollRows) edits[static_cast<std::size_t>(row)] = rollEdits(row);
  return edits;
}

RollFields RollPanel::rollFields(RollRow row) const {
  const auto e = rollEdits(row);
  auto text = [](const QLineEdit* edit) { return common::toCp1252(edit->text()); };
  return {text(e[0]), text(e[1]), text(e[2]), text(e[3]), text(e[4]), text(e[5]), text(e[6])};
}

std::array<RollFields, kRollRowCount> RollPanel::allRollFields() const {
  std::array<RollFields, kRollRowCount> fields;
  for (RollRow row : kRollRows) fields[static_cast<std::size_t>(row)] = rollFields(row);
  return fields;
}

QPushButton* RollPanel::rollButton(RollRow row) const { return this->*controlsOf(row).button; }

}  // namespace tarnel

#pragma once

#include <QWidget>
#include <array>

#include "mainwindow/rating_rolls.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace tarnel {

// The rating-roll panel of the main window: at the left the side selector
// with "Roll All", "Spread" and "Selected units only" under it, beside them
// the five roll rows, each Base + d x s - d1 x s1, Min, Max and its button.
// The fields hold free text; the rolls, the country stats window and
// "Rating Spread" read and write them here.
class RollPanel : public QWidget {
  Q_OBJECT
 public:
  explicit RollPanel(QWidget* parent = nullptr);

  QGroupBox* SideRG;
  std::array<QRadioButton*, 2> SideRGItems;
  QPushButton* RollAllBtn;
  QPushButton* SpreadBtn;       // opens "Rating Spread"
  QCheckBox* SelectedOnlyCB;    // "Selected units only": rolls keep to the grid's selection

  QLineEdit *ExpMEdit, *ExpPDEdit, *ExpPSEdit, *ExpMDEdit, *ExpMSEdit, *ExpMinEdit, *ExpMaxEdit;
  QLineEdit *MorMEdit, *MorPDEdit, *MorPSEdit, *MorMDEdit, *MorMSEdit, *MorMinEdit, *MorMaxEdit;
  QLineEdit *RalMEdit, *RalPDEdit, *RalPSEdit, *RalMDEdit, *RalMSEdit, *RalMinEdit, *RalMaxEdit;
  QLineEdit *Sk1MEdit, *Sk1PDEdit, *Sk1PSEdit, *Sk1MDEdit, *Sk1MSEdit, *Sk1MinEdit, *Sk1MaxEdit;
  QLineEdit *Sk2MEdit, *Sk2PDEdit, *Sk2PSEdit, *Sk2MDEdit, *Sk2MSEdit, *Sk2MinEdit, *Sk2MaxEdit;
  QPushButton *ExpRollBtn, *MorRollBtn, *RalRollBtn, *Sk1RollBtn, *Sk2RollBtn;

  // The seven fields of a row, Base first.
  std::array<QLineEdit*, 7> rollEdits(RollRow row) const;
  // Those of every row, from Exp to Sk2.
  using Edits = std::array<std::array<QLineEdit*, 7>, kRollRowCount>;
  Edits allRollEdits() const;
  // The row's texts as Windows-1252 bytes.
  RollFields rollFields(RollRow row) const;
  std::array<RollFields, kRollRowCount> allRollFields() const;
  QPushButton* rollButton(RollRow row) const;

  // The side the rolls apply to: SideRG's selected item.
  int sideIndex() const;
  void setSideItems(const QString& side0, const QString& side1);
  // A widget placed in the left column, under "Selected units only".
  void addUnderSideSelector(QWidget* widget);

 signals:
  // A row's button was pressed.
  void rollRequested(RollRow row);
  void rollAllRequested();
  void spreadRequested();

 private:
  QWidget* buildRows();
  QVBoxLayout* side_;
};

}  // namespace tarnel

#pragma once

#include <QWidget>
#include <array>

#include "editors/ammo_editor.h"
#include "common/ui/qt_form_activation.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarnel {

class Session;
class TWeaponsForm;

// "Unit Data": one unit's name, identity, characteristics, ammunition, armour,
// weapons and leader, refilled from the model at each activation and stored
// by "Retain". The logic lives in UnitDataEditor; this window mirrors its
// texts in widgets.
class TAmmoForm : public QWidget {
  Q_OBJECT

 public:
  TAmmoForm(Session& session, TWeaponsForm& weapons, QWidget* parent = nullptr);
  ~TAmmoForm() override;

  UnitDataEditor& editor() { return editor_; }

  void FormShow();
  void FormActivate();
  void RetainBtnClick();
  void CopyBtnClick();
  void PasteBtnClick();
  void WeaponsGridSelectCell(int col, int row, bool& canSelect);

  QLineEdit* NameEdit;
  QLineEdit* LeaderEdit;
  QComboBox* RankCB;
  QTableWidget* WeaponsGrid;
  QTableWidget* ArmorGrid;
  std::array<QLineEdit*, kUnitFieldCount> numberEdits{};  // indexed by UnitField
  QPushButton* RetainBtn;
  QPushButton* CopyBtn;
  QPushButton* PasteBtn;

 protected:
  void showEvent(QShowEvent* e) override;
  bool event(QEvent* e) override;

 private:
  // First of the members: the window's event() asks it from the first event
  // on, and building a child of the window already sends one.
  common::FormActivation activation_{this};
  Session& session_;
  TWeaponsForm& weapons_;
  UnitDataEditor editor_;

  // Widgets -> texts before a command, texts -> widgets after it.
  void pullTexts();
  void pushTexts();
  void pushWeaponName(int slot);
  // Runs an editor call between pullTexts and pushTexts, so the widgets show
  // what it left even when it stopped with an error.
  template <typename Command>
  void withTexts(Command command);
  // Runs a handler as a command (runCommand): with a label its change to the
  // game is one step of the history.
  void runHandler(void (TAmmoForm::*handler)(), const char* label = "");
};

}  // namespace tarnel

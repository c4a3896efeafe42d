#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace tarnel {

class Session;
class UnitDataEditor;

// "Weapons": the 250 weapons of the current side, from which "Set" fills the
// weapon slot chosen in the unit data editor. Created once, before the unit
// data editor, which attaches itself with setEditor().
class TWeaponsForm : public QWidget {
  Q_OBJECT

 public:
  explicit TWeaponsForm(Session& session, QWidget* parent = nullptr);

  void setEditor(UnitDataEditor* editor) { editor_ = editor; }

  void FormActivate();
  void SetBtnClick();

  QPushButton* SetBtn;
  QListWidget* WeaponsLB;

 signals:
  // A weapon was put into the slot (0..3): the editor shows its name.
  void weaponSet(int slot);

 protected:
  bool event(QEvent* e) override;

 private:
  Session& session_;
  UnitDataEditor* editor_ = nullptr;
};

}  // namespace tarnel

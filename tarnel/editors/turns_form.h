#pragma once

#include <QWidget>
#include <array>

#include "editors/game_data_editor.h"
#include "common/ui/qt_form_activation.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarnel {

class Session;

// "Game Data": turns, visibility, terrain, countries, dates, victory levels,
// battles, prestige, description and victory hexes of the loaded game,
// refilled from the model at each activation and stored by "Retain". The
// logic lives in GameDataEditor; this window mirrors its texts in widgets.
class TTurnsForm : public QWidget {
  Q_OBJECT

 public:
  explicit TTurnsForm(Session& session, QWidget* parent = nullptr);

  GameDataEditor& editor() { return editor_; }

  void FormCreate();
  void FormActivate();
  void RetainButtonClick();

  QLineEdit* MonthEdit;
  QLineEdit* YearEdit;
  QLineEdit* MaxTurnsEdit;
  QLineEdit* TurnEdit;
  QLineEdit* VisibilityEdit;
  QLineEdit* BattlesEdit;
  QLineEdit* MinorVictoriesEdit;
  QLineEdit* MajorVictoriesEdit;
  QLineEdit* DescriptionEdit;
  QLineEdit* MaxBattlesEdit;
  QLineEdit* StartMonthEdit;
  QLineEdit* StartYearEdit;
  QLineEdit* EndMonthEdit;
  QLineEdit* EndYearEdit;
  QLineEdit* Country1Edit;
  QLineEdit* Country2Edit;
  QLineEdit* Country3Edit;
  QLineEdit* Country4Edit;
  QLineEdit* TerrainEdit;
  QLineEdit* PrestigeEdit;
  QTableWidget* VictoryGrid;
  QPushButton* RetainButton;
  std::array<QLineEdit*, kGameDataFieldCount> numberEdits{};  // indexed by GameDataField

 protected:
  bool event(QEvent* e) override;

 private:
  // Runs a handler as a command (runCommand): with a label its change to the
  // game is one step of the history.
  void runHandler(void (TTurnsForm::*handler)(), const char* label = "");
  // First of the members: the window's event() asks it from the first event
  // on, and building a child of the window already sends one.
  common::FormActivation activation_{this};
  Session& session_;
  GameDataEditor editor_;

  // Widgets -> texts before Retain, texts -> widgets after a fill.
  void pullTexts();
  void pushTexts();
};

}  // namespace tarnel

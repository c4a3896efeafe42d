#pragma once

#include <QWidget>
#include <functional>

#include "gamefiles/dump_files.h"
#include "common/ui/qt_form_activation.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tarnel {

// "Dump": the sections of the loaded file as the model holds them, written
// out as raw files (all, one, or the statistics text), and a raw dump read
// back into the image.
class TDumpForm : public QWidget {
  Q_OBJECT

 public:
  // "Load" runs `load`: the dump into the image and what must follow it
  // (the grid refill), which the main window's commands own.
  using LoadCommand = std::function<void(DumpWindow&)>;
  TDumpForm(Session& session, LoadCommand load, QWidget* parent = nullptr);

  DumpWindow& window() { return window_; }

  void FormCreate();
  void FormActivate();
  void DumpGridSelectCell(int col, int row, bool& canSelect);
  void AllBtnClick();
  void SectionBtnClick();
  void StatsBtnClick();
  void LoadBtnClick();

  QLabel* DumpLbl;
  QTableWidget* DumpGrid;
  QPushButton* AllBtn;
  QPushButton* SectionBtn;
  QPushButton* StatsBtn;
  QPushButton* LoadBtn;

 protected:
  bool event(QEvent* event) override;

 private:
  // First of the members: the window's event() asks it from the first event
  // on, and building a child of the window already sends one.
  common::FormActivation activation_{this};
  Session& session_;
  DumpWindow window_;
  LoadCommand load_;

  void fillGrid();
  // Runs a handler as a command (runCommand): with a label its change to the
  // game is one step of the history.
  void runHandler(void (TDumpForm::*handler)(), const char* label = "");
};

}  // namespace tarnel

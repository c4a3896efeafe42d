#pragma once

#include <QWidget>

#include "editors/position_editor.h"
#include "common/ui/qt_form_activation.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWindow;

namespace tarnel {

class Session;
class TextTableModel;
class TextTableView;

// The miniature map: shows the editor's bitmap at its own size and reports
// the mouse in its pixels.
class MapImage : public QWidget {
  Q_OBJECT
 public:
  MapImage(const PositionMap& map, QWidget* parent);
  QSize sizeHint() const override { return {kMapWidth, kMapHeight}; }

 signals:
  void mouseDown(int x, int y);
  void mouseMove(int x, int y);
  void mouseUp(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const PositionMap& map_;
};

// An up-down spinner bound to an edit field: its arrows step its position
// within a range, without wrapping, and write it into the field; a number
// typed into the field becomes the position, kept in the range.
class UpDown : public QWidget {
 public:
  UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);
  int position();
  void setPosition(int position);

  QToolButton* upButton;
  QToolButton* downButton;

 private:
  QLineEdit* buddy_;
  int minimum_;
  int maximum_;
  int position_;
};

// "Position": the units' map positions in a grid and on a miniature map, a
// band dragged on the map to select units and to propose where to drop them,
// and Retain into the model. The logic lives in PositionEditor.
class TPositionForm : public QWidget {
  Q_OBJECT

 public:
  explicit TPositionForm(Session& session, QWidget* parent = nullptr);
  ~TPositionForm() override;

  PositionEditor& editor() { return editor_; }

  void FormCreate();
  void FormActivate();
  void PositionGridSelectCell(int col, int row);
  void PositionImageMouseDown(int x, int y);
  void PositionImageMouseMove(int x, int y);
  void PositionImageMouseUp(int x, int y);
  void SelectBtnClick();
  void DropBtnClick();
  void ResetBtnClick();
  void RetainBtnClick();

  MapImage* PositionImage;
  TextTableView* PositionGrid;
  QPushButton* SelectBtn;
  QPushButton* DropBtn;
  QPushButton* ResetBtn;
  QPushButton* RetainBtn;
  QLabel* XYLbl;
  QLineEdit* XDropEdit;
  QLineEdit* YDropEdit;
  QLineEdit* XRangeEdit;
  QLineEdit* YRangeEdit;
  QLineEdit* DensityEdit;
  UpDown* DensityUpDown;

 protected:
  bool event(QEvent* e) override;

 private:
  // First of the members: the window's event() asks it from the first event
  // on, and building a child of the window already sends one.
  common::FormActivation activation_{this};
  Session& session_;
  PositionEditor editor_;
  TextTableModel* gridModel_;

  // Widgets -> texts before a command, texts -> widgets after it.
  void pullTexts();
  void pushTexts();
  // Runs a handler as a command (runCommand) between pull and push: with a
  // label its change to the game is one step of the history.
  template <typename Command>
  void runHandler(Command command, const char* label = "");
};

}  // namespace tarnel

#pragma once

#include <QWidget>

#include "mainwindow/unit_find.h"
#include "model/unit_grid_table.h"

class QLineEdit;
class QPushButton;

namespace tarnel {

// The find bar under the roll panel, hidden until Find: a text searched in the
// unit grid's designation, name and leader cells.
class UnitFindBar : public QWidget {
  Q_OBJECT
 public:
  UnitFindBar(const UnitGridTable& grid, QWidget* parent = nullptr);

  QLineEdit* FindEdit;
  QPushButton* FindNextBtn;
  QPushButton* FindPrevBtn;

  // F3 and Shift+F3 search from anywhere in `window`, opening the bar.
  void addSearchKeys(QWidget* window);
  // Shows the bar with its text selected for typing over.
  void open();
  // Searches from grid row `from` (0: none) and returns the grid row found,
  // 0 when none is (the edit then turns red). The typing stays in the bar.
  int search(FindDirection direction, int from);
  // Whether the last search found nothing.
  bool failed() const { return failed_; }

 signals:
  // Enter or a button asks for a search.
  void searchRequested(FindDirection direction);
  // Escape hid the bar.
  void closed();

 private:
  void setFailed(bool failed);

  const UnitGridTable& grid_;
  bool failed_ = false;
};

}  // namespace tarnel

#pragma once

#include <string>
#include <vector>

namespace tarnel {

// Told about every change of a TextTable, so a view can follow it.
class TextTableObserver {
 public:
  virtual ~TextTableObserver() = default;
  virtual void tableReset() = 0;  // row count, widths or many cells changed
  virtual void cellChanged(int col, int row) = 0;
};

// A grid of text cells addressed as (column, row), row 0 being the heading
// row. Reads outside the table give an empty text; writes outside it are
// dropped.
class TextTable {
 public:
  TextTable(int cols, int rows, int defaultWidth);

  int colCount() const { return cols_; }
  int rowCount() const { return rows_; }
  void setRowCount(int rows);

  const std::string& cell(int col, int row) const;
  // Every cell, row by row.
  const std::vector<std::string>& cells() const { return cells_; }
  void setCell(int col, int row, std::string text);

  int colWidth(int col) const;
  void setColWidth(int col, int width);

  void setObserver(TextTableObserver* observer) { observer_ = observer; }
  // Groups many cell writes into one reset notice.
  void beginUpdate() { ++updating_; }
  void endUpdate();

 private:
  int cols_;
  int rows_;
  std::vector<std::string> cells_;
  std::vector<int> widths_;
  TextTableObserver* observer_ = nullptr;
  int updating_ = 0;
  bool dirty_ = false;
  void notifyReset();
};

}  // namespace tarnel

#include "model/text_table.h"

namespace tarnel {

namespace {
const std::string kEmpty;
}

TextTable::TextTable(int cols, int rows, int defaultWidth)
    : cols_(cols),
      rows_(rows),
      cells_(static_cast<std::size_t>(cols * rows)),
      widths_(static_cast<std::size_t>(cols), defaultWidth) {}

void TextTable::setRowCount(int rows) {
  if (rows < 0) rows = 0;
  rows_ = rows;
  cells_.resize(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows));
  notifyReset();
}

const std::string& TextTable::cell(int col, int row) const {
  if (col < 0 || col >= cols_ || row < 0 || row >= rows_) return kEmpty;
  return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col)];
}

void TextTable::setCell(int col, int row, std::string text) {
  if (col < 0 || col >= cols_ || row < 0 || row >= rows_) return;
  cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col)] = std::move(text);
  if (updating_ > 0) {
    dirty_ = true;
  } else if (observer_) {
    observer_->cellChanged(col, row);
  }
}

int TextTable::colWidth(int col) const {
  if (col < 0 || col >= cols_) return 0;
  return widths_[static_cast<std::size_t>(col)];
}

void TextTable::setColWidth(int col, int width) {
  if (col < 0 || col >= cols_) return;
  widths_[static_cast<std::size_t>(col)] = width;
  notifyReset();
}

void TextTable::endUpdate() {
  if (updating_ > 0 && --updating_ == 0 && dirty_) {
    dirty_ = false;
    if (observer_) observer_->tableReset();
  }
}

void TextTable::notifyReset() {
  if (updating_ > 0) {
    dirty_ = true;
  } else if (observer_) {
    observer_->tableReset();
  }
}

}  // namespace tarnel

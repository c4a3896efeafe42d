#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <functional>
#include <vector>

#include "model/text_table.h"

namespace tarnel {

// A text table as a Qt model, for the unit grid and the position grid. Row 0
// of the table, the heading row, is the horizontal header; table row r is
// model row r - 1. Cells hold Windows-1252 bytes and are converted here, at
// the edge.
class TextTableModel : public QAbstractTableModel, private TextTableObserver {
  Q_OBJECT
 public:
  explicit TextTableModel(TextTable& table, QObject* parent = nullptr);
  ~TextTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  TextTable& table() { return table_; }
  // Runs the write of a typed cell; the main window makes it a command.
  void setEditRunner(std::function<void(const std::function<void()>&)> runner) { editRunner_ = std::move(runner); }
  // A typed cell is being stored: its editor has nothing more to commit.
  bool writing() const { return writing_; }

 signals:
  // Row count, column widths or many cells changed at once.
  void gridReset();
  // The user typed a new text into a cell.
  void cellEdited();

 private:
  void tableReset() override;
  void cellChanged(int col, int row) override;

  TextTable& table_;
  std::function<void(const std::function<void()>&)> editRunner_;
  bool writing_ = false;
};

// A string grid: every cell editable by typing, the editor shown as soon as
// a cell becomes current, column widths taken from the table.
class TextTableView : public QTableView {
  Q_OBJECT
 public:
  explicit TextTableView(QWidget* parent = nullptr);
  void setGridModel(TextTableModel* model);
  // Stores what is being typed into the open cell editor, so a command that
  // reads the grid sees it.
  void commitEditor();
  // Makes `index` current as a click would, but opens no editor on it: an
  // undone step puts the selection back without a cell waiting to be typed over.
  void setCurrentWithoutEditor(const QModelIndex& index);
  // Stores and closes the current cell's editor, if one is open.
  void closeCellEditor();
  // An undone step puts the selection back: the row of `index` is selected
  // and `index` made current with no cell editor open. False when `index`
  // was current already (no current-cell change is signalled then).
  bool selectRowWithoutEditor(const QModelIndex& index);
  // The grid rows (table rows) inside the selection: chosen[r] for row r.
  std::vector<bool> selectedGridRows() const;
  void applyColumnWidths();

 private:
  TextTableModel* model_ = nullptr;
};

}  // namespace tarnel

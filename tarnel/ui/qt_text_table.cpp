#include "ui/qt_text_table.h"

#include <QApplication>
#include <QHeaderView>
#include <QScopedValueRollback>

#include "common/ui/qt_text.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;

namespace {
}  // namespace

TextTableModel::TextTableModel(TextTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {
  table_.setObserver(this);
}

TextTableModel::~TextTableModel() { table_.setObserver(nullptr); }

int TextTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, table_.rowCount() - 1);
}

int TextTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.colCount(); }

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return fromCp1252(table_.cell(index.column(), index.row() + 1));
}

bool TextTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  std::string text = toCp1252(value.toString());
  if (text == table_.cell(index.column(), index.row() + 1)) return true;
  auto write = [&] { table_.setCell(index.column(), index.row() + 1, std::move(text)); };
  const QScopedValueRollback<bool> storing(writing_, true);
  if (editRunner_)
    editRunner_(write);
  else
    write();
  emit cellEdited();
  return true;
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return fromCp1252(table_.cell(section, 0));
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void TextTableModel::tableReset() {
  beginResetModel();
  endResetModel();
  emit gridReset();
}

void TextTableModel::cellChanged(int col, int row) {
  if (row == 0) {
    emit headerDataChanged(Qt::Horizontal, col, col);
    return;
  }
  const QModelIndex at = index(row - 1, col);
  emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
}

TextTableView::TextTableView(QWidget* parent) : QTableView(parent) {
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(true);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(20);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setMinimumSectionSize(8);
  setWordWrap(false);
}

void TextTableView::setGridModel(TextTableModel* model) {
  model_ = model;
  setModel(model);
  connect(model, &TextTableModel::gridReset, this, &TextTableView::applyColumnWidths);
  // A new file opens at its first unit, whatever row the last one showed.
  connect(model, &TextTableModel::gridReset, this, &QAbstractItemView::scrollToTop);
  applyColumnWidths();
}

void TextTableView::applyColumnWidths() {
  if (!model_) return;
  for (int c = 0; c < model_->table().colCount(); ++c) setColumnWidth(c, model_->table().colWidth(c));
}

void TextTableView::setCurrentWithoutEditor(const QModelIndex& index) {
  const EditTriggers triggers = editTriggers();
  setEditTriggers(triggers & ~CurrentChanged);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  setEditTriggers(triggers);
}

void TextTableView::closeCellEditor() {
  QWidget* editor = indexWidget(currentIndex());
  if (!editor) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TextTableView::selectRowWithoutEditor(const QModelIndex& index) {
  closeCellEditor();
  const bool moved = currentIndex() != index;
  if (moved) setCurrentWithoutEditor(index);
  selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(index);
  return moved;
}

std::vector<bool> TextTableView::selectedGridRows() const {
  std::vector<bool> rows(static_cast<std::size_t>(model_ ? std::max(0, model_->table().rowCount()) : 0), false);
  for (const QItemSelectionRange& range : selectionModel()->selection())
    for (int r = range.top(); r <= range.bottom(); ++r)
      if (static_cast<std::size_t>(r + 1) < rows.size()) rows[static_cast<std::size_t>(r + 1)] = true;
  return rows;
}

void TextTableView::commitEditor() {
  if (model_ && model_->writing()) return;
  // The editor with the focus, or else the current cell's: while the window
  // is inactive no widget has the focus, yet the typed text must be stored.
  QWidget* editor = QApplication::focusWidget();
  if (editor && viewport()->isAncestorOf(editor)) {
    while (editor->parentWidget() != viewport()) editor = editor->parentWidget();
  } else {
    editor = indexWidget(currentIndex());
  }
  if (editor) commitData(editor);
}

}  // namespace tarnel

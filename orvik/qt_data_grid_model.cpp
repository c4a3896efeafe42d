#include "qt_data_grid_model.h"

namespace orvik {

namespace {
QString text(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

int DataGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kGridRows; }

int DataGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kGridColumns; }

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return text(extractor_.cell(index.row(), index.column()));
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return int{Qt::AlignLeft | Qt::AlignVCenter};
  if (role != Qt::DisplayRole) return {};
  return text(extractor_.cell(0, section)) + QLatin1Char('\n') + text(extractor_.cell(1, section));
}

void DataGridModel::refresh() {
  emit dataChanged(index(kHeadingRows, 0), index(kGridRows - 1, kGridColumns - 1), {Qt::DisplayRole});
}

}  // namespace orvik

#pragma once

#include <QAbstractTableModel>

#include "extractor.h"

namespace orvik {

// The data grid's cells as the extractor holds them: 9 columns, 752 rows of
// which rows 0 and 1 are the headings. The view shows those two rows as its
// fixed two-line header.
class DataGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit DataGridModel(const Extractor& extractor, QObject* parent = nullptr)
      : QAbstractTableModel(parent), extractor_(extractor) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Tells the view that the entry rows were filled anew.
  void refresh();

 private:
  const Extractor& extractor_;
};

}  // namespace orvik

#include "mainwindow/compare_form.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "common/ui/qt_text.h"

namespace tarnel {

TCompareForm::TCompareForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("CompareForm"));
  setWindowTitle(QStringLiteral("Compare With File"));
  auto* layout = new QVBoxLayout(this);
  FileLbl = new QLabel(this);
  FileLbl->setObjectName(QStringLiteral("FileLbl"));
  FileLbl->setWordWrap(true);
  layout->addWidget(FileLbl);
  DifferenceList = new QListWidget(this);
  DifferenceList->setObjectName(QStringLiteral("DifferenceList"));
  DifferenceList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(DifferenceList, 1);
  connect(DifferenceList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int unit = item->data(Qt::UserRole).toInt();
    if (unit >= 0) emit unitChosen(unit);
  });
  resize(620, 420);
}

void TCompareForm::showComparison(const Comparison& c) {
  const int count = static_cast<int>(c.lines.size());
  FileLbl->setText(QStringLiteral("A: the open game   B: %1\n%2")
                       .arg(QString::fromStdString(c.otherPath))
                       .arg(count == 0 ? QStringLiteral("The games are equal.")
                                       : QStringLiteral("%1 difference%2; double-click a unit's line to select it.")
                                             .arg(count)
                                             .arg(count == 1 ? "" : "s")));
  DifferenceList->clear();
  for (const GameDifference& d : c.lines) {
    auto* item = new QListWidgetItem(QString::fromStdString(d.text), DifferenceList);
    item->setData(Qt::UserRole, d.unit);
  }
}

}  // namespace tarnel

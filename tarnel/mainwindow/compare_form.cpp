#include "mainwindow/compare_form.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace tarnel {

namespace {
constexpr int kLineRole = Qt::UserRole + 1;
}

TCompareForm::TCompareForm(Session& session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session) {
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
  auto* buttons = new QHBoxLayout;
  TakeBtn = new QPushButton(QStringLiteral("Take Checked"), this);
  TakeBtn->setObjectName(QStringLiteral("TakeBtn"));
  TakeBtn->setToolTip(QStringLiteral("Write the checked fields of B into the open game (one undo step)"));
  CloseBtn = new QPushButton(QStringLiteral("Close"), this);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
  buttons->addWidget(TakeBtn);
  buttons->addStretch();
  buttons->addWidget(CloseBtn);
  layout->addLayout(buttons);

  // A unit's lines are checked or cleared together from the context menu or
  // by + and - on the list.
  CheckAll1 = new QAction(QStringLiteral("Check All"), DifferenceList);
  CheckAll1->setObjectName(QStringLiteral("CheckAll1"));
  CheckAll1->setShortcut(QKeySequence(Qt::Key_Plus));
  CheckNone1 = new QAction(QStringLiteral("Check None"), DifferenceList);
  CheckNone1->setObjectName(QStringLiteral("CheckNone1"));
  CheckNone1->setShortcut(QKeySequence(Qt::Key_Minus));
  for (QAction* a : {CheckAll1, CheckNone1}) {
    a->setShortcutContext(Qt::WidgetShortcut);
    DifferenceList->addAction(a);
  }
  DifferenceList->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(CheckAll1, &QAction::triggered, this, [this] { checkUnitLines(true); });
  connect(CheckNone1, &QAction::triggered, this, [this] { checkUnitLines(false); });

  connect(DifferenceList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int unit = item->data(Qt::UserRole).toInt();
    if (unit >= 0) emit unitChosen(unit);
  });
  connect(DifferenceList, &QListWidget::itemChanged, this, &TCompareForm::updateTakeButton);
  connect(TakeBtn, &QPushButton::clicked, this, &TCompareForm::TakeBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
  resize(620, 420);
}

void TCompareForm::showComparison(const Comparison& c, const QString& note) {
  comparison_ = c;
  const int count = static_cast<int>(c.lines.size());
  QString summary = count == 0 ? QStringLiteral("The games are equal.")
                               : QStringLiteral("%1 difference%2; double-click a unit's line to select it, "
                                                "check lines to take them from B.")
                                     .arg(count)
                                     .arg(count == 1 ? "" : "s");
  if (!note.isEmpty()) summary = note + QLatin1Char(' ') + summary;
  FileLbl->setText(QStringLiteral("A: the open game   B: %1\n%2").arg(QString::fromStdString(c.otherPath), summary));
  const QSignalBlocker quiet(DifferenceList);
  DifferenceList->clear();
  for (std::size_t k = 0; k < c.lines.size(); ++k) {
    const GameDifference& d = c.lines[k];
    auto* item = new QListWidgetItem(QString::fromStdString(comparisonLineText(session_, d)), DifferenceList);
    item->setData(Qt::UserRole, d.unit);
    item->setData(kLineRole, static_cast<qulonglong>(k));
    if (canTake(d)) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
  }
  updateTakeButton();
}

void TCompareForm::keyPressEvent(QKeyEvent* event) {
  // Escape closes the window, as it closes a dialog.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
    close();
  else
    QWidget::keyPressEvent(event);
}

void TCompareForm::checkUnitLines(bool checked) {
  const QListWidgetItem* current = DifferenceList->currentItem();
  if (!current) return;
  const int unit = current->data(Qt::UserRole).toInt();
  for (int r = 0; r < DifferenceList->count(); ++r) {
    QListWidgetItem* item = DifferenceList->item(r);
    if ((item->flags() & Qt::ItemIsUserCheckable) && item->data(Qt::UserRole).toInt() == unit)
      item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
}

void TCompareForm::updateTakeButton() {
  bool any = false;
  for (int r = 0; r < DifferenceList->count() && !any; ++r)
    any = DifferenceList->item(r)->checkState() == Qt::Checked;
  TakeBtn->setEnabled(any);
}

void TCompareForm::TakeBtnClick() {
  std::vector<std::size_t> lines;
  for (int r = 0; r < DifferenceList->count(); ++r)
    if (const QListWidgetItem* item = DifferenceList->item(r); item->checkState() == Qt::Checked)
      lines.push_back(item->data(kLineRole).toULongLong());
  if (lines.empty()) return;
  const int taken = takeFromFile(session_, comparison_, lines);
  showComparison(compareAgain(session_, comparison_),
                 taken == 0 ? QStringLiteral("No checked field could be taken.")
                            : QStringLiteral("Took %1 field%2 from B.").arg(taken).arg(taken == 1 ? "" : "s"));
}

}  // namespace tarnel

#include "mainwindow/qt_find_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "common/ui/qt_text.h"

namespace tarnel {

UnitFindBar::UnitFindBar(const UnitGridTable& grid, QWidget* parent) : QWidget(parent), grid_(grid) {
  setObjectName(QStringLiteral("FindBar"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(QStringLiteral("Find"), this);
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName(QStringLiteral("FindEdit"));
  FindEdit->setPlaceholderText(QStringLiteral("Unit, name or leader"));
  FindEdit->setClearButtonEnabled(true);
  label->setBuddy(FindEdit);
  FindNextBtn = new QPushButton(QStringLiteral("Next"), this);
  FindNextBtn->setObjectName(QStringLiteral("FindNextBtn"));
  FindPrevBtn = new QPushButton(QStringLiteral("Previous"), this);
  FindPrevBtn->setObjectName(QStringLiteral("FindPrevBtn"));
  for (QPushButton* b : {FindNextBtn, FindPrevBtn}) b->setAutoDefault(false);
  layout->addWidget(label);
  layout->addWidget(FindEdit, 1);
  layout->addWidget(FindNextBtn);
  layout->addWidget(FindPrevBtn);
  hide();

  connect(FindEdit, &QLineEdit::returnPressed, this, [this] { emit searchRequested(FindDirection::Next); });
  connect(FindEdit, &QLineEdit::textEdited, this, [this] { setFailed(false); });
  connect(FindNextBtn, &QPushButton::clicked, this, [this] { emit searchRequested(FindDirection::Next); });
  connect(FindPrevBtn, &QPushButton::clicked, this, [this] { emit searchRequested(FindDirection::Previous); });
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(close, &QShortcut::activated, this, [this] {
    hide();
    emit closed();
  });
}

void UnitFindBar::addSearchKeys(QWidget* window) {
  auto* next = new QShortcut(QKeySequence(Qt::Key_F3), window);
  connect(next, &QShortcut::activated, this, [this] { emit searchRequested(FindDirection::Next); });
  auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), window);
  connect(previous, &QShortcut::activated, this, [this] { emit searchRequested(FindDirection::Previous); });
}

void UnitFindBar::open() {
  show();
  FindEdit->setFocus(Qt::ShortcutFocusReason);
  FindEdit->selectAll();
}

int UnitFindBar::search(FindDirection direction, int from) {
  if (isHidden()) open();
  const QString text = FindEdit->text();
  if (text.isEmpty()) return 0;
  const std::string bytes = common::toCp1252(text);
  // A character Windows-1252 lacks is in no cell.
  const int row = common::fromCp1252(bytes) == text ? findUnitRow(grid_, bytes, from, direction) : 0;
  setFailed(row == 0);
  return row;
}

void UnitFindBar::setFailed(bool failed) {
  if (failed == failed_) return;
  failed_ = failed;
  // An empty palette gives the edit back the window's colours.
  QPalette palette;
  if (failed) {
    palette = FindEdit->palette();
    palette.setColor(QPalette::Base, QColor(255, 170, 170));
    palette.setColor(QPalette::Text, Qt::black);
  }
  FindEdit->setPalette(palette);
}

}  // namespace tarnel

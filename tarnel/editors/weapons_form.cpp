#include "editors/weapons_form.h"

#include <QEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/ammo_editor.h"
#include "model/session.h"
#include "common/ui/qt_text.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;

TWeaponsForm::TWeaponsForm(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
  setObjectName("WeaponsForm");
  setWindowTitle("Weapons");

  SetBtn = new QPushButton("Set", this);
  SetBtn->setObjectName("SetBtn");
  WeaponsLB = new QListWidget(this);
  WeaponsLB->setObjectName("WeaponsLB");
  WeaponsLB->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SetBtn, 0, Qt::AlignLeft);
  layout->addWidget(WeaponsLB);
  resize(260, 420);

  connect(SetBtn, &QPushButton::clicked, this, [this] { SetBtnClick(); });
  // A double-click on a line chooses it at once, as Set does.
  connect(WeaponsLB, &QListWidget::itemDoubleClicked, this, [this] { SetBtnClick(); });
}

bool TWeaponsForm::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(e);
}

void TWeaponsForm::FormActivate() {
  const int side = editor_ ? editor_->currentSide : 0;
  QStringList lines;
  for (const std::string& line : weaponListLines(session_.mob, side))
    lines << fromCp1252(line);
  WeaponsLB->clear();
  WeaponsLB->addItems(lines);
  WeaponsLB->setCurrentRow(-1);
  WeaponsLB->clearSelection();
}

void TWeaponsForm::SetBtnClick() {
  const QList<QListWidgetItem*> chosen = WeaponsLB->selectedItems();
  if (!editor_ || chosen.isEmpty()) return;
  if (editor_->chooseWeapon(WeaponsLB->row(chosen.front()))) emit weaponSet(editor_->weaponSlot);
}

}  // namespace tarnel

#include "mainwindow/qt_prompts.h"

#include <QApplication>
#include <QMessageBox>

namespace tarnel {

bool QtPrompts::chooseGameFile(GameFileChoice& choice) {
  FileDialogState d;
  d.title = choice.caption;
  d.filter = choice.mask + "|" + choice.mask;
  d.initialDir = choice.initialDir;
  if (!openDialog(d)) return false;
  choice.fileName = d.fileName;
  return true;
}

SaveChoice QtPrompts::askSaveChanges(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Warning, uiText(title), uiText(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
  }
}

}  // namespace tarnel

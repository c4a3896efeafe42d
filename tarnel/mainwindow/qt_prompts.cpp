#include "mainwindow/qt_prompts.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "mainwindow/file_form.h"

namespace tarnel {

bool QtPrompts::chooseGameFile(GameFileChoice& choice) {
  if (fileForm_) return fileForm_->choose(choice);
  // Before the windows exist there is no chooser to keep a directory: one
  // made for this use only.
  TFileForm form(pathFromUi(QDir::currentPath()));
  return form.choose(choice);
}

std::unique_ptr<QMessageBox> saveChangesBox(const std::string& text, const std::string& title, QWidget* parent) {
  auto box = common::messageBox(uiText(text), uiText(title), MessageIcon::Warning,
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box->setDefaultButton(QMessageBox::Save);
  return box;
}

SaveChoice QtPrompts::askSaveChanges(const std::string& text, const std::string& title) {
  const auto box = saveChangesBox(text, title, QApplication::activeWindow());
  switch (box->exec()) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
  }
}

std::unique_ptr<QMessageBox> warningQuestionBox(const std::string& text, const std::string& title, QWidget* parent) {
  auto box = common::messageBox(uiText(text), uiText(title), MessageIcon::Warning,
                                QMessageBox::Yes | QMessageBox::No, parent);
  box->setDefaultButton(QMessageBox::No);
  return box;
}

bool QtPrompts::warnAndAsk(const std::string& warning, const std::string& question, const std::string& title) {
  const auto box = warningQuestionBox(warning + " " + question, title, QApplication::activeWindow());
  return box->exec() == QMessageBox::Yes;
}

}  // namespace tarnel

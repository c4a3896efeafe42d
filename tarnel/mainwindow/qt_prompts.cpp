#include "mainwindow/qt_prompts.h"

#include <QDir>

#include "mainwindow/file_form.h"

namespace tarnel {

bool QtPrompts::chooseGameFile(GameFileChoice& choice) {
  if (fileForm_) return fileForm_->choose(choice);
  // Before the windows exist there is no chooser to keep a directory: one
  // made for this use only.
  TFileForm form(pathFromUi(QDir::currentPath()));
  return form.choose(choice);
}

}  // namespace tarnel

#include "mainwindow/qt_prompts.h"

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

}  // namespace tarnel

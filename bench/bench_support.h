// What the benchmarks share: the one application object, prompts that answer
// quietly, and the 800-unit game most of them measure on.
#pragma once

#include <QApplication>
#include <string>

#include "game_sample.h"
#include "model/prompts.h"

namespace tarnel::bench {

// The offscreen application every window benchmark runs in, made by the
// first that asks. Never destroyed: Qt's own globals are gone by the time
// static objects would be.
QApplication& application();

// Counts messages instead of showing them; every game-file chooser is
// answered with `file` (refused while it is empty), every other dialog is
// cancelled.
class QuietPrompts : public Prompts {
 public:
  explicit QuietPrompts(std::string gameFile = {}) : file(std::move(gameFile)) {}
  std::string file;
  int messages = 0;
  void message(const std::string&, const std::string&, MessageIcon) override { ++messages; }
  void errorReport(const std::string&) override { ++messages; }
  bool openDialog(FileDialogState&) override { return false; }
  bool saveDialog(FileDialogState&) override { return false; }
  bool chooseGameFile(GameFileChoice& c) override {
    c.fileName = file;
    return !file.empty();
  }
};

// A VN3 game of 400 units a side.
samplegen::SampleOptions fullGame();

}  // namespace tarnel::bench

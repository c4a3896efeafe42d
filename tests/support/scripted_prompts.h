#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/prompts.h"

namespace tarnel::testing {

struct Shown {
  std::string text;
  std::string title;
};

// A Prompts that records every message and answers dialogs from queues: an
// empty queue (or a queued nullopt) answers Cancel.
class ScriptedPrompts : public Prompts {
 public:
  std::vector<Shown> messages;
  std::vector<std::string> errors;  // the standard error box
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<std::string>> chooserAnswers;
  // Answers to "save the changes?"; an empty queue answers Cancel.
  std::deque<SaveChoice> saveChoices;
  std::vector<Shown> questions;
  // Answers to warnAndAsk, recorded in questions as warning and question;
  // an empty queue answers No.
  std::deque<bool> yesNoAnswers;
  std::vector<FileDialogState> openSeen;
  std::vector<FileDialogState> saveSeen;
  std::vector<GameFileChoice> chooserSeen;
  int busyDepth = 0;
  int busyCalls = 0;

  void message(const std::string& text, const std::string& title, MessageIcon) override {
    messages.push_back({text, title});
  }
  void errorReport(const std::string& text) override { errors.push_back(text); }
  bool openDialog(FileDialogState& d) override { return answer(openAnswers, openSeen, d, d.fileName); }
  bool saveDialog(FileDialogState& d) override { return answer(saveAnswers, saveSeen, d, d.fileName); }
  bool chooseGameFile(GameFileChoice& c) override {
    return answer(chooserAnswers, chooserSeen, c, c.fileName);
  }
  SaveChoice askSaveChanges(const std::string& text, const std::string& title) override {
    questions.push_back({text, title});
    if (saveChoices.empty()) return SaveChoice::Cancel;
    const SaveChoice c = saveChoices.front();
    saveChoices.pop_front();
    return c;
  }
  bool warnAndAsk(const std::string& warning, const std::string& question, const std::string& title) override {
    questions.push_back({warning + " " + question, title});
    if (yesNoAnswers.empty()) return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
  }
  void setBusy(bool busy) override {
    busyDepth += busy ? 1 : -1;
    if (busy) ++busyCalls;
  }

  std::string lastText() const { return messages.empty() ? std::string() : messages.back().text; }
  std::string lastTitle() const { return messages.empty() ? std::string() : messages.back().title; }

 private:
  template <typename T>
  static bool answer(std::deque<std::optional<std::string>>& q, std::vector<T>& seen, T& d,
                     std::string& out) {
    seen.push_back(d);
    if (q.empty()) return false;
    auto a = q.front();
    q.pop_front();
    if (!a) return false;
    out = *a;
    return true;
  }
};

}  // namespace tarnel::testing

#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "prompts.h"

namespace orvik_test {

struct Shown {
  std::string text;
  std::string title;
};

// Records every message and answers dialogs from queues; an empty queue (or
// a queued nullopt) answers Cancel.
class ScriptedPrompts : public orvik::Prompts {
 public:
  std::vector<Shown> messages;
  std::vector<std::string> errors;
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<orvik::FileDialogState> openSeen;
  std::vector<orvik::FileDialogState> saveSeen;

  void message(const std::string& text, const std::string& title) override { messages.push_back({text, title}); }
  void errorReport(const std::string& text) override { errors.push_back(text); }
  bool openDialog(orvik::FileDialogState& d) override { return answer(openAnswers, openSeen, d); }
  bool saveDialog(orvik::FileDialogState& d) override { return answer(saveAnswers, saveSeen, d); }

 private:
  static bool answer(std::deque<std::optional<std::string>>& answers, std::vector<orvik::FileDialogState>& seen,
                     orvik::FileDialogState& d) {
    seen.push_back(d);
    if (answers.empty()) return false;
    const auto a = answers.front();
    answers.pop_front();
    if (!a) return false;
    d.fileName = *a;
    return true;
  }
};

}  // namespace orvik_test

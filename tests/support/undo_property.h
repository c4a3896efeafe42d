// The history's property, shared by a test and a fuzz target: commands
// chosen by a byte string run on a small sample game with undo and redo in
// between; after each, the document is the one the history says it is at.
// Undoing all gives the game as loaded, redoing all the state after the last
// command.
#pragma once

#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "editors/ammo_editor.h"
#include "editors/game_data_editor.h"
#include "editors/position_editor.h"
#include "gamefiles/dump_files.h"
#include "game_sample.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/qt_history.h"
#include "mainwindow/rating_rolls.h"
#include "mainwindow/unit_grid.h"
#include "model/undo.h"
#include "sidefiles/csv_units.h"

namespace tarnel::testing {

// The document as far as undo restores it.
struct UndoState {
  GameDocument document;
  std::vector<std::string> cells;
  BesideImage beside;

  explicit UndoState(const Session& s) : document(s.model.document()), cells(s.grid.cells()), beside(besideImage(s)) {}
  bool operator==(const UndoState&) const = default;
};

// Answers the open dialog with one file; says nothing.
class QuietPrompts : public Prompts {
 public:
  std::string openAnswer;
  int errors = 0;
  void message(const std::string&, const std::string&, MessageIcon) override {}
  void errorReport(const std::string&) override { ++errors; }
  bool openDialog(FileDialogState& d) override {
    d.fileName = openAnswer;
    return true;
  }
  bool saveDialog(FileDialogState&) override { return false; }
  bool chooseGameFile(GameFileChoice&) override { return false; }
};

// Bytes taken one by one; 0 once they run out.
class ByteFeed {
 public:
  explicit ByteFeed(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool done() const { return at_ >= bytes_.size(); }
  int next() { return done() ? 0 : bytes_[at_++]; }
  int below(int n) { return next() % n; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

// A text for a field or cell: a number of any size, now and then one that
// does not convert, which stops the command where it stands.
inline std::string someText(ByteFeed& in) {
  switch (in.below(8)) {
    case 0: return "x" + std::to_string(in.next());
    case 1: return std::to_string(in.next() * 300 - 20000);
    default: return std::to_string(in.next());
  }
}

// Runs the property over `bytes`; returns a description of the first
// violation, or an empty text. `csvPath` is a scratch file for the pastes
// and dumps.
inline std::string checkUndoProperty(std::span<const std::uint8_t> bytes, const std::string& csvPath) {
  ByteFeed in(bytes);
  QuietPrompts prompts;
  prompts.openAnswer = csvPath;
  Session s(prompts);
  s.clock = [] { return 7u; };

  samplegen::SampleOptions options;
  options.kind = in.below(2) ? GameFileKind::Vn3 : GameFileKind::V11;
  options.unitsPerSide = 2 + in.below(10);
  options.seed = static_cast<std::uint32_t>(in.next());
  static_cast<GameDocument&>(s.model) = samplegen::makeGameModel(options);
  s.model.loaded = options.kind;
  s.model.selectLayout(options.kind);
  resetGrid(s);
  afterLoad(s);

  GameHistory history(s);
  QUndoStack& stack = *history.stack();
  // states[k]: the document after the first k steps on the stack.
  std::vector<UndoState> states{UndoState(s)};
  const int n = s.model.unitCount;

  auto truncate = [&](int count) { states.erase(states.begin() + std::min<std::ptrdiff_t>(count, std::ssize(states)), states.end()); };
  auto command = [&](const char* label, const std::function<void()>& run) {
    const int before = stack.index();
    runCommand(s, label, run);
    const int after = stack.index();
    UndoState now(s);
    if (after == before + 1) {
      truncate(before + 1);
      states.push_back(std::move(now));
    } else if (after == before - 1) {
      // An edit typed back to what the cell held: the merged step went.
      truncate(before);
      if (!(now == states.back())) return std::string(label) + ": a step that netted out left a change";
    } else if (after == before) {
      if (!(now == states[static_cast<std::size_t>(before)])) {
        if (before == 0) return std::string(label) + ": a change without a step";
        states[static_cast<std::size_t>(before)] = std::move(now);  // merged into the last step
        truncate(stack.count() + 1);
      }
    } else {
      return std::string(label) + ": the history moved by more than one step";
    }
    if (states.size() != static_cast<std::size_t>(stack.count()) + 1) return std::string(label) + ": steps lost";
    return std::string();
  };
  auto atIndex = [&](const char* what) {
    if (UndoState(s) == states[static_cast<std::size_t>(stack.index())]) return std::string();
    return std::string(what) + " to step " + std::to_string(stack.index()) + " gave another document";
  };

  std::string fault;
  for (int op = 0; fault.empty() && !in.done() && op < 200; ++op) {
    const int row = 1 + in.below(std::max(n, 1));
    switch (in.below(12)) {
      case 0:
      case 1: {
        const int col = in.below(2) ? indexOf(kRatingColumns[static_cast<std::size_t>(in.below(6))].column) : in.below(kGridColumns);
        const std::string text = in.below(4) ? std::to_string(in.below(3) * 10 + 50) : someText(in);
        fault = command("Edit Cell", [&] { s.grid.setCell(col, row, text); });
        break;
      }
      case 2: {
        const auto r = static_cast<RollRow>(in.below(kRollRowCount));
        RollFields f = initialRollFields(r);
        if (in.below(6) == 0) f.base = someText(in);
        const int side = in.below(2);
        fault = command(rollButtonCaption(r), [&] { rollRating(s, r, f, side); });
        break;
      }
      case 3: {
        const int side = in.below(2);
        fault = command(kRollAllCaption, [&] {
          for (RollRow r : kRollRows) rollRating(s, r, initialRollFields(r), side);
        });
        break;
      }
      case 4: {
        GameDataEditor editor(s);
        editor.fill();
        for (int k = in.below(4); k > 0; --k) editor.texts.numbers[static_cast<std::size_t>(in.below(kGameDataFieldCount))] = someText(in);
        if (in.below(3) == 0) editor.texts.description = "Held " + std::to_string(in.next());
        fault = command("Retain Game Data", [&] { editor.retain(); });
        break;
      }
      case 5: {
        PositionEditor editor(s);
        editor.activate();
        for (int k = 1 + in.below(3); k > 0; --k) editor.grid.setCell(kPosX + in.below(3), 1 + in.below(std::max(n, 1)), someText(in));
        fault = command("Retain Position", [&] { editor.retain(); });
        break;
      }
      case 6: {
        UnitDataEditor editor(s);
        selectCell(s, 0, row);
        editor.fill();
        editor.texts.numbers[static_cast<std::size_t>(in.below(kUnitFieldCount))] = someText(in);
        if (in.below(2)) editor.texts.name = "Unit " + std::to_string(in.next());
        if (in.below(4) == 0) editor.texts.leaders = "Ann/Bo" + std::to_string(in.next());
        fault = command("Retain Unit Data", [&] { editor.retain(); });
        break;
      }
      case 7: {
        std::string csv = csvUnitText(s.model);
        for (int k = 1 + in.below(4); k > 0; --k) {
          const std::size_t at = static_cast<std::size_t>(in.next() * 97 + in.next()) % csv.size();
          if (csv[at] >= '0' && csv[at] <= '9') csv[at] = static_cast<char>('0' + in.below(10));
        }
        std::ofstream(csvPath, std::ios::binary) << csv;
        fault = command("Paste CSV Unit File", [&] { pasteCsvUnitFile(s); });
        break;
      }
      case 10: {
        // A dump of the image's first part, a unit name cut off or put back:
        // the grid's row count changes with the unit count.
        std::vector<std::uint8_t> dump(s.model.image().begin(), s.model.image().begin() + s.model.unitOffset(n + 1));
        const std::int64_t name = s.model.unitOffset(in.below(n + 1));
        dump[static_cast<std::size_t>(name)] = static_cast<std::uint8_t>(in.below(2) ? 0 : 'M');
        std::ofstream(csvPath, std::ios::binary).write(reinterpret_cast<const char*>(dump.data()), std::ssize(dump));
        DumpWindow window(s);
        fault = command("Load Dump", [&] { loadDumpFile(s, window); });
        break;
      }
      case 8:
        stack.undo();
        fault = atIndex("Undo");
        break;
      case 9:
        stack.redo();
        fault = atIndex("Redo");
        break;
      default:
        stack.setIndex(in.below(stack.count() + 1));
        fault = atIndex("A jump");
        break;
    }
  }
  if (!fault.empty()) return fault;
  stack.setIndex(0);
  if (!(UndoState(s) == states.front())) return "undoing all did not give the game as loaded";
  stack.setIndex(stack.count());
  if (!(UndoState(s) == states.back())) return "redoing all did not give the state after the last command";
  return std::string();
}

}  // namespace tarnel::testing

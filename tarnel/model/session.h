#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/dice.h"
#include "model/game_model.h"
#include "model/prompts.h"
#include "model/side_tables.h"
#include "model/unit_grid_table.h"

namespace tarnel {

// What the commands ask of the windows around them. The default does
// nothing, which is what the command-line tools and core tests want.
class SessionView {
 public:
  virtual ~SessionView() = default;
  virtual void dismissTitlePicture() {}
  virtual void closeUnitEditor() {}
  virtual void setCommentMemo(const std::string& /*text*/) {}
  virtual void closeMainWindow() {}
  virtual void sideItemsChanged() {}
  virtual void fileLabelChanged() {}
  virtual void unitSelected() {}
  virtual void modifiedChanged() {}
  // An undo or redo put the document back: the grid and the open windows
  // show it anew, the selection goes to `unit` (-1: stays where it is).
  virtual void documentRestored(int /*unit*/) {}
  // Stores what is being typed into a grid cell, through runCommand, so that
  // it is a step of its own before the command that follows.
  virtual void commitCellEditor() {}
  // A command that shows nothing else tells what it did in one line (the
  // main window's status bar).
  virtual void statusReport(const std::string& /*line*/) {}
};

// What the game-file loads and saves tell the file handling around them
// (backups, recent files, the save target). Without one, as in the
// command-line tools, no backup is made and nothing is remembered.
class GameFileEvents {
 public:
  virtual ~GameFileEvents() = default;
  // A save is about to replace `path`: false stops it before anything is
  // written, the reason already shown.
  virtual bool beforeReplace(const std::string& /*path*/) { return true; }
  virtual void gameLoaded(const std::string& /*path*/, GameFileKind /*kind*/) {}
  virtual void gameSaved(const std::string& /*path*/, GameFileKind /*kind*/) {}
};

class UndoRecorder;

// The open document: the game model and the state kept beside it (the unit
// grid as a text table, the dice, the side-file tables, the main window's
// shared dialogs). The commands working on it are free functions in the
// folder of their subsystem.
class Session {
 public:
  explicit Session(Prompts& prompts);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Prompts& prompts;
  SessionView* view;

  GameModel model;
  UnitGridTable grid;
  DiceSource dice;
  std::function<std::uint32_t()> clock = millisecondsOfDay;
  MobTables mob;
  CountryTable countries;
  // 'I', 'A' or 'T' per unit row, computed after each load.
  std::array<char, kUnitCapacity> PrimarySkillClass{};

  std::string fileLabel = "File";
  std::array<std::string, 2> sideItems{"Side 0", "Side 1"};  // Windows-1252

  // The main window's shared dialogs. The save dialog asks before it
  // replaces a file, whichever command runs it.
  FileDialogState OpenDialog1;
  FileDialogState SaveDialog1;
  // The CSV unit file last saved or read for a paste; the paste proposes it.
  std::string lastCsvFile;

  // Set when a load found a password-protected file; the program then ends.
  bool passwordRefused = false;

  // Edits not yet saved: grid typing, rolls, stores of the editors, pastes
  // and dump loads set it; a load or a save clears it. Before any game was
  // brought in there is nothing to save, so nothing counts as an edit then.
  // With a recorder it follows the history's clean point.
  bool modified() const { return modified_; }
  void setModified(bool modified);
  void markModified() {
    if (holdsGame()) setModified(true);
  }
  // A game is loaded, or a load cut short (or a dump) brought units in.
  bool holdsGame() const { return model.loaded != GameFileKind::None || model.unitCount > 0; }

  // The history of the commands run through runCommand; none by default
  // (the command-line tools keep none).
  UndoRecorder* recorder = nullptr;
  // A load replaced the document: the history is emptied.
  void documentLoaded();
  // A save wrote it: the history's clean point moves here.
  void documentSaved();

  void setView(SessionView* v) { view = v ? v : &nullView_; }
  // The file handling the loads and saves report to (none: null).
  GameFileEvents* fileEvents = nullptr;
  // The program, data and MOB directories all start at the program's own.
  void setProgramDir(const std::string& dir);

 private:
  SessionView nullView_;
  bool modified_ = false;

  // State of the command that runCommand is running.
  friend void runCommand(Session&, const std::string&, const std::function<void()>&);
  friend void restoreStep(Session&, const class UndoStep&, bool);
  friend void commitCellEditor(Session&);
  bool inCommand_ = false;
  bool committingEditor_ = false;
  bool loadedInCommand_ = false;
  bool savedInCommand_ = false;
  // The image as the last command left it, while a recorder is attached.
  std::vector<std::uint8_t> undoShadow_;
};

// Reset before every load: closes the unit data editor (unless the load is
// the command-line one), sets the position editor's redraw-needed flag,
// seeds the dice from the clock, empties the side names and writes the grid's
// headings.
void resetGrid(Session& session);

}  // namespace tarnel

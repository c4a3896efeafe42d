#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "mainwindow/dice.h"
#include "mainwindow/text_table.h"
#include "model/game_model.h"
#include "model/prompts.h"
#include "sidefiles/mob_files.h"

namespace tarnel {

inline constexpr int kGridColumns = 10;
enum GridColumn {
  kColSide = 0,
  kColUnit = 1,
  kColName = 2,
  kColLeader = 3,
  kColExp = 4,
  kColMor = 5,
  kColRal = 6,
  kColInf = 7,
  kColArt = 8,
  kColArm = 9
};

// What the core commands ask of the windows around them. The default does
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
};

// Everything of Tarnel but its widgets: the game model, the unit grid as a
// text table, the dice, the MOB tables, the shared dialogs, and the commands
// of the main window that work on them.
class Session {
 public:
  explicit Session(Prompts& prompts);

  Prompts& prompts;
  SessionView* view;

  GameModel model;
  TextTable grid{kGridColumns, 5, 32};
  DiceSource dice;
  std::function<std::uint32_t()> clock = millisecondsOfDay;
  MobTables mob;
  // 'I', 'A' or 'T' per unit row, computed after each load.
  std::array<char, kUnitCapacity> primarySkillClass{};

  std::string fileLabel = "File";
  std::array<std::string, 2> sideItems{"Side 0", "Side 1"};  // Windows-1252

  // The main window's shared dialogs.
  FileDialogState openDialog1;
  FileDialogState saveDialog1;

  // Set when a load found a password-protected file; the program then ends.
  bool passwordRefused = false;

  void setView(SessionView* v) { view = v ? v : &nullView_; }
  void setProgramDir(const std::string& dir);

  // Game-file commands.
  void loadV10();
  void saveV10();
  void loadV11();
  void saveV11();
  void loadVn3();
  void saveVn3();
  // The start-up load of a version 1.1 or VN3 file named on the command line;
  // other files are ignored. Returns whether a load ran.
  bool startupLoad(const std::string& path);

  // Unit grid.
  void resetGrid();
  void fillGrid();
  void classifyUnits();
  void selectCell(int col, int row);
  // Columns 4 to 9 back into the model; throws ConversionError on a bad cell.
  void readGridBackUnits();
  void readGridBackLeaders();

 private:
  SessionView nullView_;

  void loadSectioned(GameFileKind kind, const std::string* commandLinePath);
  void saveSectioned(GameFileKind kind);
  bool askSaveName(const char* title);
  void setLoadedFile(const std::string& path, const char* labelPrefix);
  bool readComment(const std::string& gamePath);
  void afterLoad();
};

// The comment file beside a game file: the last "." and the three characters
// after it replaced by ".cmt"; a path without "." gets ".cmt" appended.
std::string commentFileName(const std::string& gamePath);

// The magic test: the first line of at most 29 characters, up to its first
// NUL, equals the magic.
bool hasMagic(std::span<const std::uint8_t> bytes, std::string_view magic);

// The leader text of the grid: name bytes 0..14, bytes below 32 or above 123
// read as 0, the first 0 shown as "/", ending at the next 0.
std::string leaderText(const GameModel& model, int leader);

}  // namespace tarnel

#pragma once

#include <QLabel>
#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/json_commands.h"
#include "mainwindow/rating_rolls.h"
#include "mainwindow/unit_find.h"
#include "model/session.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tarnel {

class FileCommands;
class GameHistory;
class HelpViewer;
class RollPanel;
class TCompareForm;
class TScriptForm;
class TSpreadForm;
class TitlePicture;
class UnitFindBar;
class TextTableModel;
class TextTableView;

// The windows the main window shows from its Tools menu and buttons. Each
// joins when it exists; until then its menu item is left out.
enum class ToolWindow { UnitData, GameData, Position, BattleSummary, Dump, CountryStats, Comment };
inline constexpr std::size_t kToolWindowCount = 7;

// Tarnel's main window "Varno Editor": the menu, the roll panel, the side
// selector, the find bar and the unit grid. It wires its parts to the
// commands on the open document, which the application owns.
class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  TForm1(Session& session, GameHistory& history, QWidget* parent = nullptr);
  ~TForm1() override;

  Session& session() { return session_; }
  GameHistory* history() const { return &history_; }

  // Menu.
  QMenuBar* MainMenu1;
  QMenu* Files1;
  QAction* LoadScenarioFile1;
  QAction* SaveScenarioFile1;
  QAction* LoadVer11Save1;
  QAction* SaveVer11Save1;
  QAction* LoadVN3Save1;
  QAction* SaveVN3SaveScn1;
  QAction* LoadCommentFile1;
  QAction* SaveCommentFile1;
  QAction* LocateMOBFiles1;
  QAction* LoadCSVUnitFile1;
  QAction* SaveCSVUnitFile1;
  QAction* ExitTarnel1;
  QAction* ExportJSONFile1;
  QAction* ImportJSONFile1;
  QMenu* Edit1;
  QAction* Undo1;  // made by the history
  QAction* Redo1;
  QAction* Find1;
  QMenu* Tools1;
  QAction* Ammo1;
  QAction* EditGameData1;
  QAction* Position1;
  QAction* LoadCountryData1;
  QAction* SelectCountryData1;
  QAction* EditCommentFile1;
  QAction* ViewBattleSummary1;
  QAction* DumpFile1;
  QAction* CompareWithFile1;
  QAction* RunScript1;  // opens "Script"
  QMenu* Help2;
  QAction* About1;
  QAction* Help1;

  // Controls.
  TextTableView* InfoStringGrid;
  QLabel* FileLbl;
  TitlePicture* OpenImage;
  QPushButton* AmmoBtn;            // "Unit Data", in the roll panel's left column
  RollPanel* Rolls;                // the side selector and the roll rows
  UnitFindBar* FindBar;            // under the roll panel, hidden until Find
  // The roll panel's side selector and buttons.
  QGroupBox* SideRG;
  std::array<QRadioButton*, 2> SideRGItems;
  QPushButton* RollAllBtn;
  QPushButton* SpreadBtn;
  QCheckBox* SelectedOnlyCB;

  // The side the rolls apply to: SideRG's selected item.
  int sideIndex() const;
  // The grid rows inside the grid's selection, by grid row.
  ChosenRows chosenRows() const;
  // Whether the last search found nothing (the find edit is red).
  bool findFailed() const;

  // The creation handler: the directories start at programDir, and a version
  // 1.1 or VN3 file named by the first command-line argument is loaded.
  void FormCreate(const std::string& programDir, const std::vector<std::string>& args);

  // Handlers. Each may throw; the menu items and buttons run them through
  // runHandler, which shows an escaping error in the standard error box.
  void FormActivate();
  void FormClick();
  void OpenImageClick();
  void LoadScenarioFile1Click();
  void SaveScenarioFile1Click();
  void LoadVer11Save1Click();
  void SaveVer11Save1Click();
  void LoadVN3Save1Click();
  void SaveVN3SaveScn1Click();
  void LoadCommentFile1Click();
  void SaveCommentFile1Click();
  void EditCommentFile1Click();
  void LocateMOBFiles1Click();
  void LoadCSVUnitFile1Click();
  void SaveCSVUnitFile1Click();
  void ExitTarnel1Click();
  void AmmoBtnClick();
  void EditGameData1Click();
  void Position1Click();
  void LoadCountryData1Click();
  void SelectCountryData1Click();
  void ViewBattleSummary1Click();
  void DumpFile1Click();
  void ExportJSONFile1Click();
  void ImportJSONFile1Click();
  void CompareWithFile1Click();
  void RunScript1Click();
  void About1Click();
  void Help1Click();
  void ExpBtnClick();
  void MorBtnClick();
  void RalBtnClick();
  void Sk1RollBtnClick();
  void Sk2RollBtnClick();
  void RollAllBtnClick();
  void SpreadBtnClick();
  void Find1Click();
  void FindNextBtnClick();
  void FindPrevBtnClick();
  void InfoStringGridSelectCell(int col, int row);

  // Runs a handler as a command (runCommand): with a label its change to
  // the game is one step of the history.
  void runHandler(void (TForm1::*handler)(), const char* label = "");
  void runHandler(const std::function<void()>& handler, const char* label = "");

  // "Open...", "Save", "Save As...", "Recent Files", drops and the status line.
  FileCommands* fileCommands() const { return files_; }

  // A secondary window joins the main window: its menu item (and for the
  // unit data editor the "Unit Data" button) appears and shows it.
  void attachWindow(ToolWindow which, QWidget* window);
  QWidget* attachedWindow(ToolWindow which) const;

  // Makes unit `unit` the grid's current row (its name cell), as a click on
  // it does, and shows the grid if the title picture still covers it.
  void selectUnit(int unit);
  // The window "Compare With File" fills, once it has been opened.
  TCompareForm* compareForm() const { return compareForm_; }
  // The window "Run Script" opens, once it has been opened.
  TScriptForm* scriptForm() const { return scriptForm_; }

  // Title picture state.
  bool titleShown() const;
  const QPixmap& titlePixmap() const;
  void dismissTitlePicture();

  // An undo or redo put the document back: the grid selects the row of
  // `unit` (-1: the selected row) without opening a cell editor.
  void showRestoredUnit(int unit);

  // The help viewer, once Help has opened it.
  HelpViewer* helpViewer() const { return helpViewer_; }
  // "Rating Spread", once Spread has opened it.
  TSpreadForm* spreadForm() const { return spreadForm_; }
  std::string helpFile() const;

 signals:
  void mainWindowClosed();

 protected:
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildRollPanel(QWidget* parent);
  void buildGrid(QWidget* parent);
  void buildMenu();
  void buildFilesMenu();
  void buildToolsMenu();
  void wireFindBar();
  void findUnit(FindDirection direction);
  const ChosenRows* rollScope(ChosenRows& rows) const;
  void roll(RollRow row);
  void showToolWindow(ToolWindow which);
  static void raiseWindow(QWidget* window);
  // A window of the main window's own placed beside it, its units chosen in the grid.
  template <class Window>
  Window* besideMainWindow(Window* window);
  QAction* action(QMenu* menu, const char* caption, void (TForm1::*handler)(), const char* label = "");

  Session& session_;
  GameHistory& history_;
  TextTableModel* gridModel_;
  bool firstActivation_ = true;
  std::array<QWidget*, kToolWindowCount> toolWindows_{};
  HelpViewer* helpViewer_ = nullptr;
  // The JSON and comparison commands' own dialogs.
  JsonDialogs jsonDialogs_;
  FileDialogState compareDialog_;
  TCompareForm* compareForm_ = nullptr;
  TScriptForm* scriptForm_ = nullptr;
  FileCommands* files_ = nullptr;
  TSpreadForm* spreadForm_ = nullptr;
};

}  // namespace tarnel

#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/json_commands.h"
#include "mainwindow/rating_rolls.h"
#include "mainwindow/unit_find.h"
#include "model/session.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tarnel {

class GameHistory;
class HelpViewer;
class TCompareForm;
class TSpreadForm;
class UnitGridModel;
class UnitGridView;

// The title picture over the grid; a click on it dismisses it.
class TitlePicture : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// The windows the main window shows from its Tools menu and buttons. Each
// joins when it exists; until then its menu item is left out.
enum class ToolWindow { UnitData, GameData, Position, BattleSummary, Dump, CountryStats, Comment };
inline constexpr std::size_t kToolWindowCount = 7;

// Tarnel's main window "Varno Editor": the menu, the rating-roll panel, the
// side selector and the unit grid. It forwards every command to the Session
// and shows what comes back.
class TForm1 : public QMainWindow, private SessionView {
  Q_OBJECT
 public:
  // Creates the window and runs FormCreate: the directories start at
  // programDir, and a version 1.1 or VN3 file named by the first
  // command-line argument is loaded.
  TForm1(Prompts& prompts, const std::string& programDir, const std::vector<std::string>& args,
         QWidget* parent = nullptr);
  ~TForm1() override;

  Session& session() { return session_; }

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
  QAction* Undo1;
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
  QMenu* Help2;
  QAction* About1;
  QAction* Help1;

  // Controls.
  UnitGridView* InfoStringGrid;
  QGroupBox* SideRG;
  std::array<QRadioButton*, 2> SideRGItems;
  QLabel* FileLbl;
  TitlePicture* OpenImage;
  QPushButton* AmmoBtn;
  QPushButton* RollAllBtn;
  QPushButton* SpreadBtn;          // opens "Rating Spread"
  QCheckBox* SelectedOnlyCB;       // "Selected units only": rolls keep to the grid's selection

  // The find bar under the roll panel, hidden until Find.
  QWidget* FindBar;
  QLineEdit* FindEdit;
  QPushButton* FindNextBtn;
  QPushButton* FindPrevBtn;

  // Roll panel: Base + d x s - d1 x s1, Min, Max and the button of each row.
  QLineEdit *ExpMEdit, *ExpPDEdit, *ExpPSEdit, *ExpMDEdit, *ExpMSEdit, *ExpMinEdit, *ExpMaxEdit;
  QLineEdit *MorMEdit, *MorPDEdit, *MorPSEdit, *MorMDEdit, *MorMSEdit, *MorMinEdit, *MorMaxEdit;
  QLineEdit *RalMEdit, *RalPDEdit, *RalPSEdit, *RalMDEdit, *RalMSEdit, *RalMinEdit, *RalMaxEdit;
  QLineEdit *Sk1MEdit, *Sk1PDEdit, *Sk1PSEdit, *Sk1MDEdit, *Sk1MSEdit, *Sk1MinEdit, *Sk1MaxEdit;
  QLineEdit *Sk2MEdit, *Sk2PDEdit, *Sk2PSEdit, *Sk2MDEdit, *Sk2MSEdit, *Sk2MinEdit, *Sk2MaxEdit;
  QPushButton *ExpRollBtn, *MorRollBtn, *RalRollBtn, *Sk1RollBtn, *Sk2RollBtn;

  // The seven fields of a roll row, Base first; the country stats window
  // writes them too.
  std::array<QLineEdit*, 7> rollEdits(RollRow row) const;
  RollFields rollFields(RollRow row) const;
  // The side the rolls apply to: SideRG's selected item.
  int sideIndex() const;
  // The grid rows inside the grid's selection, by grid row.
  ChosenRows chosenRows() const;
  // Whether the last search found nothing (the find edit is red).
  bool findFailed() const { return findFailed_; }

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

  GameHistory* history() const { return history_; }

  // A secondary window joins the main window: its menu item (and for the
  // unit data editor the "Unit Data" button) appears and shows it.
  void attachWindow(ToolWindow which, QWidget* window);
  QWidget* attachedWindow(ToolWindow which) const;

  // Makes unit `unit` the grid's current row (its name cell), as a click on
  // it does, and shows the grid if the title picture still covers it.
  void selectUnit(int unit);
  // The window "Compare With File" fills, once it has been opened.
  TCompareForm* compareForm() const { return compareForm_; }

  // Title picture state.
  bool titleShown() const;
  const QPixmap& titlePixmap() const { return titlePixmap_; }

  // The help viewer, once Help has opened it.
  HelpViewer* helpViewer() const { return helpViewer_; }
  // "Rating Spread", once Spread has opened it.
  TSpreadForm* spreadForm() const { return spreadForm_; }
  std::string helpFile() const;

 signals:
  // A grid cell was selected; the unit data editor follows it while visible.
  void selectedUnitChanged();
  // A version 1.0 load read (or did not find) a comment file.
  void commentMemoSet(const QString& text);
  void mainWindowClosed();
  // An undo or redo changed the game: open windows refresh as on activation.
  void gameRestored();

 protected:
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // An open grid cell editor with nothing of its own to undo (or redo).
  bool gridEditorIdle(QObject* widget, bool redo) const;

 private:
  // SessionView: what the core asks of the window.
  void dismissTitlePicture() override;
  void closeUnitEditor() override;
  void setCommentMemo(const std::string& text) override;
  void closeMainWindow() override;
  void sideItemsChanged() override;
  void fileLabelChanged() override;
  void unitSelected() override;
  void modifiedChanged() override;
  void documentRestored(int unit) override;

  void buildMenu();
  QWidget* buildRollPanel();
  QWidget* buildFindBar();
  void findUnit(FindDirection direction);
  void setFindFailed(bool failed);
  const ChosenRows* rollScope(ChosenRows& rows) const;
  void FormCreate(const std::string& programDir, const std::vector<std::string>& args);
  void roll(RollRow row);
  void showToolWindow(ToolWindow which);
  QAction* action(QMenu* menu, const char* caption, void (TForm1::*handler)(), const char* label = "");
  void buildEditMenu();

  Session session_;
  UnitGridModel* gridModel_;
  bool firstActivation_ = true;
  QPixmap titlePixmap_;
  std::array<QWidget*, kToolWindowCount> toolWindows_{};
  HelpViewer* helpViewer_ = nullptr;
  // The JSON and comparison commands' own dialogs.
  JsonDialogs jsonDialogs_;
  FileDialogState compareDialog_;
  TCompareForm* compareForm_ = nullptr;
  GameHistory* history_ = nullptr;
  TSpreadForm* spreadForm_ = nullptr;
  bool findFailed_ = false;
};

}  // namespace tarnel

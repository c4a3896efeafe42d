#include "mainwindow/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QBoxLayout>
#include <algorithm>

#include "common/ui/qt_screen_fit.h"
#include "mainwindow/about.h"
#include "mainwindow/compare_form.h"
#include "mainwindow/json_commands.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/qt_file_commands.h"
#include "mainwindow/qt_find_bar.h"
#include "mainwindow/qt_help_viewer.h"
#include "mainwindow/qt_history.h"
#include "mainwindow/qt_prompts.h"
#include "mainwindow/qt_roll_panel.h"
#include "mainwindow/qt_settings.h"
#include "mainwindow/qt_title_picture.h"
#include "mainwindow/script_form.h"
#include "mainwindow/spread_form.h"
#include "mainwindow/unit_grid.h"
#include "sidefiles/comment_files.h"
#include "sidefiles/comment_form.h"
#include "sidefiles/country_data.h"
#include "sidefiles/csv_units.h"
#include "sidefiles/mob_files.h"
#include "model/undo.h"
#include "ui/qt_text_table.h"

namespace tarnel {

namespace {
// Each roll row's handler, from Exp to Sk2.
constexpr std::array<void (TForm1::*)(), kRollRowCount> kRollHandlers = {
    &TForm1::ExpBtnClick, &TForm1::MorBtnClick, &TForm1::RalBtnClick, &TForm1::Sk1RollBtnClick,
    &TForm1::Sk2RollBtnClick};
}  // namespace

TForm1::TForm1(Session& session, GameHistory& history, QWidget* parent)
    : QMainWindow(parent), session_(session), history_(history) {
  setObjectName(QStringLiteral("Form1"));
  // "[*]" shows as "*" while the game has unsaved changes.
  setWindowTitle(QString::fromLatin1(kMainWindowCaption) + QStringLiteral("[*]"));
  files_ = new FileCommands(*this, session_);

  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* outer = new QVBoxLayout(central);
  // Upper part: the side selector with the buttons under it, the roll rows beside them.
  auto* top = new QHBoxLayout;
  top->addWidget(buildRollPanel(central));
  top->addStretch();
  outer->addLayout(top);
  FindBar = new UnitFindBar(session_.grid, central);
  outer->addWidget(FindBar);
  FileLbl = new QLabel(QStringLiteral("File"), central);
  FileLbl->setObjectName(QStringLiteral("FileLbl"));
  outer->addWidget(FileLbl);
  buildGrid(central);
  outer->addWidget(InfoStringGrid, 1);
  OpenImage = new TitlePicture(central);
  connect(OpenImage, &TitlePicture::clicked, this, [this] { runHandler(&TForm1::OpenImageClick); });

  wireFindBar();
  buildMenu();
  resize(700, 740);
  history_.passIdleEditorKeys(InfoStringGrid);
}

TForm1::~TForm1() {
  // The grid's model watches the session's table: it goes before the window.
  delete InfoStringGrid;
  delete gridModel_;
}

QWidget* TForm1::buildRollPanel(QWidget* parent) {
  Rolls = new RollPanel(parent);
  SideRG = Rolls->SideRG;
  SideRGItems = Rolls->SideRGItems;
  RollAllBtn = Rolls->RollAllBtn;
  SpreadBtn = Rolls->SpreadBtn;
  SelectedOnlyCB = Rolls->SelectedOnlyCB;
  connect(Rolls, &RollPanel::rollRequested, this,
          [this](RollRow row) { runHandler(kRollHandlers[static_cast<std::size_t>(row)], rollButtonCaption(row)); });
  connect(Rolls, &RollPanel::rollAllRequested, this, [this] { runHandler(&TForm1::RollAllBtnClick, kRollAllCaption); });
  connect(Rolls, &RollPanel::spreadRequested, this, [this] { runHandler(&TForm1::SpreadBtnClick); });
  AmmoBtn = new QPushButton(QStringLiteral("Unit Data"), Rolls);
  AmmoBtn->setObjectName(QStringLiteral("AmmoBtn"));
  AmmoBtn->setEnabled(false);  // until the unit data editor joins
  connect(AmmoBtn, &QPushButton::clicked, this, [this] { runHandler(&TForm1::AmmoBtnClick); });
  Rolls->addUnderSideSelector(AmmoBtn);
  return Rolls;
}

void TForm1::buildGrid(QWidget* parent) {
  gridModel_ = new TextTableModel(session_.grid, this);
  connect(gridModel_, &TextTableModel::cellEdited, this, [this] { session_.markModified(); });
  // A cell typed and committed is one step.
  gridModel_->setEditRunner([this](const std::function<void()>& write) { runCommand(session_, "Edit Cell", write); });
  InfoStringGrid = new TextTableView(parent);
  InfoStringGrid->setObjectName(QStringLiteral("InfoStringGrid"));
  InfoStringGrid->setGridModel(gridModel_);
  // The title picture takes the grid's place while it is hidden.
  QSizePolicy policy = InfoStringGrid->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  InfoStringGrid->setSizePolicy(policy);
  connect(InfoStringGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            runHandler([this, col = current.column(), row = current.row() + 1] { InfoStringGridSelectCell(col, row); });
          });
}

QAction* TForm1::action(QMenu* menu, const char* caption, void (TForm1::*handler)(), const char* label) {
  QAction* a = menu->addAction(QString::fromLatin1(caption));
  connect(a, &QAction::triggered, this, [this, handler, label] { runHandler(handler, label); });
  return a;
}

void TForm1::buildMenu() {
  MainMenu1 = menuBar();
  buildFilesMenu();
  Edit1 = MainMenu1->addMenu(QStringLiteral("Edit"));
  Undo1 = history_.undoAction();
  Redo1 = history_.redoAction();
  Edit1->addActions({Undo1, Redo1});
  Edit1->addSeparator();
  Find1 = action(Edit1, "Find", &TForm1::Find1Click);
  Find1->setShortcut(QKeySequence::Find);
  buildToolsMenu();
  Help2 = MainMenu1->addMenu(QStringLiteral("Help"));
  About1 = action(Help2, "About", &TForm1::About1Click);
  Help1 = action(Help2, "Help", &TForm1::Help1Click);
  // Alt and the first letter open a menu; the captions stay as they are.
  for (QMenu* menu : {Files1, Edit1, Tools1, Help2}) {
    auto* key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(menu->title().at(0).unicode())), this);
    connect(key, &QShortcut::activated, this, [this, menu] {
      if (menu->menuAction()->isVisible()) MainMenu1->setActiveAction(menu->menuAction());
    });
  }
}

void TForm1::buildFilesMenu() {
  Files1 = MainMenu1->addMenu(QStringLiteral("Files"));
  files_->addOpenItem(Files1);
  Files1->addSeparator();
  LoadScenarioFile1 = action(Files1, "Load VN2 V1.0 Scen/Save File", &TForm1::LoadScenarioFile1Click);
  SaveScenarioFile1 = action(Files1, "Save VN2 V1.0 Scen/Save File", &TForm1::SaveScenarioFile1Click);
  Files1->addSeparator();
  LoadVer11Save1 = action(Files1, "Load VN2 V1.1 Scen/Save File", &TForm1::LoadVer11Save1Click);
  SaveVer11Save1 = action(Files1, "Save VN2 V1.1 Scen/Save File", &TForm1::SaveVer11Save1Click);
  Files1->addSeparator();
  LoadVN3Save1 = action(Files1, "Load VN3 Scen/Save File", &TForm1::LoadVN3Save1Click);
  SaveVN3SaveScn1 = action(Files1, "Save VN3 Scen/Save File", &TForm1::SaveVN3SaveScn1Click);
  Files1->addSeparator();
  LoadCommentFile1 = action(Files1, "Load Comment File", &TForm1::LoadCommentFile1Click);
  SaveCommentFile1 = action(Files1, "Save Comment File", &TForm1::SaveCommentFile1Click);
  Files1->addSeparator();
  LocateMOBFiles1 = action(Files1, "Locate MOB Files", &TForm1::LocateMOBFiles1Click);
  Files1->addSeparator();
  LoadCSVUnitFile1 = action(Files1, "Paste CSV Unit File", &TForm1::LoadCSVUnitFile1Click, "Paste CSV Unit File");
  SaveCSVUnitFile1 = action(Files1, "Save CSV Unit File", &TForm1::SaveCSVUnitFile1Click);
  Files1->addSeparator();
  files_->addSaveItems(Files1);
  files_->addRecentMenu(Files1);
  Files1->addSeparator();
  ExportJSONFile1 = action(Files1, "Export JSON File", &TForm1::ExportJSONFile1Click);
  ImportJSONFile1 = action(Files1, "Import JSON File", &TForm1::ImportJSONFile1Click, "Import JSON File");
  Files1->addSeparator();
  ExitTarnel1 = action(Files1, "Exit Tarnel", &TForm1::ExitTarnel1Click);
}

void TForm1::buildToolsMenu() {
  // The Tools items appear as their windows join (attachWindow); hidden
  // items leave no gap, since the menu folds adjacent separators.
  Tools1 = MainMenu1->addMenu(QStringLiteral("Tools"));
  Tools1->setSeparatorsCollapsible(true);
  Ammo1 = action(Tools1, "Edit Unit Data", &TForm1::AmmoBtnClick);
  EditGameData1 = action(Tools1, "Edit Game Data", &TForm1::EditGameData1Click);
  Position1 = action(Tools1, "Position Editor", &TForm1::Position1Click);
  Tools1->addSeparator();
  LoadCountryData1 = action(Tools1, "Load Country Data", &TForm1::LoadCountryData1Click);
  SelectCountryData1 = action(Tools1, "Select Country Data", &TForm1::SelectCountryData1Click);
  Tools1->addSeparator();
  EditCommentFile1 = action(Tools1, "Edit Comment File", &TForm1::EditCommentFile1Click);
  Tools1->addSeparator();
  ViewBattleSummary1 = action(Tools1, "View Battle Summary", &TForm1::ViewBattleSummary1Click);
  Tools1->addSeparator();
  DumpFile1 = action(Tools1, "Dump File", &TForm1::DumpFile1Click);
  Tools1->addSeparator();
  CompareWithFile1 = action(Tools1, "Compare With File", &TForm1::CompareWithFile1Click);
  RunScript1 = action(Tools1, "Run Script", &TForm1::RunScript1Click);
  for (QAction* a : {Ammo1, EditGameData1, Position1, ViewBattleSummary1, DumpFile1, EditCommentFile1,
                     LoadCountryData1, SelectCountryData1})
    a->setVisible(false);
  Tools1->menuAction()->setVisible(false);
}

void TForm1::wireFindBar() {
  connect(FindBar, &UnitFindBar::searchRequested, this, [this](FindDirection direction) {
    runHandler(direction == FindDirection::Next ? &TForm1::FindNextBtnClick : &TForm1::FindPrevBtnClick);
  });
  connect(FindBar, &UnitFindBar::closed, InfoStringGrid, [this] { InfoStringGrid->setFocus(); });
  FindBar->addSearchKeys(this);
}

void TForm1::FormCreate(const std::string& programDir, const std::vector<std::string>& args) {
  session_.setProgramDir(programDir);
  files_->restoreRecentFiles();
  startMobDir(session_, rememberedMobDir(programDir));
  if (!args.empty() && !args.front().empty()) startupLoad(session_, args.front());
}

void TForm1::runHandler(void (TForm1::*handler)(), const char* label) {
  runHandler([this, handler] { (this->*handler)(); }, label);
}
void TForm1::runHandler(const std::function<void()>& handler, const char* label) {
  runCommand(session_, label, handler);
}

int TForm1::sideIndex() const { return Rolls->sideIndex(); }
ChosenRows TForm1::chosenRows() const { return InfoStringGrid->selectedGridRows(); }

// ---- Title picture -------------------------------------------------------

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) runHandler(&TForm1::FormActivate);
}

void TForm1::FormActivate() {
  if (!firstActivation_) return;
  firstActivation_ = false;
  // A start-up load that brought a game in shows it at once.
  if (session_.holdsGame()) return;
  const QRect grid = InfoStringGrid->geometry();
  InfoStringGrid->hide();
  OpenImage->showOver(grid);
}

bool TForm1::titleShown() const { return !OpenImage->isHidden(); }
const QPixmap& TForm1::titlePixmap() const { return OpenImage->picture(); }

void TForm1::dismissTitlePicture() {
  if (!InfoStringGrid->isHidden()) return;
  InfoStringGrid->show();
  OpenImage->hide();
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  QMainWindow::mousePressEvent(event);
  // Only the window's free area counts: a click on a label of the roll panel
  // reaches the window too, but is a click on that label.
  if (qobject_cast<QLabel*>(childAt(event->position().toPoint()))) return;
  runHandler(&TForm1::FormClick);
}

void TForm1::FormClick() { dismissTitlePicture(); }
void TForm1::OpenImageClick() { dismissTitlePicture(); }

// ---- Files ---------------------------------------------------------------

void TForm1::LoadScenarioFile1Click() { loadGame(session_, GameFileKind::V10); }
void TForm1::SaveScenarioFile1Click() { saveGame(session_, GameFileKind::V10); }
void TForm1::LoadVer11Save1Click() { loadGame(session_, GameFileKind::V11); }
void TForm1::SaveVer11Save1Click() { saveGame(session_, GameFileKind::V11); }
void TForm1::LoadVN3Save1Click() { loadGame(session_, GameFileKind::Vn3); }
void TForm1::SaveVN3SaveScn1Click() { saveGame(session_, GameFileKind::Vn3); }
void TForm1::LocateMOBFiles1Click() {
  if (locateMobFiles(session_)) rememberMobDir(session_.model.programDir, session_.model.mobDir);
}
void TForm1::LoadCSVUnitFile1Click() { pasteCsvUnitFile(session_); }
void TForm1::SaveCSVUnitFile1Click() { saveCsvUnitFile(session_); }
void TForm1::ExitTarnel1Click() { close(); }

void TForm1::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  runHandler([&] { mayClose = mayDropChanges(session_); });
  if (!mayClose) {
    // Cancel (or a failed save): the program goes on with the game as it was.
    session_.passwordRefused = false;
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit mainWindowClosed();
}

// ---- Tools ---------------------------------------------------------------

void TForm1::attachWindow(ToolWindow which, QWidget* window) {
  toolWindows_[static_cast<std::size_t>(which)] = window;
  const std::array<QAction*, kToolWindowCount> items = {Ammo1,     EditGameData1,      Position1, ViewBattleSummary1,
                                                        DumpFile1, SelectCountryData1, EditCommentFile1};
  items[static_cast<std::size_t>(which)]->setVisible(window != nullptr);
  if (which == ToolWindow::UnitData) AmmoBtn->setEnabled(window != nullptr);
  // Country data is loaded for the country stats window, and with it.
  if (which == ToolWindow::CountryStats) LoadCountryData1->setVisible(window != nullptr);
  bool any = false;
  for (QAction* a : items) any = any || a->isVisible();
  Tools1->menuAction()->setVisible(any);
}

QWidget* TForm1::attachedWindow(ToolWindow which) const { return toolWindows_[static_cast<std::size_t>(which)]; }

void TForm1::raiseWindow(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

void TForm1::showToolWindow(ToolWindow which) {
  // Not modal; the window refreshes itself from the model when it activates.
  if (QWidget* w = attachedWindow(which)) raiseWindow(w);
}

void TForm1::AmmoBtnClick() { showToolWindow(ToolWindow::UnitData); }
void TForm1::EditGameData1Click() { showToolWindow(ToolWindow::GameData); }
void TForm1::Position1Click() { showToolWindow(ToolWindow::Position); }
void TForm1::LoadCountryData1Click() { loadCountryData(session_); }
void TForm1::SelectCountryData1Click() { showToolWindow(ToolWindow::CountryStats); }
void TForm1::ViewBattleSummary1Click() { showToolWindow(ToolWindow::BattleSummary); }
void TForm1::DumpFile1Click() { showToolWindow(ToolWindow::Dump); }
void TForm1::EditCommentFile1Click() { showToolWindow(ToolWindow::Comment); }

// ---- Named fields: JSON files and comparison --------------------------------

void TForm1::ExportJSONFile1Click() { exportJsonFile(session_, jsonDialogs_); }
void TForm1::ImportJSONFile1Click() { importJsonFile(session_, jsonDialogs_); }

void TForm1::CompareWithFile1Click() {
  const auto comparison = compareWithFile(session_, compareDialog_);
  if (!comparison) return;
  if (!compareForm_) compareForm_ = besideMainWindow(new TCompareForm(session_, this));
  compareForm_->showComparison(*comparison);
  raiseWindow(compareForm_);
}

void TForm1::RunScript1Click() {
  if (!scriptForm_) scriptForm_ = besideMainWindow(new TScriptForm(session_, this));
  raiseWindow(scriptForm_);
}

template <class Window>
Window* TForm1::besideMainWindow(Window* window) {
  common::keepBesideOwner(window);
  // A unit double-clicked there is selected in the grid, which it leaves in view.
  connect(window, &Window::unitChosen, this, [this](int unit) { runHandler([this, unit] { selectUnit(unit); }); });
  return window;
}

void TForm1::selectUnit(int unit) {
  if (unit < 0 || unit >= gridModel_->rowCount()) return;
  dismissTitlePicture();
  // As a click on the unit's name cell selects it.
  const QModelIndex name = gridModel_->index(unit, indexOf(GridColumn::kName));
  InfoStringGrid->setCurrentIndex(name);
  InfoStringGrid->scrollTo(name);
}

// ---- Comment files ---------------------------------------------------------

void TForm1::LoadCommentFile1Click() {
  if (!loadCommentFile(session_)) return;
  session_.view->setCommentMemo(session_.model.commentText());
  showToolWindow(ToolWindow::Comment);
}

void TForm1::SaveCommentFile1Click() {
  // The comment window's text of the moment, whether or not it is shown.
  const auto* window = qobject_cast<TCommentForm*>(attachedWindow(ToolWindow::Comment));
  saveCommentFile(session_, window ? window->memoText() : commentMemoText(session_.model.commentText()));
}

// ---- Help ----------------------------------------------------------------

void TForm1::About1Click() { session_.prompts.message(aboutText(), kAboutTitle, MessageIcon::Information); }

std::string TForm1::helpFile() const { return helpFilePath(session_.model.programDir); }

void TForm1::Help1Click() {
  if (!helpViewer_) {
    helpViewer_ = new HelpViewer(this);
    common::keepOnScreen(helpViewer_);
  }
  if (!helpViewer_->openContents(pathToUi(helpFile()))) {
    session_.prompts.message("Cannot find the help file " + helpFile(), "Error", MessageIcon::Error);
    return;
  }
  raiseWindow(helpViewer_);
}

// ---- Rolls ---------------------------------------------------------------

// With "Selected units only" checked, the rows inside the grid's selection
// (filled into `rows`); otherwise null, every row.
const ChosenRows* TForm1::rollScope(ChosenRows& rows) const {
  if (!SelectedOnlyCB->isChecked()) return nullptr;
  rows = chosenRows();
  return &rows;
}

void TForm1::roll(RollRow row) {
  ChosenRows rows;
  rollRating(session_, row, Rolls->rollFields(row), sideIndex(), rollScope(rows));
}

void TForm1::ExpBtnClick() { roll(RollRow::Exp); }
void TForm1::MorBtnClick() { roll(RollRow::Mor); }
void TForm1::RalBtnClick() { roll(RollRow::Ral); }
void TForm1::Sk1RollBtnClick() { roll(RollRow::Sk1); }
void TForm1::Sk2RollBtnClick() { roll(RollRow::Sk2); }

void TForm1::RollAllBtnClick() {
  ChosenRows rows;
  rollAllRatings(session_, Rolls->allRollFields(), sideIndex(), rollScope(rows));
}

void TForm1::SpreadBtnClick() {
  if (!spreadForm_) {
    spreadForm_ = new TSpreadForm(*Rolls, this);
    // Beside the main window, or else below the roll rows it follows.
    common::keepBesideOwner(spreadForm_, Rolls->ExpMEdit->parentWidget());
  }
  raiseWindow(spreadForm_);
}

// ---- Find ----------------------------------------------------------------

void TForm1::Find1Click() { FindBar->open(); }
void TForm1::FindNextBtnClick() { findUnit(FindDirection::Next); }
void TForm1::FindPrevBtnClick() { findUnit(FindDirection::Previous); }
bool TForm1::findFailed() const { return FindBar->failed(); }

void TForm1::findUnit(FindDirection direction) {
  const QModelIndex current = InfoStringGrid->currentIndex();
  const int row = FindBar->search(direction, current.isValid() ? current.row() + 1 : 0);
  if (row == 0) return;
  selectUnit(row - 1);
  // The grid opens its cell editor on the new cell; typing stays in the bar.
  FindBar->FindEdit->setFocus(Qt::OtherFocusReason);
}

// ---- Grid ------------------------------------------------------------------

void TForm1::InfoStringGridSelectCell(int col, int row) { selectCell(session_, col, row); }

void TForm1::showRestoredUnit(int unit) {
  // The selection goes to the unit the step touched, and the windows that
  // show it follow as when a cell is selected.
  const int row = unit >= 0 ? unit + 1 : session_.model.selectedRow;
  if (row < 1 || row >= session_.grid.rowCount()) return;
  const QModelIndex at = gridModel_->index(row - 1, std::max(session_.model.selectedCol, 0));
  if (!InfoStringGrid->selectRowWithoutEditor(at))
    runHandler([this, at] { InfoStringGridSelectCell(at.column(), at.row() + 1); });
}

}  // namespace tarnel

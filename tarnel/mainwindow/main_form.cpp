#include "mainwindow/main_form.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "common/ui/qt_screen_fit.h"
#include "common/ui/qt_sizes.h"
#include "common/ui/qt_text.h"
#include "mainwindow/about.h"
#include "mainwindow/compare_form.h"
#include "mainwindow/json_commands.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/qt_help_viewer.h"
#include "mainwindow/qt_history.h"
#include "mainwindow/qt_prompts.h"
#include "mainwindow/qt_settings.h"
#include "mainwindow/qt_unit_grid.h"
#include "mainwindow/spread_form.h"
#include "mainwindow/unit_grid.h"
#include "sidefiles/country_data.h"
#include "sidefiles/csv_units.h"
#include "sidefiles/comment_files.h"
#include "sidefiles/comment_form.h"
#include "sidefiles/mob_files.h"
#include "model/undo.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;



void TitlePicture::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit clicked();
}

namespace {


// How the roll rows are named: the row's prefix, its seven fields from Base
// to Max, its button and the button's handler.
struct RollRowControls {
  QLineEdit* TForm1::* edits[7];
  QPushButton* TForm1::* button;
  const char* buttonName;
  void (TForm1::*handler)();
};

constexpr std::array<const char*, 7> kFieldSuffixes = {"MEdit",  "PDEdit",  "PSEdit", "MDEdit",
                                                       "MSEdit", "MinEdit", "MaxEdit"};

const std::array<RollRowControls, kRollRowCount> kRollControls = {{
    {{&TForm1::ExpMEdit, &TForm1::ExpPDEdit, &TForm1::ExpPSEdit, &TForm1::ExpMDEdit, &TForm1::ExpMSEdit,
      &TForm1::ExpMinEdit, &TForm1::ExpMaxEdit},
     &TForm1::ExpRollBtn, "ExpRollBtn", &TForm1::ExpBtnClick},
    {{&TForm1::MorMEdit, &TForm1::MorPDEdit, &TForm1::MorPSEdit, &TForm1::MorMDEdit, &TForm1::MorMSEdit,
      &TForm1::MorMinEdit, &TForm1::MorMaxEdit},
     &TForm1::MorRollBtn, "MorRollBtn", &TForm1::MorBtnClick},
    {{&TForm1::RalMEdit, &TForm1::RalPDEdit, &TForm1::RalPSEdit, &TForm1::RalMDEdit, &TForm1::RalMSEdit,
      &TForm1::RalMinEdit, &TForm1::RalMaxEdit},
     &TForm1::RalRollBtn, "RalRollBtn", &TForm1::RalBtnClick},
    {{&TForm1::Sk1MEdit, &TForm1::Sk1PDEdit, &TForm1::Sk1PSEdit, &TForm1::Sk1MDEdit, &TForm1::Sk1MSEdit,
      &TForm1::Sk1MinEdit, &TForm1::Sk1MaxEdit},
     &TForm1::Sk1RollBtn, "Sk1RollBtn", &TForm1::Sk1RollBtnClick},
    {{&TForm1::Sk2MEdit, &TForm1::Sk2PDEdit, &TForm1::Sk2PSEdit, &TForm1::Sk2MDEdit, &TForm1::Sk2MSEdit,
      &TForm1::Sk2MinEdit, &TForm1::Sk2MaxEdit},
     &TForm1::Sk2RollBtn, "Sk2RollBtn", &TForm1::Sk2RollBtnClick},
}};

// Arial whose character cell (ascent + descent) is `cellHeight` pixels.
QFont titleFont(int cellHeight) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(cellHeight);
  const int height = QFontMetrics(font).height();
  if (height > cellHeight) font.setPixelSize(std::max(1, cellHeight * cellHeight / height));
  return font;
}

// The title picture: black, a green border drawn with a 10-pixel pen, the
// title lines centred in yellow. Drawn at the screen's own resolution
// (`ratio` device pixels to a pixel of the layout), so that a scaled desktop
// shows it sharp rather than magnified.
QPixmap drawTitlePicture(int width, int height, qreal ratio) {
  QPixmap picture(qRound(width * ratio), qRound(height * ratio));
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::black);
  QPainter p(&picture);
  p.setPen(QPen(QColor(0, 128, 0), 10));
  p.setBrush(Qt::black);
  p.drawRect(QRectF(0, 0, width, height));
  p.setPen(QColor(255, 255, 0));
  for (const TitleLine& line : kTitleLines) {
    const QFont font = titleFont(line.height);
    const QFontMetrics metrics(font);
    const QString text = QString::fromLatin1(line.text);
    p.setFont(font);
    p.drawText(centredLeft(width, metrics.horizontalAdvance(text)), line.top + metrics.ascent(), text);
  }
  return picture;
}

}  // namespace

TForm1::TForm1(Prompts& prompts, const std::string& programDir, const std::vector<std::string>& args,
               QWidget* parent)
    : QMainWindow(parent), session_(prompts) {
  setObjectName(QStringLiteral("Form1"));
  // "[*]" shows as "*" while the game has unsaved changes.
  setWindowTitle(QString::fromLatin1(kMainWindowCaption) + QStringLiteral("[*]"));
  session_.setView(this);
  history_ = new GameHistory(session_, this);

  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* outer = new QVBoxLayout(central);

  // Upper part: the side selector with "Roll All" and "Unit Data" under it,
  // the roll rows beside them.
  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  SideRG = new QGroupBox(QStringLiteral("Side"), central);
  SideRG->setObjectName(QStringLiteral("SideRG"));
  auto* sideLayout = new QVBoxLayout(SideRG);
  auto* sideGroup = new QButtonGroup(SideRG);
  for (std::size_t k = 0; k < 2; ++k) {
    SideRGItems[k] = new QRadioButton(fromCp1252(session_.sideItems[k]), SideRG);
    sideGroup->addButton(SideRGItems[k], static_cast<int>(k));
    sideLayout->addWidget(SideRGItems[k]);
  }
  SideRGItems[0]->setChecked(true);
  SideRG->setMinimumWidth(140);
  left->addWidget(SideRG);
  RollAllBtn = new QPushButton(QString::fromLatin1(kRollAllCaption), central);
  RollAllBtn->setObjectName(QStringLiteral("RollAllBtn"));
  connect(RollAllBtn, &QPushButton::clicked, this,
          [this] { runHandler(&TForm1::RollAllBtnClick, kRollAllCaption); });
  SpreadBtn = new QPushButton(QStringLiteral("Spread"), central);
  SpreadBtn->setObjectName(QStringLiteral("SpreadBtn"));
  connect(SpreadBtn, &QPushButton::clicked, this, [this] { runHandler(&TForm1::SpreadBtnClick); });
  auto* rollAllRow = new QHBoxLayout;
  rollAllRow->addWidget(RollAllBtn);
  rollAllRow->addWidget(SpreadBtn);
  left->addLayout(rollAllRow);
  SelectedOnlyCB = new QCheckBox(QStringLiteral("Selected units only"), central);
  SelectedOnlyCB->setObjectName(QStringLiteral("SelectedOnlyCB"));
  left->addWidget(SelectedOnlyCB);
  AmmoBtn = new QPushButton(QStringLiteral("Unit Data"), central);
  AmmoBtn->setObjectName(QStringLiteral("AmmoBtn"));
  AmmoBtn->setEnabled(false);  // until the unit data editor joins
  connect(AmmoBtn, &QPushButton::clicked, this, [this] { runHandler(&TForm1::AmmoBtnClick); });
  left->addWidget(AmmoBtn);
  left->addStretch();
  top->addLayout(left);
  top->addWidget(buildRollPanel());
  top->addStretch();
  outer->addLayout(top);
  outer->addWidget(buildFindBar());

  FileLbl = new QLabel(QStringLiteral("File"), central);
  FileLbl->setObjectName(QStringLiteral("FileLbl"));
  outer->addWidget(FileLbl);

  gridModel_ = new UnitGridModel(session_.grid, this);
  connect(gridModel_, &UnitGridModel::cellEdited, this, [this] { session_.markModified(); });
  // A cell typed and committed is one step.
  gridModel_->setEditRunner([this](const std::function<void()>& write) { runHandler(write, "Edit Cell"); });
  InfoStringGrid = new UnitGridView(central);
  InfoStringGrid->setObjectName(QStringLiteral("InfoStringGrid"));
  InfoStringGrid->setGridModel(gridModel_);
  // The title picture takes the grid's place while it is hidden.
  QSizePolicy policy = InfoStringGrid->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  InfoStringGrid->setSizePolicy(policy);
  outer->addWidget(InfoStringGrid, 1);
  connect(InfoStringGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid())
              runHandler([this, col = current.column(), row = current.row() + 1] {
                InfoStringGridSelectCell(col, row);
              });
          });

  OpenImage = new TitlePicture(central);
  OpenImage->setObjectName(QStringLiteral("OpenImage"));
  OpenImage->hide();
  connect(OpenImage, &TitlePicture::clicked, this, [this] { runHandler(&TForm1::OpenImageClick); });

  buildMenu();
  resize(700, 740);

  FormCreate(programDir, args);
  qApp->installEventFilter(this);
}

bool TForm1::gridEditorIdle(QObject* widget, bool redo) const {
  // A grid cell's editor opens as soon as the cell becomes current; with
  // nothing of its own to undo or redo it leaves the keys to the game's.
  auto* line = qobject_cast<QLineEdit*>(widget);
  return line && InfoStringGrid && InfoStringGrid->isAncestorOf(line) &&
         !(redo ? line->isRedoAvailable() : line->isUndoAvailable());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->matches(QKeySequence::Undo) && gridEditorIdle(watched, false)) ||
        (key->matches(QKeySequence::Redo) && gridEditorIdle(watched, true))) {
      event->ignore();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

TForm1::~TForm1() {
  // The grid's model watches the session's table and the history steps
  // into it: they go before it does.
  delete InfoStringGrid;
  delete gridModel_;
  delete history_;
  session_.setView(nullptr);
}

QAction* TForm1::action(QMenu* menu, const char* caption, void (TForm1::*handler)(), const char* label) {
  QAction* a = menu->addAction(QString::fromLatin1(caption));
  connect(a, &QAction::triggered, this, [this, handler, label] { runHandler(handler, label); });
  return a;
}

void TForm1::buildMenu() {
  MainMenu1 = menuBar();
  Files1 = MainMenu1->addMenu(QStringLiteral("Files"));
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
  ExitTarnel1 = action(Files1, "Exit Tarnel", &TForm1::ExitTarnel1Click);
  Files1->addSeparator();
  ExportJSONFile1 = action(Files1, "Export JSON File", &TForm1::ExportJSONFile1Click);
  ImportJSONFile1 = action(Files1, "Import JSON File", &TForm1::ImportJSONFile1Click, "Import JSON File");

  buildEditMenu();
  Edit1->addSeparator();
  Find1 = action(Edit1, "Find", &TForm1::Find1Click);
  Find1->setShortcut(QKeySequence::Find);

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
  for (QAction* a : {Ammo1, EditGameData1, Position1, ViewBattleSummary1, DumpFile1, EditCommentFile1})
    a->setVisible(false);
  for (QAction* a : {LoadCountryData1, SelectCountryData1}) a->setVisible(false);
  Tools1->menuAction()->setVisible(false);

  Help2 = MainMenu1->addMenu(QStringLiteral("Help"));
  About1 = action(Help2, "About", &TForm1::About1Click);
  Help1 = action(Help2, "Help", &TForm1::Help1Click);

  // Alt and the first letter open a menu; the captions stay as they are.
  for (QMenu* menu : {Files1, Edit1, Tools1, Help2}) {
    auto* key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(menu->title().at(0).unicode())), this);
    connect(key, &QShortcut::activated, this, [this, menu] {
      if (!menu->menuAction()->isVisible()) return;
      MainMenu1->setActiveAction(menu->menuAction());
    });
  }
}

void TForm1::buildEditMenu() {
  Edit1 = MainMenu1->addMenu(QStringLiteral("Edit"));
  QUndoStack* stack = history_->stack();
  Undo1 = stack->createUndoAction(Edit1, QStringLiteral("Undo"));
  Redo1 = stack->createRedoAction(Edit1, QStringLiteral("Redo"));
  Undo1->setObjectName(QStringLiteral("Undo1"));
  Redo1->setObjectName(QStringLiteral("Redo1"));
  // The keys work in every window of Tarnel; a text field being typed in
  // takes its standard undo keys for its own undo first.
  Undo1->setShortcuts(QKeySequence::Undo);
  Redo1->setShortcuts(QKeySequence::Redo);
  for (QAction* a : {Undo1, Redo1}) {
    a->setShortcutContext(Qt::ApplicationShortcut);
    Edit1->addAction(a);
  }
  // Ctrl+Y redoes too, where the platform's keys do not say so already; in a
  // text field it is the field's own redo.
  if (!Redo1->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y))) {
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this);
    key->setContext(Qt::ApplicationShortcut);
    connect(key, &QShortcut::activated, this, [this] {
      QWidget* focus = QApplication::focusWidget();
      if (gridEditorIdle(focus, true))
        Redo1->trigger();
      else if (auto* line = qobject_cast<QLineEdit*>(focus); line && !line->isReadOnly())
        line->redo();
      else if (auto* text = qobject_cast<QPlainTextEdit*>(focus); text && !text->isReadOnly())
        text->redo();
      else if (auto* rich = qobject_cast<QTextEdit*>(focus); rich && !rich->isReadOnly())
        rich->redo();
      else if (Redo1->isEnabled())
        Redo1->trigger();
    });
  }
}

QWidget* TForm1::buildRollPanel() {
  auto* panel = new QWidget(centralWidget());
  auto* grid = new QGridLayout(panel);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  grid->setContentsMargins(0, 0, 0, 0);
  // Columns: rating label, Base, "+", d, "x", s, "-", d1, "x", s1, Min, Max, button.
  constexpr std::array<int, 7> fieldColumn = {1, 3, 5, 7, 9, 10, 11};
  constexpr std::array<std::pair<int, const char*>, 4> operators = {
      {{2, "+"}, {4, "x"}, {6, "-"}, {8, "x"}}};
  for (std::size_t f = 0; f < 7; ++f)
    grid->addWidget(new QLabel(QString::fromLatin1(kRollFieldLabels[f]), panel), 0, fieldColumn[f],
                    Qt::AlignHCenter | Qt::AlignBottom);

  for (RollRow row : kRollRows) {
    const auto r = static_cast<std::size_t>(row);
    const int gridRow = static_cast<int>(r) + 1;
    const QString prefix = QString::fromLatin1(rollRowLabel(row));
    grid->addWidget(new QLabel(prefix, panel), gridRow, 0);
    const RollFields initial = initialRollFields(row);
    const std::array<const std::string*, 7> texts = {&initial.base, &initial.d,   &initial.s,  &initial.d1,
                                                     &initial.s1,   &initial.min, &initial.max};
    for (std::size_t f = 0; f < 7; ++f) {
      auto* edit = new QLineEdit(QString::fromStdString(*texts[f]), panel);
      edit->setObjectName(prefix + QLatin1String(kFieldSuffixes[f]));
      edit->setFixedWidth(common::lineEditWidthFor(*edit, QString::fromLatin1(kRollFieldWidest[f])));
      this->*kRollControls[r].edits[f] = edit;
      grid->addWidget(edit, gridRow, fieldColumn[f]);
    }
    for (const auto& [column, text] : operators)
      grid->addWidget(new QLabel(QString::fromLatin1(text), panel), gridRow, column, Qt::AlignCenter);
    auto* button = new QPushButton(QString::fromLatin1(rollButtonCaption(row)), panel);
    button->setObjectName(QString::fromLatin1(kRollControls[r].buttonName));
    this->*kRollControls[r].button = button;
    const auto handler = kRollControls[r].handler;
    const char* label = rollButtonCaption(row);
    connect(button, &QPushButton::clicked, this, [this, handler, label] { runHandler(handler, label); });
    grid->addWidget(button, gridRow, 12);
  }
  return panel;
}

QWidget* TForm1::buildFindBar() {
  FindBar = new QWidget(centralWidget());
  FindBar->setObjectName(QStringLiteral("FindBar"));
  auto* layout = new QHBoxLayout(FindBar);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(QStringLiteral("Find"), FindBar);
  FindEdit = new QLineEdit(FindBar);
  FindEdit->setObjectName(QStringLiteral("FindEdit"));
  FindEdit->setPlaceholderText(QStringLiteral("Unit, name or leader"));
  FindEdit->setClearButtonEnabled(true);
  label->setBuddy(FindEdit);
  FindNextBtn = new QPushButton(QStringLiteral("Next"), FindBar);
  FindNextBtn->setObjectName(QStringLiteral("FindNextBtn"));
  FindPrevBtn = new QPushButton(QStringLiteral("Previous"), FindBar);
  FindPrevBtn->setObjectName(QStringLiteral("FindPrevBtn"));
  for (QPushButton* b : {FindNextBtn, FindPrevBtn}) b->setAutoDefault(false);
  layout->addWidget(label);
  layout->addWidget(FindEdit, 1);
  layout->addWidget(FindNextBtn);
  layout->addWidget(FindPrevBtn);
  FindBar->hide();

  connect(FindEdit, &QLineEdit::returnPressed, this, [this] { runHandler(&TForm1::FindNextBtnClick); });
  connect(FindEdit, &QLineEdit::textEdited, this, [this] { setFindFailed(false); });
  connect(FindNextBtn, &QPushButton::clicked, this, [this] { runHandler(&TForm1::FindNextBtnClick); });
  connect(FindPrevBtn, &QPushButton::clicked, this, [this] { runHandler(&TForm1::FindPrevBtnClick); });
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), FindBar, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(close, &QShortcut::activated, this, [this] {
    FindBar->hide();
    InfoStringGrid->setFocus();
  });
  // F3 and Shift+F3 search from anywhere in the window, opening the bar.
  auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
  connect(next, &QShortcut::activated, this, [this] { runHandler(&TForm1::FindNextBtnClick); });
  auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
  connect(previous, &QShortcut::activated, this, [this] { runHandler(&TForm1::FindPrevBtnClick); });
  return FindBar;
}

void TForm1::FormCreate(const std::string& programDir, const std::vector<std::string>& args) {
  session_.setProgramDir(programDir);
  startMobDir(session_, rememberedMobDir(programDir));
  if (!args.empty() && !args.front().empty()) startupLoad(session_, args.front());
}

void TForm1::runHandler(void (TForm1::*handler)(), const char* label) {
  runHandler([this, handler] { (this->*handler)(); }, label);
}

void TForm1::runHandler(const std::function<void()>& handler, const char* label) {
  runCommand(session_, label, handler);
}

std::array<QLineEdit*, 7> TForm1::rollEdits(RollRow row) const {
  std::array<QLineEdit*, 7> edits{};
  const auto& controls = kRollControls[static_cast<std::size_t>(row)];
  for (std::size_t f = 0; f < 7; ++f) edits[f] = this->*controls.edits[f];
  return edits;
}

RollFields TForm1::rollFields(RollRow row) const {
  const auto e = rollEdits(row);
  auto text = [](const QLineEdit* edit) { return toCp1252(edit->text()); };
  return {text(e[0]), text(e[1]), text(e[2]), text(e[3]), text(e[4]), text(e[5]), text(e[6])};
}

int TForm1::sideIndex() const { return SideRGItems[1]->isChecked() ? 1 : 0; }

ChosenRows TForm1::chosenRows() const {
  ChosenRows rows(static_cast<std::size_t>(std::max(0, session_.grid.rowCount())), false);
  for (const QItemSelectionRange& range : InfoStringGrid->selectionModel()->selection())
    for (int r = range.top(); r <= range.bottom(); ++r)
      if (static_cast<std::size_t>(r + 1) < rows.size()) rows[static_cast<std::size_t>(r + 1)] = true;
  return rows;
}

// ---- Title picture -------------------------------------------------------

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) runHandler(&TForm1::FormActivate);
}

void TForm1::FormActivate() {
  if (!firstActivation_) return;
  firstActivation_ = false;
  const QRect grid = InfoStringGrid->geometry();
  InfoStringGrid->hide();
  OpenImage->setGeometry(grid.left() + 6, grid.top() + 24, grid.width() - 12, grid.height() - 30);
  if (OpenImage->width() > 0 && OpenImage->height() > 0)
    titlePixmap_ = drawTitlePicture(OpenImage->width(), OpenImage->height(), OpenImage->devicePixelRatioF());
  OpenImage->setPixmap(titlePixmap_);
  OpenImage->show();
  OpenImage->raise();
}

bool TForm1::titleShown() const { return !OpenImage->isHidden(); }

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

void TForm1::SaveScenarioFile1Click() {
  InfoStringGrid->commitEditor();
  saveGame(session_, GameFileKind::V10);
}

void TForm1::LoadVer11Save1Click() { loadGame(session_, GameFileKind::V11); }

void TForm1::SaveVer11Save1Click() {
  InfoStringGrid->commitEditor();
  saveGame(session_, GameFileKind::V11);
}

void TForm1::LoadVN3Save1Click() { loadGame(session_, GameFileKind::Vn3); }

void TForm1::SaveVN3SaveScn1Click() {
  InfoStringGrid->commitEditor();
  saveGame(session_, GameFileKind::Vn3);
}

void TForm1::LocateMOBFiles1Click() {
  if (locateMobFiles(session_)) rememberMobDir(session_.model.programDir, session_.model.mobDir);
}

void TForm1::LoadCSVUnitFile1Click() {
  InfoStringGrid->commitEditor();
  pasteCsvUnitFile(session_);
}

void TForm1::SaveCSVUnitFile1Click() { saveCsvUnitFile(session_); }

void TForm1::ExitTarnel1Click() { close(); }

void TForm1::closeEvent(QCloseEvent* event) {
  InfoStringGrid->commitEditor();
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
  const std::array<QAction*, kToolWindowCount> items = {Ammo1,      EditGameData1, Position1,
                                                        ViewBattleSummary1, DumpFile1,     SelectCountryData1,
                                                        EditCommentFile1};
  items[static_cast<std::size_t>(which)]->setVisible(window != nullptr);
  if (which == ToolWindow::UnitData) AmmoBtn->setEnabled(window != nullptr);
  // Country data is loaded for the country stats window, and with it.
  if (which == ToolWindow::CountryStats) LoadCountryData1->setVisible(window != nullptr);
  bool any = false;
  for (QAction* a : items) any = any || a->isVisible();
  Tools1->menuAction()->setVisible(any);
}

QWidget* TForm1::attachedWindow(ToolWindow which) const { return toolWindows_[static_cast<std::size_t>(which)]; }

void TForm1::showToolWindow(ToolWindow which) {
  QWidget* w = attachedWindow(which);
  if (!w) return;
  // Not modal; the window refreshes itself from the model when it activates.
  w->show();
  w->raise();
  w->activateWindow();
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

void TForm1::ExportJSONFile1Click() {
  InfoStringGrid->commitEditor();
  exportJsonFile(session_, jsonDialogs_);
}

void TForm1::ImportJSONFile1Click() {
  InfoStringGrid->commitEditor();
  importJsonFile(session_, jsonDialogs_);
}

void TForm1::CompareWithFile1Click() {
  InfoStringGrid->commitEditor();
  const auto comparison = compareWithFile(session_, compareDialog_);
  if (!comparison) return;
  if (!compareForm_) {
    compareForm_ = new TCompareForm(this);
    common::keepBesideOwner(compareForm_);
    connect(compareForm_, &TCompareForm::unitChosen, this, [this](int unit) { runHandler([this, unit] { selectUnit(unit); }); });
  }
  compareForm_->showComparison(*comparison);
  compareForm_->show();
  compareForm_->raise();
  compareForm_->activateWindow();
}

void TForm1::selectUnit(int unit) {
  if (unit < 0 || unit >= gridModel_->rowCount()) return;
  dismissTitlePicture();
  const QModelIndex index = gridModel_->index(unit, kColName);
  InfoStringGrid->setCurrentIndex(index);
  InfoStringGrid->scrollTo(index);
}

// ---- Comment files ---------------------------------------------------------

void TForm1::LoadCommentFile1Click() {
  if (!loadCommentFile(session_)) return;
  setCommentMemo(session_.model.commentText());
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
  helpViewer_->show();
  helpViewer_->raise();
  helpViewer_->activateWindow();
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
  InfoStringGrid->commitEditor();
  ChosenRows rows;
  rollRating(session_, row, rollFields(row), sideIndex(), rollScope(rows));
}

void TForm1::ExpBtnClick() { roll(RollRow::Exp); }
void TForm1::MorBtnClick() { roll(RollRow::Mor); }
void TForm1::RalBtnClick() { roll(RollRow::Ral); }
void TForm1::Sk1RollBtnClick() { roll(RollRow::Sk1); }
void TForm1::Sk2RollBtnClick() { roll(RollRow::Sk2); }

void TForm1::RollAllBtnClick() {
  InfoStringGrid->commitEditor();
  std::array<RollFields, kRollRowCount> fields;
  for (RollRow row : kRollRows) fields[static_cast<std::size_t>(row)] = rollFields(row);
  ChosenRows rows;
  rollAllRatings(session_, fields, sideIndex(), rollScope(rows));
}

void TForm1::SpreadBtnClick() {
  if (!spreadForm_) {
    TSpreadForm::RollEdits edits;
    for (RollRow row : kRollRows) edits[static_cast<std::size_t>(row)] = rollEdits(row);
    spreadForm_ = new TSpreadForm(edits, this);
    // Beside the main window, or else below the roll rows it follows.
    common::keepBesideOwner(spreadForm_, ExpMEdit->parentWidget());
  }
  spreadForm_->show();
  spreadForm_->raise();
  spreadForm_->activateWindow();
}

// ---- Find ----------------------------------------------------------------

void TForm1::Find1Click() {
  FindBar->show();
  FindEdit->setFocus(Qt::ShortcutFocusReason);
  FindEdit->selectAll();
}

void TForm1::FindNextBtnClick() { findUnit(FindDirection::Next); }
void TForm1::FindPrevBtnClick() { findUnit(FindDirection::Previous); }

void TForm1::findUnit(FindDirection direction) {
  if (FindBar->isHidden()) Find1Click();
  const QString text = FindEdit->text();
  if (text.isEmpty()) return;
  InfoStringGrid->commitEditor();
  const std::string bytes = toCp1252(text);
  const QModelIndex current = InfoStringGrid->currentIndex();
  // A character Windows-1252 lacks is in no cell.
  const int row = fromCp1252(bytes) == text
                      ? findUnitRow(session_.grid, bytes, current.isValid() ? current.row() + 1 : 0, direction)
                      : 0;
  setFindFailed(row == 0);
  if (row == 0) return;
  // As a click on the unit's name cell selects it.
  const QModelIndex name = gridModel_->index(row - 1, kColName);
  InfoStringGrid->setCurrentIndex(name);
  InfoStringGrid->scrollTo(name);
  // The grid opens its cell editor on the new cell; typing stays in the bar.
  FindEdit->setFocus(Qt::OtherFocusReason);
}

void TForm1::setFindFailed(bool failed) {
  if (failed == findFailed_) return;
  findFailed_ = failed;
  // An empty palette gives the edit back the window's colours.
  QPalette palette;
  if (failed) {
    palette = FindEdit->palette();
    palette.setColor(QPalette::Base, QColor(255, 170, 170));
    palette.setColor(QPalette::Text, Qt::black);
  }
  FindEdit->setPalette(palette);
}

// ---- Grid and what the core tells the window -----------------------------

void TForm1::InfoStringGridSelectCell(int col, int row) { selectCell(session_, col, row); }

void TForm1::unitSelected() { emit selectedUnitChanged(); }

void TForm1::closeUnitEditor() {
  if (QWidget* editor = attachedWindow(ToolWindow::UnitData)) editor->close();
}

void TForm1::setCommentMemo(const std::string& text) {
  emit commentMemoSet(QString::fromStdString(commentMemoText(text)));
}

void TForm1::closeMainWindow() { close(); }

void TForm1::sideItemsChanged() {
  for (std::size_t k = 0; k < 2; ++k) SideRGItems[k]->setText(fromCp1252(session_.sideItems[k]));
}

void TForm1::modifiedChanged() { setWindowModified(session_.modified()); }

void TForm1::documentRestored(int unit) {
  // The selection goes to the unit the step touched, and the windows that
  // show it follow as when a cell is selected.
  const int row = unit >= 0 ? unit + 1 : session_.model.selectedRow;
  if (row >= 1 && row < session_.grid.rowCount()) {
    const int col = std::max(session_.model.selectedCol, 0);
    const QModelIndex at = gridModel_->index(row - 1, col);
    if (InfoStringGrid->currentIndex() != at) {
      InfoStringGrid->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    } else {
      runHandler([this, row, col] { InfoStringGridSelectCell(col, row); });
    }
    InfoStringGrid->scrollTo(at);
  }
  emit gameRestored();
}

void TForm1::fileLabelChanged() { FileLbl->setText(uiText(session_.fileLabel)); }

}  // namespace tarnel

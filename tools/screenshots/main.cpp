// Remakes the screenshots of every window for docs/ and the README:
//
//   screenshots PROGRAM_DIR OUT_DIR [NAME...]
//
// PROGRAM_DIR is Tarnel's build directory (its help file and the samples' MOB
// and KOB files lie beside the program there); samples are read from
// samples/ under the working directory, so run it from the repository (see
// tools/screenshots.sh, which runs it under Xvfb). Each shot starts from
// freshly created windows, as at start-up. To add a window, add one line to
// kShots.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTableWidget>
#include <algorithm>
#include <deque>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "editors/ammo_form.h"
#include "editors/position_form.h"
#include "editors/weapons_form.h"
#include "common/file_io.h"
#include "gamefiles/dump_form.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_encoders.h"
#include "gamefiles/game_json.h"
#include "main_form.h"  // Orvik's
#include "mainwindow/compare_form.h"
#include "mainwindow/script_form.h"
#include "mainwindow/file_form.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_file_commands.h"
#include "mainwindow/qt_roll_panel.h"
#include "mainwindow/qt_find_bar.h"
#include "mainwindow/qt_help_viewer.h"
#include "mainwindow/qt_prompts.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "mainwindow/spread_form.h"
#include "sidefiles/dice_stat_form.h"

namespace {

using tarnel::GameFileChoice;
using tarnel::GameFileKind;
using tarnel::MessageIcon;
using tarnel::SaveChoice;
using tarnel::ToolWindow;

// Answers dialogs from a queue; a message box means the shot went wrong.
// With holdChoice set, the game-file chooser is not answered but its
// settings are kept in heldChoice; "save the changes?" is answered Cancel
// and its text kept.
class StagePrompts : public tarnel::Prompts {
 public:
  std::deque<std::string> answers;
  int messages = 0;
  bool holdChoice = false;
  GameFileChoice heldChoice;
  std::string question, questionTitle;

  void message(const std::string& text, const std::string& title, MessageIcon) override {
    ++messages;
    std::cerr << "screenshots: unexpected message \"" << title << "\": " << text << '\n';
  }
  void errorReport(const std::string& text) override { message(text, "Error", MessageIcon::Error); }
  bool openDialog(common::FileDialogState& d) override { return answer(d.fileName); }
  bool saveDialog(common::FileDialogState& d) override { return answer(d.fileName); }
  bool chooseGameFile(GameFileChoice& c) override {
    if (!holdChoice) return answer(c.fileName);
    heldChoice = c;
    return false;
  }
  SaveChoice askSaveChanges(const std::string& text, const std::string& title) override {
    question = text;
    questionTitle = title;
    return SaveChoice::Cancel;
  }
  bool warnAndAsk(const std::string& warning, const std::string& ask, const std::string& title) override {
    question = warning + " " + ask;
    questionTitle = title;
    return false;
  }

 private:
  bool answer(std::string& out) {
    if (answers.empty()) return false;
    out = answers.front();
    answers.pop_front();
    return true;
  }
};

void settle() {
  for (int k = 0; k < 30; ++k) QApplication::processEvents();
}

// Tarnel's windows as start-up creates them, or Orvik's one window.
class Stage {
 public:
  explicit Stage(std::string programDir) : programDir_(std::move(programDir)) {}

  tarnel::TarnelWindows& tarnel() {
    if (!tarnel_) {
      tarnel_ = tarnel::createWindows(prompts, programDir_, {});
      tarnel_->Form1->show();
      tarnel_->Form1->activateWindow();
      settle();
    }
    return *tarnel_;
  }
  tarnel::TForm1* main() { return tarnel().Form1.get(); }

  // Loads a sample through the menu item of its generation.
  tarnel::TForm1* load(const std::string& sample, GameFileKind kind = GameFileKind::Vn3) {
    prompts.answers.push_back("samples/" + sample);
    tarnel::TForm1* f = main();
    QAction* item = kind == GameFileKind::V10   ? f->LoadScenarioFile1
                    : kind == GameFileKind::V11 ? f->LoadVer11Save1
                                                : f->LoadVN3Save1;
    item->trigger();
    settle();
    return f;
  }
  tarnel::TForm1* select(int col, int row) {
    main()->InfoStringGrid->setCurrentIndex(main()->InfoStringGrid->model()->index(row - 1, col));
    settle();
    return main();
  }
  // A window of the Tools menu, shown as its menu item shows it.
  QWidget* tool(ToolWindow which) {
    QWidget* w = main()->attachedWindow(which);
    if (!w) return nullptr;
    w->show();
    w->raise();
    w->activateWindow();
    settle();
    return w;
  }

  // The unit data editor with the weapons window over it, as a click on the
  // weapon-name cell of the given weapon row shows it.
  QWidget* weaponsWindow(int row) {
    tool(ToolWindow::UnitData);
    bool canSelect = true;
    tarnel().AmmoForm->WeaponsGridSelectCell(0, row, canSelect);
    settle();
    return tarnel().WeaponsForm.get();
  }

  // The Open File window as the load of the given generation opens it, on
  // the samples folder, with the first file chosen.
  QWidget* chooser(GameFileKind kind) {
    prompts.holdChoice = true;
    (kind == GameFileKind::V10 ? main()->LoadScenarioFile1 : kind == GameFileKind::V11 ? main()->LoadVer11Save1
                                                                                       : main()->LoadVN3Save1)
        ->trigger();
    prompts.holdChoice = false;
    GameFileChoice choice = prompts.heldChoice;
    choice.initialDir = tarnel::pathFromUi(QDir(QStringLiteral("samples")).absolutePath());
    tarnel::TFileForm& form = *tarnel().FileForm;
    form.prepare(choice);
    form.show();
    settle();
    form.FileList->setCurrentRow(0);
    settle();
    return &form;
  }

  // Country Stats with samples/countries.txt loaded, a country and one of its
  // data sets chosen and set into the roll fields.
  QWidget* countryStats(int country, int dataSet) {
    prompts.answers.push_back("samples/countries.txt");
    main()->LoadCountryData1->trigger();
    auto* w = static_cast<tarnel::TDiceStatForm*>(tool(ToolWindow::CountryStats));
    w->CountryLB->setCurrentRow(country);
    w->DescriptionGrid->setCurrentCell(dataSet, 1);
    w->SetBtn->click();
    settle();
    return w;
  }

  // The dump window with a section row selected.
  QWidget* dump(int row) {
    auto* w = static_cast<tarnel::TDumpForm*>(tool(ToolWindow::Dump));
    w->DumpGrid->setCurrentCell(row, 0);
    settle();
    return w;
  }

  // The position editor with a band dragged on the map and its units
  // selected.
  QWidget* position(int x0, int y0, int x1, int y1) {
    auto* w = static_cast<tarnel::TPositionForm*>(tool(ToolWindow::Position));
    w->PositionImageMouseDown(x0, y0);
    w->PositionImageMouseMove(x1, y1);
    w->PositionImageMouseUp(x1, y1);
    w->SelectBtn->click();
    settle();
    return w;
  }

  // The question Exit asks after a rating was typed into the grid.
  QWidget* saveChangesQuestion() {
    QAbstractItemModel* grid = main()->InfoStringGrid->model();
    grid->setData(grid->index(0, 4), QStringLiteral("75"));
    main()->ExitTarnel1->trigger();
    if (prompts.question.empty()) return nullptr;
    question_ = tarnel::saveChangesBox(prompts.question, prompts.questionTitle, main());
    question_->show();
    settle();
    return question_.get();
  }

  // "Compare With File" of the sample against a copy of it a battle later:
  // a turn on, losses, a unit moved, a leader promoted.
  QWidget* compare(const std::string& sample) {
    tarnel::DecodedGame later;
    tarnel::readGameFile("samples/" + sample, GameFileKind::Vn3, later);
    tarnel::importGameJson(later.model, R"({"game": {"turn": 4, "battles": 1},
        "units": [{"index": 2, "men": 3, "exp": 60, "position": {"x": 44, "y": 30}},
                  {"index": 5, "mor": 41, "leader": {"rank": 4, "kills": 12}},
                  {"index": 17, "men": 0, "damage": 9}]})", "later.json");
    const std::string copy = QDir::temp().filePath(QStringLiteral("tarnel_compare_later.dat")).toStdString();
    if (!tarnel::writeGameFile(copy, later.model, GameFileKind::Vn3)) return nullptr;
    prompts.answers.push_back(copy);
    main()->CompareWithFile1->trigger();
    settle();
    QWidget* w = main()->compareForm();
    if (w) {
      w->activateWindow();
      settle();
    }
    return w;
  }

  // Compare's lines with two of a unit's lines checked for Take Checked.
  QWidget* compareChecked(const std::string& sample) {
    auto* w = static_cast<tarnel::TCompareForm*>(compare(sample));
    if (!w || w->DifferenceList->count() < 4) return nullptr;
    for (int r = 2; r < 4; ++r) w->DifferenceList->item(r)->setCheckState(Qt::Checked);
    w->DifferenceList->setCurrentRow(3);
    settle();
    return w;
  }

  // The Script window after a run of a sample script with findings.
  QWidget* script(const char* file) {
    main()->RunScript1->trigger();
    tarnel::TScriptForm* w = main()->scriptForm();
    if (!w || !w->loadScript(std::string("samples/scripts/") + file)) return nullptr;
    w->RunBtn->click();
    w->activateWindow();
    settle();
    return w;
  }

  // The find bar with a text typed and "Next" pressed `times` times.
  QWidget* find(const char* text, int times) {
    main()->Find1->trigger();
    main()->FindBar->FindEdit->setText(QString::fromLatin1(text));
    for (int k = 0; k < times; ++k) main()->FindBar->FindNextBtn->click();
    settle();
    return main();
  }

  // "Selected units only" checked, rows first..last selected and rolled
  // with the Exp row's formula.
  QWidget* selectedRoll(int first, int last) {
    QAbstractItemModel* grid = main()->InfoStringGrid->model();
    main()->InfoStringGrid->setCurrentIndex(grid->index(first - 1, 4));
    main()->InfoStringGrid->selectionModel()->select(QItemSelection(grid->index(first - 1, 0), grid->index(last - 1, 9)),
                                                     QItemSelectionModel::ClearAndSelect);
    main()->SelectedOnlyCB->setChecked(true);
    main()->session().dice.seed(4242);  // the same picture on every run
    main()->Rolls->ExpRollBtn->click();
    settle();
    return main();
  }

  // "Rating Spread" over the initial formulas, with Mor raised so that it
  // often reaches Max and Sk1 thrown with many dice.
  QWidget* spread() {
    main()->Rolls->MorMEdit->setText(QStringLiteral("90"));
    main()->Rolls->Sk1PDEdit->setText(QStringLiteral("40"));
    main()->Rolls->Sk1MEdit->setText(QStringLiteral("-30"));
    main()->Rolls->Sk1PSEdit->setText(QStringLiteral("4"));
    main()->SpreadBtnClick();
    settle();
    return main()->spreadForm();
  }

  // The question before a CSV paste whose line 7 lacks its last cell.
  QWidget* csvPasteWarning() {
    QFile sample(QStringLiteral("samples/vn3_crossing.csv"));
    if (!sample.open(QIODevice::ReadOnly)) return nullptr;
    QList<QByteArray> lines = sample.readAll().split('\n');
    if (lines.size() < 8) return nullptr;
    lines[6].truncate(lines[6].lastIndexOf(','));
    lines[6] += '\r';
    QFile edited(QDir::temp().filePath(QStringLiteral("tarnel_screenshot.csv")));
    if (!edited.open(QIODevice::WriteOnly) || edited.write(lines.join('\n')) < 0) return nullptr;
    edited.close();
    prompts.answers.push_back(edited.fileName().toStdString());
    main()->LoadCSVUnitFile1->trigger();
    edited.remove();
    if (prompts.question.empty()) return nullptr;
    question_ = tarnel::warningQuestionBox(prompts.question, prompts.questionTitle, main());
    question_->show();
    settle();
    return question_.get();
  }

  // The Edit menu open after a typed cell and a Roll All, the roll taken
  // back: the main window with the menu drawn over it where it opened.
  QWidget* editMenu() {
    tarnel::TForm1* f = main();
    QAbstractItemModel* grid = f->InfoStringGrid->model();
    grid->setData(grid->index(2, 4), QStringLiteral("75"));
    f->session().dice.seed(4242);
    f->RollAllBtn->click();
    f->Undo1->trigger();
    f->MainMenu1->setActiveAction(f->Edit1->menuAction());
    settle();
    if (!f->Edit1->isVisible()) return nullptr;
    QPixmap shot = f->grab();
    QPainter painter(&shot);
    painter.drawPixmap(f->Edit1->pos() - f->mapToGlobal(QPoint(0, 0)), f->Edit1->grab());
    painter.end();
    f->Edit1->hide();
    composite_ = std::make_unique<QLabel>();
    composite_->setPixmap(shot);
    composite_->resize(shot.size());
    return composite_.get();
  }

  // The Files menu open after three samples were opened: Recent Files names
  // them, the status line tells the last open.
  QWidget* filesMenu() {
    tarnel::TForm1* f = main();
    f->fileCommands()->recent().clear();
    for (const char* sample : {"v10_border.dat", "v11_ridge.dat", "vn3_crossing.dat"}) {
      prompts.answers.push_back(std::string("samples/") + sample);
      f->fileCommands()->Open1->trigger();
    }
    settle();
    f->MainMenu1->setActiveAction(f->Files1->menuAction());
    settle();
    if (!f->Files1->isVisible()) return nullptr;
    f->Files1->setActiveAction(f->fileCommands()->RecentFiles1->menuAction());
    f->fileCommands()->RecentFiles1->popup(f->Files1->pos() +
                                           QPoint(f->Files1->width() - 4,
                                                  f->Files1->actionGeometry(f->fileCommands()->RecentFiles1->menuAction()).top()));
    settle();
    QPixmap shot = f->grab();
    QPainter painter(&shot);
    const QPoint origin = f->mapToGlobal(QPoint(0, 0));
    painter.drawPixmap(f->Files1->pos() - origin, f->Files1->grab());
    QMenu* recent = f->fileCommands()->RecentFiles1;
    if (recent->isVisible()) painter.drawPixmap(recent->pos() - origin, recent->grab());
    painter.end();
    recent->hide();
    f->Files1->hide();
    composite_ = std::make_unique<QLabel>();
    composite_->setPixmap(shot);
    composite_->resize(shot.size());
    return composite_.get();
  }

  QWidget* help() {
    main()->Help1Click();
    settle();
    return main()->helpViewer();
  }

  // Orvik with an executable's table searched by the given search item and
  // loaded.
  QWidget* orvikLoaded(const std::string& exe, int searchItem) {
    orvik_ = std::make_unique<orvik::TMainForm>(prompts);
    prompts.answers.push_back("samples/" + exe);
    orvik_->FileBtnClick();
    orvik_->SearchBox->setCurrentIndex(searchItem);
    orvik_->SearchBtnClick();
    orvik_->LoadBtnClick();
    orvik_->show();
    settle();
    return orvik_.get();
  }

  StagePrompts prompts;

 private:
  std::string programDir_;
  std::unique_ptr<tarnel::TarnelWindows> tarnel_;
  std::unique_ptr<orvik::TMainForm> orvik_;
  std::unique_ptr<QMessageBox> question_;
  std::unique_ptr<QLabel> composite_;
};

struct Shot {
  const char* name;  // docs/<name>.png
  std::function<QWidget*(Stage&)> take;
};

// One line per window.
const std::vector<Shot> kShots = {
    {"tarnel_grid", [](Stage& s) { return s.load("vn3_crossing.dat"), s.select(2, 6); }},
    {"unit_data_editor", [](Stage& s) { return s.load("vn3_crossing.dat"), s.select(2, 1), s.tool(ToolWindow::UnitData); }},
    {"weapons_window", [](Stage& s) { return s.load("vn3_crossing.dat"), s.select(2, 1), s.weaponsWindow(1); }},
    {"game_data", [](Stage& s) { return s.load("vn3_crossing.dat"), s.tool(ToolWindow::GameData); }},
    {"position_editor", [](Stage& s) { return s.load("vn3_crossing.dat"), s.position(40, 30, 150, 110); }},
    {"battle_summary", [](Stage& s) { return s.load("vn3_crossing.dat"), s.tool(ToolWindow::BattleSummary); }},
    {"country_stats", [](Stage& s) { return s.load("vn3_crossing.dat"), s.countryStats(2, 0); }},
    {"comment_window", [](Stage& s) { return s.load("vn3_crossing.dat"), s.tool(ToolWindow::Comment); }},
    {"dump_window", [](Stage& s) { return s.load("vn3_crossing.dat"), s.dump(3); }},
    {"file_chooser", [](Stage& s) { return s.chooser(GameFileKind::Vn3); }},
    {"save_changes", [](Stage& s) { return s.load("vn3_crossing.dat"), s.saveChangesQuestion(); }},
    {"csv_paste_warning", [](Stage& s) { return s.load("vn3_crossing.dat"), s.csvPasteWarning(); }},
    {"tarnel_help", [](Stage& s) { return s.help(); }},
    {"compare_window", [](Stage& s) { return s.load("vn3_crossing.dat"), s.compareChecked("vn3_crossing.dat"); }},
    {"find_bar", [](Stage& s) { return s.load("vn3_crossing.dat"), s.find("recon team 4", 2); }},
    {"selected_roll", [](Stage& s) { return s.load("vn3_crossing.dat"), s.selectedRoll(3, 7); }},
    {"rating_spread", [](Stage& s) { return s.spread(); }},
    {"edit_menu", [](Stage& s) { return s.load("vn3_crossing.dat"), s.editMenu(); }},
    {"files_menu", [](Stage& s) { return s.filesMenu(); }},
    {"script_window", [](Stage& s) { return s.load("vn3_crossing.dat"), s.script("check_map_bounds.lua"); }},
    {"orvik_main", [](Stage& s) { return s.orvikLoaded("varno_stand_in.exe", 2); }},
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The shots' recent files and MOB folder are their own, never the user's.
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  if (argc < 3) {
    std::cerr << "usage: screenshots PROGRAM_DIR OUT_DIR [NAME...]\n";
    return 2;
  }
  const std::string programDir = argv[1];
  const QString outDir = QString::fromLocal8Bit(argv[2]);
  std::vector<std::string> only(argv + 3, argv + argc);

  int failed = 0;
  for (const Shot& shot : kShots) {
    if (!only.empty() && std::find(only.begin(), only.end(), shot.name) == only.end()) continue;
    Stage stage(programDir);
    QWidget* w = shot.take(stage);
    const QString file = outDir + QLatin1Char('/') + QLatin1String(shot.name) + QStringLiteral(".png");
    if (!w || stage.prompts.messages > 0 || !w->grab().save(file)) {
      std::cerr << "screenshots: " << shot.name << " failed\n";
      ++failed;
      continue;
    }
    std::cout << file.toStdString() << '\n';
  }
  return failed == 0 ? 0 : 1;
}

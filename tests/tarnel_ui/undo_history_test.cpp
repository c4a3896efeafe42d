// Undo and redo of the open game: the history's property over random command
// sequences, its memory limit, and the Edit menu and keys in the running
// program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QLineEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QAction>
#include <QTest>
#include <random>

#include "common/file_io.h"
#include "editors/battle_summary.h"
#include "editors/turns_form.h"
#include "gamefiles/game_encoders.h"
#include "mainwindow/json_commands.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/compare_form.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_roll_panel.h"
#include "mainwindow/qt_find_bar.h"
#include "mainwindow/qt_history.h"
#include "mainwindow/script_form.h"
#include "ui/qt_text_table.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"
#include "support/undo_property.h"

namespace tarnel {
namespace {

TEST(UndoHistory, RandomCommandSequencesKeepTheHistoryConsistent) {
  testing::TestDir tmp{"tarnel_undo_property"};
  std::mt19937 random(2026);
  for (int run = 0; run < 80; ++run) {
    std::vector<std::uint8_t> bytes(40 + random() % 300);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const std::string fault = testing::checkUndoProperty(bytes, (tmp.path() / "units.csv").string());
    ASSERT_EQ(fault, "") << "run " << run;
  }
}

TEST(UndoHistory, OldestStepsGoFirstBeyondTheMemoryLimitAndTheCleanPointWithThem) {
  testing::QuietPrompts prompts;
  Session s(prompts);
  samplegen::SampleOptions o;
  o.unitsPerSide = 400;
  static_cast<GameDocument&>(s.model) = samplegen::makeGameModel(o);
  s.model.loaded = GameFileKind::Vn3;
  s.model.selectLayout(GameFileKind::Vn3);
  resetGrid(s);
  afterLoad(s);
  GameHistory history(s);
  auto rollAll = [&] {
    runCommand(s, kRollAllCaption, [&] {
      for (RollRow r : kRollRows) rollRating(s, r, initialRollFields(r), 0);
    });
  };
  rollAll();
  const std::size_t oneStep = history.memory();
  // 100 Roll All steps over 400 units hold under 2 MiB.
  EXPECT_LT(100 * oneStep, std::size_t{2} << 20);

  history.setMemoryLimit(3 * oneStep + oneStep / 2);
  std::vector<testing::UndoState> states{testing::UndoState(s)};
  for (int k = 0; k < 5; ++k) {
    rollAll();
    states.emplace_back(s);
  }
  EXPECT_EQ(history.stack()->count(), 3);
  EXPECT_LE(history.memory(), 3 * oneStep + oneStep / 2);
  EXPECT_TRUE(s.modified());
  history.stack()->setIndex(0);
  EXPECT_TRUE(testing::UndoState(s) == states[2]);
  // The loaded state can no longer be reached: the game stays modified.
  EXPECT_TRUE(s.modified());
  history.stack()->setIndex(3);
  EXPECT_TRUE(testing::UndoState(s) == states[5]);
}

// An import that gives side 0 another MOB number reads that side's file;
// undo and redo give back the names and men each state was shown with, also
// when the files changed on disk in between.
TEST(UndoHistory, AnImportOfAnotherMobNumberTakesItsMobTablesIntoTheStep) {
  testing::TestDir tmp{"tarnel_undo_mob"};
  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(common::writeFileSafely((tmp.path() / name).string(), bytes));
  };
  std::vector<std::uint8_t> mob9 = samplegen::makeMobFile(9);
  for (std::size_t t = 1; t < 250; ++t) mob9[13750 + t] = 200;  // men unlike every sample file's
  put("MOB03", samplegen::makeMobFile(3));
  put("MOB09", mob9);

  testing::QuietPrompts prompts;
  Session s(prompts);
  samplegen::SampleOptions o;
  o.kind = GameFileKind::V11;
  o.unitsPerSide = 6;
  static_cast<GameDocument&>(s.model) = samplegen::makeGameModel(o);
  s.model.loaded = GameFileKind::V11;
  s.model.selectLayout(GameFileKind::V11);
  s.model.mobDir = tmp.path().string() + "/";
  resetGrid(s);
  afterLoad(s);
  GameHistory history(s);
  const MobTables loaded = s.mob;
  ASSERT_TRUE(loaded.available[0]);
  ASSERT_FALSE(loaded.available[1]);  // no MOB07
  const std::string menLoaded = summarizeBattle(s, 0).menLine;

  const std::string json = (tmp.path() / "mob.json").string();
  ASSERT_TRUE(common::writeFileSafely(json, std::string_view(R"({"units": [{"index": 0, "weapons": [{"mob": 9}]}]})")));
  prompts.openAnswer = json;
  JsonDialogs dialogs;
  runCommand(s, "Import JSON File", [&] { importJsonFile(s, dialogs); });
  ASSERT_EQ(history.stack()->count(), 1);
  ASSERT_EQ(s.model.sideMob[0], 9);
  const MobTables imported = s.mob;
  EXPECT_NE(imported.weaponName(0, 1), loaded.weaponName(0, 1));
  EXPECT_EQ(imported.menOf(0, 1), 200);
  const std::string menImported = summarizeBattle(s, 0).menLine;
  EXPECT_NE(menImported, menLoaded);

  // The files go: what was read stays with the steps.
  std::filesystem::remove(tmp.path() / "MOB03");
  std::filesystem::remove(tmp.path() / "MOB09");
  history.stack()->undo();
  EXPECT_EQ(s.model.sideMob[0], 3);
  EXPECT_TRUE(s.mob == loaded);
  EXPECT_EQ(summarizeBattle(s, 0).menLine, menLoaded);
  history.stack()->redo();
  EXPECT_TRUE(s.mob == imported);
  EXPECT_EQ(summarizeBattle(s, 0).menLine, menImported);
}

// The program with a VN3 game loaded, the grid holding the keyboard focus.
class UndoWindow : public ::testing::Test {
 protected:
  testing::TestDir tmp{"tarnel_undo_window"};
  testing::ScriptedPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;
  std::vector<std::uint8_t> file;
  std::vector<std::uint8_t> loaded;  // the image as loaded

  void SetUp() override {
    samplegen::SampleOptions o;
    o.unitsPerSide = 12;
    file = encodeGame(samplegen::makeGameModel(o), GameFileKind::Vn3);
    ASSERT_TRUE(common::writeFileSafely(path("game.dat"), file));
    windows = createWindows(prompts, tmp.path().string(), {});
    prompts.chooserAnswers.push_back(path("game.dat"));
    form().LoadVN3Save1->trigger();
    loaded = form().session().model.image();
    form().show();
    form().activateWindow();
    QApplication::processEvents();
    form().FormClick();  // the title picture goes
  }
  std::string path(const char* name) { return (tmp.path() / name).string(); }
  TForm1& form() { return *windows->Form1; }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
    form().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form()));
    form().InfoStringGrid->setFocus();
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : form().InfoStringGrid, k, m);
    QApplication::processEvents();
  }
  std::vector<std::uint8_t> saved(const char* name) {
    prompts.saveAnswers.push_back(path(name));
    form().SaveVN3SaveScn1->trigger();
    return common::readFileBytes(path(name)).value_or(std::vector<std::uint8_t>{});
  }
};

TEST_F(UndoWindow, CtrlZTakesBackACellARollAndAGameDataRetainToTheFileAsLoaded) {
  TForm1& f = form();
  EXPECT_FALSE(f.Undo1->isEnabled());

  QAbstractItemModel* grid = f.InfoStringGrid->model();
  const QString exp = grid->index(2, indexOf(GridColumn::kExp)).data().toString();
  grid->setData(grid->index(2, indexOf(GridColumn::kExp)), "99");
  grid->setData(grid->index(2, indexOf(GridColumn::kExp)), "98");  // the same cell again: one step
  f.RollAllBtn->click();
  TTurnsForm& turns = *windows->TurnsForm;
  f.EditGameData1->trigger();
  QApplication::processEvents();
  const QString turn = turns.TurnEdit->text();
  turns.TurnEdit->setText("9");
  turns.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&turns));
  QTest::mouseClick(turns.RetainButton, Qt::LeftButton);
  EXPECT_EQ(f.history()->stack()->count(), 3);
  EXPECT_EQ(f.Undo1->text(), "Undo Retain Game Data");
  EXPECT_TRUE(f.isWindowModified());

  // Ctrl+Z works in the game data window too, which shows the game as it is again.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(turns.TurnEdit->text(), turn);  // the open window shows the game as it is again
  EXPECT_EQ(f.Undo1->text(), "Undo Roll All");
  EXPECT_EQ(f.Redo1->text(), "Redo Retain Game Data");
  key(Qt::Key_Z);
  EXPECT_EQ(grid->index(2, indexOf(GridColumn::kExp)).data().toString(), "98");
  EXPECT_EQ(f.InfoStringGrid->currentIndex().row(), 0);  // the first unit the roll changed
  key(Qt::Key_Z);
  EXPECT_EQ(grid->index(2, indexOf(GridColumn::kExp)).data().toString(), exp);
  EXPECT_EQ(f.InfoStringGrid->currentIndex().row(), 2);
  EXPECT_FALSE(f.Undo1->isEnabled());
  // Back at the state as loaded: nothing to save, and the file is the same.
  EXPECT_FALSE(f.isWindowModified());
  EXPECT_TRUE(saved("undone.dat") == file);

  // Redo with both keys; a save there is the clean point.
  key(Qt::Key_Y);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(f.Redo1->text(), "Redo Retain Game Data");
  EXPECT_TRUE(f.isWindowModified());
  const auto rolled = saved("rolled.dat");
  EXPECT_FALSE(rolled == file);
  EXPECT_FALSE(f.isWindowModified());
  key(Qt::Key_Z);
  EXPECT_TRUE(f.isWindowModified());
  key(Qt::Key_Y);
  EXPECT_FALSE(f.isWindowModified());
  EXPECT_TRUE(saved("again.dat") == rolled);
  // The saves took the grid's ratings into the image as part of the steps
  // they followed: undoing all still gives the file as loaded.
  f.history()->stack()->setIndex(0);
  EXPECT_TRUE(f.session().model.image() == loaded);
  EXPECT_TRUE(saved("back.dat") == file);
  f.history()->stack()->setIndex(2);

  // Typing in a text field: Ctrl+Z is the field's own.
  f.Rolls->ExpMEdit->setFocus();
  f.Rolls->ExpMEdit->selectAll();
  QTest::keyClicks(f.Rolls->ExpMEdit, "75");
  QTest::keyClick(f.Rolls->ExpMEdit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.Rolls->ExpMEdit->text(), "60");
  EXPECT_EQ(f.Undo1->text(), "Undo Roll All");
  QTest::keyClick(f.Rolls->ExpMEdit, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(f.Rolls->ExpMEdit->text(), "75");
  EXPECT_EQ(f.Undo1->text(), "Undo Roll All");

  // A load empties the history.
  key(Qt::Key_Z);
  prompts.saveChoices.push_back(SaveChoice::Discard);
  prompts.chooserAnswers.push_back(path("game.dat"));
  f.LoadVN3Save1->trigger();
  EXPECT_EQ(f.history()->stack()->count(), 0);
  EXPECT_FALSE(f.isWindowModified());
}

// A cell typed into and left open: every command stores it first, as a step
// of its own, the menu's Undo included, and a restored step leaves no editor
// waiting to be typed over.
TEST_F(UndoWindow, ACellLeftOpenIsStoredAsItsOwnStepBeforeEachCommand) {
  TForm1& f = form();
  QUndoStack& stack = *f.history()->stack();
  QAbstractItemModel* grid = f.InfoStringGrid->model();
  auto exp = [&](int row) { return grid->index(row, indexOf(GridColumn::kExp)).data().toString(); };
  auto typeOpen = [&](int row, const char* text) {
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.InfoStringGrid->setFocus();
    f.InfoStringGrid->setCurrentIndex(grid->index(row, indexOf(GridColumn::kExp)));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor && f.InfoStringGrid->isAncestorOf(editor));
    editor->selectAll();
    QTest::keyClicks(editor, text);
  };

  // Right after the load: Ctrl+F stores the typing, and the game is modified.
  typeOpen(0, "77");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(f.FindBar->isVisible());
  EXPECT_EQ(stack.count(), 1);
  EXPECT_EQ(f.Undo1->text(), "Undo Edit Cell");
  EXPECT_EQ(exp(0), "77");
  EXPECT_TRUE(f.isWindowModified());

  // After another step the typing does not fold into it, nor into the export.
  f.RollAllBtn->click();
  typeOpen(1, "78");
  prompts.saveAnswers.push_back(path("game.json"));
  f.ExportJSONFile1->trigger();
  EXPECT_EQ(stack.count(), 3);
  EXPECT_EQ(f.Undo1->text(), "Undo Edit Cell");
  EXPECT_EQ(exp(1), "78");

  typeOpen(2, "79");
  prompts.openAnswers.push_back(path("game.dat"));
  f.CompareWithFile1->trigger();
  EXPECT_EQ(stack.count(), 4);
  ASSERT_NE(f.compareForm(), nullptr);
  EXPECT_FALSE(f.compareForm()
                   ->DifferenceList->findItems(QStringLiteral("^units\\[2\\] .*: exp 79 -> "), Qt::MatchRegularExpression)
                   .isEmpty());

  // Edit > Undo while typing: the typing is stored, then undone; nothing is
  // pushed while the step is undone, so the redo step stays.
  const QString exp3 = exp(3);
  typeOpen(3, "80");
  f.Undo1->trigger();
  EXPECT_EQ(stack.count(), 5);
  EXPECT_EQ(stack.index(), 4);
  EXPECT_EQ(f.Redo1->text(), "Redo Edit Cell");
  EXPECT_EQ(exp(3), exp3);
  EXPECT_TRUE(f.isWindowModified());
  // The restored unit's row is selected, with no cell editor open on it.
  EXPECT_EQ(f.InfoStringGrid->currentIndex().row(), 3);
  EXPECT_TRUE(f.InfoStringGrid->selectionModel()->isRowSelected(3, {}));
  EXPECT_EQ(f.InfoStringGrid->indexWidget(f.InfoStringGrid->currentIndex()), nullptr);
  f.Redo1->trigger();
  EXPECT_EQ(exp(3), "80");
  EXPECT_EQ(f.InfoStringGrid->indexWidget(f.InfoStringGrid->currentIndex()), nullptr);

  // Undo all: the game as loaded, unmodified, saved byte for byte.
  while (f.Undo1->isEnabled()) f.Undo1->trigger();
  EXPECT_EQ(stack.count(), 5);
  EXPECT_FALSE(f.isWindowModified());
  EXPECT_TRUE(f.session().model.image() == loaded);
  EXPECT_TRUE(saved("undone.dat") == file);
}

// A sample script run from the Script window is one step; two lines taken
// from a compared file are another, and the window compares again.
TEST_F(UndoWindow, RunScriptAndTakeFromFileAreOneStepEach) {
  TForm1& f = form();
  QUndoStack& stack = *f.history()->stack();
  const UnitGridTable& grid = f.session().grid;
  auto exp = [&](int unit) { return grid.cell(GridColumn::kExp, unit + 1); };
  std::vector<std::string> before;
  for (int u = 0; u < 24; ++u) before.push_back(exp(u));

  f.RunScript1->trigger();
  TScriptForm* script = f.scriptForm();
  ASSERT_NE(script, nullptr);
  EXPECT_TRUE(script->isVisible());
  ASSERT_TRUE(script->loadScript(std::string(TEST_SOURCE_DIR) + "/samples/scripts/core_experience.lua"));
  script->RunBtn->click();
  EXPECT_TRUE(script->OutputMemo->toPlainText().contains(QStringLiteral("gained experience"))) << script->OutputMemo->toPlainText().toStdString();
  EXPECT_EQ(stack.count(), 1);
  EXPECT_EQ(f.Undo1->text(), "Undo Run Script");
  int raised = 0;
  for (int u = 0; u < 24; ++u) {
    const bool core = grid.cell(GridColumn::kSide, u + 1) == grid.cell(GridColumn::kSide, 1);
    if (exp(u) != before[static_cast<std::size_t>(u)]) ++raised;
    if (!core) {
      EXPECT_EQ(exp(u), before[static_cast<std::size_t>(u)]) << u;
    }
  }
  EXPECT_GT(raised, 0);
  // An error leaves the game and the history as they were.
  script->ScriptEdit->setPlainText(QStringLiteral("game.units[1].exp = 1\nerror('stop')"));
  script->RunBtn->click();
  EXPECT_TRUE(script->OutputMemo->toPlainText().contains(QStringLiteral("stop"))) << script->OutputMemo->toPlainText().toStdString();
  EXPECT_EQ(stack.count(), 1);
  f.Undo1->trigger();
  for (int u = 0; u < 24; ++u) EXPECT_EQ(exp(u), before[static_cast<std::size_t>(u)]) << u;

  // B holds other ratings for units 0 and 1: two of its lines are taken.
  GameModel other = f.session().model;
  for (int u = 0; u < 2; ++u) other.setUnitByte(u, other.layout->experience, 3 + u);
  other.setUnitByte(5, other.layout->morale, 4);
  ASSERT_TRUE(writeGameFile(path("other.dat"), other, GameFileKind::Vn3));
  prompts.openAnswers.push_back(path("other.dat"));
  f.CompareWithFile1->trigger();
  TCompareForm* compare = f.compareForm();
  ASSERT_NE(compare, nullptr);
  QListWidget* list = compare->DifferenceList;
  ASSERT_EQ(list->count(), 3);
  EXPECT_FALSE(compare->TakeBtn->isEnabled());
  for (int r = 0; r < 2; ++r) list->item(r)->setCheckState(Qt::Checked);
  EXPECT_TRUE(compare->TakeBtn->isEnabled());
  compare->TakeBtn->click();
  EXPECT_EQ(exp(0), "3");
  EXPECT_EQ(exp(1), "4");
  EXPECT_EQ(f.Undo1->text(), "Undo Take From File");
  ASSERT_EQ(list->count(), 1);  // compared again: the morale line is left
  EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("units[5] "))) << list->item(0)->text().toStdString();
  EXPECT_TRUE(compare->FileLbl->text().contains(QStringLiteral("Took 2 fields from B.")));
  // Check All on a unit's line, then Escape closes the window.
  list->setCurrentRow(0);
  compare->CheckAll1->trigger();
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  compare->CheckNone1->trigger();
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  compare->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(compare));
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(compare->isVisible());
  f.Undo1->trigger();
  EXPECT_EQ(exp(0), before[0]);
  EXPECT_EQ(exp(1), before[1]);
}

}  // namespace
}  // namespace tarnel

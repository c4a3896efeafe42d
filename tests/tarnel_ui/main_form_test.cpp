// The main window driven as a user would: menu items, buttons and grid cells
// of the real TForm1, with scripted dialogs answering.
#include "mainwindow/main_form.h"
#include "mainwindow/qt_file_commands.h"
#include "mainwindow/qt_title_picture.h"
#include "mainwindow/qt_roll_panel.h"
#include "mainwindow/qt_find_bar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game_sample.h"
#include "gamefiles/game_encoders.h"
#include "mainwindow/compare_form.h"
#include "mainwindow/qt_help_viewer.h"
#include "mainwindow/qt_history.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "mainwindow/spread_form.h"
#include "common/file_io.h"
#include "common/int_convert.h"
#include "support/scripted_prompts.h"
#include "mainwindow/main_commands.h"

namespace tarnel {
namespace {

using common::readFileBytes;
using common::writeFileSafely;
using common::lowerCase;

using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const std::string& path) {
  auto bytes = readFileBytes(path);
  return bytes ? *bytes : Bytes{};
}

void putText(GameModel& m, std::int64_t at, std::string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k)
    m.setByteAt(at + static_cast<std::int64_t>(k), static_cast<unsigned char>(text[k]));
}

Bytes fileOf(const GameModel& m, GameFileKind kind) { return encodeGame(m, kind); }

// A game whose 60 side-0 units each lead their own formation, so that the
// designations run past Z, with leader names that test the grid's filter.
GameModel designationGame(GameFileKind kind) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.unitsPerSide = 60;
  o.nation0 = 12;  // "USA"
  o.nation1 = 50;  // names no entry
  GameModel m = samplegen::makeGameModel(o);
  const GenerationLayout& L = *m.layout;
  for (int i = 0; i < 60; ++i) {
    m.setUnitByte(i, L.formation, i);
    m.setUnitByte(i, L.formationIndex, 1);
  }
  auto leaderName = [&](int leader, std::string_view bytes) {
    for (int k = 0; k < kLeaderNameBytes; ++k) m.setByteAt(m.leaderOffset(leader) + k, 0);
    putText(m, m.leaderOffset(leader), bytes);
  };
  leaderName(0, std::string_view("Smith\0John", 10));
  leaderName(1, "ABCDEFGHIJKLMNOP");  // no NUL in the first 15 bytes
  leaderName(2, "Ann{\x80Lee");        // bytes above 123 read as NUL
  leaderName(3, "Ab|Cd\x1f");
  return m;
}

class MainFormTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  testing::ScriptedPrompts prompts;
  std::unique_ptr<TarnelWindows> app;  // the document and the main window alone
  TForm1* form = nullptr;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    // The sides' weapon-name files beside the program, so loads stay quiet.
    for (int mob : {3, 7}) {
      char name[8];
      std::snprintf(name, sizeof name, "%02d", mob);
      EXPECT_TRUE(writeFileSafely(path(std::string("MOB") + name), samplegen::makeMobFile(mob)));
      EXPECT_TRUE(writeFileSafely(path(std::string("KOB") + name), samplegen::makeMobFile(mob)));
    }
    app = createMainWindow(prompts, programDir(), {});
    form = app->Form1.get();
  }

  std::string programDir() const { return dir.path().toStdString(); }
  std::string path(const std::string& name) const { return programDir() + "/" + name; }
  Session& session() { return form->session(); }
  const UnitGridTable& grid() { return session().grid; }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string p = path(name);
    EXPECT_TRUE(writeFileSafely(p, bytes));
    return p;
  }

  void load(QAction* item, const std::string& file) {
    prompts.chooserAnswers.push_back(file);
    item->trigger();
  }

  void typeCell(GridColumn col, int row, const std::string& text) {
    auto* model = form->InfoStringGrid->model();
    model->setData(model->index(row - 1, indexOf(col)), QString::fromStdString(text), Qt::EditRole);
  }

  std::vector<std::string> column(GridColumn col) {
    std::vector<std::string> cells;
    for (int r = 1; r < grid().rowCount(); ++r) cells.push_back(grid().cell(col, r));
    return cells;
  }

  std::vector<std::string> shownErrors() const { return prompts.errors; }
};

// ---- Window, menu, controls -----------------------------------------------

TEST_F(MainFormTest, WindowShowsItsControlsBeforeAnyLoad) {
  EXPECT_EQ(form->windowTitle(), "Varno Editor[*]");
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_EQ(form->SideRG->title(), "Side");
  EXPECT_EQ(form->SideRGItems[0]->text(), "Side 0");
  EXPECT_EQ(form->SideRGItems[1]->text(), "Side 1");
  EXPECT_TRUE(form->SideRGItems[0]->isChecked());
  EXPECT_EQ(form->sideIndex(), 0);
  EXPECT_EQ(form->FileLbl->text(), "File");
  EXPECT_EQ(form->AmmoBtn->text(), "Unit Data");
  EXPECT_EQ(form->RollAllBtn->text(), "Roll All");

  // Five empty rows, no headings yet; the name columns are wider.
  EXPECT_EQ(form->InfoStringGrid->model()->rowCount(), 4);
  EXPECT_EQ(form->InfoStringGrid->model()->columnCount(), 10);
  EXPECT_EQ(form->InfoStringGrid->model()->headerData(1, Qt::Horizontal).toString(), "");
  const std::vector<int> widths = {32, 32, 130, 130, 32, 32, 32, 32, 32, 32};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(form->InfoStringGrid->columnWidth(c), widths[static_cast<std::size_t>(c)]);
  EXPECT_TRUE(form->InfoStringGrid->editTriggers() & QAbstractItemView::CurrentChanged);
}

TEST_F(MainFormTest, RollPanelFieldsHaveTheirNamesAndInitialTexts) {
  const char* expected[5][7] = {{"60", "4", "6", "2", "6", "0", "100"},
                                {"50", "4", "6", "2", "6", "0", "100"},
                                {"40", "4", "6", "2", "6", "0", "100"},
                                {"60", "4", "6", "2", "6", "0", "100"},
                                {"20", "3", "6", "2", "6", "0", "100"}};
  const char* prefixes[5] = {"Exp", "Mor", "Ral", "Sk1", "Sk2"};
  const char* suffixes[7] = {"MEdit", "PDEdit", "PSEdit", "MDEdit", "MSEdit", "MinEdit", "MaxEdit"};
  for (std::size_t r = 0; r < 5; ++r) {
    const auto edits = form->Rolls->rollEdits(kRollRows[r]);
    for (std::size_t f = 0; f < 7; ++f) {
      EXPECT_EQ(edits[f]->text(), expected[r][f]);
      EXPECT_EQ(edits[f]->objectName(), QString(prefixes[r]) + suffixes[f]);
      EXPECT_EQ(form->findChild<QLineEdit*>(QString(prefixes[r]) + suffixes[f]), edits[f]);
    }
  }
  EXPECT_EQ(form->Rolls->ExpMEdit->text(), "60");
  EXPECT_EQ(form->Rolls->Sk2PDEdit->text(), "3");
  EXPECT_EQ(form->Rolls->ExpRollBtn->text(), "Exp Roll");
  EXPECT_EQ(form->Rolls->MorRollBtn->text(), "Mor Roll");
  EXPECT_EQ(form->Rolls->RalRollBtn->text(), "Rally Roll");
  EXPECT_EQ(form->Rolls->Sk1RollBtn->text(), "Sk1 Roll");
  EXPECT_EQ(form->Rolls->Sk2RollBtn->text(), "Sk2 Roll");
  QStringList labels;
  for (const QLabel* l : form->findChildren<QLabel*>()) labels << l->text();
  for (const char* text : {"Base", "d", "s", "d1", "s1", "Min", "Max", "+", "x", "-", "Exp", "Mor", "Ral", "Sk1", "Sk2"})
    EXPECT_TRUE(labels.contains(text)) << text;
}

QStringList captions(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions())
    if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

TEST_F(MainFormTest, MenuHoldsTheCommandsThatExist) {
  EXPECT_EQ(form->Files1->title(), "Files");
  EXPECT_EQ(captions(form->Files1),
            (QStringList{"Open...", "-", "Load VN2 V1.0 Scen/Save File", "Save VN2 V1.0 Scen/Save File", "-",
                         "Load VN2 V1.1 Scen/Save File", "Save VN2 V1.1 Scen/Save File", "-",
                         "Load VN3 Scen/Save File", "Save VN3 Scen/Save File", "-", "Load Comment File",
                         "Save Comment File", "-", "Locate MOB Files", "-", "Paste CSV Unit File",
                         "Save CSV Unit File", "-", "Save", "Save As...", "Recent Files", "-",
                         "Export JSON File", "Import JSON File", "-", "Exit Tarnel"}));
  EXPECT_EQ(form->Edit1->title(), "Edit");
  EXPECT_EQ(captions(form->Edit1), (QStringList{"Undo", "Redo", "-", "Find"}));
  EXPECT_EQ(form->Find1->shortcut(), QKeySequence(QKeySequence::Find));
  EXPECT_EQ(form->Help2->title(), "Help");
  EXPECT_EQ(captions(form->Help2), (QStringList{"About", "Help"}));
  QStringList menus;
  for (QAction* a : form->MainMenu1->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"Files", "Edit", "Tools", "Help"}));
  // No window has joined: no Tools menu and no working "Unit Data" button.
  EXPECT_FALSE(form->Tools1->menuAction()->isVisible());
  EXPECT_FALSE(form->AmmoBtn->isEnabled());
}

TEST_F(MainFormTest, ToolWindowsJoinTheMenuAndOpenWithoutBlocking) {
  QWidget editor;
  form->attachWindow(ToolWindow::UnitData, &editor);
  EXPECT_TRUE(form->Tools1->menuAction()->isVisible());
  EXPECT_TRUE(form->Ammo1->isVisible());
  EXPECT_EQ(form->Ammo1->text(), "Edit Unit Data");
  EXPECT_FALSE(form->EditGameData1->isVisible());
  EXPECT_TRUE(form->AmmoBtn->isEnabled());
  form->AmmoBtn->click();
  EXPECT_TRUE(editor.isVisible());

  // Every load but the command-line load closes the unit data editor.
  const std::string file = write("a.dat", fileOf(designationGame(GameFileKind::Vn3), GameFileKind::Vn3));
  load(form->LoadVN3Save1, file);
  EXPECT_FALSE(editor.isVisible());
  form->Ammo1->trigger();
  EXPECT_TRUE(editor.isVisible());
  startupLoad(session(), file);
  EXPECT_TRUE(editor.isVisible());
  form->attachWindow(ToolWindow::UnitData, nullptr);
}

// ---- Loads and the grid fill ----------------------------------------------

TEST_F(MainFormTest, Vn3LoadFillsDesignationsLeadersAndSides) {
  const std::string file = write("Scen.DAT", fileOf(designationGame(GameFileKind::Vn3), GameFileKind::Vn3));
  load(form->LoadVN3Save1, file);

  ASSERT_EQ(prompts.chooserSeen.size(), 1u);
  EXPECT_EQ(prompts.chooserSeen[0].caption, "Open Version 1.1 file");
  EXPECT_EQ(prompts.chooserSeen[0].mask, "*.dat");
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
  EXPECT_EQ(form->FileLbl->text().toStdString(), "Edit(VN3): " + lowerCase(file));

  auto* model = form->InfoStringGrid->model();
  ASSERT_EQ(model->rowCount(), 120);
  QStringList headings;
  for (int c = 0; c < 10; ++c) headings << model->headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(headings, (QStringList{"Side", " Unit", " Unit Name", " Leaders", "Exp", "Mor", "Ral", "Inf", "Art", "Arm"}));

  const auto units = column(GridColumn::kUnit);
  EXPECT_EQ(units[0], " A1");
  EXPECT_EQ(units[25], " Z1");
  EXPECT_EQ(units[26], "AA1");
  EXPECT_EQ(units[51], "AZ1");
  EXPECT_EQ(units[52], "BA1");
  EXPECT_EQ(units[60], " a1");  // side 1's first formation, four units to it
  EXPECT_EQ(units[63], " a4");
  EXPECT_EQ(units[64], " b1");
  EXPECT_EQ(column(GridColumn::kSide)[0], "0");
  EXPECT_EQ(column(GridColumn::kSide)[60], "1");

  const auto leaders = column(GridColumn::kLeader);
  EXPECT_EQ(leaders[0], "Smith/John");
  EXPECT_EQ(leaders[1], "ABCDEFGHIJKLMNO/");
  EXPECT_EQ(leaders[2], "Ann{/Lee");
  EXPECT_EQ(leaders[3], "Ab/Cd");
  EXPECT_EQ(model->data(model->index(0, indexOf(GridColumn::kLeader))).toString(), "Smith/John");

  // Side names from the nation tables; a number with no entry names nobody.
  EXPECT_EQ(form->SideRGItems[0]->text(), "USA");
  EXPECT_EQ(form->SideRGItems[1]->text(), "");
  EXPECT_EQ(session().model.sideMob[0], 3);
}

TEST_F(MainFormTest, EachGenerationLoadsThroughItsOwnCommand) {
  samplegen::SampleOptions o;
  o.unitsPerSide = 6;
  o.nation0 = 0;
  o.nation1 = 36;
  o.kind = GameFileKind::V10;
  const std::string v10 = write("v10.dat", samplegen::makeGameFile(o));
  o.kind = GameFileKind::V11;
  o.nation0 = 91;
  o.nation1 = 70;
  const std::string v11 = write("v11.dat", samplegen::makeGameFile(o));

  load(form->LoadScenarioFile1, v10);
  EXPECT_EQ(prompts.chooserSeen.back().caption, "Open Version 1.0 file");
  EXPECT_EQ(form->FileLbl->text().toStdString(), "Edit(1.0): " + lowerCase(v10));
  EXPECT_EQ(form->SideRGItems[0]->text(), "West Germany");
  EXPECT_EQ(form->SideRGItems[1]->text(), "East Germany");
  EXPECT_EQ(grid().rowCount(), 13);

  load(form->LoadVer11Save1, v11);
  EXPECT_EQ(form->FileLbl->text().toStdString(), "Edit(1.1): " + lowerCase(v11));
  EXPECT_EQ(form->SideRGItems[0]->text(), "Free France");
  EXPECT_EQ(form->SideRGItems[1]->text(), "Germany");
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();

  // Each sectioned load refuses the other generation's magic.
  load(form->LoadVN3Save1, v11);
  EXPECT_EQ(prompts.lastText(), "This is not a VN 3 version 1.0 saved game!");
  EXPECT_EQ(prompts.lastTitle(), "Fatal Error");
  EXPECT_EQ(session().model.loaded, GameFileKind::V11);
}

TEST_F(MainFormTest, AFileWithNoUnitsShowsOnlyTheHeadings) {
  GameModel m = designationGame(GameFileKind::Vn3);
  m.setUnitByte(0, m.layout->name, 0);
  load(form->LoadVN3Save1, write("empty.dat", fileOf(m, GameFileKind::Vn3)));
  EXPECT_EQ(grid().rowCount(), 1);
  EXPECT_EQ(form->InfoStringGrid->model()->rowCount(), 0);
  EXPECT_EQ(form->SideRGItems[0]->text(), "");
  EXPECT_EQ(form->SideRGItems[1]->text(), "");
}

TEST_F(MainFormTest, MoreThan800UnitsAreReportedAndCutToTheCapacity) {
  // A unit section of 810 records, more than a VN3 game holds.
  GameModel m;
  m.selectLayout(GameFileKind::Vn3);
  const int units = 810;
  std::int32_t at = kHeaderSize;
  auto place = [&](int position, int length) {
    m.sectionOffset[position] = at;
    m.sectionLength[position] = length;
    m.sectionId[position] = position;
    at += length;
  };
  place(kUnitSection, units * kVn3Layout.unitStride);
  place(kPasswordSection, 16);
  place(kLeaderSection, units * kLeaderStride);
  place(kGameDataSection, 400);
  for (int i = 0; i < units; ++i) {
    putText(m, m.unitOffset(i), "Unit");
    m.setUnitByte(i, kVn3Layout.side, i % 2);
    m.setLeaderByte(i, LeaderField::kInfantry, 10);
  }
  load(form->LoadVN3Save1, write("big.dat", fileOf(m, GameFileKind::Vn3)));
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages[0].text, "You have exceed the unit capacity of Tarnel.\nPlease EXIT.");
  EXPECT_EQ(prompts.messages[0].title, "Error");
  EXPECT_EQ(grid().rowCount(), 801);
  EXPECT_EQ(session().model.unitCount, 800);
  // The rolls keep to the grid's rows.
  form->Rolls->Sk2RollBtn->click();
  EXPECT_TRUE(shownErrors().empty());
}

TEST_F(MainFormTest, CommandLineLoadTakesEveryGenerationAndSaysWhyNot) {
  const std::string vn3 = write("cl.dat", fileOf(designationGame(GameFileKind::Vn3), GameFileKind::Vn3));
  auto startedApp = createMainWindow(prompts, programDir(), {vn3});
  TForm1& started = *startedApp->Form1;
  EXPECT_TRUE(prompts.chooserSeen.empty());
  EXPECT_EQ(started.session().model.loaded, GameFileKind::Vn3);
  EXPECT_EQ(started.FileLbl->text().toStdString(), "Edit(VN3): " + lowerCase(vn3));
  EXPECT_EQ(started.session().grid.cell(GridColumn::kLeader, 1), "Smith/John");
  EXPECT_FALSE(started.session().model.commandLineLoad);

  samplegen::SampleOptions o;
  o.kind = GameFileKind::V10;
  const std::string v10 = write("cl10.dat", samplegen::makeGameFile(o));
  auto v10App = createMainWindow(prompts, programDir(), {v10});
  EXPECT_EQ(v10App->Form1->session().model.loaded, GameFileKind::V10);
  EXPECT_TRUE(prompts.chooserSeen.empty());
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
  // A file that cannot be loaded says why instead of starting empty.
  auto missingApp = createMainWindow(prompts, programDir(), {path("nothing.dat")});
  TForm1& missing = *missingApp->Form1;
  EXPECT_EQ(missing.session().model.loaded, GameFileKind::None);
  EXPECT_EQ(missing.FileLbl->text(), "File");
  EXPECT_EQ(prompts.lastText(), "Couldn't open save file");
}

TEST_F(MainFormTest, PasswordProtectedFileClosesTheWindow) {
  samplegen::SampleOptions o;
  o.password = true;
  const std::string file = write("locked.dat", samplegen::makeGameFile(o));
  form->show();
  int closed = 0;
  QObject::connect(form, &TForm1::mainWindowClosed, [&] { ++closed; });
  load(form->LoadVN3Save1, file);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages[0].text, "Password protected file. Preparing to exit");
  EXPECT_EQ(prompts.messages[0].title, "Security Violation");
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(form->isVisible());

  auto startedApp = createMainWindow(prompts, programDir(), {file});
  TForm1& started = *startedApp->Form1;
  EXPECT_TRUE(started.session().passwordRefused);
}

// Unsaved edits show in the title and are never dropped without asking: not
// by Exit, not by closing the window, not by the refusal of a protected file.
TEST_F(MainFormTest, UnsavedChangesAreShownAndAskedForBeforeTheyAreLost) {
  samplegen::SampleOptions o;
  o.unitsPerSide = 40;
  const std::string file = write("game.dat", samplegen::makeGameFile(o));
  o.password = true;
  const std::string locked = write("locked.dat", samplegen::makeGameFile(o));
  form->show();
  form->InfoStringGrid->scrollTo(form->InfoStringGrid->model()->index(70, 0));
  load(form->LoadVN3Save1, file);
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_EQ(form->InfoStringGrid->rowAt(0), 0);  // a load shows the first unit
  int closed = 0;
  QObject::connect(form, &TForm1::mainWindowClosed, [&] { ++closed; });

  typeCell(GridColumn::kExp, 1, "12");
  EXPECT_TRUE(form->isWindowModified());
  form->ExitTarnel1->trigger();  // Cancel
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0].title, "Tarnel");
  EXPECT_EQ(closed, 0);
  EXPECT_TRUE(form->isVisible());

  // A load would replace the edited game: Cancel keeps it, without a chooser.
  const std::size_t chooserRuns = prompts.chooserSeen.size();
  form->LoadVer11Save1->trigger();
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(prompts.chooserSeen.size(), chooserRuns);
  EXPECT_EQ(grid().cell(GridColumn::kExp, 1), "12");

  // The protected file is refused before it touches the open game (the
  // question before the load is answered Discard, the one at the exit Cancel).
  prompts.saveChoices = {SaveChoice::Discard};
  load(form->LoadVN3Save1, locked);
  EXPECT_EQ(prompts.messages.back().text, "Password protected file. Preparing to exit");
  EXPECT_EQ(closed, 0);
  EXPECT_EQ(grid().cell(GridColumn::kExp, 1), "12");
  EXPECT_EQ(session().model.currentPath, file);

  // Save runs the generation's save; the window then closes.
  prompts.saveChoices = {SaveChoice::Discard, SaveChoice::Save};
  prompts.saveAnswers.push_back(path("saved.dat"));
  load(form->LoadVN3Save1, locked);
  EXPECT_EQ(closed, 1);
  Session reread(prompts);
  reread.setProgramDir(programDir());
  prompts.chooserAnswers.push_back(path("saved.dat"));
  loadGame(reread, GameFileKind::Vn3);
  EXPECT_EQ(reread.grid.cell(GridColumn::kExp, 1), "12");

  // A save clears the mark; Discard closes without saving.
  auto otherApp = createMainWindow(prompts, programDir(), {file});
  TForm1& other = *otherApp->Form1;
  typeCell(GridColumn::kMor, 1, "1");
  other.show();
  other.session().markModified();
  EXPECT_TRUE(other.isWindowModified());
  prompts.saveChoices = {SaveChoice::Discard};
  EXPECT_TRUE(other.close());
  EXPECT_EQ(prompts.questions.size(), 7u);
}

// ---- Saves ------------------------------------------------------------------

TEST_F(MainFormTest, TypedRatingsSurviveSaveAndReloadInEachGeneration) {
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3}) {
    SCOPED_TRACE(static_cast<int>(kind));
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 12;
    const GameModel original = samplegen::makeGameModel(o);
    const std::string in = write("in.dat", fileOf(original, kind));
    const std::string out = path("out.dat");
    QAction* loadItem = kind == GameFileKind::V10   ? form->LoadScenarioFile1
                        : kind == GameFileKind::V11 ? form->LoadVer11Save1
                                                    : form->LoadVN3Save1;
    QAction* saveItem = kind == GameFileKind::V10   ? form->SaveScenarioFile1
                        : kind == GameFileKind::V11 ? form->SaveVer11Save1
                                                    : form->SaveVN3SaveScn1;
    load(loadItem, in);

    // An untouched game saves byte for byte as it was read.
    prompts.saveAnswers.push_back(out);
    saveItem->trigger();
    EXPECT_EQ(readAll(out), readAll(in));

    typeCell(GridColumn::kExp, 1, "77");
    typeCell(GridColumn::kMor, 2, "$10");
    typeCell(GridColumn::kArm, 3, "300");  // stored modulo 256
    typeCell(GridColumn::kRal, 24, "-1");
    typeCell(GridColumn::kName, 1, "Renamed");  // only the rating columns are read back
    auto* view = form->InfoStringGrid;
    view->setCurrentIndex(view->model()->index(23, indexOf(GridColumn::kRal)));
    prompts.saveAnswers.push_back(out);
    prompts.busyCalls = 0;
    saveItem->trigger();
    EXPECT_TRUE(shownErrors().empty());
    EXPECT_EQ(prompts.busyCalls, 1);
    EXPECT_EQ(prompts.busyDepth, 0);

    GameModel expected = original;
    const GenerationLayout& L = *expected.layout;
    expected.setUnitByte(0, L.experience, 77);
    expected.setUnitByte(1, L.morale, 16);
    expected.setLeaderByte(2, LeaderField::kArmour, 44);
    expected.setLeaderByte(23, LeaderField::kRally, 255);
    EXPECT_EQ(readAll(out), fileOf(expected, kind));
    // The grid shows at once what the file holds, not what was typed.
    EXPECT_EQ(grid().cell(GridColumn::kMor, 2), "16");
    EXPECT_EQ(grid().cell(GridColumn::kArm, 3), "44");
    EXPECT_EQ(grid().cell(GridColumn::kRal, 24), "255");
    EXPECT_EQ(grid().cell(GridColumn::kName, 1), original.unitName(0));
    EXPECT_FALSE(session().modified());
    EXPECT_EQ(view->currentIndex().row(), 23);

    load(loadItem, out);
    EXPECT_EQ(grid().cell(GridColumn::kExp, 1), "77");
    EXPECT_EQ(grid().cell(GridColumn::kMor, 2), "16");
    EXPECT_EQ(grid().cell(GridColumn::kArm, 3), "44");
    EXPECT_EQ(grid().cell(GridColumn::kRal, 24), "255");
    EXPECT_NE(grid().cell(GridColumn::kName, 1), "Renamed");
  }
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
}

TEST_F(MainFormTest, SaveDialogIsSetUpByEachSave) {
  samplegen::SampleOptions o;
  const std::string in = write("dlg.dat", samplegen::makeGameFile(o));
  load(form->LoadVN3Save1, in);
  const std::string first = path("first.dat");
  prompts.saveAnswers.push_back(first);
  form->SaveVN3SaveScn1->trigger();
  prompts.saveAnswers.push_back(std::nullopt);
  form->SaveVN3SaveScn1->trigger();
  ASSERT_EQ(prompts.saveSeen.size(), 2u);
  const FileDialogState& d = prompts.saveSeen[0];
  EXPECT_EQ(d.title, "Save Version 1.1 Scenario");
  EXPECT_EQ(d.filter, "Scenarios (*.dat)|*.dat|All files (*.*)| *.*");
  EXPECT_EQ(d.defaultExt, "dat");
  EXPECT_TRUE(d.overwritePrompt);
  EXPECT_EQ(d.fileName, in);
  EXPECT_EQ(d.initialDir, programDir());
  // The second save offers the first save's path; the label shows it bare.
  EXPECT_EQ(prompts.saveSeen[1].fileName, first);
  EXPECT_EQ(form->FileLbl->text().toStdString(), lowerCase(first));
}

TEST_F(MainFormTest, BadCellStopsTheSaveBeforeTheDialog) {
  samplegen::SampleOptions o;
  const std::string in = write("bad.dat", samplegen::makeGameFile(o));
  load(form->LoadVN3Save1, in);
  typeCell(GridColumn::kInf, 5, "4x");
  prompts.saveAnswers.push_back(path("never.dat"));
  form->SaveVN3SaveScn1->trigger();
  EXPECT_EQ(shownErrors(), (std::vector<std::string>{"'4x' is not a valid integer value"}));
  EXPECT_TRUE(prompts.saveSeen.empty());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path("never.dat"))));
  EXPECT_TRUE(form->isEnabled());
}

TEST_F(MainFormTest, SaveOfAnotherGenerationIsRefused) {
  samplegen::SampleOptions o;
  load(form->LoadVN3Save1, write("g.dat", samplegen::makeGameFile(o)));
  form->SaveVer11Save1->trigger();
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN2 Version 1.1 file. Aborting");
  EXPECT_EQ(prompts.lastTitle(), "Error");
  form->SaveScenarioFile1->trigger();
  EXPECT_EQ(prompts.lastText(), "You are not editing a VN2 Vesrion 1.0 or 1.01 File. Aborting");
  EXPECT_TRUE(prompts.saveSeen.empty());
}

// ---- Rolls through the buttons --------------------------------------------

class RollButtonsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    samplegen::SampleOptions o;
    o.unitsPerSide = 30;
    GameModel m = samplegen::makeGameModel(o);
    // Unit 0 ties Inf and Art for the largest value: class 'T'.
    m.setLeaderByte(0, LeaderField::kInfantry, 40);
    m.setLeaderByte(0, LeaderField::kArtillery, 40);
    m.setLeaderByte(0, LeaderField::kArmour, 10);
    // Unit 1 is class 'I'.
    m.setLeaderByte(1, LeaderField::kInfantry, 70);
    m.setLeaderByte(1, LeaderField::kArtillery, 20);
    m.setLeaderByte(1, LeaderField::kArmour, 30);
    file = write("rolls.dat", fileOf(m, GameFileKind::Vn3));
    session().clock = [] { return 4242u; };
    load(form->LoadVN3Save1, file);
    ASSERT_EQ(grid().rowCount(), 61);
  }

  std::vector<std::vector<std::string>> rows(int first, int last) {
    std::vector<std::vector<std::string>> out;
    for (int r = first; r <= last; ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < kGridColumns; ++c) row.push_back(grid().cell(c, r));
      out.push_back(row);
    }
    return out;
  }

  int value(GridColumn col, int row) { return toInt(grid().cell(col, row)); }

  std::string file;
};

TEST_F(RollButtonsTest, ClassesAreComputedAtLoad) {
  EXPECT_EQ(session().PrimarySkillClass[0], 'T');
  EXPECT_EQ(session().PrimarySkillClass[1], 'I');
}

TEST_F(RollButtonsTest, ExpRollWritesTheChosenSideOnly) {
  const auto side1 = rows(31, 60);
  form->Rolls->ExpRollBtn->click();
  for (int r = 1; r <= 30; ++r) {
    EXPECT_GE(value(GridColumn::kExp, r), 52);
    EXPECT_LE(value(GridColumn::kExp, r), 82);
  }
  EXPECT_EQ(rows(31, 60), side1);
  EXPECT_TRUE(shownErrors().empty());
}

TEST_F(RollButtonsTest, SkillRollsFollowTheClassColumns) {
  form->Rolls->Sk1MEdit->setText("99");
  form->Rolls->Sk1PDEdit->setText("0");
  form->Rolls->Sk1MDEdit->setText("0");
  form->Rolls->Sk2MEdit->setText("5");
  form->Rolls->Sk2PDEdit->setText("0");
  form->Rolls->Sk2MDEdit->setText("0");
  form->Rolls->Sk1RollBtn->click();
  form->Rolls->Sk2RollBtn->click();
  // Class 'T' (a tie): Sk1 writes Arm, Sk2 writes Inf and Art.
  EXPECT_EQ(grid().cell(GridColumn::kArm, 1), "99");
  EXPECT_EQ(grid().cell(GridColumn::kInf, 1), "5");
  EXPECT_EQ(grid().cell(GridColumn::kArt, 1), "5");
  // Class 'I': Sk1 writes Inf, Sk2 writes Art and Arm.
  EXPECT_EQ(grid().cell(GridColumn::kInf, 2), "99");
  EXPECT_EQ(grid().cell(GridColumn::kArt, 2), "5");
  EXPECT_EQ(grid().cell(GridColumn::kArm, 2), "5");
}

TEST_F(RollButtonsTest, TheSameClockGivesTheSameRolls) {
  form->RollAllBtn->click();
  const auto first = rows(1, 60);
  prompts.saveChoices = {SaveChoice::Discard, SaveChoice::Discard};  // the rolls are given up
  load(form->LoadVN3Save1, file);  // seeds the dice from the clock again
  form->RollAllBtn->click();
  EXPECT_EQ(rows(1, 60), first);
  session().clock = [] { return 4243u; };
  load(form->LoadVN3Save1, file);
  form->RollAllBtn->click();
  EXPECT_NE(rows(1, 60), first);
}

TEST_F(RollButtonsTest, RollAllOnSideOneRerollsEveryRatingOfThatSide) {
  const auto side0 = rows(1, 30);
  form->SideRGItems[1]->click();
  EXPECT_EQ(form->sideIndex(), 1);
  for (QLineEdit* e : {form->Rolls->ExpMEdit, form->Rolls->MorMEdit, form->Rolls->RalMEdit, form->Rolls->Sk1MEdit, form->Rolls->Sk2MEdit}) e->setText("200");
  form->RollAllBtn->click();
  EXPECT_EQ(rows(1, 30), side0);
  for (int r = 31; r <= 60; ++r)
    for (int c = indexOf(GridColumn::kExp); c <= indexOf(GridColumn::kArm); ++c) EXPECT_EQ(grid().cell(c, r), "100") << r << "," << c;
}

TEST_F(RollButtonsTest, BadTextsStopTheRollWhereTheyAreRead) {
  const auto before = rows(1, 60);
  form->Rolls->ExpPDEdit->setText("x");
  form->Rolls->ExpRollBtn->click();
  EXPECT_EQ(shownErrors(), (std::vector<std::string>{"'x' is not a valid integer value"}));
  EXPECT_EQ(rows(1, 60), before);

  form->Rolls->ExpPDEdit->setText("4");
  form->Rolls->ExpMEdit->setText("6O");
  form->Rolls->ExpRollBtn->click();
  EXPECT_EQ(shownErrors().back(), "'6O' is not a valid integer value");
  EXPECT_EQ(rows(1, 60), before);

  // A bad Side cell: the rows above it keep their new values.
  form->Rolls->ExpMEdit->setText("0");
  form->Rolls->ExpPDEdit->setText("0");
  form->Rolls->ExpMDEdit->setText("0");
  typeCell(GridColumn::kSide, 3, "s");
  form->Rolls->ExpRollBtn->click();
  EXPECT_EQ(shownErrors().back(), "'s' is not a valid integer value");
  EXPECT_EQ(grid().cell(GridColumn::kExp, 1), "0");
  EXPECT_EQ(grid().cell(GridColumn::kExp, 2), "0");
  EXPECT_EQ(grid().cell(GridColumn::kExp, 3), before[2][indexOf(GridColumn::kExp)]);

  // Roll All stops at the first failing row too.
  const auto mor = column(GridColumn::kMor);
  form->RollAllBtn->click();
  EXPECT_EQ(shownErrors().size(), 4u);
  EXPECT_EQ(column(GridColumn::kMor), mor);
}

// Ctrl+F, Enter, F3 and Shift+F3 as a user presses them, then a roll of the
// rows selected in the grid.
TEST_F(RollButtonsTest, FindSelectsMatchesAndSelectedRollsKeepToTheSelection) {
  form->show();
  QApplication::setActiveWindow(form);
  typeCell(GridColumn::kLeader, 12, "Zulu/Ann");
  typeCell(GridColumn::kName, 40, "ZULU Guard");
  EXPECT_TRUE(form->FindBar->isHidden());
  QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(form->FindBar->isVisible());
  ASSERT_EQ(QApplication::focusWidget(), form->FindBar->FindEdit);

  auto selectedCells = [&] {
    std::vector<std::pair<int, int>> cells;
    for (const QModelIndex& i : form->InfoStringGrid->selectionModel()->selectedIndexes())
      cells.emplace_back(i.column(), i.row() + 1);
    return cells;
  };
  // Each match is selected as a click on its name cell selects it.
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int row;
  } steps[] = {{Qt::Key_Return, Qt::NoModifier, 12},
               {Qt::Key_F3, Qt::NoModifier, 40},
               {Qt::Key_F3, Qt::NoModifier, 12},  // around the end
               {Qt::Key_F3, Qt::ShiftModifier, 40}};
  QTest::keyClicks(form->FindBar->FindEdit, "zulu");
  for (const auto& step : steps) {
    QTest::keyClick(QApplication::focusWidget(), step.key, step.modifiers);
    EXPECT_EQ(session().model.selectedRow, step.row);
    EXPECT_EQ(session().model.selectedCol, indexOf(GridColumn::kName));
    EXPECT_EQ(selectedCells(), (std::vector<std::pair<int, int>>{{indexOf(GridColumn::kName), step.row}}));
    EXPECT_EQ(QApplication::focusWidget(), form->FindBar->FindEdit);
  }
  EXPECT_FALSE(form->findFailed());
  const QColor normal = form->FindBar->FindEdit->palette().color(QPalette::Base);
  form->FindBar->FindEdit->setText("no such unit");
  form->FindBar->FindNextBtn->click();
  EXPECT_TRUE(form->findFailed());
  EXPECT_NE(form->FindBar->FindEdit->palette().color(QPalette::Base), normal);
  EXPECT_EQ(session().model.selectedRow, 40);
  QTest::keyClick(form->FindBar->FindEdit, Qt::Key_Backspace);
  EXPECT_FALSE(form->findFailed());
  EXPECT_EQ(form->FindBar->FindEdit->palette().color(QPalette::Base), normal);
  QTest::keyClick(form->FindBar->FindEdit, Qt::Key_Escape);
  EXPECT_TRUE(form->FindBar->isHidden());

  // Rows 2 to 4 and 35 (side 1) selected; side 0 rolls rows 2 to 4 only.
  EXPECT_EQ(form->SelectedOnlyCB->text(), "Selected units only");
  EXPECT_FALSE(form->SelectedOnlyCB->isChecked());
  auto* model = form->InfoStringGrid->model();
  auto* selection = form->InfoStringGrid->selectionModel();
  selection->select(QItemSelection(model->index(1, 0), model->index(3, 4)), QItemSelectionModel::ClearAndSelect);
  selection->select(model->index(34, 6), QItemSelectionModel::Select);
  form->SelectedOnlyCB->click();
  form->Rolls->ExpMEdit->setText("7");
  form->Rolls->ExpPDEdit->setText("0");
  form->Rolls->ExpMDEdit->setText("0");
  const auto before = column(GridColumn::kExp);
  const int historySteps = form->history()->stack()->count();
  form->Rolls->ExpRollBtn->click();
  for (int r = 1; r <= 60; ++r)
    EXPECT_EQ(grid().cell(GridColumn::kExp, r), r >= 2 && r <= 4 ? "7" : before[static_cast<std::size_t>(r - 1)]) << r;
  // One step, which Undo takes back whole.
  EXPECT_EQ(form->history()->stack()->count(), historySteps + 1);
  EXPECT_EQ(form->Undo1->text(), "Undo Exp Roll");
  form->Undo1->trigger();
  EXPECT_EQ(column(GridColumn::kExp), before);
  form->Redo1->trigger();
  EXPECT_EQ(grid().cell(GridColumn::kExp, 3), "7");

  // Unchecked, the roll is the whole side's again.
  form->SelectedOnlyCB->click();
  form->Rolls->ExpMEdit->setText("8");
  form->Rolls->ExpRollBtn->click();
  for (int r = 1; r <= 30; ++r) EXPECT_EQ(grid().cell(GridColumn::kExp, r), "8") << r;
  EXPECT_TRUE(shownErrors().empty());
}

TEST_F(MainFormTest, SpreadWindowFollowsTheRollFields) {
  EXPECT_EQ(form->SpreadBtn->text(), "Spread");
  form->SpreadBtn->click();
  TSpreadForm* spread = form->spreadForm();
  ASSERT_NE(spread, nullptr);
  EXPECT_TRUE(spread->isVisible());
  EXPECT_EQ(spread->windowTitle(), "Rating Spread");
  // 60 + 4d6 - 2d6 and 20 + 3d6 - 2d6, within 0..100.
  EXPECT_EQ(spread->SpreadLabels[0]->text(), "Mean 67.00\nMost likely 67\nMin 0: 0%\nMax 100: 0%");
  EXPECT_EQ(spread->SpreadLabels[4]->text(), "Mean 23.50\nMost likely 23\nMin 0: 0%\nMax 100: 0%");
  // Typing is gathered until the event loop runs: one computation a burst.
  QSignalSpy refreshed(spread, &TSpreadForm::rowRefreshed);
  form->Rolls->MorPSEdit->setText("6x");
  EXPECT_EQ(refreshed.count(), 0);
  QApplication::processEvents();
  EXPECT_EQ(refreshed.count(), 1);
  EXPECT_FALSE(spread->SpreadCharts[1]->spread().spread);
  EXPECT_EQ(spread->SpreadCharts[1]->spread().text, "'6x' is not a valid integer value");
  EXPECT_EQ(spread->SpreadLabels[1]->text(), "");
  form->Rolls->MorPSEdit->setText("6");
  form->Rolls->MorMEdit->clear();
  QTest::keyClicks(form->Rolls->MorMEdit, "97");
  QApplication::processEvents();
  EXPECT_EQ(refreshed.count(), 2);
  ASSERT_TRUE(spread->SpreadCharts[1]->spread().spread);
  EXPECT_TRUE(spread->SpreadLabels[1]->text().endsWith("Max 100: 85.54%")) << spread->SpreadLabels[1]->text().toStdString();
  // 1d7 - 1d7 averages 0, whatever the rounding: never "-0.00".
  form->Rolls->RalMEdit->setText("0");
  form->Rolls->RalPDEdit->setText("1");
  form->Rolls->RalPSEdit->setText("7");
  form->Rolls->RalMDEdit->setText("1");
  form->Rolls->RalMSEdit->setText("7");
  form->Rolls->RalMinEdit->setText("-100");
  QApplication::processEvents();
  EXPECT_EQ(refreshed.count(), 3);
  EXPECT_TRUE(spread->SpreadLabels[2]->text().startsWith("Mean 0.00\n")) << spread->SpreadLabels[2]->text().toStdString();
  RatingSpread belowZero;
  belowZero.probability = {1.0};
  belowZero.mean = -0.004;
  EXPECT_TRUE(spreadFigures(belowZero, 0, 0).startsWith("Mean 0.00\n"));
  belowZero.mean = -0.006;
  EXPECT_TRUE(spreadFigures(belowZero, 0, 0).startsWith("Mean -0.01\n"));
  // Hidden, the window computes nothing; shown again, every row at once.
  spread->hide();
  form->Rolls->ExpMEdit->setText("61");
  QApplication::processEvents();
  EXPECT_EQ(refreshed.count(), 3);
  spread->show();
  EXPECT_EQ(refreshed.count(), 3 + kRollRowCount);
  EXPECT_TRUE(spread->SpreadLabels[0]->text().startsWith("Mean 68.00\n"));
  // A second press brings the same window forward.
  form->SpreadBtn->click();
  EXPECT_EQ(form->spreadForm(), spread);
}

TEST_F(MainFormTest, RollBeforeAnyLoadReportsTheEmptySideCell) {
  form->Rolls->ExpRollBtn->click();
  EXPECT_EQ(shownErrors(), (std::vector<std::string>{"'' is not a valid integer value"}));
  for (int r = 1; r < 5; ++r)
    for (int c = 0; c < 10; ++c) EXPECT_EQ(grid().cell(c, r), "");
}

// ---- Title picture, selection, About, Help, Exit ----------------------------

TEST_F(MainFormTest, TitlePictureCoversTheGridUntilAClickOrALoad) {
  form->show();
  const QRect gridArea = form->InfoStringGrid->geometry();
  form->FormActivate();
  ASSERT_TRUE(form->titleShown());
  EXPECT_TRUE(form->InfoStringGrid->isHidden());
  EXPECT_EQ(form->OpenImage->geometry(),
            QRect(gridArea.left() + 6, gridArea.top() + 24, gridArea.width() - 12, gridArea.height() - 30));

  const QImage picture = form->titlePixmap().toImage();
  ASSERT_EQ(picture.size(), form->OpenImage->size());
  EXPECT_EQ(picture.pixelColor(2, 2), QColor(0, 128, 0));
  EXPECT_EQ(picture.pixelColor(picture.width() - 3, picture.height() - 3), QColor(0, 128, 0));
  EXPECT_EQ(picture.pixelColor(20, picture.height() - 20), QColor(Qt::black));
  // Yellow text in the band of the program name, centred.
  int left = picture.width(), right = 0;
  for (int y = 40; y < 120; ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixelColor(x, y) == QColor(255, 255, 0)) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ASSERT_LT(left, right);
  EXPECT_NEAR((left + right) / 2, picture.width() / 2, 6);
  for (int x = 0; x < picture.width(); ++x) EXPECT_NE(picture.pixelColor(x, 30), QColor(255, 255, 0));

  form->OpenImage->clicked();
  EXPECT_FALSE(form->titleShown());
  EXPECT_FALSE(form->InfoStringGrid->isHidden());
  form->FormActivate();  // only the first activation draws it
  EXPECT_FALSE(form->titleShown());
}

TEST_F(MainFormTest, LoadAndFormClickDismissTheTitlePicture) {
  form->show();
  form->FormActivate();
  ASSERT_TRUE(form->titleShown());
  prompts.chooserAnswers.push_back(std::nullopt);  // even a cancelled load
  form->LoadVN3Save1->trigger();
  EXPECT_FALSE(form->titleShown());

  auto otherApp = createMainWindow(prompts, programDir(), {});
  TForm1& other = *otherApp->Form1;
  other.show();
  other.FormActivate();
  // A click on a label of the roll panel leaves the picture; one on the
  // window's free area takes it away.
  QLabel* label = nullptr;
  for (QLabel* l : other.findChildren<QLabel*>())
    if (l->text() == "Base") label = l;
  ASSERT_NE(label, nullptr);
  QTest::mouseClick(label, Qt::LeftButton);
  EXPECT_TRUE(other.titleShown());
  QTest::mouseClick(other.centralWidget(), Qt::LeftButton, {}, QPoint(other.centralWidget()->width() - 3, 3));
  EXPECT_FALSE(other.titleShown());
}

// Menus open from the keyboard; the help viewer goes Back, Home and away on
// Escape.
TEST_F(MainFormTest, KeyboardOpensMenusAndDrivesTheHelpViewer) {
  form->show();
  QApplication::setActiveWindow(form);
  QTest::keyClick(form, Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(form->MainMenu1->activeAction(), form->Files1->menuAction());
  QTest::keyClick(form->MainMenu1, Qt::Key_Escape);
  QTest::keyClick(form->Files1, Qt::Key_Escape);
  QTest::keyClick(form, Qt::Key_H, Qt::AltModifier);
  EXPECT_EQ(form->MainMenu1->activeAction(), form->Help2->menuAction());

  std::ifstream source(std::string(TEST_SOURCE_DIR) + "/tarnel/help/Tarnel.hlp", std::ios::binary);
  const std::string html{std::istreambuf_iterator<char>(source), {}};
  write("Tarnel.hlp", Bytes(html.begin(), html.end()));
  form->Help1->trigger();
  HelpViewer* viewer = form->helpViewer();
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(viewer->isVisible());
  EXPECT_FALSE(viewer->BackBtn->isEnabled());
  const QUrl home = viewer->browser()->source();
  viewer->browser()->setSource(QUrl(home.toString(QUrl::RemoveFragment) + "#tools"));
  EXPECT_TRUE(viewer->BackBtn->isEnabled());
  viewer->HomeBtn->click();
  EXPECT_EQ(viewer->browser()->source().fragment(), "contents");
  QApplication::setActiveWindow(viewer);
  QTest::keyClick(viewer, Qt::Key_Escape);
  EXPECT_FALSE(viewer->isVisible());
}

TEST_F(MainFormTest, SelectingACellCopiesTheUnitsWeapons) {
  samplegen::SampleOptions o;
  GameModel m = samplegen::makeGameModel(o);
  for (int k = 0; k < 4; ++k) m.setUnitByte(2, m.layout->weapons + k, 11 * (k + 1));
  load(form->LoadVN3Save1, write("w.dat", fileOf(m, GameFileKind::Vn3)));
  // The view the windows are told through, counting what a selection tells.
  struct CountingView : SessionView {
    int selected = 0;
    void unitSelected() override { ++selected; }
  } view;
  SessionView* windows = session().view;
  session().setView(&view);
  int& selected = view.selected;
  form->InfoStringGrid->setCurrentIndex(form->InfoStringGrid->model()->index(2, indexOf(GridColumn::kName)));
  EXPECT_EQ(session().model.selectedRow, 3);
  EXPECT_EQ(session().model.selectedCol, indexOf(GridColumn::kName));
  EXPECT_EQ(session().model.selectedWeapons, (std::array<std::uint16_t, 4>{11, 22, 33, 44}));
  EXPECT_EQ(selected, 1);
  session().setView(windows);
}

TEST_F(MainFormTest, AboutNamesTheVersion) {
  form->About1->trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastTitle(), "About Tarnel");
  const std::string& text = prompts.lastText();
  EXPECT_EQ(text.substr(0, text.find('\n')), "This is Version 0.31 of Tarnel");
  EXPECT_NE(text.find('\n'), std::string::npos);
}

TEST_F(MainFormTest, HelpOpensTheHelpFileAtItsContents) {
  // The program as started, with every window that has joined the menu.
  auto windows = createWindows(prompts, programDir(), {});
  TForm1& started = *windows->Form1;
  started.Help1->trigger();
  // No help file beside this program yet.
  EXPECT_EQ(prompts.lastText(), "Cannot find the help file " + path("Tarnel.hlp"));
  EXPECT_EQ(prompts.lastTitle(), "Error");

  std::ifstream source(std::string(TEST_SOURCE_DIR) + "/tarnel/help/Tarnel.hlp", std::ios::binary);
  const std::string html((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(html.empty());
  write("Tarnel.hlp", Bytes(html.begin(), html.end()));
  started.Help1->trigger();
  ASSERT_NE(started.helpViewer(), nullptr);
  EXPECT_TRUE(started.helpViewer()->isVisible());
  EXPECT_EQ(started.helpViewer()->browser()->source().fragment(), "contents");
  const QString shown = started.helpViewer()->browser()->toPlainText();
  EXPECT_TRUE(shown.startsWith("Tarnel Help: Contents")) << shown.left(60).toStdString();

  // Every command on the menu has its own entry in the help.
  for (QMenu* menu : {started.Files1, started.Tools1, started.Help2}) {
    for (QAction* a : menu->actions()) {
      if (!a->isSeparator() && a->isVisible()) {
        EXPECT_TRUE(shown.contains(a->text())) << a->text().toStdString();
      }
    }
  }
}

TEST_F(MainFormTest, ExitClosesTheMainWindow) {
  form->show();
  int closed = 0;
  QObject::connect(form, &TForm1::mainWindowClosed, [&] { ++closed; });
  // With no game loaded there is nothing to save: typing is no edit, and
  // Exit asks nothing.
  typeCell(GridColumn::kExp, 1, "12");
  EXPECT_FALSE(form->isWindowModified());
  form->ExitTarnel1->trigger();
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, StartUpCreatesTheTenWindowsInOrderAndFillsTheToolsMenu) {
  const std::string vn3 = write("su.dat", fileOf(designationGame(GameFileKind::Vn3), GameFileKind::Vn3));
  auto windows = createWindows(prompts, programDir(), {vn3});
  ASSERT_NE(windows->Form1, nullptr);
  // The secondary windows are the main window's children, in the order they
  // were made.
  QStringList made{"TForm1"};
  for (const QObject* child : windows->Form1->children()) {
    const QString name = QString::fromLatin1(child->metaObject()->className()).remove("tarnel::");
    if (child->isWidgetType() && name.startsWith('T') && name.endsWith("Form")) made << name;
  }
  EXPECT_EQ(made, (QStringList{"TForm1", "TWeaponsForm", "TCommentForm", "TDiceStatForm", "TFileForm",
                               "TPositionForm", "TSummaryForm", "TTurnsForm", "TAmmoForm", "TDumpForm"}));
  EXPECT_EQ(captions(windows->Form1->Tools1),
            (QStringList{"Edit Unit Data", "Edit Game Data", "Position Editor", "-", "Load Country Data",
                         "Select Country Data", "-", "Edit Comment File", "-", "View Battle Summary", "-",
                         "Dump File", "-", "Compare With File", "Run Script"}));
  EXPECT_EQ(windows->Form1->windowTitle(), "Varno Editor[*]");
  EXPECT_EQ(windows->Form1->session().model.programDir, programDir());
  EXPECT_EQ(windows->Form1->session().model.mobDir, programDir() + "/");
  EXPECT_EQ(windows->Form1->session().model.loaded, GameFileKind::Vn3);
}

// Export, an edited copy imported, and the comparison window: each with its
// own dialog, the grid following the import, a double-click on a unit's line
// selecting that unit.
TEST_F(MainFormTest, JsonFilesAndCompareWithFile) {
  const std::string file = write("game.dat", fileOf(designationGame(GameFileKind::V11), GameFileKind::V11));
  load(form->LoadVer11Save1, file);
  const GameModel original = designationGame(GameFileKind::V11);
  const int typed = (original.unitByte(1, kVn2Layout.experience) + 1) % 256;
  typeCell(GridColumn::kExp, 2, std::to_string(typed));  // not yet saved: exported and compared as typed

  // Written elsewhere than the game: the import dialog starts there.
  std::filesystem::create_directories(path("exports"));
  const std::string json = path("exports/game.json");
  prompts.saveAnswers.push_back(json);
  form->ExportJSONFile1->trigger();
  ASSERT_EQ(prompts.saveSeen.size(), 1u);
  EXPECT_EQ(prompts.saveSeen[0].title, "Export JSON File");
  EXPECT_EQ(prompts.saveSeen[0].fileName, path("game.json"));
  EXPECT_TRUE(prompts.saveSeen[0].overwritePrompt);
  EXPECT_NE(session().SaveDialog1.title, "Export JSON File");  // the shared dialog is not used
  const auto text = readAll(json);
  // The status line counts the named values, thousands grouped.
  const QString status = form->fileCommands()->StatusLbl->text();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Exported \\d{1,3}(,\\d{3})* fields to game\\.json$")).match(status).hasMatch())
      << status.toStdString();
  EXPECT_NE(std::string(text.begin(), text.end()).find("\"exp\": " + std::to_string(typed)), std::string::npos);

  ASSERT_TRUE(writeFileSafely(path("edit.json"), std::string_view(R"({"units": [{"index": 4, "mor": 12, "name": "Renamed"}]})")));
  prompts.openAnswers.push_back(path("edit.json"));
  form->ImportJSONFile1->trigger();
  EXPECT_EQ(prompts.openSeen.back().title, "Import JSON File");
  EXPECT_EQ(prompts.openSeen.back().initialDir, path("exports"));
  EXPECT_EQ(prompts.lastText(), "2 fields changed.");
  EXPECT_EQ(grid().cell(GridColumn::kMor, 5), "12");
  EXPECT_EQ(grid().cell(GridColumn::kName, 5), "Renamed");
  EXPECT_EQ(grid().cell(GridColumn::kExp, 2), std::to_string(typed));
  EXPECT_TRUE(session().modified());

  prompts.openAnswers.push_back(file);
  form->CompareWithFile1->trigger();
  EXPECT_EQ(prompts.openSeen.back().title, "Compare With File");
  TCompareForm* compare = form->compareForm();
  ASSERT_NE(compare, nullptr);
  EXPECT_TRUE(compare->isVisible());
  QStringList lines;
  for (int k = 0; k < compare->DifferenceList->count(); ++k) lines << compare->DifferenceList->item(k)->text();
  // Each unit's line names the unit (as the open game calls it) beside its index.
  const QString unit1 = "units[1] " + QString::fromStdString(session().model.unitName(1)) + ": ";
  EXPECT_EQ(lines, (QStringList{unit1 + "exp " + QString::number(typed) + " -> " + QString::number(original.unitByte(1, kVn2Layout.experience)),
                                "units[4] Renamed: name \"Renamed\" -> \"" + QString::fromStdString(original.unitName(4)) + "\"",
                                "units[4] Renamed: mor 12 -> " + QString::number(original.unitByte(4, kVn2Layout.morale))}));
  emit compare->DifferenceList->itemDoubleClicked(compare->DifferenceList->item(2));
  EXPECT_EQ(session().model.selectedRow, 5);
  EXPECT_EQ(form->InfoStringGrid->currentIndex().row(), 4);

  // Another game's document is applied only on Yes; No is the default.
  ASSERT_TRUE(writeFileSafely(path("other.json"), std::string_view(R"({"unitCount": 3, "units": [{"index": 4, "mor": 13}]})")));
  prompts.openAnswers.push_back(path("other.json"));
  form->ImportJSONFile1->trigger();
  ASSERT_FALSE(prompts.questions.empty());
  EXPECT_EQ(prompts.questions.back().text,
            "This document was exported from a game of 3 units; the open game is a VN2 version 1.1 game of " +
                std::to_string(original.countUnits()) + " units. Apply it anyway?");
  EXPECT_EQ(grid().cell(GridColumn::kMor, 5), "12");

  // The import is one step of the history.
  EXPECT_EQ(form->Undo1->text(), "Undo Import JSON File");
  form->Undo1->trigger();
  EXPECT_EQ(grid().cell(GridColumn::kMor, 5), std::to_string(original.unitByte(4, kVn2Layout.morale)));
  EXPECT_EQ(grid().cell(GridColumn::kName, 5), original.unitName(4));
}

}  // namespace
}  // namespace tarnel

// The country stats window, the dump window and the CSV commands inside the
// running program: driven from the main window's menu as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/dump_form.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/qt_unit_grid.h"
#include "sidefiles/csv_units.h"
#include "sidefiles/dice_stat_form.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

QStringList headings(const QTableWidget* grid) {
  QStringList out;
  for (int c = 0; c < grid->columnCount(); ++c) out << grid->horizontalHeaderItem(c)->text();
  return out;
}

QStringList row(const QTableWidget* grid, int r) {
  QStringList out;
  for (int c = 0; c < grid->columnCount(); ++c) out << grid->item(r, c)->text();
  return out;
}

class SideWindows : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_side"};
  fs::path dir = tmp.path();
  testing::ScriptedPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    for (const char* mob : {"KOB03", "KOB07", "MOB03", "MOB07"})
      write(mob, samplegen::makeMobFile(mob[4] - '0'));
    windows = createWindows(prompts, dir.string(), {});
  }
  void TearDown() override { windows.reset(); }

  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string write(const std::string& name, const Bytes& bytes) {
    EXPECT_TRUE(common::writeFileSafely(path(name), bytes));
    return path(name);
  }
  std::string writeText(const std::string& name, const std::string& text) {
    return write(name, Bytes(text.begin(), text.end()));
  }
  std::string readText(const std::string& name) const {
    const Bytes b = common::readFileBytes(path(name)).value_or(Bytes{});
    return std::string(b.begin(), b.end());
  }
  TForm1& form() { return *windows->Form1; }
  Session& session() { return form().session(); }
  TDiceStatForm& stats() { return *windows->DiceStatForm; }
  TDumpForm& dump() { return *windows->DumpForm; }

  void loadGame(GameFileKind kind, int unitsPerSide = 5) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = unitsPerSide;
    prompts.chooserAnswers.push_back(write("game.dat", samplegen::makeGameFile(o)));
    (kind == GameFileKind::V10 ? form().LoadScenarioFile1 : kind == GameFileKind::V11 ? form().LoadVer11Save1
                                                                                      : form().LoadVN3Save1)
        ->trigger();
  }
  static void settle() {
    for (int k = 0; k < 10; ++k) QApplication::processEvents();
  }
  QString gridCell(int col, int r) { return form().InfoStringGrid->model()->index(r - 1, col).data().toString(); }

  // With TARNEL_SCREENSHOT_DIR set, the window is saved there as a PNG.
  static void screenshot(QWidget& w, const char* name) {
    const char* shots = std::getenv("TARNEL_SCREENSHOT_DIR");
    if (!shots) return;
    settle();
    EXPECT_TRUE(w.grab().save(QString::fromLocal8Bit(shots) + "/" + name));
  }
};

std::string dataSet(const std::string& description, const std::string& exp) {
  return description + "\r\n" + exp + "\r\n50 4 6 2 6 0 100\r\n40 4 6 2 6 0 100\r\n60 4 6 2 6 0 100\r\n20 3 6 2 6 0 100\r\n";
}

TEST_F(SideWindows, CountryDataIsLoadedChosenAndSet) {
  const std::string file = writeText(
      "nations.qnd", "; roll formulas by country\r\n5\r\n" + dataSet("Germany 1940 Blitzkrieg", "70 3 6 1 6 10 90") +
                         dataSet("United_States 1944 veterans", "65 4 6 2 6 0 100") +
                         dataSet("Germany 1944 Volksgrenadier", "45 3 6 2 6 0 80") +
                         dataSet("Soviet_Union 1943 Guards", "60 4 6 2 6 0 100") +
                         dataSet("Finland 1940 ski troops", "75 3 6 1 6 20 100"));
  prompts.openAnswers.push_back(file);
  form().LoadCountryData1->trigger();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(prompts.openSeen.back().title, "Open CCF");
  EXPECT_FALSE(stats().isVisible());  // loading does not open the window

  form().SelectCountryData1->trigger();
  settle();
  TDiceStatForm& w = stats();
  ASSERT_TRUE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), "Country Stats");
  EXPECT_EQ(w.CountryLabel->text(), "Country");
  EXPECT_EQ(w.DescriptionLabel->text(), "Description");
  EXPECT_EQ(w.SetBtn->text(), "Set");
  EXPECT_EQ(headings(w.DescriptionGrid), (QStringList{" #", "   Data Set"}));
  EXPECT_EQ(w.DescriptionGrid->columnWidth(0), 42);
  EXPECT_EQ(w.DescriptionGrid->columnWidth(1), 220);
  QStringList countries;
  for (int k = 0; k < w.CountryLB->count(); ++k) countries << w.CountryLB->item(k)->text();
  EXPECT_EQ(countries, (QStringList{"Finland", "Germany", "Soviet Union", "United States"}));

  // Choosing Germany lists its two data sets; Set does nothing before one
  // of them is chosen.
  w.CountryLB->setCurrentRow(1);
  ASSERT_EQ(w.DescriptionGrid->rowCount(), 2);
  EXPECT_EQ(row(w.DescriptionGrid, 0), (QStringList{"0", "Germany 1940 Blitzkrieg"}));
  EXPECT_EQ(row(w.DescriptionGrid, 1), (QStringList{"2", "Germany 1944 Volksgrenadier"}));
  w.SetBtn->click();
  EXPECT_EQ(form().ExpMEdit->text(), "60");

  w.DescriptionGrid->setCurrentCell(0, 1);
  w.SetBtn->click();
  QStringList exp;
  for (QLineEdit* e : form().rollEdits(RollRow::Exp)) exp << e->text();
  EXPECT_EQ(exp, (QStringList{"70", "3", "6", "1", "6", "10", "90"}));
  EXPECT_EQ(form().Sk2MEdit->text(), "20");
  EXPECT_EQ(form().Sk2PDEdit->text(), "3");
  EXPECT_TRUE(w.isVisible());  // the window stays open
  w.DescriptionGrid->setCurrentCell(1, 1);
  screenshot(w, "country_stats.png");
}

TEST_F(SideWindows, CsvFileSavedEditedAndPastedBack) {
  loadGame(GameFileKind::Vn3);
  prompts.messages.clear();
  prompts.saveAnswers.push_back(path("units.csv"));
  form().SaveCSVUnitFile1->trigger();
  const std::string csv = readText("units.csv");
  EXPECT_EQ(csv, csvUnitText(session().model));

  // In the "spreadsheet": rename the second unit and raise its experience;
  // it comes back with LF line ends.
  std::vector<std::string> lines;
  for (std::size_t from = 0, at; (at = csv.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(csv.substr(from, at - from));
  std::string& unit = lines[2];
  unit.replace(0, unit.find(','), "Edited Tank");
  std::size_t cell = 0;
  for (int k = 16; k <= session().model.layout->experience; ++k) cell = unit.find(',', cell) + 1;
  unit.replace(cell, unit.find(',', cell) - cell, "93");
  std::string edited;
  for (const std::string& l : lines) edited += l + "\n";
  prompts.openAnswers.push_back(writeText("edited.csv", edited));
  form().LoadCSVUnitFile1->trigger();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(prompts.openSeen.back().title, "Load CSV (Spreadsheet File of Units");
  EXPECT_EQ(gridCell(kColName, 2), "Edited Tank");
  EXPECT_EQ(gridCell(kColExp, 2), "93");
  EXPECT_TRUE(session().modified());
}

TEST_F(SideWindows, DumpWindowListsWritesAndLoads) {
  loadGame(GameFileKind::V11);
  prompts.messages.clear();
  form().DumpFile1->trigger();
  settle();
  TDumpForm& w = dump();
  ASSERT_TRUE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), "Dump");
  const GameModel& m = session().model;
  const int n = sectionCount(m);
  EXPECT_EQ(w.DumpLbl->text(), QString::number(n) + " Sections");
  EXPECT_EQ(headings(w.DumpGrid), (QStringList{"Sect", " Size", " Address"}));
  EXPECT_EQ(w.DumpGrid->columnWidth(0), 46);
  EXPECT_EQ(w.DumpGrid->columnWidth(1), 77);
  EXPECT_EQ(w.DumpGrid->columnWidth(2), 107);
  ASSERT_EQ(w.DumpGrid->rowCount(), n);
  EXPECT_EQ(row(w.DumpGrid, 0), (QStringList{"  0", "     20", " 000000"}));
  char address[16];
  std::snprintf(address, sizeof address, " %06X", static_cast<unsigned>(m.sectionOffset[1]));
  EXPECT_EQ(row(w.DumpGrid, 1)[2], QString::fromLatin1(address));
  for (QPushButton* b : {w.AllBtn, w.SectionBtn, w.StatsBtn, w.LoadBtn}) EXPECT_TRUE(b->isVisible());
  EXPECT_EQ(QStringList({w.AllBtn->text(), w.SectionBtn->text(), w.StatsBtn->text(), w.LoadBtn->text()}),
            (QStringList{"All", "Section", "Stats", "Load"}));

  // The second row's section, then everything.
  w.DumpGrid->setCurrentCell(1, 0);
  prompts.saveAnswers = {path("unit.s01"), path("game.all")};
  w.SectionBtn->click();
  w.AllBtn->click();
  const std::string units = readText("unit.s01");
  EXPECT_EQ(Bytes(units.begin(), units.end()), sectionBytes(m, 1));
  EXPECT_EQ(prompts.saveSeen[0].initialDir, dir.string());

  // The dump, edited elsewhere, comes back: the grid shows it.
  std::string all = readText("game.all");
  all.replace(static_cast<std::size_t>(m.sectionOffset[1]), 6, "Dumped");
  prompts.openAnswers.push_back(writeText("edited.all", all));
  w.LoadBtn->click();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(gridCell(kColName, 1).startsWith("Dumped"));
  EXPECT_TRUE(session().modified());
  screenshot(w, "dump_window.png");
}

// Shows a real message box, which a timer closes, so that the window gets
// the focus back from it as it does for the user. Past three messages it
// only counts them, so that a window that asks again on every activation
// cannot loop for ever.
class BoxPrompts : public testing::ScriptedPrompts {
 public:
  void message(const std::string& text, const std::string& title, MessageIcon icon) override {
    ScriptedPrompts::message(text, title, icon);
    if (messages.size() > 3) return;
    QMessageBox box(QMessageBox::Information, QString::fromStdString(title), QString::fromStdString(text));
    QTimer::singleShot(30, &box, &QMessageBox::accept);
    box.exec();
  }
};

TEST_F(SideWindows, AVersion10FileGivesTheDumpMessageOncePerActivation) {
  BoxPrompts boxes;
  windows = createWindows(boxes, dir.string(), {});
  form().show();
  samplegen::SampleOptions o;
  o.kind = GameFileKind::V11;
  boxes.chooserAnswers.push_back(write("v11.dat", samplegen::makeGameFile(o)));
  form().LoadVer11Save1->trigger();
  form().DumpFile1->trigger();
  settle();
  const QString label = dump().DumpLbl->text();
  EXPECT_TRUE(label.endsWith(" Sections"));

  o.kind = GameFileKind::V10;
  boxes.chooserAnswers.push_back(write("v10.dat", samplegen::makeGameFile(o)));
  form().activateWindow();
  form().LoadScenarioFile1->trigger();
  settle();
  boxes.messages.clear();
  form().DumpFile1->trigger();

  for (int k = 0; k < 20; ++k) {
    QApplication::processEvents();
    QThread::msleep(10);
  }
  ASSERT_EQ(boxes.messages.size(), 1u);
  EXPECT_EQ(boxes.lastText(), "Dump feature only applies to compressed format game files.");
  EXPECT_EQ(boxes.lastTitle(), "Information");
  EXPECT_EQ(dump().DumpLbl->text(), label);
  // The focus comes back from the closed box (a desktop gives it back by
  // itself): no second message.
  dump().activateWindow();
  settle();
  EXPECT_EQ(boxes.messages.size(), 1u);

  // Coming back to the window later asks again.
  form().activateWindow();
  settle();
  dump().activateWindow();
  settle();

  EXPECT_EQ(boxes.messages.size(), 2u);
  windows.reset();
}

}  // namespace
}  // namespace tarnel

// The country stats window, the dump window and the CSV commands inside the
// running program, driven from the main window's menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QThread>
#include <QTimer>

#include "common/file_io.h"
#include "common/ui/qt_prompts.h"
#include "game_sample.h"
#include "gamefiles/dump_form.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_roll_panel.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "mainwindow/spread_form.h"
#include "sidefiles/csv_units.h"
#include "sidefiles/dice_stat_form.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

QStringList texts(const QTableWidget* grid, int r) {  // r = -1: the headings
  QStringList out;
  for (int c = 0; c < grid->columnCount(); ++c)
    out << (r < 0 ? grid->horizontalHeaderItem(c) : grid->item(r, c))->text() + "|" +
               QString::number(r < 0 ? grid->columnWidth(c) : 0);
  return out;
}

void settle() {
  for (int k = 0; k < 20; ++k) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
}

// Shows a real message box that a timer closes, so that the focus comes back
// from it as it does for the user; past three messages it only counts them.
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

class SideWindows : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_side"};
  BoxPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    for (const char* mob : {"KOB03", "KOB07", "MOB03", "MOB07"}) write(mob, samplegen::makeMobFile(mob[4] - '0'));
    windows = createWindows(prompts, tmp.path().string(), {});
    form().show();
  }
  void TearDown() override { windows.reset(); }

  std::string path(const std::string& name) const { return (tmp.path() / name).string(); }
  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    EXPECT_TRUE(common::writeFileSafely(path(name), bytes));
    return path(name);
  }
  std::string write(const std::string& name, const std::string& text) {
    return write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  TForm1& form() { return *windows->Form1; }
  TDumpForm& dump() { return *windows->DumpForm; }
  void load(QAction* item, GameFileKind kind) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 5;
    prompts.chooserAnswers.push_back(write("game.dat", samplegen::makeGameFile(o)));
    item->trigger();
    prompts.messages.clear();
  }
  QString cell(GridColumn col, int r) { return form().InfoStringGrid->model()->index(r - 1, indexOf(col)).data().toString(); }
};

TEST_F(SideWindows, CountryDataIsLoadedChosenAndSet) {
  const std::string rows = "\r\n50 4 6 2 6 0 100\r\n40 4 6 2 6 0 100\r\n60 4 6 2 6 0 100\r\n20 3 6 2 6 0 100\r\n";
  prompts.openAnswers.push_back(write(
      "nations.qnd", "; roll formulas\r\n4\r\nGermany 1940 Blitzkrieg\r\n70 3 6 1 6 10 90" + rows +
                         "United_States 1944 veterans\r\n65 4 6 2 6 0 100" + rows +
                         "Germany 1944 Volksgrenadier\r\n45 3 6 2 6 0 80" + rows + "Finland 1940 ski\r\n1" + rows));
  form().LoadCountryData1->trigger();
  form().SelectCountryData1->trigger();
  settle();
  TDiceStatForm& w = *windows->DiceStatForm;
  ASSERT_TRUE(w.isVisible());
  EXPECT_EQ(w.windowTitle() + w.CountryLabel->text() + w.DescriptionLabel->text() + w.SetBtn->text(),
            "Country StatsCountryDescriptionSet");
  EXPECT_EQ(texts(w.DescriptionGrid, -1), (QStringList{" #|42", "   Data Set|220"}));
  QStringList countries;
  for (int k = 0; k < w.CountryLB->count(); ++k) countries << w.CountryLB->item(k)->text();
  EXPECT_EQ(countries, (QStringList{"Finland", "Germany", "United States"}));

  w.CountryLB->setCurrentRow(1);
  ASSERT_EQ(w.DescriptionGrid->rowCount(), 2);
  EXPECT_EQ(texts(w.DescriptionGrid, 1), (QStringList{"2|0", "Germany 1944 Volksgrenadier|0"}));
  w.SetBtn->click();  // no data set chosen: nothing changes
  EXPECT_EQ(form().Rolls->ExpMEdit->text(), "60");
  w.DescriptionGrid->setCurrentCell(0, 1);
  // Of the 35 fields Set writes, five of the Exp row change: the open spread
  // window computes that row once.
  form().SpreadBtn->click();
  QSignalSpy refreshed(form().spreadForm(), &TSpreadForm::rowRefreshed);
  w.SetBtn->click();
  QApplication::processEvents();
  ASSERT_EQ(refreshed.count(), 1);
  EXPECT_EQ(refreshed[0][0].value<RollRow>(), RollRow::Exp);
  EXPECT_TRUE(form().spreadForm()->SpreadLabels[0]->text().startsWith("Mean 77.00\n"));
  QStringList exp;
  for (QLineEdit* e : form().Rolls->rollEdits(RollRow::Exp)) exp << e->text();
  EXPECT_EQ(exp, (QStringList{"70", "3", "6", "1", "6", "10", "90"}));
  EXPECT_EQ(form().Rolls->Sk2MEdit->text() + form().Rolls->Sk2PDEdit->text(), "203");
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SideWindows, CsvFileSavedEditedAndPastedBack) {
  load(form().LoadVN3Save1, GameFileKind::Vn3);
  prompts.saveAnswers.push_back(path("units.csv"));
  form().SaveCSVUnitFile1->trigger();
  // The dialog as the user gets it: the game's name as CSV proposed, and the
  // question before a file is replaced, on this first save of the run too.
  ASSERT_EQ(prompts.saveSeen.size(), 1u);
  EXPECT_EQ(prompts.saveSeen[0].fileName, path("game.csv"));
  const auto dialog = common::QtPrompts().makeDialog(prompts.saveSeen[0], true);
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog->nameFilters(), (QStringList{"CSV files (*.csv)", "All Files *.* (*)"}));
  const auto saved = common::readFileBytes(path("units.csv")).value();
  std::string csv(saved.begin(), saved.end());
  EXPECT_EQ(csv, csvUnitText(form().session().model));
  // The second unit renamed; a rating typed into the grid before the paste
  // is kept.
  const std::size_t line = csv.find("\r\n", csv.find("\r\n") + 2) + 2;
  csv.replace(line, csv.find(',', line) - line, "Edited Tank");
  auto* model = form().InfoStringGrid->model();
  model->setData(model->index(2, indexOf(GridColumn::kInf)), QStringLiteral("99"), Qt::EditRole);
  prompts.openAnswers.push_back(write("edited.csv", csv));
  form().LoadCSVUnitFile1->trigger();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(cell(GridColumn::kName, 2) + cell(GridColumn::kInf, 3), "Edited Tank99");
  EXPECT_TRUE(form().session().modified());
}

TEST_F(SideWindows, DumpWindowListsWritesAndLoads) {
  load(form().LoadVer11Save1, GameFileKind::V11);
  form().DumpFile1->trigger();
  settle();
  TDumpForm& w = dump();
  ASSERT_TRUE(w.isVisible());
  const GameModel& m = form().session().model;
  EXPECT_EQ(w.windowTitle() + w.AllBtn->text() + w.SectionBtn->text() + w.StatsBtn->text() + w.LoadBtn->text(),
            "DumpAllSectionStatsLoad");
  EXPECT_EQ(w.DumpLbl->text(), QString::number(sectionCount(m)) + " Sections");
  EXPECT_EQ(texts(w.DumpGrid, -1), (QStringList{"Sect|46", " Size|77", " Address|107"}));
  EXPECT_EQ(texts(w.DumpGrid, 0), (QStringList{"  0|0", "     20|0", " 000000|0"}));
  EXPECT_EQ(w.DumpGrid->rowCount(), sectionCount(m));

  w.DumpGrid->setCurrentCell(1, 0);
  prompts.saveAnswers = {path("units.s01"), path("game.all")};
  w.SectionBtn->click();
  w.AllBtn->click();
  EXPECT_EQ(common::readFileBytes(path("units.s01")), sectionBytes(m, 1));
  auto all = common::readFileBytes(path("game.all")).value();
  std::copy_n("Dumped", 6, all.begin() + m.sectionOffset[1]);
  prompts.openAnswers.push_back(write("edited.all", all));
  w.LoadBtn->click();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(cell(GridColumn::kName, 1).startsWith("Dumped"));
}

TEST_F(SideWindows, AVersion10FileGivesTheDumpMessageOncePerActivation) {
  load(form().LoadVer11Save1, GameFileKind::V11);
  form().DumpFile1->trigger();
  settle();
  const QString label = dump().DumpLbl->text();
  form().activateWindow();
  load(form().LoadScenarioFile1, GameFileKind::V10);
  form().DumpFile1->trigger();
  settle();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastText(), "Dump feature only applies to compressed format game files.");
  EXPECT_EQ(prompts.lastTitle(), "Information");
  EXPECT_EQ(dump().DumpLbl->text(), label);
  // The focus coming back from the closed box asks nothing; coming back from
  // the main window asks again.
  dump().activateWindow();
  settle();
  EXPECT_EQ(prompts.messages.size(), 1u);
  form().activateWindow();
  settle();
  dump().activateWindow();
  settle();
  EXPECT_EQ(prompts.messages.size(), 2u);
}

}  // namespace
}  // namespace tarnel

// The game data editor and the battle summary inside the running program:
// opened from the Tools menu, filled from the loaded file on activation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <filesystem>
#include <set>

#include "common/file_io.h"
#include "editors/summary_form.h"
#include "editors/turns_form.h"
#include "game_sample.h"
#include "gamefiles/game_encoders.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

class GameDataWindows : public ::testing::Test {
 protected:
  testing::TestDir tmp{"tarnel_gdw"};
  testing::ScriptedPrompts prompts;
  GameModel original;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    samplegen::SampleOptions o;
    o.unitsPerSide = 10;
    o.description = "Synthetic river crossing at dawn";
    original = samplegen::makeGameModel(o);
    ASSERT_TRUE(writeGameFile(path("game.dat"), original, GameFileKind::Vn3));
    windows = createWindows(prompts, tmp.path().string(), {});
    prompts.chooserAnswers.push_back(path("game.dat"));
    form().LoadVN3Save1->trigger();
  }
  std::string path(const char* name) { return (tmp.path() / name).string(); }
  TForm1& form() { return *windows->Form1; }
  // The main window comes to the front, then its menu item brings a window back.
  static void reopen(TForm1& main, QAction* item) {
    main.show();
    main.activateWindow();
    QApplication::processEvents();
    item->trigger();
    QApplication::processEvents();
  }
};

TEST_F(GameDataWindows, EditGameDataRetainAndComeBack) {
  TTurnsForm& f = *windows->TurnsForm;
  EXPECT_EQ((QStringList{f.windowTitle(), f.TurnEdit->text(), f.DescriptionEdit->text(),
                         f.VictoryGrid->horizontalHeaderItem(3)->text()}),
            (QStringList{"Game Data", "??", "Description", " Side"}));
  reopen(form(), form().EditGameData1);
  ASSERT_TRUE(f.isVisible());
  EXPECT_EQ(f.PrestigeEdit->text(), "1250");
  // The sample's description has 32 characters; the field holds what is kept.
  EXPECT_EQ(f.DescriptionEdit->text(), "Synthetic river crossing at daw");

  f.TurnEdit->setText("7");
  f.PrestigeEdit->setText("1000");
  f.DescriptionEdit->setText("Short");
  f.VictoryGrid->item(4, 1)->setText("42");  // Y of slot 5
  f.RetainButton->click();
  f.VictoryGrid->item(0, 2)->setText("lots");
  f.RetainButton->click();
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"'lots' is not a valid integer value"});
  // Back from the error box, a modal window, the window keeps what was typed.
  QDialog box;
  box.setModal(true);
  box.show();
  QEvent away(QEvent::WindowDeactivate), back(QEvent::WindowActivate);
  QApplication::sendEvent(&f, &away);
  box.hide();
  QApplication::sendEvent(&f, &back);
  EXPECT_EQ(f.VictoryGrid->item(0, 2)->text(), "lots");

  // Coming back refills from the model: what Retain stored, nothing else.
  reopen(form(), form().EditGameData1);
  const QStringList shown = {f.TurnEdit->text(), f.PrestigeEdit->text(), f.DescriptionEdit->text(),
                             f.VictoryGrid->item(4, 1)->text(), f.VictoryGrid->item(0, 2)->text()};
  const QString amount1 = QString::number(original.byteAt(original.gameDataOffset() + gamedata::kVictoryHexArrays[2]));
  EXPECT_EQ(shown, (QStringList{"7", "1000", "Short", "42", amount1}));
}

TEST_F(GameDataWindows, BattleSummaryOfTheChosenSide) {
  TSummaryForm& f = *windows->SummaryForm;
  EXPECT_EQ(f.geometry(), QRect(213, 108, 531, 430));
  EXPECT_EQ(f.TurnLbl->text(), "Turn 00/23");
  auto types = [&](int side) {
    std::set<int> t;
    for (int i = 0; i < 20; ++i)
      if (original.unitByte(i, kVn3Layout.side) == side) t.insert(original.unitByte(i, kVn3Layout.unitType));
    return t;
  };
  auto shownTypes = [&] {
    std::set<int> t;
    for (int r = 0; r < f.SummarySG->rowCount(); ++r) t.insert(f.SummarySG->item(r, 1)->text().toInt());
    return t;
  };

  form().SideRGItems[1]->setChecked(true);
  reopen(form(), form().ViewBattleSummary1);
  ASSERT_TRUE(f.isVisible());
  EXPECT_EQ((QStringList{f.TurnLbl->text(), f.DateLbl->text(), f.CountryLbl->text()}),
            (QStringList{"Turns: 1/30", "Date: 6/84", "US Army vs. Soviet Union"}));
  EXPECT_EQ(f.SummarySG->columnWidth(0), 160);
  EXPECT_EQ(shownTypes(), types(1));
  EXPECT_TRUE(f.UnitsKilledLbl->text().startsWith("Units Killed  "));

  // A side changed while the summary is open shows at its next activation.
  form().SideRGItems[0]->setChecked(true);
  EXPECT_EQ(shownTypes(), types(1));
  reopen(form(), form().ViewBattleSummary1);
  EXPECT_EQ(shownTypes(), types(0));
}

}  // namespace
}  // namespace tarnel

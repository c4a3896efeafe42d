// The game data editor and the battle summary inside the running program:
// opened from the Tools menu, filled from the loaded file on activation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
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
#include "gamefiles/section_stream.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;

class GameDataWindows : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_gdw"};
  fs::path dir = tmp.path();
  testing::ScriptedPrompts prompts;
  GameModel original;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    samplegen::SampleOptions o;
    o.kind = GameFileKind::Vn3;
    o.unitsPerSide = 10;
    original = samplegen::makeGameModel(o);
    ASSERT_TRUE(common::writeFileSafely((dir / "game.dat").string(), writeSectionStream(original, kMagicVn3)));
    windows = createWindows(prompts, dir.string(), {});
    prompts.chooserAnswers.push_back((dir / "game.dat").string());
    form().LoadVN3Save1->trigger();
    // Without KOB files each load warns twice; nothing else is said.
    ASSERT_EQ(prompts.messages.size(), 2u);
    prompts.messages.clear();
  }
  void TearDown() override { windows.reset(); }

  TForm1& form() { return *windows->Form1; }
  Session& session() { return form().session(); }
  static void activate(QWidget& w) {
    w.show();
    w.raise();
    w.activateWindow();
    QApplication::processEvents();
  }
  int gameByte(int offset) { return session().model.byteAt(session().model.gameDataOffset() + offset); }
};

TEST_F(GameDataWindows, EditGameDataRetainAndSave) {
  TTurnsForm& f = *windows->TurnsForm;
  EXPECT_EQ(f.windowTitle(), "Game Data");
  EXPECT_EQ(f.TurnEdit->text(), "??");
  EXPECT_EQ(f.DescriptionEdit->text(), "Description");
  EXPECT_EQ(f.VictoryGrid->rowCount(), 20);
  EXPECT_EQ(f.VictoryGrid->horizontalHeaderItem(3)->text(), " Side");
  QStringList captions;
  for (QLabel* l : f.findChildren<QLabel*>()) captions << l->text();
  for (const char* c : {"Date", "Max Turns", "Turn #", "Victory Hexes", "Visibility", "Battles", "Victories",
                        "Minor", "Major", "Description", "Max Battles", "Start Date", "End Date", "Countries",
                        "Terrain", "$$$"})
    EXPECT_TRUE(captions.contains(c)) << c;

  form().EditGameData1->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(f.isVisible());
  EXPECT_EQ(f.MaxTurnsEdit->text(), "30");
  EXPECT_EQ(f.TerrainEdit->text(), "2");
  EXPECT_EQ(f.PrestigeEdit->text(), "1250");
  EXPECT_TRUE(f.PrestigeEdit->isEnabled());
  // The sample's description has 32 characters; the field holds what fits.
  EXPECT_EQ(f.DescriptionEdit->maxLength(), 31);
  EXPECT_EQ(f.DescriptionEdit->text(), "Synthetic river crossing at daw");
  EXPECT_EQ(f.VictoryGrid->item(0, 0)->text(), "0");

  f.TurnEdit->setText("7");
  f.Country3Edit->setText("$10");
  f.PrestigeEdit->setText("1000");
  f.DescriptionEdit->setText("Short");
  f.VictoryGrid->item(4, 1)->setText("42");  // Y of slot 5
  f.RetainButton->click();
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_EQ(gameByte(15), 7);
  EXPECT_EQ(gameByte(250), 16);
  EXPECT_EQ(gameByte(36 + 5), 42);
  EXPECT_TRUE(session().modified());

  // A bad cell shows the conversion error; the window keeps the text.
  f.VictoryGrid->item(0, 2)->setText("lots");
  f.RetainButton->click();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], "'lots' is not a valid integer value");
  EXPECT_EQ(f.VictoryGrid->item(0, 2)->text(), "lots");
  // Coming back refills from the model: the edit not stored is gone.
  activate(form());
  activate(f);
  EXPECT_EQ(f.VictoryGrid->item(0, 2)->text(), "0");
  EXPECT_EQ(f.DescriptionEdit->text(), "Short");

  prompts.saveAnswers.push_back((dir / "saved.dat").string());
  form().SaveVN3SaveScn1->trigger();
  prompts.chooserAnswers.push_back((dir / "saved.dat").string());
  form().LoadVN3Save1->trigger();
  activate(form());
  activate(f);
  EXPECT_EQ(f.TurnEdit->text(), "7");
  EXPECT_EQ(f.Country3Edit->text(), "16");
  EXPECT_EQ(f.PrestigeEdit->text(), "1000");
  EXPECT_EQ(f.DescriptionEdit->text(), "Short");
  EXPECT_EQ(f.VictoryGrid->item(4, 1)->text(), "42");
}

TEST_F(GameDataWindows, BattleSummaryOfTheChosenSide) {
  TSummaryForm& f = *windows->SummaryForm;
  EXPECT_EQ(f.windowTitle(), "Battle Summary");
  EXPECT_EQ(f.geometry(), QRect(213, 108, 531, 430));
  EXPECT_EQ(f.Label1->text(), "Battle Summary");
  EXPECT_TRUE(f.Label1->font().bold());
  EXPECT_EQ(f.TurnLbl->text(), "Turn 00/23");
  EXPECT_EQ(f.CountryLbl->text(), "Country1 vs Country2");
  EXPECT_EQ(f.SummarySG->geometry(), QRect(8, 64, 505, 281));

  auto typesOfSide = [&](int side) {
    std::set<int> types;
    const GenerationLayout& L = *original.layout;
    for (int i = 0; i < 20; ++i)
      if (original.unitByte(i, L.side) == side) types.insert(original.unitByte(i, L.unitType));
    return types;
  };
  auto shownTypes = [&] {
    std::set<int> types;
    for (int r = 0; r < f.SummarySG->rowCount(); ++r) types.insert(f.SummarySG->item(r, 1)->text().toInt());
    return types;
  };

  form().SideRGItems[1]->setChecked(true);
  form().ViewBattleSummary1->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(f.isVisible());
  EXPECT_EQ(f.TurnLbl->text(), "Turns: 1/30");
  EXPECT_EQ(f.DateLbl->text(), "Date: 6/84");
  EXPECT_EQ(f.CountryLbl->text(), "US Army vs. Soviet Union");
  const QStringList headings = {"Unit Name", "Type #", "Form.", "Units", "Men"};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(f.SummarySG->horizontalHeaderItem(c)->text(), headings[c]);
    EXPECT_EQ(f.SummarySG->columnWidth(c), c == 0 ? 160 : 80);
  }
  EXPECT_EQ(shownTypes(), typesOfSide(1));
  EXPECT_TRUE(f.MenLbl->text().startsWith("Men  "));
  EXPECT_TRUE(f.UnitsKilledLbl->text().startsWith("Units Killed  "));
  // A label grows with its text from where it stands.
  EXPECT_EQ(f.TotalUnitsLbl->pos(), QPoint(272, 352));
  EXPECT_GE(f.TotalUnitsLbl->width(), f.TotalUnitsLbl->sizeHint().width());

  // The side changed while the summary shows: seen at its next activation.
  form().SideRGItems[0]->setChecked(true);
  EXPECT_EQ(shownTypes(), typesOfSide(1));
  activate(form());
  form().ViewBattleSummary1->trigger();
  QApplication::processEvents();
  EXPECT_EQ(shownTypes(), typesOfSide(0));
  EXPECT_TRUE(prompts.errors.empty());
}

}  // namespace
}  // namespace tarnel

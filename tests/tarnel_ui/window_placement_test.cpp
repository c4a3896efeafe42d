// Every window of Tarnel opens inside the screen's available area, however
// large it is and wherever it was last left.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "common/file_io.h"
#include "editors/weapons_form.h"
#include "mainwindow/file_form.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_help_viewer.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/spread_form.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

class WindowPlacement : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  testing::ScriptedPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    std::ifstream source(std::string(TEST_SOURCE_DIR) + "/tarnel/help/Tarnel.hlp", std::ios::binary);
    const std::string html((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(common::writeFileSafely(dir.path().toStdString() + "/Tarnel.hlp", html));
    windows = createWindows(prompts, dir.path().toStdString(), {});
    windows->Form1->show();
  }
  QRect area() const { return windows->Form1->screen()->availableGeometry(); }

  // Each window as the user opens it.
  std::vector<std::pair<const char*, std::function<QWidget*()>>> openers() {
    TForm1& f = *windows->Form1;
    auto by = [&f](QAction* item, ToolWindow which) {
      return [&f, item, which] {
        item->trigger();
        return f.attachedWindow(which);
      };
    };
    return {{"Unit Data", by(f.Ammo1, ToolWindow::UnitData)},
            {"Game Data", by(f.EditGameData1, ToolWindow::GameData)},
            {"Position", by(f.Position1, ToolWindow::Position)},
            {"Country Stats", by(f.SelectCountryData1, ToolWindow::CountryStats)},
            {"Comment", by(f.EditCommentFile1, ToolWindow::Comment)},
            {"Battle Summary", by(f.ViewBattleSummary1, ToolWindow::BattleSummary)},
            {"Dump", by(f.DumpFile1, ToolWindow::Dump)},
            {"Weapons", [this] {
               windows->WeaponsForm->show();
               return static_cast<QWidget*>(windows->WeaponsForm.get());
             }},
            {"Open File", [this] {
               windows->FileForm->show();
               return static_cast<QWidget*>(windows->FileForm.get());
             }},
            {"Rating Spread", [&f] {
               f.SpreadBtn->click();
               return static_cast<QWidget*>(f.spreadForm());
             }},
            {"Help", [&f] {
               f.Help1->trigger();
               return static_cast<QWidget*>(f.helpViewer());
             }}};
  }
};

TEST_F(WindowPlacement, EveryWindowOpensInsideTheAvailableArea) {
  EXPECT_TRUE(area().contains(windows->Form1->frameGeometry())) << windows->Form1->frameGeometry().bottom();
  for (auto& [name, open] : openers()) {
    QWidget* w = open();
    ASSERT_TRUE(w && w->isVisible()) << name;
    EXPECT_TRUE(area().contains(w->frameGeometry())) << name;
    // Left past the bottom right corner and opened again: back inside.
    w->hide();
    w->move(area().right() - 40, area().bottom() - 40);
    open();
    EXPECT_TRUE(area().contains(w->frameGeometry())) << name << " moved";
    w->hide();
  }
}

TEST_F(WindowPlacement, AWindowLargerThanTheAreaShrinksToIt) {
  QWidget* help = openers().back().second();
  help->hide();
  help->resize(area().width() * 2, area().height() + 300);
  help->show();
  EXPECT_TRUE(area().contains(help->frameGeometry()));
  EXPECT_LT(help->height(), area().height());
}

}  // namespace
}  // namespace tarnel

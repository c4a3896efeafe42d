// The everyday file commands as a user meets them: a start with a file named
// on the command line, Ctrl+O, a file dropped on the window, Ctrl+S and a
// recent file, with scripted dialogs answering.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "common/file_io.h"
#include "game_sample.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_file_commands.h"
#include "mainwindow/qt_settings.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes sample(GameFileKind kind) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.unitsPerSide = 10;
  return samplegen::makeGameFile(o);
}

QStringList captions(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

TEST(FileCommandsWindow, CommandLineOpenDropSaveAndRecentFiles) {
  testing::TestDir tmp("tarnel_files_window");
  const std::string dir = tmp.path().string();
  for (int mob = 0; mob < 100; ++mob) {
    char name[8];
    std::snprintf(name, sizeof name, "%02d", mob);
    for (const char* prefix : {"/MOB", "/KOB"})
      ASSERT_TRUE(common::writeFileSafely(dir + prefix + name, samplegen::makeMobFile(mob)));
  }
  const Bytes v10 = sample(GameFileKind::V10);
  const std::string a = dir + "/a.dat";
  const std::string b = dir + "/b.dat";
  ASSERT_TRUE(common::writeFileSafely(a, v10));
  ASSERT_TRUE(common::writeFileSafely(b, sample(GameFileKind::Vn3)));
  rememberRecentFiles(dir, {});

  // A version 1.0 file named on the command line is shown at once, without
  // the title picture over it.
  testing::ScriptedPrompts prompts;
  auto windows = createWindows(prompts, dir, {a});
  TForm1& form = *windows->Form1;
  FileCommands& files = *form.fileCommands();
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_FALSE(form.titleShown());
  EXPECT_EQ(form.session().model.loaded, GameFileKind::V10);
  EXPECT_EQ(files.StatusLbl->text(), "Opened a.dat (VN2 version 1.0)");

  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(prompts.openSeen.size(), 1u);  // cancelled: nothing changes
  EXPECT_EQ(form.session().model.loaded, GameFileKind::V10);
  prompts.openAnswers.push_back(b);
  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(form.session().model.loaded, GameFileKind::Vn3);
  EXPECT_EQ(files.StatusLbl->text(), "Opened b.dat (VN3)");

  // A drop after an edit asks first, as Exit does.
  auto* grid = form.InfoStringGrid->model();
  grid->setData(grid->index(0, indexOf(GridColumn::kExp)), QStringLiteral("91"), Qt::EditRole);
  ASSERT_TRUE(form.isWindowModified());
  QMimeData dragged;
  dragged.setUrls({QUrl::fromLocalFile(QString::fromStdString(a))});
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  EXPECT_TRUE(enter.isAccepted());
  prompts.saveChoices = {SaveChoice::Discard};
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(form.session().model.loaded, GameFileKind::V10);
  EXPECT_FALSE(form.isWindowModified());

  // Ctrl+S writes the file back without a dialog, keeping the old one.
  grid->setData(grid->index(0, indexOf(GridColumn::kExp)), QStringLiteral("92"), Qt::EditRole);
  QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(prompts.saveSeen.empty());
  EXPECT_FALSE(form.isWindowModified());
  EXPECT_EQ(common::readFileBytes(a + ".bak").value_or(Bytes{}), v10);
  EXPECT_NE(common::readFileBytes(a).value_or(Bytes{}), v10);
  EXPECT_EQ(files.StatusLbl->text(), "Saved a.dat (the file it replaced is a.dat.bak)");
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();

  // Recent Files, newest first, open the file they name.
  QApplication::processEvents();
  EXPECT_EQ(captions(files.RecentFiles1), (QStringList{"&1 a.dat", "&2 b.dat", "-", "Clear Recent Files"}));
  EXPECT_EQ(files.RecentFiles1->actions()[1]->toolTip(), QString::fromStdString(b));
  files.RecentFiles1->actions()[1]->trigger();
  EXPECT_EQ(form.session().model.loaded, GameFileKind::Vn3);
  EXPECT_EQ(rememberedRecentFiles(dir), (std::vector<std::string>{b, a}));
  files.ClearRecentFiles1->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(files.RecentFiles1->isEnabled());
  EXPECT_TRUE(rememberedRecentFiles(dir).empty());
  EXPECT_TRUE(prompts.errors.empty());
}

}  // namespace
}  // namespace tarnel

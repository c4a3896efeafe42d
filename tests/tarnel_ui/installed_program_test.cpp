// Tarnel as installed: the program in bin/ without MOB files, its help file
// and samples under share/tarnel. The MOB directory that "Locate MOB Files"
// chose is remembered for the next run.
#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <filesystem>

#include "common/file_io.h"
#include "game_sample.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_file_commands.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/qt_help_viewer.h"
#include "support/scripted_prompts.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;
using common::writeFileSafely;

class InstalledProgram : public ::testing::Test {
 protected:
  QTemporaryDir root;
  fs::path bin = fs::path(root.path().toStdString()) / "usr" / "bin";
  fs::path share = fs::path(root.path().toStdString()) / "usr" / "share" / "tarnel";
  fs::path samples = share / "samples";
  testing::ScriptedPrompts prompts;

  void SetUp() override {
    QSettings(QStringLiteral("Tarnel"), QStringLiteral("Tarnel")).clear();
    fs::create_directories(bin);
    fs::create_directories(samples);
    ASSERT_TRUE(writeFileSafely((share / "Tarnel.hlp").string(),
                                std::string_view("<html><body><h1><a name=\"contents\"></a>Installed help</h1>"
                                                 "</body></html>")));
    ASSERT_TRUE(writeFileSafely((samples / "KOB03").string(), samplegen::makeMobFile(3)));
    ASSERT_TRUE(writeFileSafely((samples / "KOB07").string(), samplegen::makeMobFile(7)));
    ASSERT_TRUE(writeFileSafely(game(), samplegen::makeGameFile({})));
    fs::create_directories(fs::path(ownGame()).parent_path());
    ASSERT_TRUE(writeFileSafely(ownGame(), samplegen::makeGameFile({})));
  }
  std::string game() const { return (samples / "crossing.dat").string(); }
  std::string ownGame() const { return root.path().toStdString() + "/home/scen.dat"; }
  std::string warning(const fs::path& dir, const char* file) const {
    return "Could not open " + (dir / file).string() + ". Weapons names not available";
  }
};

TEST_F(InstalledProgram, SamplesOpenQuietlyOtherGamesWarnUntilLocateWhichIsRemembered) {
  {
    auto firstApp = createMainWindow(prompts, bin.string(), {});
    TForm1& first = *firstApp->Form1;
    EXPECT_EQ(first.session().model.mobDir, bin.string() + "/");
    // The samples' files lie beside them: no warning.
    prompts.chooserAnswers.push_back(game());
    first.LoadVN3Save1->trigger();
    EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
    EXPECT_TRUE(first.session().mob.available[1]);
    // A game of the user's own, with no KOB files beside it.
    prompts.chooserAnswers.push_back(ownGame());
    first.LoadVN3Save1->trigger();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, warning(bin, "KOB03"));
    EXPECT_EQ(prompts.messages[1].text, warning(bin, "KOB07"));

    // A cancelled Locate remembers nothing; a chosen file's directory is kept.
    first.LocateMOBFiles1->trigger();
    prompts.openAnswers.push_back((samples / "KOB03").string());
    first.LocateMOBFiles1->trigger();
    EXPECT_EQ(first.session().model.mobDir, samples.string() + "/");

    // Help finds the installed help file.
    first.Help1->trigger();
    ASSERT_NE(first.helpViewer(), nullptr);
    EXPECT_TRUE(first.helpViewer()->browser()->toPlainText().startsWith("Installed help"));
  }

  prompts.messages.clear();
  auto nextApp = createMainWindow(prompts, bin.string(), {ownGame()});
  TForm1& next = *nextApp->Form1;
  EXPECT_EQ(next.session().model.mobDir, samples.string() + "/");
  EXPECT_EQ(next.session().model.loaded, GameFileKind::Vn3);
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
  EXPECT_TRUE(next.session().mob.available[0]);
  EXPECT_TRUE(next.session().mob.available[1]);

  // A program directory holding its own MOB files (a build directory) keeps
  // them, whatever was remembered.
  ASSERT_TRUE(writeFileSafely((bin / "MOB03").string(), samplegen::makeMobFile(3)));
  auto buildApp = createMainWindow(prompts, bin.string(), {});
  TForm1& build = *buildApp->Form1;
  EXPECT_EQ(build.session().model.mobDir, bin.string() + "/");

  // A remembered directory that is gone is passed over.
  fs::remove(bin / "MOB03");
  fs::remove_all(samples);
  auto movedApp = createMainWindow(prompts, bin.string(), {});
  TForm1& moved = *movedApp->Form1;
  EXPECT_EQ(moved.session().model.mobDir, bin.string() + "/");
}

}  // namespace
}  // namespace tarnel

namespace tarnel {
namespace {

// The zip's copy: portable.ini beside the program holds the remembered MOB
// directory; the system's store is neither written nor read.
TEST_F(InstalledProgram, PortableCopyKeepsItsSettingsInPortableIniAlone) {
  const fs::path portable = fs::path(root.path().toStdString()) / "stick";
  fs::create_directories(portable);
  const std::string ini = (portable / "portable.ini").string();
  ASSERT_TRUE(writeFileSafely(ini, std::string_view()));
  QSettings native(QStringLiteral("Tarnel"), QStringLiteral("Tarnel"));
  // What an installed copy remembered stays its own.
  native.setValue(QStringLiteral("mobDirectory"), QString::fromStdString(share.string()));
  native.sync();
  {
    auto firstApp = createMainWindow(prompts, portable.string(), {});
    TForm1& first = *firstApp->Form1;
    EXPECT_EQ(first.session().model.mobDir, portable.string() + "/");
    prompts.openAnswers.push_back((samples / "KOB03").string());
    first.LocateMOBFiles1->trigger();
  }
  native.sync();
  EXPECT_EQ(native.allKeys(), QStringList{QStringLiteral("mobDirectory")});
  EXPECT_EQ(native.value(QStringLiteral("mobDirectory")).toString().toStdString(), share.string());
  QSettings file(QString::fromStdString(ini), QSettings::IniFormat);
  EXPECT_EQ(file.value(QStringLiteral("mobDirectory")).toString().toStdString(), samples.string() + "/");

  // The recent list comes from the same file.
  file.setValue(QStringLiteral("recentFiles"), QStringList{QStringLiteral("/games/a.dat")});
  file.sync();
  auto nextApp = createMainWindow(prompts, portable.string(), {});
  EXPECT_EQ(nextApp->Form1->session().model.mobDir, samples.string() + "/");
  EXPECT_EQ(nextApp->Form1->fileCommands()->recent().paths(), std::vector<std::string>{"/games/a.dat"});
  // Without the file the same directory is an ordinary copy again.
  fs::remove(ini);
  auto ordinaryApp = createMainWindow(prompts, portable.string(), {});
  EXPECT_EQ(ordinaryApp->Form1->session().model.mobDir, share.string() + "/");
}

}  // namespace
}  // namespace tarnel

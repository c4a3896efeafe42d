// One QApplication for every window test of this program; the tests run
// with the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QApplication::instance()) return;
    // A screen of 1280 x 1000 pixels, as a laptop's: the windows must fit it.
    const QString screen = settingsDir_.filePath(QStringLiteral("screen.json"));
    QFile config(screen);
    if (config.open(QIODevice::WriteOnly))
      config.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 1000,
                       "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen));
    // Settings go to a directory of this test run, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    app_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(QStringLiteral("Tarnel"));
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "tarnel_ui_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
  QTemporaryDir settingsDir_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
